#pragma once

#include <QString>

// What the user feels: the real board started on a generated timetable in a process of its own, as
// a user starts the program, timed from the launch to the first painted board and to the timetable
// loaded and editable, with the process's peak memory. Each figure is the median of several starts.
class BoardBench {
public:
    // The environment variable that makes qunta-bench the measured board instead of the benchmark.
    static constexpr const char* childMarker = "QUNTA_BENCH_BOARD";

    BoardBench(int items, int resources, int runs);
    void run() const;

private:
    void generate(const QString& path) const;

    int m_items;
    int m_resources;
    int m_runs;
};
