#pragma once

#include "TimeUnit.h"

#include <QString>

// One of the sixteen zoom levels: the time a lower-band cell spans, its width, and the coarser unit
// of the upper band. Scale 0 repeats scale 10 ("1 hour").
struct TimeScale {
    static constexpr int count = 16;

    TimeUnit lower;
    int cellWidth = 40; // pixels of one lower-band cell
    TimeUnit upper;

    // The scale of a level; a level outside 0-15 gives the nearest one.
    [[nodiscard]] static const TimeScale& forLevel(int level);
    // The caption of the scale menu entry, "1 hour" ... "1 week".
    [[nodiscard]] static QString caption(int level);
};
