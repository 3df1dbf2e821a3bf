#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"

#include <QSignalSpy>
#include <QTest>

namespace {
TimePoint at(int hour, int minute = 0) {
    return TimePoint::fromDate(QDate(2024, 3, 4)).addSeconds(hour * 3600 + minute * 60);
}

QStringList keysOf(const std::vector<ChartItem*>& items) {
    QStringList keys;
    for (const ChartItem* item : items)
        keys << item->key();
    return keys;
}

// Every item's position agrees with the collection, and the order is the expected one.
void verifyOrder(GanttData& chart, const QStringList& expected) {
    QCOMPARE(chart.items().count(), expected.size());
    for (int position = 1; position <= expected.size(); ++position) {
        ChartItem* item = chart.items().byPosition(position);
        QVERIFY(item);
        QCOMPARE(item->key(), expected[position - 1]);
        QCOMPARE(item->position(), position);
        QCOMPARE(chart.items().find(QString::number(position)), item);
        QCOMPARE(chart.items().byKey(item->key()), item);
    }
    QVERIFY(!chart.items().byPosition(expected.size() + 1));
}
} // namespace

class TstGanttData : public QObject {
    Q_OBJECT
private slots:
    void init() {
        chart = std::make_unique<GanttData>();
        chart->rows().add("R1", "Room 1");
        chart->rows().add("R2", "Room 2");
    }

    void positionsShiftOnRemoval() {
        QStringList keys;
        for (int i = 0; i < 10; ++i) {
            keys << QString("K%1").arg(i);
            chart->items().add("c", "R1", at(i), at(i, 30), keys.last(), "Date");
        }
        chart->items().remove("K0");
        keys.removeFirst();
        chart->items().remove("5"); // position 5 is K5 now
        keys.removeAt(4);
        chart->items().remove("K9");
        keys.removeLast();
        verifyOrder(*chart, keys);
        chart->items().add("c", "R2", at(1), at(2), "NEW", "Date");
        keys << "NEW";
        verifyOrder(*chart, keys);
    }

    void removingBackwardsInsideBatchKeepsPositions() {
        const int total = 3000;
        for (int i = 0; i < total; ++i)
            chart->items().add("c", i % 2 ? "R1" : "R2", at(0).addSeconds(i * 60),
                               at(0).addSeconds(i * 60 + 30), QString("K%1").arg(i), "Date");
        QStringList expected;
        chart->items().beginBatch();
        for (int position = total; position >= 1; --position) {
            ChartItem* item = chart->items().byPosition(position);
            QCOMPARE(item->position(), position);
            if (position % 3 == 0)
                chart->items().remove(QString::number(position));
            else
                expected.prepend(item->key());
        }
        // Positions are right inside the batch already, not only after it.
        verifyOrder(*chart, expected);
        chart->items().endBatch();
        verifyOrder(*chart, expected);
        QCOMPARE(chart->itemsInRange("R1", at(0), at(0).addSeconds(total * 60)).size() +
                     chart->itemsInRange("R2", at(0), at(0).addSeconds(total * 60)).size(),
                 std::size_t(expected.size()));
    }

    void manyRemovalsOutsideBatch() {
        for (int i = 0; i < 5000; ++i)
            chart->items().add("c", "R1", at(0).addSeconds(i * 10), at(0).addSeconds(i * 10 + 5),
                               QString("K%1").arg(i), "");
        QStringList expected;
        for (int i = 0; i < 5000; ++i) {
            if (i % 5 == 0)
                expected << QString("K%1").arg(i);
            else
                chart->items().remove(QString("K%1").arg(i));
        }
        verifyOrder(*chart, expected);
    }

    void batchesAnnounceOnceAtTheOutermostEnd() {
        QSignalSpy spy(chart.get(), &GanttData::changed);
        chart->items().beginBatch();
        chart->items().beginBatch();
        chart->items().add("c", "R1", at(8), at(9), "A", "");
        chart->items().endBatch();
        chart->items().byKey("A")->setStart(at(7));
        chart->rows().add("R3", "Room 3");
        QCOMPARE(spy.count(), 0);
        chart->items().endBatch();
        QCOMPARE(spy.count(), 1);

        // An empty batch announces nothing; a surplus end is harmless.
        chart->items().beginBatch();
        chart->items().endBatch();
        chart->items().endBatch();
        QCOMPARE(spy.count(), 1);

        chart->items().remove("A");
        QCOMPARE(spy.count(), 2);
    }

    void bulkChangeSilencesEverything() {
        QSignalSpy spy(chart.get(), &GanttData::changed);
        chart->setBulkChange(false);
        chart->items().add("c", "R1", at(8), at(9), "A", "");
        chart->items().beginBatch();
        chart->items().remove("A");
        chart->items().endBatch();
        chart->redraw();
        chart->setBulkChange(true);
        QCOMPARE(spy.count(), 0);
        chart->redraw();
        QCOMPARE(spy.count(), 1);
    }

    void conflictRule_data() {
        QTest::addColumn<int>("startMinute");
        QTest::addColumn<int>("endMinute");
        QTest::addColumn<bool>("collides");
        // The row holds 10:00-11:00 and 12:00-13:00.
        QTest::newRow("touching end") << 11 * 60 << 12 * 60 << false;
        QTest::newRow("touching start") << 9 * 60 << 10 * 60 << false;
        QTest::newRow("before all") << 0 << 9 * 60 << false;
        QTest::newRow("after all") << 13 * 60 << 20 * 60 << false;
        QTest::newRow("overlap start") << 9 * 60 << 10 * 60 + 1 << true;
        QTest::newRow("overlap end") << 10 * 60 + 59 << 11 * 60 + 30 << true;
        QTest::newRow("inside") << 10 * 60 + 10 << 10 * 60 + 20 << true;
        QTest::newRow("covering both") << 9 * 60 << 14 * 60 << true;
        QTest::newRow("identical") << 12 * 60 << 13 * 60 << true;
        QTest::newRow("zero length in gap") << 11 * 60 + 30 << 11 * 60 + 30 << true;
        QTest::newRow("inverted in gap") << 11 * 60 + 50 << 11 * 60 + 10 << true;
    }

    void conflictRule() {
        QFETCH(int, startMinute);
        QFETCH(int, endMinute);
        QFETCH(bool, collides);
        chart->items().add("a", "R1", at(10), at(11), "A", "");
        chart->items().add("b", "R1", at(12), at(13), "B", "");
        const TimePoint start = at(0, startMinute);
        const TimePoint end = at(0, endMinute);
        QCOMPARE(chart->conflicts(start, end, "R1"), collides);
        // The other row is empty: only spans that are no spans collide there.
        QCOMPARE(chart->conflicts(start, end, "R2"), end <= start);
    }

    void conflictIgnoresOnlyTheGivenItem() {
        ChartItem& a = chart->items().add("a", "R1", at(10), at(11), "A", "");
        ChartItem& b = chart->items().add("b", "R1", at(12), at(13), "B", "");
        QVERIFY(!chart->conflicts(at(10), at(11, 30), "R1", &a));
        QVERIFY(!chart->conflictsExcept(at(10), at(11, 30), "R1", a.position()));
        QVERIFY(chart->conflicts(at(10), at(12, 30), "R1", &a));
        QVERIFY(chart->conflictsExcept(at(10), at(12, 30), "R1", b.position()));
        QVERIFY(chart->conflictsExcept(at(10), at(11), "R1", 0));
        QVERIFY(chart->conflictsExcept(at(10), at(11), "R1", 99));
        QVERIFY(chart->conflicts(at(11), at(11), "R1", &a));
    }

    void overlappingItemsStillFound() {
        // A long item early in the row reaches past many short ones that end before the query.
        chart->items().add("long", "R1", at(0), at(23), "LONG", "");
        for (int i = 0; i < 40; ++i)
            chart->items().add("short", "R1", at(1).addSeconds(i * 600), at(1).addSeconds(i * 600 + 60),
                               QString("S%1").arg(i), "");
        QVERIFY(chart->conflicts(at(20), at(21), "R1"));
        QVERIFY(!chart->conflicts(at(20), at(21), "R1", chart->items().byKey("LONG")));
        QCOMPARE(keysOf(chart->itemsInRange("R1", at(20), at(21))), QStringList{"LONG"});
        const QStringList expected{"LONG", "S0", "S1"};
        QCOMPARE(keysOf(chart->itemsInRange("R1", at(1), at(1, 11))), expected);
    }

    void rangeQueriesFollowMoves() {
        ChartItem& a = chart->items().add("a", "R1", at(8), at(9), "A", "");
        ChartItem& b = chart->items().add("b", "R1", at(10), at(11), "B", "");
        a.setStart(at(12));
        QCOMPARE(a.end(), at(9)); // setStart alone leaves the end, even behind the start
        a.setEnd(at(13));
        QCOMPARE(keysOf(chart->itemsInRange("R1", at(0), at(24))), (QStringList{"B", "A"}));
        QVERIFY(!chart->conflicts(at(8), at(9), "R1"));
        QVERIFY(chart->conflicts(at(12, 30), at(14), "R1"));

        b.setRowKey("R2");
        QCOMPARE(keysOf(chart->itemsInRange("R1", at(0), at(24))), QStringList{"A"});
        QCOMPARE(keysOf(chart->itemsInRange("R2", at(10, 59), at(11))), QStringList{"B"});
        QVERIFY(chart->itemsInRange("R2", at(11), at(12)).empty());

        b.setSpan(at(5), at(6));
        QCOMPARE(keysOf(chart->itemsInRange("R2", at(5), at(6))), QStringList{"B"});
        QVERIFY_THROWS_EXCEPTION(AppError, b.setRowKey("NOWHERE"));
        QCOMPARE(b.rowKey(), QString("R2"));
        QCOMPARE(keysOf(chart->itemsInRange("R2", at(0), at(24))), QStringList{"B"});
    }

    void movesInsideBatchAreSeenAtOnce() {
        for (int i = 0; i < 50; ++i)
            chart->items().add("c", "R1", at(0).addSeconds(i * 600), at(0).addSeconds(i * 600 + 300),
                               QString("K%1").arg(i), "");
        chart->items().beginBatch();
        for (int i = 49; i >= 0; --i) {
            ChartItem* item = chart->items().byKey(QString("K%1").arg(i));
            item->setSpan(item->start().addDays(1), item->end().addDays(1));
            QVERIFY(!chart->conflicts(item->start(), item->end(), "R1", item));
            QVERIFY(chart->conflicts(item->start(), item->end(), "R1"));
        }
        chart->items().endBatch();
        QVERIFY(chart->itemsInRange("R1", at(0), at(23, 59)).empty());
        QCOMPARE(chart->itemsInRange("R1", at(0).addDays(1), at(0).addDays(2)).size(), std::size_t(50));
    }

    void invalidKeys() {
        chart->items().add("a", "R1", at(1), at(2), "A", "");
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().add("x", "R1", at(1), at(2), "A", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().add("x", "R1", at(3), at(4), "", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().add("x", "R1", at(3), at(4), "12", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().add("x", "R9", at(3), at(4), "B", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->rows().add("R1", "again"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->styles().add("7"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().get("B"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart->items().remove("2"));
        QCOMPARE(chart->items().count(), 1);
        QVERIFY(!chart->items().find("0"));
        QVERIFY(!chart->items().find("99999999999999999999"));
    }

    void removingRowRemovesItsItems() {
        chart->items().add("a", "R1", at(1), at(2), "A", "");
        chart->items().add("b", "R2", at(1), at(2), "B", "");
        chart->items().add("c", "R1", at(3), at(4), "C", "");
        QSignalSpy spy(chart.get(), &GanttData::changed);
        chart->rows().remove("1");
        QCOMPARE(spy.count(), 1);
        verifyOrder(*chart, {"B"});
        QCOMPARE(chart->rows().count(), 1);
        QCOMPARE(chart->rows().byPosition(1)->key(), QString("R2"));
        QCOMPARE(chart->rows().byKey("R2")->position(), 1);
        QVERIFY(!chart->conflicts(at(1), at(2), "R1"));
        // A new row of the old key starts empty.
        chart->rows().add("R1", "again");
        QVERIFY(chart->itemsInRange("R1", at(0), at(24)).empty());
    }

    void removingColumnShiftsCells() {
        chart->headingColumns().add("A", 50);
        chart->headingColumns().add("B", 60);
        chart->rows().byKey("R1")->setCell(1, "a1");
        chart->rows().byKey("R1")->setCell(2, "b1", "Resources");
        chart->headingColumns().remove(1);
        QCOMPARE(chart->headingColumns().byPosition(1)->caption, QString("B"));
        QCOMPARE(chart->rows().byKey("R1")->cell(1), (ChartRow::Cell{"b1", "Resources"}));
        QVERIFY(chart->rows().byKey("R1")->cell(2).text.isEmpty());
        QVERIFY_THROWS_EXCEPTION(AppError, chart->headingColumns().remove(5));
    }

    void addonTextNeedsItsStyle() {
        QVERIFY_THROWS_EXCEPTION(AppError, chart->addonText());
        QVERIFY_THROWS_EXCEPTION(AppError, chart->setAddonText("x"));
        CreateDefaultStyles(*chart);
        AddonStore& store = *chart;
        store.setAddonText(QString("a") + QChar(255) + "b" + QChar(254));
        QCOMPARE(chart->styles().byKey("Addon")->freeText, QString("a") + QChar(255) + "b" + QChar(254));
    }

private:
    std::unique_ptr<GanttData> chart;
};

QTEST_GUILESS_MAIN(TstGanttData)
#include "tst_ganttdata.moc"
