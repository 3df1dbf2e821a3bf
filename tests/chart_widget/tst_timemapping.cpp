#include "chart/GanttData.h"
#include "chart/widget/RowAxis.h"
#include "chart/widget/RowNavigation.h"
#include "chart/widget/TimeAxis.h"
#include "chart/widget/TimePattern.h"
#include "chart/widget/TimeScale.h"
#include "chart/widget/TimeUnit.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

namespace {
TimePoint at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return TimePoint::fromDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
} // namespace

// Time units, scales and axes, the row axis, time captions and the search for a row's neighbours.
class TimeMappingTest : public QObject {
    Q_OBJECT
private slots:
    void unitFloorAndNext_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("amount");
        QTest::addColumn<TimePoint>("time");
        QTest::addColumn<TimePoint>("floor");
        QTest::addColumn<TimePoint>("next");
        const auto row = [](const char* name, TimeUnit::Kind kind, int amount, TimePoint time,
                            TimePoint floor, TimePoint next) {
            QTest::newRow(name) << int(kind) << amount << time << floor << next;
        };
        using K = TimeUnit::Kind;
        row("5 seconds", K::Second, 5, at(2024, 3, 4, 8, 0, 7), at(2024, 3, 4, 8, 0, 5),
            at(2024, 3, 4, 8, 0, 10));
        row("15 minutes", K::Minute, 15, at(2024, 3, 4, 8, 44, 59), at(2024, 3, 4, 8, 30),
            at(2024, 3, 4, 8, 45));
        row("3 hours across midnight", K::Hour, 3, at(2023, 12, 31, 23, 59, 59), at(2023, 12, 31, 21),
            at(2024, 1, 1));
        row("day", K::Day, 1, at(2024, 2, 29, 13), at(2024, 2, 29), at(2024, 3, 1));
        row("week from Sunday", K::Week, 1, at(2024, 3, 10, 23), at(2024, 3, 4), at(2024, 3, 11));
        row("week on Monday", K::Week, 1, at(2024, 3, 4), at(2024, 3, 4), at(2024, 3, 11));
        row("week across the year", K::Week, 1, at(2025, 1, 1), at(2024, 12, 30), at(2025, 1, 6));
        row("month end", K::Month, 1, at(2024, 1, 31, 23, 59, 59), at(2024, 1, 1), at(2024, 2, 1));
        row("quarter", K::Quarter, 1, at(2024, 6, 30), at(2024, 4, 1), at(2024, 7, 1));
        row("year", K::Year, 1, at(2024, 12, 31, 12), at(2024, 1, 1), at(2025, 1, 1));
        row("before day 0", K::Hour, 1, at(1899, 12, 29, 10, 30), at(1899, 12, 29, 10), at(1899, 12, 29, 11));
    }

    void unitFloorAndNext() {
        QFETCH(int, kind);
        QFETCH(int, amount);
        QFETCH(TimePoint, time);
        QFETCH(TimePoint, floor);
        const TimeUnit unit(TimeUnit::Kind(kind), amount);
        QCOMPARE(unit.floor(time), floor);
        QTEST(unit.next(unit.floor(time)), "next");
        QCOMPARE(unit.floor(floor), floor);
    }

    // A grid code gives a unit of so many seconds, or none; a valid one rounds to its nearest step.
    void gridCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<TimePoint>("time");
        QTest::addColumn<TimePoint>("rounded");
        const auto row = [](const char* name, const char* code, qint64 seconds, TimePoint time = {},
                            TimePoint rounded = {}) {
            QTest::newRow(name) << QString(code) << seconds << time << rounded;
        };
        row("down", "15n", 900, at(2024, 3, 4, 8, 7, 29), at(2024, 3, 4, 8, 0));
        row("tie goes up", "15n", 900, at(2024, 3, 4, 8, 7, 30), at(2024, 3, 4, 8, 15));
        row("up across midnight", "1h", 3600, at(2024, 3, 4, 23, 31), at(2024, 3, 5));
        row("day", "1d", 86400, at(2024, 3, 4, 11, 59), at(2024, 3, 4));
        row("on the grid", "30s", 30, at(2024, 3, 4, 8, 0, 30), at(2024, 3, 4, 8, 0, 30));
        row("5s", "5s", 5, at(2024, 3, 4, 8, 0, 2), at(2024, 3, 4, 8, 0, 0));
        row("2h", "2h", 7200, at(2024, 3, 4, 9), at(2024, 3, 4, 10));
        row("12h upper case", "12H", 43200, at(2024, 3, 4, 5), at(2024, 3, 4));
        row("empty", "", 0);
        row("unit only", "n", 0);
        row("zero", "0n", 0);
        row("month is no grid", "1m", 0);
    }

    void gridCodes() {
        QFETCH(QString, code);
        QFETCH(qint64, seconds);
        QFETCH(TimePoint, time);
        const TimeUnit unit = TimeUnit::fromCode(code);
        QCOMPARE(unit.isValid(), seconds > 0);
        if (seconds > 0) {
            QCOMPARE(unit.seconds(), seconds);
            QTEST(unit.round(time), "rounded");
        }
    }

    void everyScaleIsConsistent() {
        for (int level = 0; level < TimeScale::count; ++level) {
            const TimeScale& scale = TimeScale::forLevel(level);
            QVERIFY2(scale.lower.isFixed(), qPrintable(TimeScale::caption(level)));
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

    void axisRoundTrips() {
        const TimePoint origin = at(2023, 11, 27, 6, 15);
        QList<TimePoint> boundaries; // days, months and years turning, and the time before day 0
        boundaries << at(2024, 3, 5) << at(2024, 3, 4, 23, 59, 59) << at(2024, 2, 29, 12) << at(2024, 4, 1)
                   << at(2024, 4, 30, 23, 59, 59) << at(2025, 1, 1) << at(2024, 12, 31, 23, 59, 59)
                   << TimePoint() << at(1899, 12, 1, 7, 3, 9);
        for (int level = 0; level < TimeScale::count; ++level) {
            const TimeScale& scale = TimeScale::forLevel(level);
            const TimeAxis axis(origin, scale.lower.seconds(), scale.cellWidth);
            for (const TimePoint time : boundaries) {
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
            // Every pixel comes back from its time, also left of the origin.
            const TimeAxis fromNewYear(at(2024, 1, 1), scale.lower.seconds(), scale.cellWidth);
            for (qint64 x = -500; x <= 500; x += 7) {
                const TimePoint t = fromNewYear.timeAt(x);
                if (scale.lower.seconds() >= scale.cellWidth)
                    QCOMPARE(fromNewYear.xAt(t), x);
                else
                    QVERIFY(fromNewYear.xAt(t) >= x && fromNewYear.xAt(t.addSeconds(-1)) < x);
            }
        }
        const TimeAxis axis(at(2024, 1, 1), 900, 40); // scale 8
        QCOMPARE(axis.xAt(at(2023, 12, 31, 23, 45)), qint64(-40));
        QCOMPARE(axis.xAt(at(2023, 12, 31, 23, 59, 59)), qint64(-1));
        QCOMPARE(axis.timeAt(-40), at(2023, 12, 31, 23, 45));
        QCOMPARE(axis.timeAt(-1), at(2023, 12, 31, 23, 59, 38));
        QCOMPARE(axis.widthOf(3600), qint64(160));
    }

    void rowAxis() {
        const RowAxis axis(std::vector<int>{20, 32, 20, 1});
        // y, the row there, the nearest row
        for (const auto& [y, row, nearest] : {std::tuple<qint64, int, int>{0, 0, 0},
                                              {19, 0, 0},
                                              {20, 1, 1},
                                              {51, 1, 1},
                                              {72, 3, 3},
                                              {73, -1, 3},
                                              {-1, -1, 0}}) {
            QCOMPARE(axis.rowAt(y), row);
            QCOMPARE(axis.nearestRow(y), nearest);
            if (row >= 0)
                QVERIFY(axis.top(row) <= y && y < axis.bottom(row));
        }
        const RowAxis none{std::vector<int>()};
        QCOMPARE(none.rowAt(0), -1);
        QCOMPARE(none.nearestRow(0), -1);
        std::vector<int> heights;
        qint64 total = 0;
        for (int i = 0; i < 100000; ++i) {
            heights.push_back(18 + i % 7);
            total += heights.back();
        }
        const RowAxis large(heights);
        QCOMPARE(large.totalHeight(), total);
        for (int row : {0, 1, 4999, 77777, 99999}) {
            QCOMPARE(large.rowAt(large.top(row)), row);
            QCOMPARE(large.rowAt(large.bottom(row) - 1), row);
            QCOMPARE(large.height(row), heights[std::size_t(row)]);
        }
    }

    void timePatternFormat_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<TimePoint>("time");
        QTest::addColumn<QString>("expected");
        const TimePoint morning = at(2024, 3, 4, 8, 5, 9);
        const TimePoint evening = at(2023, 12, 31, 23, 59, 1);
        const auto row = [](const char* name, const char* pattern, TimePoint time, const QString& expected) {
            QTest::newRow(name) << QString(pattern) << time << expected;
        };
        row("time caption", "hh:nn", morning, "08:05");
        row("short hour and minute", "h:n:s", morning, "8:5:9");
        row("seconds", "ss", evening, "01");
        row("m is the month, n the minute", "m/n", morning, "3/5");
        row("day and month numbers", "d.m. dd.mm.", morning, "4.3. 04.03.");
        row("weekday names", "ddd dddd", morning, "Mo. Montag");
        row("month names", "mmm mmmm", evening, "Dez. Dezember");
        row("years", "yy yyyy", evening, "23 2023");
        row("day of the year", "y", evening, "365");
        row("quarter", "q/yyyy", morning, "1/2024");
        row("last quarter", "q", evening, "4");
        row("default day caption", "dddd dd mmmm yyyy", morning, "Montag 04 März 2024");
        row("any letter case", "DDD DD MMM YYYY HH:NN", morning, "Mo. 04 März 2024 08:05");
        row("short date", "ddddd", morning, "04.03.24");
        row("runs longer than a token", "mmmmm", morning, "März3");
        row("week of the year and weekday", "ww w", morning, "10 2");
        row("quoted text", "\"Week\" ww", morning, "Week 10");
        row("escaped letter", "\\d d", morning, "d 4");
        row("other characters kept", "[hh] - nn!", morning, "[08] - 05!");
        row("unclosed quote", "hh \"dd", morning, "08 dd");
        row("empty", "", morning, "");
    }

    void timePatternFormat() {
        QFETCH(QString, pattern);
        QFETCH(TimePoint, time);
        QTEST(TimePattern::format(pattern, time, QLocale(QLocale::German, QLocale::Germany)), "expected");
    }

    void timePatternProblem_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, const QString& pattern, const char* problem) {
            QTest::newRow(name) << pattern << QString(problem);
        };
        const char* tooLong = "it is longer than 80 characters.";
        const char* control = "it holds a line break, tab or other control character.";
        row("default day caption", "dddd dd mmmm yyyy", "");
        row("empty", "", "");
        row("longest runs", "dddddd mmmm yyyy hh nn ss ww q", "");
        row("quoted letters are text", "\"dddddddd\" hh", "");
        row("escaped letter", "\\dddddd", "");
        row("other characters repeat freely", "hh::::::::nn", "");
        row("as long as allowed", QString(80, 'x'), "");
        row("too long", QString(81, 'x'), tooLong);
        row("1,000 characters", QString("dd.").repeated(333) + "d", tooLong);
        row("letters only", QString(20, 'd'), "20 letters d in a row are no pattern (at most 6).");
        row("run in any case", "mmMmm", "5 letters m in a row are no pattern (at most 4).");
        row("quarter twice", "qq", "2 letters q in a row are no pattern (at most 1).");
        row("unclosed quote", "hh \"dd", "a quotation mark is not closed.");
        row("backslash at the end", "hh\\", "it ends with a backslash.");
        row("tab", "hh\tnn", control);
        row("line break inside quotes", "\"a\nb\"", control);
    }

    void timePatternProblem() {
        QFETCH(QString, pattern);
        QTEST(TimePattern::problem(pattern), "problem");
    }

    // The widening searches of RowNavigation against a plain sorted list, on random rows where
    // bookings overlap, lie years apart and share starts.
    void rowNavigationMatchesASortedList() {
        QRandomGenerator random(17);
        const TimePoint origin = TimePoint::fromDate(QDate(2026, 1, 1));
        for (int round = 0; round < 40; ++round) {
            GanttData data;
            data.rows().add("R", "Row");
            data.rows().add("Other", "Other");
            std::vector<ChartItem*> sorted;
            const int count = int(random.bounded(1, 60));
            for (int i = 0; i < count; ++i) {
                // Mostly close together, now and then decades away; some long enough to reach over others.
                const std::int64_t spread = random.bounded(4) == 0 ? 3600LL * 24 * 365 * 40 : 3600LL * 24 * 3;
                const TimePoint start =
                    origin.addSeconds(std::int64_t(random.bounded(double(spread))) / 60 * 60 - spread / 2);
                const std::int64_t length =
                    random.bounded(5) == 0 ? 3600LL * 24 * 400 : 60 * (1 + random.bounded(300));
                sorted.push_back(&data.items().add({}, "R", start, start.addSeconds(length),
                                                   "i" + QString::number(i), {}));
                data.items().add({}, "Other", start, start.addSeconds(60), "o" + QString::number(i), {});
            }
            std::stable_sort(sorted.begin(), sorted.end(),
                             [](const ChartItem* a, const ChartItem* b) { return a->start() < b->start(); });
            const RowNavigation row(data, "R");
            QCOMPARE(row.firstFrom(TimePoint::minimum()), sorted.front());
            QCOMPARE(row.lastBefore(TimePoint::maximum()), sorted.back());
            for (std::size_t i = 0; i < sorted.size(); ++i) {
                QCOMPARE(row.next(*sorted[i]), i + 1 < sorted.size() ? sorted[i + 1] : nullptr);
                QCOMPARE(row.previous(*sorted[i]), i > 0 ? sorted[i - 1] : nullptr);
                // Just after this start, and just at it.
                for (const TimePoint t : {sorted[i]->start().addSeconds(1), sorted[i]->start()}) {
                    const auto from = std::find_if(sorted.begin(), sorted.end(),
                                                   [&](const ChartItem* item) { return item->start() >= t; });
                    QCOMPARE(row.firstFrom(t), from == sorted.end() ? nullptr : *from);
                    QCOMPARE(row.lastBefore(t), from == sorted.begin() ? nullptr : *(from - 1));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TimeMappingTest)
#include "tst_timemapping.moc"
