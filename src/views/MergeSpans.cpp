#include "MergeSpans.h"

#include <algorithm>

void MergeSpans::clear() {
    m_first = 0;
    m_last = -1;
    m_columns.clear();
    m_runs.clear();
}

void MergeSpans::compute(int first, int last, const std::vector<int>& columns, const SameAsNext& sameAsNext) {
    clear();
    if (last < first)
        return;
    m_first = first;
    m_last = last;
    m_columns = columns;
    const std::size_t rows = std::size_t(last - first + 1);
    for (const int column : columns) {
        std::vector<std::pair<int, int>> runs(rows);
        int start = first;
        for (int row = first; row <= last; ++row) {
            if (row < last && sameAsNext(row, column))
                continue;
            for (int member = start; member <= row; ++member)
                runs[std::size_t(member - first)] = {start, row};
            start = row + 1;
        }
        m_runs.push_back(std::move(runs));
    }
}

std::pair<int, int> MergeSpans::run(int row, int column) const {
    const auto found = std::find(m_columns.cbegin(), m_columns.cend(), column);
    if (found == m_columns.cend() || !covers(row))
        return {row, row};
    return m_runs[std::size_t(found - m_columns.cbegin())][std::size_t(row - m_first)];
}
