#include "GridCellFormat.h"

#include "app/TimePoint.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace {
// A long export meets a few thousand dates at the most; this only bounds a pathological table.
constexpr qsizetype largestCache = 200000;

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
