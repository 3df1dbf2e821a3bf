#include "SchedulePrint.h"

#include "app/AppError.h"
#include "app/ErrorHandler.h"
#include "app/NumericText.h"
#include "chart/widget/GanttChart.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

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
    guardedStep(identity, [&] {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull())
            throw AppError(
                QStringLiteral("No printer is installed. Install a printer and make it the default "
                               "one, then print again."),
                482, QStringLiteral("Printer"));
        QPrinter device(printer, QPrinter::HighResolution);
        printOn(device, chart, fitToPage);
    });
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
