#pragma once

#include <QFile>
#include <QString>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <vector>

// Prints one figure: name, value, unit.
using PrintFigure = std::function<void(const char* name, double value, const char* unit)>;

// The clocks of the benchmark figures.
using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

inline double median(std::vector<double> values) {
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

inline double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Wall-clock and processor time of one step: on a busy machine the two differ a lot.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = cpuMs();

    [[nodiscard]] double wallMs() const {
        return std::chrono::duration<double, std::milli>(Clock::now() - wall).count();
    }
    [[nodiscard]] double cpuMsSpent() const { return cpuMs() - cpu; }
};

inline double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(QStringLiteral("VmRSS:")))
            return line.split(' ', Qt::SkipEmptyParts).value(1).toDouble() / 1024.0;
    }
    return -1;
}
