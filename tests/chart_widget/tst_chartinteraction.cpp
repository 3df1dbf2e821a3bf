#include "ChartFixture.h"
#include "app/AppError.h"
#include "app/ui/ChartFont.h"
#include "chart/widget/ChartPainter.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>

namespace {
// Records every chart signal as "name:detail" in the order they arrive, and answers the permission
// signals with `refuse`.
struct EventLog {
    explicit EventLog(GanttChart& chart) {
        auto key = [](ChartItem* item) { return item ? item->key() : QStringLiteral("-"); };
        auto add = [this](const QString& entry) { entries << entry; };
        QObject::connect(&chart, &GanttChart::GanttItemAdded, [=](ChartItem* i) { add("Added:" + key(i)); });
        QObject::connect(&chart, &GanttChart::GanttItemChanged,
                         [=](ChartItem* i) { add("Changed:" + key(i)); });
        QObject::connect(&chart, &GanttChart::GanttItemClick, [=](ChartItem* i, Qt::MouseButton b) {
            add(QStringLiteral("Click:%1:%2").arg(key(i)).arg(int(b)));
        });
        QObject::connect(&chart, &GanttChart::GanttItemDblClick,
                         [=](ChartItem* i) { add("DblClick:" + key(i)); });
        QObject::connect(&chart, &GanttChart::GanttItemSelected,
                         [=](ChartItem* i) { add("Selected:" + key(i)); });
        QObject::connect(&chart, &GanttChart::GanttItemChangeStarts, [=](ChartItem* i) {
            add(QStringLiteral("Starts:%1:%2").arg(key(i), i->start().isoText()));
        });
        QObject::connect(&chart, &GanttChart::CompleteGanttItemMove,
                         [=](ChartItem* i) { add("Complete:" + key(i)); });
        QObject::connect(&chart, &GanttChart::ClientAreaClick, [=](const QPoint&, Qt::MouseButton b) {
            add(QStringLiteral("AreaClick:%1").arg(int(b)));
        });
        QObject::connect(&chart, &GanttChart::ClientAreaDblClick,
                         [=](TimePoint t, const QPoint&) { add("AreaDblClick:" + t.isoText()); });
        QObject::connect(&chart, &GanttChart::RowClick, [=](int row, Qt::MouseButton b) {
            add(QStringLiteral("RowClick:%1:%2").arg(row).arg(int(b)));
        });
        QObject::connect(&chart, &GanttChart::BeforeGanttItemAdd, [=, this](int row, bool& cancel) {
            add(QStringLiteral("BeforeAdd:%1").arg(row));
            cancel = refuse;
        });
        QObject::connect(&chart, &GanttChart::BeforeGanttItemMove, [=, this](ChartItem* i, bool& cancel) {
            add("BeforeMove:" + key(i));
            cancel = refuse;
        });
        QObject::connect(&chart, &GanttChart::BeforeGanttItemStretch, [=, this](ChartItem* i, bool& cancel) {
            add("BeforeStretch:" + key(i));
            cancel = refuse;
        });
        QObject::connect(&chart, &GanttChart::BeforeRowHeightChange, [=, this](int row, bool& cancel) {
            add(QStringLiteral("BeforeRowHeight:%1").arg(row));
            cancel = refuse;
        });
        QObject::connect(&chart, &GanttChart::AfterGanttItemAdd,
                         [=](ChartItem* i) { add("AfterAdd:" + key(i)); });
        QObject::connect(&chart, &GanttChart::AfterGanttItemMove,
                         [=](ChartItem* i) { add("AfterMove:" + key(i)); });
        QObject::connect(&chart, &GanttChart::AfterGanttItemStretch,
                         [=](ChartItem* i) { add("AfterStretch:" + key(i)); });
        QObject::connect(&chart, &GanttChart::AfterRowHeightChange,
                         [=](int row) { add(QStringLiteral("AfterRowHeight:%1").arg(row)); });
    }

    QStringList entries;
    bool refuse = false;
};

void drag(QWidget* viewport, const QPoint& from, const QPoint& to) {
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    const QPoint middle = (from + to) / 2;
    QTest::mouseMove(viewport, from + QPoint(from.x() < to.x() ? 20 : -20, 0));
    QTest::mouseMove(viewport, middle);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
}

TimePoint at(int hour, int minute = 0) {
    return ChartFixture::at(hour, minute);
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
} // namespace

class ChartInteractionTest : public QObject {
    Q_OBJECT
private slots:
    void drawNewItem_data();
    void drawNewItem();
    void clickWithoutDragCreatesNothing();
    void drawingRefused_data();
    void drawingRefused();
    void moveToAnotherRow();
    void stretch_data();
    void stretch();
    void dropOnCollisionIsRefused();
    void collisionIsShownWhileDragging();
    void dragRepaintsAroundTheBarOnly();
    void lockedAndReadOnlyItemsStay_data();
    void lockedAndReadOnlyItemsStay();
    void permissionCancelStopsMove();
    void escapeCancelsDrag();
    void clicks();
    void doubleClicks();
    void rowHeightDrag();
    void headingWidthDrag_data();
    void headingWidthDrag();
    void headingWidensForNewCaptions();
    void scrollingAndRangeSignal();
    void wheel();
    void tipText();
    void chartsShareOneData();
    void loadShowsTheSavedPlace();
};

void ChartInteractionTest::drawNewItem_data() {
    QTest::addColumn<bool>("snap");
    QTest::addColumn<TimePoint>("pressAt");
    QTest::addColumn<TimePoint>("releaseAt");
    QTest::addColumn<TimePoint>("start");
    QTest::addColumn<TimePoint>("end");
    QTest::newRow("snapped to the grid") << true << at(12, 5) << at(13, 20) << at(12) << at(13, 15);
    QTest::newRow("drawn leftwards") << true << at(14, 5) << at(12, 50) << at(12, 45) << at(14);
    QTest::newRow("at least one grid step") << true << at(12, 5) << at(12, 9) << at(12) << at(12, 15);
    QTest::newRow("not snapped") << false << at(12, 0) << at(13, 30) << at(12, 0) << at(13, 30);
}

void ChartInteractionTest::drawNewItem() {
    QFETCH(bool, snap);
    QFETCH(TimePoint, pressAt);
    QFETCH(TimePoint, releaseAt);
    QFETCH(TimePoint, start);
    QFETCH(TimePoint, end);
    ChartFixture f;
    f.data.settings().snapToGrid = snap;
    EventLog log(*f.chart);
    const int before = f.data.items().count();
    drag(f.viewport(), f.point(pressAt, 2), f.point(releaseAt, 2));

    QCOMPARE(f.data.items().count(), before + 1);
    ChartItem* added = f.data.items().byPosition(before + 1);
    QCOMPARE(added->rowKey(), QStringLiteral("R2"));
    QCOMPARE(added->start(), start);
    QCOMPARE(added->end(), end);
    QCOMPARE(added->styleKey(), QStringLiteral("Date"));
    QVERIFY(QRegularExpression("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$")
                .match(added->key())
                .hasMatch());
    QCOMPARE(f.chart->currentItem(), added);
    // The click that ends the drawing comes last, so that the board keeps the new item shown.
    QCOMPARE(log.entries, QStringList({"BeforeAdd:2", "Added:" + added->key(), "AfterAdd:" + added->key(),
                                       "AreaClick:1"}));
}

void ChartInteractionTest::clickWithoutDragCreatesNothing() {
    ChartFixture f;
    EventLog log(*f.chart);
    f.chart->setCurrentItem("A");
    const QPoint p = f.point(at(13), 3);
    QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseMove(f.viewport(), p + QPoint(3, 1)); // within the drag distance
    QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, p + QPoint(3, 1));
    QCOMPARE(f.data.items().count(), 3);
    QCOMPARE(log.entries, QStringList({"AreaClick:1"}));
    QCOMPARE(f.chart->currentItem(), nullptr);
    QCOMPARE(f.chart->currentRow(), 3);
}

void ChartInteractionTest::drawingRefused_data() {
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<bool>("allowAdd");
    QTest::addColumn<bool>("detectConflicts");
    QTest::addColumn<int>("items");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("permission refused")
        << true << true << true << 3 << QStringList{"BeforeAdd:1", "AreaClick:1"};
    QTest::newRow("adding switched off") << false << false << true << 3 << QStringList{"AreaClick:1"};
    QTest::newRow("over an item") << false << true << true << 3 << QStringList{"BeforeAdd:1", "AreaClick:1"};
    QTest::newRow("over an item, no detection")
        << false << true << false << 4 << QStringList{"BeforeAdd:1", "Added", "AfterAdd", "AreaClick:1"};
}

void ChartInteractionTest::drawingRefused() {
    QFETCH(bool, refuse);
    QFETCH(bool, allowAdd);
    QFETCH(bool, detectConflicts);
    QFETCH(int, items);
    QFETCH(QStringList, events);
    ChartFixture f;
    f.data.settings().allowAdd = allowAdd;
    f.data.settings().detectConflicts = detectConflicts;
    EventLog log(*f.chart);
    log.refuse = refuse;
    // From the empty 07:00 into "A", which begins at 08:00.
    drag(f.viewport(), f.point(at(7), 1), f.point(at(8, 30), 1));
    QCOMPARE(f.data.items().count(), items);
    for (QString& entry : log.entries)
        entry = entry.section(':', 0, entry.startsWith("Added") || entry.startsWith("AfterAdd") ? 0 : 1);
    QCOMPARE(log.entries, events);
}

void ChartInteractionTest::moveToAnotherRow() {
    ChartFixture f;
    EventLog log(*f.chart);
    // Grabbed at 09:00, dropped 2 h 05 min later and two rows down: the start snaps to 10:00.
    drag(f.viewport(), f.point(at(9), 1), f.point(at(11, 5), 3));
    const ChartItem* a = f.data.items().byKey("A");
    QCOMPARE(a->rowKey(), QStringLiteral("R3"));
    QCOMPARE(a->start(), at(10));
    QCOMPARE(a->end(), at(12));
    QCOMPARE(f.chart->currentRow(), 3);
    QCOMPARE(log.entries, QStringList({"Selected:A", "BeforeMove:A", "Starts:A:2024-03-04 08:00:00",
                                       "Changed:A", "AfterMove:A", "Complete:A"}));
    QCOMPARE(f.chart->hitTest(f.point(at(11), 3)).item, a);
}

void ChartInteractionTest::stretch_data() {
    QTest::addColumn<bool>("leftEnd");
    QTest::addColumn<TimePoint>("to");
    QTest::addColumn<TimePoint>("start");
    QTest::addColumn<TimePoint>("end");
    QTest::newRow("end later") << false << at(10, 40) << at(8) << at(10, 45);
    QTest::newRow("end up to the next item") << false << at(11, 5) << at(8) << at(11);
    QTest::newRow("end earlier") << false << at(8, 50) << at(8) << at(8, 45);
    QTest::newRow("end before the start") << false << at(6, 30) << at(8) << at(8, 15);
    QTest::newRow("start earlier") << true << at(6, 55) << at(7) << at(10);
    QTest::newRow("start past the end") << true << at(10, 40) << at(9, 45) << at(10);
}

void ChartInteractionTest::stretch() {
    QFETCH(bool, leftEnd);
    QFETCH(TimePoint, to);
    QFETCH(TimePoint, start);
    QFETCH(TimePoint, end);
    ChartFixture f;
    EventLog log(*f.chart);
    const QPoint grab = leftEnd ? f.point(at(8), 1) + QPoint(1, 0) : f.point(at(10), 1) - QPoint(2, 0);
    drag(f.viewport(), grab, QPoint(f.chart->xAt(to), grab.y()));
    const ChartItem* a = f.data.items().byKey("A");
    QCOMPARE(a->start(), start);
    QCOMPARE(a->end(), end);
    QCOMPARE(a->rowKey(), QStringLiteral("R1"));
    QCOMPARE(log.entries, QStringList({"Selected:A", "BeforeStretch:A", "Starts:A:2024-03-04 08:00:00",
                                       "Changed:A", "AfterStretch:A", "Complete:A"}));
}

void ChartInteractionTest::dropOnCollisionIsRefused() {
    ChartFixture f;
    EventLog log(*f.chart);
    // "A" moved onto row 2 at 08:30 would cover "B" (09:00 - 09:03).
    drag(f.viewport(), f.point(at(9), 1), f.point(at(9, 30), 2));
    const ChartItem* a = f.data.items().byKey("A");
    QCOMPARE(a->rowKey(), QStringLiteral("R1"));
    QCOMPARE(a->start(), at(8));
    QCOMPARE(log.entries, QStringList({"Selected:A", "BeforeMove:A", "Starts:A:2024-03-04 08:00:00"}));

    // Touching spans do not collide: "A" may end where "C" begins.
    log.entries.clear();
    drag(f.viewport(), f.point(at(9), 1), f.point(at(10), 1));
    QCOMPARE(a->start(), at(9));
    QCOMPARE(a->end(), at(11));
    QVERIFY(log.entries.contains("Complete:A"));
}

void ChartInteractionTest::collisionIsShownWhileDragging() {
    ChartFixture f;
    auto redAt = [&](const QPoint& p) {
        const QColor c = f.viewport()->grab().toImage().pixelColor(p);
        return c.red() > 180 && c.green() < 90 && c.blue() < 90;
    };
    f.data.styles().byKey("Date")->backColor = 0xF0C080; // light blue, so that red means a collision
    QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
    QTest::mouseMove(f.viewport(), f.point(at(9), 1) + QPoint(20, 0));
    QTest::mouseMove(f.viewport(), f.point(at(12), 2));
    // Over free time: the outline is not red.
    // The bar lies three pixels inside its row; its outline just outside it.
    const int top = f.chart->rowTop(2) + 1;
    QVERIFY(!redAt(QPoint(f.chart->xAt(at(12)), top + 1)));
    QTest::mouseMove(f.viewport(), f.point(at(9, 30), 2));
    QVERIFY(redAt(QPoint(f.chart->xAt(at(9, 30)), top + 1)));
    QCOMPARE(f.viewport()->cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9, 30), 2));
    QVERIFY(!redAt(QPoint(f.chart->xAt(at(9, 30)), top + 1)));
    QCOMPARE(f.data.items().byKey("A")->start(), at(8));
}

void ChartInteractionTest::dragRepaintsAroundTheBarOnly() {
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

void ChartInteractionTest::lockedAndReadOnlyItemsStay_data() {
    QTest::addColumn<int>("lock");
    QTest::addColumn<bool>("allowEdit");
    QTest::addColumn<Qt::CursorShape>("cursor");
    QTest::newRow("movement lock 2") << 2 << true << Qt::ForbiddenCursor;
    QTest::newRow("changing switched off") << 0 << false << Qt::ArrowCursor;
    QTest::newRow("free") << 0 << true << Qt::SizeAllCursor;
}

void ChartInteractionTest::lockedAndReadOnlyItemsStay() {
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

void ChartInteractionTest::permissionCancelStopsMove() {
    ChartFixture f;
    EventLog log(*f.chart);
    log.refuse = true;
    drag(f.viewport(), f.point(at(9), 1), f.point(at(12), 1));
    drag(f.viewport(), f.point(at(10), 1) - QPoint(1, 0), f.point(at(12), 1));
    QCOMPARE(f.data.items().byKey("A")->start(), at(8));
    QCOMPARE(f.data.items().byKey("A")->end(), at(10));
    QCOMPARE(log.entries, QStringList({"Selected:A", "BeforeMove:A", "BeforeStretch:A"}));
}

void ChartInteractionTest::escapeCancelsDrag() {
    ChartFixture f;
    EventLog log(*f.chart);
    QTest::mousePress(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
    QTest::mouseMove(f.viewport(), f.point(at(9), 1) + QPoint(20, 0));
    QTest::mouseMove(f.viewport(), f.point(at(12), 3));
    QTest::keyClick(f.chart.get(), Qt::Key_Escape);
    QTest::mouseRelease(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(12), 3));
    QCOMPARE(f.data.items().byKey("A")->rowKey(), QStringLiteral("R1"));
    QCOMPARE(f.data.items().byKey("A")->start(), at(8));
    QCOMPARE(log.entries, QStringList({"Selected:A", "BeforeMove:A", "Starts:A:2024-03-04 08:00:00"}));
}

void ChartInteractionTest::clicks() {
    ChartFixture f;
    EventLog log(*f.chart);
    QTest::mouseClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9), 1));
    QTest::mouseClick(f.viewport(), Qt::LeftButton, Qt::NoModifier, f.point(at(9, 30), 1));
    QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, f.point(at(9), 2) + QPoint(4, 0));
    QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, f.middleOf(2)));
    QTest::mouseClick(f.viewport(), Qt::RightButton, Qt::NoModifier, f.point(at(15), 3));
    QCOMPARE(log.entries, QStringList({"Selected:A", "Click:A:1", "Click:A:1", "Selected:B", "Click:B:2",
                                       "RowClick:2:2", "AreaClick:2"}));
    QCOMPARE(f.chart->currentItem(), nullptr);
    QCOMPARE(f.chart->currentRow(), 3);
}

void ChartInteractionTest::doubleClicks() {
    ChartFixture f;
    EventLog log(*f.chart);
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

void ChartInteractionTest::rowHeightDrag() {
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

void ChartInteractionTest::headingWidthDrag_data() {
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<bool>("columns"); // else the heading is one area of the settings' width
    QTest::newRow("one area") << true << false;
    QTest::newRow("second of two columns") << true << true;
    QTest::newRow("switched off") << false << false;
}

void ChartInteractionTest::headingWidthDrag() {
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

void ChartInteractionTest::headingWidensForNewCaptions() {
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

void ChartInteractionTest::scrollingAndRangeSignal() {
    ChartFixture f;
    QSignalSpy moved(f.chart.get(), &GanttChart::VisibleTimeRangeChanged);
    f.chart->scrollTo(at(20));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.last().at(0).value<TimePoint>(), at(20));
    QCOMPARE(moved.last().at(1).value<TimePoint>(), f.chart->lastShownTime());
    QCOMPARE(f.data.settings().firstShownTime, at(20));
    f.chart->scrollBy("d", 2);
    QCOMPARE(f.chart->firstShownTime(), at(20).addDays(2));
    f.chart->scrollBy("m", -1);
    QCOMPARE(f.chart->firstShownTime(), TimePoint::fromDateTime(QDate(2024, 2, 6), QTime(20, 0)));
    QCOMPARE(moved.count(), 3);
    // No interval, no move: a scale without a stepping unit hands an empty code.
    f.chart->scrollBy(QString(), 5);
    QCOMPARE(f.chart->firstShownTime(), TimePoint::fromDateTime(QDate(2024, 2, 6), QTime(20, 0)));
    QCOMPARE(moved.count(), 3);
    // The item area is the viewport less the heading wide: that many 22.5-second pixels are shown.
    const int width = f.chart->viewport()->width() - f.chart->xAt(f.chart->firstShownTime());
    QCOMPARE(f.chart->lastShownTime() - f.chart->firstShownTime(), qint64(width) * 900 / 40);

    // The scroll bar moves the time line too, by pixels.
    QScrollBar* bar = f.chart->horizontalScrollBar();
    bar->setValue(bar->value() + 160);
    QCOMPARE(f.chart->firstShownTime(), TimePoint::fromDateTime(QDate(2024, 2, 6), QTime(21, 0)));
    QCOMPARE(moved.count(), 4);

    // A scale change keeps the first shown time.
    f.chart->setScale(14);
    QCOMPARE(f.data.settings().scale, 14);
    QCOMPARE(f.chart->firstShownTime(), TimePoint::fromDateTime(QDate(2024, 2, 6), QTime(21, 0)));
    // A day is 56 pixels, so a pixel is not a whole number of seconds.
    QVERIFY(std::abs(f.chart->lastShownTime() - f.chart->firstShownTime() - qint64(width) * 86400 / 56) <= 1);
}

void ChartInteractionTest::wheel() {
    ChartFixture f;
    for (int i = 4; i <= 60; ++i)
        f.data.rows().add(QStringLiteral("R%1").arg(i), QString());
    const QPoint p = f.point(at(7), 2);
    const QPoint global = f.viewport()->mapToGlobal(p);
    QWheelEvent down(p, global, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(f.viewport(), &down);
    QCOMPARE(f.chart->firstShownRow(), 4);
    QCOMPARE(f.chart->firstShownTime(), at(6));
    QWheelEvent later(p, global, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ShiftModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.viewport(), &later);
    QCOMPARE(f.chart->firstShownTime(), at(6, 15));
    QCOMPARE(f.chart->firstShownRow(), 4);
    QWheelEvent sideways(p, global, QPoint(), QPoint(240, 0), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                         false);
    QApplication::sendEvent(f.viewport(), &sideways);
    QCOMPARE(f.chart->firstShownTime(), at(5, 45));
}

void ChartInteractionTest::tipText() {
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

void ChartInteractionTest::chartsShareOneData() {
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

void ChartInteractionTest::loadShowsTheSavedPlace() {
    ChartFixture f;
    for (int i = 4; i <= 60; ++i)
        f.data.rows().add(QStringLiteral("R%1").arg(i), QString());
    f.chart->scrollTo(at(7));
    f.chart->scrollToRow(12);
    QTemporaryDir folder;
    const QString path = folder.filePath("saved.qtf");
    f.data.save(path);

    f.chart->scrollTo(at(20));
    f.chart->scrollToRow(30);
    QSignalSpy replaced(&f.data, &GanttData::loaded);
    QSignalSpy moved(f.chart.get(), &GanttChart::VisibleTimeRangeChanged);
    f.data.load(path);
    QCOMPARE(replaced.count(), 1);
    QCOMPARE(f.chart->firstShownTime(), at(7));
    QCOMPARE(f.chart->firstShownRow(), 12);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.last().at(0).value<TimePoint>(), at(7));

    // Also while the data sends no change notices.
    f.chart->scrollTo(at(20));
    f.chart->scrollToRow(30);
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

QTEST_MAIN(ChartInteractionTest)
#include "tst_chartinteraction.moc"
