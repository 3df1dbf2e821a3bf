#include "FileBytes.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

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

void execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QString message = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(result == SQLITE_OK, qPrintable(message));
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
            execute(path, "PRAGMA user_version = 2;");
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
