#pragma once

#include "BenchTiming.h"
#include "app/TimePoint.h"

#include <QString>

class UserPrompts;

// The series, clean-up and styles dialogs as the user runs them, on the timetable file as generated,
// with one view registered: a series of 9,999 daily members on a resource of its own, a clean-up up
// to `cleanUpLimit`, opening the styles of date items and switching between 50 of them. `yes`
// answers the clean-up's question.
void measureEditingDialogs(const QString& timetable, TimePoint cleanUpLimit, UserPrompts& yes,
                           const PrintFigure& print);
