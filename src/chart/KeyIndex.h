#pragma once

#include "ItemKey.h"

#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <vector>

class ChartItem;
class ItemPool;

// The items of a chart by key: open addressing with linear probing over a power-of-two table that is
// at most half full. A place holds the item's id in its pool and 32 bits of its key's hash, so that
// a walk compares numbers and reads an item only where the hash agrees: an insert finds its place and
// any item with an equal key in one walk, usually without reading a single item.
class KeyIndex {
public:
    KeyIndex();

    // Room for this many items without growing.
    void reserve(qsizetype items, const ItemPool& pool);
    [[nodiscard]] ChartItem* find(const ItemKey& key, const ItemPool& pool) const;
    // Adds the item under its key, unless an item with an equal key is there: then that item is
    // returned and nothing is added.
    ChartItem* insert(ChartItem* item, const ItemPool& pool);
    void remove(const ChartItem* item, const ItemPool& pool);
    void clear();
    [[nodiscard]] qsizetype count() const { return m_count; }

private:
    [[nodiscard]] std::size_t hashOf(const ItemKey& key) const { return key.hash(m_seed); }
    void rehash(std::size_t places, const ItemPool& pool);

    std::vector<std::uint64_t> m_places; // 0: free; else hash tag << 32 | (id + 1)
    std::size_t m_mask = 0;
    qsizetype m_count = 0;
    std::size_t m_seed;
};
