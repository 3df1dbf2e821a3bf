#pragma once

#include "app/TimePoint.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

class ChartItem;
class clsItems;

// The rules behind the item editor's "&OK": the checks of the entered values, in their order, and
// the writing of a new or changed item to the chart and the item table.
class DateItemStore {
public:
    // What the editor's fields hold, as typed.
    struct Entry {
        QString rowKey; // empty: no resource chosen
        QString startDate;
        QString startTime;
        QString endDate;
        QString endTime;
        QString caption;
        QString text;
        QString picture;
        QString styleKey; // empty: no style chosen
        bool seriesTicked = false;
        QString addOnData;
        // The exact time points while the date and time fields still show those of the item: the
        // short time form hides seconds, which must not get lost by storing the caption alone.
        std::optional<TimePoint> exactStart;
        std::optional<TimePoint> exactEnd;
    };

    // The outcome of a check or a store; each refusal has its message.
    enum class Outcome { Stored, NoResource, NoStart, NoEnd, StartNotBeforeEnd, NoStyle, Conflict };

    struct Span {
        TimePoint start;
        TimePoint end;
    };

    [[nodiscard]] static QString message(Outcome outcome);

    // The checks before storing, in this order: resource, start date, end date, start before end,
    // style. Fills `span` when it answers Stored. Without an end time the item ends at the midnight
    // after the end date.
    [[nodiscard]] static Outcome check(const Entry& entry, Span& span);

    // Conflict test, then writes the entry into the item `itemKey` (empty: a new item, whose new key
    // is written back) and tells the item table with `senderId`; a changed series member offers to
    // carry the change over to the members that follow it. Answers Conflict or NoResource (the row is
    // gone), with nothing changed, or Stored with `stored` pointing to the item as it is at the end
    // (nullptr when a view deleted it while it was told of the change).
    static Outcome write(clsItems& items, QString& itemKey, const Entry& entry, Span span,
                         const QString& senderId, ChartItem** stored = nullptr);

    // A field's text read as a date or a time the way leaving the field would read it: bare digits
    // and decimal hours count, anything else does not.
    [[nodiscard]] static std::optional<QDate> fieldDate(const QString& text);
    [[nodiscard]] static std::optional<QTime> fieldTime(const QString& text);

    // One step of the chart's time grid after `start`: the grid code is an amount followed by a unit
    // letter ("15n", "1h", "30s", "1d"). Nothing for a code that makes no step forward.
    [[nodiscard]] static std::optional<TimePoint> oneGridStepLater(TimePoint start, const QString& gridCode);
};
