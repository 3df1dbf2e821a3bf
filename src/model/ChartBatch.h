#pragma once

#include "chart/GanttData.h"

// Bulk work on the chart's items: for its lifetime the bulk-change flag is off and one batch of the
// item collection is open; at the end the flag gets its old value back and the chart is redrawn
// once, also when the work ends by an error.
class ChartBatch {
public:
    explicit ChartBatch(GanttData& chart)
        : m_chart(chart)
        , m_bulkChange(chart.bulkChange()) {
        m_chart.setBulkChange(false);
        m_chart.items().beginBatch();
    }
    ~ChartBatch() {
        try {
            m_chart.items().endBatch();
            m_chart.setBulkChange(m_bulkChange);
            m_chart.redraw();
        } catch (...) {
            // A destructor must not throw; the next change redraws the chart anyway.
        }
    }
    ChartBatch(const ChartBatch&) = delete;
    ChartBatch& operator=(const ChartBatch&) = delete;

private:
    GanttData& m_chart;
    bool m_bulkChange;
};
