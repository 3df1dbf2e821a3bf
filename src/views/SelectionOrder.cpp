#include "SelectionOrder.h"

void SelectionOrder::clear() {
    for (const int row : m_order)
        m_slot[std::size_t(row)] = -1;
    m_order.clear();
    m_count = 0;
}

void SelectionOrder::select(int first, int last) {
    if (first < 0 || last < first)
        return;
    if (std::size_t(last) >= m_slot.size())
        m_slot.resize(std::size_t(last) + 1, -1);
    for (int row = first; row <= last; ++row) {
        int& slot = m_slot[std::size_t(row)];
        if (slot >= 0)
            continue;
        slot = int(m_order.size());
        m_order.push_back(row);
        ++m_count;
    }
}

void SelectionOrder::deselect(int first, int last) {
    for (int row = std::max(first, 0); row <= last && std::size_t(row) < m_slot.size(); ++row) {
        int& slot = m_slot[std::size_t(row)];
        if (slot < 0)
            continue;
        slot = -1;
        --m_count;
    }
    if (m_order.size() > 2 * std::size_t(m_count) + 64)
        compact();
}

bool SelectionOrder::contains(int row) const {
    return row >= 0 && std::size_t(row) < m_slot.size() && m_slot[std::size_t(row)] >= 0;
}

std::vector<int> SelectionOrder::rows() const {
    std::vector<int> rows;
    rows.reserve(std::size_t(m_count));
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const int row = m_order[i];
        if (m_slot[std::size_t(row)] == int(i))
            rows.push_back(row);
    }
    return rows;
}

void SelectionOrder::compact() {
    std::vector<int> live = rows();
    for (std::size_t i = 0; i < live.size(); ++i)
        m_slot[std::size_t(live[i])] = int(i);
    m_order = std::move(live);
}
