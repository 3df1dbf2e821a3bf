#include "FileBytes.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/TimetableValueCheck.h"
#include "chart/widget/RenderChartImage.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <csignal>
#include <limits>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// How a timetable is damaged. The loader may load or refuse a file with flipped bytes or cut short;
// it must refuse every kind from WrongType on except EdgeValue, which it must load.
enum class Kind {
    ByteFlips,
    Truncation,
    WrongType,
    OutOfRange,
    EdgeValue,
    LongText,
    MissingTable,
    DuplicateKey
};
constexpr int kinds = 8;
const char* const kindNames[kinds] = {"byte flips", "truncation", "wrong type",    "out of range",
                                      "edge value", "long text",  "missing table", "duplicate key"};

// The child's exit codes, then what the parent sees of a child that did not exit by itself.
enum Outcome : int {
    Loaded = 0,
    Refused = 10,
    Inconsistent = 11,
    Crashed = 100,
    Hung = 101,
    Sanitizer = 102
};

// A column and its documented range: whole numbers (flags, colours and time points among them) and
// real numbers from minimum to maximum, texts of at most maximum bytes (0: no limit worth testing).
// For "settings" the name is the setting's name.
enum class Type { Integer, Real, Text };
struct Column {
    const char* table;
    const char* name;
    Type type;
    qint64 minimum = 0;
    qint64 maximum = 0;
};

constexpr qint64 int32Min = std::numeric_limits<int>::min();
constexpr qint64 int32Max = std::numeric_limits<int>::max();
constexpr qint64 colourMax = 0xFFFFFFFF;
constexpr qint64 keyBytes = TimetableValueCheck::keyBytes;
constexpr qint64 lineBytes = TimetableValueCheck::lineBytes;
const qint64 firstTime = TimePoint::minimumSeconds;
const qint64 lastTime = TimePoint::maximumSeconds;
const Column columns[] = {
    {"rows", "key", Type::Text, 0, keyBytes},
    {"rows", "caption", Type::Text, 0, lineBytes},
    {"rows", "style_key", Type::Text, 0, keyBytes},
    {"rows", "height", Type::Integer, 0, 10000},
    {"heading_columns", "caption", Type::Text, 0, lineBytes},
    {"heading_columns", "width", Type::Integer, 0, 10000},
    {"heading_cells", "row_key", Type::Text, 0, keyBytes},
    {"heading_cells", "column_position", Type::Integer, int32Min, int32Max},
    {"heading_cells", "text", Type::Text, 0, lineBytes},
    {"styles", "kind", Type::Integer, 1, 1},
    {"styles", "fixed_item", Type::Integer, 0, 1},
    {"styles", "back_color", Type::Integer, 0, colourMax},
    {"styles", "font_name", Type::Text, 0, keyBytes},
    {"styles", "font_size", Type::Real, 0, 1000},
    {"styles", "border_appearance", Type::Integer, 0, 2},
    {"styles", "horizontal_alignment", Type::Integer, 1, 3},
    {"styles", "focus_distance_x", Type::Integer, 0, 10000},
    {"styles", "caption_indent", Type::Integer, 0, 10000},
    {"styles", "free_text", Type::Text},
    {"items", "key", Type::Text, 0, keyBytes},
    {"items", "row_key", Type::Text, 0, keyBytes},
    {"items", "caption", Type::Text, 0, lineBytes},
    {"items", "text", Type::Text},
    {"items", "start_time", Type::Integer, firstTime, lastTime},
    {"items", "end_time", Type::Integer, firstTime, lastTime},
    {"items", "style_key", Type::Text, 0, keyBytes},
    {"items", "series_key", Type::Text, 0, keyBytes},
    {"items", "movement_lock", Type::Integer, 0, 2},
    {"settings", "scale", Type::Integer, 0, 15},
    {"settings", "show_grid", Type::Integer, 0, 1},
    {"settings", "core_time.2.1.end", Type::Integer, 0, 86400},
    {"settings", "lead_in_amount", Type::Integer, -100000, 100000},
    {"settings", "first_shown_time", Type::Integer, firstTime, lastTime},
    {"settings", "first_shown_row", Type::Integer, 0, int32Max},
    {"settings", "default_item_style", Type::Text, 0, keyBytes},
    {"settings", "grid_color", Type::Integer, 0, colourMax},
    {"settings", "timeline_extent", Type::Integer, 0, 2},
    {"settings", "band_caption_format.8.1", Type::Text, 0, lineBytes},
    {"settings", "upper_band_font.name", Type::Text, 0, keyBytes},
    {"settings", "upper_band_font.size", Type::Real, 0, 1000},
    {"settings", "default_row_height", Type::Integer, 0, 10000},
    {"settings", "heading_width", Type::Integer, 0, 10000},
};
const char* const tables[] = {"rows", "heading_columns", "heading_cells", "styles", "items", "settings"};

QString pick(const QStringList& choices, QRandomGenerator& random) {
    return choices.at(random.bounded(int(choices.size())));
}

// The SQL value that damages the column in the given way; empty when the column has no such value.
QString damagedValue(Kind kind, const Column& column, QRandomGenerator& random) {
    const bool integer = column.type == Type::Integer;
    const QString low = QString::number(column.minimum), high = QString::number(column.maximum);
    switch (kind) {
    case Kind::WrongType:
        return pick(integer                     ? QStringList{"'soon'", "NULL", "x'0102'", "1.5"}
                    : column.type == Type::Real ? QStringList{"'big'", "NULL", "x'0102'"}
                                                : QStringList{"NULL", "x'41'", "x''"},
                    random);
    case Kind::OutOfRange: {
        if (column.type == Type::Real)
            return pick({"1001.0", "-0.5", "1e300", "-1e300", "1e999"}, random);
        QStringList values;
        for (const qint64 v : {column.minimum - 1, column.maximum + 1, int32Max, qint64(1) << 40,
                               std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()})
            if (v < column.minimum || v > column.maximum)
                values << QString::number(v);
        if (qstrcmp(column.name, "kind") == 0)
            values << "6";
        return integer ? pick(values, random) : QString();
    }
    case Kind::EdgeValue: // inside the range, at its edge: such a file must load and draw
        return column.type == Type::Text ? QString()
               : integer                 ? pick({low, high}, random)
                                         : pick({low + ".0", high + ".0"}, random);
    case Kind::LongText:
        return column.type == Type::Text && column.maximum > 0
                   ? QString("substr(hex(zeroblob(%1)), 1, %2)").arg(column.maximum).arg(column.maximum + 1)
                   : QString();
    default:
        return {};
    }
}

// The statements of one damage of an SQL kind; empty when the drawn column does not suit the kind.
QString damage(Kind kind, QRandomGenerator& random) {
    if (kind == Kind::MissingTable)
        return QString("DROP TABLE %1;").arg(tables[random.bounded(int(std::size(tables)))]);
    if (kind == Kind::DuplicateKey)
        return QString("UPDATE %1 SET key = (SELECT key FROM %1 ORDER BY position LIMIT 1) WHERE position = "
                       "(SELECT position FROM %1 ORDER BY position LIMIT 1 OFFSET 1);")
            .arg(std::array{"rows", "styles", "items"}[random.bounded(3)]);
    const Column& column = columns[random.bounded(int(std::size(columns)))];
    const quint32 row = random.generate() % 1000;
    const QString value = damagedValue(kind, column, random);
    if (value.isEmpty())
        return {};
    if (qstrcmp(column.table, "settings") == 0)
        return QString("UPDATE settings SET value = %1 WHERE name = '%2';").arg(value, column.name);
    // The planner's tables have NOT NULL constraints; a copy without them takes a value of any type.
    const QString loosened = kind == Kind::WrongType ? QString("CREATE TABLE loose AS SELECT * FROM %1; DROP "
                                                               "TABLE %1; ALTER TABLE loose RENAME TO %1;")
                                                           .arg(column.table)
                                                     : QString();
    return loosened + QString("UPDATE %1 SET %2 = %3 WHERE rowid = (SELECT rowid FROM %1 LIMIT 1 OFFSET %4 % "
                              "(SELECT count(*) FROM %1));")
                          .arg(column.table, column.name, value)
                          .arg(row);
}

// The number of rows the statements changed; -1 when they failed.
int execute(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    int changes = -1;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
        changes = sqlite3_total_changes(db);
    sqlite3_close(db);
    return changes;
}

// A loaded timetable whose indexes agree with a plain scan of its items, whose every value the
// planner could save again, and that draws.
bool consistent(GanttData& chart, const QString& scratch) {
    QHash<QString, QSet<QString>> byRow;
    const ItemCollection& items = chart.items();
    for (int position = 1; position <= items.count(); ++position) {
        const ChartItem* item = items.byPosition(position);
        if (!item || item->position() != position || items.byKey(item->key()) != item ||
            !chart.rows().byKey(item->rowKey()))
            return false;
        // What reaches into the whole range: starts before its end and ends after its start.
        if (item->start() < TimePoint::maximum() && item->end() > TimePoint::minimum())
            byRow[item->rowKey()].insert(item->key());
    }
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const QString rowKey = chart.rows().byPosition(position)->key();
        QSet<QString> indexed;
        for (const ChartItem* item : chart.itemsInRange(rowKey, TimePoint::minimum(), TimePoint::maximum()))
            indexed.insert(item->key());
        if (indexed != byRow.value(rowKey))
            return false;
    }
    try {
        TimetableValueCheck::checkForSave(chart);
        chart.save(scratch);
        GanttData again;
        again.load(scratch);
        if (again.items().count() != items.count() || again.rows().count() != chart.rows().count())
            return false;
    } catch (const AppError&) {
        return false;
    }
    const QSize size(320, 200);
    (void)renderChartImage(chart, chart.settings().firstShownTime, chart.settings().scale, size);
    if (items.count() > 0) {
        const ChartItem& first = *items.byPosition(1);
        (void)renderChartImage(chart, first.start().addSeconds(-3600), chart.settings().scale, size);
        (void)renderChartImage(chart, first.end(), 15 - chart.settings().scale, size);
    }
    return true;
}

// Loads the file in a child process, so that a crash or a hang is counted instead of ending the run.
Outcome loadInChild(const QString& path, const QString& scratch) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(30);
        GanttData chart;
        try {
            chart.load(path);
        } catch (const AppError&) {
            ::_exit(Refused);
        }
        ::_exit(consistent(chart, scratch) ? Loaded : Inconsistent);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return Crashed;
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? Hung : Crashed;
    const int code = WEXITSTATUS(status);
    return code == Loaded || code == Refused || code == Inconsistent ? Outcome(code) : Sanitizer;
}

QByteArray baseTimetable(const QString& path) {
    GanttData chart;
    CreateDefaultStyles(chart);
    chart.headingColumns().add("Floor", 60, "Resources");
    for (int row = 1; row <= 3; ++row)
        chart.rows()
            .add(QString("{R%1}").arg(row), QString("Room %1").arg(row), "Resources")
            .setCell(2, QString("Floor %1").arg(row));
    const TimePoint monday = TimePoint::fromDate(QDate(2026, 3, 2));
    for (int i = 0; i < 40; ++i) {
        const TimePoint start = monday.addSeconds(qint64(i / 3) * 7200 + 1800);
        ChartItem& item = chart.items().add(QString("Booking %1").arg(i), QString("{R%1}").arg(i % 3 + 1),
                                            start, start.addSeconds(5400), QString("{ITEM-%1}").arg(i),
                                            i % 5 == 0 ? "Date Fixed" : "Date");
        item.setText(QString("Note %1\r\nsecond line").arg(i));
        item.setSeriesKey(i % 4 == 0 ? QString("{SERIES-%1}").arg(i % 8) : QString());
    }
    chart.settings().firstShownTime = monday.addSeconds(7 * 3600);
    chart.save(path);
    return readBytes(path);
}
} // namespace

// Damaged timetables through the loader: none crashes it or hangs it; a file with a value of the wrong
// type, out of its range or too long, a missing table or a duplicate key is refused; a file at the
// edges of the ranges loads and draws; every file that loads is consistent (indexes, limits, saving
// again, drawing). QUNTA_FUZZ_CASES sets the number of files (300 by default), QUNTA_FUZZ_SEED the
// seed.
class TstFuzzLoad : public QObject {
    Q_OBJECT
private slots:
    void damagedTimetables() {
        // In memory where the machine has it: every case writes its file, and flushes do not matter here.
        QTemporaryDir folder(QFileInfo("/dev/shm").isWritable() ? "/dev/shm/tst_fuzzload-XXXXXX"
                                                                : QDir::tempPath() + "/tst_fuzzload-XXXXXX");
        QVERIFY(folder.isValid());
        const QByteArray base = baseTimetable(folder.filePath("base.qtf"));
        const QString path = folder.filePath("case.qtf");
        const QString scratch = folder.filePath("again.qtf");
        QRandomGenerator random(quint32(qEnvironmentVariableIntValue("QUNTA_FUZZ_SEED")) + 1);
        int counts[kinds][3] = {}; // loaded, refused, failed
        QStringList failures;
        const int cases = std::max(qEnvironmentVariableIntValue("QUNTA_FUZZ_CASES"), 0);
        for (int n = 0; n < (cases > 0 ? cases : 300); ++n) {
            const Kind kind = Kind(n % kinds);
            QByteArray bytes = base;
            if (kind == Kind::ByteFlips) {
                for (int flips = 1 + random.bounded(8); flips > 0; --flips)
                    bytes[random.bounded(int(bytes.size()))] ^= char(1 + random.bounded(255));
            } else if (kind == Kind::Truncation) {
                bytes.truncate(random.bounded(int(bytes.size())));
            }
            writeBytes(path, bytes);
            QString sql;
            // Until a statement really changes the file (a dropped table changes no row).
            for (int changes = 0; kind >= Kind::WrongType && changes == 0;) {
                sql = damage(kind, random);
                changes = sql.isEmpty() ? 0 : execute(path, sql);
                QVERIFY2(changes >= 0, qPrintable(sql));
                changes += kind == Kind::MissingTable ? 1 : 0;
            }
            const Outcome outcome = loadInChild(path, scratch);
            const bool wrong = (outcome != Loaded && outcome != Refused) ||
                               (kind == Kind::EdgeValue && outcome != Loaded) ||
                               (kind >= Kind::WrongType && kind != Kind::EdgeValue && outcome != Refused);
            if (wrong)
                failures << QString("case %1 (%2, outcome %3): %4")
                                .arg(n)
                                .arg(kindNames[int(kind)])
                                .arg(outcome)
                                .arg(sql);
            ++counts[int(kind)][outcome == Loaded ? 0 : outcome == Refused ? 1 : 2];
        }
        for (int kind = 0; kind < kinds; ++kind)
            qInfo("%-14s %4d loaded, %4d refused, %d failed", kindNames[kind], counts[kind][0],
                  counts[kind][1], counts[kind][2]);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 20).join('\n')));
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    TstFuzzLoad test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fuzzload.moc"
