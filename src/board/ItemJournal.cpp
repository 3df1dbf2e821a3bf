#include "ItemJournal.h"

#include "chart/GanttData.h"

ItemJournal::ItemJournal(GanttData& chart)
    : m_chart(&chart) {
    chart.setItemWatcher(this);
}

ItemJournal::~ItemJournal() {
    if (m_chart)
        m_chart->setItemWatcher(nullptr);
}

void ItemJournal::restart() {
    const ItemCollection& items = m_chart->items();
    m_order.clear();
    m_order.reserve(std::size_t(items.count()));
    for (int position = 1; position <= items.count(); ++position)
        m_order.push_back(items.byPosition(position)->handle());
    m_before.clear();
    m_replaced = false;
}

const TimetableValues::Item* ItemJournal::before(ItemHandle handle) const {
    const auto found = m_before.constFind(number(handle));
    return found == m_before.cend() ? nullptr : &*found;
}

std::optional<TimetableValues::Item> ItemJournal::valuesAt(std::size_t index) const {
    const ItemHandle handle = m_order[index];
    if (const TimetableValues::Item* values = before(handle))
        return *values;
    if (const ChartItem* item = m_chart->items().byHandle(handle))
        return TimetableValues::Item::of(*item);
    return std::nullopt;
}

void ItemJournal::itemChanging(const ChartItem& item) {
    if (!m_listening)
        return;
    const quint64 key = number(item.handle());
    if (!m_before.contains(key))
        m_before.insert(key, TimetableValues::Item::of(item));
}

void ItemJournal::contentReplaced() {
    if (m_listening)
        m_replaced = true;
}

quint64 ItemJournal::number(ItemHandle handle) {
    return quint64(handle.id) << 32 | handle.generation;
}
