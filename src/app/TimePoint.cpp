#include "TimePoint.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Day 0, 1899-12-30, as a Julian day number: a constant, so that time points made during static
// initialisation of other files are right too.
constexpr qint64 epochJulianDay = 2415019;

// Far beyond the range on either side, yet small enough that day counts of this size times the
// seconds of a day cannot overflow.
constexpr std::int64_t dayLimit = std::int64_t(1) << 40;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// a * b, held at the int64 limits instead of overflowing.
std::int64_t saturatedProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                              : std::numeric_limits<std::int64_t>::max();
}

std::int64_t saturatedSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

std::int64_t secondsOfDay(std::int64_t julianDay) {
    return std::clamp<std::int64_t>(julianDay - epochJulianDay, -dayLimit, dayLimit) *
           TimePoint::secondsPerDay;
}
} // namespace

TimePoint TimePoint::fromDate(const QDate& date) {
    if (!date.isValid())
        return {};
    return fromSeconds(secondsOfDay(date.toJulianDay()));
}

TimePoint TimePoint::fromDateTime(const QDate& date, const QTime& time) {
    if (!date.isValid())
        return {};
    return fromSeconds(secondsOfDay(date.toJulianDay()) +
                       (time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0));
}

TimePoint TimePoint::fromDateTime(const QDateTime& dateTime) {
    return fromDateTime(dateTime.date(), dateTime.time());
}

TimePoint TimePoint::fromDays(double days) {
    if (std::isnan(days))
        return {};
    const double seconds = std::clamp(days * secondsPerDay, double(minimumSeconds), double(maximumSeconds));
    return fromSeconds(std::int64_t(std::llround(seconds)));
}

TimePoint TimePoint::fromTimeOfDay(int hours, int minutes, int seconds) {
    return fromSeconds(std::int64_t(hours) * 3600 + std::int64_t(minutes) * 60 + seconds);
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

TimePoint TimePoint::addSeconds(std::int64_t s) const {
    return fromSeconds(saturatedSum(m_seconds, s));
}

TimePoint TimePoint::addDays(std::int64_t d) const {
    return fromSeconds(saturatedSum(m_seconds, saturatedProduct(d, secondsPerDay)));
}

TimePoint TimePoint::addMonths(std::int64_t months) const {
    // More months than the range holds lead to its edge; fewer stay well within what QDate can count.
    constexpr std::int64_t rangeMonths = 12 * 10'000;
    if (months > rangeMonths)
        return maximum();
    if (months < -rangeMonths)
        return minimum();
    // QDate::addMonths clamps to the last day of the target month.
    return fromDateTime(date().addMonths(int(months)), time());
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
        return addSeconds(saturatedProduct(amount, 60));
    if (u == "h")
        return addSeconds(saturatedProduct(amount, 3600));
    if (u == "d")
        return addDays(amount);
    if (u == "ww")
        return addDays(saturatedProduct(amount, 7));
    if (u == "m")
        return addMonths(amount);
    if (u == "q")
        return addMonths(saturatedProduct(amount, 3));
    if (u == "yyyy" || u == "y")
        return addMonths(saturatedProduct(amount, 12));
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

QString TimePoint::shortTimeFormat(const QLocale& locale) {
    static const QRegularExpression seconds(QStringLiteral("[^A-Za-z' ]?s+"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds);
}

QString TimePoint::shortTime(const QLocale& locale) const {
    return locale.toString(time(), shortTimeFormat(locale));
}

QString TimePoint::mediumDate(const QLocale& locale) const {
    return locale.toString(date(), "dd-MMM-yyyy");
}

QString TimePoint::generalDate(const QLocale& locale) const {
    return shortDate(locale) + ' ' + generalTime(locale);
}

QString TimePoint::generalTime(const QLocale& locale) const {
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains('s'))
        timeFormat.replace("mm", "mm:ss");
    return locale.toString(time(), timeFormat);
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
