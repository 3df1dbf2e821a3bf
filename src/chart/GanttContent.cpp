#include "GanttContent.h"

#include <algorithm>

namespace {
// The entry at index `from` goes to index `to`, the ones between closing up.
template <typename T> void moveEntry(std::vector<T>& entries, int from, int to) {
    const auto at = [&](int index) { return entries.begin() + std::ptrdiff_t(index); };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else
        std::rotate(at(to), at(from), at(from + 1));
}
} // namespace

ChartRow& GanttContent::addRow(const QString& key, const QString& caption, const QString& styleKey,
                               const QString& picture, int height) {
    auto row = std::make_unique<ChartRow>();
    row->m_key = key;
    row->m_index = int(rows.size());
    row->caption = caption;
    row->styleKey = styleKey;
    row->picture = picture;
    row->height = height;
    ChartRow* added = row.get();
    rows.push_back(std::move(row));
    rowByKey.insert(key, added);
    rowItems.emplace_back();
    return *added;
}

void GanttContent::removeRow(ChartRow& row) {
    for (ChartItem* item : itemsOf(row).items())
        removeItem(item);
    const auto index = std::size_t(row.m_index);
    rowByKey.remove(row.key());
    rowItems.erase(rowItems.begin() + std::ptrdiff_t(index));
    rows.erase(rows.begin() + std::ptrdiff_t(index));
    for (std::size_t i = index; i < rows.size(); ++i)
        rows[i]->m_index = int(i);
}

void GanttContent::moveRow(ChartRow& row, int to) {
    const int from = row.m_index;
    moveEntry(rows, from, to);
    moveEntry(rowItems, from, to);
    for (int index = std::min(from, to); index <= std::max(from, to); ++index)
        rows[std::size_t(index)]->m_index = index;
}

ChartStyle& GanttContent::addStyle(const QString& key) {
    auto style = std::make_unique<ChartStyle>();
    style->m_key = key;
    style->m_index = int(styles.size());
    ChartStyle* added = style.get();
    styles.push_back(std::move(style));
    styleByKey.insert(key, added);
    return *added;
}

void GanttContent::moveStyle(ChartStyle& style, int to) {
    const int from = style.m_index;
    moveEntry(styles, from, to);
    for (int index = std::min(from, to); index <= std::max(from, to); ++index)
        styles[std::size_t(index)]->m_index = index;
}

std::optional<ItemKey> GanttContent::existingKey(const QString& key) const {
    if (const auto guid = ItemKey::fromGuid(key))
        return guid;
    const auto number = texts.find(key);
    return number ? std::optional(ItemKey::fromTextNumber(*number)) : std::nullopt;
}

ItemKey GanttContent::keyFor(const QString& key) {
    if (const auto guid = ItemKey::fromGuid(key))
        return *guid;
    return ItemKey::fromTextNumber(texts.intern(key));
}

QString GanttContent::keyText(const ItemKey& key) const {
    return key.isGuid() ? key.guidText() : texts.at(key.textNumber());
}

ChartItem* GanttContent::addItem(ChartRow& row, TimePoint start, TimePoint end, const ItemKey& key,
                                 bool deferOrder) {
    ChartItem* item = itemPool.create();
    item->m_key = key;
    if (itemByKey.insert(item, itemPool) != nullptr) {
        itemPool.destroy(item);
        return nullptr;
    }
    item->m_row = &row;
    item->m_start = start;
    item->m_end = end;
    item->m_slot = int(itemSlots.size());
    item->m_sequence = nextSequence++;
    itemSlots.push_back(item);
    itemPositions.append();
    itemsOf(row).insert(item, start.seconds(), end.seconds(), item->m_sequence, deferOrder);
    return item;
}

void GanttContent::removeItem(ChartItem* item) {
    itemByKey.remove(item, itemPool);
    itemsOf(*item->m_row).remove(item, item->m_start.seconds(), item->m_sequence);
    itemPositions.release(item->m_slot);
    itemSlots[std::size_t(item->m_slot)] = nullptr;
    setRareTexts(*item, RareTexts{});
    itemPool.destroy(item);
}

void GanttContent::moveItem(ChartItem* item, ChartRow& row, TimePoint start, TimePoint end, bool deferOrder) {
    RowIndex& from = itemsOf(*item->m_row);
    if (&row == item->m_row && start == item->m_start) {
        from.setEnd(item, start.seconds(), item->m_sequence, end.seconds());
        item->m_end = end;
        return;
    }
    from.remove(item, item->m_start.seconds(), item->m_sequence);
    item->m_row = &row;
    item->m_start = start;
    item->m_end = end;
    itemsOf(row).insert(item, start.seconds(), end.seconds(), item->m_sequence, deferOrder);
}

void GanttContent::clearItems() {
    itemPool = ItemPool();
    itemSlots.clear();
    itemPositions.reset(0);
    itemByKey.clear();
    rare.clear();
    freeRare.clear();
    seriesItems.clear();
    for (RowIndex& index : rowItems)
        index = RowIndex();
}

void GanttContent::compactItems() {
    if (itemPositions.slotCount() == itemPositions.count())
        return;
    std::erase(itemSlots, nullptr);
    for (std::size_t slot = 0; slot < itemSlots.size(); ++slot)
        itemSlots[slot]->m_slot = int(slot);
    itemPositions.reset(int(itemSlots.size()));
}

void GanttContent::finishOrders() {
    for (RowIndex& index : rowItems)
        index.finishOrder();
}

ChartItem* GanttContent::itemAt(int position) const {
    const int slot = itemPositions.slotAt(position);
    return slot < 0 ? nullptr : itemSlots[std::size_t(slot)];
}

void GanttContent::takeItems(GanttContent&& loaded) {
    const std::size_t count = loaded.rows.size();
    std::vector<ChartRow*> target(count);
    for (std::size_t i = 0; i < count; ++i) {
        ChartRow* mine = rowByKey.value(loaded.rows[i]->key());
        target[i] = mine ? mine : loaded.rows[i].get();
    }
    for (ChartItem* item : loaded.itemSlots) {
        if (item)
            item->m_row = target[std::size_t(item->m_row->m_index)];
    }
    std::vector<RowIndex> orders(rows.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (target[i] == loaded.rows[i].get()) {
            target[i]->m_index = int(rows.size());
            rowByKey.insert(target[i]->key(), target[i]);
            rows.push_back(std::move(loaded.rows[i]));
            orders.emplace_back();
        }
        orders[std::size_t(target[i]->m_index)] = std::move(loaded.rowItems[i]);
    }
    rowItems = std::move(orders);
    itemPool = std::move(loaded.itemPool);
    itemSlots = std::move(loaded.itemSlots);
    itemPositions = std::move(loaded.itemPositions);
    itemByKey = std::move(loaded.itemByKey);
    texts = std::move(loaded.texts);
    rare = std::move(loaded.rare);
    freeRare = std::move(loaded.freeRare);
    seriesItems = std::move(loaded.seriesItems);
    nextSequence = loaded.nextSequence;
}

GanttContent::RareTexts GanttContent::rareTexts(const ChartItem& item) const {
    return item.m_rare == 0 ? RareTexts{} : rare[item.m_rare - 1];
}

void GanttContent::setRareTexts(ChartItem& item, const RareTexts& texts) {
    if (item.m_rare != 0 && texts == RareTexts{}) {
        freeRare.push_back(item.m_rare - 1);
        item.m_rare = 0;
        return;
    }
    if (item.m_rare == 0) {
        if (texts == RareTexts{})
            return;
        if (freeRare.empty()) {
            rare.emplace_back();
            item.m_rare = quint32(rare.size());
        } else {
            item.m_rare = freeRare.back() + 1;
            freeRare.pop_back();
        }
    }
    rare[item.m_rare - 1] = texts;
}

void GanttContent::setFields(ChartItem& item, const ItemFields& fields) {
    item.m_caption = fields.caption;
    item.m_text = fields.text;
    item.m_styleKey = fields.styleKey;
    setSeriesKey(item, fields.seriesKey);
    item.m_movementLock = qint8(fields.movementLock);
    setRareTexts(item, fields.rare);
}

void GanttContent::setSeriesKey(ChartItem& item, quint32 seriesKey) {
    if (seriesKey == item.m_seriesKey)
        return;
    item.m_seriesKey = seriesKey;
    if (seriesKey != 0)
        seriesItems[seriesKey].push_back(item.handle());
}

std::vector<ChartItem*> GanttContent::seriesMembers(const QString& seriesKey) {
    const auto number = texts.find(seriesKey);
    const auto found = number && *number != 0 ? seriesItems.find(*number) : seriesItems.end();
    if (found == seriesItems.end())
        return {};
    std::vector<ItemHandle>& handles = *found;
    std::vector<ChartItem*> members;
    members.reserve(handles.size());
    for (const ItemHandle& handle : handles) {
        ChartItem* item = itemPool.find(handle);
        if (item && item->m_seriesKey == *number)
            members.push_back(item);
    }
    std::sort(members.begin(), members.end(),
              [](const ChartItem* a, const ChartItem* b) { return a->m_slot < b->m_slot; });
    members.erase(std::unique(members.begin(), members.end()), members.end());
    handles.clear();
    for (const ChartItem* item : members)
        handles.push_back(item->handle());
    return members;
}

GanttContent::ItemTexts GanttContent::itemTexts(const ChartItem& item) const {
    return {item.m_caption,   item.m_text,     item.m_styleKey,
            item.m_seriesKey, rareTexts(item), item.m_movementLock};
}
