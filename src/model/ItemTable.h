#pragma once

#include "ItemRecord.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// The rows of the item table with a hash index from key to row. Removing a row only notes it; the
// rows close up the next time somebody asks for rows by number, so that removing many items one by
// one costs one pass over the table instead of one pass per item.
class ItemTable {
public:
    using Less = std::function<bool(const ItemRecord&, const ItemRecord&)>;

    void clear();
    void reserve(qsizetype rows);
    // Keys are unique: a record whose key is already in the table replaces that row instead.
    void append(ItemRecord record);
    // Refills the row of the record's key; false when the key is not in the table.
    bool replace(ItemRecord record);
    bool remove(const QString& key);
    [[nodiscard]] bool contains(const QString& key) const { return m_slots.contains(key); }
    [[nodiscard]] const ItemRecord* find(const QString& key) const;
    [[nodiscard]] qsizetype size() const { return qsizetype(m_rows.size() - m_removedSlots.size()); }

    // Everything that addresses rows by number closes them up first.
    [[nodiscard]] const std::vector<ItemRecord>& rows() const;
    // -1 when the key is not in the table.
    [[nodiscard]] qsizetype rowOf(const QString& key) const;
    // A stable sort of all rows; `less` must be a strict weak order.
    void sort(const Less& less);

private:
    void compact() const;

    // Closing up rows moves them, which callers never see: hence mutable.
    mutable std::vector<ItemRecord> m_rows;
    mutable QHash<QString, qsizetype> m_slots; // key -> index into m_rows
    mutable std::vector<qsizetype> m_removedSlots;
};
