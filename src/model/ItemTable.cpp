#include "ItemTable.h"

#include <algorithm>

void ItemTable::clear() {
    m_rows.clear();
    m_slots.clear();
    m_removedSlots.clear();
}

void ItemTable::reserve(qsizetype rows) {
    m_rows.reserve(size_t(rows));
    m_slots.reserve(rows);
}

void ItemTable::append(ItemRecord record) {
    const auto it = m_slots.constFind(record.key);
    if (it != m_slots.cend()) {
        m_rows[size_t(it.value())] = std::move(record);
        return;
    }
    m_slots.insert(record.key, qsizetype(m_rows.size()));
    m_rows.push_back(std::move(record));
}

bool ItemTable::replace(ItemRecord record) {
    const auto it = m_slots.constFind(record.key);
    if (it == m_slots.cend())
        return false;
    m_rows[size_t(it.value())] = std::move(record);
    return true;
}

bool ItemTable::remove(const QString& key) {
    const auto it = m_slots.constFind(key);
    if (it == m_slots.cend())
        return false;
    m_removedSlots.push_back(it.value());
    m_slots.erase(it);
    return true;
}

const ItemRecord* ItemTable::find(const QString& key) const {
    const auto it = m_slots.constFind(key);
    return it == m_slots.cend() ? nullptr : &m_rows[size_t(it.value())];
}

const std::vector<ItemRecord>& ItemTable::rows() const {
    compact();
    return m_rows;
}

qsizetype ItemTable::rowOf(const QString& key) const {
    compact();
    return m_slots.value(key, -1);
}

void ItemTable::sort(const Less& less) {
    compact();
    std::stable_sort(m_rows.begin(), m_rows.end(), less);
    for (size_t row = 0; row < m_rows.size(); ++row)
        m_slots[m_rows[row].key] = qsizetype(row);
}

void ItemTable::compact() const {
    if (m_removedSlots.empty())
        return;
    std::sort(m_removedSlots.begin(), m_removedSlots.end());
    auto removed = m_removedSlots.cbegin();
    auto write = size_t(*removed);
    for (auto read = write; read < m_rows.size(); ++read) {
        if (removed != m_removedSlots.cend() && size_t(*removed) == read) {
            ++removed;
            continue;
        }
        m_rows[write] = std::move(m_rows[read]);
        m_slots[m_rows[write].key] = qsizetype(write);
        ++write;
    }
    m_rows.resize(write);
    m_removedSlots.clear();
}
