#pragma once

#include "app/TimePoint.h"

#include <cstdint>

// Maps time to content x and back for one scale: `cellWidth` pixels for every `cellSeconds`,
// content x 0 at `origin`. Integer arithmetic throughout, so the mapping is exact and monotone.
class TimeAxis {
public:
    TimeAxis() = default;
    TimeAxis(TimePoint origin, std::int64_t cellSeconds, int cellWidth);

    [[nodiscard]] TimePoint origin() const { return m_origin; }
    [[nodiscard]] std::int64_t cellSeconds() const { return m_cellSeconds; }
    [[nodiscard]] int cellWidth() const { return m_cellWidth; }

    // The pixel column that shows t.
    [[nodiscard]] std::int64_t xAt(TimePoint t) const;
    // The first whole second shown in pixel column x or, where a second is narrower than a pixel,
    // the first second that starts at or after x. xAt(timeAt(x)) == x whenever a pixel spans at
    // least a second, and timeAt(xAt(t)) == t whenever a second spans at least a pixel.
    [[nodiscard]] TimePoint timeAt(std::int64_t x) const;
    // The width in pixels of a duration, rounded down.
    [[nodiscard]] std::int64_t widthOf(std::int64_t seconds) const;

private:
    TimePoint m_origin;
    std::int64_t m_cellSeconds = 3600;
    int m_cellWidth = 40;
};
