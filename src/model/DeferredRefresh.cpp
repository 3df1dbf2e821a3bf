#include "DeferredRefresh.h"

#include "chart/GanttData.h"

DeferredRefresh::DeferredRefresh(GanttData& chart, std::function<void()> refresh, QObject* parent)
    : QObject(parent)
    , m_chart(chart)
    , m_refresh(std::move(refresh)) {
    connect(&chart, &GanttData::changed, this, &DeferredRefresh::runPending);
    connect(&chart, &GanttData::loaded, this, &DeferredRefresh::runPending);
}

void DeferredRefresh::request() {
    if (m_chart.bulkChange()) {
        m_pending = false;
        m_refresh();
    } else {
        m_pending = true;
    }
}

void DeferredRefresh::runPending() {
    if (!m_pending || !m_chart.bulkChange())
        return;
    m_pending = false;
    m_refresh();
}
