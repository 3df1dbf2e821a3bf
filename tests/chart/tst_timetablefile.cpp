#include "FileBytes.h"
#include "SqlScript.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/TimetableFile.h"
#include "chart/TimetableValueCheck.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString oddText = QString("a") + QChar(0) + "b" + QChar(254) + QChar(255) + "\r\n" +
                        QString::fromUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80 \xE6\x97\xA5");

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
    QCOMPARE(a.items().count(), b.items().count());
    for (int i = 1; i <= a.items().count(); ++i) {
        const ChartItem& x = *a.items().byPosition(i);
        const ChartItem& y = *b.items().byPosition(i);
        QCOMPARE(x.key(), y.key());
        QCOMPARE(x.rowKey(), y.rowKey());
        QCOMPARE(x.start(), y.start());
        QCOMPARE(x.end(), y.end());
        QCOMPARE(x.caption(), y.caption());
        QCOMPARE(x.text(), y.text());
        QCOMPARE(x.styleKey(), y.styleKey());
        QCOMPARE(x.picture(), y.picture());
        QCOMPARE(x.addOnData(), y.addOnData());
        QCOMPARE(x.seriesKey(), y.seriesKey());
        QCOMPARE(x.movementLock(), y.movementLock());
        QCOMPARE(x.addTag(), y.addTag());
        QCOMPARE(x.tag(), y.tag());
    }
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
} // namespace

class TstTimetableFile : public QObject {
    Q_OBJECT
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
        QCOMPARE(loaded.items().byKey("{ITEM-1}")->text().size(), oddText.size());

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
    }

    void emptyChartRoundTrip() {
        GanttData empty;
        const QString path = dir.filePath("empty.qtf");
        empty.save(path);
        GanttData loaded;
        CreateDefaultStyles(loaded);
        loaded.load(path);
        compareContent(empty, loaded);
    }

    void refusedFilesLeaveChartAlone_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing"
                                 << "does not exist";
        QTest::newRow("folder") << "folder"
                                << "is not a timetable file";
        QTest::newRow("empty file") << "empty"
                                    << "is not a timetable file";
        QTest::newRow("random bytes") << "random"
                                      << "is not a timetable file";
        QTest::newRow("other program") << "foreign"
                                       << "is not a timetable file";
        QTest::newRow("newer version") << "newer"
                                       << "newer version";
        QTest::newRow("truncated") << "truncated"
                                   << "is damaged";
        QTest::newRow("missing table") << "PRAGMA user_version = 1; DROP TABLE styles;"
                                       << "is damaged: no such table";
        QTest::newRow("duplicate item key")
            << "UPDATE items SET key = (SELECT key FROM items WHERE position = 1) WHERE position = 2;"
            << "is damaged: There is already a item";
        QTest::newRow("duplicate row key")
            << "INSERT INTO rows SELECT 99, key, 'x', '', '', 0 FROM rows LIMIT 1;"
            << "is damaged";
        QTest::newRow("numeric style key") << "UPDATE styles SET key = '17' WHERE position = 1;"
                                           << "is damaged";
        QTest::newRow("empty row key of an item") << "UPDATE items SET row_key = '' WHERE position = 1;"
                                                  << "is damaged";
        QTest::newRow("text as scale") << "UPDATE settings SET value = 'big' WHERE name = 'scale';"
                                       << "is damaged: the setting 'scale'";
        QTest::newRow("scale out of range") << "UPDATE settings SET value = 16 WHERE name = 'scale';"
                                            << "is damaged: the scale 16";
        QTest::newRow("huge colour") << "UPDATE styles SET back_color = 4294967296 WHERE position = 1;"
                                     << "is damaged";
        // Values of the wrong type, in tables without the planner's constraints.
        const QString loose =
            "CREATE TABLE copy AS SELECT * FROM %1; DROP TABLE %1; ALTER TABLE copy RENAME TO %1;";
        QTest::newRow("text as start") << "UPDATE items SET start_time = 'soon' WHERE position = 1;"
                                       << "is damaged: the start of an item has a value of the wrong type";
        QTest::newRow("null as end") << loose.arg("items") +
                                            "UPDATE items SET end_time = NULL WHERE rowid = 1;"
                                     << "is damaged: the end of an item has a value of the wrong type";
        QTest::newRow("null as caption") << loose.arg("rows") + "UPDATE rows SET caption = NULL;"
                                         << "is damaged: a caption has a value of the wrong type";
        QTest::newRow("blob as caption") << "UPDATE items SET caption = x'00ff' WHERE position = 1;"
                                         << "is damaged: a caption has a value of the wrong type";
        QTest::newRow("real as height") << "UPDATE rows SET height = 2.5;"
                                        << "is damaged: a row height has a value of the wrong type";
        QTest::newRow("blob as font name") << "UPDATE styles SET font_name = x'41' WHERE position = 2;"
                                           << "is damaged: a font name has a value of the wrong type";
        QTest::newRow("endless font size") << "UPDATE styles SET font_size = 1e999 WHERE position = 2;"
                                           << "is damaged: a font size has a value of the wrong type";
        QTest::newRow("text as grid")
            << "UPDATE settings SET value = 15 WHERE name = 'grid_interval';"
            << "is damaged: the setting 'grid_interval' has a value of the wrong type";
        // Values outside their ranges.
        QTest::newRow("earliest time")
            << "UPDATE items SET start_time = -9223372036854775808 WHERE position = 1;"
            << "is damaged: the start of an item -9223372036854775808 is out of range";
        QTest::newRow("latest time") << "UPDATE items SET end_time = 255611462400 WHERE position = 1;"
                                     << "is damaged: the end of an item 255611462400 is out of range";
        QTest::newRow("tallest row") << "UPDATE rows SET height = 2147483647;"
                                     << "is damaged: the row height 2147483647 is out of range (0 to 10000)";
        QTest::newRow("height beyond int") << "UPDATE rows SET height = 4294967296;"
                                           << "is damaged: a row height 4294967296 is out of range";
        QTest::newRow("widest column") << "UPDATE heading_columns SET width = 10001;"
                                       << "is damaged: the column width 10001 is out of range";
        QTest::newRow("negative indent") << "UPDATE styles SET caption_indent = -1 WHERE position = 3;"
                                         << "is damaged: the caption indent -1 is out of range";
        QTest::newRow("huge font") << "UPDATE styles SET font_size = 5000 WHERE position = 2;"
                                   << "is damaged: the style font size 5000 is out of range";
        QTest::newRow("style kind 3") << "UPDATE styles SET kind = 3 WHERE position = 2;"
                                      << "is damaged: the style kind 3 is neither 1 nor 5";
        QTest::newRow("switch of 2") << "UPDATE styles SET fixed_item = 2 WHERE position = 2;"
                                     << "is damaged: a style's fixing 2 is out of range (0 to 1)";
        QTest::newRow("movement lock 7") << "UPDATE items SET movement_lock = 7 WHERE position = 1;"
                                         << "is damaged: the movement lock 7 is out of range";
        QTest::newRow("first shown time")
            << "UPDATE settings SET value = 9223372036854775807 WHERE name = 'first_shown_time';"
            << "is damaged: the setting 'first_shown_time' 9223372036854775807 is out of range";
        QTest::newRow("lead-in") << "UPDATE settings SET value = -2147483648 WHERE name = 'lead_in_amount';"
                                 << "is damaged: the lead-in -2147483648 is out of range";
        QTest::newRow("setting switch of 5") << "UPDATE settings SET value = 5 WHERE name = 'show_grid';"
                                             << "is damaged: the setting 'show_grid' 5 is out of range";
        QTest::newRow("too many heading columns")
            << "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 4200) "
               "INSERT INTO heading_columns SELECT i, 'c', 10, '' FROM n;"
            << "is damaged: there are more than 4096 heading columns";
        // Texts longer than their limits.
        QTest::newRow("long font name")
            << "UPDATE styles SET font_name = substr(hex(zeroblob(600)), 1, 1025) WHERE position = 2;"
            << "is damaged: the style font name is longer than 1024 bytes";
        QTest::newRow("16 MB font name")
            << "UPDATE styles SET font_name = hex(zeroblob(8388608)) WHERE position = 2;"
            << "is damaged: the style font name is longer than 1024 bytes";
        QTest::newRow("long item key") << "UPDATE items SET key = hex(zeroblob(513)) WHERE position = 1;"
                                       << "is damaged: an item key is longer than 1024 bytes";
        QTest::newRow("long caption") << "UPDATE items SET caption = hex(zeroblob(65537)) WHERE position = 2;"
                                      << "is damaged: the caption of an item is longer than 131072 bytes";
        QTest::newRow("long band font")
            << "UPDATE settings SET value = hex(zeroblob(513)) WHERE name = 'upper_band_font.name';"
            << "is damaged: the upper band font name is longer than 1024 bytes";
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
        try {
            chart.load(path);
            QFAIL("the file was accepted");
        } catch (const AppError& error) {
            QVERIFY2(error.description().contains(message), qPrintable(error.description()));
            QVERIFY2(error.description().contains(QDir::toNativeSeparators(path)),
                     qPrintable(error.description()));
        }
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
        const QByteArray saved = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        GanttData second;
        second.rows().add("X", "other");
        // A parent that is a regular file: nothing can be created there.
        QVERIFY_THROWS_EXCEPTION(AppError, second.save(path + "/inside.qtf"));
        // A folder in the way of the rename: the new file is written, then refused.
        const QString folder = dir.filePath("folder.qtf");
        QVERIFY(QDir().mkpath(folder + "/content"));
        try {
            second.save(folder);
            QFAIL("saving over a folder succeeded");
        } catch (const AppError& error) {
            QVERIFY(error.description().contains("could not be saved"));
        }
        QVERIFY(QFileInfo(folder + "/content").isDir());
        // A value the reader would refuse is not written either.
        second.styles().add("Long").font.name = QString(1025, 'x');
        try {
            second.save(path);
            QFAIL("a timetable that could not be read again was saved");
        } catch (const AppError& error) {
            QVERIFY2(error.description().contains("could not be saved: the style font name is longer"),
                     qPrintable(error.description()));
        }
        // Items share their texts: a text that fits as one item's note is still too long as a caption.
        GanttData third;
        third.rows().add("R", "row");
        const QString longText(TimetableValueCheck::lineBytes + 1, 'x');
        const TimePoint start = TimePoint::fromSeconds(45292 * TimePoint::secondsPerDay);
        third.items().add("short", "R", start, start.addSeconds(60), "a", "Date").setText(longText);
        third.items().add(longText, "R", start, start.addSeconds(60), "b", "Date");
        try {
            third.save(path);
            QFAIL("a caption over its limit was saved");
        } catch (const AppError& error) {
            QVERIFY2(error.description().contains("could not be saved: the caption of an item is longer"),
                     qPrintable(error.description()));
        }
        QVERIFY(leftovers(dir.path()).isEmpty());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
    }

private:
    QTemporaryDir dir;
};

QTEST_GUILESS_MAIN(TstTimetableFile)
#include "tst_timetablefile.moc"
