#pragma once

#include <vector>

// One key of a multi-key sort of the item table: a record column and how its values compare.
struct ItemSortKey {
    enum class Compare {
        Caseless, // text, ignoring letter case
        Value,    // dates and times chronologically, other text by its characters
    };

    int column = 0;
    Compare compare = Compare::Value;
};

using ItemSortKeys = std::vector<ItemSortKey>;
