#pragma once

#include "app/TimePoint.h"

#include <QString>
#include <cstdint>

// A step of the time bands or of the grid: an amount of one calendar unit. Cells of a unit are
// aligned to the calendar: minutes to the hour, hours to midnight, weeks to Monday, months to the
// first, quarters to January, April, July and October.
class TimeUnit {
public:
    enum class Kind { Second, Minute, Hour, Day, Week, Month, Quarter, Year };

    constexpr TimeUnit() = default;
    constexpr TimeUnit(Kind kind, int amount)
        : m_kind(kind)
        , m_amount(amount > 0 ? amount : 1) {}
    // A grid interval code such as "15n", "2h", "1d": a number followed by "s", "n", "h" or "d".
    // Answers an invalid unit for anything else.
    static TimeUnit fromCode(const QString& code);

    [[nodiscard]] constexpr Kind kind() const { return m_kind; }
    [[nodiscard]] constexpr int amount() const { return m_amount; }
    [[nodiscard]] bool isValid() const { return m_amount > 0; }
    // True for the units of fixed length (seconds up to weeks).
    [[nodiscard]] bool isFixed() const { return m_kind <= Kind::Week; }
    // Length in seconds of a fixed unit; months and longer give their shortest length.
    [[nodiscard]] std::int64_t seconds() const;

    // The start of the cell that holds t, and the start of the following cell.
    [[nodiscard]] TimePoint floor(TimePoint t) const;
    [[nodiscard]] TimePoint next(TimePoint cellStart) const;
    // The cell boundary nearest to t; a tie goes to the later boundary.
    [[nodiscard]] TimePoint round(TimePoint t) const;

    constexpr bool operator==(const TimeUnit&) const = default;

private:
    Kind m_kind = Kind::Second;
    int m_amount = 0;
};
