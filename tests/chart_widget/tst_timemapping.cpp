#include "chart/widget/RowAxis.h"
#include "chart/widget/TimeAxis.h"
#include "chart/widget/TimeScale.h"
#include "chart/widget/TimeUnit.h"

#include <QTest>

namespace {
TimePoint at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return TimePoint::fromDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
} // namespace

class TimeMappingTest : public QObject {
    Q_OBJECT
private slots:
    void unitFloorAndNext_data();
    void unitFloorAndNext();
    void unitRound_data();
    void unitRound();
    void gridCodes_data();
    void gridCodes();
    void everyScaleIsConsistent();
    void axisRoundTripsAtBoundaries_data();
    void axisRoundTripsAtBoundaries();
    void axisPixelRoundTripAtEveryScale();
    void axisBeforeOrigin();
    void rowAxis_data();
    void rowAxis();
    void rowAxisLargeIsExact();
};

void TimeMappingTest::unitFloorAndNext_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("amount");
    QTest::addColumn<TimePoint>("time");
    QTest::addColumn<TimePoint>("floor");
    QTest::addColumn<TimePoint>("next");

    using K = TimeUnit::Kind;
    QTest::newRow("5 seconds") << int(K::Second) << 5 << at(2024, 3, 4, 8, 0, 7) << at(2024, 3, 4, 8, 0, 5)
                               << at(2024, 3, 4, 8, 0, 10);
    QTest::newRow("15 minutes") << int(K::Minute) << 15 << at(2024, 3, 4, 8, 44, 59) << at(2024, 3, 4, 8, 30)
                                << at(2024, 3, 4, 8, 45);
    QTest::newRow("3 hours across midnight")
        << int(K::Hour) << 3 << at(2023, 12, 31, 23, 59, 59) << at(2023, 12, 31, 21) << at(2024, 1, 1);
    QTest::newRow("day") << int(K::Day) << 1 << at(2024, 2, 29, 13) << at(2024, 2, 29) << at(2024, 3, 1);
    QTest::newRow("week from Sunday")
        << int(K::Week) << 1 << at(2024, 3, 10, 23) << at(2024, 3, 4) << at(2024, 3, 11);
    QTest::newRow("week on Monday") << int(K::Week) << 1 << at(2024, 3, 4) << at(2024, 3, 4)
                                    << at(2024, 3, 11);
    QTest::newRow("week across the year")
        << int(K::Week) << 1 << at(2025, 1, 1) << at(2024, 12, 30) << at(2025, 1, 6);
    QTest::newRow("month end") << int(K::Month) << 1 << at(2024, 1, 31, 23, 59, 59) << at(2024, 1, 1)
                               << at(2024, 2, 1);
    QTest::newRow("quarter") << int(K::Quarter) << 1 << at(2024, 6, 30) << at(2024, 4, 1) << at(2024, 7, 1);
    QTest::newRow("year") << int(K::Year) << 1 << at(2024, 12, 31, 12) << at(2024, 1, 1) << at(2025, 1, 1);
    QTest::newRow("before day 0") << int(K::Hour) << 1 << at(1899, 12, 29, 10, 30) << at(1899, 12, 29, 10)
                                  << at(1899, 12, 29, 11);
}

void TimeMappingTest::unitFloorAndNext() {
    QFETCH(int, kind);
    QFETCH(int, amount);
    QFETCH(TimePoint, time);
    QFETCH(TimePoint, floor);
    QFETCH(TimePoint, next);
    const TimeUnit unit(TimeUnit::Kind(kind), amount);
    QCOMPARE(unit.floor(time), floor);
    QCOMPARE(unit.next(unit.floor(time)), next);
    QCOMPARE(unit.floor(floor), floor);
}

void TimeMappingTest::unitRound_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<TimePoint>("time");
    QTest::addColumn<TimePoint>("rounded");
    QTest::newRow("down") << "15n" << at(2024, 3, 4, 8, 7, 29) << at(2024, 3, 4, 8, 0);
    QTest::newRow("tie goes up") << "15n" << at(2024, 3, 4, 8, 7, 30) << at(2024, 3, 4, 8, 15);
    QTest::newRow("up across midnight") << "1h" << at(2024, 3, 4, 23, 31) << at(2024, 3, 5);
    QTest::newRow("day") << "1d" << at(2024, 3, 4, 11, 59) << at(2024, 3, 4);
    QTest::newRow("on the grid") << "30s" << at(2024, 3, 4, 8, 0, 30) << at(2024, 3, 4, 8, 0, 30);
}

void TimeMappingTest::unitRound() {
    QFETCH(QString, code);
    QFETCH(TimePoint, time);
    QFETCH(TimePoint, rounded);
    QCOMPARE(TimeUnit::fromCode(code).round(time), rounded);
}

void TimeMappingTest::gridCodes_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("5s") << "5s" << qint64(5);
    QTest::newRow("15n") << "15n" << qint64(900);
    QTest::newRow("2h") << "2h" << qint64(7200);
    QTest::newRow("12h upper case") << "12H" << qint64(43200);
    QTest::newRow("1d") << "1d" << qint64(86400);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("unit only") << "n" << qint64(0);
    QTest::newRow("zero") << "0n" << qint64(0);
    QTest::newRow("month is no grid") << "1m" << qint64(0);
}

void TimeMappingTest::gridCodes() {
    QFETCH(QString, code);
    QFETCH(qint64, seconds);
    const TimeUnit unit = TimeUnit::fromCode(code);
    QCOMPARE(unit.isValid(), seconds > 0);
    if (seconds > 0)
        QCOMPARE(unit.seconds(), seconds);
}

void TimeMappingTest::everyScaleIsConsistent() {
    const QStringList captions{"1 hour",     "5 seconds",  "10 seconds", "15 seconds",
                               "30 seconds", "1 minute",   "5 minutes",  "10 minutes",
                               "15 minutes", "30 minutes", "1 hour",     "3 hours",
                               "6 hours",    "12 hours",   "1 day",      "1 week"};
    for (int level = 0; level < TimeScale::count; ++level) {
        const TimeScale& scale = TimeScale::forLevel(level);
        QCOMPARE(TimeScale::caption(level), captions[level]);
        QVERIFY2(scale.lower.isFixed(), qPrintable(captions[level]));
        // The upper band holds whole lower cells, so that their lines meet; weeks cut across months.
        QVERIFY(scale.upper.seconds() > scale.lower.seconds());
        const TimePoint upperStart = scale.upper.floor(at(2024, 5, 17, 13, 37, 41));
        if (scale.lower.kind() != TimeUnit::Kind::Week)
            QCOMPARE(scale.lower.floor(upperStart), upperStart);
        if (level > 1)
            QVERIFY(scale.lower.seconds() >= TimeScale::forLevel(level - 1).lower.seconds());
    }
    QCOMPARE(TimeScale::forLevel(0).lower, TimeScale::forLevel(10).lower);
    QCOMPARE(TimeScale::forLevel(-3).lower, TimeScale::forLevel(0).lower);
    QCOMPARE(TimeScale::forLevel(99).lower, TimeScale::forLevel(15).lower);
}

void TimeMappingTest::axisRoundTripsAtBoundaries_data() {
    QTest::addColumn<TimePoint>("time");
    QTest::newRow("midnight") << at(2024, 3, 5);
    QTest::newRow("second before midnight") << at(2024, 3, 4, 23, 59, 59);
    QTest::newRow("leap day") << at(2024, 2, 29, 12);
    QTest::newRow("month start") << at(2024, 4, 1);
    QTest::newRow("month end") << at(2024, 4, 30, 23, 59, 59);
    QTest::newRow("year start") << at(2025, 1, 1);
    QTest::newRow("year end") << at(2024, 12, 31, 23, 59, 59);
    QTest::newRow("day 0") << TimePoint();
    QTest::newRow("before day 0") << at(1899, 12, 1, 7, 3, 9);
}

void TimeMappingTest::axisRoundTripsAtBoundaries() {
    QFETCH(TimePoint, time);
    const TimePoint origin = at(2023, 11, 27, 6, 15);
    for (int level = 0; level < TimeScale::count; ++level) {
        const TimeScale& scale = TimeScale::forLevel(level);
        const TimeAxis axis(origin, scale.lower.seconds(), scale.cellWidth);
        const qint64 x = axis.xAt(time);
        // The time lies in the pixel column it maps to: no earlier second maps there, and where a
        // second is at least a pixel wide the time comes back exactly.
        QVERIFY(axis.timeAt(x) <= time);
        QVERIFY(axis.xAt(time.addSeconds(1)) >= x);
        if (scale.cellWidth >= scale.lower.seconds())
            QCOMPARE(axis.timeAt(x), time);
        // Cell boundaries fall on exact pixels.
        const TimePoint cell = scale.lower.floor(time);
        QCOMPARE(axis.xAt(scale.lower.next(cell)) - axis.xAt(cell), qint64(scale.cellWidth));
    }
}

void TimeMappingTest::axisPixelRoundTripAtEveryScale() {
    for (int level = 0; level < TimeScale::count; ++level) {
        const TimeScale& scale = TimeScale::forLevel(level);
        const TimeAxis axis(at(2024, 1, 1), scale.lower.seconds(), scale.cellWidth);
        for (qint64 x = -500; x <= 500; x += 7) {
            const TimePoint t = axis.timeAt(x);
            if (scale.lower.seconds() >= scale.cellWidth)
                QCOMPARE(axis.xAt(t), x);
            else
                QVERIFY(axis.xAt(t) >= x && axis.xAt(t.addSeconds(-1)) < x);
        }
    }
}

void TimeMappingTest::axisBeforeOrigin() {
    const TimeAxis axis(at(2024, 1, 1), 900, 40); // scale 8
    QCOMPARE(axis.xAt(at(2023, 12, 31, 23, 45)), qint64(-40));
    QCOMPARE(axis.xAt(at(2023, 12, 31, 23, 59, 59)), qint64(-1));
    QCOMPARE(axis.timeAt(-40), at(2023, 12, 31, 23, 45));
    QCOMPARE(axis.timeAt(-1), at(2023, 12, 31, 23, 59, 38));
    QCOMPARE(axis.widthOf(3600), qint64(160));
}

void TimeMappingTest::rowAxis_data() {
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<qint64>("y");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("nearest");
    const QList<int> mixed{20, 32, 20, 1};
    QTest::newRow("first line") << mixed << qint64(0) << 0 << 0;
    QTest::newRow("last line of row 0") << mixed << qint64(19) << 0 << 0;
    QTest::newRow("first line of row 1") << mixed << qint64(20) << 1 << 1;
    QTest::newRow("tall row") << mixed << qint64(51) << 1 << 1;
    QTest::newRow("one pixel row") << mixed << qint64(72) << 3 << 3;
    QTest::newRow("below") << mixed << qint64(73) << -1 << 3;
    QTest::newRow("above") << mixed << qint64(-1) << -1 << 0;
    QTest::newRow("no rows") << QList<int>() << qint64(0) << -1 << -1;
}

void TimeMappingTest::rowAxis() {
    QFETCH(QList<int>, heights);
    QFETCH(qint64, y);
    QFETCH(int, row);
    QFETCH(int, nearest);
    const RowAxis axis(std::vector<int>(heights.begin(), heights.end()));
    QCOMPARE(axis.rowAt(y), row);
    QCOMPARE(axis.nearestRow(y), nearest);
    if (row >= 0)
        QVERIFY(axis.top(row) <= y && y < axis.bottom(row));
}

void TimeMappingTest::rowAxisLargeIsExact() {
    std::vector<int> heights;
    qint64 total = 0;
    for (int i = 0; i < 100000; ++i) {
        heights.push_back(18 + i % 7);
        total += heights.back();
    }
    const RowAxis axis(heights);
    QCOMPARE(axis.totalHeight(), total);
    for (int row : {0, 1, 4999, 77777, 99999}) {
        QCOMPARE(axis.rowAt(axis.top(row)), row);
        QCOMPARE(axis.rowAt(axis.bottom(row) - 1), row);
        QCOMPARE(axis.height(row), heights[std::size_t(row)]);
    }
}

QTEST_APPLESS_MAIN(TimeMappingTest)
#include "tst_timemapping.moc"
