#include "FileBytes.h"
#include "SqlScript.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/TimetableLoader.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// The staged load of a board against the items as they were written, and what happens to the chart
// when such a load is abandoned, fails or meets an earlier file.
namespace {
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

QStringList itemLines(const GanttData& chart) {
    QStringList lines;
    for (int position = 1; position <= chart.items().count(); ++position) {
        const ChartItem& item = *chart.items().byPosition(position);
        lines << QStringList{item.key(),
                             item.rowKey(),
                             QString::number(item.start().seconds()),
                             QString::number(item.end().seconds()),
                             item.caption(),
                             item.text(),
                             item.styleKey(),
                             item.picture(),
                             item.addOnData(),
                             item.seriesKey(),
                             QString::number(item.movementLock()),
                             item.addTag(),
                             item.tag()}
                     .join('|');
    }
    return lines;
}

// Every row's items reaching into the span, as the chart's row index answers.
QStringList rowLines(const GanttData& chart, TimePoint from, TimePoint to) {
    QStringList lines;
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const QString row = chart.rows().byPosition(position)->key();
        QStringList keys;
        for (const ChartItem* item : chart.itemsInRange(row, from, to))
            keys << item->key();
        lines << row + ':' + keys.join(',');
    }
    return lines;
}

// The chart before a load: content that must come back whole when the load does not succeed.
void fillPrevious(GanttData& chart) {
    CreateDefaultStyles(chart);
    chart.rows().add("OLD", "Old resource");
    chart.items()
        .add("old booking", "OLD", TimePoint::fromSeconds(0), TimePoint::fromSeconds(hour), "{OLD}", "Date")
        .setText("kept");
}
} // namespace

class TstTimetableLoad : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString written(quint32 seed, int items, GanttData& chart) {
        const QString path = m_dir.filePath(QStringLiteral("plan-%1-%2.qtf").arg(seed).arg(items));
        fill(chart, seed, items);
        chart.save(path);
        return path;
    }

private slots:
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
        const TimePoint from = TimePoint::fromSeconds(900 * hour);
        const TimePoint to = TimePoint::fromSeconds(960 * hour);

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
        for (const QString row : {"R3", "R4", "R5"}) {
            QStringList shown;
            QStringList expected;
            for (const ChartItem* item : chart.itemsInRange(row, from, to))
                shown << item->key();
            for (const ChartItem* item : original.itemsInRange(row, from, to))
                expected << item->key();
            QCOMPARE(shown, expected);
        }
        QVERIFY(chart.items().count() < items);
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
        QCOMPARE(rowLines(chart, from, to), rowLines(original, from, to));
        QCOMPARE(load.percent(), 100);
    }

    // Closing the board or opening another file while a load runs gives back the timetable before it.
    void abandonedLoadGivesTheChartBack() {
        GanttData original;
        const QString path = written(3, 30000, original);
        GanttData chart;
        fillPrevious(chart);
        const QStringList before = itemLines(chart);
        for (int startThread = 0; startThread < 2; ++startThread) {
            {
                TimetableLoader load(chart, path);
                load.showFirstScreen({"R1"}, TimePoint::fromSeconds(0), TimePoint::fromSeconds(500 * hour));
                if (startThread)
                    load.start();
            }
            QCOMPARE(itemLines(chart), before);
            QVERIFY(chart.rows().byKey("OLD"));
            QCOMPARE(chart.rows().count(), 1);
        }
        TimetableLoader next(chart, path);
        next.start();
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
        try {
            load.finish();
            QFAIL("the damaged item was accepted");
        } catch (const AppError& error) {
            QVERIFY2(error.description().contains("is damaged: the movement lock 7 is out of range"),
                     qPrintable(error.description()));
        }
        QCOMPARE(itemLines(chart), before);
    }

    // The file read is the one opened: removing or replacing it on disk meanwhile changes nothing.
    void fileReplacedDuringTheLoad() {
        GanttData original;
        const QString path = written(5, 30000, original);
        GanttData chart;
        TimetableLoader load(chart, path);
        load.start();
        QVERIFY(QFile::remove(path));
        GanttData other;
        fill(other, 6, 10);
        other.save(path);
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
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
        const QString path = m_dir.filePath(QStringLiteral("older-%1.qtf").arg(QTest::currentDataTag()));
        fill(original, 7, 3000);
        original.save(path);
        execute(path, change.constData());

        GanttData whole;
        whole.load(path);
        QCOMPARE(itemLines(whole), itemLines(original));
        GanttData chart;
        TimetableLoader load(chart, path);
        load.showFirstScreen({"R1", "R3"}, TimePoint::fromSeconds(0), TimePoint::fromSeconds(2000 * hour));
        for (const ChartItem* item :
             chart.itemsInRange("R1", TimePoint::fromSeconds(0), TimePoint::fromSeconds(2000 * hour)))
            QVERIFY(original.items().byKey(item->key())->rowKey() == "R1");
        QVERIFY(
            chart.itemsInRange("R3", TimePoint::fromSeconds(0), TimePoint::fromSeconds(2000 * hour)).empty());
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
    }
};

QTEST_GUILESS_MAIN(TstTimetableLoad)
#include "tst_timetableload.moc"
