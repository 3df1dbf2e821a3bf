#include "GridCellFormat.h"

#include "app/PatternText.h"
#include "app/TimePoint.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <QTime>
#include <array>

namespace {
// A long export meets a few thousand dates at the most; this only bounds a pathological table.
constexpr qsizetype largestCache = 200000;

using ValueKind = GridCellFormat::ValueKind;

const QStringList dateNames = {QStringLiteral("Short Date"), QStringLiteral("Medium Date"),
                               QStringLiteral("Long Date"), QStringLiteral("General Date")};
const QStringList timeNames = {QStringLiteral("Short Time"), QStringLiteral("Long Time"),
                               QStringLiteral("General Date")};

// A letter of Qt's date and time patterns and the run lengths that are patterns (bit n: n letters).
struct PatternLetter {
    char letter;
    ValueKind kind;
    unsigned runs;
};

constexpr std::array<PatternLetter, 8> patternLetters = {{
    {'d', ValueKind::Date, 0b11110},
    {'M', ValueKind::Date, 0b11110},
    {'y', ValueKind::Date, 0b10100},
    {'h', ValueKind::Time, 0b110},
    {'H', ValueKind::Time, 0b110},
    {'m', ValueKind::Time, 0b110},
    {'s', ValueKind::Time, 0b110},
    {'z', ValueKind::Time, 0b1010},
}};

const PatternLetter* patternLetter(QChar c) {
    for (const PatternLetter& letter : patternLetters) {
        if (c == QLatin1Char(letter.letter))
            return &letter;
    }
    return nullptr;
}

QString wrongKind(QChar letter, ValueKind kind) {
    return kind == ValueKind::Date
               ? QStringLiteral("\"%1\" stands for a time; a date column shows the day d, the month M and "
                                "the year yy or yyyy.")
                     .arg(letter)
               : QStringLiteral("\"%1\" stands for a date; a time column shows the hour h or H, the minute "
                                "m and the second s.")
                     .arg(letter);
}

// The problem of a Qt pattern for dates or times, or empty.
QString patternProblem(const QString& pattern, ValueKind kind) {
    bool showsValue = false;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // Two quotes stand for one; text between quotes is copied as it stands.
            const qsizetype close = pattern.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0)
                return QStringLiteral("a quotation mark is not closed.");
            i = close + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        if (const PatternLetter* letter = patternLetter(c)) {
            if (letter->kind != kind)
                return wrongKind(c, kind);
            if (run >= 32 || !((letter->runs >> run) & 1u))
                return QStringLiteral("%1 letters %2 in a row are no pattern.").arg(run).arg(c);
            showsValue = true;
        }
        i += run;
    }
    if (!showsValue)
        return kind == ValueKind::Date ? QStringLiteral("it shows no part of the date.")
                                       : QStringLiteral("it shows no part of the time.");
    return {};
}

QString dateText(const QDate& date, const QString& format) {
    const TimePoint point = TimePoint::fromDate(date);
    if (format.isEmpty() || format == QLatin1String("Short Date") || format == QLatin1String("General Date"))
        return point.shortDate();
    if (format == QLatin1String("Medium Date"))
        return point.mediumDate();
    if (format == QLatin1String("Long Date"))
        return QLocale().toString(date, QLocale::LongFormat);
    return QLocale().toString(date, format);
}

QString timeText(const QTime& time, const QString& format) {
    const TimePoint point = TimePoint::fromTimeOfDay(time.hour(), time.minute(), time.second());
    if (format.isEmpty() || format == QLatin1String("General Date") || format == QLatin1String("Long Time"))
        return point.generalTime();
    if (format == QLatin1String("Short Time"))
        return point.shortTime();
    return QLocale().toString(time, format);
}
} // namespace

QString GridCellFormat::problem(const QString& numberFormat, ValueKind kind) {
    if (const QString text = patternTextProblem(numberFormat, maxFormatLength); !text.isEmpty())
        return text;
    if (kind == ValueKind::Text || numberFormat.isEmpty())
        return {};
    const bool isDate = kind == ValueKind::Date;
    if ((isDate ? dateNames : timeNames).contains(numberFormat))
        return {};
    if ((isDate ? timeNames : dateNames).contains(numberFormat))
        return isDate ? QStringLiteral("it is a format for times, and the column shows dates.")
                      : QStringLiteral("it is a format for dates, and the column shows times.");
    return patternProblem(numberFormat, kind);
}

QString GridCellFormat::text(const QVariant& value, const QString& numberFormat) const {
    const int type = value.typeId();
    if (type != QMetaType::QDate && type != QMetaType::QTime)
        return value.toString();
    const bool isTime = type == QMetaType::QTime;
    const Key key{numberFormat,
                  isTime ? qint64(value.toTime().msecsSinceStartOfDay()) : value.toDate().toJulianDay(),
                  isTime};
    const auto known = m_texts.constFind(key);
    if (known != m_texts.constEnd())
        return *known;
    if (m_texts.size() >= largestCache)
        m_texts.clear();
    const QString made = formatted(value, numberFormat);
    m_texts.insert(key, made);
    return made;
}

QString GridCellFormat::defaultText(const QVariant& value) const {
    return text(value, QString());
}

void GridCellFormat::clear() {
    m_texts.clear();
}

QString GridCellFormat::formatted(const QVariant& value, const QString& numberFormat) const {
    if (value.typeId() == QMetaType::QTime)
        return value.toTime().isValid() ? timeText(value.toTime(), numberFormat) : QString();
    return value.toDate().isValid() ? dateText(value.toDate(), numberFormat) : QString();
}
