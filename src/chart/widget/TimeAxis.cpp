#include "TimeAxis.h"

namespace {
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}
} // namespace

TimeAxis::TimeAxis(TimePoint origin, std::int64_t cellSeconds, int cellWidth)
    : m_origin(origin)
    , m_cellSeconds(cellSeconds > 0 ? cellSeconds : 1)
    , m_cellWidth(cellWidth > 0 ? cellWidth : 1) {}

std::int64_t TimeAxis::xAt(TimePoint t) const {
    return floorDiv((t - m_origin) * m_cellWidth, m_cellSeconds);
}

TimePoint TimeAxis::timeAt(std::int64_t x) const {
    return m_origin.addSeconds(ceilDiv(x * m_cellSeconds, m_cellWidth));
}

std::int64_t TimeAxis::widthOf(std::int64_t seconds) const {
    return floorDiv(seconds * m_cellWidth, m_cellSeconds);
}
