#include "RowNavigation.h"

#include "chart/GanttData.h"

#include <algorithm>
#include <vector>

namespace {
// The first window a search asks for; each miss widens it fourfold.
constexpr std::int64_t firstWindow = TimePoint::secondsPerDay;
} // namespace

RowNavigation::RowNavigation(const GanttData& data, const QString& rowKey)
    : m_data(data)
    , m_rowKey(rowKey) {}

ChartItem* RowNavigation::firstFrom(TimePoint time) const {
    return step(time, nullptr, true);
}

ChartItem* RowNavigation::lastBefore(TimePoint time) const {
    return step(time, nullptr, false);
}

ChartItem* RowNavigation::next(const ChartItem& item) const {
    return step(item.start(), &item, true);
}

ChartItem* RowNavigation::previous(const ChartItem& item) const {
    return step(item.start(), &item, false);
}

ChartItem* RowNavigation::nearest(TimePoint start, TimePoint end) const {
    const std::vector<ChartItem*> overlapping =
        m_data.itemsInRange(m_rowKey, start, std::max(end, start.addSeconds(1)));
    if (!overlapping.empty())
        return overlapping.front();
    ChartItem* before = lastBefore(start);
    ChartItem* after = firstFrom(end);
    if (!before || !after)
        return before ? before : after;
    return start - before->end() <= after->start() - end ? before : after;
}

ChartItem* RowNavigation::step(TimePoint time, const ChartItem* anchor, bool forward) const {
    for (std::int64_t span = firstWindow;; span *= 4) {
        if (forward) {
            const TimePoint to = TimePoint::fromSeconds(time.seconds() + span);
            // Bookings that start earlier and reach into the window come first in the order.
            const std::vector<ChartItem*> found = m_data.itemsInRange(m_rowKey, time, to);
            auto at = anchor ? std::find(found.begin(), found.end(), anchor) : found.end();
            if (at != found.end())
                ++at;
            else
                at = std::find_if(found.begin(), found.end(), [&](const ChartItem* item) {
                    return item != anchor && item->start() >= time;
                });
            if (at != found.end())
                return *at;
            if (to == TimePoint::maximum())
                return nullptr;
        } else {
            const TimePoint from = TimePoint::fromSeconds(time.seconds() - span);
            const TimePoint to = anchor ? time.addSeconds(1) : time;
            const std::vector<ChartItem*> found = m_data.itemsInRange(m_rowKey, from, to);
            auto at = anchor ? std::find(found.begin(), found.end(), anchor) : found.end();
            // Only a booking starting inside the window is surely the nearest one before the place:
            // one that starts earlier and merely reaches in may have others between.
            if (at != found.begin() && ((*(at - 1))->start() >= from || from == TimePoint::minimum()))
                return *(at - 1);
            if (from == TimePoint::minimum())
                return nullptr;
        }
    }
}
