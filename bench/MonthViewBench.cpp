#include "MonthViewBench.h"

#include "BenchTiming.h"
#include "app/GlobalData.h"
#include "app/UserPrompts.h"
#include "chart/GanttData.h"
#include "chart/widget/GanttChart.h"
#include "editing/core/bsSupport.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"
#include "views/MonthViewHost.h"
#include "views/frmMonthView.h"

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <vector>

using namespace bsSupport;

namespace {
constexpr int bookingsInMonth = 100;
constexpr int openings = 21;
constexpr int rebuilds = 51;
constexpr int seriesMembers = 9999;
constexpr int overviews = 10;

class BenchBoard : public MonthViewHost {
public:
    explicit BenchBoard(GanttData& chart)
        : m_chart(chart) {}
    GanttData& data() const override { return m_chart; }
    void setActDate(TimePoint) override {}

private:
    GanttData& m_chart;
};

std::unique_ptr<frmMonthView> openOverview(BenchBoard& board, const QString& resource, TimePoint month) {
    auto view = std::make_unique<frmMonthView>(board, nullptr);
    view->setRessourceID(resource);
    view->setThisMonth(month);
    view->show();
    QCoreApplication::processEvents();
    return view;
}

// Bookings of an hour in the afternoons of the month, clear of the generated mornings, until the
// resource holds `bookingsInMonth` there.
void fillMonth(GanttData& chart, clsItems& items, const QString& resource, TimePoint month) {
    const TimePoint end = month.addMonths(1);
    int held = int(chart.itemsInRange(resource, month, end).size());
    for (TimePoint start = month.addSeconds(13 * 3600); held < bookingsInMonth && start < end;) {
        if (!ConflictForNewItem(chart, start, start.addSeconds(3600), resource)) {
            items.Add(chart.items().add(QStringLiteral("Afternoon"), resource, start, start.addSeconds(3600),
                                        NewKey(), QStringLiteral("Date")),
                      QString());
            ++held;
        }
        start = start.secondOfDay() >= 17 * 3600 ? start.datePart().addDays(1).addSeconds(13 * 3600)
                                                 : start.addSeconds(2 * 3600);
    }
}

void measureOpening(BenchBoard& board, const QString& resource, TimePoint month, const PrintFigure& print) {
    std::vector<double> ms;
    for (int i = 0; i < openings; ++i) {
        const auto begin = Clock::now();
        const std::unique_ptr<frmMonthView> view = openOverview(board, resource, month);
        ms.push_back(msSince(begin));
    }
    print("monthview_open_median", median(ms), "ms");
}

void measureRebuild(BenchBoard& board, clsItems& items, const QString& resource, TimePoint month,
                    const PrintFigure& print) {
    const std::unique_ptr<frmMonthView> view = openOverview(board, resource, month);
    print("monthview_bars", view->monthChart().data().items().count(), "bars");
    std::vector<double> direct;
    std::vector<double> followed;
    ChartItem& booking = *board.data().itemsInRange(resource, month, month.addMonths(1)).back();
    for (int i = 0; i < rebuilds; ++i) {
        auto begin = Clock::now();
        view->ReadItems();
        direct.push_back(msSince(begin));
        // A change of one of its bookings, through the item table, and the repaint that follows.
        booking.setEnd(booking.end().addSeconds(i % 2 ? 60 : -60));
        begin = Clock::now();
        items.UpdateItem(booking, QString());
        view->chart()->viewport()->repaint();
        followed.push_back(msSince(begin));
    }
    print("monthview_rebuild_median", median(direct), "ms");
    print("monthview_change_and_repaint_median", median(followed), "ms");
}

// A daily series of `seriesMembers` members after a master on a resource of its own; returns the master.
ChartItem& addSeries(GanttData& chart, clsItems& items, const QString& resource, TimePoint first) {
    const QString seriesKey = NewKey();
    ChartItem& master = chart.items().add(QStringLiteral("Series"), resource, first.addSeconds(8 * 3600),
                                          first.addSeconds(9 * 3600), NewKey(), QStringLiteral("Date"));
    master.setSeriesKey(seriesKey);
    items.Add(master, QString());
    const ChartBatch batch(chart);
    for (int day = 1; day <= seriesMembers; ++day) {
        ChartItem& member = chart.items().add(master.caption(), resource, master.start().addDays(day),
                                              master.end().addDays(day), NewKey(), master.styleKey());
        member.setSeriesKey(seriesKey);
        items.Add(member, QString());
    }
    return master;
}

// Wall-clock and processor time of the carry-over of an hour later, repaints included.
std::pair<double, double> carryOver(GanttData& chart, clsItems& items, ChartItem& master) {
    const ItemSnapshot before = ItemSnapshot::of(master);
    master.setSpan(master.start().addSeconds(3600), master.end().addSeconds(3600));
    items.UpdateItem(master, QString());
    const Stopwatch watch;
    ItemMoved(chart, before, master, &items);
    QCoreApplication::processEvents();
    return {watch.wallMs(), watch.cpuMsSpent()};
}

void measureSeriesFollowUp(BenchBoard& board, clsItems& items, TimePoint first, const PrintFigure& print) {
    GanttData& chart = board.data();
    const QString resource = NewKey();
    chart.rows().add(resource, QStringLiteral("Month series"));
    ChartItem& master = addSeries(chart, items, resource, first);
    const auto [none, noneCpu] = carryOver(chart, items, master);
    std::vector<std::unique_ptr<frmMonthView>> views;
    for (int month = 0; month < overviews; ++month)
        views.push_back(openOverview(board, resource, first.addMonths(month)));
    const auto [ten, tenCpu] = carryOver(chart, items, master);
    print("series_followup_9999_no_overview", none, "ms");
    print("series_followup_9999_no_overview_cpu", noneCpu, "ms");
    print("series_followup_9999_ten_overviews", ten, "ms");
    print("series_followup_9999_ten_overviews_cpu", tenCpu, "ms");
    print("series_followup_ratio_ten_to_none", ten / none, "x");
    print("series_followup_ratio_ten_to_none_cpu", tenCpu / noneCpu, "x");
}
} // namespace

void measureMonthViews(GanttData& chart, clsItems& items, UserPrompts& yes, const PrintFigure& print) {
    GlobalData& global = globals();
    global.chart = &chart;
    global.items = &items;
    BenchBoard board(chart);
    // The middle resource, in the second month of the generated bookings.
    const QString resource = chart.rows().byPosition(chart.rows().count() / 2 + 1)->key();
    const TimePoint month = chart.items().byPosition(1)->start().datePart().addMonths(1);
    const TimePoint first = TimePoint::fromDate(QDate(month.date().year(), month.date().month(), 1));
    fillMonth(chart, items, resource, first);
    measureOpening(board, resource, first, print);
    measureRebuild(board, items, resource, first, print);
    setPrompts(&yes);
    measureSeriesFollowUp(board, items, first.addMonths(6), print);
    setPrompts(nullptr);
    global.chart = nullptr;
    global.items = nullptr;
}
