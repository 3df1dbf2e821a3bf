#pragma once

class ChartStyle;
class GanttData;

// The styles every timetable starts with ("Addon", "Resources", "Date", "Date Fixed", "Break"), "Date"
// as the default item style, and one row-heading column of width 80 without a caption.
void CreateDefaultStyles(GanttData& chart);

// True when the style draws rows or items of the kind (1 items, 5 rows). "Addon" has the item kind
// but only carries the timetable's settings: it is offered nowhere, so that nobody changes or deletes it.
[[nodiscard]] bool IsDrawingStyle(const ChartStyle& style, int kind);

// The look of a new resource style ("Arial", 10 point) and of a new date item style (raised border,
// vertically centred caption cut at the bar's edges, focus frame); both also set the kind.
void SetResourceLook(ChartStyle& style);
void SetDateItemLook(ChartStyle& style);
