#include "bsSupport.h"

#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "chart/GanttData.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"

#include <QUuid>

namespace bsSupport {

namespace {
// The values every following member takes over from the moved item, copied once because telling
// the views of each member lets them run code of their own.
struct CarryOver {
    QString seriesKey;
    QString rowKey;
    QString styleKey;
    QString picture;
    int movementLock = 0;
    TimePoint newStart;
    std::int64_t shift = 0;
    std::int64_t duration = 0;
};

bool sameAsBefore(const ItemSnapshot& before, const ChartItem& item) {
    return item.start() == before.start && item.end() == before.end && item.rowKey() == before.resourceKey &&
           item.styleKey() == before.styleKey && item.picture() == before.picture;
}

// Moves the item at `position` when it is a following member; false when the user cancelled.
bool moveMember(GanttData& chart, const CarryOver& change, int position, clsItems* items) {
    ChartItem* member = chart.items().byPosition(position);
    if (member == nullptr || member->seriesKey() != change.seriesKey || member->start() <= change.newStart)
        return true;
    const TimePoint start = member->start().addSeconds(change.shift);
    const TimePoint end = start.addSeconds(change.duration);
    if (ConflictForExistingItem(chart, start, end, change.rowKey, position)) {
        const QString text = FormatMsg(
            QStringLiteral("The item at %s %s cannot be moved because of a conflict with another item!"),
            start.shortDate(), start.shortTime());
        return ShowMessage(text, MessageFlags::OkCancel | MessageFlags::Critical) != MessageResult::Cancel;
    }
    member->setRowKey(change.rowKey);
    member->setSpan(start, end);
    member->setStyleKey(change.styleKey);
    member->setPicture(change.picture);
    member->setMovementLock(change.movementLock);
    if (items != nullptr)
        items->UpdateItem(*member, QString());
    return true;
}

void carryOver(GanttData& chart, const ItemSnapshot& before, const ChartItem& item, clsItems* items,
               const QString& identity) {
    if (item.key() != before.key || item.seriesKey().isEmpty() || sameAsBefore(before, item))
        return;
    // Taken before the question: while it is open, window messages run and may delete the item.
    CarryOver change;
    change.seriesKey = item.seriesKey();
    change.rowKey = item.rowKey();
    change.styleKey = item.styleKey();
    change.picture = item.picture();
    // A member that takes a fixing style is locked like every item stored with that style.
    const ChartStyle* style = chart.styles().byKey(item.styleKey());
    change.movementLock = style != nullptr && style->fixedItem ? 2 : 0;
    change.newStart = item.start();
    change.shift = item.start() - before.start;
    change.duration = item.end() - item.start();
    if (ShowMessage(QStringLiteral("Change the following items of this series too?"),
                    MessageFlags::YesNo | MessageFlags::Question) != MessageResult::Yes)
        return;
    BusyCursor busy;
    ChartBatch batch(chart);
    // The members in position order, as a walk over all items would meet them; kept as handles, so
    // that a member a view removes on the way is passed over.
    std::vector<ItemHandle> members;
    for (const ChartItem* member : chart.items().seriesMembers(change.seriesKey))
        members.push_back(member->handle());
    for (const ItemHandle& handle : members) {
        const ChartItem* member = chart.items().byHandle(handle);
        if (member == nullptr)
            continue;
        const int position = member->position();
        bool goOn = true;
        if (!guardedStep(identity, [&] { goOn = moveMember(chart, change, position, items); }) || !goOn)
            return;
    }
}
} // namespace

ItemSnapshot ItemSnapshot::of(const ChartItem& item) {
    return {item.key(), item.rowKey(), item.styleKey(), item.start(), item.end(), item.picture()};
}

QString NewKey() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

bool ConflictForExistingItem(const GanttData& chart, TimePoint start, TimePoint end, const QString& rowKey,
                             int itemPosition) {
    return chart.conflictsExcept(start, end, rowKey, itemPosition);
}

bool ConflictForNewItem(const GanttData& chart, TimePoint start, TimePoint end, const QString& rowKey) {
    return chart.conflicts(start, end, rowKey);
}

void ItemMoved(GanttData& chart, const ItemSnapshot& before, const ChartItem& item, clsItems* items) {
    const QString identity = QStringLiteral("Sub:bsSupport:ItemMoved");
    guardedStep(identity, [&] { carryOver(chart, before, item, items, identity); });
}

} // namespace bsSupport
