#include "ItemSeries.h"

#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/UserPrompts.h"
#include "bsSupport.h"
#include "chart/GanttData.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"

#include <array>

namespace {
struct TypeRule {
    const char* name;
    const char* unit;
    int firstDay; // weekdays kept, Monday = 1
    int lastDay;
};

constexpr std::array<TypeRule, ItemSeries::typeCount> rules = {{
    {"Daily", "d", 1, 7},
    {"Mo-Fr", "d", 1, 5},
    {"Mo-Sa", "d", 1, 6},
    {"Sa-Su", "d", 6, 7},
    {"Weekly", "ww", 1, 7},
    {"Monthly", "m", 1, 7},
    {"Quarterly", "q", 1, 7},
    {"Yearly", "y", 1, 7},
}};

const TypeRule* ruleOf(int type) {
    return type >= 0 && type < ItemSeries::typeCount ? &rules[std::size_t(type)] : nullptr;
}

// The master's values, copied once: telling the views of each member lets them run code of their own.
struct Master {
    QString rowKey;
    QString caption;
    QString text;
    QString styleKey;
    QString picture;
    QString addOnData;
    QString seriesKey;
    QString addTag;
    QString tag;
    int movementLock = 0;
    TimePoint day;
    std::int64_t timeOfDay = 0;
    std::int64_t length = 0;
};

Master takeMaster(clsItems& items, ChartItem& item) {
    if (item.seriesKey().isEmpty()) {
        item.setSeriesKey(bsSupport::NewKey());
        items.UpdateItem(item, QString());
    }
    const TimePoint day = item.start().datePart();
    return {item.rowKey(),
            item.caption(),
            item.text(),
            item.styleKey(),
            item.picture(),
            item.addOnData(),
            item.seriesKey(),
            item.addTag(),
            item.tag(),
            item.movementLock(),
            day,
            item.start() - day,
            item.end() - item.start()};
}

// False when the user cancelled at a conflict.
bool addMember(clsItems& items, const Master& master, TimePoint day, ItemSeries::Outcome& outcome) {
    GanttData& chart = items.chart();
    const TimePoint start = day.addSeconds(master.timeOfDay);
    const TimePoint end = start.addSeconds(master.length);
    if (bsSupport::ConflictForNewItem(chart, start, end, master.rowKey)) {
        ++outcome.refused;
        const QString text = FormatMsg(
            QStringLiteral("The item for %s cannot be stored because of other items allready existing!"),
            start.generalDate());
        return ShowMessage(text, MessageFlags::OkCancel | MessageFlags::Information) != MessageResult::Cancel;
    }
    ChartItem& member = chart.items().add(master.caption, master.rowKey, start, end, bsSupport::NewKey(),
                                          master.styleKey, master.picture, master.addTag);
    member.setAddOnData(master.addOnData);
    member.setText(master.text);
    member.setMovementLock(master.movementLock);
    member.setSeriesKey(master.seriesKey);
    member.setTag(master.tag);
    ++outcome.added;
    items.Add(member, QString());
    return true;
}
} // namespace

QString ItemSeries::typeName(int type) {
    const TypeRule* rule = ruleOf(type);
    return rule ? QString::fromLatin1(rule->name) : QString();
}

QString ItemSeries::unit(int type) {
    const TypeRule* rule = ruleOf(type);
    return rule ? QString::fromLatin1(rule->unit) : QString();
}

bool ItemSeries::keepsWeekday(int type, int weekday) {
    const TypeRule* rule = ruleOf(type);
    return rule && weekday >= rule->firstDay && weekday <= rule->lastDay;
}

TimePoint ItemSeries::lastPossibleDay() {
    return TimePoint::fromDate(QDate(2199, 12, 31));
}

QString ItemSeries::message(Refusal refusal) {
    switch (refusal) {
    case Refusal::IntervalBelowOne:
        return QStringLiteral("The interval must be 1 at minimum!");
    case Refusal::IntervalAboveMaximum:
        return QStringLiteral("The interval must be %1 at maximum!").arg(maximumCount);
    case Refusal::NoAmount:
        return QStringLiteral("Please enter amount or end date!");
    case Refusal::CountAboveMaximum:
        return QStringLiteral("The count must be %1 at maximum!").arg(maximumCount);
    case Refusal::LastDateTooLate:
        return QStringLiteral("The last date must be %1 at the latest!").arg(lastPossibleDay().shortDate());
    case Refusal::MasterMissing:
        return QStringLiteral("Master item not found!");
    case Refusal::LastDateNotAfterMaster:
        return QStringLiteral("The last date must be after the day of the item!");
    case Refusal::None:
        break;
    }
    return {};
}

ItemSeries::Refusal ItemSeries::plan(const Request& request, Plan& plan) {
    const double interval = roundHalfEven(request.interval);
    if (!(interval >= 1))
        return Refusal::IntervalBelowOne;
    if (interval > maximumCount)
        return Refusal::IntervalAboveMaximum;
    const double count = roundHalfEven(request.count);
    const bool lastDateGiven = request.lastDate && request.lastDate->dayNumber() != 0;
    if (!lastDateGiven && !(count > 0))
        return Refusal::NoAmount;
    if (count > maximumCount)
        return Refusal::CountAboveMaximum;
    if (lastDateGiven && request.lastDate->datePart() > lastPossibleDay())
        return Refusal::LastDateTooLate;
    plan.type = ruleOf(request.type) ? request.type : Daily;
    plan.interval = int(interval);
    plan.count = count >= 1 ? int(count) : maximumCount;
    plan.lastDate = lastDateGiven ? request.lastDate->datePart() : lastPossibleDay();
    plan.lastDateGiven = lastDateGiven;
    return Refusal::None;
}

ItemSeries::Refusal ItemSeries::checkMaster(const GanttData& chart, const QString& masterKey,
                                            const Plan& plan) {
    const ChartItem* master = masterKey.isEmpty() ? nullptr : chart.items().byKey(masterKey);
    if (master == nullptr)
        return Refusal::MasterMissing;
    if (plan.lastDateGiven && plan.lastDate <= master->start().datePart())
        return Refusal::LastDateNotAfterMaster;
    return Refusal::None;
}

ItemSeries::Outcome ItemSeries::generate(clsItems& items, const QString& masterKey, const Plan& plan,
                                         const std::function<void(TimePoint)>& checking,
                                         const QString& identity) {
    Outcome outcome;
    ChartItem* item = items.chart().items().byKey(masterKey);
    if (item == nullptr)
        return outcome;
    Master master;
    if (!guardedStep(identity, [&] { master = takeMaster(items, *item); }))
        return outcome;

    BusyCursor busy;
    ChartBatch batch(items.chart());
    const QString unit = ItemSeries::unit(plan.type);
    int used = 0;
    // Each date follows from the one before, so that a month end stays clamped once it was.
    for (TimePoint day = master.day.addInterval(unit, plan.interval); day <= plan.lastDate;
         day = day.addInterval(unit, plan.interval)) {
        if (checking)
            checking(day);
        if (!keepsWeekday(plan.type, day.date().dayOfWeek()))
            continue;
        if (++used > plan.count)
            break;
        bool goOn = true;
        if (!guardedStep(identity, [&] { goOn = addMember(items, master, day, outcome); }))
            break;
        if (!goOn) {
            outcome.cancelled = true;
            break;
        }
    }
    return outcome;
}
