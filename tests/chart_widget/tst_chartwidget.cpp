#include "ChartFixture.h"
#include "app/AppError.h"
#include "app/ui/ChartFont.h"
#include "chart/widget/ChartLayout.h"
#include "chart/widget/ChartPainter.h"
#include "chart/widget/PictureCache.h"
#include "chart/widget/RenderChartImage.h"

#include <QHelpEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <sys/stat.h>

Q_DECLARE_METATYPE(HitArea)

namespace {
using Chart = GanttChart;

// Records every chart signal as "name:detail" in the order they arrive, and answers the permission
// signals with `refuse`.
struct EventLog {
    explicit EventLog(Chart& chart) {
        item(chart, &Chart::GanttItemAdded, "Added");
        item(chart, &Chart::GanttItemChanged, "Changed");
        item(chart, &Chart::GanttItemDblClick, "DblClick");
        item(chart, &Chart::GanttItemSelected, "Selected");
        item(chart, &Chart::CompleteGanttItemMove, "Complete");
        item(chart, &Chart::AfterGanttItemAdd, "AfterAdd");
        item(chart, &Chart::AfterGanttItemMove, "AfterMove");
        item(chart, &Chart::AfterGanttItemStretch, "AfterStretch");
        ask(chart, &Chart::BeforeGanttItemMove, "BeforeMove");
        ask(chart, &Chart::BeforeGanttItemStretch, "BeforeStretch");
        ask(chart, &Chart::BeforeGanttItemAdd, "BeforeAdd");
        ask(chart, &Chart::BeforeRowHeightChange, "BeforeRowHeight");
        QObject::connect(&chart, &Chart::GanttItemClick, [this](ChartItem* i, Qt::MouseButton b) {
            entries << QStringLiteral("Click:%1:%2").arg(key(i)).arg(int(b));
        });
        QObject::connect(&chart, &Chart::GanttItemChangeStarts, [this](ChartItem* i) {
            entries << "Starts:" + key(i) + ':' + i->start().isoText();
        });
        QObject::connect(&chart, &Chart::ClientAreaClick, [this](const QPoint&, Qt::MouseButton b) {
            entries << QStringLiteral("AreaClick:%1").arg(int(b));
        });
        QObject::connect(&chart, &Chart::ClientAreaDblClick,
                         [this](TimePoint t, const QPoint&) { entries << "AreaDblClick:" + t.isoText(); });
        QObject::connect(&chart, &Chart::RowClick, [this](int row, Qt::MouseButton b) {
            entries << QStringLiteral("RowClick:%1:%2").arg(row).arg(int(b));
        });
        QObject::connect(&chart, &Chart::AfterRowHeightChange,
                         [this](int row) { entries << QStringLiteral("AfterRowHeight:%1").arg(row); });
    }

    static QString key(ChartItem* item) { return item ? item->key() : QStringLiteral("-"); }
    void item(Chart& chart, void (Chart::*signal)(ChartItem*), const QString& name) {
        QObject::connect(&chart, signal, [=, this](ChartItem* i) { entries << name + ':' + key(i); });
    }
    void ask(Chart& chart, void (Chart::*signal)(ChartItem*, bool&), const QString& name) {
        QObject::connect(&chart, signal, [=, this](ChartItem* i, bool& cancel) {
            entries << name + ':' + key(i);
            cancel = refuse;
        });
    }
    void ask(Chart& chart, void (Chart::*signal)(int, bool&), const QString& name) {
        QObject::connect(&chart, signal, [=, this](int row, bool& cancel) {
            entries << name + ':' + QString::number(row);
            cancel = refuse;
        });
    }

    QStringList entries;
    bool refuse = false;
};

// A drag with the left button; Esc before the release cancels it.
void drag(QWidget* viewport, const QPoint& from, const QPoint& to, bool escape = false) {
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(viewport, from + QPoint(from.x() < to.x() ? 20 : -20, 0));
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    if (escape)
        QTest::keyClick(viewport->parentWidget(), Qt::Key_Escape);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
}

// Collects what a widget repaints.
struct PaintLog : QObject {
    explicit PaintLog(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

// What the screen shows of the chart's viewport equals what a repaint of the whole viewport draws.
bool screenIsUpToDate(const ChartFixture& f) {
    QCoreApplication::processEvents();
    const QRect area(f.viewport()->mapTo(f.chart.get(), QPoint(0, 0)), f.viewport()->size());
    const QImage shown = f.chart->screen()
                             ->grabWindow(f.chart->winId(), area.x(), area.y(), area.width(), area.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    return !shown.isNull() && shown == f.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

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

// The chart widget under the mouse, and what it and its image and print draw.
class ChartWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void hitAreas_data() {
        QTest::addColumn<TimePoint>("time");
        QTest::addColumn<int>("dx");  // pixels right of the time
        QTest::addColumn<int>("row"); // 1-based; 0 above the rows (in the bands); 9 below them
        QTest::addColumn<HitArea>("area");
        QTest::addColumn<QString>("item");
        const auto row = [](const char* name, TimePoint time, int dx, int row, HitArea area,
                            const char* item) {
            QTest::newRow(name) << time << dx << row << area << QString(item);
        };
        row("bar body", at(9), 0, 1, HitArea::BarBody, "A");
        row("left edge", at(8), 0, 1, HitArea::BarLeftEdge, "A");
        row("right end", at(9, 59), 0, 1, HitArea::BarRightEdge, "A");
        row("just before the bar", at(7, 59), 0, 1, HitArea::EmptyArea, "");
        row("just after the bar", at(10, 1), 0, 1, HitArea::EmptyArea, "");
        row("same time, other row", at(9, 20), 0, 2, HitArea::EmptyArea, "");
        row("empty row", at(9), 0, 3, HitArea::EmptyArea, "");
        row("below the rows", at(9), 0, 9, HitArea::EmptyArea, "");
        row("time band", at(9), 0, 0, HitArea::TimeBand, "");
        row("heading", at(6), -40, 2, HitArea::RowHeading, "");
        row("heading below the rows", at(6), -40, 9, HitArea::Nothing, "");
        // "A" is 320 pixels wide: five pixels at each end stretch it.
        row("wide, fifth pixel", at(8), 4, 1, HitArea::BarLeftEdge, "A");
        row("wide, sixth pixel", at(8), 5, 1, HitArea::BarBody, "A");
        row("wide, last but five", at(8), 314, 1, HitArea::BarBody, "A");
        row("wide, last but four", at(8), 315, 1, HitArea::BarRightEdge, "A");
        // "B" is 8 pixels wide: two at each end, four in the middle still move it.
        row("narrow, second pixel", at(9), 1, 2, HitArea::BarLeftEdge, "B");
        row("narrow, third pixel", at(9), 2, 2, HitArea::BarBody, "B");
        row("narrow, sixth pixel", at(9), 5, 2, HitArea::BarBody, "B");
        row("narrow, seventh pixel", at(9), 6, 2, HitArea::BarRightEdge, "B");
        row("narrow, past the end", at(9), 8, 2, HitArea::EmptyArea, "");
        // "C" lasts a minute, less than three pixels: drawn three wide, one pixel for each purpose.
        row("tiny, left", at(11), 0, 1, HitArea::BarLeftEdge, "C");
        row("tiny, middle", at(11), 1, 1, HitArea::BarBody, "C");
        row("tiny, right", at(11), 2, 1, HitArea::BarRightEdge, "C");
        row("tiny, past the end", at(11), 3, 1, HitArea::EmptyArea, "");
    }

    void hitAreas() {
        QFETCH(TimePoint, time);
        QFETCH(int, dx);
        QFETCH(int, row);
        QFETCH(HitArea, area);
        ChartFixture f;
        const int x = f.chart->xAt(time) + dx;
        const int y = row == 0 ? 5 : row == 9 ? f.chart->rowBottom(3) + 20 : f.middleOf(row);
        const ChartHit hit = f.chart->hitTest(QPoint(x, y));
        QCOMPARE(hit.area, area);
        QTEST(hit.item ? hit.item->key() : QString(), "item");
        QCOMPARE(hit.row, row >= 1 && row <= 3 ? row - 1 : -1);
        // A pixel spans 22.5 seconds here: the time lies in the pixel column that was hit.
        if ((area == HitArea::EmptyArea || area == HitArea::TimeBand) && dx == 0)
            QVERIFY(hit.time <= time && time < f.chart->timeAt(x + 1));
    }

    void rowsUnderThePointer() {
        ChartFixture f;
        f.data.rows().byKey("R2")->height = 35;
        f.data.redraw();
        QCOMPARE(f.chart->rowBottom(1) + 1, f.chart->rowTop(2));
        QCOMPARE(f.chart->rowBottom(2) - f.chart->rowTop(2) + 1, 35);
        QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowTop(2))), 2);
        QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowBottom(2))), 2);
        QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowBottom(3) + 1)), 0);
        QCOMPARE(f.chart->hitTest(QPoint(10, f.chart->rowBottom(2))).area, HitArea::RowDivider);
        QCOMPARE(f.chart->hitTest(QPoint(10, f.chart->rowBottom(2) - 3)).area, HitArea::RowHeading);
        QCOMPARE(f.chart->firstShownRow(), 1);
        QCOMPARE(f.chart->lastShownRow(), 3);
        // After scrolling down, rows scrolled out above are under no point.
        f.addRows(40);
        f.data.items().add("Far", "R30", at(7), at(8), "F", "Date");
        f.chart->scrollToRow(25);
        QCOMPARE(f.chart->firstShownRow(), 25);
        QCOMPARE(f.chart->rowAt(QPoint(10, f.middleOf(30))), 30);
        const ChartHit hit = f.chart->hitTest(f.point(at(7, 30), 30));
        QCOMPARE(hit.item, f.data.items().byKey("F"));
        QCOMPARE(hit.row, 29);
        QCOMPARE(f.chart->hitTest(QPoint(10, f.middleOf(26))).area, HitArea::RowHeading);
        QCOMPARE(f.chart->hitTest(QPoint(10, f.middleOf(26))).row, 25);
        QVERIFY(f.chart->rowTop(1) < 0);
    }

    void overlappingBarsPreferTheCurrent() {
        ChartFixture f;
        f.data.items().add("Over", "R1", at(9), at(12), "O", "Date");
        const QPoint both = f.point(at(9, 30), 1);
        // The later bar is painted over the earlier one, and is hit.
        QCOMPARE(f.chart->hitTest(both).item, f.data.items().byKey("O"));
        f.chart->setCurrentItem("A");
        QCOMPARE(f.chart->hitTest(both).item, f.data.items().byKey("A"));
    }

    // A drag over free time draws a new item, unless something refuses it.
    void drawNewItem_data() {
        QTest::addColumn<QString>("switches"); // "no snap", "refuse", "no add", "no detection"
        QTest::addColumn<TimePoint>("pressAt");
        QTest::addColumn<TimePoint>("releaseAt");
        QTest::addColumn<int>("row");
        QTest::addColumn<TimePoint>("start"); // the new item's; none drawn where it is the end
        QTest::addColumn<TimePoint>("end");
        QTest::addColumn<QStringList>("events");
        const auto row = [](const char* name, const char* switches, TimePoint press, TimePoint release,
                            int row, TimePoint start, TimePoint end, const QStringList& events) {
            QTest::newRow(name) << QString(switches) << press << release << row << start << end << events;
        };
        // The click that ends the drawing comes last, so that the board keeps the new item shown.
        const QStringList drawn{"BeforeAdd:2", "Added", "AfterAdd", "AreaClick:1"};
        row("snapped to the grid", "", at(12, 5), at(13, 20), 2, at(12), at(13, 15), drawn);
        row("drawn leftwards", "", at(14, 5), at(12, 50), 2, at(12, 45), at(14), drawn);
        row("at least one grid step", "", at(12, 5), at(12, 9), 2, at(12), at(12, 15), drawn);
        row("not snapped", "no snap", at(12), at(13, 30), 2, at(12), at(13, 30), drawn);
        // From the empty 07:00 into "A", which begins at 08:00.
        row("permission refused", "refuse", at(7), at(8, 30), 1, at(0), at(0),
            {"BeforeAdd:1", "AreaClick:1"});
        row("adding switched off", "no add", at(7), at(8, 30), 1, at(0), at(0), {"AreaClick:1"});
        row("over an item", "", at(7), at(8, 30), 1, at(0), at(0), {"BeforeAdd:1", "AreaClick:1"});
        row("over an item, no detection", "no detection", at(7), at(8, 30), 1, at(7), at(8, 30),
            {"BeforeAdd:1", "Added", "AfterAdd", "AreaClick:1"});
    }

    void drawNewItem() {
        QFETCH(QString, switches);
        QFETCH(TimePoint, pressAt);
        QFETCH(TimePoint, releaseAt);
        QFETCH(int, row);
        QFETCH(TimePoint, start);
        QFETCH(TimePoint, end);
        ChartFixture f;
        f.data.settings().snapToGrid = !switches.contains("no snap");
        f.data.settings().allowAdd = !switches.contains("no add");
        f.data.settings().detectConflicts = !switches.contains("no detection");
        EventLog log(*f.chart);
        log.refuse = switches.contains("refuse");
        drag(f.viewport(), f.point(pressAt, row), f.point(releaseAt, row));
        QCOMPARE(f.data.items().count(), start == end ? 3 : 4);
        if (start != end) {
            ChartItem* added = f.data.items().byPosition(4);
            QCOMPARE(added->rowKey(), QStringLiteral("R%1").arg(row));
            QCOMPARE(added->start(), start);
            QCOMPARE(added->end(), end);
            QCOMPARE(added->styleKey(), QStringLiteral("Date"));
            QVERIFY(QRegularExpression("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$")
                        .match(added->key())
                        .hasMatch());
            QCOMPARE(f.chart->currentItem(), added);
            log.entries.replaceInStrings(":" + added->key(), QString());
        }
        QTEST(log.entries, "events");
    }

    // "A" (08:00 to 10:00 on row 1) grabbed by its body or an end and dragged elsewhere.
    void dragItem_data() {
        QTest::addColumn<int>("grip"); // 0 the body (at 09:00), 1 the left end, 2 the right end
        QTest::addColumn<TimePoint>("to");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<QString>("how"); // "refused" by the permission signal, "escape" before the drop
        QTest::addColumn<TimePoint>("start");
        QTest::addColumn<TimePoint>("end");
        QTest::addColumn<int>("row");
        const auto row = [](const char* name, int grip, TimePoint to, int toRow, const char* how,
                            TimePoint start, TimePoint end, int row) {
            QTest::newRow(name) << grip << to << toRow << QString(how) << start << end << row;
        };
        // Dropped 2 h 05 min later and two rows down: the start snaps to 10:00.
        row("move to another row", 0, at(11, 5), 3, "", at(10), at(12), 3);
        // Onto "B" (09:00 - 09:03) on row 2: refused.
        row("move onto a collision", 0, at(9, 30), 2, "", at(8), at(10), 1);
        // Touching spans do not collide: "A" may end where "C" begins.
        row("move up to the next item", 0, at(10), 1, "", at(9), at(11), 1);
        row("move cancelled by Esc", 0, at(12), 3, "escape", at(8), at(10), 1);
        row("move refused", 0, at(12), 1, "refused", at(8), at(10), 1);
        row("stretch refused", 2, at(12), 1, "refused", at(8), at(10), 1);
        row("end later", 2, at(10, 40), 1, "", at(8), at(10, 45), 1);
        row("end up to the next item", 2, at(11, 5), 1, "", at(8), at(11), 1);
        row("end earlier", 2, at(8, 50), 1, "", at(8), at(8, 45), 1);
        row("end before the start", 2, at(6, 30), 1, "", at(8), at(8, 15), 1);
        row("start earlier", 1, at(6, 55), 1, "", at(7), at(10), 1);
        row("start past the end", 1, at(10, 40), 1, "", at(9, 45), at(10), 1);
    }

    void dragItem() {
        QFETCH(int, grip);
        QFETCH(TimePoint, to);
        QFETCH(int, toRow);
        QFETCH(QString, how);
        QFETCH(TimePoint, start);
        QFETCH(TimePoint, end);
        QFETCH(int, row);
        ChartFixture f;
        EventLog log(*f.chart);
        log.refuse = how == "refused";
        const QPoint grab = grip == 0   ? f.point(at(9), 1)
                            : grip == 1 ? f.point(at(8), 1) + QPoint(1, 0)
                                        : f.point(at(10), 1) - QPoint(2, 0);
        drag(f.viewport(), grab, f.point(to, toRow), how == "escape");
        const ChartItem* a = f.data.items().byKey("A");
        QCOMPARE(a->start(), start);
        QCOMPARE(a->end(), end);
        QCOMPARE(a->rowKey(), QStringLiteral("R%1").arg(row));
        QCOMPARE(f.chart->hitTest(f.point(start.addSeconds((end - start) / 2), row)).item, a);
        const QString verb = grip == 0 ? "Move" : "Stretch";
        QStringList events{"Selected:A", "Before" + verb + ":A", "Starts:A:2024-03-04 08:00:00",
                           "Changed:A",  "After" + verb + ":A",  "Complete:A"};
        const bool changed = start != at(8) || end != at(10) || row != 1;
        QCOMPARE(log.entries, events.mid(0, changed ? 6 : how == "refused" ? 2 : 3));
        if (changed)
            QCOMPARE(f.chart->currentRow(), row);
    }

    void collisionIsShownWhileDragging() {
        ChartFixture f;
        auto redAt = [&](const QPoint& p) {
            const QColor c = f.viewport()->grab().toImage().pixelColor(p);
            return c.red() > 180 && c.green() < 90 && c.blue() < 90;
        };
        f.data.styles().byKey("Date")->backColor = 0xF0C080; // light blue, so that red means a collision
        QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
        QTest::mouseMove(f.viewport(), f.point(at(9), 1) + QPoint(20, 0));
        QTest::mouseMove(f.viewport(), f.point(at(12), 2));
        // Over free time the outline, just outside the bar that lies three pixels inside its row, is not red.
        const int top = f.chart->rowTop(2) + 1;
        QVERIFY(!redAt(QPoint(f.chart->xAt(at(12)), top + 1)));
        QTest::mouseMove(f.viewport(), f.point(at(9, 30), 2));
        QVERIFY(redAt(QPoint(f.chart->xAt(at(9, 30)), top + 1)));
        QCOMPARE(f.viewport()->cursor().shape(), Qt::ForbiddenCursor);
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9, 30), 2));
        QVERIFY(!redAt(QPoint(f.chart->xAt(at(9, 30)), top + 1)));
        QCOMPARE(f.data.items().byKey("A")->start(), at(8));
    }

    void dragRepaintsAroundTheBarOnly() {
        ChartFixture f;
        QCoreApplication::processEvents();
        PaintLog log(f.viewport());
        auto moveTo = [&](const QPoint& p) {
            log.painted = QRegion();
            QTest::mouseMove(f.viewport(), p);
            QCoreApplication::processEvents();
        };
        auto barArea = [&](TimePoint start, TimePoint end, int row) {
            return QRect(f.chart->xAt(start), f.chart->rowTop(row), f.chart->xAt(end) - f.chart->xAt(start),
                         f.chart->rowBottom(row) - f.chart->rowTop(row) + 1);
        };
        QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
        QVERIFY(screenIsUpToDate(f));
        // The first step turns the bar into its ghost and shows the preview.
        moveTo(f.point(at(9, 15), 1));
        QVERIFY(screenIsUpToDate(f));
        // Over free time in row 2, then onto "B" with the conflict cue, then back to row 1.
        moveTo(f.point(at(12), 2));
        QVERIFY(log.painted.contains(barArea(at(8, 15), at(10, 15), 1)));
        QVERIFY(log.painted.contains(barArea(at(11), at(13), 2)));
        QVERIFY(!log.painted.intersects(QRect(0, 0, f.chart->xAt(at(6)), f.viewport()->height())));
        QVERIFY(log.painted.boundingRect().width() < f.viewport()->width() / 2);
        QVERIFY(screenIsUpToDate(f));
        moveTo(f.point(at(9, 30), 2));
        QVERIFY(log.painted.contains(barArea(at(8, 30), at(10, 30), 2)));
        QVERIFY(screenIsUpToDate(f));
        moveTo(f.point(at(14), 1));
        QVERIFY(screenIsUpToDate(f));
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(14), 1));
        QCOMPARE(f.data.items().byKey("A")->start(), at(13));
        QVERIFY(screenIsUpToDate(f));
        // Changing a row's height repaints the line that follows the pointer, not the chart.
        const int bottom = f.chart->rowBottom(2);
        QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, bottom));
        moveTo(QPoint(30, bottom + 10));
        moveTo(QPoint(30, bottom + 20));
        QVERIFY(log.painted.boundingRect().height() <= 20);
        QVERIFY(screenIsUpToDate(f));
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, bottom + 20));
        QVERIFY(screenIsUpToDate(f));
    }

    void lockedAndReadOnlyItemsStay_data() {
        QTest::addColumn<int>("lock");
        QTest::addColumn<bool>("allowEdit");
        QTest::addColumn<Qt::CursorShape>("cursor");
        QTest::newRow("movement lock 2") << 2 << true << Qt::ForbiddenCursor;
        QTest::newRow("changing switched off") << 0 << false << Qt::ArrowCursor;
        QTest::newRow("free") << 0 << true << Qt::SizeAllCursor;
    }

    void lockedAndReadOnlyItemsStay() {
        QFETCH(int, lock);
        QFETCH(bool, allowEdit);
        QFETCH(Qt::CursorShape, cursor);
        ChartFixture f;
        f.data.items().byKey("A")->setMovementLock(lock);
        f.data.settings().allowEdit = allowEdit;
        EventLog log(*f.chart);
        // The pointer enters the chart first, as a user's does.
        QTest::mouseMove(f.viewport(), f.point(at(14), 3));
        QCOMPARE(f.viewport()->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(f.viewport(), f.point(at(9), 1));
        QCOMPARE(f.viewport()->cursor().shape(), cursor);
        QTest::mouseMove(f.viewport(), f.point(at(10), 1) - QPoint(1, 0));
        QCOMPARE(f.viewport()->cursor().shape(), cursor == Qt::SizeAllCursor ? Qt::SizeHorCursor : cursor);
        drag(f.viewport(), f.point(at(9), 1), f.point(at(13), 1));
        const bool moves = lock == 0 && allowEdit;
        QCOMPARE(f.data.items().byKey("A")->start(), moves ? at(12) : at(8));
        QCOMPARE(log.entries.contains("BeforeMove:A"), moves);
        // A refused drag is no click either.
        QVERIFY(!log.entries.contains(QStringLiteral("Click:A:1")));
    }

    void clicks() {
        ChartFixture f;
        EventLog log(*f.chart);
        // A press and release within the drag distance is a click: it draws nothing.
        f.chart->setCurrentItem("A");
        const QPoint p = f.point(at(13), 3);
        QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseMove(f.viewport(), p + QPoint(3, 1));
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, p + QPoint(3, 1));
        QCOMPARE(log.entries, QStringList({"AreaClick:1"}));
        QCOMPARE(f.chart->currentItem(), nullptr);
        QCOMPARE(f.chart->currentRow(), 3);
        log.entries.clear();
        QTest::mouseClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
        QTest::mouseClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9, 30), 1));
        QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, f.point(at(9), 2) + QPoint(4, 0));
        QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, f.middleOf(2)));
        QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, f.point(at(15), 3));
        QCOMPARE(log.entries, QStringList({"Selected:A", "Click:A:1", "Click:A:1", "Selected:B", "Click:B:2",
                                           "RowClick:2:2", "AreaClick:2"}));
        QCOMPARE(f.chart->currentItem(), nullptr);
        QCOMPARE(f.chart->currentRow(), 3);
        log.entries.clear();
        QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
        QVERIFY(log.entries.contains("DblClick:A"));
        log.entries.clear();
        // Snapping puts the time at the start of the grid step under the pointer.
        QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(13, 10), 2));
        QVERIFY(log.entries.contains("AreaDblClick:2024-03-04 13:00:00"));
        QCOMPARE(log.entries.filter("Added").size(), 0);
        log.entries.clear();
        // Below the last row there is still a time, but no row.
        QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(f.chart->xAt(at(7)), f.chart->rowBottom(3) + 30));
        QVERIFY(log.entries.contains("AreaDblClick:2024-03-04 07:00:00"));
        QCOMPARE(f.data.items().count(), 3);
    }

    void rowHeightDrag() {
        ChartFixture f;
        EventLog log(*f.chart);
        const int bottom = f.chart->rowBottom(2);
        drag(f.viewport(), QPoint(30, bottom), QPoint(30, bottom + 22));
        QCOMPARE(f.data.rows().byKey("R2")->height, 20 + 22);
        QCOMPARE(f.chart->rowTop(3), bottom + 23);
        QCOMPARE(log.entries, QStringList({"BeforeRowHeight:2", "AfterRowHeight:2"}));
        log.entries.clear();
        f.data.settings().allowRowSize = false;
        drag(f.viewport(), QPoint(30, f.chart->rowBottom(1)), QPoint(30, f.chart->rowBottom(1) + 30));
        QCOMPARE(f.data.rows().byKey("R1")->height, 0);
        QCOMPARE(log.entries, QStringList({"RowClick:1:1"}));
    }

    void headingWidthDrag_data() {
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("columns"); // else the heading is one area of the settings' width
        QTest::newRow("one area") << true << false;
        QTest::newRow("second of two columns") << true << true;
        QTest::newRow("switched off") << false << false;
    }

    void headingWidthDrag() {
        QFETCH(bool, allowed);
        QFETCH(bool, columns);
        ChartFixture f;
        f.data.settings().allowRowHeadingSize = allowed;
        if (columns) {
            f.data.headingColumns().add(QStringLiteral("Name"), 70);
            f.data.headingColumns().add(QStringLiteral("Place"), 50);
            f.data.redraw();
        }
        const auto width = [&] {
            return columns ? f.data.headingColumns().byPosition(2)->width : f.data.settings().headingWidth;
        };
        const int before = width();
        const int edge = (columns ? 70 + 50 : before) - 2;
        const int barBefore = f.chart->xAt(at(8));
        QSignalSpy changed(f.chart.get(), &GanttChart::AfterHeadingWidthChange);
        QCOMPARE(f.chart->hitTest(QPoint(edge, f.middleOf(1))).area,
                 allowed ? HitArea::ColumnEdge : HitArea::RowHeading);
        drag(f.viewport(), QPoint(edge, f.middleOf(1)), QPoint(edge + 60, f.middleOf(1)));
        QCOMPARE(width(), allowed ? before + 60 : before);
        QCOMPARE(changed.size(), allowed ? 1 : 0);
        // The item area moved with the heading's edge.
        QCOMPARE(f.chart->xAt(at(8)), barBefore + (allowed ? 60 : 0));
        if (columns)
            QCOMPARE(f.data.headingColumns().byPosition(1)->width, 70);
    }

    void headingWidensForNewCaptions() {
        ChartFixture f;
        ChartSettings& settings = f.data.settings();
        const QFontMetrics metrics(ChartFont::toQFont(f.data.styles().byKey("Resources")->font));
        const QString name = QStringLiteral("Heavy goods vehicle with trailer");
        ChartRow& added = f.data.rows().add(QStringLiteral("R4"), name, QStringLiteral("Resources"));
        f.data.redraw();
        QVERIFY(settings.headingWidth >= metrics.horizontalAdvance(name) + 2 * ChartPainter::captionPadding);
        const int fitted = settings.headingWidth;
        added.caption = name + QStringLiteral(" and crane");
        f.data.redraw();
        QVERIFY(settings.headingWidth > fitted);
        // A shorter name never narrows it, nor do changes that leave the names alone; a width the user
        // chose stays until a name needs more.
        settings.headingWidth = 90;
        added.caption = QStringLiteral("Van");
        f.data.items().byKey("A")->setCaption(QStringLiteral("Moved"));
        f.data.redraw();
        QCOMPARE(settings.headingWidth, 90);
    }

    void scrollingAndRangeSignal() {
        ChartFixture f;
        const QPoint before = f.point(at(9), 1);
        QSignalSpy moved(f.chart.get(), &GanttChart::VisibleTimeRangeChanged);
        f.chart->scrollTo(at(8, 30));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.last().at(0).value<TimePoint>(), at(8, 30));
        QCOMPARE(moved.last().at(1).value<TimePoint>(), f.chart->lastShownTime());
        QCOMPARE(f.data.settings().firstShownTime, at(8, 30));
        // The bar moved left with the time line; its old place shows what comes later.
        const QPoint after = f.point(at(9), 1);
        QCOMPARE(before.x() - after.x(), 2.5 * 160);
        QCOMPARE(f.chart->hitTest(after).item, f.data.items().byKey("A"));
        QCOMPARE(f.chart->hitTest(before).time, at(11, 30));
        f.chart->scrollBy("h", -3);
        QCOMPARE(f.chart->firstShownTime(), at(5, 30));
        QCOMPARE(f.chart->hitTest(f.point(at(8, 1), 1)).item, f.data.items().byKey("A"));
        f.chart->scrollTo(at(20));
        f.chart->scrollBy("d", 2);
        QCOMPARE(f.chart->firstShownTime(), at(20).addDays(2));
        f.chart->scrollBy("m", -1);
        const TimePoint monthBack = TimePoint::fromDateTime(QDate(2024, 2, 6), QTime(20, 0));
        QCOMPARE(f.chart->firstShownTime(), monthBack);
        QCOMPARE(moved.count(), 5);
        // No interval, no move: a scale without a stepping unit hands an empty code.
        f.chart->scrollBy(QString(), 5);
        QCOMPARE(f.chart->firstShownTime(), monthBack);
        QCOMPARE(moved.count(), 5);
        // The item area is the viewport less the heading wide: that many 22.5-second pixels are shown.
        const int width = f.chart->viewport()->width() - f.chart->xAt(f.chart->firstShownTime());
        QCOMPARE(f.chart->lastShownTime() - f.chart->firstShownTime(), qint64(width) * 900 / 40);
        QScrollBar* bar = f.chart->horizontalScrollBar();
        bar->setValue(bar->value() + 160);
        QCOMPARE(f.chart->firstShownTime(), monthBack.addSeconds(3600));
        QCOMPARE(moved.count(), 6);
        f.chart->setScale(14);
        QCOMPARE(f.data.settings().scale, 14);
        QCOMPARE(f.chart->firstShownTime(), monthBack.addSeconds(3600));
        // A day is 56 pixels, so a pixel is not a whole number of seconds.
        QVERIFY(std::abs(f.chart->lastShownTime() - f.chart->firstShownTime() - qint64(width) * 86400 / 56) <=
                1);
    }

    void wheel() {
        ChartFixture f;
        f.addRows(60);
        const QPoint p = f.point(at(7), 2);
        const auto turn = [&](QPoint delta, Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(p, f.viewport()->mapToGlobal(p), QPoint(), delta, Qt::NoButton, modifiers,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(f.viewport(), &event);
        };
        turn(QPoint(0, -120), Qt::NoModifier);
        QCOMPARE(f.chart->firstShownRow(), 4);
        QCOMPARE(f.chart->firstShownTime(), at(6));
        turn(QPoint(0, -120), Qt::ShiftModifier);
        QCOMPARE(f.chart->firstShownTime(), at(6, 15));
        QCOMPARE(f.chart->firstShownRow(), 4);
        turn(QPoint(240, 0), Qt::NoModifier);
        QCOMPARE(f.chart->firstShownTime(), at(5, 45));
    }

    void tipText() {
        ChartFixture f;
        QString seen;
        connect(f.chart.get(), &GanttChart::GanttItemTipText, [&](QString& text, ChartItem* item) {
            seen = text;
            text = item->caption() + "\r\nsecond line";
        });
        const QPoint p = f.point(at(9), 1);
        QHelpEvent help(QEvent::ToolTip, p, f.viewport()->mapToGlobal(p));
        QApplication::sendEvent(f.viewport(), &help);
        const QLocale locale;
        QCOMPARE(seen, at(8).shortTime(locale) + " - " + at(10).shortTime(locale));
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Alpha\nsecond line"));
    }

    void chartsShareOneData() {
        ChartFixture f;
        GanttChart second(f.data);
        second.resize(600, 200);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        second.scrollTo(at(7));
        // Each chart keeps its own range; both follow a change of the data.
        QCOMPARE(f.chart->firstShownTime(), at(6));
        drag(f.viewport(), f.point(at(9), 1), f.point(at(10), 3));
        const QPoint there(second.xAt(at(10)), (second.rowTop(3) + second.rowBottom(3)) / 2);
        QCOMPARE(second.hitTest(there).item, f.data.items().byKey("A"));
        f.data.items().remove("A");
        QCOMPARE(second.hitTest(there).item, nullptr);
        QCOMPARE(f.chart->currentItem(), nullptr);
    }

    void loadShowsTheSavedPlace() {
        ChartFixture f;
        f.addRows(60);
        f.chart->scrollTo(at(7));
        f.chart->scrollToRow(12);
        QTemporaryDir folder;
        const QString path = folder.filePath("saved.qtf");
        f.data.save(path);
        const auto moveAway = [&] {
            f.chart->scrollTo(at(20));
            f.chart->scrollToRow(30);
        };
        moveAway();
        QSignalSpy replaced(&f.data, &GanttData::loaded);
        QSignalSpy moved(f.chart.get(), &GanttChart::VisibleTimeRangeChanged);
        f.data.load(path);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(f.chart->firstShownTime(), at(7));
        QCOMPARE(f.chart->firstShownRow(), 12);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.last().at(0).value<TimePoint>(), at(7));
        // Also while the data sends no change notices.
        moveAway();
        f.data.setBulkChange(false);
        f.data.load(path);
        f.data.setBulkChange(true);
        QCOMPARE(f.chart->firstShownTime(), at(7));
        QCOMPARE(f.chart->firstShownRow(), 12);
        // An emptied chart shows the default place; a failed load leaves the chart where it is.
        f.data.clear();
        QCOMPARE(replaced.count(), 3);
        QCOMPARE(f.chart->firstShownTime(), ChartSettings().firstShownTime);
        QCOMPARE(f.chart->firstShownRow(), 0);
        f.data.load(path);
        f.chart->scrollTo(at(20));
        QVERIFY_THROWS_EXCEPTION(AppError, f.data.load(folder.filePath("missing.qtf")));
        QCOMPARE(replaced.count(), 4);
        QCOMPARE(f.chart->firstShownTime(), at(20));
    }

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

QTEST_MAIN(ChartWidgetTest)
#include "tst_chartwidget.moc"
