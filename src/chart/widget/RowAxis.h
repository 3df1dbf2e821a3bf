#pragma once

#include <cstdint>
#include <vector>

// Maps row indexes (0-based) to content y and back for rows of individual heights. Prefix sums make
// the lookup of the row at a y logarithmic.
class RowAxis {
public:
    RowAxis() = default;
    explicit RowAxis(const std::vector<int>& heights);

    [[nodiscard]] int count() const { return int(m_tops.size()) - 1; }
    [[nodiscard]] std::int64_t top(int row) const { return m_tops[std::size_t(row)]; }
    // The first y below the row.
    [[nodiscard]] std::int64_t bottom(int row) const { return m_tops[std::size_t(row) + 1]; }
    [[nodiscard]] int height(int row) const { return int(bottom(row) - top(row)); }
    [[nodiscard]] std::int64_t totalHeight() const { return m_tops.back(); }

    // The row that covers y, or -1 above the first row and below the last.
    [[nodiscard]] int rowAt(std::int64_t y) const;
    // The row that covers y, with y above the first row giving 0 and y below the last giving the last.
    [[nodiscard]] int nearestRow(std::int64_t y) const;

private:
    std::vector<std::int64_t> m_tops{0}; // m_tops[i] = top of row i; one more entry for the end
};
