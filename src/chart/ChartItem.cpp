#include "ChartItem.h"

#include "GanttData_p.h"

void ChartItem::setRowKey(const QString& rowKey) {
    m_owner->d->moveItem(this, rowKey, m_start, m_end);
}

void ChartItem::setStart(TimePoint start) {
    m_owner->d->moveItem(this, m_rowKey, start, m_end);
}

void ChartItem::setEnd(TimePoint end) {
    m_owner->d->moveItem(this, m_rowKey, m_start, end);
}

void ChartItem::setSpan(TimePoint start, TimePoint end) {
    m_owner->d->moveItem(this, m_rowKey, start, end);
}

int ChartItem::position() const {
    return m_owner->d->c.itemPositions.position(m_slot);
}
