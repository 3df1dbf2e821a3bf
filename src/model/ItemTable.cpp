#include "ItemTable.h"

#include "chart/GanttData.h"

#include <algorithm>

void ItemTable::clear() {
    m_rows.clear();
    m_rowOfId.clear();
    m_removed = 0;
}

void ItemTable::reserve(qsizetype rows) {
    m_rows.reserve(std::size_t(rows));
}

void ItemTable::append(const ChartItem& item) {
    const ItemHandle handle = item.handle();
    if (liveRowOf(handle) >= 0)
        return;
    setRowOf(handle, qsizetype(m_rows.size()));
    m_rows.push_back(handle);
}

bool ItemTable::remove(const ItemHandle& handle) {
    const qsizetype row = liveRowOf(handle);
    if (row < 0)
        return false;
    m_rowOfId[handle.id] = noRow;
    m_rows[std::size_t(row)] = ItemHandle();
    ++m_removed;
    return true;
}

ChartItem* ItemTable::itemAt(qsizetype row) const {
    compact();
    if (row < 0 || row >= qsizetype(m_rows.size()))
        return nullptr;
    return m_chart.items().byHandle(m_rows[std::size_t(row)]);
}

qsizetype ItemTable::rowOf(const QString& key) const {
    compact();
    return liveRowOf(key);
}

void ItemTable::reorder(const std::vector<qsizetype>& order) {
    compact();
    std::vector<ItemHandle> rows;
    rows.reserve(order.size());
    for (const qsizetype from : order)
        rows.push_back(m_rows[std::size_t(from)]);
    m_rows.swap(rows);
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        setRowOf(m_rows[row], qsizetype(row));
}

qsizetype ItemTable::liveRowOf(const QString& key) const {
    const ChartItem* item = m_chart.items().byKey(key);
    return item == nullptr ? noRow : liveRowOf(item->handle());
}

qsizetype ItemTable::liveRowOf(const ItemHandle& handle) const {
    if (handle.generation == 0 || handle.id >= m_rowOfId.size())
        return noRow;
    const qsizetype row = m_rowOfId[handle.id];
    return row >= 0 && m_rows[std::size_t(row)] == handle ? row : noRow;
}

void ItemTable::setRowOf(const ItemHandle& handle, qsizetype row) const {
    // The id of an item that left the chart may belong to a newer item already.
    if (m_chart.items().byHandle(handle) == nullptr)
        return;
    if (handle.id >= m_rowOfId.size())
        m_rowOfId.resize(std::max<std::size_t>(handle.id + 1, m_rowOfId.size() * 2), noRow);
    m_rowOfId[handle.id] = row;
}

void ItemTable::compact() const {
    if (m_removed == 0)
        return;
    std::size_t write = 0;
    for (std::size_t read = 0; read < m_rows.size(); ++read) {
        if (m_rows[read].generation == 0)
            continue;
        m_rows[write] = m_rows[read];
        setRowOf(m_rows[write], qsizetype(write));
        ++write;
    }
    m_rows.resize(write);
    m_removed = 0;
}
