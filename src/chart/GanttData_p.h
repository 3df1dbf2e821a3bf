#pragma once

#include "GanttData.h"
#include "PositionIndex.h"
#include "RowIndex.h"

#include <QHash>
#include <memory>
#include <vector>

// Everything a timetable holds. A load fills a fresh one and swaps it in whole.
struct GanttContent {
    std::vector<std::unique_ptr<ChartRow>> rows;
    QHash<QString, ChartRow*> rowByKey;
    QHash<QString, RowIndex> rowItems;

    // Item slots stay put until compaction; removed items leave an empty slot behind.
    std::vector<std::unique_ptr<ChartItem>> itemSlots;
    PositionIndex itemPositions;
    QHash<QString, ChartItem*> itemByKey;
    quint64 nextSequence = 0;

    std::vector<std::unique_ptr<ChartStyle>> styles;
    QHash<QString, ChartStyle*> styleByKey;

    std::vector<std::unique_ptr<HeadingColumn>> columns;

    ChartSettings settings;
};

struct GanttData::Private {
    explicit Private(GanttData* owner);

    // Announces a change now, at the end of the batch, or not at all while bulk change is off.
    void touch();
    void removeItem(ChartItem* item);
    void moveItem(ChartItem* item, const QString& rowKey, TimePoint start, TimePoint end);
    void compactItems();
    void adoptContent();
    [[nodiscard]] ChartItem* itemAt(int position) const;

    GanttData* q;
    GanttContent c;
    RowCollection rows;
    ItemCollection items;
    StyleCollection styles;
    HeadingColumnCollection columns;
    int batchDepth = 0;
    bool pendingChange = false;
    bool bulkChange = true;
};
