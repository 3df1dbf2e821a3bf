#pragma once

#include "ItemSortKey.h"

#include <QtGlobal>
#include <vector>

class ChartItem;

// The order of the item table's rows by several keys, worked out on the chart's items: each key
// first turns every row into a rank that sorts as the column's values do, so that the sort itself
// compares whole numbers only. A row without an item has the values of an empty record.
class ItemOrder {
public:
    // Row numbers in their new order; a stable sort, every key in the same direction.
    [[nodiscard]] static std::vector<qsizetype> of(const std::vector<const ChartItem*>& rows,
                                                   const ItemSortKeys& keys, bool descending);
};
