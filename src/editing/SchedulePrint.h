#pragma once

class GanttChart;
class QPrinter;

// Prints the range a chart shows as one page, on the printer (or PDF file) the user chooses in the
// print dialog.
class SchedulePrint {
public:
    static constexpr int screenTwipsPerPixel = 15; // 96 dpi

    // The print dialog first; Cancel prints nothing. Errors of the printing go to the common error
    // handler as "Sub:bsSupport:DoPrint", whose answer repeats, skips or abandons the failing step.
    static void DoPrint(GanttChart& chart, bool fitToPage);

    // The zoom in percent. Fit to page: the page width over the chart's width on screen, rounded to a
    // whole number (halves to even), times 100. Otherwise the chart at its screen size: screen twips per
    // pixel over printer twips per pixel, times 100, rounded.
    [[nodiscard]] static int printZoom(bool fitToPage, int pageWidthPixels, int chartWidthPixels,
                                       double printerTwipsPerPixel);

private:
    static void printOn(QPrinter& printer, GanttChart& chart, bool fitToPage);
};
