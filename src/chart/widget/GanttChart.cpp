#include "GanttChart.h"

#include "AccessibleChart.h"
#include "ChartLayout.h"
#include "ChartPainter.h"
#include "PictureCache.h"
#include "RowNavigation.h"
#include "chart/GanttData.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QUuid>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// The scroll range never spans more pixels than this, whatever the data's extent at a fine scale.
constexpr std::int64_t maxScrollPixels = std::int64_t(1) << 29;
// Dragging this close to an edge of the item area scrolls the chart.
constexpr int autoScrollZone = 24;

QString defaultTip(const ChartItem& item) {
    const QLocale locale;
    if (item.start().datePart() == item.end().datePart())
        return item.start().shortTime(locale) + QStringLiteral(" - ") + item.end().shortTime(locale);
    return item.start().shortDate(locale) + ' ' + item.start().shortTime(locale) + QStringLiteral(" - ") +
           item.end().shortDate(locale) + ' ' + item.end().shortTime(locale);
}
} // namespace

struct GanttChart::Private {
    enum class Gesture { None, Pending, Refused, Drawing, Moving, StretchStart, StretchEnd, RowHeight };

    // One press of a mouse button and what it turned into.
    struct Drag {
        Gesture gesture = Gesture::None;
        Qt::MouseButton button = Qt::NoButton;
        HitArea area = HitArea::Nothing;
        QPoint pressPos;
        QPoint lastPos;
        int row = -1;
        TimePoint pressTime;
        QString itemKey;
        TimePoint originalStart;
        TimePoint originalEnd;
        int originalRow = -1;
        int targetRow = -1;
        TimePoint targetStart;
        TimePoint targetEnd;
        int targetHeight = 0;
        bool collides = false;
    };

    Private(GanttChart* chart, GanttData& chartData)
        : q(chart)
        , data(&chartData)
        , layout(chartData) {}

    [[nodiscard]] ChartSettings& settings() const { return data->settings(); }
    [[nodiscard]] QRect itemArea() const { return layout.itemArea(); }
    [[nodiscard]] std::int64_t pageSeconds() const;
    [[nodiscard]] TimeUnit gridUnit() const;
    [[nodiscard]] TimePoint snapped(TimePoint t) const;
    [[nodiscard]] ChartItem* item(const QString& key) const {
        return key.isEmpty() ? nullptr : data->items().byKey(key);
    }
    [[nodiscard]] QRect barBounds(const QString& key) const;
    [[nodiscard]] QRect previewBounds() const;
    [[nodiscard]] QRect rowHeightLine() const;
    [[nodiscard]] bool locked(const ChartItem& item) const { return item.movementLock() != 0; }

    void dataChanged();
    void dataReplaced();
    void showSavedPosition();
    void scanExtent();
    void applyOffsets();
    void updateScrollBars(bool rebuild);
    void updateHorizontalRange(bool rebuild);
    void setFirstShown(TimePoint t, std::int64_t remainder);
    void reportShownRange();
    void refresh();

    void setCurrent(const QString& key, bool announce);
    // Scrolls the least that shows the whole row.
    void showRow(int row);
    // Scrolls the time line to the item's start when part of it lies outside the shown range.
    void showTime(const ChartItem& found);
    void setHover(const QString& key);
    void updateCursor(const ChartHit& hit);

    void beginGesture();
    void track(const QPoint& pos);
    // The targets of a move or a stretch of the end, and whether they collide: shared by the
    // pointer and the keys, so both refuse the same changes.
    void aimMove(TimePoint start, int row);
    void aimStretchEnd(TimePoint end);
    void testCollision(const ChartItem* moving);
    void finishGesture();
    void finishDraw();
    void finishChange();
    void finishRowHeight();
    void cancelGesture();
    void autoScroll();

    // The keyboard
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    // The current row, or without one the first shown row; -1 without rows.
    [[nodiscard]] int keyRow() const;
    // The current item when it lies on the current row; nullptr otherwise.
    [[nodiscard]] ChartItem* currentInRow() const;
    // One grid step later (direction 1) or earlier (-1), keeping the place inside the grid cell.
    [[nodiscard]] TimePoint gridStep(TimePoint t, int direction) const;
    void selectByKey(ChartItem* found, int row);
    void selectAlongRow(int direction);
    void selectRowEnd(bool last);
    void changeRow(int direction);
    // A move or stretch of the current item through the same gesture as the mouse's.
    void changeByKey(HitArea handle, int timeSteps, int rowSteps);
    void activateByKey();
    void requestRowMenu();
    // The viewport y in the middle of the row, where the keys act as a pointer would.
    [[nodiscard]] int rowMiddle(int row) const;

    GanttChart* q;
    GanttData* data;
    ChartLayout layout;
    PictureCache pictures;

    TimePoint first;           // exact time at the item area's left edge
    std::int64_t subPixel = 0; // pixels the edge lies right of `first`, where a second is wider
    std::int64_t yOffset = 0;
    std::int64_t fittedSpan = 0; // seconds shown across the item area; 0 for the scale's own widths
    std::int64_t rangeEndX = 0;  // content x of the end of the horizontal scroll range
    TimePoint extentStart;
    TimePoint extentEnd;
    bool hasExtent = false;
    bool settingScrollBars = false;
    TimePoint reportedFirst;
    TimePoint reportedLast;
    bool reported = false;

    QString currentKey;
    int currentRow = -1;
    // The span of the booking last made current: Down and Up look for the nearest one to it.
    TimePoint keySpanStart;
    TimePoint keySpanEnd;
    bool keySpanSet = false;
    QString hoverKey;
    Drag drag;
    bool releaseAfterDoubleClick = false;
    QTimer autoScrollTimer;
    QTimer extentTimer;

    bool printPrepared = false;
    TimePoint printStart;
    TimePoint printEnd;
    int printHeight = 0;
};

std::int64_t GanttChart::Private::pageSeconds() const {
    const TimeAxis& axis = layout.timeAxis();
    return std::max<std::int64_t>(axis.cellSeconds() * std::max(itemArea().width(), 1) / axis.cellWidth(), 1);
}

TimeUnit GanttChart::Private::gridUnit() const {
    const TimeUnit grid = TimeUnit::fromCode(settings().gridInterval);
    return grid.isValid() ? grid : layout.scale().lower;
}

TimePoint GanttChart::Private::snapped(TimePoint t) const {
    return settings().snapToGrid ? gridUnit().round(t) : t;
}

QRect GanttChart::Private::barBounds(const QString& key) const {
    const ChartItem* found = item(key);
    if (!found)
        return {};
    const int row = layout.indexOfRow(found->rowKey());
    if (row < 0)
        return {};
    const int m = ChartPainter::frameMargin;
    return layout.barRect(found->start(), found->end(), row).adjusted(-m, -m, m, m);
}

QRect GanttChart::Private::previewBounds() const {
    if (drag.targetRow < 0 || drag.targetRow >= layout.rowCount())
        return {};
    // The outline and the conflict cue reach beyond the bar.
    const int m = ChartPainter::frameMargin;
    return layout.barRect(drag.targetStart, drag.targetEnd, drag.targetRow).adjusted(-m, -m, m, m);
}

QRect GanttChart::Private::rowHeightLine() const {
    const int y = int(layout.rowTop(drag.row)) + drag.targetHeight - 1;
    return {0, y, layout.size().width(), 2};
}

void GanttChart::Private::scanExtent() {
    ItemCollection& items = data->items();
    hasExtent = items.count() > 0;
    for (int position = 1; position <= items.count(); ++position) {
        const ChartItem* found = items.byPosition(position);
        if (position == 1 || found->start() < extentStart)
            extentStart = found->start();
        if (position == 1 || found->end() > extentEnd)
            extentEnd = found->end();
    }
}

void GanttChart::Private::applyOffsets() {
    layout.setSize(q->viewport()->size());
    if (fittedSpan > 0) {
        layout.setTimeAxis(TimeAxis(first, fittedSpan, std::max(itemArea().width(), 1)));
        layout.setOffsets(0, yOffset);
        return;
    }
    layout.setOffsets(layout.timeAxis().xAt(first) + subPixel, yOffset);
}

void GanttChart::Private::updateScrollBars(bool rebuild) {
    applyOffsets();
    settingScrollBars = true;
    if (fittedSpan > 0)
        q->horizontalScrollBar()->setRange(0, 0);
    else
        updateHorizontalRange(rebuild);

    const std::int64_t height = std::max(itemArea().height(), 1);
    const std::int64_t maxY = std::max<std::int64_t>(layout.rowAxis().totalHeight() - height, 0);
    yOffset = std::clamp<std::int64_t>(yOffset, 0, maxY);
    QScrollBar* v = q->verticalScrollBar();
    v->setRange(0, int(maxY));
    v->setPageStep(int(height));
    v->setSingleStep(std::max(settings().defaultRowHeight, 1));
    v->setValue(int(yOffset));
    applyOffsets();

    const Qt::ScrollBarPolicy policy =
        settings().scrollBarsVisible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    q->setVerticalScrollBarPolicy(policy);
    const bool timelineScrolls = settings().allowTimelineScroll && fittedSpan == 0;
    q->setHorizontalScrollBarPolicy(timelineScrolls ? policy : Qt::ScrollBarAlwaysOff);
    settingScrollBars = false;
}

void GanttChart::Private::updateHorizontalRange(bool rebuild) {
    const std::int64_t page = std::max(itemArea().width(), 1);
    const std::int64_t span = pageSeconds();
    TimePoint low = first.addSeconds(-span);
    TimePoint high = first.addSeconds(2 * span);
    if (hasExtent) {
        low = std::min(low, extentStart.addSeconds(-span));
        high = std::max(high, extentEnd.addSeconds(span));
    }
    const TimeAxis& axis = layout.timeAxis();
    const std::int64_t reach = axis.cellSeconds() * (maxScrollPixels / 2) / axis.cellWidth();
    low = std::max(low, first.addSeconds(-reach));
    high = std::min(high, first.addSeconds(reach));
    const std::int64_t x = axis.xAt(first) + subPixel;
    const bool covered = axis.xAt(low) >= 0 && x + page <= rangeEndX && axis.xAt(high) <= rangeEndX;
    if (rebuild || !covered) {
        // Origins are whole lower-band cells, so a new origin shifts the content by whole cells and
        // the shown pixels stay where they are.
        layout.setTimeOrigin(layout.scale().lower.floor(low));
        rangeEndX = std::max(layout.timeAxis().xAt(high), layout.timeAxis().xAt(first) + subPixel + page);
        applyOffsets();
    }
    QScrollBar* h = q->horizontalScrollBar();
    h->setRange(0, int(std::max<std::int64_t>(rangeEndX - page, 0)));
    h->setPageStep(int(page));
    h->setSingleStep(layout.scale().cellWidth);
    h->setValue(int(layout.xOffset()));
}

void GanttChart::Private::setFirstShown(TimePoint t, std::int64_t remainder) {
    first = t;
    subPixel = remainder;
    settings().firstShownTime = first;
    updateScrollBars(false);
    q->viewport()->update();
    reportShownRange();
}

void GanttChart::Private::reportShownRange() {
    const TimePoint shownFirst = first;
    const TimePoint shownLast = layout.lastShownTime();
    if (reported && shownFirst == reportedFirst && shownLast == reportedLast)
        return;
    reported = true;
    reportedFirst = shownFirst;
    reportedLast = shownLast;
    emit q->VisibleTimeRangeChanged(shownFirst, shownLast);
}

void GanttChart::Private::refresh() {
    layout.refreshRows();
    if (layout.scaleLevel() != std::clamp(settings().scale, 0, TimeScale::count - 1)) {
        layout.setScaleLevel(settings().scale);
        subPixel = 0;
    }
    if (!item(currentKey))
        currentKey.clear();
    if (!item(hoverKey))
        hoverKey.clear();
    currentRow = std::min(currentRow, layout.rowCount() - 1);
    updateScrollBars(true);
}

void GanttChart::Private::dataChanged() {
    // The extent only sets the scroll range: it is taken once after a run of changes.
    extentTimer.start();
    refresh();
    const bool itemGesture = drag.gesture == Gesture::Moving || drag.gesture == Gesture::StretchStart ||
                             drag.gesture == Gesture::StretchEnd;
    const bool rowGone = drag.row >= layout.rowCount() || drag.targetRow >= layout.rowCount();
    if ((itemGesture && !item(drag.itemKey)) || rowGone)
        cancelGesture();
    q->viewport()->update();
    reportShownRange();
}

void GanttChart::Private::dataReplaced() {
    // A gesture on the previous content has nothing left to act on.
    cancelGesture();
    showSavedPosition();
    q->viewport()->update();
    reportShownRange();
}

void GanttChart::Private::showSavedPosition() {
    first = settings().firstShownTime;
    subPixel = 0;
    scanExtent();
    refresh();
    yOffset = layout.yOffsetShowingRow(settings().firstShownRow);
    updateScrollBars(false);
}

void GanttChart::Private::setCurrent(const QString& key, bool announce) {
    if (key == currentKey)
        return;
    q->viewport()->update(barBounds(currentKey));
    currentKey = key;
    q->viewport()->update(barBounds(currentKey));
    if (ChartItem* found = item(key)) {
        const int row = layout.indexOfRow(found->rowKey());
        if (row != currentRow) {
            currentRow = row;
            q->viewport()->update(layout.headingArea());
        }
        keySpanStart = found->start();
        keySpanEnd = found->end();
        keySpanSet = true;
        if (announce)
            emit q->GanttItemSelected(found);
    }
    AccessibleChart::currentChanged(*q);
}

void GanttChart::Private::showRow(int row) {
    const std::int64_t top = layout.rowAxis().top(row);
    const std::int64_t bottom = layout.rowAxis().bottom(row);
    const std::int64_t height = itemArea().height();
    if (top < yOffset)
        yOffset = top;
    else if (bottom > yOffset + height)
        yOffset = bottom - height;
    updateScrollBars(false);
    q->viewport()->update();
}

void GanttChart::Private::showTime(const ChartItem& found) {
    if (found.start() >= first && found.end() <= layout.lastShownTime())
        return;
    setFirstShown(gridUnit().floor(found.start()), 0);
}

void GanttChart::Private::setHover(const QString& key) {
    if (key == hoverKey)
        return;
    q->viewport()->update(barBounds(hoverKey));
    hoverKey = key;
    q->viewport()->update(barBounds(hoverKey));
}

void GanttChart::Private::updateCursor(const ChartHit& hit) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (hit.area) {
    case HitArea::BarBody:
    case HitArea::BarLeftEdge:
    case HitArea::BarRightEdge:
        if (locked(*hit.item))
            shape = Qt::ForbiddenCursor;
        else if (settings().allowEdit)
            shape = hit.area == HitArea::BarBody ? Qt::SizeAllCursor : Qt::SizeHorCursor;
        break;
    case HitArea::RowDivider:
        if (settings().allowRowSize)
            shape = Qt::SplitVCursor;
        break;
    default:
        break;
    }
    q->viewport()->setCursor(shape);
}

void GanttChart::Private::beginGesture() {
    bool cancel = false;
    switch (drag.area) {
    case HitArea::EmptyArea:
        emit q->BeforeGanttItemAdd(drag.row + 1, cancel);
        drag.gesture = cancel ? Gesture::Refused : Gesture::Drawing;
        drag.originalRow = drag.row;
        break;
    case HitArea::RowDivider:
        emit q->BeforeRowHeightChange(drag.row + 1, cancel);
        drag.gesture = cancel ? Gesture::Refused : Gesture::RowHeight;
        drag.targetHeight = layout.rowAxis().height(drag.row);
        break;
    case HitArea::BarBody:
    case HitArea::BarLeftEdge:
    case HitArea::BarRightEdge: {
        ChartItem* found = item(drag.itemKey);
        if (!found || locked(*found) || !settings().allowEdit) {
            drag.gesture = Gesture::Refused;
            break;
        }
        if (drag.area == HitArea::BarBody)
            emit q->BeforeGanttItemMove(found, cancel);
        else
            emit q->BeforeGanttItemStretch(found, cancel);
        found = item(drag.itemKey);
        if (cancel || !found) {
            drag.gesture = Gesture::Refused;
            break;
        }
        drag.originalStart = found->start();
        drag.originalEnd = found->end();
        drag.originalRow = layout.indexOfRow(found->rowKey());
        drag.gesture = drag.area == HitArea::BarBody       ? Gesture::Moving
                       : drag.area == HitArea::BarLeftEdge ? Gesture::StretchStart
                                                           : Gesture::StretchEnd;
        emit q->GanttItemChangeStarts(found);
        if (!item(drag.itemKey))
            drag.gesture = Gesture::Refused;
        else
            q->viewport()->update(barBounds(drag.itemKey)); // the bar turns into its ghost
        break;
    }
    default:
        drag.gesture = Gesture::Refused;
        break;
    }
}

void GanttChart::Private::track(const QPoint& pos) {
    drag.lastPos = pos;
    // Only the preview moves: repainting its old and new place is enough.
    const QRect oldPreview = previewBounds();
    const TimePoint t = layout.timeAtX(pos.x());
    const std::int64_t step = std::max<std::int64_t>(gridUnit().seconds(), 1);
    const ChartItem* moving = nullptr;
    switch (drag.gesture) {
    case Gesture::RowHeight: {
        const QRect oldLine = rowHeightLine();
        const std::int64_t top = layout.rowTop(drag.row);
        drag.targetHeight = int(std::clamp<std::int64_t>(pos.y() - top + 1, 4, 2000));
        q->viewport()->update(QRegion(oldLine) + rowHeightLine());
        return;
    }
    case Gesture::Drawing: {
        const TimePoint anchor = settings().snapToGrid ? gridUnit().floor(drag.pressTime) : drag.pressTime;
        const TimePoint other = snapped(t);
        drag.targetStart = std::min(anchor, other);
        drag.targetEnd = std::max(anchor, other);
        if (drag.targetEnd - drag.targetStart < step) {
            if (t >= anchor)
                drag.targetEnd = drag.targetStart.addSeconds(step);
            else
                drag.targetStart = drag.targetEnd.addSeconds(-step);
        }
        drag.targetRow = drag.originalRow;
        break;
    }
    case Gesture::Moving:
        moving = item(drag.itemKey);
        aimMove(snapped(drag.originalStart.addSeconds(t - drag.pressTime)), layout.nearestRowAtY(pos.y()));
        break;
    case Gesture::StretchStart:
        moving = item(drag.itemKey);
        drag.targetEnd = drag.originalEnd;
        drag.targetStart = std::min(snapped(t), drag.originalEnd.addSeconds(-step));
        drag.targetRow = drag.originalRow;
        break;
    case Gesture::StretchEnd:
        moving = item(drag.itemKey);
        aimStretchEnd(t);
        break;
    default:
        return;
    }
    testCollision(moving);
    q->viewport()->setCursor(drag.collides                      ? Qt::ForbiddenCursor
                             : drag.gesture == Gesture::Moving  ? Qt::SizeAllCursor
                             : drag.gesture == Gesture::Drawing ? Qt::CrossCursor
                                                                : Qt::SizeHorCursor);
    q->viewport()->update(QRegion(oldPreview) + previewBounds());
}

void GanttChart::Private::aimMove(TimePoint start, int row) {
    drag.targetStart = start;
    drag.targetEnd = start.addSeconds(drag.originalEnd - drag.originalStart);
    drag.targetRow = row;
}

void GanttChart::Private::aimStretchEnd(TimePoint end) {
    const std::int64_t step = std::max<std::int64_t>(gridUnit().seconds(), 1);
    drag.targetStart = drag.originalStart;
    drag.targetEnd = std::max(snapped(end), drag.originalStart.addSeconds(step));
    drag.targetRow = drag.originalRow;
}

void GanttChart::Private::testCollision(const ChartItem* moving) {
    drag.collides = drag.targetRow >= 0 && settings().detectConflicts &&
                    data->conflicts(drag.targetStart, drag.targetEnd, layout.rowKey(drag.targetRow), moving);
}

void GanttChart::Private::finishGesture() {
    switch (drag.gesture) {
    case Gesture::Drawing:
        finishDraw();
        break;
    case Gesture::Moving:
    case Gesture::StretchStart:
    case Gesture::StretchEnd:
        finishChange();
        break;
    case Gesture::RowHeight:
        finishRowHeight();
        break;
    default:
        break;
    }
}

void GanttChart::Private::finishDraw() {
    if (drag.collides || drag.targetRow < 0 || drag.targetRow >= layout.rowCount())
        return;
    const QString key = QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
    const QString rowKey = layout.rowKey(drag.targetRow);
    if (!data->rows().byKey(rowKey))
        return;
    data->items().add(QString(), rowKey, drag.targetStart, drag.targetEnd, key, settings().defaultItemStyle);
    currentKey = key;
    currentRow = drag.targetRow;
    if (ChartItem* added = item(key))
        emit q->GanttItemAdded(added);
    if (ChartItem* added = item(key))
        emit q->AfterGanttItemAdd(added);
}

void GanttChart::Private::finishChange() {
    ChartItem* found = item(drag.itemKey);
    if (!found || drag.collides || drag.targetRow < 0)
        return;
    const QString rowKey = layout.rowKey(drag.targetRow);
    if (!data->rows().byKey(rowKey))
        return;
    if (found->rowKey() == rowKey && found->start() == drag.targetStart && found->end() == drag.targetEnd)
        return;
    const bool stretched = drag.gesture != Gesture::Moving;
    data->items().beginBatch();
    if (found->rowKey() != rowKey)
        found->setRowKey(rowKey);
    found->setSpan(drag.targetStart, drag.targetEnd);
    data->items().endBatch();
    currentRow = drag.targetRow;

    const QString key = drag.itemKey;
    if (ChartItem* changed = item(key))
        emit q->GanttItemChanged(changed);
    if (ChartItem* changed = item(key)) {
        if (stretched)
            emit q->AfterGanttItemStretch(changed);
        else
            emit q->AfterGanttItemMove(changed);
    }
    if (ChartItem* changed = item(key))
        emit q->CompleteGanttItemMove(changed);
}

void GanttChart::Private::finishRowHeight() {
    ChartRow* row = data->rows().byKey(layout.rowKey(drag.row));
    if (!row || row->height == drag.targetHeight)
        return;
    row->height = drag.targetHeight;
    data->redraw();
    emit q->AfterRowHeightChange(drag.row + 1);
}

void GanttChart::Private::cancelGesture() {
    autoScrollTimer.stop();
    drag = Drag();
    q->viewport()->update();
}

void GanttChart::Private::autoScroll() {
    if (drag.gesture == Gesture::None || drag.gesture == Gesture::Pending ||
        drag.gesture == Gesture::Refused) {
        autoScrollTimer.stop();
        return;
    }
    const QRect area = itemArea();
    const QPoint pos = drag.lastPos;
    int dx = 0;
    int dy = 0;
    if (drag.gesture != Gesture::RowHeight && settings().allowTimelineScroll) {
        if (pos.x() < area.left() + autoScrollZone)
            dx = -(area.left() + autoScrollZone - pos.x());
        else if (pos.x() > area.right() - autoScrollZone)
            dx = pos.x() - (area.right() - autoScrollZone);
    }
    if (drag.gesture == Gesture::Moving || drag.gesture == Gesture::RowHeight) {
        if (pos.y() < area.top() + autoScrollZone && pos.y() >= area.top())
            dy = -(area.top() + autoScrollZone - pos.y());
        else if (pos.y() > area.bottom() - autoScrollZone)
            dy = pos.y() - (area.bottom() - autoScrollZone);
    }
    if (dx == 0 && dy == 0)
        return;
    q->horizontalScrollBar()->setValue(q->horizontalScrollBar()->value() + std::clamp(dx, -40, 40) / 2);
    q->verticalScrollBar()->setValue(q->verticalScrollBar()->value() + std::clamp(dy, -40, 40) / 2);
    track(pos);
}

bool GanttChart::Private::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool plain = held == Qt::NoModifier;
    const bool control = held == Qt::ControlModifier;
    const int forward = key == Qt::Key_Right || key == Qt::Key_Down ? 1 : -1;
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left:
        if (plain)
            selectAlongRow(forward);
        else if (control)
            changeByKey(HitArea::BarBody, forward, 0);
        else if (held == (Qt::ControlModifier | Qt::ShiftModifier))
            changeByKey(HitArea::BarRightEdge, forward, 0);
        else
            return false;
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (plain)
            changeRow(forward);
        else if (control)
            changeByKey(HitArea::BarBody, 0, forward);
        else
            return false;
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!plain)
            return false;
        selectRowEnd(key == Qt::Key_End);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            return false;
        activateByKey();
        return true;
    case Qt::Key_Menu:
        requestRowMenu();
        return true;
    case Qt::Key_F10:
        if (held != Qt::ShiftModifier)
            return false;
        requestRowMenu();
        return true;
    default:
        return false;
    }
}

int GanttChart::Private::keyRow() const {
    if (currentRow >= 0)
        return currentRow;
    return layout.rowCount() > 0 ? std::max(layout.firstShownRow(), 0) : -1;
}

ChartItem* GanttChart::Private::currentInRow() const {
    ChartItem* found = item(currentKey);
    return found && currentRow >= 0 && layout.indexOfRow(found->rowKey()) == currentRow ? found : nullptr;
}

TimePoint GanttChart::Private::gridStep(TimePoint t, int direction) const {
    const TimeUnit grid = gridUnit();
    const TimePoint cell = grid.floor(t);
    const TimePoint target = direction > 0 ? grid.next(cell) : grid.floor(cell.addSeconds(-1));
    return target.addSeconds(t - cell);
}

void GanttChart::Private::selectByKey(ChartItem* found, int row) {
    const bool rowChanged = row != currentRow;
    const QString key = found ? found->key() : QString();
    const bool keyChanged = key != currentKey;
    if (found)
        showTime(*found);
    currentRow = row;
    setCurrent(key, true);
    showRow(row);
    if (rowChanged && !keyChanged)
        AccessibleChart::currentChanged(*q);
    emit q->RowSelected(row + 1);
}

void GanttChart::Private::selectAlongRow(int direction) {
    const int row = keyRow();
    if (row < 0)
        return;
    const RowNavigation bookings(*data, layout.rowKey(row));
    ChartItem* from = currentInRow();
    ChartItem* found = nullptr;
    if (from)
        found = direction > 0 ? bookings.next(*from) : bookings.previous(*from);
    else if (!(found = bookings.firstFrom(first)))
        found = bookings.lastBefore(first);
    if (found)
        selectByKey(found, row);
    else if (from)
        showTime(*from);
}

void GanttChart::Private::selectRowEnd(bool last) {
    const int row = keyRow();
    if (row < 0)
        return;
    if (extentTimer.isActive())
        scanExtent();
    if (!hasExtent)
        return;
    // Every booking lies inside the extent: searching from there stays near the row's bookings.
    const RowNavigation bookings(*data, layout.rowKey(row));
    if (ChartItem* found =
            last ? bookings.lastBefore(extentEnd.addSeconds(1)) : bookings.firstFrom(extentStart))
        selectByKey(found, row);
}

void GanttChart::Private::changeRow(int direction) {
    const int row = currentRow < 0 ? keyRow() : currentRow + direction;
    if (row < 0 || row >= layout.rowCount())
        return;
    // After an empty row the booking selected before it still gives the time.
    const TimePoint start = keySpanSet ? keySpanStart : first;
    const TimePoint end = keySpanSet ? keySpanEnd : first;
    selectByKey(RowNavigation(*data, layout.rowKey(row)).nearest(start, end), row);
}

void GanttChart::Private::changeByKey(HitArea handle, int timeSteps, int rowSteps) {
    ChartItem* found = currentInRow();
    if (!found || drag.gesture != Gesture::None)
        return;
    const int row = currentRow + rowSteps;
    if (row < 0 || row >= layout.rowCount()) {
        QApplication::beep();
        return;
    }
    drag = Drag();
    drag.area = handle;
    drag.itemKey = found->key();
    beginGesture();
    found = item(drag.itemKey);
    if (drag.gesture == Gesture::Refused || !found) {
        cancelGesture();
        QApplication::beep();
        return;
    }
    if (handle == HitArea::BarRightEdge)
        aimStretchEnd(gridStep(drag.originalEnd, timeSteps));
    else if (timeSteps != 0)
        aimMove(snapped(gridStep(drag.originalStart, timeSteps)), row);
    else
        aimMove(drag.originalStart, row);
    testCollision(found);
    const bool refused = drag.collides;
    const int rowBefore = currentRow;
    finishGesture();
    cancelGesture();
    if (refused)
        QApplication::beep();
    if (ChartItem* moved = currentInRow()) {
        showTime(*moved);
        showRow(currentRow);
    }
    AccessibleChart::currentChanged(*q);
    if (currentRow != rowBefore)
        emit q->RowSelected(currentRow + 1);
}

void GanttChart::Private::activateByKey() {
    if (ChartItem* found = currentInRow()) {
        emit q->GanttItemDblClick(found);
        return;
    }
    const int row = keyRow();
    if (row < 0)
        return;
    showRow(row);
    const TimeUnit grid = gridUnit();
    TimePoint time = grid.floor(first);
    if (time < first)
        time = grid.next(time);
    emit q->ClientAreaDblClick(time, QPoint(q->xAt(time), rowMiddle(row)));
}

void GanttChart::Private::requestRowMenu() {
    const int row = keyRow();
    if (row < 0)
        return;
    showRow(row);
    emit q->RowMenuRequested(row + 1, QPoint(layout.headingWidth() / 2, rowMiddle(row)));
}

int GanttChart::Private::rowMiddle(int row) const {
    return int((layout.rowTop(row) + layout.rowBottom(row)) / 2);
}

GanttChart::GanttChart(GanttData& data, QWidget* parent)
    : QAbstractScrollArea(parent)
    , d(std::make_unique<Private>(this, data)) {
    setFrameStyle(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    AccessibleChart::install();
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    d->autoScrollTimer.setInterval(30);
    connect(&d->autoScrollTimer, &QTimer::timeout, this, [this] { d->autoScroll(); });
    d->extentTimer.setSingleShot(true);
    d->extentTimer.setInterval(0);
    connect(&d->extentTimer, &QTimer::timeout, this, [this] {
        if (!d->data)
            return;
        d->scanExtent();
        if (!horizontalScrollBar()->isSliderDown())
            d->updateScrollBars(true);
    });
    connect(&data, &GanttData::changed, this, [this] { d->dataChanged(); });
    connect(&data, &GanttData::loaded, this, [this] { d->dataReplaced(); });
    connect(&data, &QObject::destroyed, this, [this] { d->data = nullptr; });
    d->showSavedPosition();
}

GanttChart::~GanttChart() = default;

GanttData& GanttChart::data() const {
    return *d->data;
}

int GanttChart::scale() const {
    return d->layout.scaleLevel();
}

void GanttChart::setScale(int level) {
    d->settings().scale = std::clamp(level, 0, TimeScale::count - 1);
    d->data->redraw();
    // The data stays silent while bulk change is off; the chart follows its own scale at once.
    if (d->layout.scaleLevel() != d->settings().scale) {
        d->refresh();
        viewport()->update();
        d->reportShownRange();
    }
}

void GanttChart::setFittedSpan(std::int64_t seconds) {
    d->fittedSpan = std::max<std::int64_t>(seconds, 0);
    if (d->fittedSpan == 0)
        d->layout.setScaleLevel(d->layout.scaleLevel()); // back to the scale's own cell width
    d->subPixel = 0;
    d->updateScrollBars(true);
    viewport()->update();
    d->reportShownRange();
}

void GanttChart::scrollTo(TimePoint time) {
    d->setFirstShown(time, 0);
}

void GanttChart::scrollBy(const QString& intervalCode, int amount) {
    if (TimePoint::isIntervalCode(intervalCode))
        scrollTo(d->first.addInterval(intervalCode, amount));
}

void GanttChart::scrollToRow(int position) {
    if (position < 1 || position > d->layout.rowCount())
        return;
    d->yOffset = d->layout.rowAxis().top(position - 1);
    d->settings().firstShownRow = position;
    d->updateScrollBars(false);
    viewport()->update();
}

TimePoint GanttChart::firstShownTime() const {
    return d->first;
}

TimePoint GanttChart::lastShownTime() const {
    return d->layout.lastShownTime();
}

int GanttChart::firstShownRow() const {
    return d->layout.firstShownRow() + 1;
}

int GanttChart::lastShownRow() const {
    return d->layout.lastShownRow() + 1;
}

int GanttChart::rowTop(int position) const {
    if (position < 1 || position > d->layout.rowCount())
        return 0;
    return int(d->layout.rowTop(position - 1));
}

int GanttChart::rowBottom(int position) const {
    if (position < 1 || position > d->layout.rowCount())
        return 0;
    return int(d->layout.rowBottom(position - 1)) - 1;
}

int GanttChart::rowAt(const QPoint& point) const {
    return d->layout.rowAtY(point.y()) + 1;
}

TimePoint GanttChart::timeAt(int x) const {
    return d->layout.timeAtX(x);
}

int GanttChart::xAt(TimePoint time) const {
    return int(std::clamp<std::int64_t>(d->layout.xOf(time), INT_MIN, INT_MAX));
}

ChartHit GanttChart::hitTest(const QPoint& point) const {
    return d->layout.hitTest(point, currentItem());
}

ChartItem* GanttChart::currentItem() const {
    return d->item(d->currentKey);
}

void GanttChart::setCurrentItem(const QString& key) {
    d->setCurrent(d->item(key) ? key : QString(), false);
    if (d->currentRow >= 0)
        d->showRow(d->currentRow);
}

int GanttChart::currentRow() const {
    return d->currentRow + 1;
}

void GanttChart::setCurrentRow(int position) {
    d->currentRow = position >= 1 && position <= d->layout.rowCount() ? position - 1 : -1;
    // The whole view: without a current booking the focus cue frames the row.
    viewport()->update();
    AccessibleChart::currentChanged(*this);
}

void GanttChart::preparePrint(TimePoint visibleStart, TimePoint visibleEnd, int pageHeightPixels) {
    d->printPrepared = true;
    d->printStart = visibleStart;
    d->printEnd = visibleEnd;
    d->printHeight = pageHeightPixels;
}

void GanttChart::print(QPainter* painter, const QRect& pageRect, int zoomPercent) {
    if (!painter || pageRect.isEmpty())
        return;
    const double zoom = zoomPercent > 0 ? zoomPercent / 100.0 : 1.0;
    const TimePoint start = d->printPrepared ? d->printStart : d->first;
    TimePoint end = d->printPrepared ? d->printEnd : lastShownTime();
    if (end <= start)
        end = start.addSeconds(d->layout.scale().lower.seconds());
    const int pageHeight = d->printPrepared && d->printHeight > 0
                               ? std::min(d->printHeight, pageRect.height())
                               : pageRect.height();
    const QSize logical(int(std::ceil(pageRect.width() / zoom)), int(std::ceil(pageHeight / zoom)));

    ChartLayout page = d->layout;
    page.setSize(logical);
    const int itemWidth = page.itemArea().width();
    if (itemWidth <= 0)
        return;
    // The prepared range fills the page's item area exactly, whatever the scale's cell width.
    page.setTimeAxis(TimeAxis(start, end - start, itemWidth));
    page.setOffsets(0, d->yOffset);

    painter->save();
    painter->translate(pageRect.topLeft());
    painter->scale(zoom, zoom);
    const QRect all(QPoint(0, 0), logical);
    ChartPainter pagePainter(page, d->pictures);
    pagePainter.sizeFontsFor(logicalDpiY());
    pagePainter.paint(painter, all, all);
    painter->restore();
}

void GanttChart::paintEvent(QPaintEvent* event) {
    if (!d->data)
        return;
    QPainter painter(viewport());
    ChartPainter::Overlay overlay;
    overlay.currentKey = d->currentKey;
    overlay.hoverKey = d->drag.gesture == Private::Gesture::None ? d->hoverKey : QString();
    overlay.currentRow = d->currentRow;
    overlay.focused = hasFocus();
    const Private::Drag& drag = d->drag;
    switch (drag.gesture) {
    case Private::Gesture::Drawing:
    case Private::Gesture::Moving:
    case Private::Gesture::StretchStart:
    case Private::Gesture::StretchEnd:
        overlay.previewShown = drag.targetRow >= 0;
        overlay.previewKey = drag.gesture == Private::Gesture::Drawing ? QString() : drag.itemKey;
        overlay.previewRow = drag.targetRow;
        overlay.previewStart = drag.targetStart;
        overlay.previewEnd = drag.targetEnd;
        overlay.previewCollides = drag.collides;
        break;
    default:
        break;
    }
    const QRect view(QPoint(0, 0), viewport()->size());
    ChartPainter(d->layout, d->pictures).paint(&painter, view, event->rect(), overlay);
    if (drag.gesture == Private::Gesture::RowHeight)
        painter.fillRect(d->rowHeightLine(), QColor(30, 96, 210));
}

void GanttChart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    d->updateScrollBars(false);
    d->reportShownRange();
}

void GanttChart::scrollContentsBy(int, int) {
    if (d->settingScrollBars)
        return;
    const TimeAxis& axis = d->layout.timeAxis();
    const std::int64_t x = horizontalScrollBar()->value();
    if (x != d->layout.xOffset()) {
        // The first whole second at or left of the new edge; the rest is kept as pixels.
        TimePoint t = axis.timeAt(x);
        if (axis.xAt(t) > x)
            t = t.addSeconds(-1);
        d->first = t;
        d->subPixel = x - axis.xAt(t);
        d->settings().firstShownTime = t;
    }
    d->yOffset = verticalScrollBar()->value();
    const int firstRow = d->layout.rowAxis().rowAt(d->yOffset);
    if (firstRow >= 0)
        d->settings().firstShownRow = firstRow + 1;
    if (!horizontalScrollBar()->isSliderDown())
        d->updateScrollBars(false);
    else
        d->applyOffsets();
    viewport()->update();
    d->reportShownRange();
}

bool GanttChart::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && d->data) {
        auto* help = static_cast<QHelpEvent*>(event);
        const ChartHit hit = hitTest(help->pos());
        if (!hit.item) {
            QToolTip::hideText();
            return true;
        }
        const QString key = hit.item->key();
        QString text = defaultTip(*hit.item);
        emit GanttItemTipText(text, hit.item);
        if (text.isEmpty() || !d->item(key))
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                               viewport(), d->barBounds(key));
        return true;
    }
    if (event->type() == QEvent::Leave)
        d->setHover(QString());
    return QAbstractScrollArea::viewportEvent(event);
}

void GanttChart::mousePressEvent(QMouseEvent* event) {
    if (!d->data)
        return;
    const QPoint pos = event->position().toPoint();
    if (d->drag.gesture != Private::Gesture::None)
        return;
    const ChartHit hit = hitTest(pos);
    Private::Drag drag;
    drag.button = event->button();
    drag.area = hit.area;
    drag.pressPos = pos;
    drag.lastPos = pos;
    drag.row = hit.row;
    drag.pressTime = hit.time;
    drag.itemKey = hit.item ? hit.item->key() : QString();
    const bool left = event->button() == Qt::LeftButton;
    const ChartSettings& settings = d->settings();
    switch (hit.area) {
    case HitArea::BarBody:
    case HitArea::BarLeftEdge:
    case HitArea::BarRightEdge:
        if (left)
            drag.gesture = Private::Gesture::Pending;
        d->drag = drag;
        d->setCurrent(drag.itemKey, true);
        break;
    case HitArea::RowHeading:
    case HitArea::RowDivider:
        if (left && hit.area == HitArea::RowDivider && settings.allowRowSize)
            drag.gesture = Private::Gesture::Pending;
        d->drag = drag;
        setCurrentRow(hit.row + 1);
        break;
    case HitArea::EmptyArea:
        if (left && hit.row >= 0 && settings.allowAdd)
            drag.gesture = Private::Gesture::Pending;
        d->drag = drag;
        d->setCurrent(QString(), false);
        if (hit.row >= 0)
            setCurrentRow(hit.row + 1);
        break;
    default:
        d->drag = drag;
        break;
    }
    event->accept();
}

void GanttChart::mouseMoveEvent(QMouseEvent* event) {
    if (!d->data)
        return;
    const QPoint pos = event->position().toPoint();
    Private::Drag& drag = d->drag;
    if (drag.button == Qt::NoButton) {
        const ChartHit hit = hitTest(pos);
        d->setHover(hit.item ? hit.item->key() : QString());
        d->updateCursor(hit);
        return;
    }
    if (drag.gesture == Private::Gesture::Pending) {
        if ((pos - drag.pressPos).manhattanLength() < QApplication::startDragDistance())
            return;
        d->beginGesture();
        if (drag.gesture != Private::Gesture::Refused)
            d->autoScrollTimer.start();
    }
    if (drag.gesture != Private::Gesture::Refused && drag.gesture != Private::Gesture::None)
        d->track(pos);
}

void GanttChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!d->data || event->button() != d->drag.button)
        return;
    const Private::Drag drag = d->drag;
    d->autoScrollTimer.stop();
    if (d->releaseAfterDoubleClick) {
        d->releaseAfterDoubleClick = false;
        d->cancelGesture();
        return;
    }
    if (drag.gesture != Private::Gesture::Pending && drag.gesture != Private::Gesture::None) {
        // Track the release point too: a quick drag may end before the last move arrives.
        if (drag.gesture != Private::Gesture::Refused)
            d->track(event->position().toPoint());
        d->finishGesture();
    }
    d->drag = Private::Drag();
    viewport()->update();
    const ChartHit hit = hitTest(event->position().toPoint());
    d->updateCursor(hit);

    const bool dragged = drag.gesture != Private::Gesture::Pending && drag.gesture != Private::Gesture::None;
    switch (drag.area) {
    case HitArea::BarBody:
    case HitArea::BarLeftEdge:
    case HitArea::BarRightEdge:
        if (!dragged) {
            if (ChartItem* clicked = d->item(drag.itemKey))
                emit GanttItemClick(clicked, drag.button);
        }
        break;
    case HitArea::RowHeading:
    case HitArea::RowDivider:
        if (!dragged)
            emit RowClick(drag.row + 1, drag.button);
        break;
    case HitArea::EmptyArea:
        emit ClientAreaClick(drag.pressPos, drag.button);
        break;
    default:
        break;
    }
}

void GanttChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!d->data)
        return;
    d->cancelGesture();
    d->releaseAfterDoubleClick = true;
    d->drag.button = event->button();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const ChartHit hit = hitTest(pos);
    if (hit.item) {
        emit GanttItemDblClick(hit.item);
    } else if (hit.area == HitArea::EmptyArea) {
        const TimePoint time = d->settings().snapToGrid ? d->gridUnit().floor(hit.time) : hit.time;
        emit ClientAreaDblClick(time, pos);
    }
}

void GanttChart::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool horizontal = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    const int amount = delta.x() != 0 ? delta.x() : delta.y();
    if (horizontal) {
        if (!d->settings().allowTimelineScroll)
            return;
        const int step = d->layout.scale().cellWidth;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - amount * step / 120);
    } else {
        const int step = 3 * std::max(d->settings().defaultRowHeight, 1);
        verticalScrollBar()->setValue(verticalScrollBar()->value() - amount * step / 120);
    }
    event->accept();
}

void GanttChart::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && d->drag.gesture != Private::Gesture::None) {
        // The button is still down: its release must neither click nor finish anything.
        const Qt::MouseButton button = d->drag.button;
        d->cancelGesture();
        d->drag.button = button;
        d->drag.gesture = Private::Gesture::Refused;
        return;
    }
    if (d->data && d->drag.gesture == Private::Gesture::None &&
        d->handleKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The arrows belong to selection; the view scrolls by page keys, scroll bars and wheel.
        event->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void GanttChart::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    AccessibleChart::currentChanged(*this);
}

void GanttChart::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
