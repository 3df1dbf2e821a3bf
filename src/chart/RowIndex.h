#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

class ChartItem;

// The items of one row ordered by (start, insertion sequence), with a max-of-ends tree over that
// order, so that "which items reach into [from, to)" costs O(log n + k) even when items overlap.
// Removed entries stay as dead placeholders until the next compaction; a dead entry may share its
// (start, sequence) with the item's live one, so entries are always found by item, never by key
// alone. Inside a batch new entries wait
// unordered in a side list that queries scan; it is merged into the order once it grows past a share
// of the row, so that alternating moves and conflict tests (a series carried over) stay cheap.
class RowIndex {
public:
    void insert(ChartItem* item, std::int64_t start, std::int64_t end, quint64 sequence, bool deferOrder);
    // `start` and `sequence` are the values the item was inserted with.
    void remove(const ChartItem* item, std::int64_t start, quint64 sequence);
    // Changes the end of an entry in place; its place in the order depends on the start alone.
    void setEnd(const ChartItem* item, std::int64_t start, quint64 sequence, std::int64_t end);

    // Whether an item other than `ignore` starts before `end` and ends after `start`.
    [[nodiscard]] bool overlaps(std::int64_t start, std::int64_t end, const ChartItem* ignore);
    // Items that start before `to` and end after `from`, ordered by start.
    [[nodiscard]] std::vector<ChartItem*> overlapping(std::int64_t from, std::int64_t to);
    [[nodiscard]] std::vector<ChartItem*> items() const;
    // Orders every entry and builds the tree now, so that the next query pays nothing for it.
    void finishOrder();

private:
    struct Entry {
        std::int64_t start;
        std::int64_t end;
        quint64 sequence;
        ChartItem* item; // nullptr once removed
    };

    // The live entry of `item` in the ordered entries, or -1.
    [[nodiscard]] int liveIndexOf(const ChartItem* item, std::int64_t start, quint64 sequence) const;
    void updateTreeLeaf(int index);
    void mergePending();
    void mergePendingWhenLarge();
    void compact();
    void buildTree();
    [[nodiscard]] int firstStartingAtOrAfter(std::int64_t time) const;
    // The last entry before `limit` that ends after `time`; -1 when there is none.
    [[nodiscard]] int lastEndingAfter(int limit, std::int64_t time) const;
    // The same within the subtree of `node` over entries [low, high), passing over `ignore`: one walk
    // down the tree even when the item to ignore is the one found first.
    [[nodiscard]] int lastEndingAfter(int node, int low, int high, int limit, std::int64_t time,
                                      const ChartItem* ignore) const;

    std::vector<Entry> m_entries;       // always ordered
    std::vector<Entry> m_pending;       // unordered, not covered by the tree
    std::vector<std::int64_t> m_maxEnd; // node 1 is the root; leaves start at m_leaves
    int m_leaves = 0;
    int m_dead = 0;
    bool m_treeValid = false;
};
