#pragma once

#include "BenchTiming.h"

class GanttData;
class UserPrompts;
class clsItems;

// The monthly overview on a loaded timetable: opening one, one rebuild after a change, and a series of
// 9,999 members carried over with ten overviews open against the same with none. `yes` answers the
// carry-over's question. Adds a resource, bookings and a series of its own to the timetable.
void measureMonthViews(GanttData& chart, clsItems& items, UserPrompts& yes, const PrintFigure& print);
