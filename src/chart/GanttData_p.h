#pragma once

#include "GanttContent.h"
#include "GanttData.h"
#include "ItemWatcher.h"

struct GanttData::Private {
    explicit Private(GanttData* owner);

    // Announces a change now, at the end of the batch, or not at all while bulk change is off.
    void touch();
    void noteChange(const ChartItem& item) const {
        if (watcher)
            watcher->itemChanging(item);
    }
    void noteOrderChange() const {
        if (watcher)
            watcher->orderChanging();
    }
    void removeItem(ChartItem* item);
    void moveItem(ChartItem* item, const QString& rowKey, TimePoint start, TimePoint end);
    // Takes over a loaded content whole; the old one is handed back to be dropped.
    GanttContent adopt(GanttContent content);
    // Makes the chart the owner of every item of its content.
    void claimItems();
    [[nodiscard]] ChartItem* itemAt(int position) const { return c.itemAt(position); }
    [[nodiscard]] ChartRow* rowOf(const QString& rowKey) const { return c.rowByKey.value(rowKey); }

    GanttData* q;
    GanttContent c;
    RowCollection rows;
    ItemCollection items;
    StyleCollection styles;
    HeadingColumnCollection columns;
    ItemWatcher* watcher = nullptr;
    int batchDepth = 0;
    bool pendingChange = false;
    bool bulkChange = true;
};
