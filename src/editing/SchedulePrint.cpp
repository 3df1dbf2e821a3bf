#include "SchedulePrint.h"

#include "app/AppError.h"
#include "app/ErrorHandler.h"
#include "app/NumericText.h"
#include "app/UserPrompts.h"
#include "chart/widget/GanttChart.h"

#include <QPainter>
#include <QPrinter>

namespace {
const QString identity = QStringLiteral("Sub:bsSupport:DoPrint");
constexpr double twipsPerInch = 1440.0;
} // namespace

int SchedulePrint::printZoom(bool fitToPage, int pageWidthPixels, int chartWidthPixels,
                             double printerTwipsPerPixel) {
    if (fitToPage) {
        if (chartWidthPixels <= 0)
            return 100;
        return roundToInt(double(pageWidthPixels) / chartWidthPixels) * 100;
    }
    if (printerTwipsPerPixel <= 0)
        return 100;
    return roundToInt(screenTwipsPerPixel / printerTwipsPerPixel * 100);
}

void SchedulePrint::DoPrint(GanttChart& chart, bool fitToPage) {
    QPrinter printer(QPrinter::HighResolution);
    if (prompts().choosePrinter(printer))
        printOn(printer, chart, fitToPage);
}

void SchedulePrint::printOn(QPrinter& printer, GanttChart& chart, bool fitToPage) {
    QPainter painter;
    if (!guardedStep(identity, [&] {
            if (!painter.begin(&printer))
                throw AppError(QStringLiteral("The printer is not ready."), 482, QStringLiteral("Printer"));
        }))
        return;
    if (!painter.isActive())
        return;
    const TimePoint visibleStart = chart.firstShownTime();
    const TimePoint visibleEnd = chart.lastShownTime();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double printerTwipsPerPixel = twipsPerInch / printer.resolution();
    chart.preparePrint(visibleStart, visibleEnd, page.height());
    const int zoom = printZoom(fitToPage, page.width(), chart.width(), printerTwipsPerPixel);
    guardedStep(identity, [&] { chart.print(&painter, QRect(QPoint(0, 0), page.size()), zoom); });
    painter.end();
}
