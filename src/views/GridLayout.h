#pragma once

#include "GridCellFormat.h"
#include "GridColumn.h"
#include "GridOptions.h"
#include "model/ItemRecord.h"

#include <array>
#include <vector>

// Everything the item list's grid shows apart from the data: its columns, by index, and its options.
class GridLayout {
public:
    static constexpr int columnCount = ItemRecord::columnCount;
    // Columns 9 to 11 of the item table are always empty.
    static constexpr int firstReservedColumn = 9;
    static constexpr int minColumnWidth = 4;
    static constexpr int maxColumnWidth = 4000;
    static constexpr int maxRowHeight = 400;
    static constexpr double minFontSize = 4;
    static constexpr double maxFontSize = 72;

    // The columns the grid has when no layout file could be read.
    [[nodiscard]] static GridLayout builtIn();
    // What the item table's column holds: dates in 3 and 5, times of day in 4 and 6, text elsewhere.
    [[nodiscard]] static GridCellFormat::ValueKind valueKind(int column);

    // The visible columns, left to right.
    [[nodiscard]] std::vector<int> shownColumns() const;
    // Every column, left to right; among equal display positions the visible column comes first.
    [[nodiscard]] std::vector<int> displayOrder() const;
    // Brings every value into its range, gives a column whose number format cannot be used its built-in
    // format, and numbers the display positions 0 .. 11 in displayOrder().
    void normalise();
    void setReservedCaptions();

    bool operator==(const GridLayout&) const = default;

    std::array<GridColumn, columnCount> columns{};
    GridOptions options;
};
