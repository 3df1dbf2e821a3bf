#pragma once

#include "app/TimePoint.h"

class ChartItem;

#include <QString>
#include <QVariant>

// One row of the item table, the mirror of one chart item that every view shows. Dates and times
// are kept as time points so that a sort compares them chronologically.
struct ItemRecord {
    static constexpr int columnCount = 12;

    QString key;             // column 0
    QString resourceCaption; // column 1
    QString caption;         // column 2
    TimePoint startDate;     // column 3, the day of the start
    TimePoint startTime;     // column 4, the time of day of the start
    TimePoint endDate;       // column 5
    TimePoint endTime;       // column 6
    QString addOnData;       // column 7
    QString text;            // column 8; columns 9 to 11 are always empty

    // Dates as QDate, times as QTime, text as QString; an empty value for columns 9 to 11 and
    // for any column outside the table.
    [[nodiscard]] QVariant value(int column) const;
    // The same value read from the chart item itself, without making a record.
    [[nodiscard]] static QVariant valueOf(const ChartItem& item, int column);
};
