#pragma once

#include "BenchTiming.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

// Counts the paints of a widget; a paint has run when the event loop call that delivered it returns.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Wall-clock and processor time from an accept to the repainted widget, through the event loop as on
// screen.
inline std::pair<double, double> acceptToPaint(PaintCounter& counter, const std::function<void()>& accept) {
    QCoreApplication::processEvents();
    const int before = counter.paints;
    const Stopwatch watch;
    accept();
    while (counter.paints == before && watch.wallMs() < 5000)
        QCoreApplication::processEvents();
    return {watch.wallMs(), watch.cpuMsSpent()};
}

// The times of a repeated step, printed as their medians.
struct TimedFigure {
    const char* name;
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(std::pair<double, double> times) {
        wall.push_back(times.first);
        cpu.push_back(times.second);
    }
};
