#pragma once

#include "ItemKey.h"

#include <QtGlobal>
#include <cstddef>
#include <vector>

class ChartItem;

// The items of a chart by key: open addressing with linear probing over a power-of-two table that is
// at most half full, so that a lookup touches one or two places and an insert finds its place and any
// item with an equal key in the same walk.
class KeyIndex {
public:
    KeyIndex();

    // Room for this many items without growing.
    void reserve(qsizetype items);
    [[nodiscard]] ChartItem* find(const ItemKey& key) const;
    // Adds the item under its key, unless an item with an equal key is there: then that item is
    // returned and nothing is added.
    ChartItem* insert(ChartItem* item);
    void remove(const ChartItem* item);
    void clear();
    [[nodiscard]] qsizetype count() const { return m_count; }

private:
    [[nodiscard]] std::size_t home(const ItemKey& key) const { return key.hash(m_seed) & m_mask; }
    void rehash(std::size_t places);

    std::vector<ChartItem*> m_places;
    std::size_t m_mask = 0;
    qsizetype m_count = 0;
    std::size_t m_seed;
};
