#include "TimeUnit.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

TimeUnit TimeUnit::fromCode(const QString& code) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+)\\s*([snhdSNHD])\\s*$"));
    const QRegularExpressionMatch match = pattern.match(code);
    if (!match.hasMatch())
        return {};
    const int amount = match.captured(1).toInt();
    if (amount <= 0)
        return {};
    switch (match.captured(2).toLower().at(0).toLatin1()) {
    case 's':
        return {Kind::Second, amount};
    case 'n':
        return {Kind::Minute, amount};
    case 'h':
        return {Kind::Hour, amount};
    default:
        return {Kind::Day, amount};
    }
}

std::int64_t TimeUnit::seconds() const {
    switch (m_kind) {
    case Kind::Second:
        return m_amount;
    case Kind::Minute:
        return std::int64_t(m_amount) * 60;
    case Kind::Hour:
        return std::int64_t(m_amount) * 3600;
    case Kind::Day:
        return std::int64_t(m_amount) * TimePoint::secondsPerDay;
    case Kind::Week:
        return std::int64_t(m_amount) * 7 * TimePoint::secondsPerDay;
    case Kind::Month:
        return std::int64_t(m_amount) * 28 * TimePoint::secondsPerDay;
    case Kind::Quarter:
        return std::int64_t(m_amount) * 90 * TimePoint::secondsPerDay;
    case Kind::Year:
        return std::int64_t(m_amount) * 365 * TimePoint::secondsPerDay;
    }
    return 1;
}

TimePoint TimeUnit::floor(TimePoint t) const {
    switch (m_kind) {
    case Kind::Second:
    case Kind::Minute:
    case Kind::Hour:
    case Kind::Day: {
        // Day 0 starts at midnight, so multiples of the length counted from it fall on whole minutes,
        // hours and days.
        const std::int64_t length = seconds();
        return TimePoint::fromSeconds(floorDiv(t.seconds(), length) * length);
    }
    case Kind::Week: {
        // Day 0 is a Saturday, so day 2 is the Monday that weeks are counted from.
        const std::int64_t length = 7 * std::int64_t(m_amount);
        return TimePoint::fromSeconds((floorDiv(t.dayNumber() - 2, length) * length + 2) *
                                      TimePoint::secondsPerDay);
    }
    case Kind::Month:
    case Kind::Quarter:
    case Kind::Year: {
        const QDate date = t.date();
        const std::int64_t months = m_kind == Kind::Month     ? m_amount
                                    : m_kind == Kind::Quarter ? 3 * std::int64_t(m_amount)
                                                              : 12 * std::int64_t(m_amount);
        const std::int64_t monthIndex = date.year() * 12 + date.month() - 1;
        const std::int64_t first = std::max(floorDiv(monthIndex, months) * months, std::int64_t(12));
        return TimePoint::fromDate(QDate(int(first / 12), int(first % 12) + 1, 1));
    }
    }
    return t;
}

TimePoint TimeUnit::next(TimePoint cellStart) const {
    switch (m_kind) {
    case Kind::Month:
        return cellStart.addMonths(m_amount);
    case Kind::Quarter:
        return cellStart.addMonths(3 * std::int64_t(m_amount));
    case Kind::Year:
        return cellStart.addMonths(12 * std::int64_t(m_amount));
    default:
        return cellStart.addSeconds(seconds());
    }
}

TimePoint TimeUnit::round(TimePoint t) const {
    const TimePoint before = floor(t);
    const TimePoint after = next(before);
    return (t - before) * 2 < (after - before) ? before : after;
}
