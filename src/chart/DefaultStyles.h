#pragma once

class GanttData;

// The styles every timetable starts with ("Addon", "Resources", "Date", "Date Fixed", "Break"), "Date"
// as the default item style, and one row-heading column of width 80 without a caption.
void CreateDefaultStyles(GanttData& chart);
