#pragma once

#include "app/TimePoint.h"

class GanttData;

// What a monthly overview asks of the planning board; the board implements it.
class MonthViewHost {
public:
    virtual ~MonthViewHost() = default;

    // The board's chart: its styles and the bookings the overview shows.
    [[nodiscard]] virtual GanttData& data() const = 0;
    // Makes the day the board's current date, which moves the board's time line there.
    virtual void setActDate(TimePoint date) = 0;
};
