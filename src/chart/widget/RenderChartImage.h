#pragma once

#include "app/TimePoint.h"

#include <QImage>
#include <QSize>

class GanttData;

// Draws the chart as a GanttChart of that size would show it, from the data's first shown row and
// with `from` at the left edge, at the zoom level `scale` (0-15). Needs a QGuiApplication, which may
// run on the offscreen platform: no display is used.
[[nodiscard]] QImage renderChartImage(const GanttData& data, TimePoint from, int scale, QSize size);
// The same with the range from `from` to `to` fitted exactly across the item area, as a chart with a
// fitted span shows it.
[[nodiscard]] QImage renderChartImage(const GanttData& data, TimePoint from, TimePoint to, QSize size);
