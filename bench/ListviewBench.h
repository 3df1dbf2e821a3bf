#pragma once

#include "BenchTiming.h"

class clsItems;

// The item list on a large item table, measured through the real window on the offscreen platform:
// opening, sorting by each column, a refresh after a change elsewhere, scrolling a page, export, the
// clipboard and the memory the open list adds. Sorts the item table.
void measureListview(clsItems& items, const PrintFigure& print);
