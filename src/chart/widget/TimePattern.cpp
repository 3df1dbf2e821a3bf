#include "TimePattern.h"

#include "app/PatternText.h"

#include <algorithm>

namespace {
QString twoDigits(int value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

// The longest token of a letter; longer runs are split into several tokens.
int longestToken(QChar letter) {
    switch (letter.toLatin1()) {
    case 'd':
        return 6;
    case 'm':
    case 'y':
        return 4;
    case 'h':
    case 'n':
    case 's':
    case 'w':
        return 2;
    case 'q':
        return 1;
    default:
        return 0;
    }
}

QString token(QChar letter, int length, TimePoint t, const QLocale& locale) {
    const QDate date = t.date();
    const QTime time = t.time();
    switch (letter.toLatin1()) {
    case 'd':
        switch (length) {
        case 1:
            return QString::number(date.day());
        case 2:
            return twoDigits(date.day());
        case 3:
            return locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        case 4:
            return locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
        case 5:
            return locale.toString(date, QLocale::ShortFormat);
        default:
            return locale.toString(date, QLocale::LongFormat);
        }
    case 'm':
        switch (length) {
        case 1:
            return QString::number(date.month());
        case 2:
            return twoDigits(date.month());
        case 3:
            return locale.monthName(date.month(), QLocale::ShortFormat);
        default:
            return locale.monthName(date.month(), QLocale::LongFormat);
        }
    case 'y':
        if (length == 1)
            return QString::number(date.dayOfYear());
        if (length < 4)
            return twoDigits(date.year() % 100);
        return QString::number(date.year());
    case 'q':
        return QString::number((date.month() - 1) / 3 + 1);
    case 'h':
        return length == 1 ? QString::number(time.hour()) : twoDigits(time.hour());
    case 'n':
        return length == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
    case 's':
        return length == 1 ? QString::number(time.second()) : twoDigits(time.second());
    default: // 'w'
        if (length == 1)
            return QString::number(date.dayOfWeek() % 7 + 1);
        return QString::number(date.weekNumber());
    }
}
} // namespace

QString TimePattern::problem(const QString& pattern) {
    if (const QString text = patternTextProblem(pattern, maxLength); !text.isEmpty())
        return text;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                return QStringLiteral("a quotation mark is not closed.");
            i = close + 1;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 == pattern.size())
                return QStringLiteral("it ends with a backslash.");
            i += 2;
            continue;
        }
        const QChar letter = c.toLower();
        const int longest = longestToken(letter);
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toLower() == letter)
            ++run;
        if (longest > 0 && run > longest)
            return QStringLiteral("%1 letters %2 in a row are no pattern (at most %3).")
                .arg(run)
                .arg(letter)
                .arg(longest);
        i += run;
    }
    return {};
}

QString TimePattern::format(const QString& pattern, TimePoint t, const QLocale& locale) {
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 < pattern.size())
                out += pattern.at(i + 1);
            i += 2;
            continue;
        }
        const QChar letter = c.toLower();
        const int longest = longestToken(letter);
        if (longest == 0) {
            out += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && run < longest && pattern.at(i + run).toLower() == letter)
            ++run;
        out += token(letter, int(run), t, locale);
        i += run;
    }
    return out;
}
