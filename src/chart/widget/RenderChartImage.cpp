#include "RenderChartImage.h"

#include "ChartLayout.h"
#include "ChartPainter.h"
#include "PictureCache.h"
#include "chart/GanttData.h"

#include <QPainter>
#include <algorithm>

namespace {
QImage paintLayout(ChartLayout& layout, QSize size) {
    layout.setOffsets(0, layout.yOffsetShowingRow(layout.data().settings().firstShownRow));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PictureCache pictures;
    QPainter painter(&image);
    const QRect all(QPoint(0, 0), size);
    ChartPainter(layout, pictures).paint(&painter, all, all);
    return image;
}
} // namespace

QImage renderChartImage(const GanttData& data, TimePoint from, int scale, QSize size) {
    if (size.isEmpty())
        return {};
    ChartLayout layout(data);
    layout.setScaleLevel(scale);
    layout.setSize(size);
    layout.setTimeOrigin(from);
    return paintLayout(layout, size);
}

QImage renderChartImage(const GanttData& data, TimePoint from, TimePoint to, QSize size) {
    if (size.isEmpty() || to <= from)
        return {};
    ChartLayout layout(data);
    layout.setSize(size);
    layout.setTimeAxis(TimeAxis(from, to - from, std::max(layout.itemArea().width(), 1)));
    return paintLayout(layout, size);
}
