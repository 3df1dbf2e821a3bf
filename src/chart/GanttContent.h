#pragma once

#include "ChartItem.h"
#include "ChartRow.h"
#include "ChartSettings.h"
#include "ChartStyle.h"
#include "HeadingColumn.h"
#include "ItemPool.h"
#include "KeyIndex.h"
#include "PositionIndex.h"
#include "RowIndex.h"
#include "SharedTexts.h"

#include <QHash>
#include <QString>
#include <array>
#include <memory>
#include <vector>

// Everything a timetable holds, with the indexes over it. It belongs to no chart while a load fills
// it, on another thread when the board loads in the background; the chart then takes it over whole.
// The operations here keep the indexes right and check nothing: the collections check their callers.
class GanttContent {
public:
    GanttContent() = default;
    GanttContent(GanttContent&&) = default;
    GanttContent& operator=(GanttContent&&) = default;

    ChartRow& addRow(const QString& key, const QString& caption, const QString& styleKey,
                     const QString& picture, int height);
    // Removes the row with its items.
    void removeRow(ChartRow& row);
    [[nodiscard]] RowIndex& itemsOf(const ChartRow& row) { return rowItems[std::size_t(row.m_index)]; }
    [[nodiscard]] const RowIndex& itemsOf(const ChartRow& row) const {
        return rowItems[std::size_t(row.m_index)];
    }
    // Moves the row to the 0-based index `to`, its items along; the rows between close up.
    void moveRow(ChartRow& row, int to);
    ChartStyle& addStyle(const QString& key);
    // Moves the style to the 0-based index `to`; the styles between close up.
    void moveStyle(ChartStyle& style, int to);

    // The key a text is kept under; empty when no item can have it (a text key never shared).
    [[nodiscard]] std::optional<ItemKey> existingKey(const QString& key) const;
    [[nodiscard]] ItemKey keyFor(const QString& key);
    // Adds an item at the end; nullptr, and nothing added, when an item with the key is there. While
    // `deferOrder`, the row's order takes the item at the next query or at finishOrders().
    ChartItem* addItem(ChartRow& row, TimePoint start, TimePoint end, const ItemKey& key, bool deferOrder);
    void removeItem(ChartItem* item);
    void moveItem(ChartItem* item, ChartRow& row, TimePoint start, TimePoint end, bool deferOrder);
    void clearItems();
    // Closes up the slots of removed items.
    void compactItems();
    // Orders every row's items and builds the trees over them, so that no first query pays for it.
    void finishOrders();
    [[nodiscard]] ChartItem* itemAt(int position) const;
    // Takes over the items of content read beside this one from the same file, in place of its own:
    // their rows are this content's rows of the same key, or rows the file's rows lacked, which come
    // along.
    void takeItems(GanttContent&& loaded);
    [[nodiscard]] QString keyText(const ItemKey& key) const;
    [[nodiscard]] QString keyText(const ChartItem& item) const { return keyText(item.m_key); }

    // The rare texts of an item (numbered as ChartItem::RareText), kept beside the items because most
    // items have none of them.
    using RareTexts = std::array<quint32, 4>;
    [[nodiscard]] RareTexts rareTexts(const ChartItem& item) const;
    void setRareTexts(ChartItem& item, const RareTexts& texts);

    // Every text and switch of an item, as numbers of shared texts: a load fills items with them.
    struct ItemFields {
        quint32 caption = 0;
        quint32 text = 0;
        quint32 styleKey = 0;
        quint32 seriesKey = 0;
        RareTexts rare{};
        int movementLock = 0;
    };
    void setFields(ChartItem& item, const ItemFields& fields);
    using ItemTexts = ItemFields;
    // The numbers of an item's texts, as a save writes them.
    [[nodiscard]] ItemTexts itemTexts(const ChartItem& item) const;
    [[nodiscard]] const ItemKey& keyOf(const ChartItem& item) const { return item.m_key; }
    // Series keys are shared texts without exception, so that equal keys have equal numbers.
    void setSeriesKey(ChartItem& item, quint32 seriesKey);
    // The items of a series in position order.
    [[nodiscard]] std::vector<ChartItem*> seriesMembers(const QString& seriesKey);

    std::vector<std::unique_ptr<ChartRow>> rows;
    QHash<QString, ChartRow*> rowByKey;
    std::vector<RowIndex> rowItems; // by row index

    ItemPool itemPool;
    // Item slots stay put until compaction; removed items leave an empty slot behind.
    std::vector<ChartItem*> itemSlots;
    PositionIndex itemPositions;
    KeyIndex itemByKey;
    SharedTexts texts;
    std::vector<RareTexts> rare;
    std::vector<quint32> freeRare;
    // Handles of the items that took a series key, by the key's number: an item that left the series or
    // the chart since is passed over, and dropped, when the series is asked for.
    QHash<quint32, std::vector<ItemHandle>> seriesItems;
    quint64 nextSequence = 0;

    std::vector<std::unique_ptr<ChartStyle>> styles;
    QHash<QString, ChartStyle*> styleByKey;

    std::vector<std::unique_ptr<HeadingColumn>> columns;

    ChartSettings settings;
};
