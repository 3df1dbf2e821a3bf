#include "RowAxis.h"

#include <algorithm>

RowAxis::RowAxis(const std::vector<int>& heights) {
    m_tops.reserve(heights.size() + 1);
    for (const int height : heights)
        m_tops.push_back(m_tops.back() + std::max(height, 1));
}

int RowAxis::rowAt(std::int64_t y) const {
    if (y < 0 || y >= totalHeight())
        return -1;
    return int(std::upper_bound(m_tops.begin(), m_tops.end(), y) - m_tops.begin()) - 1;
}

int RowAxis::nearestRow(std::int64_t y) const {
    if (count() == 0)
        return -1;
    return rowAt(std::clamp<std::int64_t>(y, 0, totalHeight() - 1));
}
