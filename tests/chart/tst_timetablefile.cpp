#include "FileBytes.h"
#include "SqlScript.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/TimetableFile.h"
#include "chart/TimetableLoader.h"
#include "chart/TimetableValueCheck.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString oddText = QString("a") + QChar(0) + "b" + QChar(254) + QChar(255) + "\r\n" +
                        QString::fromUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80 \xE6\x97\xA5");

constexpr qint64 hour = 3600;

// A timetable as users fill one: texts repeated over many items and texts of one item alone, empty
// and very long ones, overlapping bookings, keys of every form.
void fill(GanttData& chart, quint32 seed, int items) {
    QRandomGenerator random(seed);
    CreateDefaultStyles(chart);
    for (int r = 0; r < 40; ++r)
        chart.rows().add(QStringLiteral("R%1").arg(r), QStringLiteral("Resource %1").arg(r));
    const QStringList shared{"", "Meeting", "meeting", "Ärger im Büro", QString(5000, u'w'), "Lunch"};
    for (int i = 0; i < items; ++i) {
        const QString key =
            i % 3 == 0
                ? QStringLiteral("{%1-0000-4000-8000-000000000000}").arg(i, 8, 16, QChar('0')).toUpper()
                : QStringLiteral("item %1").arg(i);
        const qint64 start = qint64(random.bounded(2000)) * hour;
        ChartItem& item =
            chart.items().add(shared[int(random.bounded(shared.size()))],
                              QStringLiteral("R%1").arg(random.bounded(40)), TimePoint::fromSeconds(start),
                              TimePoint::fromSeconds(start + qint64(random.bounded(1, 200)) * hour), key,
                              random.bounded(2) ? "Date" : "Meeting");
        item.setText(random.bounded(2) ? shared[int(random.bounded(shared.size()))]
                                       : QStringLiteral("note %1").arg(random.generate()));
        if (random.bounded(10) == 0)
            item.setPicture(QStringLiteral("/pictures/%1.png").arg(random.bounded(3)));
        if (random.bounded(5) == 0)
            item.setSeriesKey(QStringLiteral("{SERIES-%1}").arg(random.bounded(4)));
        item.setMovementLock(random.bounded(2) ? 2 : 0);
        item.setTag(random.bounded(20) == 0 ? QStringLiteral("tagged") : QString());
    }
}

// Every field of every item, in position order.
QStringList itemLines(const GanttData& chart) {
    QStringList lines;
    for (int position = 1; position <= chart.items().count(); ++position) {
        const ChartItem& item = *chart.items().byPosition(position);
        lines << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11|%12|%13")
                     .arg(item.key(), item.rowKey(), QString::number(item.start().seconds()),
                          QString::number(item.end().seconds()), item.caption(), item.text(), item.styleKey(),
                          item.picture(), item.addOnData(), item.seriesKey(),
                          QString::number(item.movementLock()), item.addTag(), item.tag());
    }
    return lines;
}

QStringList keysIn(const GanttData& chart, const QString& row, TimePoint from, TimePoint to) {
    QStringList keys;
    for (const ChartItem* item : chart.itemsInRange(row, from, to))
        keys << item->key();
    return keys;
}

// Every row's items reaching into the span, as the chart's row index answers.
QStringList rowLines(const GanttData& chart, TimePoint from, TimePoint to) {
    QStringList lines;
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const QString row = chart.rows().byPosition(position)->key();
        lines << row + ':' + keysIn(chart, row, from, to).join(',');
    }
    return lines;
}

TimePoint hours(qint64 count) {
    return TimePoint::fromSeconds(count * hour);
}

// The chart before a load: content that must come back whole when the load does not succeed.
void fillPrevious(GanttData& chart) {
    CreateDefaultStyles(chart);
    chart.rows().add("OLD", "Old resource");
    chart.items().add("old booking", "OLD", hours(0), hours(1), "{OLD}", "Date").setText("kept");
}

void compareContent(GanttData& a, GanttData& b) {
    QCOMPARE(a.rows().count(), b.rows().count());
    for (int i = 1; i <= a.rows().count(); ++i)
        QVERIFY2(a.rows().byPosition(i)->sameContent(*b.rows().byPosition(i)),
                 qPrintable(QString::number(i)));
    QCOMPARE(a.styles().count(), b.styles().count());
    for (int i = 1; i <= a.styles().count(); ++i) {
        QCOMPARE(a.styles().byPosition(i)->key(), b.styles().byPosition(i)->key());
        QVERIFY(a.styles().byPosition(i)->sameProperties(*b.styles().byPosition(i)));
    }
    QCOMPARE(a.headingColumns().count(), b.headingColumns().count());
    for (int i = 1; i <= a.headingColumns().count(); ++i)
        QCOMPARE(*a.headingColumns().byPosition(i), *b.headingColumns().byPosition(i));
    QCOMPARE(itemLines(a), itemLines(b));
    QVERIFY(a.settings() == b.settings());
}

// Gives every setting a value other than its default.
void changeEverySetting(ChartSettings& s) {
    s.scale = 13;
    s.gridInterval = "2h";
    s.showGrid = false;
    s.snapToGrid = false;
    s.moveWholeDaysOnly = true;
    s.markCoreTimes = false;
    for (int day = 0; day < ChartSettings::weekdays; ++day) {
        for (int period = 0; period < ChartSettings::coreTimePeriods; ++period)
            s.coreTimes[day][period] = {day * 3600 + period * 60 + 1, day * 3600 + period * 60 + 2};
    }
    s.leadInAmount = 3;
    s.leadInInterval = "n";
    s.firstShownTime = TimePoint::fromSeconds(-86400 * 3 + 17);
    s.firstShownRow = 42;
    s.defaultItemStyle = oddText;
    s.allowAdd = s.allowEdit = s.allowRowSize = s.allowRowSwap = false;
    s.allowRowHeadingSwap = s.allowRowHeadingSize = s.allowFixedColumnSize = s.allowTimelineScroll = false;
    s.detectConflicts = s.scrollBarsVisible = s.showUpperBand = s.showLowerBand = s.showTimeline = false;
    s.timelineBack = 1;
    s.timelineFore = 2;
    s.background = 3;
    s.timeline2 = 4;
    s.grid = 5;
    s.coreTimeStart = 6;
    s.coreTimeEnd = 0xFFFFFFFF;
    s.borderStyle = 2;
    s.timelineStyle = 0;
    s.dividerStyle = 2;
    s.timelineExtent = 2;
    for (int zoom = 0; zoom < ChartSettings::zoomLevels; ++zoom) {
        for (int kind = 1; kind <= ChartSettings::captionKinds; ++kind)
            s.setBandCaptionFormat(zoom, kind, QString("f%1.%2").arg(zoom).arg(kind));
    }
    s.setBandCaptionFormat(3, 2, QString());
    s.timeCaptionFormat = "hh:nn ";
    s.truncateCaptions = true;
    s.upperBandFont = {"Upper", 7.5, true, false, true, false};
    s.lowerBandFont = {"Lower", 12.25, false, true, false, true};
    for (int kind = 1; kind <= ChartSettings::calendarKinds; ++kind) {
        for (int type = 1; type <= 2; ++type) {
            for (int index = 0; index < ChartSettings::calendarIndexCount(kind); ++index)
                s.setCalendarColour(kind, type, index, quint32(kind * 1000 + type * 100 + index));
        }
    }
    s.defaultRowHeight = 33;
    s.headingWidth = 123;
}

void fillChart(GanttData& chart) {
    CreateDefaultStyles(chart);
    chart.setAddonText(oddText);
    ChartStyle& style = chart.styles().add(oddText);
    style.kind = 5;
    style.fixedItem = true;
    style.backColor = 0x123456;
    style.foreColor = 0xFEDCBA;
    style.font = {oddText, 11.5, true, true, true, true};
    style.borderShown = 0;
    style.borderAppearance = 0;
    style.horizontalAlignment = 3;
    style.verticalAlignment = 3;
    style.focusShown = true;
    style.focusDistanceX = 4;
    style.focusDistanceY = 5;
    style.clipCaption = true;
    style.captionIndent = 6;
    style.freeText = "free";

    chart.headingColumns().add(oddText, 120, "Resources");
    ChartRow& room = chart.rows().add("{ROOM}", oddText, "Resources", "/pictures/room.png", 31);
    room.setCell(1, "Ground floor");
    room.setCell(2, oddText, oddText);
    chart.rows().add("{CAR}", "Car", QString(), QString(), 0);

    ChartItem& item = chart.items().add(oddText, "{ROOM}", TimePoint::fromDays(45000.25),
                                        TimePoint::fromDays(45000.5), "{ITEM-1}", "Date Fixed", oddText, "0");
    item.setText(oddText);
    item.setAddOnData(oddText);
    item.setSeriesKey("{SERIES}");
    item.setMovementLock(2);
    item.setTag(oddText);
    // Overlapping, inverted and style-less items are kept as they are.
    chart.items().add("b", "{ROOM}", TimePoint::fromDays(45000.3), TimePoint::fromDays(45000.2), "{ITEM-2}",
                      "");
    chart.items().add("c", "{CAR}", TimePoint::fromSeconds(-5), TimePoint::fromSeconds(0), "{ITEM-3}",
                      "Gone");
    changeEverySetting(chart.settings());
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({"*.tmp-*"}, QDir::Files | QDir::Hidden);
}

// Runs `action`, which must fail with an error whose description holds every one of `parts`.
template <typename Action> void expectError(Action action, const QStringList& parts) {
    try {
        action();
        QFAIL(qPrintable("no error, expected: " + parts.join(' ')));
    } catch (const AppError& error) {
        for (const QString& part : parts)
            QVERIFY2(error.description().contains(part), qPrintable(error.description()));
    }
}
} // namespace

class TstTimetableFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString written(quint32 seed, int items, GanttData& chart) {
        const QString path = dir.filePath(QStringLiteral("plan-%1-%2.qtf").arg(seed).arg(items));
        fill(chart, seed, items);
        chart.save(path);
        return path;
    }

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void roundTripKeepsEveryField() {
        GanttData original;
        fillChart(original);
        QVERIFY(!(original.settings() == ChartSettings()));
        const QString path = dir.filePath("round.qtf");
        original.save(path);
        GanttData loaded;
        loaded.rows().add("OLD", "replaced by the load");
        QSignalSpy spy(&loaded, &GanttData::changed);
        loaded.load(path);
        QCOMPARE(spy.count(), 1);
        compareContent(original, loaded);
        QCOMPARE(loaded.addonText(), oddText);
        // The loaded indexes work: a span around the inverted item collides, the touching one does not.
        QVERIFY(loaded.conflicts(TimePoint::fromDays(45000.1), TimePoint::fromDays(45000.35), "{ROOM}",
                                 loaded.items().byKey("{ITEM-1}")));
        QVERIFY(!loaded.conflicts(TimePoint::fromSeconds(0), TimePoint::fromSeconds(10), "{CAR}"));
        // Saving over an existing file replaces it and leaves nothing behind.
        loaded.items().remove("{ITEM-2}");
        loaded.save(path);
        GanttData again;
        again.load(path);
        compareContent(loaded, again);
        QVERIFY(leftovers(dir.path()).isEmpty());
        // An empty chart comes back empty over a filled one.
        GanttData empty;
        empty.save(path);
        again.load(path);
        compareContent(empty, again);
    }

    void refusedFilesLeaveChartAlone_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QString& damage, const QString& message) {
            QTest::newRow(name) << damage << message;
        };
        row("missing", "missing", "does not exist");
        row("folder", "folder", "is not a timetable file");
        row("empty file", "empty", "is not a timetable file");
        row("random bytes", "random", "is not a timetable file");
        row("other program", "foreign", "is not a timetable file");
        row("newer version", "newer", "newer version");
        row("truncated", "truncated", "is damaged");
        row("missing table", "PRAGMA user_version = 1; DROP TABLE styles;", "is damaged: no such table");
        row("duplicate item key",
            "UPDATE items SET key = (SELECT key FROM items WHERE position = 1) WHERE position = 2;",
            "is damaged: There is already a item");
        row("duplicate row key", "INSERT INTO rows SELECT 99, key, 'x', '', '', 0 FROM rows LIMIT 1;",
            "is damaged");
        row("numeric style key", "UPDATE styles SET key = '17' WHERE position = 1;", "is damaged");
        row("empty row key of an item", "UPDATE items SET row_key = '' WHERE position = 1;", "is damaged");
        row("text as scale", "UPDATE settings SET value = 'big' WHERE name = 'scale';",
            "is damaged: the setting 'scale'");
        row("scale out of range", "UPDATE settings SET value = 16 WHERE name = 'scale';",
            "is damaged: the scale 16");
        row("huge colour", "UPDATE styles SET back_color = 4294967296 WHERE position = 1;", "is damaged");
        // Values of the wrong type, in tables without the planner's constraints.
        const QString loose =
            "CREATE TABLE copy AS SELECT * FROM %1; DROP TABLE %1; ALTER TABLE copy RENAME TO %1;";
        row("text as start", "UPDATE items SET start_time = 'soon' WHERE position = 1;",
            "is damaged: the start of an item has a value of the wrong type");
        row("null as end", loose.arg("items") + "UPDATE items SET end_time = NULL WHERE rowid = 1;",
            "is damaged: the end of an item has a value of the wrong type");
        row("null as caption", loose.arg("rows") + "UPDATE rows SET caption = NULL;",
            "is damaged: a caption has a value of the wrong type");
        row("blob as caption", "UPDATE items SET caption = x'00ff' WHERE position = 1;",
            "is damaged: a caption has a value of the wrong type");
        row("real as height", "UPDATE rows SET height = 2.5;",
            "is damaged: a row height has a value of the wrong type");
        row("blob as font name", "UPDATE styles SET font_name = x'41' WHERE position = 2;",
            "is damaged: a font name has a value of the wrong type");
        row("endless font size", "UPDATE styles SET font_size = 1e999 WHERE position = 2;",
            "is damaged: a font size has a value of the wrong type");
        row("text as grid", "UPDATE settings SET value = 15 WHERE name = 'grid_interval';",
            "is damaged: the setting 'grid_interval' has a value of the wrong type");
        // Values outside their ranges.
        row("earliest time", "UPDATE items SET start_time = -9223372036854775808 WHERE position = 1;",
            "is damaged: the start of an item -9223372036854775808 is out of range");
        row("latest time", "UPDATE items SET end_time = 255611462400 WHERE position = 1;",
            "is damaged: the end of an item 255611462400 is out of range");
        row("tallest row", "UPDATE rows SET height = 2147483647;",
            "is damaged: the row height 2147483647 is out of range (0 to 10000)");
        row("height beyond int", "UPDATE rows SET height = 4294967296;",
            "is damaged: a row height 4294967296 is out of range");
        row("widest column", "UPDATE heading_columns SET width = 10001;",
            "is damaged: the column width 10001 is out of range");
        row("negative indent", "UPDATE styles SET caption_indent = -1 WHERE position = 3;",
            "is damaged: the caption indent -1 is out of range");
        row("huge font", "UPDATE styles SET font_size = 5000 WHERE position = 2;",
            "is damaged: the style font size 5000 is out of range");
        row("style kind 3", "UPDATE styles SET kind = 3 WHERE position = 2;",
            "is damaged: the style kind 3 is neither 1 nor 5");
        row("switch of 2", "UPDATE styles SET fixed_item = 2 WHERE position = 2;",
            "is damaged: a style's fixing 2 is out of range (0 to 1)");
        row("movement lock 7", "UPDATE items SET movement_lock = 7 WHERE position = 1;",
            "is damaged: the movement lock 7 is out of range");
        row("first shown time",
            "UPDATE settings SET value = 9223372036854775807 WHERE name = 'first_shown_time';",
            "is damaged: the setting 'first_shown_time' 9223372036854775807 is out of range");
        row("lead-in", "UPDATE settings SET value = -2147483648 WHERE name = 'lead_in_amount';",
            "is damaged: the lead-in -2147483648 is out of range");
        row("setting switch of 5", "UPDATE settings SET value = 5 WHERE name = 'show_grid';",
            "is damaged: the setting 'show_grid' 5 is out of range");
        row("too many heading columns",
            "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 4200) "
            "INSERT INTO heading_columns SELECT i, 'c', 10, '' FROM n;",
            "is damaged: there are more than 4096 heading columns");
        // Texts longer than their limits.
        row("long font name",
            "UPDATE styles SET font_name = substr(hex(zeroblob(600)), 1, 1025) WHERE position = 2;",
            "is damaged: the style font name is longer than 1024 bytes");
        row("16 MB font name", "UPDATE styles SET font_name = hex(zeroblob(8388608)) WHERE position = 2;",
            "is damaged: the style font name is longer than 1024 bytes");
        row("long item key", "UPDATE items SET key = hex(zeroblob(513)) WHERE position = 1;",
            "is damaged: an item key is longer than 1024 bytes");
        row("long caption", "UPDATE items SET caption = hex(zeroblob(65537)) WHERE position = 2;",
            "is damaged: the caption of an item is longer than 131072 bytes");
        row("long band font",
            "UPDATE settings SET value = hex(zeroblob(513)) WHERE name = 'upper_band_font.name';",
            "is damaged: the upper band font name is longer than 1024 bytes");
    }

    void refusedFilesLeaveChartAlone() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        GanttData source;
        fillChart(source);
        for (int i = 0; i < 3000; ++i)
            source.items().add(QString("booking %1").arg(i), "{CAR}", TimePoint::fromSeconds(i * 100),
                               TimePoint::fromSeconds(i * 100 + 50), QString("{K%1}").arg(i), "Date");
        const QString path = dir.filePath(QString("bad-%1.qtf").arg(QTest::currentDataTag()));
        source.save(path);
        if (damage == "missing") {
            QFile::remove(path);
        } else if (damage == "folder") {
            QFile::remove(path);
            QVERIFY(QDir().mkpath(path));
        } else if (damage == "empty") {
            writeBytes(path, {});
        } else if (damage == "random") {
            QByteArray bytes;
            for (int i = 0; i < 5000; ++i)
                bytes.append(char((i * 7919) % 251));
            writeBytes(path, bytes);
        } else if (damage == "foreign") {
            QFile::remove(path);
            execute(path, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('hello');");
        } else if (damage == "newer") {
            const QByteArray newer =
                "PRAGMA user_version = " + QByteArray::number(TimetableFile::schemaVersion + 1) + ";";
            execute(path, newer.constData());
        } else if (damage == "truncated") {
            QFile file(path);
            QVERIFY(file.resize(file.size() / 2));
        } else {
            execute(path, damage.toUtf8().constData());
        }
        GanttData chart;
        fillChart(chart);
        GanttData before;
        fillChart(before);
        QSignalSpy spy(&chart, &GanttData::changed);
        expectError([&] { chart.load(path); }, {message, QDir::toNativeSeparators(path)});
        QCOMPARE(spy.count(), 0);
        compareContent(before, chart);
    }

    void tolerantReading() {
        GanttData source;
        fillChart(source);
        const QString path = dir.filePath("tolerant.qtf");
        source.save(path);
        execute(path, "DELETE FROM rows WHERE key = '{CAR}';"
                      "INSERT INTO heading_cells VALUES ('{NOBODY}', 1, 'lost', '');"
                      "INSERT INTO heading_cells VALUES ('{ROOM}', 100000, 'far away', '');"
                      "DELETE FROM settings WHERE name = 'grid_interval';"
                      "INSERT INTO settings VALUES ('some_future_setting', 1);");
        GanttData chart;
        chart.load(path);
        // The item keeps its resource: a new one of that key, named by the key.
        QCOMPARE(chart.items().count(), 3);
        const ChartRow* car = chart.rows().byKey("{CAR}");
        QVERIFY(car);
        QCOMPARE(car->caption, QString("{CAR}"));
        QCOMPARE(chart.items().byKey("{ITEM-3}")->styleKey(), QString("Gone"));
        QCOMPARE(chart.rows().byKey("{ROOM}")->cells.size(), std::size_t(2));
        QCOMPARE(chart.settings().gridInterval, ChartSettings().gridInterval);
        QCOMPARE(chart.settings().scale, 13);
    }

    void failedSaveKeepsOldFile() {
        const QString path = dir.filePath("keep.qtf");
        GanttData first;
        fillChart(first);
        first.save(path);
        const QByteArray saved = readBytes(path);
        GanttData second;
        second.rows().add("X", "other");
        // A parent that is a regular file: nothing can be created there.
        QVERIFY_THROWS_EXCEPTION(AppError, second.save(path + "/inside.qtf"));
        // A folder in the way of the rename: the new file is written, then refused.
        const QString folder = dir.filePath("folder.qtf");
        QVERIFY(QDir().mkpath(folder + "/content"));
        expectError([&] { second.save(folder); }, {"could not be saved"});
        QVERIFY(QFileInfo(folder + "/content").isDir());
        // A value the reader would refuse is not written either.
        second.styles().add("Long").font.name = QString(1025, 'x');
        expectError([&] { second.save(path); }, {"could not be saved: the style font name is longer"});
        // Items share their texts: a text that fits as one item's note is still too long as a caption.
        GanttData third;
        third.rows().add("R", "row");
        const QString longText(TimetableValueCheck::lineBytes + 1, 'x');
        const TimePoint start = TimePoint::fromSeconds(45292 * TimePoint::secondsPerDay);
        third.items().add("short", "R", start, start.addSeconds(60), "a", "Date").setText(longText);
        third.items().add(longText, "R", start, start.addSeconds(60), "b", "Date");
        expectError([&] { third.save(path); }, {"could not be saved: the caption of an item is longer"});
        QVERIFY(leftovers(dir.path()).isEmpty());
        QCOMPARE(readBytes(path), saved);
    }

    void stagedLoadKeepsEveryItem_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("items");
        QTest::newRow("small") << 1u << 200;
        QTest::newRow("large") << 2u << 30000;
    }

    void stagedLoadKeepsEveryItem() {
        QFETCH(quint32, seed);
        QFETCH(int, items);
        GanttData original;
        const QString path = written(seed, items, original);
        const TimePoint from = hours(900);
        const TimePoint to = hours(960);
        GanttData whole;
        whole.load(path);
        QCOMPARE(itemLines(whole), itemLines(original));
        QCOMPARE(rowLines(whole, from, to), rowLines(original, from, to));
        GanttData chart;
        fillPrevious(chart);
        TimetableLoader load(chart, path);
        QCOMPARE(chart.items().count(), 0);
        QCOMPARE(load.itemCount(), qint64(items));
        load.showFirstScreen({"R3", "R4", "R5"}, from, to);
        // The first screen shows what the whole timetable shows there, and nothing else.
        for (const QString row : {"R3", "R4", "R5"})
            QCOMPARE(keysIn(chart, row, from, to), keysIn(original, row, from, to));
        QVERIFY(chart.items().count() < items);
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
        QCOMPARE(rowLines(chart, from, to), rowLines(original, from, to));
        QCOMPARE(load.percent(), 100);
    }

    // Closing the board or opening another file while a load runs gives back the timetable before it.
    // The file read is the one opened: removing or replacing it on disk meanwhile changes nothing.
    void abandonedLoadGivesTheChartBack() {
        GanttData original;
        const QString path = written(3, 30000, original);
        GanttData chart;
        fillPrevious(chart);
        const QStringList before = itemLines(chart);
        for (const bool startThread : {false, true}) {
            {
                TimetableLoader load(chart, path);
                load.showFirstScreen({"R1"}, hours(0), hours(500));
                if (startThread)
                    load.start();
            }
            QCOMPARE(itemLines(chart), before);
            QVERIFY(chart.rows().byKey("OLD"));
            QCOMPARE(chart.rows().count(), 1);
        }
        TimetableLoader next(chart, path);
        next.start();
        QVERIFY(QFile::remove(path));
        GanttData other;
        fill(other, 6, 10);
        other.save(path);
        next.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
    }

    void failedReadGivesTheChartBack() {
        GanttData original;
        const QString path = written(4, 5000, original);
        execute(path, "UPDATE items SET movement_lock = 7 WHERE position = 4990;");
        GanttData chart;
        fillPrevious(chart);
        const QStringList before = itemLines(chart);
        TimetableLoader load(chart, path);
        load.start();
        expectError([&] { load.finish(); }, {"is damaged: the movement lock 7 is out of range"});
        QCOMPARE(itemLines(chart), before);
    }

    // Files of the first version, and files whose row index is gone or wrong, open with every item;
    // they only show no first screen, or a part of one, before the rest.
    void filesWithoutAUsableRowIndex_data() {
        QTest::addColumn<QByteArray>("change");
        QTest::newRow("first version") << QByteArray("DROP TABLE row_items; PRAGMA user_version = 1;");
        QTest::newRow("index missing") << QByteArray("DROP TABLE row_items;");
        QTest::newRow("index of the wrong size") << QByteArray("UPDATE row_items SET spans = x'0102030405';");
        QTest::newRow("index of the wrong kind") << QByteArray("UPDATE row_items SET spans = 'spans';");
        // Entries that name items of another row, or positions the file does not have, are passed over.
        QTest::newRow("index naming other items")
            << QByteArray("UPDATE row_items SET spans = (SELECT spans FROM row_items WHERE row_key = 'R2') "
                          "WHERE row_key = 'R1'; UPDATE row_items SET spans = "
                          "x'000000000000000040420F00000000000000000000000000'"
                          "  || x'000000000000000040420F0000000000FFFFFFFFFFFFFF7F' WHERE row_key = 'R3';");
    }

    void filesWithoutAUsableRowIndex() {
        QFETCH(QByteArray, change);
        GanttData original;
        const QString path = dir.filePath(QStringLiteral("older-%1.qtf").arg(QTest::currentDataTag()));
        fill(original, 7, 3000);
        original.save(path);
        execute(path, change.constData());
        GanttData whole;
        whole.load(path);
        QCOMPARE(itemLines(whole), itemLines(original));
        GanttData chart;
        TimetableLoader load(chart, path);
        load.showFirstScreen({"R1", "R3"}, hours(0), hours(2000));
        for (const QString& key : keysIn(chart, "R1", hours(0), hours(2000)))
            QCOMPARE(original.items().byKey(key)->rowKey(), QString("R1"));
        QVERIFY(keysIn(chart, "R3", hours(0), hours(2000)).isEmpty());
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
    }
};

QTEST_GUILESS_MAIN(TstTimetableFile)
#include "tst_timetablefile.moc"
