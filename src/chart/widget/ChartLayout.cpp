#include "ChartLayout.h"

#include "app/ui/ChartFont.h"
#include "chart/GanttData.h"

#include <QFontMetrics>
#include <algorithm>

namespace {
int bandHeight(const FontDescription& font) {
    return QFontMetrics(ChartFont::toQFont(font)).height() + 8;
}

// The tallest line of the date items' caption fonts, the neutral one included.
int captionHeight(const StyleCollection& styles) {
    int height = QFontMetrics(ChartFont::toQFont(FontDescription())).height();
    for (int position = 1; position <= styles.count(); ++position) {
        const ChartStyle* style = styles.byPosition(position);
        if (style && style->kind == ChartStyle::ItemKind)
            height = std::max(height, QFontMetrics(ChartFont::toQFont(style->font)).height());
    }
    return height;
}
} // namespace

ChartLayout::ChartLayout(const GanttData& data)
    : m_data(&data)
    , m_timeAxis(TimePoint(), scale().lower.seconds(), scale().cellWidth) {
    refreshRows();
}

void ChartLayout::refreshRows() {
    const ChartSettings& settings = m_data->settings();
    const RowCollection& rows = m_data->rows();
    const int count = rows.count();
    m_rowKeys.clear();
    m_rowKeys.reserve(std::size_t(count));
    m_rowIndex.clear();
    m_rowIndex.reserve(count);
    std::vector<int> heights;
    heights.reserve(std::size_t(count));
    for (int position = 1; position <= count; ++position) {
        ChartRow* row = rows.byPosition(position);
        m_rowIndex.insert(row->key(), int(m_rowKeys.size()));
        m_rowKeys.push_back(row->key());
        heights.push_back(row->height > 0 ? row->height : std::max(settings.defaultRowHeight, 1));
    }
    m_rowAxis = RowAxis(heights);

    m_columnWidths.clear();
    const HeadingColumnCollection& columns = m_data->headingColumns();
    for (int position = 1; position <= columns.count(); ++position)
        m_columnWidths.push_back(std::max(columns.byPosition(position)->width, 0));
    if (m_columnWidths.empty())
        m_columnWidths.push_back(std::max(settings.headingWidth, 0));
    m_headingWidth = 0;
    for (const int width : m_columnWidths)
        m_headingWidth += width;

    m_upperBandHeight = settings.showUpperBand ? bandHeight(settings.upperBandFont) : 0;
    m_lowerBandHeight = settings.showLowerBand ? bandHeight(settings.lowerBandFont) : 0;
    m_captionHeight = captionHeight(m_data->styles());
}

ChartRow* ChartLayout::row(int index) const {
    return m_data->rows().byKey(m_rowKeys[std::size_t(index)]);
}

void ChartLayout::setScaleLevel(int level) {
    m_scaleLevel = std::clamp(level, 0, TimeScale::count - 1);
    m_timeAxis = TimeAxis(m_timeAxis.origin(), scale().lower.seconds(), scale().cellWidth);
}

void ChartLayout::setSize(const QSize& size) {
    m_size = size;
}

void ChartLayout::setTimeOrigin(TimePoint origin) {
    m_timeAxis = TimeAxis(origin, m_timeAxis.cellSeconds(), m_timeAxis.cellWidth());
}

void ChartLayout::setTimeAxis(const TimeAxis& axis) {
    m_timeAxis = axis;
}

void ChartLayout::setOffsets(std::int64_t x, std::int64_t y) {
    m_xOffset = x;
    m_yOffset = y;
}

QRect ChartLayout::cornerArea() const {
    return {0, 0, m_headingWidth, m_upperBandHeight + m_lowerBandHeight};
}

QRect ChartLayout::upperBand() const {
    return {m_headingWidth, 0, std::max(m_size.width() - m_headingWidth, 0), m_upperBandHeight};
}

QRect ChartLayout::lowerBand() const {
    return {m_headingWidth, m_upperBandHeight, std::max(m_size.width() - m_headingWidth, 0),
            m_lowerBandHeight};
}

QRect ChartLayout::headingArea() const {
    const int top = m_upperBandHeight + m_lowerBandHeight;
    return {0, top, m_headingWidth, std::max(m_size.height() - top, 0)};
}

QRect ChartLayout::itemArea() const {
    const int top = m_upperBandHeight + m_lowerBandHeight;
    return {m_headingWidth, top, std::max(m_size.width() - m_headingWidth, 0),
            std::max(m_size.height() - top, 0)};
}

std::int64_t ChartLayout::xOf(TimePoint t) const {
    return m_headingWidth + m_timeAxis.xAt(t) - m_xOffset;
}

TimePoint ChartLayout::timeAtX(std::int64_t x) const {
    return m_timeAxis.timeAt(x - m_headingWidth + m_xOffset);
}

std::int64_t ChartLayout::rowTop(int index) const {
    return itemArea().top() + m_rowAxis.top(index) - m_yOffset;
}

std::int64_t ChartLayout::rowBottom(int index) const {
    return itemArea().top() + m_rowAxis.bottom(index) - m_yOffset;
}

int ChartLayout::rowAtY(std::int64_t y) const {
    if (y < itemArea().top())
        return -1;
    return m_rowAxis.rowAt(y - itemArea().top() + m_yOffset);
}

int ChartLayout::nearestRowAtY(std::int64_t y) const {
    return m_rowAxis.nearestRow(y - itemArea().top() + m_yOffset);
}

int ChartLayout::firstShownRow() const {
    if (itemArea().height() <= 0)
        return -1;
    return m_rowAxis.rowAt(m_yOffset);
}

int ChartLayout::lastShownRow() const {
    const int first = firstShownRow();
    if (first < 0)
        return -1;
    const int last = m_rowAxis.rowAt(m_yOffset + itemArea().height() - 1);
    return last < 0 ? rowCount() - 1 : last;
}

std::int64_t ChartLayout::yOffsetShowingRow(int position) const {
    if (rowCount() == 0)
        return 0;
    const int index = std::clamp(position, 1, rowCount()) - 1;
    const std::int64_t lowest =
        std::max<std::int64_t>(m_rowAxis.totalHeight() - std::max(itemArea().height(), 1), 0);
    return std::min(m_rowAxis.top(index), lowest);
}

std::pair<std::int64_t, std::int64_t> ChartLayout::barSpan(TimePoint start, TimePoint end) const {
    const std::int64_t left = xOf(start);
    return {left, std::max(xOf(end), left + minimumBarWidth)};
}

std::int64_t ChartLayout::clampToView(std::int64_t x) const {
    // Far outside the view a bar only needs to reach past the edge; QRect holds int only.
    const std::int64_t margin = 4096;
    return std::clamp<std::int64_t>(x, -margin, std::int64_t(m_size.width()) + margin);
}

QRect ChartLayout::barRect(TimePoint start, TimePoint end, int rowIndex) const {
    const auto [left, right] = barSpan(start, end);
    const int top = int(rowTop(rowIndex));
    const int height = m_rowAxis.height(rowIndex);
    // Bars keep off their row's edges, less so where a line of their captions needs the room.
    const int needed = m_captionHeight + 2;
    const int inset = height >= 10 ? std::clamp((height - needed) / 2, 2, std::max(2, height / 6)) : 0;
    const int x1 = int(clampToView(left));
    const int x2 = int(clampToView(right));
    return {x1, top + inset, x2 - x1, height - 2 * inset};
}

int ChartLayout::edgeZone(std::int64_t barWidth) {
    return int(std::clamp<std::int64_t>(barWidth / 3, 0, 5));
}

int ChartLayout::columnEdgeAt(int x) const {
    if (!m_data->settings().allowRowHeadingSize || x >= m_headingWidth)
        return -1;
    int right = 0;
    for (std::size_t column = 0; column < m_columnWidths.size(); ++column) {
        right += m_columnWidths[column];
        if (x >= right - dividerGrip - 1 && x < right)
            return int(column);
    }
    return -1;
}

int ChartLayout::columnLeft(int column) const {
    int left = 0;
    for (int i = 0; i < column && i < int(m_columnWidths.size()); ++i)
        left += m_columnWidths[std::size_t(i)];
    return left;
}

ChartHit ChartLayout::hitTest(const QPoint& point, const ChartItem* preferred) const {
    ChartHit hit;
    if (point.x() < 0 || point.y() < 0 || point.x() >= m_size.width() || point.y() >= m_size.height())
        return hit;
    hit.column = columnEdgeAt(point.x());
    if (hit.column >= 0) {
        hit.area = HitArea::ColumnEdge;
        return hit;
    }
    const QRect items = itemArea();
    if (point.y() < items.top()) {
        if (point.x() >= items.left()) {
            hit.area = HitArea::TimeBand;
            hit.time = timeAtX(point.x());
        }
        return hit;
    }
    hit.row = rowAtY(point.y());
    if (point.x() < items.left()) {
        if (hit.row < 0)
            return hit;
        hit.area = rowBottom(hit.row) - point.y() <= dividerGrip ? HitArea::RowDivider : HitArea::RowHeading;
        return hit;
    }

    hit.area = HitArea::EmptyArea;
    hit.time = timeAtX(point.x());
    if (hit.row < 0)
        return hit;

    // Every bar that covers the point starts before the time right of it, and ends after the time
    // left of it less the narrowest bar's width.
    const TimePoint from = timeAtX(point.x() - minimumBarWidth).addSeconds(-1);
    const TimePoint to = timeAtX(point.x() + 1).addSeconds(1);
    std::pair<std::int64_t, std::int64_t> found{};
    for (ChartItem* item : m_data->itemsInRange(rowKey(hit.row), from, to)) {
        const auto span = barSpan(item->start(), item->end());
        if (point.x() < span.first || point.x() >= span.second)
            continue;
        if (hit.item == preferred && hit.item)
            continue;
        hit.item = item;
        found = span;
    }
    if (!hit.item)
        return hit;
    const int zone = edgeZone(found.second - found.first);
    if (point.x() < found.first + zone)
        hit.area = HitArea::BarLeftEdge;
    else if (point.x() >= found.second - zone)
        hit.area = HitArea::BarRightEdge;
    else
        hit.area = HitArea::BarBody;
    return hit;
}
