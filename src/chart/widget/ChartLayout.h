#pragma once

#include "ChartHit.h"
#include "RowAxis.h"
#include "TimeAxis.h"
#include "TimeScale.h"

#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

class ChartRow;
class GanttData;

// The geometry of one chart view: where the heading, the bands and the item area lie, which rows
// and times they show, and what is under a point. Coordinates are those of the view (its top-left
// corner is 0, 0); content coordinates are view coordinates plus the offsets.
class ChartLayout {
public:
    explicit ChartLayout(const GanttData& data);

    [[nodiscard]] const GanttData& data() const { return *m_data; }

    // Rereads rows, row heights, heading columns and band fonts from the data.
    void refreshRows();
    // Sets the zoom level; the time axis keeps its origin.
    void setScaleLevel(int level);
    void setSize(const QSize& size);
    // The time at content x 0; the offsets are kept.
    void setTimeOrigin(TimePoint origin);
    // Replaces the axis of the scale, for a print that fits a time range to the page.
    void setTimeAxis(const TimeAxis& axis);
    void setOffsets(std::int64_t x, std::int64_t y);

    [[nodiscard]] int scaleLevel() const { return m_scaleLevel; }
    [[nodiscard]] const TimeScale& scale() const { return TimeScale::forLevel(m_scaleLevel); }
    [[nodiscard]] const TimeAxis& timeAxis() const { return m_timeAxis; }
    [[nodiscard]] const RowAxis& rowAxis() const { return m_rowAxis; }
    [[nodiscard]] QSize size() const { return m_size; }
    [[nodiscard]] std::int64_t xOffset() const { return m_xOffset; }
    [[nodiscard]] std::int64_t yOffset() const { return m_yOffset; }

    [[nodiscard]] int headingWidth() const { return m_headingWidth; }
    [[nodiscard]] int upperBandHeight() const { return m_upperBandHeight; }
    [[nodiscard]] int lowerBandHeight() const { return m_lowerBandHeight; }
    [[nodiscard]] QRect cornerArea() const;
    [[nodiscard]] QRect upperBand() const;
    [[nodiscard]] QRect lowerBand() const;
    [[nodiscard]] QRect headingArea() const;
    [[nodiscard]] QRect itemArea() const;
    // The widths of the heading columns; one column of the whole heading width when there is none.
    [[nodiscard]] const std::vector<int>& columnWidths() const { return m_columnWidths; }
    // The view x where a heading column begins.
    [[nodiscard]] int columnLeft(int column) const;

    [[nodiscard]] int rowCount() const { return int(m_rowKeys.size()); }
    [[nodiscard]] const QString& rowKey(int index) const { return m_rowKeys[std::size_t(index)]; }
    // The row at an index; nullptr when it was removed while the data sent no notification.
    [[nodiscard]] ChartRow* row(int index) const;
    // The index of the row with the key, -1 for none.
    [[nodiscard]] int indexOfRow(const QString& key) const { return m_rowIndex.value(key, -1); }

    // View x of a time and the time at a view x (see TimeAxis).
    [[nodiscard]] std::int64_t xOf(TimePoint t) const;
    [[nodiscard]] TimePoint timeAtX(std::int64_t x) const;
    // View y of a row's top edge and of the first line below it.
    [[nodiscard]] std::int64_t rowTop(int index) const;
    [[nodiscard]] std::int64_t rowBottom(int index) const;
    // The row at a view y inside the item area's rows, -1 for none.
    [[nodiscard]] int rowAtY(std::int64_t y) const;
    // The nearest row to a view y: above the rows the first, below them the last; -1 without rows.
    [[nodiscard]] int nearestRowAtY(std::int64_t y) const;

    [[nodiscard]] TimePoint firstShownTime() const { return timeAtX(itemArea().left()); }
    // The end of the shown range: the time at the item area's right edge.
    [[nodiscard]] TimePoint lastShownTime() const { return timeAtX(itemArea().left() + itemArea().width()); }
    // Indexes of the first and last row that are at least partly shown; -1 when none is.
    [[nodiscard]] int firstShownRow() const;
    [[nodiscard]] int lastShownRow() const;
    // The vertical offset that puts the row (1-based, clamped to the rows) at the top of the item
    // area, or less where the last row would otherwise end above the area's bottom.
    [[nodiscard]] std::int64_t yOffsetShowingRow(int position) const;

    // The horizontal extent of a bar in view coordinates, at least minimumBarWidth wide.
    [[nodiscard]] std::pair<std::int64_t, std::int64_t> barSpan(TimePoint start, TimePoint end) const;
    // The rectangle a bar is drawn in: its span inside the row, clamped to what QRect can hold.
    [[nodiscard]] QRect barRect(TimePoint start, TimePoint end, int rowIndex) const;
    // Pixels at each end of a bar that stretch it rather than move it; narrow bars have less.
    [[nodiscard]] static int edgeZone(std::int64_t barWidth);

    // What is under a view point. Where bars overlap, `preferred` wins when it is among them,
    // otherwise the one painted last.
    [[nodiscard]] ChartHit hitTest(const QPoint& point, const ChartItem* preferred = nullptr) const;

    static constexpr int minimumBarWidth = 3;
    static constexpr int dividerGrip = 3;

private:
    [[nodiscard]] std::int64_t clampToView(std::int64_t x) const;
    // The heading column whose right edge is at x, where the switch lets its width be dragged; -1 for none.
    [[nodiscard]] int columnEdgeAt(int x) const;

    const GanttData* m_data;
    int m_scaleLevel = 8;
    TimeAxis m_timeAxis;
    RowAxis m_rowAxis;
    // Keys rather than rows: rows may go away while bulk change keeps the data silent.
    std::vector<QString> m_rowKeys;
    QHash<QString, int> m_rowIndex;
    std::vector<int> m_columnWidths;
    QSize m_size;
    std::int64_t m_xOffset = 0;
    std::int64_t m_yOffset = 0;
    int m_headingWidth = 80;
    int m_upperBandHeight = 0;
    int m_lowerBandHeight = 0;
    int m_captionHeight = 0;
};
