#pragma once

#include <vector>

// The selected rows of the grid in the order the user selected them. Selecting and deselecting a
// block of rows costs its length; the order is read out in one pass.
class SelectionOrder {
public:
    void clear();
    // Appends the rows of first .. last that are not selected yet, in ascending order.
    void select(int first, int last);
    void deselect(int first, int last);

    [[nodiscard]] bool contains(int row) const;
    [[nodiscard]] int count() const { return m_count; }
    [[nodiscard]] std::vector<int> rows() const;

private:
    void compact();

    // Every row once selected, oldest first; a row's live entry is the one its slot points at, the
    // others are left behind by a deselection.
    std::vector<int> m_order;
    std::vector<int> m_slot; // by row: index of the live entry in m_order, -1 when not selected
    int m_count = 0;
};
