#pragma once

#include "app/TimePoint.h"

class ChartItem;

// What lies under a point of the chart.
enum class HitArea {
    Nothing,      // outside the chart, the corner, or the heading below the last row
    TimeBand,     // the upper or lower time band
    RowHeading,   // a row's heading cell
    RowDivider,   // the lower edge of a row's heading cell, where the row height is dragged
    ColumnEdge,   // the right edge of a heading column, where its width is dragged
    EmptyArea,    // the item area where no bar is, also below the last row
    BarBody,      // a bar, away from its edges: moves it
    BarLeftEdge,  // the left end of a bar: stretches its start
    BarRightEdge, // the right end of a bar: stretches its end
};

struct ChartHit {
    HitArea area = HitArea::Nothing;
    ChartItem* item = nullptr;
    int row = -1;   // 0-based row index, -1 where no row is
    TimePoint time; // the time under the point, in the bands and the item area
    // The 0-based heading column at a ColumnEdge.
    int column = -1;
};
