#pragma once

#include "TimetableValues.h"
#include "chart/ItemHandle.h"
#include "chart/ItemWatcher.h"

#include <QHash>
#include <QPointer>
#include <optional>
#include <utility>
#include <vector>

class GanttData;

// The bookings as the history's last step left them, without a copy of each: their order, and the
// values of those that changed or left since. The others still hold those values in the chart.
class ItemJournal : private ItemWatcher {
public:
    explicit ItemJournal(GanttData& chart);
    ~ItemJournal();
    ItemJournal(const ItemJournal&) = delete;
    ItemJournal& operator=(const ItemJournal&) = delete;

    // Starts over from the chart's present bookings.
    void restart();
    // The same after a step was recorded or applied: the order is read again only if it changed.
    void moveOn();
    // While off, nothing is noted: a load fills the chart, and the content from before comes back.
    void setListening(bool on) { m_listening = on; }
    // The whole content was replaced since the restart, so the order names nothing any more.
    [[nodiscard]] bool replaced() const { return m_replaced; }
    // A booking came, left or changed its place since the restart.
    [[nodiscard]] bool orderChanged() const { return m_orderChanged; }
    [[nodiscard]] const std::vector<ItemHandle>& order() const { return m_order; }
    // The bookings that changed or left, with their values at the restart.
    [[nodiscard]] std::vector<std::pair<ItemHandle, const TimetableValues::Item*>> noted() const;
    // The values at the restart of a booking that changed or left since; nullptr for one that did
    // neither, or that came since.
    [[nodiscard]] const TimetableValues::Item* before(ItemHandle handle) const;
    // The values at the restart of the booking at `index` of the order; empty when it left and the
    // journal did not hear of it.
    [[nodiscard]] std::optional<TimetableValues::Item> valuesAt(std::size_t index) const;

private:
    void itemChanging(const ChartItem& item) override;
    void orderChanging() override;
    void contentReplaced() override;
    [[nodiscard]] static quint64 number(ItemHandle handle);
    [[nodiscard]] static ItemHandle handleOf(quint64 number);

    QPointer<GanttData> m_chart;
    std::vector<ItemHandle> m_order;
    QHash<quint64, TimetableValues::Item> m_before;
    bool m_listening = true;
    bool m_orderChanged = false;
    bool m_replaced = false;
};
