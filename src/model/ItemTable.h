#pragma once

#include "chart/ItemHandle.h"

#include <QString>
#include <cstdint>
#include <vector>

class ChartItem;
class GanttData;

// The rows of the item table: handles of the chart's items in the table's order, so that each
// booking is held once, by the chart, and a row shows the item as it is now. A row whose item left
// the chart behind the table's back leads to nothing. Removing a row only notes it; the rows close
// up the next time somebody asks for rows by number, so that removing many items one by one costs
// one pass over the table instead of one pass per item.
class ItemTable {
public:
    explicit ItemTable(const GanttData& chart)
        : m_chart(chart) {}

    void clear();
    void reserve(qsizetype rows);
    // An item has one row: appending an item that has one already changes nothing.
    void append(const ChartItem& item);
    // The row of an item that may have left the chart already.
    bool remove(const ItemHandle& handle);
    [[nodiscard]] bool contains(const QString& key) const { return liveRowOf(key) >= 0; }
    [[nodiscard]] bool contains(const ItemHandle& handle) const { return liveRowOf(handle) >= 0; }
    [[nodiscard]] qsizetype size() const { return qsizetype(m_rows.size()) - m_removed; }

    // Everything that addresses rows by number closes them up first. nullptr for a row out of range
    // or one whose item is gone.
    [[nodiscard]] ChartItem* itemAt(qsizetype row) const;
    // -1 when the key is in no row.
    [[nodiscard]] qsizetype rowOf(const QString& key) const;
    // Puts the rows into the given order of their current numbers.
    void reorder(const std::vector<qsizetype>& order);

private:
    static constexpr qsizetype noRow = -1;

    // The row of the key's item, among rows not yet closed up; -1 for none.
    [[nodiscard]] qsizetype liveRowOf(const QString& key) const;
    [[nodiscard]] qsizetype liveRowOf(const ItemHandle& handle) const;
    void setRowOf(const ItemHandle& handle, qsizetype row) const;
    void compact() const;

    const GanttData& m_chart;
    // Closing up rows moves them, which callers never see: hence mutable.
    mutable std::vector<ItemHandle> m_rows;   // a removed row keeps an empty handle until closing up
    mutable std::vector<qsizetype> m_rowOfId; // by item id: the row, or -1
    mutable qsizetype m_removed = 0;
};
