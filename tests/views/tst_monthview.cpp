#include "../app/DataTable.h"
#include "../editing_ui/EditingFixture.h"
#include "chart/widget/GanttChart.h"
#include "views/MonthViewHost.h"
#include "views/frmMonthView.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
class BoardStub : public MonthViewHost {
public:
    explicit BoardStub(GanttData& chart)
        : m_chart(chart) {}
    GanttData& data() const override { return m_chart; }
    void setActDate(TimePoint date) override { dates << date; }
    QList<TimePoint> dates;

private:
    GanttData& m_chart;
};

QString clock(std::int64_t seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600, 2, 10, QChar('0'))
        .arg(seconds / 60 % 60, 2, 10, QChar('0'));
}

// Every bar as "day from-to caption", in order.
QStringList barsOf(const GanttData& month) {
    QStringList bars;
    for (int position = 1; position <= month.items().count(); ++position) {
        const ChartItem& bar = *month.items().byPosition(position);
        bars << bar.rowKey().mid(2) + ' ' + clock(bar.start().seconds()) + '-' + clock(bar.end().seconds()) +
                    ' ' + bar.caption();
    }
    bars.sort();
    return bars;
}

// The bars as the plain rule gives them: every booking of the resource walked day by day from its
// start, a piece of no length at a midnight it ends on left out, a series member's caption prefixed.
QStringList referenceBars(const GanttData& board, const QString& resource, const QDate& month) {
    QStringList bars;
    for (int position = 1; position <= board.items().count(); ++position) {
        const ChartItem& item = *board.items().byPosition(position);
        if (item.rowKey() != resource)
            continue;
        for (TimePoint d = item.start(); d <= item.end(); d = d.datePart().addDays(1)) {
            const std::int64_t end =
                std::min<std::int64_t>(item.end() - d.datePart(), TimePoint::secondsPerDay);
            const bool emptyTail = d > item.start() && end == 0;
            const QString caption = item.seriesKey().isEmpty() ? item.caption() : "(S) " + item.caption();
            if (d.date().year() == month.year() && d.date().month() == month.month() && !emptyTail)
                bars << MonthChart::rowKey(d.date().day()).mid(2) + ' ' + clock(d.secondOfDay()) + '-' +
                            clock(end) + ' ' + caption;
        }
    }
    bars.sort();
    return bars;
}
} // namespace

class TstMonthView : public QObject {
    Q_OBJECT

    std::unique_ptr<EditingFixture> f;
    std::unique_ptr<BoardStub> m_board;
    std::unique_ptr<frmMonthView> m_view;

    TestTimetable& timetable() { return f->timetable; }
    frmMonthView& openView(const QString& resource, const QDate& month) {
        m_view = std::make_unique<frmMonthView>(*m_board, nullptr);
        m_view->setRessourceID(resource);
        m_view->setThisMonth(TimePoint::fromDate(month));
        return *m_view;
    }
    QStringList bars() const { return barsOf(m_view->monthChart().data()); }

private slots:
    void init() {
        f = std::make_unique<EditingFixture>();
        m_board = std::make_unique<BoardStub>(timetable().chart);
    }
    void cleanup() {
        m_view.reset();
        m_board.reset();
        QCOMPARE(f->prompts.unansweredCount(), 0);
        f.reset();
    }

    // A month opened, then perhaps stepped from: its label, a heading per day, the bookings of its days.
    void daysOfAMonth_data() {
        // button: -1: none
        const auto row =
            columns<QDate, int, QString, QString, int>("month", "button", "label", "firstHeading", "days");
        const int next = frmMonthView::NextMonth, previous = frmMonthView::PreviousMonth;
        row("28 days", QDate(2023, 2, 14), -1, "Februar, 2023", "01.02.2023 Mi.", 28);
        row("29 days", QDate(2024, 2, 14), -1, "Februar, 2024", "01.02.2024 Do.", 29);
        row("31 days in 1900", QDate(1900, 1, 5), -1, "Januar, 1900", "01.01.1900 Mo.", 31);
        row("30 days in 2199", QDate(2199, 6, 5), -1, "Juni, 2199", "01.06.2199 Sa.", 30);
        row("December to January", QDate(2024, 12, 31), next, "Januar, 2025", "01.01.2025 Mi.", 31);
        row("January to December", QDate(2025, 1, 1), previous, "Dezember, 2024", "01.12.2024 So.", 31);
        row("before 1900", QDate(1900, 1, 20), previous, "Dezember, 1899", "01.12.1899 Fr.", 31);
        row("after the last month", QDate(9999, 12, 31), next, "Dezember, 9999", "01.12.9999 Mi.", 31);
        row("from a 31st", QDate(2024, 1, 31), next, "Februar, 2024", "01.02.2024 Do.", 29);
    }
    void daysOfAMonth() {
        QFETCH(QDate, month);
        QFETCH(int, button);
        QFETCH(int, days);
        const QDate shown = button == frmMonthView::NextMonth && month.year() < 9999 ? month.addMonths(1)
                            : button == frmMonthView::PreviousMonth                  ? month.addMonths(-1)
                                                                                     : month;
        const TimePoint first = TimePoint::fromDate(QDate(shown.year(), shown.month(), 1));
        timetable().addItem("first", alice, first, first.addSeconds(60));
        frmMonthView& view = openView(alice, month);
        if (button >= 0)
            view.cmdMove_Click(button);
        QCOMPARE(view.windowTitle(), QStringLiteral("Monthly Overview") + "Alice");
        QTEST(view.monthLabel(), "label");
        const GanttData& chart = view.monthChart().data();
        QCOMPARE(chart.rows().count(), 31);
        QTEST(chart.rows().byPosition(1)->cell(1).text, "firstHeading");
        for (int day = 1; day <= 31; ++day)
            QCOMPARE(chart.rows().byKey(MonthChart::rowKey(day))->cell(1).text,
                     day <= days ? MonthChart::headingText(QDate(shown.year(), shown.month(), day))
                                 : QString());
        QCOMPARE(bars(), QStringList{"01 00:00-00:01 first"});
    }

    void barsCutAtMidnight_data() {
        const auto row =
            columns<TimePoint, TimePoint, QDate, QStringList>("start", "end", "month", "expected");
        QStringList wholeApril;
        for (int day = 1; day <= 30; ++day)
            wholeApril << QStringLiteral("%1 00:00-24:00 b").arg(day, 2, 10, QChar('0'));
        row("across midnight", at(2024, 4, 5, 22), at(2024, 4, 6, 2), QDate(2024, 4, 1),
            QStringList{"05 22:00-24:00 b", "06 00:00-02:00 b"});
        row("year end, next month", at(2024, 12, 31, 23), at(2025, 1, 1, 1), QDate(2025, 1, 1),
            QStringList{"01 00:00-01:00 b"});
        row("a year before and after", at(2023, 4, 10, 8), at(2024, 5, 2), QDate(2024, 4, 1), wholeApril);
        row("ends at midnight", at(2024, 4, 5, 20), at(2024, 4, 6), QDate(2024, 4, 1),
            QStringList{"05 20:00-24:00 b"});
        row("ends at the month's first midnight", at(2024, 3, 31, 20), at(2024, 4, 1), QDate(2024, 4, 1),
            QStringList{});
    }
    void barsCutAtMidnight() {
        QFETCH(TimePoint, start);
        QFETCH(TimePoint, end);
        QFETCH(QDate, month);
        timetable().addItem("b", alice, start, end).setText("Notes");
        timetable().addItem("other", bob, start, end);
        openView(alice, month);
        QTEST(bars(), "expected");
        QCOMPARE(bars(), referenceBars(timetable().chart, alice, month));
        const GanttData& chart = m_view->monthChart().data();
        for (int position = 1; position <= chart.items().count(); ++position) {
            const ChartItem& bar = *chart.items().byPosition(position);
            QCOMPARE(bar.seriesKey() + ' ' + bar.text() + ' ' + bar.styleKey(),
                     QStringLiteral("b Notes Date"));
        }
    }

    void randomChangesGiveThePlainRulesBars() {
        QRandomGenerator random(13);
        const TimePoint origin = TimePoint::fromDate(QDate(2023, 11, 1));
        // Starts and ends on the half hour, so that many fall on a midnight; now and then one of no
        // length or one of many weeks.
        auto span = [&](ChartItem& item) {
            const TimePoint start = origin.addSeconds(std::int64_t(random.bounded(120 * 48)) * 1800);
            const int kind = random.bounded(10);
            const std::int64_t halfHours = kind == 0   ? 0
                                           : kind == 1 ? random.bounded(90 * 48)
                                                       : random.bounded(150);
            item.setSpan(start, start.addSeconds(halfHours * 1800));
        };
        TestTimetable& t = timetable();
        int made = 0;
        auto add = [&] {
            const QString key = QStringLiteral("k%1").arg(made++);
            ChartItem& item =
                t.chart.items().add(key, random.bounded(3) ? alice : bob, origin, origin, key, "Date");
            span(item);
            item.setSeriesKey(random.bounded(5) ? QString() : QStringLiteral("series"));
            t.items.Add(item, QString());
        };
        for (int n = 0; n < 300; ++n)
            add();
        openView(alice, QDate(2023, 11, 1));
        for (int step = 0; step < 400; ++step) {
            ChartItem& item = *t.chart.items().byPosition(1 + int(random.bounded(t.chart.items().count())));
            switch (random.bounded(6)) {
            case 0:
                add();
                break;
            case 1:
                t.items.Delete(item.key(), QString());
                break;
            case 2:
                item.setRowKey(item.rowKey() == alice ? bob : alice);
                t.items.UpdateItem(item, QString());
                break;
            case 3:
                m_view->cmdMove_Click(random.bounded(2) ? frmMonthView::NextMonth
                                                        : frmMonthView::PreviousMonth);
                break;
            default:
                span(item);
                t.items.UpdateItem(item, QString());
                break;
            }
            QCOMPARE(bars(), referenceBars(t.chart, alice, m_view->monthChart().month()));
        }
    }

    void rebuildsOnlyWhenItsBarsMayChange_data() {
        const auto row = columns<QString, bool>("change", "rebuilt");
        row("other resource changed", "change theirs", false);
        row("other month changed", "change may", false);
        row("own booking changed", "change mine", true);
        row("own booking moved away", "move mine to bob", true);
        row("booking moved here", "move theirs to alice", true);
        row("added to another resource", "add to bob", false);
        row("added here", "add to alice", true);
        row("other deleted", "delete theirs", false);
        row("own deleted", "delete mine", true);
    }
    void rebuildsOnlyWhenItsBarsMayChange() {
        QFETCH(QString, change);
        TestTimetable& t = timetable();
        ChartItem& mine = t.addItem("mine", alice, at(2024, 4, 10, 8), at(2024, 4, 10, 9));
        t.addItem("member", alice, at(2024, 4, 20, 8), at(2024, 4, 20, 9), "{SERIES}");
        ChartItem& may = t.addItem("may", alice, at(2024, 5, 10, 8), at(2024, 5, 10, 9));
        ChartItem& theirs = t.addItem("theirs", bob, at(2024, 4, 12, 8), at(2024, 4, 12, 9));
        openView(alice, QDate(2024, 4, 1));
        QCOMPARE(bars(), QStringList({"10 08:00-09:00 mine", "20 08:00-09:00 (S) member"}));
        QSignalSpy rebuilds(&m_view->monthChart().data(), &GanttData::changed);
        auto update = [&](ChartItem& item, TimePoint start, const QString& row) {
            item.setRowKey(row);
            item.setSpan(start, start.addSeconds(3600));
            t.items.UpdateItem(item, QString());
        };
        if (change == "change theirs")
            update(theirs, at(2024, 4, 13, 8), bob);
        else if (change == "change may")
            update(may, at(2024, 5, 11, 8), alice);
        else if (change == "change mine")
            update(mine, at(2024, 4, 11, 8), alice);
        else if (change == "move mine to bob")
            update(mine, mine.start(), bob);
        else if (change == "move theirs to alice")
            update(theirs, theirs.start(), alice);
        else if (change.startsWith("add to"))
            t.addItem("new", change.endsWith("bob") ? bob : alice, at(2024, 4, 15), at(2024, 4, 15, 1));
        else
            t.items.Delete(change.endsWith("mine") ? "mine" : "theirs", QString());
        QTEST(rebuilds.count() > 0, "rebuilt");
        QCOMPARE(bars(), referenceBars(t.chart, alice, QDate(2024, 4, 1)));
    }

    void closesWhenAnotherTimetableIsLoaded_data() {
        QTest::addColumn<bool>("emptied");
        QTest::newRow("read again") << false;
        QTest::newRow("emptied") << true;
    }
    void closesWhenAnotherTimetableIsLoaded() {
        QFETCH(bool, emptied);
        timetable().addItem("mine", alice, at(2024, 4, 10, 8), at(2024, 4, 10, 9));
        openView(alice, QDate(2024, 4, 1)).show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        if (emptied)
            timetable().chart.clear();
        else
            timetable().items.ReadItems();
        QVERIFY(!m_view->isVisible());
        // Closed, it no longer listens: a later booking there leaves it as it was.
        QSignalSpy rebuilds(&m_view->monthChart().data(), &GanttData::changed);
        if (!emptied)
            timetable().addItem("later", alice, at(2024, 4, 11, 8), at(2024, 4, 11, 9));
        QCOMPARE(rebuilds.count(), 0);
    }

    void doubleClickOnADay_data() {
        const auto row = columns<QDate, int, QDate>("month", "row", "day");
        row("a day", QDate(2024, 4, 1), 15, QDate(2024, 4, 15));
        row("row 31 of April", QDate(2024, 4, 1), 31, QDate(2024, 5, 1));
        row("row 30 of a short February", QDate(2023, 2, 1), 30, QDate(2023, 3, 2));
        row("row 31 of December", QDate(2024, 12, 1), 31, QDate(2024, 12, 31));
    }
    void doubleClickOnADay() {
        QFETCH(QDate, month);
        QFETCH(int, row);
        QFETCH(QDate, day);
        frmMonthView& view = openView(alice, month);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        GanttChart& chart = *view.chart();
        const QPoint point(chart.viewport()->width() - 5, (chart.rowTop(row) + chart.rowBottom(row)) / 2);
        QTest::mouseDClick(chart.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(m_board->dates, QList<TimePoint>{TimePoint::fromDate(day)});
        view.cntAC_ClientAreaDblClick(QPoint(point.x(), chart.rowBottom(31) + 2));
        QCOMPARE(m_board->dates.size(), 1);
    }

    void doubleClickOnABarSelectsItsBooking() {
        TestMessenger board(QStringLiteral("{BOARD}"));
        timetable().items.AddMessenger(board);
        timetable().addItem("cross", alice, at(2024, 4, 5, 22), at(2024, 4, 6, 2)).setText("Notes");
        frmMonthView& view = openView(alice, QDate(2024, 4, 1));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        GanttChart& chart = *view.chart();
        const QPoint secondBar(chart.xAt(MonthChart::shownDay.addSeconds(3600)),
                               (chart.rowTop(6) + chart.rowBottom(6)) / 2);
        const ChartItem* bar = chart.hitTest(secondBar).item;
        QVERIFY(bar);
        QTest::mouseDClick(chart.viewport(), Qt::LeftButton, Qt::NoModifier, secondBar);
        QCOMPARE(timetable().items.SelectedItem(), QStringLiteral("cross"));
        QCOMPARE(board.heard.last(), "selected cross " + view.ID());
        QString tip = QStringLiteral("the chart's own");
        view.cntAC_GanttItemTipText(tip, *bar);
        QCOMPARE(tip, QStringLiteral("05.04.2024 22:00 - 06.04.2024 02:00\r\ncross\r\nNotes"));
        timetable().items.RemoveMessenger(board);
    }

    void showsWhatExists() {
        TestTimetable& t = timetable();
        t.addItem("styled", alice, at(2024, 4, 2, 8), at(2024, 4, 2, 9)).setStyleKey("Deleted style");
        t.addItem("theirs", bob, at(2024, 4, 2, 8), at(2024, 4, 2, 9));
        frmMonthView& view = openView(alice, QDate(2024, 4, 1));
        QCOMPARE(bars(), QStringList{"02 08:00-09:00 styled"});
        // The resource goes without a word to the views but the rows' change.
        t.chart.rows().remove(alice);
        t.items.RowsChanged();
        QCOMPARE(view.windowTitle(), QStringLiteral("Monthly Overview"));
        view.ReadItems();
        QCOMPARE(bars(), QStringList{});
        view.setRessourceID(QStringLiteral("{NO SUCH ROW}"));
        view.cmdMove_Click(frmMonthView::NextMonth);
        QCOMPARE(view.windowTitle(), QStringLiteral("Monthly Overview"));
        QCOMPARE(bars(), QStringList{});
    }
};

QTEST_MAIN(TstMonthView)
#include "tst_monthview.moc"
