#pragma once

#include <functional>
#include <utility>
#include <vector>

// Runs of equal neighbouring cells of the merged columns, worked out for the rows the grid shows
// only, so that merging costs nothing for the rows out of sight.
class MergeSpans {
public:
    using SameAsNext = std::function<bool(int row, int column)>;

    void clear();
    // Rows first .. last of the columns; a run ends where sameAsNext (row, column) is false.
    void compute(int first, int last, const std::vector<int>& columns, const SameAsNext& sameAsNext);

    [[nodiscard]] bool covers(int row) const { return m_first <= row && row <= m_last; }
    // The first and last row of the run that holds the cell, within the rows worked out; the cell
    // alone for a column that is not merged or a row outside them.
    [[nodiscard]] std::pair<int, int> run(int row, int column) const;

private:
    int m_first = 0;
    int m_last = -1;
    std::vector<int> m_columns;
    // Per merged column and worked-out row: the first and last row of its run.
    std::vector<std::vector<std::pair<int, int>>> m_runs;
};
