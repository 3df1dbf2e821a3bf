#include "ChartFixture.h"
#include "app/ui/ChartFont.h"
#include "chart/widget/ChartLayout.h"
#include "chart/widget/ChartPainter.h"
#include "chart/widget/PictureCache.h"
#include "chart/widget/RenderChartImage.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {
QColor bgr(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

const QColor white(Qt::white);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

// The fixture's chart without grid, core times or current-time line, so that single pixels can be
// checked.
struct PlainChart : ChartFixture {
    PlainChart() {
        ChartSettings& s = data.settings();
        s.showGrid = false;
        s.markCoreTimes = false;
        s.showTimeline = false;
        s.dividerStyle = ChartSettings::NoLine;
    }
};

// What renderChartImage draws, with the layout it uses to find where things are.
struct Rendered {
    Rendered(const GanttData& data, TimePoint from, int scale, QSize size = QSize(1200, 200))
        : image(renderChartImage(data, from, scale, size))
        , layout(data) {
        layout.setScaleLevel(scale);
        layout.setSize(size);
        layout.setTimeOrigin(from);
    }

    [[nodiscard]] QColor pixel(TimePoint time, qint64 y, int dx = 0) const {
        return image.pixelColor(int(layout.xOf(time)) + dx, int(y));
    }
    [[nodiscard]] int middleOf(int row) const { return int(layout.rowTop(row) + layout.rowBottom(row)) / 2; }

    QImage image;
    ChartLayout layout;
};

// Where an area holds dark (text) pixels; empty where it holds none.
QRect inkIn(const QImage& image, const QRect& area, int darkerThan = 100) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).lightness() < darkerThan)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}
} // namespace

class ChartRenderingTest : public QObject {
    Q_OBJECT
private slots:
    void barColourAtItsPlace() {
        PlainChart f;
        f.data.items().byKey("A")->setCaption(QString());
        const Rendered r(f.data, at(6), 8);
        const int y = r.middleOf(0);
        QCOMPARE(r.pixel(at(9), y), red);
        // The bar runs from 08:00 to 10:00 and no further; its border is a shade of its colour.
        QCOMPARE(r.pixel(at(8), y, 3), red);
        QCOMPARE(r.pixel(at(10), y, -3), red);
        QCOMPARE(r.pixel(at(8), y, -2), white);
        QCOMPARE(r.pixel(at(10), y, 2), white);
        // Row 2 is empty at 09:30; the bar keeps inside its row.
        QCOMPARE(r.pixel(at(9, 30), r.layout.rowTop(1) + 10), white);
        QCOMPARE(r.pixel(at(9), r.layout.rowTop(0)), white);
        // The scale sets the width: at scale 10 an hour is 40 pixels.
        const Rendered hours(f.data, at(6), 10);
        QCOMPARE(hours.layout.xOf(at(10)) - hours.layout.xOf(at(8)), qint64(80));
        QCOMPARE(hours.pixel(at(9, 45), y), red);
        QCOMPARE(hours.pixel(at(10, 15), y), white);
    }

    void imageStartsAtTheSavedFirstRow() {
        PlainChart f;
        f.addRows(12);
        f.data.items().add("", "R2", at(12), at(13), "D", "Date");
        f.data.items().add("", "R12", at(10), at(11), "E", "Date");
        // Row 2 at the top: its bar where row 1 would be, row 1's bar not shown.
        f.data.settings().firstShownRow = 2;
        const Rendered second(f.data, at(6), 8);
        const ChartLayout& layout = second.layout;
        const int height = layout.rowAxis().height(0);
        QVERIFY(layout.rowAxis().totalHeight() > layout.itemArea().height());
        const int top = layout.itemArea().top() + height / 2;
        QCOMPARE(second.pixel(at(12, 30), top), red);
        QCOMPARE(second.pixel(at(9, 30), top), white);
        // A row beyond the scroll range shows the last rows down to the bottom edge, as the widget does.
        f.data.settings().firstShownRow = 1000;
        const Rendered last(f.data, at(6), 8);
        QCOMPARE(last.pixel(at(10, 30), 200 - height / 2), red);
        // Inside the chart's border.
        QCOMPARE(last.pixel(at(7), 200 - 2), white);
    }

    void itemWithoutStyleIsDrawnNeutral() {
        PlainChart f;
        f.data.items().add("Orphan", "R3", at(7), at(9), "O", "No such style");
        const Rendered r(f.data, at(6), 8);
        const QColor c = r.pixel(at(7, 30), r.middleOf(2));
        QVERIFY2(c != white, "the bar is drawn");
        QCOMPARE(c.red(), c.green());
        QCOMPARE(c.green(), c.blue());
    }

    void picturesAreScaledToTheirPlace() {
        QTemporaryDir folder;
        const QString path = folder.filePath("blue.png");
        QImage square(64, 64, QImage::Format_RGB32);
        square.fill(blue);
        QVERIFY(square.save(path));
        PlainChart f;
        f.data.items().byKey("A")->setPicture(path);
        f.data.items().byKey("A")->setCaption(QString());
        f.data.rows().byKey("R2")->picture = path;
        f.data.items().add("Missing", "R3", at(7), at(9), "M", "Date", folder.filePath("none.png"));
        // A pipe named as a picture is never opened: reading it would wait for a writer for ever.
        const QString pipe = folder.filePath("pipe.png");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        f.data.items().add("Pipe", "R3", at(10), at(12), "P", "Date", pipe);
        const Rendered r(f.data, at(6), 8);
        const QRect bar = r.layout.barRect(at(8), at(10), 0);
        // The square is scaled to the bar's height less a pixel above and below, and keeps its shape.
        const int side = bar.height() - 2;
        QCOMPARE(r.image.pixelColor(bar.left() + 1, bar.center().y()), blue);
        QCOMPARE(r.image.pixelColor(bar.left() + side, bar.center().y()), blue);
        QCOMPARE(r.image.pixelColor(bar.left() + side + 1, bar.center().y()), red);
        // The row's picture sits at the left of its heading cell; a missing file draws no picture.
        QCOMPARE(r.image.pixelColor(5, int(r.layout.rowTop(1)) + 10), blue);
        const QRect missing = r.layout.barRect(at(7), at(9), 2);
        QCOMPARE(r.image.pixelColor(missing.left() + 2, missing.bottom() - 1), red);
        const QRect piped = r.layout.barRect(at(10), at(12), 2);
        QCOMPARE(r.image.pixelColor(piped.left() + 2, piped.bottom() - 1), red);
    }

    void gridFollowsItsSwitch_data() {
        QTest::addColumn<bool>("showGrid");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<TimePoint>("line");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("on, at a quarter hour") << true << "15n" << at(7, 15) << true;
        QTest::newRow("off") << false << "15n" << at(7, 15) << false;
        QTest::newRow("hourly grid, between lines") << true << "1h" << at(7, 15) << false;
        QTest::newRow("hourly grid, on a line") << true << "1h" << at(8) << true;
    }

    void gridFollowsItsSwitch() {
        QFETCH(bool, showGrid);
        QFETCH(QString, interval);
        QFETCH(TimePoint, line);
        PlainChart f;
        f.data.settings().showGrid = showGrid;
        f.data.settings().gridInterval = interval;
        f.data.settings().grid = 0x404040;
        const Rendered r(f.data, at(6), 8);
        const qint64 y = r.layout.rowTop(2) + 10; // row 3 is empty
        QTEST(r.pixel(line, y) != white, "drawn");
        // Beside a line the row stays clear.
        QCOMPARE(r.pixel(line, y, 3), white);
    }

    void coreTimesFollowTheirSwitch() {
        for (const bool mark : {true, false}) {
            PlainChart f;
            ChartSettings& s = f.data.settings();
            s.markCoreTimes = mark;
            s.coreTimes[0][0] = CoreTimePeriod{7 * 3600, 12 * 3600}; // Monday
            s.coreTimes[0][1] = CoreTimePeriod{18 * 3600, 0};        // no end: only its start is marked
            s.coreTimeStart = 0x00FF00;
            s.coreTimeEnd = 0xFF0000;
            const Rendered r(f.data, at(6), 10);
            const qint64 y = r.layout.rowTop(2) + 10;
            const QColor start = r.pixel(at(7), y);
            const QColor end = r.pixel(at(12), y, -1);
            const QColor lateStart = r.pixel(at(18), y);
            QCOMPARE(r.pixel(at(14), y), white);
            QCOMPARE(r.pixel(at(9, 30), y) != white, mark);
            QCOMPARE(start.green() > 200 && start.red() < 120, mark);
            QCOMPARE(end.blue() > 200 && end.red() < 120, mark);
            QCOMPARE(lateStart.green() > 200 && lateStart.red() < 120, mark);
            QCOMPARE(r.pixel(at(20), y), white);
            // Every row carries the marks, the rows below the last do not.
            QCOMPARE(r.pixel(at(7), r.layout.rowTop(0) + 1), start);
            QVERIFY(r.pixel(at(7), r.layout.rowBottom(2) + 5) != start || !mark);
        }
    }

    void weekendAndBandCalendarColours() {
        PlainChart f;
        ChartSettings& s = f.data.settings();
        s.setCalendarColour(ChartSettings::WeekdayCalendar, ChartSettings::BackgroundColour, 0,
                            0x0000C0); // Sunday
        s.timelineBack = 0xC0FFC0;
        const TimePoint saturday = TimePoint::fromDate(QDate(2024, 3, 2));
        const Rendered r(f.data, saturday, 14);
        const int bandY = r.layout.lowerBand().center().y() - 6;
        const int rowY = int(r.layout.rowTop(2)) + 10;
        // The lower band's Sunday cell takes the Sunday colour, Monday the band's own.
        QCOMPARE(r.pixel(saturday.addDays(1), bandY, 4), bgr(0x0000C0));
        QCOMPARE(r.pixel(saturday.addDays(2), bandY, 4), bgr(0xC0FFC0));
        // In the rows the Sunday is tinted towards its colour, Monday is not.
        const QColor tint = r.pixel(saturday.addDays(1), rowY, 4);
        QVERIFY(tint != white && tint.red() > tint.green());
        QCOMPARE(r.pixel(saturday.addDays(2), rowY, 4), white);
    }

    void emptyCaptionFormatShowsNoCaption_data() {
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

    void emptyCaptionFormatShowsNoCaption() {
        QFETCH(QString, format);
        QFETCH(bool, truncate);
        PlainChart f;
        ChartSettings& s = f.data.settings();
        s.timelineStyle = ChartSettings::NoLine;
        s.truncateCaptions = truncate;
        s.setBandCaptionFormat(8, ChartSettings::DayCaption, format);
        const Rendered r(f.data, at(6), 8);
        const QRect band = r.layout.upperBand();
        QTEST(!inkIn(r.image, QRect(band.left(), band.top(), 300, band.height()), 128).isEmpty(), "text");
    }

    void hiddenBandsGiveTheirSpaceToRows() {
        ChartFixture f;
        QVERIFY(f.chart->rowTop(1) > 20);
        f.data.settings().showUpperBand = false;
        f.data.settings().showLowerBand = false;
        f.data.redraw();
        QCOMPARE(f.chart->rowTop(1), 0);
        QCOMPARE(f.chart->hitTest(QPoint(f.chart->xAt(at(9)), 2)).item, f.data.items().byKey("A"));
    }

    void currentItemIsFramed() {
        PlainChart f;
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

    void printFitsThePreparedRange() {
        PlainChart f;
        QImage page(1600, 500, QImage::Format_ARGB32);
        const auto print = [&](QRect area, int zoom) {
            page.fill(Qt::white);
            QPainter painter(&page);
            f.chart->print(&painter, area, zoom);
        };
        f.chart->preparePrint(at(7), at(11), 400);
        print(QRect(0, 0, 1600, 500), 200);
        // At 200 % the page holds a chart 800 pixels wide; 07:00 to 11:00 fill its item area.
        const int heading = f.chart->xAt(at(6)) * 2;
        auto pageX = [&](TimePoint t) { return heading + int((t - at(7)) * (1600 - heading) / (4 * 3600)); };
        const int y = f.middleOf(1) * 2;
        QCOMPARE(page.pixelColor(pageX(at(9)), y), red);
        QCOMPARE(page.pixelColor(pageX(at(8)) - 6, y), white);
        QCOMPARE(page.pixelColor(pageX(at(10)) + 6, y), white);
        // Nothing is drawn below the prepared page height.
        QCOMPARE(page.pixelColor(800, 450), white);
        // A fit-to-page zoom rounded down to 0 prints at 100 % rather than nothing.
        print(QRect(0, 0, 800, 500), 0);
        const int plainHeading = f.chart->xAt(at(6));
        const int x9 = plainHeading + int((at(9) - at(7)) * (800 - plainHeading) / (4 * 3600));
        QCOMPARE(page.pixelColor(x9, f.middleOf(1)), red);
    }

    void printedTextKeepsItsSizeOnScreen() {
        PlainChart f;
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

    void fittedSpanFillsTheItemArea() {
        for (const int width : {333, 1601}) {
            PlainChart f;
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
            QCOMPARE(f.chart->hitTest(QPoint(f.chart->xAt(at(9)), f.middleOf(1))).item,
                     f.data.items().byKey("A"));
            // The image of the same range puts the bar at the same place.
            const QSize shown = f.chart->viewport()->size();
            const QImage image = renderChartImage(f.data, at(7), at(11), shown);
            const int x = heading + (shown.width() - heading) / 4 * 2; // 09:00
            QCOMPARE(image.pixelColor(x, f.middleOf(1)), red);
            QCOMPARE(image.pixelColor(shown.width() - 4, f.middleOf(1)), white);
            // Switched off, the scale's own width returns: a day of scale 14 is 32 pixels.
            f.chart->setFittedSpan(0);
            QVERIFY(f.chart->lastShownTime() > at(7).addDays(5));
        }
    }

    void captionsFitTheirBars_data() {
        QTest::addColumn<int>("minutes"); // the bar's length; an hour is 160 pixels
        QTest::addColumn<QString>("shown");
        QTest::newRow("two hours: whole") << 120 << "whole";
        QTest::newRow("twenty minutes: cut with an ellipsis") << 20 << "cut";
        QTest::newRow("three minutes: nothing") << 3 << "none";
    }

    void captionsFitTheirBars() {
        QFETCH(int, minutes);
        QFETCH(QString, shown);
        PlainChart f;
        ChartItem& item = *f.data.items().byKey("A");
        item.setCaption(QStringLiteral("Quarterly planning"));
        item.setSpan(at(8), at(8, minutes));
        const Rendered r(f.data, at(6), 8);
        const QRect bar = r.layout.barRect(item.start(), item.end(), 0);
        const QFontMetrics metrics(ChartFont::toQFont(f.data.styles().byKey("Date")->font));
        const int room = bar.width() - 2 * ChartPainter::captionPadding;
        const QString fitted = ChartPainter::fittedCaption(item.caption(), metrics, room);
        if (shown == "whole")
            QCOMPARE(fitted, item.caption());
        else if (shown == "cut") // with at least three letters before the ellipsis
            QVERIFY(fitted.size() >= 4 && fitted.endsWith(QChar(0x2026)) &&
                    item.caption().startsWith(fitted.chopped(1)));
        else
            QVERIFY(fitted.isEmpty());
        // Inside the frame and bevel: text only where a caption is, away from both ends of the bar.
        const QRect ink = inkIn(r.image, bar.adjusted(3, 3, -3, -3));
        QCOMPARE(ink.isEmpty(), shown == "none");
        QVERIFY(ink.isEmpty() || (ink.left() >= bar.left() + ChartPainter::captionPadding &&
                                  ink.right() <= bar.right() + 1 - ChartPainter::captionPadding));
    }

    void dayAndWeekBandsAreReadable_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("room"); // the cell is as wide as this text
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, int scale, const char* room, const char* expected) {
            QTest::newRow(name) << scale << QString(room) << QString(expected);
        };
        // Monday 4 March 2024 is in week 10.
        row("day: weekday and day", 14, "Mon 04", "Mon 04");
        row("narrow day: the day alone", 14, "Mon", "04");
        row("week: number and first day", 15, "W10 04.03.", "W10 04.03.");
        row("narrow week: the number", 15, "W10", "W10");
        row("sliver: nothing", 15, "1", "");
    }

    void dayAndWeekBandsAreReadable() {
        QFETCH(int, scale);
        QFETCH(QString, room);
        QLocale::setDefault(QLocale::c());
        ChartFixture f;
        const Rendered r(f.data, at(0), scale);
        PictureCache pictures;
        const ChartPainter painter(r.layout, pictures);
        const QFontMetrics metrics(ChartFont::toQFont(f.data.settings().lowerBandFont));
        QTEST(painter.bandCaption(false, at(0), metrics.horizontalAdvance(room)), "expected");
        // The scale's own cells are wide enough for the weekday or the week number.
        const QString own = painter.bandCaption(false, at(0), r.layout.scale().cellWidth - 4);
        QVERIFY2(own.startsWith(scale == 14 ? "Mon" : "W10"), qPrintable(own));
    }

    void nowMarkerSparesTheBandCaptions() {
        PlainChart f;
        f.data.settings().showTimeline = true;
        f.data.settings().timelineExtent = ChartSettings::TimelineHead;
        // An hour is 40 pixels: the marker is 10 pixels into the upper band, where its caption begins.
        const Rendered r(f.data, TimePoint::now().addSeconds(-15 * 60), 10);
        const int x = int(r.layout.xOf(TimePoint::now()));
        const QRect band = r.layout.upperBand();
        const QColor marker = bgr(f.data.settings().timeline2);
        QCOMPARE(r.image.pixelColor(x, band.top() + 1), marker);
        // Where the caption's letters are, the line is not.
        const QRect caption = inkIn(r.image, QRect(x - 4, band.top(), 9, band.height()));
        QVERIFY(!caption.isEmpty());
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            QVERIFY(r.image.pixelColor(x, y) != marker);
    }

    void rowCaptionsLineUpWithBars() {
        for (const int alignment : {int(ChartStyle::Top), int(ChartStyle::Centre)}) {
            PlainChart f;
            ChartStyle& rowStyle = *f.data.styles().byKey("Resources");
            rowStyle.verticalAlignment = alignment;
            rowStyle.backColor = 0xFFFFFF;
            f.data.rows().byKey("R1")->height = 90;
            const Rendered r(f.data, at(6), 8);
            const QRect bar = r.layout.barRect(at(8), at(10), 0);
            const QRect text =
                inkIn(r.image, QRect(2, int(r.layout.rowTop(0)) + 1, r.layout.headingWidth() - 6, 88));
            const int slack = 4; // the font's own leading above its letters
            if (alignment == ChartStyle::Top)
                QVERIFY(text.top() >= bar.top() && text.top() <= bar.top() + slack);
            else
                QVERIFY(std::abs(text.center().y() - bar.center().y()) <= slack);
        }
    }
};

QTEST_MAIN(ChartRenderingTest)
#include "tst_chartrendering.moc"
