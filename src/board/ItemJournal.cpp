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
    m_order = m_chart->items().handles();
    m_before.clear();
    m_orderChanged = false;
    m_replaced = false;
}

void ItemJournal::moveOn() {
    if (m_orderChanged || m_replaced) {
        restart();
        return;
    }
    m_before.clear();
}

std::vector<std::pair<ItemHandle, const TimetableValues::Item*>> ItemJournal::noted() const {
    std::vector<std::pair<ItemHandle, const TimetableValues::Item*>> noted;
    noted.reserve(std::size_t(m_before.size()));
    for (auto entry = m_before.cbegin(); entry != m_before.cend(); ++entry)
        noted.emplace_back(handleOf(entry.key()), &entry.value());
    return noted;
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

void ItemJournal::orderChanging() {
    if (m_listening)
        m_orderChanged = true;
}

void ItemJournal::contentReplaced() {
    if (m_listening)
        m_replaced = true;
}

quint64 ItemJournal::number(ItemHandle handle) {
    return quint64(handle.id) << 32 | handle.generation;
}

ItemHandle ItemJournal::handleOf(quint64 number) {
    return {quint32(number >> 32), quint32(number)};
}
