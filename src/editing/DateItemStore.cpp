#include "DateItemStore.h"

#include "app/ui/bsInput.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"

namespace {
// The time points that the fields stand for; nothing for a date field without a valid date.
std::optional<TimePoint> fieldTimePoint(const QString& dateText, const QString& timeText) {
    const std::optional<QDate> date = DateItemStore::fieldDate(dateText);
    if (!date)
        return {};
    const std::optional<QTime> time = DateItemStore::fieldTime(timeText);
    return TimePoint::fromDateTime(*date, time.value_or(QTime(0, 0)));
}
} // namespace

QString DateItemStore::message(Outcome outcome) {
    switch (outcome) {
    case Outcome::NoResource:
        return QStringLiteral("Please select one resource!");
    case Outcome::NoStart:
        return QStringLiteral("Start timepoint is missing!");
    case Outcome::NoEnd:
        return QStringLiteral("End timepoint is missing!");
    case Outcome::StartNotBeforeEnd:
        return QStringLiteral("Check start and end timepoint!");
    case Outcome::NoStyle:
        return QStringLiteral("Please select a style!");
    case Outcome::Conflict:
        return QStringLiteral("Item is in conflict with already existing one and cannot be saved!");
    case Outcome::Stored:
        break;
    }
    return {};
}

std::optional<QDate> DateItemStore::fieldDate(const QString& text) {
    QString normal = text;
    if (!ValidateField(normal, InputKind::Date))
        return {};
    return FieldDate(normal);
}

std::optional<QTime> DateItemStore::fieldTime(const QString& text) {
    QString normal = text;
    if (!ValidateField(normal, InputKind::Time))
        return {};
    // The field's own text first: the short form written back may have dropped its seconds.
    if (const std::optional<QTime> exact = FieldTime(text))
        return exact;
    return FieldTime(normal);
}

DateItemStore::Outcome DateItemStore::check(const Entry& entry, Span& span) {
    if (entry.rowKey.isEmpty())
        return Outcome::NoResource;
    std::optional<TimePoint> start = entry.exactStart;
    if (!start)
        start = fieldTimePoint(entry.startDate, entry.startTime);
    if (!start)
        return Outcome::NoStart;
    std::optional<TimePoint> end = entry.exactEnd;
    if (!end) {
        const std::optional<QDate> endDate = fieldDate(entry.endDate);
        if (!endDate)
            return Outcome::NoEnd;
        const std::optional<QTime> endTime = fieldTime(entry.endTime);
        end =
            endTime ? TimePoint::fromDateTime(*endDate, *endTime) : TimePoint::fromDate(*endDate).addDays(1);
    }
    if (*start >= *end)
        return Outcome::StartNotBeforeEnd;
    if (entry.styleKey.isEmpty())
        return Outcome::NoStyle;
    span = {*start, *end};
    return Outcome::Stored;
}

DateItemStore::Outcome DateItemStore::write(clsItems& items, QString& itemKey, const Entry& entry, Span span,
                                            const QString& senderId, ChartItem** stored) {
    GanttData& chart = items.chart();
    // The resource may have gone while the editor was open.
    if (chart.rows().byKey(entry.rowKey) == nullptr)
        return Outcome::NoResource;
    ChartItem* item = itemKey.isEmpty() ? nullptr : chart.items().byKey(itemKey);
    const bool conflict =
        item != nullptr
            ? bsSupport::ConflictForExistingItem(chart, span.start, span.end, entry.rowKey, item->position())
            : bsSupport::ConflictForNewItem(chart, span.start, span.end, entry.rowKey);
    if (conflict)
        return Outcome::Conflict;
    if (stored != nullptr)
        *stored = nullptr;
    // The views are told of every step and may change or delete the item meanwhile: after each
    // notification it is looked up again, and what is gone is not written further.
    const auto current = [&chart, &itemKey] { return chart.items().byKey(itemKey); };

    bsSupport::ItemSnapshot before;
    QString addOnData = entry.addOnData;
    if (item != nullptr) {
        before = bsSupport::ItemSnapshot::of(*item);
        item->setRowKey(entry.rowKey);
    } else {
        // A new item, or one that vanished while it was edited: the entry is stored, not lost.
        itemKey = bsSupport::NewKey();
        item = &chart.items().add(entry.caption, entry.rowKey, span.start, span.end, itemKey,
                                  QStringLiteral("Date"), QString(), QStringLiteral("0"));
        addOnData.clear();
        items.Add(*item, senderId);
        item = current();
        if (item == nullptr)
            return Outcome::Stored;
        item->setSeriesKey(QString());
    }
    if (!item->seriesKey().isEmpty() && !entry.seriesTicked)
        item->setSeriesKey(QString());

    item->setAddOnData(addOnData);
    item->setCaption(entry.caption);
    item->setText(entry.text);
    item->setSpan(span.start, span.end);
    item->setPicture(entry.picture.trimmed());

    const ChartStyle* style = chart.styles().byKey(entry.styleKey);
    item->setMovementLock(style != nullptr && style->fixedItem ? 2 : 0);
    item->setStyleKey(entry.styleKey);

    items.UpdateItem(*item, senderId);
    if (const ChartItem* changed = current())
        bsSupport::ItemMoved(chart, before, *changed, &items);
    if (stored != nullptr)
        *stored = current();
    return Outcome::Stored;
}

std::optional<TimePoint> DateItemStore::oneGridStepLater(TimePoint start, const QString& gridCode) {
    const QString code = gridCode.trimmed();
    if (code.size() < 2)
        return {};
    const QString unit = code.right(1);
    bool ok = false;
    const int amount = code.left(code.size() - 1).toInt(&ok);
    if (!ok || amount <= 0 || !TimePoint::isIntervalCode(unit))
        return {};
    const TimePoint end = start.addInterval(unit, amount);
    if (end <= start)
        return {};
    return end;
}
