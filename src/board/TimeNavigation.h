#pragma once

#include "app/TimePoint.h"

#include <QString>

struct ChartSettings;

// The arithmetic behind stepping and jumping through time; the board applies the results to its chart.
class TimeNavigation {
public:
    static constexpr int scaleCount = 16;
    static constexpr int unitsPerStep = 5;

    // The caption of a "&Resolution" entry, which is also the chart's scale of the same number.
    [[nodiscard]] static QString scaleCaption(int scale);
    // The interval one step moves in: scales 0-4 minutes "n", 5-9 hours "h", 10-14 days "d", 15 months
    // "m"; empty outside 0-15.
    [[nodiscard]] static QString stepInterval(int scale);
    // The signed amount of stepInterval() that `steps` steps move the time line.
    [[nodiscard]] static int stepAmount(int steps, bool backward);
    // The day a whole-day step leads to: one day from the board's date, whatever the number of steps.
    [[nodiscard]] static TimePoint wholeDayTarget(TimePoint actDate, bool backward);
    // The time point a jump to a day shows first: the start of the weekday's first working period less
    // the lead-in, or midnight when the day has no working period that starts after midnight.
    [[nodiscard]] static TimePoint jumpTarget(TimePoint date, const ChartSettings& settings);
};
