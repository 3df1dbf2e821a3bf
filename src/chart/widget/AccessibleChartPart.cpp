#include "AccessibleChartPart.h"

#include "AccessibleChart.h"
#include "GanttChart.h"
#include "chart/ChartItem.h"
#include "chart/ChartRow.h"
#include "chart/GanttData.h"

#include <algorithm>

AccessibleChartPart::AccessibleChartPart(GanttChart* chart, Kind kind, const QString& key)
    : m_chart(chart)
    , m_kind(kind)
    , m_key(key) {}

bool AccessibleChartPart::isValid() const {
    return m_kind == Kind::Row ? rowIndex() >= 0 : booking() != nullptr;
}

QWindow* AccessibleChartPart::window() const {
    const QAccessibleInterface* chart = chartInterface();
    return chart ? chart->window() : nullptr;
}

AccessibleChart* AccessibleChartPart::chartInterface() const {
    return m_chart ? dynamic_cast<AccessibleChart*>(QAccessible::queryAccessibleInterface(m_chart)) : nullptr;
}

int AccessibleChartPart::rowIndex() const {
    if (!m_chart)
        return -1;
    QString rowKey = m_key;
    if (m_kind == Kind::Booking) {
        const ChartItem* item = booking();
        if (!item)
            return -1;
        rowKey = item->rowKey();
    }
    const ChartRow* row = m_chart->data().rows().byKey(rowKey);
    return row ? row->position() - 1 : -1;
}

ChartItem* AccessibleChartPart::booking() const {
    return m_chart && m_kind == Kind::Booking ? m_chart->data().items().byKey(m_key) : nullptr;
}

std::vector<ChartItem*> AccessibleChartPart::shownBookings() const {
    if (!m_chart || m_kind != Kind::Row)
        return {};
    return m_chart->data().itemsInRange(m_key, m_chart->firstShownTime(), m_chart->lastShownTime());
}

QAccessibleInterface* AccessibleChartPart::parent() const {
    AccessibleChart* chart = chartInterface();
    if (!chart || m_kind == Kind::Row)
        return chart;
    const int row = rowIndex();
    return row >= 0 ? chart->rowPart(row) : nullptr;
}

QAccessibleInterface* AccessibleChartPart::child(int index) const {
    const std::vector<ChartItem*> shown = shownBookings();
    AccessibleChart* chart = chartInterface();
    if (!chart || index < 0 || index >= int(shown.size()))
        return nullptr;
    return chart->bookingPart(shown[std::size_t(index)]->key());
}

int AccessibleChartPart::childCount() const {
    return int(shownBookings().size());
}

int AccessibleChartPart::indexOfChild(const QAccessibleInterface* child) const {
    const auto* part = dynamic_cast<const AccessibleChartPart*>(child);
    if (!part || part->kind() != Kind::Booking)
        return -1;
    const std::vector<ChartItem*> shown = shownBookings();
    const auto at = std::find_if(shown.begin(), shown.end(),
                                 [&](const ChartItem* item) { return item->key() == part->key(); });
    return at == shown.end() ? -1 : int(at - shown.begin());
}

QAccessibleInterface* AccessibleChartPart::childAt(int x, int y) const {
    AccessibleChart* chart = chartInterface();
    if (!chart)
        return nullptr;
    for (const ChartItem* item : shownBookings()) {
        QAccessibleInterface* found = chart->bookingPart(item->key());
        if (found && found->rect().contains(x, y))
            return found;
    }
    return nullptr;
}

QString AccessibleChartPart::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid())
        return {};
    const ChartRow* row = m_chart->data().rows().byPosition(rowIndex() + 1);
    const QString resource = row ? row->caption : QString();
    return m_kind == Kind::Row ? resource : AccessibleChart::bookingName(*booking(), resource);
}

QRect AccessibleChartPart::rect() const {
    const int row = rowIndex();
    if (row < 0)
        return {};
    const int top = m_chart->rowTop(row + 1);
    const int bottom = m_chart->rowBottom(row + 1);
    QRect area(0, top, m_chart->viewport()->width(), bottom - top + 1);
    if (const ChartItem* item = booking()) {
        const int left = m_chart->xAt(item->start());
        area.setLeft(left);
        area.setRight(std::max(m_chart->xAt(item->end()) - 1, left));
    }
    return QRect(m_chart->viewport()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role AccessibleChartPart::role() const {
    return QAccessible::TreeItem;
}

QAccessible::State AccessibleChartPart::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    const bool currentRow = m_chart->currentRow() == rowIndex() + 1;
    if (m_kind == Kind::Row) {
        state.expandable = true;
        state.expanded = true;
        state.selected = currentRow;
        return state;
    }
    state.focusable = true;
    const ChartItem* current = m_chart->currentItem();
    const bool isCurrent = currentRow && current && current->key() == m_key;
    state.selected = isCurrent;
    state.focused = isCurrent && m_chart->hasFocus();
    const QRect shown(m_chart->viewport()->mapToGlobal(QPoint(0, 0)), m_chart->viewport()->size());
    state.offscreen = !shown.intersects(rect());
    return state;
}
