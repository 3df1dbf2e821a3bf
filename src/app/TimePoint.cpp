#include "TimePoint.h"

#include <cmath>

namespace {
// Day 0, 1899-12-30, as a Julian day number: a constant, so that time points made during static
// initialisation of other files are right too.
constexpr qint64 epochJulianDay = 2415019;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

TimePoint TimePoint::fromDate(const QDate& date) {
    return TimePoint((date.toJulianDay() - epochJulianDay) * secondsPerDay);
}

TimePoint TimePoint::fromDateTime(const QDate& date, const QTime& time) {
    return TimePoint((date.toJulianDay() - epochJulianDay) * secondsPerDay +
                     (time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0));
}

TimePoint TimePoint::fromDateTime(const QDateTime& dateTime) {
    return fromDateTime(dateTime.date(), dateTime.time());
}

TimePoint TimePoint::fromDays(double days) {
    return TimePoint(std::int64_t(std::llround(days * secondsPerDay)));
}

TimePoint TimePoint::fromTimeOfDay(int hours, int minutes, int seconds) {
    return TimePoint(std::int64_t(hours) * 3600 + minutes * 60 + seconds);
}

TimePoint TimePoint::now() {
    return fromDateTime(QDateTime::currentDateTime());
}

TimePoint TimePoint::today() {
    return fromDate(QDate::currentDate());
}

std::int64_t TimePoint::dayNumber() const {
    return floorDiv(m_seconds, secondsPerDay);
}

TimePoint TimePoint::datePart() const {
    return TimePoint(dayNumber() * secondsPerDay);
}

QDate TimePoint::date() const {
    return QDate::fromJulianDay(epochJulianDay + dayNumber());
}

QTime TimePoint::time() const {
    return QTime::fromMSecsSinceStartOfDay(secondOfDay() * 1000);
}

QDateTime TimePoint::toDateTime() const {
    return QDateTime(date(), time());
}

int TimePoint::weekdayMondayFirst() const {
    return date().dayOfWeek() - 1;
}

TimePoint TimePoint::addMonths(int months) const {
    // QDate::addMonths clamps to the last day of the target month.
    return fromDateTime(date().addMonths(months), time());
}

bool TimePoint::isIntervalCode(const QString& unit) {
    static const QStringList codes{"s", "n", "h", "d", "ww", "m", "q", "yyyy", "y"};
    return codes.contains(unit.toLower());
}

TimePoint TimePoint::addInterval(const QString& unit, std::int64_t amount) const {
    const QString u = unit.toLower();
    if (u == "s")
        return addSeconds(amount);
    if (u == "n")
        return addSeconds(amount * 60);
    if (u == "h")
        return addSeconds(amount * 3600);
    if (u == "d")
        return addDays(amount);
    if (u == "ww")
        return addDays(amount * 7);
    if (u == "m")
        return addMonths(int(amount));
    if (u == "q")
        return addMonths(int(amount * 3));
    if (u == "yyyy" || u == "y")
        return addMonths(int(amount * 12));
    return *this;
}

QString TimePoint::shortDateFormat(const QLocale& locale) {
    // Two-digit years would be read back in the wrong century for dates outside 1930-2029.
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains("yyyy"))
        format.replace("yy", "yyyy");
    return format;
}

QString TimePoint::shortDate(const QLocale& locale) const {
    return locale.toString(date(), shortDateFormat(locale));
}

QString TimePoint::shortTime(const QLocale& locale) const {
    return locale.toString(time(), QLocale::ShortFormat);
}

QString TimePoint::mediumDate(const QLocale& locale) const {
    return locale.toString(date(), "dd-MMM-yyyy");
}

QString TimePoint::generalDate(const QLocale& locale) const {
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains('s'))
        timeFormat.replace("mm", "mm:ss");
    return shortDate(locale) + ' ' + locale.toString(time(), timeFormat);
}

QString TimePoint::isoText() const {
    return date().toString("yyyy-MM-dd") + ' ' + time().toString("hh:mm:ss");
}

bool TimePoint::parseIso(const QString& text, TimePoint* out) {
    // Date and time are parsed apart: a combined QDateTime would refuse local times skipped by DST.
    const QStringList parts = text.trimmed().split(' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2)
        return false;
    const QDate day = QDate::fromString(parts[0], "yyyy-MM-dd");
    const QTime time = parts.size() == 2 ? QTime::fromString(parts[1], "hh:mm:ss") : QTime(0, 0);
    if (!day.isValid() || !time.isValid())
        return false;
    *out = fromDateTime(day, time);
    return true;
}
