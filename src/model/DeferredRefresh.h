#pragma once

#include <QObject>
#include <functional>

class GanttData;

// A view's refresh that waits while the chart does bulk work (its bulk-change flag is off): a series
// or a clean-up tells the views of every item, and each view then refreshes once, when the chart
// announces the end of the work, instead of once per item.
class DeferredRefresh : public QObject {
    Q_OBJECT
public:
    DeferredRefresh(GanttData& chart, std::function<void()> refresh, QObject* parent = nullptr);

    // Refreshes now, or once at the end of the chart's bulk work.
    void request();
    [[nodiscard]] bool pending() const { return m_pending; }

private:
    void runPending();

    GanttData& m_chart;
    std::function<void()> m_refresh;
    bool m_pending = false;
};
