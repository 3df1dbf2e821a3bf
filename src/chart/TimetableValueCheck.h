#pragma once

#include "SqliteConnection.h"
#include "app/TimePoint.h"

#include <QString>
#include <QtGlobal>

class GanttContent;
class ChartRow;
class ChartStyle;
class GanttData;
struct ChartSettings;
struct HeadingColumn;

// What a timetable file may hold (docs/timetable-format.md, "Limits"). The reader takes every stored
// value through these checks, so that a value of the wrong type, outside its range or longer than its
// limit refuses the file as damaged (AppError with the reason) before it reaches any arithmetic or
// painting; the writer runs the same checks first, so that the planner never writes a file it would
// refuse.
class TimetableValueCheck {
public:
    // Keys, references to keys and font names.
    static constexpr qsizetype keyBytes = 1024;
    // One-line texts: captions, heading cell texts, picture paths, tags, formats and codes. More than
    // a one-line input field holds (32,767 characters of at most 3 bytes each).
    static constexpr qsizetype lineBytes = 128 * 1024;
    // Multi-line texts: item texts, add-on data, the free text of a style.
    static constexpr qsizetype textBytes = 16 * 1024 * 1024;
    // Row heights, column widths, indents and distances.
    static constexpr int maximumPixels = 10000;
    static constexpr int maximumHeadingColumns = 4096;
    static constexpr double maximumFontSize = 1000;
    // Units of the lead-in before a day's first working period.
    static constexpr int maximumLeadIn = 100000;

    enum class Text { Key, Line, Long };

    // Single stored values: the column must have the type, and the value its form.
    // TEXT of at most textBytes; the object checks below apply the limit of the text's kind.
    [[nodiscard]] static QString text(const SqliteConnection::Statement& row, int column, const char* what);
    // TEXT of at most keyBytes, checked before any key goes into a collection or a message.
    [[nodiscard]] static QString key(const SqliteConnection::Statement& row, int column, const char* what);
    // TEXT of at most `limit` bytes (textBytes or keyBytes), as the bytes SQLite holds until the next step.
    [[nodiscard]] static QByteArrayView utf8(const SqliteConnection::Statement& row, int column,
                                             qsizetype limit, const char* what);
    // INTEGER within the int range.
    [[nodiscard]] static int integer(const SqliteConnection::Statement& row, int column, const char* what);
    // INTEGER 0 or 1.
    [[nodiscard]] static bool flag(const SqliteConnection::Statement& row, int column, const char* what);
    // INTEGER of at most 32 bits.
    [[nodiscard]] static quint32 colour(const SqliteConnection::Statement& row, int column, const char* what);
    // INTEGER within the range of time points.
    [[nodiscard]] static TimePoint time(const SqliteConnection::Statement& row, int column, const char* what);
    // REAL or INTEGER with a finite value.
    [[nodiscard]] static double real(const SqliteConnection::Statement& row, int column, const char* what);

    // The same for a setting, from its SQLite type and value.
    static void checkType(bool matches, const QString& what);
    static void checkRange(qint64 value, qint64 minimum, qint64 maximum, const QString& what);
    static void checkText(const QString& value, Text kind, const QString& what);
    // The same for a text given by the size of its UTF-8 form.
    static void checkTextBytes(qsizetype bytes, Text kind, const QString& what);

    // The ranges and text limits of whole objects, after reading and before writing.
    static void checkRow(const ChartRow& row);
    static void checkColumn(const HeadingColumn& column);
    static void checkStyle(const ChartStyle& style);
    static void checkSettings(const ChartSettings& settings);
    // Everything the chart holds; throws AppError naming the first value that would be refused.
    static void checkForSave(const GanttData& chart);

private:
    static void checkItems(const GanttContent& content);
};
