#pragma once

#include "chart/ChartSettings.h"

#include <QString>
#include <optional>

// Why the working periods of a timetable cannot be stored: the weekday (0 Monday) and period to show
// the user, and the message.
struct WorkingPeriodProblem {
    int weekday = 0;
    int period = 0;
    QString text;
};

// The first period that does not end after it starts, or that overlaps another period of its day;
// none when every day's periods fit. A period without an end (0) only marks where work starts and is
// not checked; touching periods do not overlap.
[[nodiscard]] std::optional<WorkingPeriodProblem>
checkWorkingPeriods(const ChartSettings::CoreTimeTable& table);

// The name of a weekday, 0 Monday to 6 Sunday.
[[nodiscard]] QString workingWeekdayName(int weekday);

// A time of day in seconds as the working period fields show it (the locale's short time).
[[nodiscard]] QString workingTimeText(int seconds);
