#include "KeyIndex.h"

#include "ChartItem.h"

#include <QHashFunctions>
#include <bit>

namespace {
constexpr std::size_t smallestTable = 16;
} // namespace

KeyIndex::KeyIndex()
    : m_places(smallestTable, nullptr)
    , m_mask(smallestTable - 1)
    , m_seed(QHashSeed::globalSeed()) {}

void KeyIndex::reserve(qsizetype items) {
    const std::size_t wanted = std::bit_ceil(std::size_t(std::max<qsizetype>(items, 1)) * 2);
    if (wanted > m_places.size())
        rehash(wanted);
}

ChartItem* KeyIndex::find(const ItemKey& key) const {
    for (std::size_t at = home(key);; at = (at + 1) & m_mask) {
        ChartItem* item = m_places[at];
        if (item == nullptr || item->m_key == key)
            return item;
    }
}

ChartItem* KeyIndex::insert(ChartItem* item) {
    if (std::size_t(m_count + 1) * 2 > m_places.size())
        rehash(m_places.size() * 2);
    for (std::size_t at = home(item->m_key);; at = (at + 1) & m_mask) {
        ChartItem* there = m_places[at];
        if (there == nullptr) {
            m_places[at] = item;
            ++m_count;
            return nullptr;
        }
        if (there->m_key == item->m_key)
            return there;
    }
}

void KeyIndex::remove(const ChartItem* item) {
    std::size_t hole = home(item->m_key);
    while (m_places[hole] != item) {
        if (m_places[hole] == nullptr)
            return;
        hole = (hole + 1) & m_mask;
    }
    // Later entries of the same run move up into the hole when their home lies at or before it, so
    // that no walk ever meets an empty place before its item.
    for (std::size_t next = (hole + 1) & m_mask; m_places[next] != nullptr; next = (next + 1) & m_mask) {
        const std::size_t wanted = home(m_places[next]->m_key);
        const bool reachable =
            hole <= next ? (wanted <= hole || wanted > next) : (wanted <= hole && wanted > next);
        if (reachable) {
            m_places[hole] = m_places[next];
            hole = next;
        }
    }
    m_places[hole] = nullptr;
    --m_count;
}

void KeyIndex::clear() {
    m_places.assign(smallestTable, nullptr);
    m_mask = smallestTable - 1;
    m_count = 0;
}

void KeyIndex::rehash(std::size_t places) {
    std::vector<ChartItem*> old(places, nullptr);
    old.swap(m_places);
    m_mask = places - 1;
    for (ChartItem* item : old) {
        if (item == nullptr)
            continue;
        std::size_t at = home(item->m_key);
        while (m_places[at] != nullptr)
            at = (at + 1) & m_mask;
        m_places[at] = item;
    }
}
