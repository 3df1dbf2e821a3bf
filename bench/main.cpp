// qunta-bench: figures of the real board's start, the item table, the conflict test, the series
// follow-up, the chart widget, the monthly overview and the series, clean-up and styles dialogs on
// large timetables. Every figure is printed as one line "name value unit".

#include "BenchTiming.h"
#include "BoardBench.h"
#include "BoardProbe.h"
#include "EditingDialogsBench.h"
#include "HistoryBench.h"
#include "ListviewBench.h"
#include "MonthViewBench.h"
#include "PaintTiming.h"
#include "QuietMessenger.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "app/clsSettings.h"
#include "app/ui/ctrOSC.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/widget/ChartHit.h"
#include "chart/widget/GanttChart.h"
#include "editing/core/bsSupport.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"
#include "model/iMessenger.h"
#include "settings/ColourLabel.h"
#include "settings/SettingsHost.h"
#include "settings/frmCalendarColors.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmSettings.h"
#include "settings/frmTimeFormats.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

using namespace bsSupport;

namespace {
constexpr int deletedItems = 50000;
constexpr int seriesMembers = 9999;
constexpr int addedItems = 10000;
constexpr int conflictSamples = 10001;
// Monday 1 January 2024, as a constant: a date computed at start-up may meet TimePoint's own reference
// date not yet set up.
constexpr TimePoint firstDay = TimePoint::fromSeconds(45292 * TimePoint::secondsPerDay);
constexpr QSize chartSize(1600, 900);
// Cells of 6 hours, 40 pixels wide: the item area shows a whole week and a few days more.
constexpr int weekScale = 12;
constexpr int repaints = 41;
constexpr int dragSteps = 60; // each way
constexpr int dragStepPixels = 3;
constexpr int settingsAccepts = 21;

// Answers Yes to every question and OK to every message, and counts the messages.
class YesPrompts : public UserPrompts {
public:
    int showMessage(const QString&, int flags, const QString&) override {
        ++messages;
        return (flags & MessageFlags::buttonMask) == MessageFlags::YesNo ? MessageResult::Yes
                                                                         : MessageResult::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<quint32> chooseColour(quint32) override { return {}; }
    std::optional<FontDescription> chooseFont(const FontDescription&) override { return {}; }
    std::unique_ptr<ProgressView> createProgress() override { return m_silent.createProgress(); }
    void setBusy(bool) override {}
    bool openUrl(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    bool startDetached(const QString&, const QStringList&) override { return false; }

    int messages = 0;

private:
    // The default service, which shows nothing; its progress windows are borrowed.
    UserPrompts& m_silent = prompts();
};

class Bench {
public:
    Bench(int items, int resources)
        : m_items(items)
        , m_resources(std::max(1, resources))
        , m_label(QStringLiteral("_%1x%2").arg(items).arg(m_resources)) {}

    void run();
    // The history figures only.
    void runHistory();

private:
    void print(const char* name, double value, const char* unit) const {
        std::printf("%s%s %.3f %s\n", name, qPrintable(m_label), value, unit);
        std::fflush(stdout);
    }
    // Prints the wall-clock time per unit, then the processor time as "<name>_cpu".
    void print(const char* name, const Stopwatch& watch, double per = 1.0, const char* unit = "ms") const {
        print(name, watch.wallMs() / per, unit);
        print((QByteArray(name) + "_cpu").constData(), watch.cpuMsSpent() / per, unit);
    }
    // Items are created day by day across all resources, as a timetable grows, so that the oldest
    // items hold the first positions.
    void generate(const QString& path) const;
    [[nodiscard]] int daysToDelete() const { return (deletedItems + m_resources - 1) / m_resources; }

    void measureConflictTest(const GanttData& chart) const;
    void measureTable(clsItems& items) const;
    void measureChart(GanttData& chart) const;
    void measureDrag(GanttChart& view) const;
    void measureSettingsAccept(GanttChart& view) const;
    void measureAdd(GanttData& chart, clsItems& items) const;
    void measureCleanUp(GanttData& chart, clsItems& items) const;
    void measureSeries(GanttData& chart, clsItems& items) const;

    int m_items;
    int m_resources;
    QString m_label;
};

void Bench::generate(const QString& path) const {
    GanttData chart;
    CreateDefaultStyles(chart);
    QStringList rowKeys;
    for (int r = 0; r < m_resources; ++r) {
        rowKeys << NewKey();
        chart.rows().add(rowKeys.last(), QStringLiteral("Resource %1").arg(r + 1));
    }
    {
        ChartBatch batch(chart);
        const int perDay = m_resources;
        for (int n = 0; n < m_items; ++n) {
            const int day = n / perDay;
            const int row = n % perDay;
            const TimePoint start = firstDay.addDays(day).addSeconds((8 + row % 4) * 3600);
            ChartItem& item = chart.items().add(QStringLiteral("Item %1").arg(n + 1), rowKeys[row], start,
                                                start.addSeconds(2 * 3600), NewKey(), QStringLiteral("Date"));
            item.setText(QStringLiteral("Booking %1 of %2").arg(n + 1).arg(m_items));
        }
    }
    chart.save(path);
}

void Bench::measureConflictTest(const GanttData& chart) const {
    QRandomGenerator random(42);
    std::vector<double> micros;
    micros.reserve(conflictSamples);
    const int count = chart.items().count();
    bool anyConflict = false;
    for (int i = 0; i < conflictSamples; ++i) {
        const int position = 1 + int(random.bounded(count));
        const ChartItem* item = chart.items().byPosition(position);
        const TimePoint start = item->start().addSeconds(600);
        const TimePoint end = item->end().addSeconds(600);
        const auto begin = Clock::now();
        anyConflict |= ConflictForExistingItem(chart, start, end, item->rowKey(), position);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    std::nth_element(micros.begin(), micros.begin() + conflictSamples / 2, micros.end());
    print("conflict_test_existing_median", micros[conflictSamples / 2], "us");
    if (anyConflict)
        std::fprintf(stderr, "unexpected conflict in the generated timetable\n");
}

// The item list's reads: a sort by each kind of column, and the cells of a page of rows.
void Bench::measureTable(clsItems& items) const {
    const std::vector<std::pair<const char*, ItemSortKeys>> sorts{
        {"table_sort_key", {{0, ItemSortKey::Compare::Value}}},
        {"table_sort_caption_caseless", {{2, ItemSortKey::Compare::Caseless}}},
        {"table_sort_resource_start",
         {{1, ItemSortKey::Compare::Caseless},
          {3, ItemSortKey::Compare::Value},
          {4, ItemSortKey::Compare::Value}}},
        {"table_sort_text", {{8, ItemSortKey::Compare::Value}}},
    };
    for (const auto& [name, keys] : sorts) {
        const Stopwatch watch;
        items.sortRows(keys, false);
        print(name, watch);
    }
    constexpr int pageRows = 50;
    std::vector<double> micros;
    for (int first = 0; first + pageRows <= items.Count(); first += items.Count() / 20) {
        const auto begin = Clock::now();
        for (int row = first; row < first + pageRows; ++row) {
            for (int column = 0; column < ItemRecord::columnCount; ++column)
                static_cast<void>(items.Value(row, column));
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    print("table_page_of_50_values_median", median(micros), "us");
}

// A chart as the board shows it, at the figures' size and scale, with the week at its left edge and the
// row at its top; on the offscreen platform nothing appears on a screen.
std::unique_ptr<GanttChart> weekView(GanttData& chart, TimePoint week, int row) {
    auto view = std::make_unique<GanttChart>(chart);
    view->resize(chartSize);
    view->setScale(weekScale);
    view->show();
    QCoreApplication::processEvents();
    view->scrollTo(week);
    view->scrollToRow(row);
    if (!view->windowHandle() || !view->windowHandle()->isExposed())
        std::fprintf(stderr, "the chart is not exposed: repaints paint nothing\n");
    return view;
}

double repaintMedian(GanttChart& view) {
    std::vector<double> ms;
    ms.reserve(repaints);
    for (int i = 0; i < repaints; ++i) {
        const auto begin = Clock::now();
        view.viewport()->repaint();
        ms.push_back(msSince(begin));
    }
    return median(ms);
}

int itemsShown(const GanttChart& view) {
    const GanttData& chart = view.data();
    std::size_t count = 0;
    for (int position = view.firstShownRow(); position <= view.lastShownRow(); ++position)
        count += chart
                     .itemsInRange(chart.rows().byPosition(position)->key(), view.firstShownTime(),
                                   view.lastShownTime())
                     .size();
    return int(count);
}

// The rows the view shows with their items from a week before to a week after the shown range: the
// same picture from about a thousand items.
void copyShown(const GanttChart& view, GanttData& target) {
    const GanttData& source = view.data();
    target.settings() = source.settings();
    for (int position = 1; position <= source.styles().count(); ++position) {
        const ChartStyle* style = source.styles().byPosition(position);
        target.styles().add(style->key()).assignProperties(*style);
    }
    for (int position = 1; position <= source.headingColumns().count(); ++position) {
        const HeadingColumn* column = source.headingColumns().byPosition(position);
        target.headingColumns().add(column->caption, column->width, column->styleKey);
    }
    const TimePoint from = view.firstShownTime().addDays(-7);
    const TimePoint to = view.lastShownTime().addDays(7);
    for (int position = view.firstShownRow(); position <= view.lastShownRow(); ++position) {
        const ChartRow* row = source.rows().byPosition(position);
        target.rows().add(row->key(), row->caption, row->styleKey, row->picture, row->height).cells =
            row->cells;
        for (const ChartItem* item : source.itemsInRange(row->key(), from, to)) {
            ChartItem& copy =
                target.items().add(item->caption(), row->key(), item->start(), item->end(), item->key(),
                                   item->styleKey(), item->picture(), item->addTag());
            copy.setText(item->text());
            copy.setAddOnData(item->addOnData());
            copy.setSeriesKey(item->seriesKey());
            copy.setMovementLock(item->movementLock());
            copy.setTag(item->tag());
        }
    }
}

void Bench::measureChart(GanttData& chart) const {
    // A week in the middle of the timetable, with the middle resources at the top.
    const int days = (m_items + m_resources - 1) / m_resources;
    const TimePoint week = firstDay.addDays(days / 2 / 7 * 7);
    const std::unique_ptr<GanttChart> view = weekView(chart, week, m_resources / 2 + 1);
    const double large = repaintMedian(*view);
    print("repaint_week_1600x900_median", large, "ms");
    print("repaint_week_items_shown", itemsShown(*view), "items");

    GanttData small;
    copyShown(*view, small);
    {
        const std::unique_ptr<GanttChart> smallView = weekView(small, week, 1);
        const double smallMs = repaintMedian(*smallView);
        print("repaint_week_1600x900_small_median", smallMs, "ms");
        print("repaint_small_items", small.items().count(), "items");
        print("repaint_ratio_large_to_small", large / smallMs, "x");
        if (itemsShown(*smallView) != itemsShown(*view) ||
            smallView->lastShownTime() != view->lastShownTime())
            std::fprintf(stderr, "the small timetable shows another picture\n");
    }
    measureDrag(*view);
    measureSettingsAccept(*view);
}

void Bench::measureDrag(GanttChart& view) const {
    GanttData& chart = view.data();
    QWidget* viewport = view.viewport();
    // The bar nearest to the middle of a middle row, far from the edges where a drag scrolls.
    const int row = (view.firstShownRow() + view.lastShownRow()) / 2;
    const int middle = viewport->width() / 2;
    ChartItem* bar = nullptr;
    QPoint press;
    for (ChartItem* item : chart.itemsInRange(chart.rows().byPosition(row)->key(), view.firstShownTime(),
                                              view.lastShownTime())) {
        const QPoint centre((view.xAt(item->start()) + view.xAt(item->end())) / 2,
                            (view.rowTop(row) + view.rowBottom(row)) / 2);
        if (!bar || std::abs(centre.x() - middle) < std::abs(press.x() - middle)) {
            bar = item;
            press = centre;
        }
    }
    const ChartHit hit = bar ? view.hitTest(press) : ChartHit();
    if (hit.area != HitArea::BarBody || hit.item != bar) {
        std::fprintf(stderr, "drag: no bar to grab in the middle of the chart\n");
        return;
    }
    const TimePoint start = bar->start();
    const auto send = [viewport](QEvent::Type type, QPoint at, Qt::MouseButton button,
                                 Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    };

    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    // The first move beyond the drag distance starts the move; the steps follow it.
    QPoint at = press + QPoint(QApplication::startDragDistance(), 0);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    viewport->repaint();
    // Whole steps, and their part before the repaint: hit test, snap and conflict test. The repaint
    // runs through the event loop, as on screen, so it paints only the region the chart asked for.
    std::vector<double> ms;
    std::vector<double> moveMs;
    ms.reserve(2 * dragSteps);
    moveMs.reserve(2 * dragSteps);
    for (int step = 0; step < 2 * dragSteps; ++step) {
        at.rx() += step < dragSteps ? dragStepPixels : -dragStepPixels;
        const auto begin = Clock::now();
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        moveMs.push_back(msSince(begin));
        QCoreApplication::processEvents();
        ms.push_back(msSince(begin));
    }
    // Released where it was grabbed, the bar stays where it was and the later figures see the same data.
    send(QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton);
    print("drag_step_median", median(ms), "ms");
    print("drag_step_before_repaint_median", median(moveMs), "ms");
    if (bar->start() != start)
        std::fprintf(stderr, "drag: the bar did not return to its place\n");
}

// The board's side of the settings dialogs: a store redraws the chart once, as the board does.
class BenchSettingsHost : public SettingsHost {
public:
    explicit BenchSettingsHost(GanttChart& view)
        : m_view(view) {}
    QWidget* boardWindow() override { return &m_view; }
    void settingsStored() override { m_view.data().redraw(); }

private:
    GanttChart& m_view;
};

void Bench::measureSettingsAccept(GanttChart& view) const {
    clsSettings planner(view.data());
    globals().chart = &view.data();
    globals().settings = &planner;
    BenchSettingsHost host(view);
    PaintCounter counter(view.viewport());
    TimedFigure settings{"settings_accept_to_paint_median", {}, {}};
    TimedFigure appearance{"appearance_accept_to_paint_median", {}, {}};
    TimedFigure formats{"time_formats_ok_to_paint_median", {}, {}};
    TimedFigure calendar{"calendar_colours_accept_to_paint_median", {}, {}};
    for (int n = 0; n < settingsAccepts; ++n) {
        {
            frmSettings dialog(host);
            dialog.show();
            const int entry = n % 2 == 0 ? 9 : 7; // one hour, 15 minutes
            dialog.cmbGrid->setCurrentIndex(entry);
            emit dialog.cmbGrid->activated(entry);
            settings.add(acceptToPaint(counter, [&] { dialog.bar()->click(ctrOSC::AcceptButton); }));
        }
        {
            frmScheduleAppearance dialog(host);
            dialog.show();
            dialog.chk[frmScheduleAppearance::ShowTimeline]->click();
            appearance.add(acceptToPaint(counter, [&] { dialog.bar()->click(ctrOSC::AcceptButton); }));
        }
        {
            frmTimeFormats dialog(host);
            dialog.show();
            dialog.chkTrimTimeFormat->click();
            formats.add(acceptToPaint(counter, [&] { dialog.cmdOK_Click(); }));
        }
        {
            frmCalendarColors dialog(ChartSettings::WeekdayCalendar, host);
            dialog.show();
            dialog.lblCaption[1]->setBack(n % 2 == 0 ? 0xC0FFFF : 0xFFFFFF);
            dialog.bar()->setDirty(true);
            calendar.add(acceptToPaint(counter, [&] { dialog.bar()->click(ctrOSC::AcceptButton); }));
        }
    }
    globals().settings = nullptr;
    globals().chart = nullptr;
    for (const TimedFigure* figure : {&settings, &appearance, &formats, &calendar}) {
        print(figure->name, median(figure->wall), "ms");
        print((QByteArray(figure->name) + "_cpu").constData(), median(figure->cpu), "ms");
    }
}

void Bench::measureAdd(GanttData& chart, clsItems& items) const {
    // A year after the generated items, so that nothing collides and nothing is old.
    const QString rowKey = chart.items().byPosition(1)->rowKey();
    std::vector<const ChartItem*> added;
    added.reserve(addedItems);
    for (int n = 0; n < addedItems; ++n) {
        const TimePoint start = firstDay.addDays(400).addSeconds(std::int64_t(n) * 3600);
        added.push_back(&chart.items().add(QStringLiteral("Added %1").arg(n), rowKey, start,
                                           start.addSeconds(1800), NewKey(), QStringLiteral("Date")));
    }
    const Stopwatch watch;
    for (const ChartItem* item : added)
        items.Add(*item, QString());
    print("items_add_four_messengers", watch, addedItems / 1000.0, "us/item");
}

void Bench::measureCleanUp(GanttData& chart, clsItems& items) const {
    const TimePoint limit = firstDay.addDays(daysToDelete() - 1);
    const int before = items.Count();
    const Stopwatch watch;
    {
        ChartBatch batch(chart);
        for (int position = chart.items().count(); position >= 1; --position) {
            const ChartItem* item = chart.items().byPosition(position);
            if (item->end().datePart() <= limit)
                items.Delete(item->key(), QString());
        }
    }
    print("cleanup_delete_batch", watch);
    print("cleanup_deleted_items", before - items.Count(), "items");
}

void Bench::measureSeries(GanttData& chart, clsItems& items) const {
    // A resource of its own, so that the series meets no other item.
    const QString rowKey = NewKey();
    chart.rows().add(rowKey, QStringLiteral("Series resource"));
    const QString seriesKey = NewKey();
    ChartItem& master = chart.items().add(QStringLiteral("Master"), rowKey, firstDay.addSeconds(8 * 3600),
                                          firstDay.addSeconds(9 * 3600), NewKey(), QStringLiteral("Date"));
    master.setSeriesKey(seriesKey);
    items.Add(master, QString());

    int refused = 0;
    const Stopwatch series;
    {
        ChartBatch batch(chart);
        for (int day = 1; day <= seriesMembers; ++day) {
            const TimePoint start = master.start().addDays(day);
            const TimePoint end = master.end().addDays(day);
            if (ConflictForNewItem(chart, start, end, rowKey)) {
                ++refused;
                continue;
            }
            ChartItem& member = chart.items().add(master.caption(), rowKey, start, end, NewKey(),
                                                  master.styleKey(), master.picture());
            member.setSeriesKey(seriesKey);
            member.setText(master.text());
            items.Add(member, QString());
        }
    }
    print("series_generate_9999", series);

    YesPrompts yes;
    setPrompts(&yes);
    const ItemSnapshot before = ItemSnapshot::of(master);
    master.setSpan(master.start().addSeconds(3600), master.end().addSeconds(3600));
    items.UpdateItem(master, QString());
    const Stopwatch moved;
    ItemMoved(chart, before, master, &items);
    print("itemmoved_series_9999", moved);
    setPrompts(nullptr);
    if (refused != 0 || yes.messages != 1)
        std::fprintf(stderr, "series: %d members refused, %d messages\n", refused, yes.messages);
}

void Bench::run() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.qtf"));
    generate(path);
    malloc_trim(0);

    auto chart = std::make_unique<GanttData>();
    const Stopwatch load;
    chart->load(path);
    auto items = std::make_unique<clsItems>(*chart);
    const Stopwatch read;
    items->ReadItems();
    print("load_and_read", load);
    print("of_which_read_items", read);
    print("resident_memory_loaded", residentMegabytes(), "MB");

    const Stopwatch save;
    chart->save(dir.filePath(QStringLiteral("saved.qtf")));
    print("save", save);

    measureConflictTest(*chart);
    measureTable(*items);
    measureChart(*chart);
    measureListview(*items,
                    [this](const char* name, double value, const char* unit) { print(name, value, unit); });

    std::vector<std::unique_ptr<QuietMessenger>> messengers;
    for (int n = 0; n < 4; ++n) {
        messengers.push_back(std::make_unique<QuietMessenger>(n));
        items->AddMessenger(*messengers.back());
    }
    measureAdd(*chart, *items);
    measureCleanUp(*chart, *items);
    measureSeries(*chart, *items);
    for (const auto& messenger : messengers)
        items->RemoveMessenger(*messenger);

    YesPrompts yes;
    measureMonthViews(*chart, *items, yes,
                      [this](const char* name, double value, const char* unit) { print(name, value, unit); });
    items.reset();
    chart.reset();
    measureHistory(path, firstDay.addDays(daysToDelete() - 1),
                   [this](const char* name, double value, const char* unit) { print(name, value, unit); });
    measureEditingDialogs(
        path, firstDay.addDays(daysToDelete() - 1), yes,
        [this](const char* name, double value, const char* unit) { print(name, value, unit); });
}

void Bench::runHistory() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.qtf"));
    generate(path);
    measureHistory(path, firstDay.addDays(daysToDelete() - 1),
                   [this](const char* name, double value, const char* unit) { print(name, value, unit); });
}

bool readNumber(const QStringList& arguments, qsizetype at, int& value) {
    bool ok = false;
    value = arguments.value(at + 1).toInt(&ok);
    return ok && value > 0;
}

struct Sizes {
    int items;
    int resources;
};
} // namespace

int main(int argc, char* argv[]) {
    // Offscreen unless another platform is asked for: the chart figures then depend on neither a
    // display nor its server, and no window appears.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsSet(BoardBench::childMarker)) {
        BoardProbe board(argc, argv);
        return board.run();
    }
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    Sizes custom{100000, 1000};
    bool customSize = false;
    bool large = true;
    bool model = true;
    bool board = true;
    bool historyOnly = false;
    int runs = 3;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--items") && readNumber(arguments, i, custom.items)) {
            customSize = true;
            ++i;
        } else if (argument == QStringLiteral("--resources") && readNumber(arguments, i, custom.resources)) {
            customSize = true;
            ++i;
        } else if (argument == QStringLiteral("--runs") && readNumber(arguments, i, runs)) {
            ++i;
        } else if (argument == QStringLiteral("--no-large")) {
            large = false;
        } else if (argument == QStringLiteral("--model")) {
            board = false;
        } else if (argument == QStringLiteral("--board")) {
            model = false;
        } else if (argument == QStringLiteral("--history")) {
            historyOnly = true;
        } else {
            std::fprintf(stderr,
                         "usage: qunta-bench [--items N --resources R] [--no-large] [--model | --board | "
                         "--history] [--runs K]\n"
                         "  without --items: 100000 items on 1000 resources, then 1000000 on 10000\n"
                         "  --model: the model and chart figures only; --board: the real board's start only\n"
                         "  --history: the figures of the history of changes only\n"
                         "  --runs: starts of the board per size, the median is printed (default 3)\n");
            return 2;
        }
    }
    std::vector<Sizes> sizes{custom};
    if (!customSize && large)
        sizes.push_back({1000000, 10000});
    for (const Sizes& size : sizes) {
        if (historyOnly) {
            Bench(size.items, size.resources).runHistory();
            continue;
        }
        if (model)
            Bench(size.items, size.resources).run();
        if (board)
            BoardBench(size.items, size.resources, runs).run();
    }
    return 0;
}
