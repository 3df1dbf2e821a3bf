#include "TimetableValueCheck.h"

#include "GanttData_p.h"
#include "app/AppError.h"

#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <vector>

namespace {
[[noreturn]] void wrongType(const QString& what) {
    throw AppError(QStringLiteral("%1 has a value of the wrong type.").arg(what));
}

qsizetype limitOf(TimetableValueCheck::Text kind) {
    switch (kind) {
    case TimetableValueCheck::Text::Key:
        return TimetableValueCheck::keyBytes;
    case TimetableValueCheck::Text::Line:
        return TimetableValueCheck::lineBytes;
    case TimetableValueCheck::Text::Long:
        break;
    }
    return TimetableValueCheck::textBytes;
}

void checkPixels(int value, const QString& what) {
    TimetableValueCheck::checkRange(value, 0, TimetableValueCheck::maximumPixels, what);
}

void checkFlagValue(int value, const QString& what) {
    TimetableValueCheck::checkRange(value, 0, 1, what);
}

void checkFont(const FontDescription& font, const QString& what) {
    TimetableValueCheck::checkText(font.name, TimetableValueCheck::Text::Key, what + QStringLiteral(" name"));
    if (!std::isfinite(font.size) || font.size < 0 || font.size > TimetableValueCheck::maximumFontSize)
        throw AppError(QStringLiteral("%1 size %2 is out of range (0 to %3).")
                           .arg(what)
                           .arg(font.size)
                           .arg(TimetableValueCheck::maximumFontSize));
}

qint64 storedInteger(const SqliteConnection::Statement& row, int column, qint64 minimum, qint64 maximum,
                     const char* what) {
    if (row.type(column) != SQLITE_INTEGER)
        wrongType(QLatin1String(what));
    const qint64 value = row.integer(column);
    TimetableValueCheck::checkRange(value, minimum, maximum, QLatin1String(what));
    return value;
}

void checkTime(TimePoint time, const QString& what) {
    TimetableValueCheck::checkRange(time.seconds(), TimePoint::minimumSeconds, TimePoint::maximumSeconds,
                                    what);
}
} // namespace

QString TimetableValueCheck::text(const SqliteConnection::Statement& row, int column, const char* what) {
    return QString::fromUtf8(utf8(row, column, textBytes, what));
}

QString TimetableValueCheck::key(const SqliteConnection::Statement& row, int column, const char* what) {
    return QString::fromUtf8(utf8(row, column, keyBytes, what));
}

// A TEXT value is measured before it is converted, so that a huge one costs nothing.
QByteArrayView TimetableValueCheck::utf8(const SqliteConnection::Statement& row, int column, qsizetype limit,
                                         const char* what) {
    if (row.type(column) != SQLITE_TEXT)
        wrongType(QLatin1String(what));
    const QByteArrayView bytes = row.utf8(column);
    if (bytes.size() > limit)
        throw AppError(QStringLiteral("%1 is longer than %2 bytes.").arg(QLatin1String(what)).arg(limit));
    return bytes;
}

int TimetableValueCheck::integer(const SqliteConnection::Statement& row, int column, const char* what) {
    return int(
        storedInteger(row, column, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), what));
}

bool TimetableValueCheck::flag(const SqliteConnection::Statement& row, int column, const char* what) {
    return storedInteger(row, column, 0, 1, what) != 0;
}

quint32 TimetableValueCheck::colour(const SqliteConnection::Statement& row, int column, const char* what) {
    return quint32(storedInteger(row, column, 0, 0xFFFFFFFF, what));
}

TimePoint TimetableValueCheck::time(const SqliteConnection::Statement& row, int column, const char* what) {
    return TimePoint::fromSeconds(
        storedInteger(row, column, TimePoint::minimumSeconds, TimePoint::maximumSeconds, what));
}

double TimetableValueCheck::real(const SqliteConnection::Statement& row, int column, const char* what) {
    const int type = row.type(column);
    if (type != SQLITE_FLOAT && type != SQLITE_INTEGER)
        wrongType(QLatin1String(what));
    const double value = row.real(column);
    if (!std::isfinite(value))
        wrongType(QLatin1String(what));
    return value;
}

void TimetableValueCheck::checkType(bool matches, const QString& what) {
    if (!matches)
        wrongType(what);
}

void TimetableValueCheck::checkRange(qint64 value, qint64 minimum, qint64 maximum, const QString& what) {
    if (value < minimum || value > maximum)
        throw AppError(QStringLiteral("%1 %2 is out of range (%3 to %4).")
                           .arg(what)
                           .arg(value)
                           .arg(minimum)
                           .arg(maximum));
}

void TimetableValueCheck::checkText(const QString& value, Text kind, const QString& what) {
    // A UTF-16 unit takes at most 3 bytes in UTF-8: most texts need no conversion to be measured.
    if (value.size() * 3 > limitOf(kind))
        checkTextBytes(value.toUtf8().size(), kind, what);
}

void TimetableValueCheck::checkTextBytes(qsizetype bytes, Text kind, const QString& what) {
    const qsizetype limit = limitOf(kind);
    if (bytes > limit)
        throw AppError(QStringLiteral("%1 is longer than %2 bytes.").arg(what).arg(limit));
}

void TimetableValueCheck::checkRow(const ChartRow& row) {
    checkText(row.key(), Text::Key, QStringLiteral("the key of a resource"));
    checkText(row.caption, Text::Line, QStringLiteral("the caption of a resource"));
    checkText(row.styleKey, Text::Key, QStringLiteral("the style of a resource"));
    checkText(row.picture, Text::Line, QStringLiteral("the picture of a resource"));
    checkPixels(row.height, QStringLiteral("the row height"));
    for (const ChartRow::Cell& cell : row.cells) {
        checkText(cell.text, Text::Line, QStringLiteral("the text of a heading cell"));
        checkText(cell.styleKey, Text::Key, QStringLiteral("the style of a heading cell"));
    }
}

void TimetableValueCheck::checkColumn(const HeadingColumn& column) {
    checkText(column.caption, Text::Line, QStringLiteral("the caption of a heading column"));
    checkText(column.styleKey, Text::Key, QStringLiteral("the style of a heading column"));
    checkPixels(column.width, QStringLiteral("the column width"));
}

void TimetableValueCheck::checkStyle(const ChartStyle& style) {
    checkText(style.key(), Text::Key, QStringLiteral("the name of a style"));
    if (style.kind != ChartStyle::ItemKind && style.kind != ChartStyle::RowKind)
        throw AppError(QStringLiteral("the style kind %1 is neither 1 nor 5.").arg(style.kind));
    checkFont(style.font, QStringLiteral("the style font"));
    checkFlagValue(style.borderShown, QStringLiteral("the border switch"));
    checkRange(style.borderAppearance, ChartStyle::Raised, ChartStyle::Flat,
               QStringLiteral("the border appearance"));
    checkRange(style.horizontalAlignment, ChartStyle::Left, ChartStyle::Right,
               QStringLiteral("the alignment"));
    checkRange(style.verticalAlignment, ChartStyle::Top, ChartStyle::Bottom, QStringLiteral("the alignment"));
    checkPixels(style.focusDistanceX, QStringLiteral("the focus distance"));
    checkPixels(style.focusDistanceY, QStringLiteral("the focus distance"));
    checkPixels(style.captionIndent, QStringLiteral("the caption indent"));
    checkText(style.freeText, Text::Long, QStringLiteral("the free text of a style"));
}

void TimetableValueCheck::checkItems(const GanttContent& c) {
    // Items share their texts: each text is measured once for each limit it is held to.
    std::vector<quint8> measured(std::size_t(c.texts.count()));
    const auto checkShared = [&](quint32 number, Text kind, const char* what) {
        const quint8 bit = quint8(1u << unsigned(kind));
        if (measured[number] & bit)
            return;
        if (const std::optional<QByteArrayView> packed = c.texts.packedUtf8(number))
            checkTextBytes(packed->size(), kind, QLatin1String(what));
        else
            checkText(c.texts.at(number), kind, QLatin1String(what));
        measured[number] |= bit;
    };
    for (const ChartItem* item : c.itemSlots) {
        if (item == nullptr)
            continue;
        // A GUID key has a length of its own; the resource key is its row's, checked with the row.
        const ItemKey& key = c.keyOf(*item);
        if (!key.isGuid())
            checkShared(key.textNumber(), Text::Key, "the key of an item");
        checkTime(item->start(), QStringLiteral("the start of an item"));
        checkTime(item->end(), QStringLiteral("the end of an item"));
        const GanttContent::ItemTexts texts = c.itemTexts(*item);
        checkShared(texts.caption, Text::Line, "the caption of an item");
        checkShared(texts.text, Text::Long, "the text of an item");
        checkShared(texts.styleKey, Text::Key, "the style of an item");
        checkShared(texts.rare[0], Text::Line, "the picture of an item");
        checkShared(texts.rare[1], Text::Long, "the add-on data of an item");
        checkShared(texts.seriesKey, Text::Key, "the series of an item");
        checkRange(texts.movementLock, 0, 2, QStringLiteral("the movement lock"));
        checkShared(texts.rare[2], Text::Line, "the add tag of an item");
        checkShared(texts.rare[3], Text::Line, "the tag of an item");
    }
}

void TimetableValueCheck::checkSettings(const ChartSettings& s) {
    if (s.scale < 0 || s.scale >= ChartSettings::zoomLevels)
        throw AppError(QStringLiteral("the scale %1 is out of range.").arg(s.scale));
    for (const auto& day : s.coreTimes) {
        for (const CoreTimePeriod& period : day) {
            if (period.start < 0 || period.start > TimePoint::secondsPerDay || period.end < 0 ||
                period.end > TimePoint::secondsPerDay)
                throw AppError(QStringLiteral("a working period lies outside its day."));
        }
    }
    checkText(s.gridInterval, Text::Line, QStringLiteral("the grid interval"));
    checkRange(s.leadInAmount, -maximumLeadIn, maximumLeadIn, QStringLiteral("the lead-in"));
    checkText(s.leadInInterval, Text::Line, QStringLiteral("the lead-in interval"));
    checkTime(s.firstShownTime, QStringLiteral("the first shown time"));
    checkRange(s.firstShownRow, 0, std::numeric_limits<int>::max(), QStringLiteral("the first shown row"));
    checkText(s.defaultItemStyle, Text::Key, QStringLiteral("the default item style"));
    for (const int line : {s.borderStyle, s.timelineStyle, s.dividerStyle})
        checkRange(line, ChartSettings::NoLine, ChartSettings::Line3D, QStringLiteral("the line style"));
    checkRange(s.timelineExtent, ChartSettings::TimelineHead, ChartSettings::TimelineBoth,
               QStringLiteral("the time line extent"));
    for (const auto& zoom : s.bandCaptionFormats) {
        for (const QString& format : zoom)
            checkText(format, Text::Line, QStringLiteral("a caption format"));
    }
    checkText(s.timeCaptionFormat, Text::Line, QStringLiteral("the time caption format"));
    checkFont(s.upperBandFont, QStringLiteral("the upper band font"));
    checkFont(s.lowerBandFont, QStringLiteral("the lower band font"));
    checkPixels(s.defaultRowHeight, QStringLiteral("the default row height"));
    checkPixels(s.headingWidth, QStringLiteral("the heading width"));
}

void TimetableValueCheck::checkForSave(const GanttData& chart) {
    for (int position = 1; position <= chart.rows().count(); ++position)
        checkRow(*chart.rows().byPosition(position));
    const int columns = chart.headingColumns().count();
    checkRange(columns, 0, maximumHeadingColumns, QStringLiteral("the number of heading columns"));
    for (int position = 1; position <= columns; ++position)
        checkColumn(*chart.headingColumns().byPosition(position));
    for (int position = 1; position <= chart.styles().count(); ++position)
        checkStyle(*chart.styles().byPosition(position));
    checkItems(chart.d->c);
    checkSettings(chart.settings());
}
