#include "RenderChartImage.h"

#include "ChartLayout.h"
#include "ChartPainter.h"
#include "PictureCache.h"
#include "chart/GanttData.h"

#include <QPainter>

QImage renderChartImage(const GanttData& data, TimePoint from, int scale, QSize size) {
    if (size.isEmpty())
        return {};
    ChartLayout layout(data);
    layout.setScaleLevel(scale);
    layout.setSize(size);
    layout.setTimeOrigin(from);
    layout.setOffsets(0, layout.yOffsetShowingRow(data.settings().firstShownRow));

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PictureCache pictures;
    QPainter painter(&image);
    const QRect all(QPoint(0, 0), size);
    ChartPainter(layout, pictures).paint(&painter, all, all);
    return image;
}
