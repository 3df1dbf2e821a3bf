#include "PositionIndex.h"

namespace {
int lowestBit(int i) {
    return i & -i;
}
} // namespace

void PositionIndex::reset(int slots) {
    m_tree.assign(std::size_t(slots) + 1, 1);
    m_tree[0] = 0;
    for (int i = 1; i <= slots; ++i) {
        const int parent = i + lowestBit(i);
        if (parent <= slots)
            m_tree[std::size_t(parent)] += m_tree[std::size_t(i)];
    }
    m_occupied = slots;
}

void PositionIndex::append() {
    const int i = slotCount() + 1;
    m_tree.push_back(1 + prefix(i - 1) - prefix(i - lowestBit(i)));
    ++m_occupied;
}

void PositionIndex::release(int slot) {
    for (int i = slot + 1; i <= slotCount(); i += lowestBit(i))
        --m_tree[std::size_t(i)];
    --m_occupied;
}

int PositionIndex::position(int slot) const {
    if (m_occupied == slotCount())
        return slot + 1;
    return prefix(slot + 1);
}

int PositionIndex::slotAt(int position) const {
    if (position < 1 || position > m_occupied)
        return -1;
    // Without empty slots, positions and slots agree.
    if (m_occupied == slotCount())
        return position - 1;
    const int n = slotCount();
    int step = 1;
    while (step * 2 <= n)
        step *= 2;
    int index = 0;
    for (; step > 0; step /= 2) {
        if (index + step <= n && m_tree[std::size_t(index + step)] < position) {
            index += step;
            position -= m_tree[std::size_t(index)];
        }
    }
    return index;
}

int PositionIndex::prefix(int slots) const {
    int sum = 0;
    for (int i = slots; i > 0; i -= lowestBit(i))
        sum += m_tree[std::size_t(i)];
    return sum;
}
