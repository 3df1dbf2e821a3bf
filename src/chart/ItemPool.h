#pragma once

#include "ItemHandle.h"

#include <cstddef>
#include <memory>
#include <vector>

class ChartItem;

// Holds the items of one chart in blocks, so that an item costs no allocation of its own and keeps
// its address for life. The place of a removed item is given to a later one with a new generation.
class ItemPool {
public:
    ItemPool() = default;
    ItemPool(ItemPool&&) = default;
    ItemPool& operator=(ItemPool&&) = default;

    [[nodiscard]] ChartItem* create();
    void destroy(ChartItem* item);
    // nullptr when the handle's item is gone.
    [[nodiscard]] ChartItem* find(ItemHandle handle) const;
    // The item in the place of a living item's id.
    [[nodiscard]] ChartItem* at(quint32 id) const { return place(id); }
    // Ids in use lie below this number.
    [[nodiscard]] quint32 idLimit() const { return quint32(m_generations.size()); }

private:
    static constexpr std::size_t blockItems = 4096;

    [[nodiscard]] ChartItem* place(quint32 id) const;

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::vector<quint32> m_generations; // by id; 0 while the place is free
    std::vector<quint32> m_free;
};
