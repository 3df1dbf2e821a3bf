#pragma once

#include "app/TimePoint.h"

#include <QLocale>
#include <QString>

// Formats a time point by a caption pattern, letters in any case: d dd (day), ddd dddd (weekday
// name), ddddd dddddd (short and long date), m mm (month), mmm mmmm (month name), yy yyyy (year),
// y (day of the year), q (quarter), h hh (hour), n nn (minute), s ss (second), w (weekday, Sunday 1),
// ww (week of the year). "m" is always the month: minutes are "n". Text in double quotes and a
// character after a backslash are copied as they stand; any other character is copied too.
class TimePattern {
public:
    [[nodiscard]] static QString format(const QString& pattern, TimePoint t,
                                        const QLocale& locale = QLocale());

    // Why a pattern cannot be used as a caption, in words that complete "The format cannot be used:",
    // or empty when it can. Refused are patterns longer than maxLength, an unclosed quote, a backslash
    // at the end, control characters, and a run of one letter longer than its longest pattern, which
    // format() could only split arbitrarily.
    [[nodiscard]] static QString problem(const QString& pattern);
    static constexpr int maxLength = 80;
};
