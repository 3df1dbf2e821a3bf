#pragma once

#include <QString>
#include <vector>

// One resource: a row of the chart. The key is indexed by the chart and never changes.
class ChartRow {
public:
    // The text of a row-heading cell; an empty style key draws with the row's style.
    struct Cell {
        QString text;
        QString styleKey;

        bool operator==(const Cell&) const = default;
    };

    ChartRow() = default;
    // A copy is a detached snapshot; assigning would give a chart's row another identity.
    ChartRow(const ChartRow&) = default;
    ChartRow& operator=(const ChartRow&) = delete;

    [[nodiscard]] const QString& key() const { return m_key; }
    // 1-based position in the chart's row collection; it shifts when earlier rows are removed.
    [[nodiscard]] int position() const;

    // The cell of the 1-based heading column; cells that were never set are empty.
    [[nodiscard]] Cell cell(int column) const;
    void setCell(int column, const QString& text, const QString& styleKey = {});

    QString caption;
    QString styleKey;
    QString picture;
    int height = 0;          // pixels; 0 = the chart's default row height
    std::vector<Cell> cells; // index 0 belongs to heading column 1

    [[nodiscard]] bool sameContent(const ChartRow& other) const;

private:
    friend class GanttContent;
    QString m_key;
    int m_index = -1; // 0-based place in the row collection
};
