#include "ItemPool.h"

#include "ChartItem.h"

#include <atomic>
#include <new>
#include <type_traits>

// Places are reused without running a destructor.
static_assert(std::is_trivially_destructible_v<ChartItem>);

namespace {
// One count for every pool, so that a handle never matches an item of other content either.
std::atomic<quint32> generations{0};

quint32 nextGeneration() {
    quint32 generation = 0;
    while (generation == 0)
        generation = ++generations;
    return generation;
}
} // namespace

ChartItem* ItemPool::create() {
    quint32 id = 0;
    if (m_free.empty()) {
        id = quint32(m_generations.size());
        if (id % blockItems == 0)
            m_blocks.emplace_back(new std::byte[blockItems * sizeof(ChartItem)]);
        m_generations.push_back(0);
    } else {
        id = m_free.back();
        m_free.pop_back();
    }
    auto* item = new (place(id)) ChartItem;
    item->m_id = id;
    item->m_generation = nextGeneration();
    m_generations[id] = item->m_generation;
    return item;
}

void ItemPool::destroy(ChartItem* item) {
    m_generations[item->m_id] = 0;
    m_free.push_back(item->m_id);
}

ChartItem* ItemPool::find(ItemHandle handle) const {
    if (handle.generation == 0 || handle.id >= m_generations.size() ||
        m_generations[handle.id] != handle.generation)
        return nullptr;
    return place(handle.id);
}

ChartItem* ItemPool::place(quint32 id) const {
    std::byte* block = m_blocks[id / blockItems].get();
    return std::launder(reinterpret_cast<ChartItem*>(block + (id % blockItems) * sizeof(ChartItem)));
}
