#include "TimeAxis.h"

#include <limits>

namespace {
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

// a * b held just inside the int64 limits, so that a pixel far outside any view maps to the edge
// of the time range instead of overflowing (and ceilDiv can still negate it).
std::int64_t saturatedProduct(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return (a < 0) != (b < 0) ? -limit : limit;
    return product;
}
} // namespace

TimeAxis::TimeAxis(TimePoint origin, std::int64_t cellSeconds, int cellWidth)
    : m_origin(origin)
    , m_cellSeconds(cellSeconds > 0 ? cellSeconds : 1)
    , m_cellWidth(cellWidth > 0 ? cellWidth : 1) {}

std::int64_t TimeAxis::xAt(TimePoint t) const {
    return floorDiv(saturatedProduct(t - m_origin, m_cellWidth), m_cellSeconds);
}

TimePoint TimeAxis::timeAt(std::int64_t x) const {
    return m_origin.addSeconds(ceilDiv(saturatedProduct(x, m_cellSeconds), m_cellWidth));
}

std::int64_t TimeAxis::widthOf(std::int64_t seconds) const {
    return floorDiv(saturatedProduct(seconds, m_cellWidth), m_cellSeconds);
}
