#pragma once

#include "app/TimePoint.h"

#include <QString>

class ChartItem;
class GanttData;

// Finds bookings of one row in their order by start, for keyboard selection. Every answer asks the
// row's index for time windows that widen from the given place, so a search costs a few index
// queries and reads about as many bookings as lie between the place and the answer.
class RowNavigation {
public:
    RowNavigation(const GanttData& data, const QString& rowKey);

    // The first booking that starts at or after `time`; nullptr for none.
    [[nodiscard]] ChartItem* firstFrom(TimePoint time) const;
    // The last booking that starts before `time`; nullptr for none.
    [[nodiscard]] ChartItem* lastBefore(TimePoint time) const;
    // The booking after or before `item` (a booking of this row) in the order by start.
    [[nodiscard]] ChartItem* next(const ChartItem& item) const;
    [[nodiscard]] ChartItem* previous(const ChartItem& item) const;
    // The booking closest in time to [start, end): one that overlaps it (the earliest), else the
    // one with the smaller gap, the earlier on a tie.
    [[nodiscard]] ChartItem* nearest(TimePoint start, TimePoint end) const;

private:
    // The booking that follows (forward) or precedes the place of `anchor` in the order, `anchor`
    // being a booking of the row or nullptr for the place just before (forward) or at `time`.
    [[nodiscard]] ChartItem* step(TimePoint time, const ChartItem* anchor, bool forward) const;

    const GanttData& m_data;
    QString m_rowKey;
};
