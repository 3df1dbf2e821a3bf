#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <compare>
#include <cstdint>

// A naive wall-clock date and time in whole seconds; day 0 is 1899-12-30. No time zones, no
// daylight-saving shifts: 08:00 stays 08:00 whatever the season.
//
// Every time point lies between 0100-01-01 00:00:00 and 9999-12-31 23:59:59: making one and every
// calculation clamp to that range, so that no arithmetic on time points, nor on their differences
// scaled to pixels, can overflow.
class TimePoint {
public:
    static constexpr std::int64_t secondsPerDay = 86400;
    static constexpr std::int64_t minimumSeconds = -56'802'297'600; // 0100-01-01 00:00:00
    static constexpr std::int64_t maximumSeconds = 255'611'462'399; // 9999-12-31 23:59:59

    constexpr TimePoint() = default;
    static constexpr TimePoint fromSeconds(std::int64_t seconds) { return TimePoint(clamped(seconds)); }
    static constexpr TimePoint minimum() { return TimePoint(minimumSeconds); }
    static constexpr TimePoint maximum() { return TimePoint(maximumSeconds); }
    [[nodiscard]] static constexpr bool inRange(std::int64_t seconds) {
        return seconds >= minimumSeconds && seconds <= maximumSeconds;
    }
    // An invalid date gives day 0.
    static TimePoint fromDate(const QDate& date);
    static TimePoint fromDateTime(const QDate& date, const QTime& time);
    static TimePoint fromDateTime(const QDateTime& dateTime);
    // Days with the time of day as the fraction, as day counts are written in calculations.
    static TimePoint fromDays(double days);
    static TimePoint fromTimeOfDay(int hours, int minutes, int seconds = 0);
    static TimePoint now();
    static TimePoint today();

    [[nodiscard]] constexpr std::int64_t seconds() const { return m_seconds; }
    [[nodiscard]] double days() const { return double(m_seconds) / secondsPerDay; }

    // The whole day (time cut away) and the time of day alone (date cut away).
    [[nodiscard]] TimePoint datePart() const;
    [[nodiscard]] TimePoint timePart() const { return TimePoint(m_seconds - datePart().m_seconds); }
    [[nodiscard]] std::int64_t dayNumber() const;
    [[nodiscard]] int secondOfDay() const { return int(m_seconds - dayNumber() * secondsPerDay); }

    [[nodiscard]] QDate date() const;
    [[nodiscard]] QTime time() const;
    [[nodiscard]] QDateTime toDateTime() const;

    // Monday = 0 ... Sunday = 6.
    [[nodiscard]] int weekdayMondayFirst() const;

    // Calendar arithmetic by unit code: "s", "n", "h", "d", "ww", "m", "q", and "yyyy" or "y" for years
    // (any letter case).
    // Month, quarter and year steps clamp the day to the last day of the target month.
    [[nodiscard]] TimePoint addInterval(const QString& unit, std::int64_t amount) const;
    [[nodiscard]] TimePoint addSeconds(std::int64_t s) const;
    [[nodiscard]] TimePoint addDays(std::int64_t d) const;
    [[nodiscard]] TimePoint addMonths(std::int64_t months) const;
    static bool isIntervalCode(const QString& unit);

    // Display forms of the locale: "Short Date", "Short Time", "Medium Date", "General Date". The short
    // date always shows the year with four digits.
    static QString shortDateFormat(const QLocale& locale = QLocale());
    // The short time never shows seconds, also where the locale's short form has them.
    static QString shortTimeFormat(const QLocale& locale = QLocale());
    [[nodiscard]] QString shortDate(const QLocale& locale = QLocale()) const;
    [[nodiscard]] QString shortTime(const QLocale& locale = QLocale()) const;
    [[nodiscard]] QString mediumDate(const QLocale& locale = QLocale()) const;
    [[nodiscard]] QString generalDate(const QLocale& locale = QLocale()) const;
    // The time of day of the general date: the short time with seconds.
    [[nodiscard]] QString generalTime(const QLocale& locale = QLocale()) const;
    // Machine form "YYYY-MM-DD hh:mm:ss", locale-independent.
    [[nodiscard]] QString isoText() const;
    static bool parseIso(const QString& text, TimePoint* out);

    constexpr auto operator<=>(const TimePoint&) const = default;
    constexpr std::int64_t operator-(const TimePoint& other) const { return m_seconds - other.m_seconds; }

private:
    static constexpr std::int64_t clamped(std::int64_t seconds) {
        return seconds < minimumSeconds   ? minimumSeconds
               : seconds > maximumSeconds ? maximumSeconds
                                          : seconds;
    }
    constexpr explicit TimePoint(std::int64_t seconds)
        : m_seconds(seconds) {}
    std::int64_t m_seconds = 0;
};
