#pragma once

#include <QByteArray>
#include <functional>
#include <vector>

class clsItems;

// Figures of the item list on a large item table, taken through the real window on the offscreen
// platform: opening, sorting, a refresh, scrolling, export, the clipboard and the memory it adds.
class ListviewBench {
public:
    using Print = std::function<void(const char* name, double value, const char* unit)>;

    ListviewBench(clsItems& items, Print print)
        : m_items(items)
        , m_print(std::move(print)) {}

    void run();

private:
    // Prints the median wall-clock time, then the median processor time as "<name>_cpu".
    void report(const QByteArray& name, const std::vector<double>& wallMs, const std::vector<double>& cpuMs,
                const char* unit = "ms") const;

    clsItems& m_items;
    Print m_print;
};
