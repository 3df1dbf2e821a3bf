#pragma once

#include <QtGlobal>

// Names one item of a chart for as long as it lives: a handle of a removed item, or of an item of
// content that was replaced since, finds nothing, also when another item took the removed one's place.
struct ItemHandle {
    quint32 id = 0;
    quint32 generation = 0; // 0: no item

    bool operator==(const ItemHandle&) const = default;
};
