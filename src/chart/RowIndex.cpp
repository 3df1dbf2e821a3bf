#include "RowIndex.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int64_t noEnd = std::numeric_limits<std::int64_t>::min();

bool before(std::int64_t startA, quint64 sequenceA, std::int64_t startB, quint64 sequenceB) {
    return startA < startB || (startA == startB && sequenceA < sequenceB);
}
} // namespace

void RowIndex::insert(ChartItem* item, std::int64_t start, std::int64_t end, quint64 sequence,
                      bool deferOrder) {
    const Entry entry{start, end, sequence, item};
    if (deferOrder) {
        m_pending.push_back(entry);
        return;
    }
    mergePending();
    const auto at =
        std::upper_bound(m_entries.begin(), m_entries.end(), entry, [](const Entry& a, const Entry& b) {
            return before(a.start, a.sequence, b.start, b.sequence);
        });
    m_entries.insert(at, entry);
    m_treeValid = false;
}

void RowIndex::remove(const ChartItem* item, std::int64_t start, quint64 sequence) {
    const auto pending =
        std::find_if(m_pending.begin(), m_pending.end(), [item](const Entry& e) { return e.item == item; });
    if (pending != m_pending.end()) {
        *pending = m_pending.back();
        m_pending.pop_back();
        return;
    }
    const int index = liveIndexOf(item, start, sequence);
    if (index < 0)
        return;
    m_entries[std::size_t(index)].item = nullptr;
    ++m_dead;
    if (m_dead > 32 && m_dead * 2 > int(m_entries.size())) {
        compact();
        return;
    }
    updateTreeLeaf(index);
}

void RowIndex::setEnd(const ChartItem* item, std::int64_t start, quint64 sequence, std::int64_t end) {
    const auto pending =
        std::find_if(m_pending.begin(), m_pending.end(), [item](const Entry& e) { return e.item == item; });
    if (pending != m_pending.end()) {
        pending->end = end;
        return;
    }
    const int index = liveIndexOf(item, start, sequence);
    if (index < 0)
        return;
    m_entries[std::size_t(index)].end = end;
    updateTreeLeaf(index);
}

int RowIndex::liveIndexOf(const ChartItem* item, std::int64_t start, quint64 sequence) const {
    auto at = std::lower_bound(
        m_entries.begin(), m_entries.end(), start,
        [sequence](const Entry& e, std::int64_t s) { return before(e.start, e.sequence, s, sequence); });
    for (; at != m_entries.end() && at->start == start && at->sequence == sequence; ++at) {
        if (at->item == item)
            return int(at - m_entries.begin());
    }
    return -1;
}

void RowIndex::updateTreeLeaf(int index) {
    if (!m_treeValid)
        return;
    const Entry& entry = m_entries[std::size_t(index)];
    int node = m_leaves + index;
    m_maxEnd[std::size_t(node)] = entry.item ? entry.end : noEnd;
    for (node /= 2; node >= 1; node /= 2)
        m_maxEnd[std::size_t(node)] =
            std::max(m_maxEnd[std::size_t(2 * node)], m_maxEnd[std::size_t(2 * node + 1)]);
}

bool RowIndex::overlaps(std::int64_t start, std::int64_t end, const ChartItem* ignore) {
    mergePendingWhenLarge();
    for (const Entry& entry : m_pending) {
        if (entry.item != ignore && entry.start < end && entry.end > start)
            return true;
    }
    buildTree();
    return lastEndingAfter(1, 0, m_leaves, firstStartingAtOrAfter(end), start, ignore) >= 0;
}

std::vector<ChartItem*> RowIndex::overlapping(std::int64_t from, std::int64_t to) {
    mergePending();
    buildTree();
    std::vector<ChartItem*> result;
    for (int found = lastEndingAfter(firstStartingAtOrAfter(to), from); found >= 0;
         found = lastEndingAfter(found, from))
        result.push_back(m_entries[std::size_t(found)].item);
    std::reverse(result.begin(), result.end());
    return result;
}

std::vector<ChartItem*> RowIndex::items() const {
    std::vector<const Entry*> live;
    live.reserve(m_entries.size() - std::size_t(m_dead) + m_pending.size());
    for (const Entry& entry : m_entries) {
        if (entry.item)
            live.push_back(&entry);
    }
    const auto ordered = live.size();
    for (const Entry& entry : m_pending)
        live.push_back(&entry);
    const auto byOrder = [](const Entry* a, const Entry* b) {
        return before(a->start, a->sequence, b->start, b->sequence);
    };
    std::sort(live.begin() + std::ptrdiff_t(ordered), live.end(), byOrder);
    std::inplace_merge(live.begin(), live.begin() + std::ptrdiff_t(ordered), live.end(), byOrder);
    std::vector<ChartItem*> result;
    result.reserve(live.size());
    for (const Entry* entry : live)
        result.push_back(entry->item);
    return result;
}

void RowIndex::finishOrder() {
    mergePending();
    buildTree();
}

void RowIndex::mergePendingWhenLarge() {
    // Scanning a few pending entries is cheaper than re-ordering the row for every query.
    if (m_pending.size() > std::max<std::size_t>(64, m_entries.size() / 16))
        mergePending();
}

void RowIndex::mergePending() {
    if (m_pending.empty())
        return;
    compact();
    const auto byOrder = [](const Entry& a, const Entry& b) {
        return before(a.start, a.sequence, b.start, b.sequence);
    };
    if (!std::is_sorted(m_pending.begin(), m_pending.end(), byOrder))
        std::sort(m_pending.begin(), m_pending.end(), byOrder);
    if (m_entries.empty()) {
        // A loaded row arrives whole: its entries are taken over, and their room with them.
        m_pending.shrink_to_fit();
        m_entries.swap(m_pending);
    } else {
        const auto ordered = std::ptrdiff_t(m_entries.size());
        m_entries.insert(m_entries.end(), m_pending.begin(), m_pending.end());
        m_pending.clear();
        std::inplace_merge(m_entries.begin(), m_entries.begin() + ordered, m_entries.end(), byOrder);
    }
    m_treeValid = false;
}

void RowIndex::compact() {
    std::erase_if(m_entries, [](const Entry& e) { return e.item == nullptr; });
    m_dead = 0;
    m_treeValid = false;
}

void RowIndex::buildTree() {
    if (m_treeValid)
        return;
    m_leaves = 1;
    while (m_leaves < int(m_entries.size()))
        m_leaves *= 2;
    m_maxEnd.assign(std::size_t(2 * m_leaves), noEnd);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_maxEnd[std::size_t(m_leaves) + i] = m_entries[i].item ? m_entries[i].end : noEnd;
    for (int node = m_leaves - 1; node >= 1; --node)
        m_maxEnd[std::size_t(node)] =
            std::max(m_maxEnd[std::size_t(2 * node)], m_maxEnd[std::size_t(2 * node + 1)]);
    m_treeValid = true;
}

int RowIndex::firstStartingAtOrAfter(std::int64_t time) const {
    const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), time,
                                     [](const Entry& e, std::int64_t t) { return e.start < t; });
    return int(at - m_entries.begin());
}

int RowIndex::lastEndingAfter(int limit, std::int64_t time) const {
    if (limit <= 0)
        return -1;
    return lastEndingAfter(1, 0, m_leaves, limit, time, nullptr);
}

int RowIndex::lastEndingAfter(int node, int low, int high, int limit, std::int64_t time,
                              const ChartItem* ignore) const {
    if (low >= limit || m_maxEnd[std::size_t(node)] <= time)
        return -1;
    if (high - low == 1)
        return m_entries[std::size_t(low)].item == ignore && ignore ? -1 : low;
    const int middle = (low + high) / 2;
    const int right = lastEndingAfter(2 * node + 1, middle, high, limit, time, ignore);
    return right >= 0 ? right : lastEndingAfter(2 * node, low, middle, limit, time, ignore);
}
