#include "TimeNavigation.h"

#include "chart/ChartSettings.h"

#include <array>

QString TimeNavigation::scaleCaption(int scale) {
    static const std::array<const char*, scaleCount> captions = {
        "1 hour",    "5 seconds",  "10 seconds", "15 seconds", "30 seconds", "1 minute",
        "5 minutes", "10 minutes", "15 minutes", "30 minutes", "1 hour",     "3 hours",
        "6 hours",   "12 hours",   "1 day",      "1 week"};
    if (scale < 0 || scale >= scaleCount)
        return {};
    return QString::fromLatin1(captions[scale]);
}

QString TimeNavigation::stepInterval(int scale) {
    if (scale >= 0 && scale <= 4)
        return QStringLiteral("n");
    if (scale >= 5 && scale <= 9)
        return QStringLiteral("h");
    if (scale >= 10 && scale <= 14)
        return QStringLiteral("d");
    if (scale == 15)
        return QStringLiteral("m");
    return {};
}

int TimeNavigation::stepAmount(int steps, bool backward) {
    const int amount = steps * unitsPerStep;
    return backward ? -amount : amount;
}

TimePoint TimeNavigation::wholeDayTarget(TimePoint actDate, bool backward) {
    return actDate.addDays(backward ? -1 : 1);
}

TimePoint TimeNavigation::jumpTarget(TimePoint date, const ChartSettings& settings) {
    const TimePoint day = date.datePart();
    const int firstStart = settings.coreTimes[std::size_t(day.weekdayMondayFirst())][0].start;
    if (firstStart <= 0)
        return day;
    return day.addSeconds(firstStart).addInterval(settings.leadInInterval, -settings.leadInAmount);
}
