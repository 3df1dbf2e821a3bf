#include "DataTable.h"
#include "app/TimePoint.h"

#include <climits>
#include <cmath>
#include <limits>

class TstTimePoint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void dayZeroAndFractions() {
        QCOMPARE(TimePoint::fromDate(QDate(1899, 12, 30)).seconds(), 0);
        const TimePoint t = TimePoint::fromDateTime(QDate(2024, 2, 29), QTime(18, 0));
        QCOMPARE(t.days(), 45351.75);
        QCOMPARE(TimePoint::fromDays(45351.75), t);
        QCOMPARE(t.datePart(), TimePoint::fromDate(QDate(2024, 2, 29)));
        QCOMPARE(t.timePart(), TimePoint::fromTimeOfDay(18, 0));
        // Before day 0 the whole day is still the day the time lies in.
        const TimePoint early = TimePoint::fromDateTime(QDate(1899, 12, 29), QTime(6, 0));
        QCOMPARE(early.date(), QDate(1899, 12, 29));
        QCOMPARE(early.time(), QTime(6, 0));
    }

    void addInterval_data() {
        addColumns<QDateTime, QString, int, QDateTime>("from", "unit", "amount", "expected");
        auto at = [](int y, int m, int d, int h = 0, int n = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, n, s));
        };
        addRow("seconds over midnight", at(2023, 12, 31, 23, 59, 50), "s", 15, at(2024, 1, 1, 0, 0, 5));
        addRow("minutes backwards", at(2024, 3, 1, 0, 10), "n", -20, at(2024, 2, 29, 23, 50));
        addRow("hours across DST spring", at(2024, 3, 31, 1, 0), "H", 2, at(2024, 3, 31, 3, 0));
        addRow("days over leap day", at(2024, 2, 28, 8), "d", 2, at(2024, 3, 1, 8));
        addRow("weeks", at(2024, 12, 30), "ww", 1, at(2025, 1, 6));
        addRow("month end clamped", at(2024, 1, 31, 9), "m", 1, at(2024, 2, 29, 9));
        addRow("month end non-leap", at(2023, 1, 31), "m", 1, at(2023, 2, 28));
        addRow("month backwards over year", at(2024, 3, 31), "m", -4, at(2023, 11, 30));
        addRow("quarter", at(2024, 11, 30), "q", 1, at(2025, 2, 28));
        addRow("leap year to plain", at(2024, 2, 29), "yyyy", 1, at(2025, 2, 28));
        addRow("short year code", at(2024, 2, 29, 7), "Y", 4, at(2028, 2, 29, 7));
        addRow("short year code over year end", at(2024, 12, 31), "y", -1, at(2023, 12, 31));
        addRow("unknown unit unchanged", at(2024, 5, 5), "x", 3, at(2024, 5, 5));
    }

    void addInterval() {
        QFETCH(QDateTime, from);
        QFETCH(QString, unit);
        QFETCH(int, amount);
        QTEST(TimePoint::fromDateTime(from).addInterval(unit, amount).toDateTime(), "expected");
    }

    void displayForms() {
        const TimePoint t = TimePoint::fromDateTime(QDate(2004, 2, 1), QTime(7, 5, 9));
        QCOMPARE(t.shortDate(), QString("01.02.2004"));
        QCOMPARE(TimePoint::fromDate(QDate(2035, 6, 1)).shortDate(), QString("01.06.2035"));
        QCOMPARE(t.shortTime(), QString("07:05"));
        QCOMPARE(t.generalDate(), QString("01.02.2004 07:05:09"));
        QCOMPARE(t.mediumDate(), QString("01-Feb.-2004"));
        QCOMPARE(t.isoText(), QString("2004-02-01 07:05:09"));
    }

    // Every way to make or move a time point stays in its range, however far the input reaches.
    void extremesStayInRange_data() {
        addColumns<qint64, qint64>("seconds", "expected");
        constexpr qint64 lowest = std::numeric_limits<qint64>::min();
        constexpr qint64 highest = std::numeric_limits<qint64>::max();
        const qint64 minimum = TimePoint::minimumSeconds;
        const qint64 maximum = TimePoint::maximumSeconds;
        const auto row = [](const char* name, TimePoint t, qint64 expected) {
            addRow(name, qint64(t.seconds()), expected);
        };
        row("lowest seconds", TimePoint::fromSeconds(lowest), minimum);
        row("highest seconds", TimePoint::fromSeconds(highest), maximum);
        row("seconds past the end", TimePoint::maximum().addSeconds(highest), maximum);
        row("seconds before the start", TimePoint::minimum().addSeconds(lowest), minimum);
        row("days forward", TimePoint().addDays(highest), maximum);
        row("days backward", TimePoint().addDays(lowest), minimum);
        row("minutes", TimePoint().addInterval("n", highest), maximum);
        row("weeks", TimePoint().addInterval("ww", lowest), minimum);
        row("months", TimePoint().addInterval("m", highest), maximum);
        row("years backward", TimePoint().addInterval("yyyy", lowest), minimum);
        row("a month after the last", TimePoint::maximum().addMonths(1), maximum);
        row("a quarter before the first", TimePoint::minimum().addInterval("q", -1), minimum);
        row("days without a number", TimePoint::fromDays(std::nan("")), 0);
        row("endless days", TimePoint::fromDays(std::numeric_limits<double>::infinity()), maximum);
        row("huge negative days", TimePoint::fromDays(-1e300), minimum);
        row("invalid date", TimePoint::fromDate(QDate()), 0);
        row("date after the range", TimePoint::fromDate(QDate(20000, 1, 1)), maximum);
        row("date before the range", TimePoint::fromDateTime(QDate(-4000, 1, 1), QTime(8, 0)), minimum);
        row("huge time of day", TimePoint::fromTimeOfDay(INT_MAX, INT_MAX, INT_MAX), maximum);
        row("first day", TimePoint::minimum().datePart(), minimum);
        row("last day", TimePoint::maximum().datePart(), maximum - 86399);
        row("last time of day", TimePoint::maximum().timePart(), 86399);
    }

    void extremesStayInRange() {
        QFETCH(qint64, seconds);
        QFETCH(qint64, expected);
        QCOMPARE(seconds, expected);
        QVERIFY(TimePoint::inRange(seconds));
        const TimePoint t = TimePoint::fromSeconds(seconds);
        QVERIFY(t.date().isValid());
        QCOMPARE(TimePoint::fromDateTime(t.date(), t.time()), t);
    }

    void rangeEdgesAreTheCalendarsEdges() {
        QCOMPARE(TimePoint::minimum().toDateTime(), QDateTime(QDate(100, 1, 1), QTime(0, 0)));
        QCOMPARE(TimePoint::maximum().toDateTime(), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
        QCOMPARE(TimePoint::maximum() - TimePoint::minimum(),
                 TimePoint::maximumSeconds - TimePoint::minimumSeconds);
    }

    void parseIso() {
        TimePoint t;
        QVERIFY(TimePoint::parseIso("2024-03-31 02:30:00", &t)); // skipped by DST, but naive time keeps it
        QCOMPARE(t.time(), QTime(2, 30));
        QVERIFY(TimePoint::parseIso("2024-03-31", &t));
        QCOMPARE(t, TimePoint::fromDate(QDate(2024, 3, 31)));
        QVERIFY(!TimePoint::parseIso("2024-02-30", &t));
        QVERIFY(!TimePoint::parseIso("yesterday", &t));
    }
};

QTEST_GUILESS_MAIN(TstTimePoint)
#include "tst_timepoint.moc"
