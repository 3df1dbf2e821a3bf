#pragma once

#include "GridLayout.h"
#include "GridPrintSettings.h"
#include "MergeSpans.h"
#include "SelectionOrder.h"

#include <QFont>
#include <QTableView>
#include <array>
#include <vector>

class ItemGridModel;
class clsItems;

// The item list's grid: a table view over the item table that takes its whole look from a grid
// layout. A bookmark is a row of the item table. Besides the view's own current cell it keeps the
// selected rows in the order the user selected them and a selected range of columns, as the list's
// commands need them.
class ItemGrid : public QTableView {
    Q_OBJECT
public:
    explicit ItemGrid(const clsItems& items, QWidget* parent = nullptr);
    ~ItemGrid() override;

    [[nodiscard]] ItemGridModel& dataModel() const { return *m_model; }

    // The live layout: what was applied last, with the widths and positions the user dragged since.
    [[nodiscard]] const GridLayout& gridLayout() const { return m_layout; }
    // The one way a layout reaches the grid: columns, order, widths, fonts, colours, merging and
    // options all at once.
    void setGridLayout(const GridLayout& layout);
    [[nodiscard]] const QString& layoutFileName() const { return m_layoutFileName; }
    void setLayoutFileName(const QString& path) { m_layoutFileName = path; }
    [[nodiscard]] const QString& layoutName() const { return m_layoutName; }
    void setLayoutName(const QString& name) { m_layoutName = name; }
    // Applies the layout named layoutName() from layoutFileName(); throws AppError when that fails.
    void LoadLayout();

    // Re-reads the rows and makes the row (when there is one) the current row.
    void ReOpen(int row);
    // -1 when there is none.
    [[nodiscard]] int currentRow() const;
    void setCurrentRow(int row);
    [[nodiscard]] int currentColumn() const;
    void setCurrentColumn(int column);

    // The selected rows in selection order; empty when no row is selected.
    [[nodiscard]] std::vector<int> selectedBookmarks() const { return m_selection.rows(); }
    [[nodiscard]] int selectedCount() const { return m_selection.count(); }
    [[nodiscard]] bool isRowSelected(int row) const { return m_selection.contains(row); }
    void clearSelectedRows();
    void selectRows(int first, int last);
    // The selected column range by column index; -1 when no column is selected.
    [[nodiscard]] int SelStartCol() const { return m_selStartCol; }
    [[nodiscard]] int SelEndCol() const { return m_selEndCol; }
    void setSelectedColumns(int first, int last);
    [[nodiscard]] bool isColumnSelected(int column) const;

    // The rows of the cell's run of equal cells when its column is merged; the cell alone otherwise.
    [[nodiscard]] std::pair<int, int> mergedRun(int row, int column) const;
    [[nodiscard]] const QFont& columnFont(int column) const { return m_fonts[std::size_t(column)]; }
    GridPrintSettings& printSettings() { return m_print; }
    [[nodiscard]] const GridPrintSettings& printSettings() const { return m_print; }

signals:
    // A click on a row (the grid's argument-less click).
    void rowClicked();
    void headingClicked(int column);
    void pointerMoved();
    // Shift+Del, and the copy key of the platform.
    void deleteRequested();
    void copyRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void applyColumns();
    void applyOptions();
    [[nodiscard]] int naturalRowHeight() const;
    void onHeadingClicked(int column);
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onSectionMoved();
    void onSectionResized(int column, int newSize);
    void onRowResized(int row, int oldSize, int newSize);
    // The first and last row in sight; -1, -1 when there is none.
    [[nodiscard]] std::pair<int, int> shownRows() const;
    void invalidateShownRows();
    void fitShownRows();
    [[nodiscard]] bool anyMergedColumnShown() const;

    GridLayout m_layout;
    ItemGridModel* m_model;
    std::array<QFont, GridLayout::columnCount> m_fonts;
    QString m_layoutFileName;
    QString m_layoutName;
    SelectionOrder m_selection;
    int m_selStartCol = -1;
    int m_selEndCol = -1;
    int m_columnAnchor = -1;
    mutable MergeSpans m_merges;
    mutable bool m_mergesValid = false;
    bool m_applying = false;
    bool m_fitPending = false;
    GridPrintSettings m_print;
};
