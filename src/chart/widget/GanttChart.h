#pragma once

#include "ChartHit.h"
#include "app/TimePoint.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>

class ChartItem;
class GanttData;
class QPainter;

// The Gantt chart: a row heading, an upper and a lower time band and the item area over one
// GanttData, with its own scroll position, scale view and interaction. Any number of charts may show
// one data object; each repaints when the data announces a change, and shows newly loaded content
// from its saved first shown time and row.
//
// Interaction asks a permission signal before a change begins (setting `cancel` refuses it) and
// sends a change-done signal after it. Item pointers handed to signals are valid during the call.
// With the keyboard focus, the arrow keys select bookings and rows, Ctrl with them moves and
// stretches the current booking by grid steps along the same path as the mouse, Enter acts as a
// double click and the menu key asks for the current row's menu; the arrows never scroll by
// themselves.
class GanttChart : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit GanttChart(GanttData& data, QWidget* parent = nullptr);
    ~GanttChart() override;

    [[nodiscard]] GanttData& data() const;

    // The zoom level 0-15 of the chart's settings; setting it keeps the first shown time.
    [[nodiscard]] int scale() const;
    void setScale(int level);

    // Fits `seconds` from the first shown time exactly across the item area, whatever its width, and
    // keeps the time line still; 0, the default, draws every scale with its own cell width.
    void setFittedSpan(std::int64_t seconds);

    // Shows the time at the left edge of the item area.
    void scrollTo(TimePoint time);
    // Moves the shown range by an amount of "s", "n", "h", "d", "ww", "m", "q" or "yyyy" units.
    void scrollBy(const QString& intervalCode, int amount);
    // Shows the row (1-based) at the top of the item area, as far as the rows reach.
    void scrollToRow(int position);
    [[nodiscard]] TimePoint firstShownTime() const;
    // The time at the right edge of the item area: the end of the shown range.
    [[nodiscard]] TimePoint lastShownTime() const;
    // 1-based positions of the first and last row that are at least partly shown; 0 without rows.
    [[nodiscard]] int firstShownRow() const;
    [[nodiscard]] int lastShownRow() const;

    // Row edges (1-based position) and points in viewport coordinates, as pointer positions are
    // reported: the top edge and the last line of the row.
    [[nodiscard]] int rowTop(int position) const;
    [[nodiscard]] int rowBottom(int position) const;
    // The row (1-based) under a viewport point of the heading or item area; 0 for none.
    [[nodiscard]] int rowAt(const QPoint& point) const;
    [[nodiscard]] TimePoint timeAt(int x) const;
    // The viewport x where a time is drawn, clamped to the int range.
    [[nodiscard]] int xAt(TimePoint time) const;
    // What lies under a viewport point.
    [[nodiscard]] ChartHit hitTest(const QPoint& point) const;

    [[nodiscard]] ChartItem* currentItem() const;
    // Makes the item with the key current (empty: none) and shows its row; sends no signal.
    void setCurrentItem(const QString& key);
    // 1-based; 0 for none.
    [[nodiscard]] int currentRow() const;
    void setCurrentRow(int position);

    // Fixes the time range and the page height in printer pixels of the next print.
    void preparePrint(TimePoint visibleStart, TimePoint visibleEnd, int pageHeightPixels);
    // Draws one page: the prepared time range across the page width, the rows from the first shown
    // row down as far as the page reaches, scaled by the zoom in percent.
    void print(QPainter* painter, const QRect& pageRect, int zoomPercent);

signals:
    void GanttItemAdded(ChartItem* item);
    void GanttItemChanged(ChartItem* item);
    void GanttItemClick(ChartItem* item, Qt::MouseButton button);
    void GanttItemDblClick(ChartItem* item);
    // The user made another item current.
    void GanttItemSelected(ChartItem* item);
    // A move or stretch of the item begins; the item still has its old place.
    void GanttItemChangeStarts(ChartItem* item);
    // A move or stretch ended with the item at its new place.
    void CompleteGanttItemMove(ChartItem* item);
    // A click on the item area where no bar is, also at the end of drawing a new item.
    void ClientAreaClick(const QPoint& position, Qt::MouseButton button);
    void ClientAreaDblClick(TimePoint time, const QPoint& position);
    void RowClick(int rowPosition, Qt::MouseButton button);
    // The keyboard chose the current row, with or without a current booking on it.
    void RowSelected(int rowPosition);
    // The menu key on the chart: the row's menu at a viewport point of its heading.
    void RowMenuRequested(int rowPosition, const QPoint& position);
    void VisibleTimeRangeChanged(TimePoint firstShown, TimePoint lastShown);
    // The tool tip of a bar; `text` comes filled with the item's span and may be replaced.
    void GanttItemTipText(QString& text, ChartItem* item);

    void BeforeGanttItemAdd(int rowPosition, bool& cancel);
    void BeforeGanttItemMove(ChartItem* item, bool& cancel);
    void BeforeGanttItemStretch(ChartItem* item, bool& cancel);
    void BeforeRowHeightChange(int rowPosition, bool& cancel);
    void AfterGanttItemAdd(ChartItem* item);
    void AfterGanttItemMove(ChartItem* item);
    void AfterGanttItemStretch(ChartItem* item);
    void AfterRowHeightChange(int rowPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
