#include "KeyIndex.h"

#include "ChartItem.h"
#include "ItemPool.h"

#include <QHashFunctions>
#include <algorithm>
#include <bit>

namespace {
constexpr std::size_t smallestTable = 16;

std::uint32_t tagOf(std::size_t hash) {
    return std::uint32_t(std::uint64_t(hash) >> 32);
}

std::uint64_t placeOf(std::size_t hash, quint32 id) {
    return std::uint64_t(tagOf(hash)) << 32 | (std::uint64_t(id) + 1);
}

quint32 idAt(std::uint64_t place) {
    return quint32((place & 0xFFFFFFFFULL) - 1);
}
} // namespace

KeyIndex::KeyIndex()
    : m_places(smallestTable, 0)
    , m_mask(smallestTable - 1)
    , m_seed(QHashSeed::globalSeed()) {}

void KeyIndex::reserve(qsizetype items, const ItemPool& pool) {
    const std::size_t wanted = std::bit_ceil(std::size_t(std::max<qsizetype>(items, 1)) * 2);
    if (wanted > m_places.size())
        rehash(wanted, pool);
}

ChartItem* KeyIndex::find(const ItemKey& key, const ItemPool& pool) const {
    const std::size_t hash = hashOf(key);
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
        const std::uint64_t place = m_places[at];
        if (place == 0)
            return nullptr;
        if (std::uint32_t(place >> 32) == tag) {
            ChartItem* item = pool.at(idAt(place));
            if (item->m_key == key)
                return item;
        }
    }
}

ChartItem* KeyIndex::insert(ChartItem* item, const ItemPool& pool) {
    if (std::size_t(m_count + 1) * 2 > m_places.size())
        rehash(m_places.size() * 2, pool);
    const std::size_t hash = hashOf(item->m_key);
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
        const std::uint64_t place = m_places[at];
        if (place == 0) {
            m_places[at] = placeOf(hash, item->m_id);
            ++m_count;
            return nullptr;
        }
        if (std::uint32_t(place >> 32) == tag) {
            ChartItem* there = pool.at(idAt(place));
            if (there->m_key == item->m_key)
                return there;
        }
    }
}

void KeyIndex::remove(const ChartItem* item, const ItemPool& pool) {
    std::size_t hole = hashOf(item->m_key) & m_mask;
    while (m_places[hole] == 0 || idAt(m_places[hole]) != item->m_id) {
        if (m_places[hole] == 0)
            return;
        hole = (hole + 1) & m_mask;
    }
    // Later entries of the same run move up into the hole when their home lies at or before it, so
    // that no walk ever meets an empty place before its item.
    for (std::size_t next = (hole + 1) & m_mask; m_places[next] != 0; next = (next + 1) & m_mask) {
        const std::size_t wanted = hashOf(pool.at(idAt(m_places[next]))->m_key) & m_mask;
        const bool reachable =
            hole <= next ? (wanted <= hole || wanted > next) : (wanted <= hole && wanted > next);
        if (reachable) {
            m_places[hole] = m_places[next];
            hole = next;
        }
    }
    m_places[hole] = 0;
    --m_count;
}

void KeyIndex::clear() {
    m_places.assign(smallestTable, 0);
    m_mask = smallestTable - 1;
    m_count = 0;
}

void KeyIndex::rehash(std::size_t places, const ItemPool& pool) {
    std::vector<std::uint64_t> old(places, 0);
    old.swap(m_places);
    m_mask = places - 1;
    for (const std::uint64_t place : old) {
        if (place == 0)
            continue;
        const std::size_t hash = hashOf(pool.at(idAt(place))->m_key);
        std::size_t at = hash & m_mask;
        while (m_places[at] != 0)
            at = (at + 1) & m_mask;
        m_places[at] = place;
    }
}
