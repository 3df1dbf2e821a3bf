#pragma once

class ChartItem;

// Hears of every item of a chart just before it changes or leaves, of the items' order about to
// change, and of the whole content being replaced, so that a history can keep what items were
// without holding a copy of every item.
class ItemWatcher {
public:
    virtual void itemChanging(const ChartItem& item) = 0;
    // An item comes, leaves or changes its place among the items.
    virtual void orderChanging() = 0;
    virtual void contentReplaced() = 0;

protected:
    ItemWatcher() = default;
    ItemWatcher(const ItemWatcher&) = default;
    ItemWatcher& operator=(const ItemWatcher&) = default;
    ~ItemWatcher() = default;
};
