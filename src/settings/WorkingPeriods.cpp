#include "WorkingPeriods.h"

#include "app/ui/bsInput.h"

#include <QLocale>
#include <QTime>
#include <algorithm>
#include <vector>

namespace {
const std::array<const char*, ChartSettings::weekdays> weekdayNames = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString spanText(const CoreTimePeriod& period) {
    return workingTimeText(period.start) + QStringLiteral(" - ") + workingTimeText(period.end);
}

std::optional<WorkingPeriodProblem>
checkDay(int weekday, const std::array<CoreTimePeriod, ChartSettings::coreTimePeriods>& day) {
    const QString name = workingWeekdayName(weekday);
    std::vector<int> spans;
    for (int period = 0; period < int(day.size()); ++period) {
        const CoreTimePeriod& entry = day[std::size_t(period)];
        if (entry.end == 0)
            continue;
        if (entry.end <= entry.start)
            return WorkingPeriodProblem{
                weekday, period,
                QStringLiteral("The working period %1 on %2 does not end after it starts.")
                    .arg(spanText(entry), name)};
        spans.push_back(period);
    }
    std::sort(spans.begin(), spans.end(),
              [&](int a, int b) { return day[std::size_t(a)].start < day[std::size_t(b)].start; });
    for (std::size_t i = 1; i < spans.size(); ++i) {
        const CoreTimePeriod& earlier = day[std::size_t(spans[i - 1])];
        const CoreTimePeriod& later = day[std::size_t(spans[i])];
        if (later.start < earlier.end)
            return WorkingPeriodProblem{weekday, std::max(spans[i - 1], spans[i]),
                                        QStringLiteral("The working periods %1 and %2 on %3 overlap.")
                                            .arg(spanText(earlier), spanText(later), name)};
    }
    return std::nullopt;
}
} // namespace

std::optional<WorkingPeriodProblem> checkWorkingPeriods(const ChartSettings::CoreTimeTable& table) {
    for (int weekday = 0; weekday < int(table.size()); ++weekday) {
        if (auto problem = checkDay(weekday, table[std::size_t(weekday)]))
            return problem;
    }
    return std::nullopt;
}

QString workingWeekdayName(int weekday) {
    return weekday >= 0 && weekday < int(weekdayNames.size())
               ? QString::fromLatin1(weekdayNames[std::size_t(weekday)])
               : QString();
}

QString workingTimeText(int seconds) {
    return FieldTimeText(QTime::fromMSecsSinceStartOfDay(seconds * 1000));
}
