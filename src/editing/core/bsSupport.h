#pragma once

#include "app/TimePoint.h"

#include <QString>

class ChartItem;
class GanttData;
class clsItems;

// Conflict support: new keys, the two forms of the conflict test, and carrying a change of one
// series member over to the members that follow it.
namespace bsSupport {

// The values of an item taken just before a change, handed to ItemMoved with the changed item.
struct ItemSnapshot {
    QString key;
    QString resourceKey;
    QString styleKey;
    TimePoint start;
    TimePoint end;
    QString picture;

    [[nodiscard]] static ItemSnapshot of(const ChartItem& item);
};

// A new version-4 GUID in registry form: braces, upper-case hexadecimal, 38 characters.
[[nodiscard]] QString NewKey();

// True when the span would collide with another item of the row; the item at `itemPosition` (the
// item being changed) does not count against itself.
[[nodiscard]] bool ConflictForExistingItem(const GanttData& chart, TimePoint start, TimePoint end,
                                           const QString& rowKey, int itemPosition);
// True when a new item with this span would collide with an item of the row.
[[nodiscard]] bool ConflictForNewItem(const GanttData& chart, TimePoint start, TimePoint end,
                                      const QString& rowKey);

// After `item` has been changed (`before` holds its old values) and passed to the item table: when
// it is a series member and its span, resource, style or picture changed, offers to move every
// member that starts after its new start by the same shift and to give it the item's length,
// resource, style and picture. Each changed member is passed to `items`, when given, so that the
// table and every view know it. `item` is read before the question only: the item may be gone when
// it is answered.
void ItemMoved(GanttData& chart, const ItemSnapshot& before, const ChartItem& item, clsItems* items);

} // namespace bsSupport
