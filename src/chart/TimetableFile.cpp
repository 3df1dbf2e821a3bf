#include "TimetableFile.h"

#include "GanttData.h"
#include "SqliteConnection.h"
#include "TimetableValueCheck.h"
#include "app/AppError.h"
#include "app/bsFileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <type_traits>

namespace {
const char* const schema = R"(
CREATE TABLE rows (position INTEGER PRIMARY KEY, key TEXT NOT NULL, caption TEXT NOT NULL,
    style_key TEXT NOT NULL, picture TEXT NOT NULL, height INTEGER NOT NULL);
CREATE TABLE heading_columns (position INTEGER PRIMARY KEY, caption TEXT NOT NULL, width INTEGER NOT NULL,
    style_key TEXT NOT NULL);
CREATE TABLE heading_cells (row_key TEXT NOT NULL, column_position INTEGER NOT NULL, text TEXT NOT NULL,
    style_key TEXT NOT NULL);
CREATE TABLE styles (position INTEGER PRIMARY KEY, key TEXT NOT NULL, kind INTEGER NOT NULL,
    fixed_item INTEGER NOT NULL, back_color INTEGER NOT NULL, fore_color INTEGER NOT NULL,
    font_name TEXT NOT NULL, font_size REAL NOT NULL, font_bold INTEGER NOT NULL,
    font_italic INTEGER NOT NULL, font_underline INTEGER NOT NULL, font_strikethrough INTEGER NOT NULL,
    border_shown INTEGER NOT NULL, border_appearance INTEGER NOT NULL,
    horizontal_alignment INTEGER NOT NULL, vertical_alignment INTEGER NOT NULL,
    focus_shown INTEGER NOT NULL, focus_distance_x INTEGER NOT NULL, focus_distance_y INTEGER NOT NULL,
    clip_caption INTEGER NOT NULL, caption_indent INTEGER NOT NULL, free_text TEXT NOT NULL);
CREATE TABLE items (position INTEGER PRIMARY KEY, key TEXT NOT NULL, row_key TEXT NOT NULL,
    caption TEXT NOT NULL, text TEXT NOT NULL, start_time INTEGER NOT NULL, end_time INTEGER NOT NULL,
    style_key TEXT NOT NULL, picture TEXT NOT NULL, addon_data TEXT NOT NULL, series_key TEXT NOT NULL,
    movement_lock INTEGER NOT NULL, add_tag TEXT NOT NULL, tag TEXT NOT NULL);
CREATE TABLE settings (name TEXT PRIMARY KEY, value);
)";

// A heading cell beyond this column is ignored when reading: it cannot be a real column.
constexpr int maximumCellColumn = 4096;

void visitFont(const QString& prefix, auto& font, auto&& visit) {
    visit(prefix + QStringLiteral(".name"), font.name);
    visit(prefix + QStringLiteral(".size"), font.size);
    visit(prefix + QStringLiteral(".bold"), font.bold);
    visit(prefix + QStringLiteral(".italic"), font.italic);
    visit(prefix + QStringLiteral(".underline"), font.underline);
    visit(prefix + QStringLiteral(".strikethrough"), font.strikethrough);
}

// Every setting with its name in the file; one list serves writing and reading.
template <typename Settings, typename Visit> void forEachSetting(Settings& s, Visit&& visit) {
    visit(QStringLiteral("scale"), s.scale);
    visit(QStringLiteral("grid_interval"), s.gridInterval);
    visit(QStringLiteral("show_grid"), s.showGrid);
    visit(QStringLiteral("snap_to_grid"), s.snapToGrid);
    visit(QStringLiteral("move_whole_days_only"), s.moveWholeDaysOnly);
    visit(QStringLiteral("mark_core_times"), s.markCoreTimes);
    for (int day = 0; day < ChartSettings::weekdays; ++day) {
        for (int period = 0; period < ChartSettings::coreTimePeriods; ++period) {
            auto& entry = s.coreTimes[std::size_t(day)][std::size_t(period)];
            const QString prefix = QStringLiteral("core_time.%1.%2.").arg(day).arg(period);
            visit(prefix + QStringLiteral("start"), entry.start);
            visit(prefix + QStringLiteral("end"), entry.end);
        }
    }
    visit(QStringLiteral("lead_in_amount"), s.leadInAmount);
    visit(QStringLiteral("lead_in_interval"), s.leadInInterval);
    visit(QStringLiteral("first_shown_time"), s.firstShownTime);
    visit(QStringLiteral("first_shown_row"), s.firstShownRow);
    visit(QStringLiteral("default_item_style"), s.defaultItemStyle);
    visit(QStringLiteral("allow_add"), s.allowAdd);
    visit(QStringLiteral("allow_edit"), s.allowEdit);
    visit(QStringLiteral("allow_row_size"), s.allowRowSize);
    visit(QStringLiteral("allow_row_swap"), s.allowRowSwap);
    visit(QStringLiteral("allow_row_heading_swap"), s.allowRowHeadingSwap);
    visit(QStringLiteral("allow_row_heading_size"), s.allowRowHeadingSize);
    visit(QStringLiteral("allow_fixed_column_size"), s.allowFixedColumnSize);
    visit(QStringLiteral("allow_timeline_scroll"), s.allowTimelineScroll);
    visit(QStringLiteral("detect_conflicts"), s.detectConflicts);
    visit(QStringLiteral("scroll_bars_visible"), s.scrollBarsVisible);
    visit(QStringLiteral("show_upper_band"), s.showUpperBand);
    visit(QStringLiteral("show_lower_band"), s.showLowerBand);
    visit(QStringLiteral("show_timeline"), s.showTimeline);
    visit(QStringLiteral("timeline_back_color"), s.timelineBack);
    visit(QStringLiteral("timeline_fore_color"), s.timelineFore);
    visit(QStringLiteral("background_color"), s.background);
    visit(QStringLiteral("timeline2_color"), s.timeline2);
    visit(QStringLiteral("grid_color"), s.grid);
    visit(QStringLiteral("core_time_start_color"), s.coreTimeStart);
    visit(QStringLiteral("core_time_end_color"), s.coreTimeEnd);
    visit(QStringLiteral("border_style"), s.borderStyle);
    visit(QStringLiteral("timeline_style"), s.timelineStyle);
    visit(QStringLiteral("divider_style"), s.dividerStyle);
    visit(QStringLiteral("timeline_extent"), s.timelineExtent);
    for (int zoom = 0; zoom < ChartSettings::zoomLevels; ++zoom) {
        for (int kind = 1; kind <= ChartSettings::captionKinds; ++kind)
            visit(QStringLiteral("band_caption_format.%1.%2").arg(zoom).arg(kind),
                  s.bandCaptionFormats[std::size_t(zoom)][std::size_t(kind - 1)]);
    }
    visit(QStringLiteral("time_caption_format"), s.timeCaptionFormat);
    visit(QStringLiteral("truncate_captions"), s.truncateCaptions);
    visitFont(QStringLiteral("upper_band_font"), s.upperBandFont, visit);
    visitFont(QStringLiteral("lower_band_font"), s.lowerBandFont, visit);
    for (int kind = 1; kind <= ChartSettings::calendarKinds; ++kind) {
        for (int type = 1; type <= 2; ++type) {
            for (int index = 0; index < ChartSettings::calendarIndexCount(kind); ++index)
                visit(QStringLiteral("calendar_color.%1.%2.%3").arg(kind).arg(type).arg(index),
                      s.calendarColours[std::size_t(kind - 1)][std::size_t(type - 1)][std::size_t(index)]);
        }
    }
    visit(QStringLiteral("default_row_height"), s.defaultRowHeight);
    visit(QStringLiteral("heading_width"), s.headingWidth);
}

qint64 flag(bool value) {
    return value ? 1 : 0;
}

void writeContent(SqliteConnection& db, const GanttData& chart) {
    db.execute(schema);

    SqliteConnection::Statement rows(db.handle(), "INSERT INTO rows VALUES (?, ?, ?, ?, ?, ?)");
    SqliteConnection::Statement cells(db.handle(), "INSERT INTO heading_cells VALUES (?, ?, ?, ?)");
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const ChartRow& row = *chart.rows().byPosition(position);
        rows.bind(1, qint64(position));
        rows.bind(2, row.key());
        rows.bind(3, row.caption);
        rows.bind(4, row.styleKey);
        rows.bind(5, row.picture);
        rows.bind(6, qint64(row.height));
        rows.step();
        rows.reset();
        for (int column = 1; column <= int(row.cells.size()); ++column) {
            const ChartRow::Cell cell = row.cell(column);
            if (cell.text.isEmpty() && cell.styleKey.isEmpty())
                continue;
            cells.bind(1, row.key());
            cells.bind(2, qint64(column));
            cells.bind(3, cell.text);
            cells.bind(4, cell.styleKey);
            cells.step();
            cells.reset();
        }
    }

    SqliteConnection::Statement columns(db.handle(), "INSERT INTO heading_columns VALUES (?, ?, ?, ?)");
    for (int position = 1; position <= chart.headingColumns().count(); ++position) {
        const HeadingColumn& column = *chart.headingColumns().byPosition(position);
        columns.bind(1, qint64(position));
        columns.bind(2, column.caption);
        columns.bind(3, qint64(column.width));
        columns.bind(4, column.styleKey);
        columns.step();
        columns.reset();
    }

    SqliteConnection::Statement styles(db.handle(),
                                       "INSERT INTO styles VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int position = 1; position <= chart.styles().count(); ++position) {
        const ChartStyle& style = *chart.styles().byPosition(position);
        int p = 0;
        styles.bind(++p, qint64(position));
        styles.bind(++p, style.key());
        styles.bind(++p, qint64(style.kind));
        styles.bind(++p, flag(style.fixedItem));
        styles.bind(++p, qint64(style.backColor));
        styles.bind(++p, qint64(style.foreColor));
        styles.bind(++p, style.font.name);
        styles.bind(++p, style.font.size);
        styles.bind(++p, flag(style.font.bold));
        styles.bind(++p, flag(style.font.italic));
        styles.bind(++p, flag(style.font.underline));
        styles.bind(++p, flag(style.font.strikethrough));
        styles.bind(++p, qint64(style.borderShown));
        styles.bind(++p, qint64(style.borderAppearance));
        styles.bind(++p, qint64(style.horizontalAlignment));
        styles.bind(++p, qint64(style.verticalAlignment));
        styles.bind(++p, flag(style.focusShown));
        styles.bind(++p, qint64(style.focusDistanceX));
        styles.bind(++p, qint64(style.focusDistanceY));
        styles.bind(++p, flag(style.clipCaption));
        styles.bind(++p, qint64(style.captionIndent));
        styles.bind(++p, style.freeText);
        styles.step();
        styles.reset();
    }

    SqliteConnection::Statement items(db.handle(),
                                      "INSERT INTO items VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int position = 1; position <= chart.items().count(); ++position) {
        const ChartItem& item = *chart.items().byPosition(position);
        int p = 0;
        items.bind(++p, qint64(position));
        items.bind(++p, item.key());
        items.bind(++p, item.rowKey());
        items.bind(++p, item.caption());
        items.bind(++p, item.text());
        items.bind(++p, qint64(item.start().seconds()));
        items.bind(++p, qint64(item.end().seconds()));
        items.bind(++p, item.styleKey());
        items.bind(++p, item.picture());
        items.bind(++p, item.addOnData());
        items.bind(++p, item.seriesKey());
        items.bind(++p, qint64(item.movementLock()));
        items.bind(++p, item.addTag());
        items.bind(++p, item.tag());
        items.step();
        items.reset();
    }

    SqliteConnection::Statement settings(db.handle(), "INSERT INTO settings VALUES (?, ?)");
    forEachSetting(chart.settings(), [&settings](const QString& name, const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        settings.bind(1, name);
        if constexpr (std::is_same_v<T, bool>)
            settings.bind(2, flag(value));
        else if constexpr (std::is_same_v<T, TimePoint>)
            settings.bind(2, qint64(value.seconds()));
        else if constexpr (std::is_same_v<T, QString> || std::is_same_v<T, double>)
            settings.bind(2, value);
        else
            settings.bind(2, qint64(value));
        settings.step();
        settings.reset();
    });
}

// Every value goes through TimetableValueCheck: the file is refused as damaged rather than read with
// a wrong type or an out-of-range value.
class Reader {
public:
    using Check = TimetableValueCheck;

    Reader(SqliteConnection& db, GanttData& chart)
        : m_db(db)
        , m_chart(chart) {}

    void readAll() {
        m_chart.items().beginBatch();
        readRows();
        readColumns();
        readCells();
        readStyles();
        readItems();
        readSettings();
        m_chart.items().endBatch();
    }

private:
    void readRows() {
        SqliteConnection::Statement s(
            m_db.handle(), "SELECT key, caption, style_key, picture, height FROM rows ORDER BY position");
        while (s.step())
            Check::checkRow(
                m_chart.rows().add(Check::key(s, 0, "a resource key"), Check::text(s, 1, "a caption"),
                                   Check::key(s, 2, "a style key"), Check::text(s, 3, "a picture"),
                                   Check::integer(s, 4, "a row height")));
    }

    void readColumns() {
        SqliteConnection::Statement s(
            m_db.handle(), "SELECT caption, width, style_key FROM heading_columns ORDER BY position");
        while (s.step()) {
            if (m_chart.headingColumns().count() == Check::maximumHeadingColumns)
                throw AppError(QStringLiteral("there are more than %1 heading columns.")
                                   .arg(Check::maximumHeadingColumns));
            Check::checkColumn(m_chart.headingColumns().add(Check::text(s, 0, "a caption"),
                                                            Check::integer(s, 1, "a column width"),
                                                            Check::key(s, 2, "a style key")));
        }
    }

    void readCells() {
        SqliteConnection::Statement s(m_db.handle(),
                                      "SELECT row_key, column_position, text, style_key FROM heading_cells");
        while (s.step()) {
            ChartRow* row = m_chart.rows().byKey(Check::key(s, 0, "a resource key"));
            const int column = Check::integer(s, 1, "a heading column");
            const QString text = Check::text(s, 2, "a cell text");
            const QString styleKey = Check::key(s, 3, "a style key");
            Check::checkText(text, Check::Text::Line, QStringLiteral("the text of a heading cell"));
            if (row && column >= 1 && column <= maximumCellColumn)
                row->setCell(column, text, styleKey);
        }
    }

    void readStyles() {
        SqliteConnection::Statement s(
            m_db.handle(),
            "SELECT key, kind, fixed_item, back_color, fore_color, font_name, font_size, font_bold, "
            "font_italic, font_underline, font_strikethrough, border_shown, border_appearance, "
            "horizontal_alignment, vertical_alignment, focus_shown, focus_distance_x, "
            "focus_distance_y, clip_caption, caption_indent, free_text FROM styles ORDER BY position");
        while (s.step()) {
            ChartStyle& style = m_chart.styles().add(Check::key(s, 0, "a style key"));
            int c = 0;
            style.kind = Check::integer(s, ++c, "a style kind");
            style.fixedItem = Check::flag(s, ++c, "a style's fixing");
            style.backColor = Check::colour(s, ++c, "a style's colour");
            style.foreColor = Check::colour(s, ++c, "a style's colour");
            style.font.name = Check::text(s, ++c, "a font name");
            style.font.size = Check::real(s, ++c, "a font size");
            style.font.bold = Check::flag(s, ++c, "a font switch");
            style.font.italic = Check::flag(s, ++c, "a font switch");
            style.font.underline = Check::flag(s, ++c, "a font switch");
            style.font.strikethrough = Check::flag(s, ++c, "a font switch");
            style.borderShown = Check::integer(s, ++c, "a style's border");
            style.borderAppearance = Check::integer(s, ++c, "a style's border");
            style.horizontalAlignment = Check::integer(s, ++c, "a style's alignment");
            style.verticalAlignment = Check::integer(s, ++c, "a style's alignment");
            style.focusShown = Check::flag(s, ++c, "a style's focus switch");
            style.focusDistanceX = Check::integer(s, ++c, "a style's focus distance");
            style.focusDistanceY = Check::integer(s, ++c, "a style's focus distance");
            style.clipCaption = Check::flag(s, ++c, "a style's clipping");
            style.captionIndent = Check::integer(s, ++c, "a style's caption indent");
            style.freeText = Check::text(s, ++c, "a style's free text");
            Check::checkStyle(style);
        }
    }

    void readItems() {
        SqliteConnection::Statement s(
            m_db.handle(),
            "SELECT key, row_key, caption, text, start_time, end_time, style_key, picture, "
            "addon_data, series_key, movement_lock, add_tag, tag FROM items ORDER BY position");
        // Keys that many items share are kept once.
        QSet<QString> seriesKeys;
        while (s.step()) {
            const QString rowKey = Check::key(s, 1, "the resource of an item");
            const ChartRow* row = m_chart.rows().byKey(rowKey);
            if (!row)
                row = &m_chart.rows().add(rowKey, rowKey);
            const QString styleKey = Check::key(s, 6, "a style key");
            const ChartStyle* style = m_chart.styles().byKey(styleKey);
            ChartItem& item = m_chart.items().add(
                Check::text(s, 2, "a caption"), row->key(), Check::time(s, 4, "the start of an item"),
                Check::time(s, 5, "the end of an item"), Check::key(s, 0, "an item key"),
                style ? style->key() : styleKey, Check::text(s, 7, "a picture"), Check::text(s, 11, "a tag"));
            item.setText(Check::text(s, 3, "an item's text"));
            item.setAddOnData(Check::text(s, 8, "an item's add-on data"));
            const QString seriesKey = Check::key(s, 9, "a series key");
            if (!seriesKey.isEmpty())
                item.setSeriesKey(*seriesKeys.insert(seriesKey));
            item.setMovementLock(Check::integer(s, 10, "a movement lock"));
            item.setTag(Check::text(s, 12, "a tag"));
            Check::checkItem(item);
        }
    }

    void readSettings() {
        SqliteConnection::Statement s(m_db.handle(), "SELECT name, value FROM settings");
        QHash<QString, std::pair<int, QVariant>> stored;
        while (s.step()) {
            const int type = s.type(1);
            QVariant value;
            if (type == SQLITE_INTEGER)
                value = s.integer(1);
            else if (type == SQLITE_FLOAT)
                value = Check::real(s, 1, "a setting");
            else if (type == SQLITE_TEXT)
                value = Check::text(s, 1, "a setting");
            stored.insert(Check::key(s, 0, "the name of a setting"), {type, value});
        }
        ChartSettings& settings = m_chart.settings();
        forEachSetting(settings, [&stored](const QString& name, auto& target) {
            using T = std::remove_cvref_t<decltype(target)>;
            const auto found = stored.constFind(name);
            if (found == stored.cend())
                return;
            const auto& [type, value] = *found;
            const QString what = QStringLiteral("the setting '%1'").arg(name);
            if constexpr (std::is_same_v<T, QString>) {
                Check::checkType(type == SQLITE_TEXT, what);
                target = value.toString();
            } else if constexpr (std::is_same_v<T, double>) {
                Check::checkType(type == SQLITE_FLOAT || type == SQLITE_INTEGER, what);
                target = value.toDouble();
            } else {
                Check::checkType(type == SQLITE_INTEGER, what);
                const qint64 number = value.toLongLong();
                if constexpr (std::is_same_v<T, bool>) {
                    Check::checkRange(number, 0, 1, what);
                    target = number != 0;
                } else if constexpr (std::is_same_v<T, TimePoint>) {
                    Check::checkRange(number, TimePoint::minimumSeconds, TimePoint::maximumSeconds, what);
                    target = TimePoint::fromSeconds(number);
                } else if constexpr (std::is_same_v<T, quint32>) {
                    Check::checkRange(number, 0, 0xFFFFFFFF, what);
                    target = quint32(number);
                } else {
                    Check::checkRange(number, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max(), what);
                    target = int(number);
                }
            }
        });
        Check::checkSettings(settings);
    }

    SqliteConnection& m_db;
    GanttData& m_chart;
};
} // namespace

void TimetableFile::write(const GanttData& chart, const QString& path) {
    // A link stays a link: the file it points to is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const auto failed = [&path](const QString& reason) {
        return AppError(QStringLiteral("The timetable '%1' could not be saved: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
    };
    QString temporary;
    try {
        // A FIFO or a device in the way is never opened, nor replaced.
        if (!IsRegularOrMissing(target))
            throw AppError(QStringLiteral("it is not a regular file."));
        TimetableValueCheck::checkForSave(chart);
        temporary = CreateTemporaryBeside(target);
        {
            SqliteConnection db(temporary, SQLITE_OPEN_READWRITE);
            // Nothing points at the temporary file before the rename, so it needs no journal.
            db.execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
            db.execute(QByteArray("PRAGMA application_id = " + QByteArray::number(applicationId) +
                                  "; PRAGMA user_version = " + QByteArray::number(schemaVersion) + ";")
                           .constData());
            db.execute("BEGIN");
            writeContent(db, chart);
            db.execute("COMMIT");
            db.close();
        }
        SyncFile(temporary);
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
            throw AppError(QString::fromLocal8Bit(std::strerror(errno)));
    } catch (const AppError& error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw failed(error.description());
    } catch (const std::exception& error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw failed(QString::fromLocal8Bit(error.what()));
    }
    SyncFolder(QFileInfo(target).absolutePath());
}

void TimetableFile::read(const QString& path, GanttData& chart) {
    const QString shown = QDir::toNativeSeparators(path);
    const AppError notTimetable(QStringLiteral("'%1' is not a timetable file.").arg(shown));
    const auto damaged = [&shown](const QString& reason) {
        return AppError(QStringLiteral("'%1' is damaged: %2").arg(shown, reason));
    };
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(QStringLiteral("The timetable '%1' does not exist.").arg(shown));
    if (!info.isFile())
        throw notTimetable;

    std::unique_ptr<SqliteConnection> db;
    qint64 id = 0;
    qint64 version = 0;
    try {
        db = std::make_unique<SqliteConnection>(path, SQLITE_OPEN_READONLY);
        id = db->queryInteger("PRAGMA application_id");
        version = db->queryInteger("PRAGMA user_version");
    } catch (const SqliteConnection::Error& error) {
        if (error.code() == SQLITE_NOTADB)
            throw notTimetable;
        throw damaged(error.description());
    }
    if (id != applicationId || version < 1)
        throw notTimetable;
    if (version > schemaVersion)
        throw AppError(
            QStringLiteral("'%1' was written by a newer version of the program and cannot be read.")
                .arg(shown));
    try {
        Reader(*db, chart).readAll();
    } catch (const AppError& error) {
        throw damaged(error.description());
    }
}
