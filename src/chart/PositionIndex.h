#pragma once

#include <vector>

// Maps storage slots to 1-based positions when some slots are empty, in logarithmic time (a Fenwick
// tree of occupied slots). Removing an item empties its slot instead of shifting all later ones.
class PositionIndex {
public:
    // Starts over with `slots` occupied slots.
    void reset(int slots);
    // Adds an occupied slot at the end.
    void append();
    void release(int slot);

    [[nodiscard]] int position(int slot) const;
    // The slot at a 1-based position; -1 when there is none.
    [[nodiscard]] int slotAt(int position) const;
    [[nodiscard]] int count() const { return m_occupied; }
    [[nodiscard]] int slotCount() const { return int(m_tree.size()) - 1; }

private:
    [[nodiscard]] int prefix(int slots) const;

    std::vector<int> m_tree{0}; // 1-based; m_tree[0] is unused
    int m_occupied = 0;
};
