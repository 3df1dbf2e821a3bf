#pragma once

#include "BenchTiming.h"
#include "app/TimePoint.h"

#include <QString>

// The history of changes on the timetable at `path`: recording, undoing and redoing a single move, a
// series of 9,999 members and a clean-up deleting every item that ends by `cleanUpLimit` (50,000 of
// the generated ones), and the memory that 1,000 single moves hold. Four views hear of every change,
// one of them following each changed item as the board does.
void measureHistory(const QString& path, TimePoint cleanUpLimit, const PrintFigure& print);
