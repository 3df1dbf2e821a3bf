#include "ChartFixture.h"
#include "chart/widget/ChartLayout.h"
#include "chart/widget/RenderChartImage.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {
TimePoint at(int hour, int minute = 0) {
    return ChartFixture::at(hour, minute);
}

// The layout renderChartImage uses, to find where things are drawn.
ChartLayout layoutOf(const GanttData& data, TimePoint from, int scale, QSize size) {
    ChartLayout layout(data);
    layout.setScaleLevel(scale);
    layout.setSize(size);
    layout.setTimeOrigin(from);
    return layout;
}

QColor bgr(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// A plain chart: no grid, core times or current-time line, so that single pixels can be checked.
void plain(GanttData& data) {
    ChartSettings& s = data.settings();
    s.showGrid = false;
    s.markCoreTimes = false;
    s.showTimeline = false;
    s.dividerStyle = ChartSettings::NoLine;
}

const QSize size(1200, 200);
} // namespace

class ChartRenderingTest : public QObject {
    Q_OBJECT
private slots:
    void barColourAtItsPlace();
    void imageStartsAtTheSavedFirstRow();
    void itemWithoutStyleIsDrawnNeutral();
    void picturesAreScaledToTheirPlace();
    void gridFollowsItsSwitch_data();
    void gridFollowsItsSwitch();
    void coreTimesFollowTheirSwitch_data();
    void coreTimesFollowTheirSwitch();
    void weekendAndBandCalendarColours();
    void emptyCaptionFormatShowsNoCaption_data();
    void emptyCaptionFormatShowsNoCaption();
    void hiddenBandsGiveTheirSpaceToRows();
    void currentItemIsFramed();
    void printFitsThePreparedRange();
    void printedTextKeepsItsSizeOnScreen();
    void fittedSpanFillsTheItemArea_data();
    void fittedSpanFillsTheItemArea();
};

void ChartRenderingTest::barColourAtItsPlace() {
    ChartFixture f;
    plain(f.data);
    f.data.items().byKey("A")->setCaption(QString());
    const QImage image = renderChartImage(f.data, at(6), 8, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const int y = int(layout.rowTop(0) + layout.rowBottom(0)) / 2;
    const QColor red(255, 0, 0);
    QCOMPARE(image.pixelColor(int(layout.xOf(at(9))), y), red);
    // The bar runs from 08:00 to 10:00 and no further; its border is a shade of its colour.
    QVERIFY(image.pixelColor(int(layout.xOf(at(8))) + 3, y) == red);
    QVERIFY(image.pixelColor(int(layout.xOf(at(10))) - 3, y) == red);
    QCOMPARE(image.pixelColor(int(layout.xOf(at(8))) - 2, y), QColor(Qt::white));
    QCOMPARE(image.pixelColor(int(layout.xOf(at(10))) + 2, y), QColor(Qt::white));
    // Row 2 is empty at 09:30; the bar keeps inside its row.
    QCOMPARE(image.pixelColor(int(layout.xOf(at(9, 30))), int(layout.rowTop(1)) + 10), QColor(Qt::white));
    QCOMPARE(image.pixelColor(int(layout.xOf(at(9))), int(layout.rowTop(0))), QColor(Qt::white));

    // The scale sets the width: at scale 10 an hour is 40 pixels.
    const QImage hours = renderChartImage(f.data, at(6), 10, size);
    const ChartLayout hourLayout = layoutOf(f.data, at(6), 10, size);
    QCOMPARE(hourLayout.xOf(at(10)) - hourLayout.xOf(at(8)), qint64(80));
    QCOMPARE(hours.pixelColor(int(hourLayout.xOf(at(9, 45))), y), red);
    QCOMPARE(hours.pixelColor(int(hourLayout.xOf(at(10, 15))), y), QColor(Qt::white));
}

void ChartRenderingTest::imageStartsAtTheSavedFirstRow() {
    ChartFixture f;
    plain(f.data);
    for (int i = 4; i <= 12; ++i)
        f.data.rows().add(QStringLiteral("R%1").arg(i), QString());
    f.data.items().add("", "R2", at(12), at(13), "D", "Date");
    f.data.items().add("", "R12", at(10), at(11), "E", "Date");
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const int height = layout.rowAxis().height(0);
    QVERIFY(layout.rowAxis().totalHeight() > layout.itemArea().height());
    const QColor red(255, 0, 0);

    // Row 2 at the top: its bar where row 1 would be, row 1's bar not shown.
    f.data.settings().firstShownRow = 2;
    const QImage second = renderChartImage(f.data, at(6), 8, size);
    const int top = layout.itemArea().top() + height / 2;
    QCOMPARE(second.pixelColor(int(layout.xOf(at(12, 30))), top), red);
    QCOMPARE(second.pixelColor(int(layout.xOf(at(9, 30))), top), QColor(Qt::white));

    // A row beyond the scroll range shows the last rows down to the bottom edge, as the widget does.
    f.data.settings().firstShownRow = 1000;
    const QImage last = renderChartImage(f.data, at(6), 8, size);
    QCOMPARE(last.pixelColor(int(layout.xOf(at(10, 30))), size.height() - height / 2), red);
    // Inside the chart's border.
    QCOMPARE(last.pixelColor(int(layout.xOf(at(7))), size.height() - 2), QColor(Qt::white));
}

void ChartRenderingTest::itemWithoutStyleIsDrawnNeutral() {
    ChartFixture f;
    plain(f.data);
    f.data.items().add("Orphan", "R3", at(7), at(9), "O", "No such style");
    const QImage image = renderChartImage(f.data, at(6), 8, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const QColor c =
        image.pixelColor(int(layout.xOf(at(7, 30))), int(layout.rowTop(2) + layout.rowBottom(2)) / 2);
    QVERIFY2(c != QColor(Qt::white), "the bar is drawn");
    QCOMPARE(c.red(), c.green());
    QCOMPARE(c.green(), c.blue());
}

void ChartRenderingTest::picturesAreScaledToTheirPlace() {
    QTemporaryDir folder;
    const QString path = folder.filePath("blue.png");
    QImage square(64, 64, QImage::Format_RGB32);
    square.fill(QColor(0, 0, 255));
    QVERIFY(square.save(path));

    ChartFixture f;
    plain(f.data);
    f.data.items().byKey("A")->setPicture(path);
    f.data.items().byKey("A")->setCaption(QString());
    f.data.rows().byKey("R2")->picture = path;
    f.data.items().add("Missing", "R3", at(7), at(9), "M", "Date", folder.filePath("none.png"));
    // A pipe named as a picture is never opened: reading it would wait for a writer for ever.
    const QString pipe = folder.filePath("pipe.png");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    f.data.items().add("Pipe", "R3", at(10), at(12), "P", "Date", pipe);
    const QImage image = renderChartImage(f.data, at(6), 8, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const QRect bar = layout.barRect(at(8), at(10), 0);
    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    // The square is scaled to the bar's height less a pixel above and below, and keeps its shape.
    const int side = bar.height() - 2;
    QCOMPARE(image.pixelColor(bar.left() + 1, bar.center().y()), blue);
    QCOMPARE(image.pixelColor(bar.left() + side, bar.center().y()), blue);
    QCOMPARE(image.pixelColor(bar.left() + side + 1, bar.center().y()), red);
    // The row's picture sits at the left of its heading cell; a missing file draws no picture.
    QCOMPARE(image.pixelColor(5, int(layout.rowTop(1)) + 10), blue);
    const QRect missing = layout.barRect(at(7), at(9), 2);
    QCOMPARE(image.pixelColor(missing.left() + 2, missing.bottom() - 1), red);
    const QRect piped = layout.barRect(at(10), at(12), 2);
    QCOMPARE(image.pixelColor(piped.left() + 2, piped.bottom() - 1), red);
}

void ChartRenderingTest::gridFollowsItsSwitch_data() {
    QTest::addColumn<bool>("showGrid");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<TimePoint>("line");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("on, at a quarter hour") << true << "15n" << at(7, 15) << true;
    QTest::newRow("off") << false << "15n" << at(7, 15) << false;
    QTest::newRow("hourly grid, between lines") << true << "1h" << at(7, 15) << false;
    QTest::newRow("hourly grid, on a line") << true << "1h" << at(8) << true;
}

void ChartRenderingTest::gridFollowsItsSwitch() {
    QFETCH(bool, showGrid);
    QFETCH(QString, interval);
    QFETCH(TimePoint, line);
    QFETCH(bool, drawn);
    ChartFixture f;
    plain(f.data);
    f.data.settings().showGrid = showGrid;
    f.data.settings().gridInterval = interval;
    f.data.settings().grid = 0x404040;
    const QImage image = renderChartImage(f.data, at(6), 8, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const int y = int(layout.rowTop(2)) + 10; // row 3 is empty
    const QColor atLine = image.pixelColor(int(layout.xOf(line)), y);
    QCOMPARE(atLine != QColor(Qt::white), drawn);
    // Beside a line the row stays clear.
    QCOMPARE(image.pixelColor(int(layout.xOf(line)) + 3, y), QColor(Qt::white));
}

void ChartRenderingTest::coreTimesFollowTheirSwitch_data() {
    QTest::addColumn<bool>("mark");
    QTest::newRow("marked") << true;
    QTest::newRow("not marked") << false;
}

void ChartRenderingTest::coreTimesFollowTheirSwitch() {
    QFETCH(bool, mark);
    ChartFixture f;
    plain(f.data);
    ChartSettings& s = f.data.settings();
    s.markCoreTimes = mark;
    s.coreTimes[0][0] = CoreTimePeriod{7 * 3600, 12 * 3600}; // Monday
    s.coreTimes[0][1] = CoreTimePeriod{18 * 3600, 0};        // no end: only its start is marked
    s.coreTimeStart = 0x00FF00;
    s.coreTimeEnd = 0xFF0000;
    const QImage image = renderChartImage(f.data, at(6), 10, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 10, size);
    const int y = int(layout.rowTop(2)) + 10;
    const QColor inside = image.pixelColor(int(layout.xOf(at(9, 30))), y);
    const QColor outside = image.pixelColor(int(layout.xOf(at(14))), y);
    const QColor start = image.pixelColor(int(layout.xOf(at(7))), y);
    const QColor end = image.pixelColor(int(layout.xOf(at(12))) - 1, y);
    QCOMPARE(outside, QColor(Qt::white));
    QCOMPARE(inside != QColor(Qt::white), mark);
    QCOMPARE(start.green() > 200 && start.red() < 120, mark);
    QCOMPARE(end.blue() > 200 && end.red() < 120, mark);
    const QColor lateStart = image.pixelColor(int(layout.xOf(at(18))), y);
    QCOMPARE(lateStart.green() > 200 && lateStart.red() < 120, mark);
    QCOMPARE(image.pixelColor(int(layout.xOf(at(20))), y), QColor(Qt::white));
    // Every row carries the marks, the rows below the last do not.
    QCOMPARE(image.pixelColor(int(layout.xOf(at(7))), int(layout.rowTop(0)) + 1), start);
    QVERIFY(image.pixelColor(int(layout.xOf(at(7))), int(layout.rowBottom(2)) + 5) != start || !mark);
}

void ChartRenderingTest::weekendAndBandCalendarColours() {
    ChartFixture f;
    plain(f.data);
    ChartSettings& s = f.data.settings();
    s.setCalendarColour(ChartSettings::WeekdayCalendar, ChartSettings::BackgroundColour, 0,
                        0x0000C0); // Sunday
    s.timelineBack = 0xC0FFC0;
    const TimePoint saturday = TimePoint::fromDate(QDate(2024, 3, 2));
    const QImage image = renderChartImage(f.data, saturday, 14, size);
    const ChartLayout layout = layoutOf(f.data, saturday, 14, size);
    const int bandY = layout.lowerBand().center().y();
    const int sunday = int(layout.xOf(saturday.addDays(1))) + 4;
    const int monday = int(layout.xOf(saturday.addDays(2))) + 4;
    // The lower band's Sunday cell takes the Sunday colour, Monday the band's own.
    QCOMPARE(image.pixelColor(sunday, bandY - 6), bgr(0x0000C0));
    QCOMPARE(image.pixelColor(monday, bandY - 6), bgr(0xC0FFC0));
    // In the rows the Sunday is tinted towards its colour, Monday is not.
    const int rowY = int(layout.rowTop(2)) + 10;
    const QColor tint = image.pixelColor(sunday, rowY);
    QVERIFY(tint != QColor(Qt::white) && tint.red() > tint.green());
    QCOMPARE(image.pixelColor(monday, rowY), QColor(Qt::white));
}

void ChartRenderingTest::emptyCaptionFormatShowsNoCaption_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("truncate");
    QTest::addColumn<bool>("text");
    QTest::newRow("day format") << "dddd dd mmmm yyyy" << false << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("too long for the cell") << QString("dddddd ").repeated(11) << false << false;
    QTest::newRow("too long, truncated") << QString("dddddd ").repeated(11) << true << true;
    // Formats the pattern reader refuses (from a damaged or foreign file) draw nothing, not garbage.
    QTest::newRow("longer than a format may be") << QString("dddd ").repeated(60) << true << false;
    QTest::newRow("pattern letters only") << QString(1000, 'd') << true << false;
    QTest::newRow("unclosed quote") << "dddd \"week" << true << false;
}

void ChartRenderingTest::emptyCaptionFormatShowsNoCaption() {
    QFETCH(QString, format);
    QFETCH(bool, truncate);
    QFETCH(bool, text);
    ChartFixture f;
    plain(f.data);
    ChartSettings& s = f.data.settings();
    s.timelineStyle = ChartSettings::NoLine;
    s.truncateCaptions = truncate;
    s.setBandCaptionFormat(8, ChartSettings::DayCaption, format);
    const QImage image = renderChartImage(f.data, at(6), 8, size);
    const ChartLayout layout = layoutOf(f.data, at(6), 8, size);
    const QRect band = layout.upperBand();
    bool dark = false;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x < band.left() + 300; ++x)
            dark = dark || image.pixelColor(x, y).lightness() < 128;
    }
    QCOMPARE(dark, text);
}

void ChartRenderingTest::hiddenBandsGiveTheirSpaceToRows() {
    ChartFixture f;
    const int withBands = f.chart->rowTop(1);
    QVERIFY(withBands > 20);
    f.data.settings().showUpperBand = false;
    f.data.settings().showLowerBand = false;
    f.data.redraw();
    QCOMPARE(f.chart->rowTop(1), 0);
    QCOMPARE(f.chart->hitTest(QPoint(f.chart->xAt(at(9)), 2)).item, f.data.items().byKey("A"));
}

void ChartRenderingTest::currentItemIsFramed() {
    ChartFixture f;
    plain(f.data);
    const QPoint above(f.chart->xAt(at(9)), f.chart->rowTop(1) + 1);
    auto blueish = [&] {
        const QColor c = f.viewport()->grab().toImage().pixelColor(above);
        return c.blue() > 150 && c.red() < 100;
    };
    QVERIFY(!blueish());
    f.chart->setCurrentItem("A");
    QVERIFY(blueish());
    f.chart->setCurrentItem(QString());
    QVERIFY(!blueish());
}

void ChartRenderingTest::printFitsThePreparedRange() {
    ChartFixture f;
    plain(f.data);
    QImage page(1600, 500, QImage::Format_ARGB32);
    page.fill(Qt::white);
    f.chart->preparePrint(at(7), at(11), 400);
    {
        QPainter painter(&page);
        f.chart->print(&painter, QRect(0, 0, 1600, 500), 200);
    }
    // At 200 % the page holds a chart 800 pixels wide; 07:00 to 11:00 fill its item area.
    const int heading = f.chart->xAt(at(6)) * 2;
    const int itemWidth = 1600 - heading;
    auto pageX = [&](TimePoint t) { return heading + int((t - at(7)) * itemWidth / (4 * 3600)); };
    const int y = f.middleOf(1) * 2;
    QCOMPARE(page.pixelColor(pageX(at(9)), y), QColor(255, 0, 0));
    QCOMPARE(page.pixelColor(pageX(at(8)) - 6, y), QColor(Qt::white));
    QCOMPARE(page.pixelColor(pageX(at(10)) + 6, y), QColor(Qt::white));
    // Nothing is drawn below the prepared page height.
    QCOMPARE(page.pixelColor(800, 450), QColor(Qt::white));

    // A fit-to-page zoom rounded down to 0 prints at 100 % rather than nothing.
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        f.chart->print(&painter, QRect(0, 0, 800, 500), 0);
    }
    const int plainHeading = f.chart->xAt(at(6));
    const int x9 = plainHeading + int((at(9) - at(7)) * (800 - plainHeading) / (4 * 3600));
    QCOMPARE(page.pixelColor(x9, f.middleOf(1)), QColor(255, 0, 0));
}

void ChartRenderingTest::printedTextKeepsItsSizeOnScreen() {
    ChartFixture f;
    plain(f.data);
    const QSize logical(400, 120);
    // The page of a printer of the resolution at the zoom that prints the chart at its screen size,
    // scaled back to screen pixels.
    auto printed = [&](int dotsPerInch) {
        const int zoom = 100 * dotsPerInch / 96;
        QImage page(logical * zoom / 100, QImage::Format_ARGB32);
        page.setDotsPerMeterX(int(dotsPerInch / 0.0254));
        page.setDotsPerMeterY(int(dotsPerInch / 0.0254));
        page.fill(Qt::white);
        f.chart->preparePrint(at(7), at(11), page.height());
        QPainter painter(&page);
        f.chart->print(&painter, page.rect(), zoom);
        painter.end();
        return page.scaled(logical, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage screen = printed(96);
    const QImage printer = printed(480);
    int differing = 0;
    for (int y = 0; y < logical.height(); ++y) {
        for (int x = 0; x < logical.width(); ++x)
            differing += std::abs(qGray(screen.pixel(x, y)) - qGray(printer.pixel(x, y))) > 96 ? 1 : 0;
    }
    // Glyphs drawn at another size leave whole letters where the screen has none.
    QVERIFY2(differing < logical.width() * logical.height() / 50, qPrintable(QString::number(differing)));
}

void ChartRenderingTest::fittedSpanFillsTheItemArea_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 333;
    QTest::newRow("wide") << 1601;
}

void ChartRenderingTest::fittedSpanFillsTheItemArea() {
    QFETCH(int, width);
    ChartFixture f;
    plain(f.data);
    f.chart->resize(width, 300);
    f.chart->setFittedSpan(4 * 3600);
    f.chart->scrollTo(at(7));
    const int heading = f.chart->xAt(at(7));
    QCOMPARE(f.chart->lastShownTime(), at(11));
    QCOMPARE(f.chart->xAt(at(11)), f.chart->viewport()->width());
    QVERIFY(!f.chart->horizontalScrollBar()->isVisible());
    // Neither a resize nor a scale moves the range.
    f.chart->resize(width + 50, 300);
    f.chart->setScale(14);
    QCOMPARE(f.chart->firstShownTime(), at(7));
    QCOMPARE(f.chart->lastShownTime(), at(11));
    QCOMPARE(f.chart->hitTest(QPoint(f.chart->xAt(at(9)), f.middleOf(1))).item, f.data.items().byKey("A"));

    // The image of the same range puts the bar at the same place.
    const QSize shown = f.chart->viewport()->size();
    const QImage image = renderChartImage(f.data, at(7), at(11), shown);
    const int x = heading + (shown.width() - heading) / 4 * 2; // 09:00
    QCOMPARE(image.pixelColor(x, f.middleOf(1)), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(shown.width() - 4, f.middleOf(1)), QColor(Qt::white));

    // Switched off, the scale's own width returns: a day of scale 14 is 32 pixels.
    f.chart->setFittedSpan(0);
    QVERIFY(f.chart->lastShownTime() > at(7).addDays(5));
}

QTEST_MAIN(ChartRenderingTest)
#include "tst_chartrendering.moc"
