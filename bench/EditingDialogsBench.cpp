#include "EditingDialogsBench.h"

#include "QuietMessenger.h"
#include "app/GlobalData.h"
#include "app/UserPrompts.h"
#include "chart/GanttData.h"
#include "chart/widget/GanttChart.h"
#include "editing/core/ItemSeries.h"
#include "editing/core/bsSupport.h"
#include "editing/frmClearUp.h"
#include "editing/frmSeries.h"
#include "editing/frmStyles.h"
#include "model/clsItems.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <cstdio>
#include <memory>

using namespace bsSupport;

namespace {
constexpr int styleCount = 50;

void printWatch(const PrintFigure& print, const char* name, const Stopwatch& watch) {
    print(name, watch.wallMs(), "ms");
    print((QByteArray(name) + "_cpu").constData(), watch.cpuMsSpent(), "ms");
}

// After the generated bookings, so that the clean-up that follows deletes those alone.
void measureSeries(GanttData& chart, clsItems& items, TimePoint masterStart, const PrintFigure& print) {
    const QString rowKey = NewKey();
    chart.rows().add(rowKey, QStringLiteral("Series resource"));
    const QString masterKey = NewKey();
    items.Add(chart.items().add(QStringLiteral("Master"), rowKey, masterStart, masterStart.addSeconds(3600),
                                masterKey, QStringLiteral("Date")),
              QString());
    const int before = chart.items().count();
    frmSeries dialog;
    dialog.ItemID(masterKey);
    dialog.show();
    dialog.tx[frmSeries::CountField]->setText(QString::number(ItemSeries::maximumCount));
    const Stopwatch watch;
    dialog.Update();
    printWatch(print, "series_dialog_9999_daily", watch);
    if (chart.items().count() - before != ItemSeries::maximumCount)
        std::fprintf(stderr, "series dialog: %d members made\n", chart.items().count() - before);
}

void measureCleanUp(GanttData& chart, clsItems& items, TimePoint limit, const PrintFigure& print) {
    const int before = items.Count();
    frmClearUp dialog;
    dialog.show();
    dialog.tx->setText(limit.shortDate());
    const Stopwatch watch;
    dialog.CleanUp();
    printWatch(print, "cleanup_dialog_one_view", watch);
    print("cleanup_dialog_deleted_items", before - items.Count(), "items");
    if (chart.items().count() != items.Count())
        std::fprintf(stderr, "clean-up dialog: chart and item table differ\n");
}

void measureStyles(GanttData& chart, const PrintFigure& print) {
    for (int n = 1; n <= styleCount - 3; ++n) {
        ChartStyle& style = chart.styles().add(QStringLiteral("Style %1").arg(n));
        style.backColor = quint32(n * 0x050301);
        style.borderShown = n % 2;
        style.horizontalAlignment = 1 + n % 3;
    }
    const Stopwatch open;
    auto dialog = std::make_unique<frmStyles>();
    dialog->SetMode(ChartStyle::ItemKind);
    dialog->show();
    QCoreApplication::processEvents();
    printWatch(print, "styles_dialog_open", open);
    // Each switch as the user sees it: controls filled, sample chart repainted.
    std::vector<double> ms;
    for (int index = 1; index < dialog->cmbStyles->count(); ++index) {
        const auto begin = Clock::now();
        dialog->cmbStyles->setCurrentIndex(index);
        dialog->gntSample->viewport()->repaint();
        ms.push_back(msSince(begin));
    }
    print("styles_dialog_switch_median", median(ms), "ms");
    print("styles_dialog_switch_max", *std::max_element(ms.begin(), ms.end()), "ms");
    print("styles_dialog_styles", dialog->cmbStyles->count(), "styles");
}
} // namespace

void measureEditingDialogs(const QString& timetable, TimePoint cleanUpLimit, UserPrompts& yes,
                           const PrintFigure& print) {
    GanttData chart;
    chart.load(timetable);
    clsItems items(chart);
    items.ReadItems();
    QuietMessenger board(0);
    items.AddMessenger(board);
    setPrompts(&yes);
    globals().chart = &chart;
    globals().items = &items;
    measureSeries(chart, items, cleanUpLimit.addDays(400).addSeconds(8 * 3600), print);
    measureCleanUp(chart, items, cleanUpLimit, print);
    measureStyles(chart, print);
    globals().chart = nullptr;
    globals().items = nullptr;
    setPrompts(nullptr);
    items.RemoveMessenger(board);
}
