#pragma once

#include "app/TimePoint.h"

#include <QString>
#include <functional>

class clsItems;

// Deletes every item whose end day is not after the limit day, walking the chart's items from the
// last position down to the first so that a deletion never moves an item not yet visited. Each item
// goes through the item table's single delete with an empty sender ID, so every view is asked first
// and may keep it; the chart is redrawn once. Before each position `goOn` is asked (the caller lets
// window messages run there) and ends the walk by answering false; `checking` hears of the start of
// each item looked at. Answers the number of items deleted.
int DeleteItemsUpTo(clsItems& items, TimePoint limitDay, const std::function<bool()>& goOn,
                    const std::function<void(TimePoint)>& checking, const QString& identity);
