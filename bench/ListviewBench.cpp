#include "ListviewBench.h"

#include "PaintTiming.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/ctrOSC.h"
#include "model/clsItems.h"
#include "views/ItemGrid.h"
#include "views/ListviewHost.h"
#include "views/bsGridSupport.h"
#include "views/frmGridLayout.h"
#include "views/frmListview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {
constexpr int opens = 5;
constexpr int refreshes = 11;
constexpr int pageSteps = 41;
constexpr int layoutChanges = 21;
// Sorting a million rows by each of twelve columns takes minutes; two columns show the trend.
constexpr int allColumnsUpTo = 200000;

double trimmedResidentMegabytes() {
    malloc_trim(0);
    return residentMegabytes();
}

// The real prompts (progress window, clipboard, busy pointer) with the save dialog answered.
class BenchPrompts : public QtPrompts {
public:
    QString saveFileName(const QString&, const QString&, const QString&) override { return fileName; }
    int showMessage(const QString& text, int flags, const QString&) override {
        std::fprintf(stderr, "list: unexpected message: %s\n", qPrintable(text));
        return defaultResult(flags);
    }
    QString fileName;
};

class BenchHost : public ListviewHost {
public:
    QWidget* boardWindow() override { return &board; }
    bool SetDirty() override { return true; }
    void NewItemAtCurrentDate() override {}
    QWidget board;
};

// Lets the window paint what the last step changed.
void settle() {
    QCoreApplication::processEvents();
}

frmListview* openList(BenchHost& host) {
    frmListview* list = frmListview::open(host);
    list->resize(1200, 800);
    while (!list->windowHandle() || !list->windowHandle()->isExposed())
        QCoreApplication::processEvents();
    settle();
    return list;
}
// Prints the median wall-clock time, then the median processor time as "<name>_cpu".
void report(const PrintFigure& print, const QByteArray& name, const std::vector<double>& wallMs,
            const std::vector<double>& cpuMs) {
    print(name.constData(), median(wallMs), "ms");
    print((name + "_cpu").constData(), median(cpuMs), "ms");
}

// The layout settings over the open list, each step to the repainted grid: a change shown at once, an
// accept (which applies the sizing permissions) and dropping the changes (a reload of the layout file).
void measureLayoutSettings(frmListview& list, const PrintFigure& print) {
    PaintCounter counter(list.grdList->viewport());
    TimedFigure change{"grid_layout_change_to_paint_median", {}, {}};
    TimedFigure accept{"grid_layout_accept_to_paint_median", {}, {}};
    TimedFigure discard{"grid_layout_discard_to_paint_median", {}, {}};
    for (int n = 0; n < layoutChanges; ++n) {
        frmGridLayout dialog(&list);
        dialog.Init(*list.grdList);
        dialog.bar()->setVerbose(false);
        dialog.show();
        const int divider = n % 2 == 0 ? GridOptions::BlackLine : GridOptions::LightGrayLine;
        change.add(acceptToPaint(
            counter, [&] { dialog.opt[std::size_t(frmGridLayout::RowDividerFirst + divider)]->click(); }));
        dialog.chk[frmGridLayout::ColumnSizing]->click();
        accept.add(acceptToPaint(counter, [&] { dialog.bar()->click(ctrOSC::AcceptButton); }));
        dialog.opt[std::size_t(frmGridLayout::RowDividerFirst) + GridOptions::Inset]->click();
        discard.add(acceptToPaint(counter, [&] { dialog.bar()->click(ctrOSC::CancelButton); }));
    }
    for (const TimedFigure* figure : {&change, &accept, &discard})
        report(print, figure->name, figure->wall, figure->cpu);
}
} // namespace

void measureListview(clsItems& items, const PrintFigure& print) {
    // The list keeps its layout in the documents folder of a home of its own, not in the user's.
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    QDir().mkpath(home.path() + "/Documents");
    BenchPrompts prompts;
    setPrompts(&prompts);
    clsItems* const previousItems = globals().items;
    globals().items = &items;
    BenchHost host;

    const double before = trimmedResidentMegabytes();
    std::vector<double> wall;
    std::vector<double> cpu;
    const auto measure = [&](const auto& step) {
        const Stopwatch watch;
        step();
        wall.push_back(watch.wallMs());
        cpu.push_back(watch.cpuMsSpent());
    };
    for (int i = 0; i < opens; ++i) {
        measure([&] { openList(host); });
        if (i + 1 < opens)
            delete frmListview::instance();
    }
    report(print, "list_open_median", wall, cpu);
    frmListview* list = frmListview::instance();
    ItemGrid& grid = *list->grdList;
    print("list_memory_added", trimmedResidentMegabytes() - before, "MB");

    const bool allColumns = items.Count() <= allColumnsUpTo;
    double slowest = 0;
    double slowestCpu = 0;
    for (int column = 0; column < 12; ++column) {
        if (!allColumns && column != 1 && column != 3)
            continue;
        list->grdList_HeadClick(column);
        wall.clear();
        cpu.clear();
        measure([&] {
            list->SortGrid(true);
            settle();
        });
        slowest = std::max(slowest, wall.front());
        slowestCpu = std::max(slowestCpu, cpu.front());
        report(print, "list_sort_column_" + QByteArray::number(column), wall, cpu);
    }
    print("list_sort_slowest", slowest, "ms");
    print("list_sort_slowest_cpu", slowestCpu, "ms");

    wall.clear();
    cpu.clear();
    for (int i = 0; i < refreshes; ++i) {
        items.UpdateItem(*items.GetItemByIndex(i * 97), QString());
        measure([&] {
            list->tmrRefresh_Timer();
            settle();
        });
    }
    report(print, "list_refresh_after_change_median", wall, cpu);

    const auto pageDown = [&](const QByteArray& name) {
        grid.setFocus();
        grid.setCurrentRow(0);
        settle();
        wall.clear();
        cpu.clear();
        for (int i = 0; i < pageSteps; ++i) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            measure([&] {
                QCoreApplication::sendEvent(&grid, &key);
                grid.viewport()->repaint();
            });
        }
        report(print, name, wall, cpu);
    };
    pageDown("list_page_down_median");
    list->grdList_HeadClick(1);
    list->SortGrid(true);
    list->ToggleColMerge();
    pageDown("list_page_down_merged_median");
    list->ToggleColMerge();

    // Paging selected rows on the way: the commands below take all rows.
    grid.clearSelectedRows();
    for (const QByteArray format : {"html", "csv"}) {
        prompts.fileName = home.filePath(QStringLiteral("list.") + QString::fromLatin1(format));
        wall.clear();
        cpu.clear();
        measure([&] { bsGridSupport::ExportGrid(grid); });
        report(print, "list_export_all_" + format, wall, cpu);
        print(("list_export_size_" + format).constData(), double(QFile(prompts.fileName).size()) / 1e6, "MB");
    }
    wall.clear();
    cpu.clear();
    measure([&] { bsGridSupport::Copy2ClipBoard(grid, items); });
    report(print, "list_copy_all_to_clipboard", wall, cpu);

    measureLayoutSettings(*list, print);
    delete list;
    globals().items = previousItems;
    setPrompts(nullptr);
    qputenv("HOME", realHome);
}
