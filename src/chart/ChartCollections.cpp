#include "ChartCollections.h"

#include "GanttData_p.h"
#include "KeyRules.h"
#include "app/AppError.h"

#include <QScopedValueRollback>
#include <QSet>
#include <algorithm>

namespace {
// 0 when the text is no position or does not fit.
int positionOf(const QString& text) {
    bool ok = false;
    const int position = text.toInt(&ok);
    return ok ? position : 0;
}

template <typename T> T& existing(T* found, const QString& what, const QString& keyOrPosition) {
    if (!found)
        throw AppError(QStringLiteral("There is no %1 '%2'.").arg(what, keyOrPosition));
    return *found;
}
} // namespace

int ItemCollection::count() const {
    return m_owner->d->c.itemPositions.count();
}

ChartItem* ItemCollection::byPosition(int position) const {
    return m_owner->d->itemAt(position);
}

ChartItem* ItemCollection::byKey(const QString& key) const {
    const GanttContent& c = m_owner->d->c;
    const auto itemKey = c.existingKey(key);
    return itemKey ? c.itemByKey.find(*itemKey, c.itemPool) : nullptr;
}

ChartItem* ItemCollection::byHandle(ItemHandle handle) const {
    return m_owner->d->c.itemPool.find(handle);
}

std::vector<ItemHandle> ItemCollection::handles() const {
    std::vector<ItemHandle> handles;
    handles.reserve(std::size_t(count()));
    for (const ChartItem* item : m_owner->d->c.itemSlots) {
        if (item)
            handles.push_back(item->handle());
    }
    return handles;
}

std::vector<ChartItem*> ItemCollection::seriesMembers(const QString& seriesKey) const {
    return m_owner->d->c.seriesMembers(seriesKey);
}

ChartItem* ItemCollection::find(const QString& keyOrPosition) const {
    return KeyRules::isPositionText(keyOrPosition) ? byPosition(positionOf(keyOrPosition))
                                                   : byKey(keyOrPosition);
}

ChartItem& ItemCollection::get(const QString& keyOrPosition) const {
    return existing(find(keyOrPosition), QStringLiteral("item"), keyOrPosition);
}

ChartItem& ItemCollection::add(const QString& caption, const QString& rowKey, TimePoint start, TimePoint end,
                               const QString& key, const QString& styleKey, const QString& picture,
                               const QString& addTag) {
    GanttData::Private& d = *m_owner->d;
    KeyRules::checkNewKey(key, QStringLiteral("item"), byKey(key) != nullptr);
    ChartRow* row = d.rowOf(rowKey);
    if (!row)
        throw AppError(QStringLiteral("There is no resource with the key '%1'.").arg(rowKey));
    d.noteOrderChange();
    ChartItem& item = *d.c.addItem(*row, start, end, d.c.keyFor(key), d.batchDepth > 0);
    item.m_owner = m_owner;
    {
        // A new item has no earlier values to keep.
        const QScopedValueRollback<ItemWatcher*> quiet(d.watcher, nullptr);
        item.setCaption(caption);
        item.setStyleKey(styleKey);
        item.setPicture(picture);
        item.setAddTag(addTag);
    }
    d.touch();
    return item;
}

void ItemCollection::remove(const QString& keyOrPosition) {
    m_owner->d->removeItem(&get(keyOrPosition));
}

void ItemCollection::clear() {
    GanttData::Private& d = *m_owner->d;
    if (d.watcher) {
        for (const ChartItem* item : d.c.itemSlots) {
            if (item)
                d.noteChange(*item);
        }
        d.noteOrderChange();
    }
    d.c.clearItems();
    d.touch();
}

void ItemCollection::placeAt(const std::vector<std::pair<QString, int>>& keysAtPositions) {
    GanttData::Private& d = *m_owner->d;
    GanttContent& c = d.c;
    const int total = count();
    std::vector<ChartItem*> listed;
    listed.reserve(keysAtPositions.size());
    QSet<const ChartItem*> seen;
    bool inPlace = true;
    int previous = 0;
    for (const auto& [key, position] : keysAtPositions) {
        ChartItem& item = get(key);
        if (position <= previous || position > total || seen.contains(&item))
            throw AppError(QStringLiteral("The item '%1' cannot be placed at %2.").arg(key).arg(position));
        seen.insert(&item);
        listed.push_back(&item);
        previous = position;
        inPlace = inPlace && item.position() == position;
    }
    if (inPlace)
        return;
    d.noteOrderChange();
    c.compactItems();
    std::vector<ChartItem*> placed(std::size_t(total), nullptr);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        placed[std::size_t(keysAtPositions[i].second - 1)] = listed[i];
        c.itemSlots[std::size_t(listed[i]->m_slot)] = nullptr;
    }
    std::size_t free = 0;
    for (ChartItem* item : c.itemSlots) {
        if (!item)
            continue;
        while (placed[free])
            ++free;
        placed[free] = item;
    }
    c.itemSlots = std::move(placed);
    for (std::size_t slot = 0; slot < c.itemSlots.size(); ++slot)
        c.itemSlots[slot]->m_slot = int(slot);
    c.itemPositions.reset(total);
    d.touch();
}

void ItemCollection::beginBatch() {
    ++m_owner->d->batchDepth;
}

void ItemCollection::endBatch() {
    GanttData::Private& d = *m_owner->d;
    if (d.batchDepth == 0 || --d.batchDepth > 0)
        return;
    d.c.compactItems();
    if (d.pendingChange) {
        d.pendingChange = false;
        d.touch();
    }
}

int RowCollection::count() const {
    return int(m_owner->d->c.rows.size());
}

ChartRow* RowCollection::byPosition(int position) const {
    const auto& rows = m_owner->d->c.rows;
    return position >= 1 && position <= int(rows.size()) ? rows[std::size_t(position - 1)].get() : nullptr;
}

ChartRow* RowCollection::byKey(const QString& key) const {
    return m_owner->d->rowOf(key);
}

ChartRow* RowCollection::find(const QString& keyOrPosition) const {
    return KeyRules::isPositionText(keyOrPosition) ? byPosition(positionOf(keyOrPosition))
                                                   : byKey(keyOrPosition);
}

ChartRow& RowCollection::get(const QString& keyOrPosition) const {
    return existing(find(keyOrPosition), QStringLiteral("resource"), keyOrPosition);
}

ChartRow& RowCollection::add(const QString& key, const QString& caption, const QString& styleKey,
                             const QString& picture, int height) {
    GanttContent& c = m_owner->d->c;
    KeyRules::checkNewKey(key, QStringLiteral("resource"), c.rowByKey.contains(key));
    ChartRow& row = c.addRow(key, caption, styleKey, picture, height);
    m_owner->d->touch();
    return row;
}

void RowCollection::remove(const QString& keyOrPosition) {
    GanttData::Private& d = *m_owner->d;
    ChartRow& row = get(keyOrPosition);
    if (d.watcher) {
        for (const ChartItem* item : d.c.itemsOf(row).items())
            d.noteChange(*item);
        d.noteOrderChange();
    }
    m_owner->items().beginBatch();
    d.c.removeRow(row);
    d.touch();
    m_owner->items().endBatch();
}

void RowCollection::clear() {
    GanttData::Private& d = *m_owner->d;
    m_owner->items().beginBatch();
    m_owner->items().clear();
    d.c.rows.clear();
    d.c.rowByKey.clear();
    d.c.rowItems.clear();
    d.touch();
    m_owner->items().endBatch();
}

void RowCollection::move(const QString& key, int position) {
    ChartRow& row = get(key);
    const int to = std::clamp(position, 1, count()) - 1;
    if (row.position() - 1 == to)
        return;
    m_owner->d->c.moveRow(row, to);
    m_owner->d->touch();
}

int StyleCollection::count() const {
    return int(m_owner->d->c.styles.size());
}

ChartStyle* StyleCollection::byPosition(int position) const {
    const auto& styles = m_owner->d->c.styles;
    return position >= 1 && position <= int(styles.size()) ? styles[std::size_t(position - 1)].get()
                                                           : nullptr;
}

ChartStyle* StyleCollection::byKey(const QString& key) const {
    return m_owner->d->c.styleByKey.value(key);
}

ChartStyle* StyleCollection::find(const QString& keyOrPosition) const {
    return KeyRules::isPositionText(keyOrPosition) ? byPosition(positionOf(keyOrPosition))
                                                   : byKey(keyOrPosition);
}

ChartStyle& StyleCollection::get(const QString& keyOrPosition) const {
    return existing(find(keyOrPosition), QStringLiteral("style"), keyOrPosition);
}

ChartStyle& StyleCollection::add(const QString& key) {
    GanttContent& c = m_owner->d->c;
    KeyRules::checkNewKey(key, QStringLiteral("style"), c.styleByKey.contains(key));
    ChartStyle& style = c.addStyle(key);
    m_owner->d->touch();
    return style;
}

void StyleCollection::remove(const QString& keyOrPosition) {
    GanttContent& c = m_owner->d->c;
    ChartStyle& style = get(keyOrPosition);
    const int index = style.m_index;
    c.styleByKey.remove(style.key());
    c.styles.erase(c.styles.begin() + index);
    for (std::size_t i = std::size_t(index); i < c.styles.size(); ++i)
        c.styles[i]->m_index = int(i);
    m_owner->d->touch();
}

void StyleCollection::clear() {
    m_owner->d->c.styles.clear();
    m_owner->d->c.styleByKey.clear();
    m_owner->d->touch();
}

void StyleCollection::move(const QString& key, int position) {
    ChartStyle& style = get(key);
    const int to = std::clamp(position, 1, count()) - 1;
    if (style.m_index == to)
        return;
    m_owner->d->c.moveStyle(style, to);
    m_owner->d->touch();
}

int HeadingColumnCollection::count() const {
    return int(m_owner->d->c.columns.size());
}

HeadingColumn* HeadingColumnCollection::byPosition(int position) const {
    const auto& columns = m_owner->d->c.columns;
    return position >= 1 && position <= int(columns.size()) ? columns[std::size_t(position - 1)].get()
                                                            : nullptr;
}

HeadingColumn& HeadingColumnCollection::add(const QString& caption, int width, const QString& styleKey) {
    auto& columns = m_owner->d->c.columns;
    columns.push_back(std::make_unique<HeadingColumn>(HeadingColumn{caption, width, styleKey}));
    m_owner->d->touch();
    return *columns.back();
}

void HeadingColumnCollection::remove(int position) {
    GanttContent& c = m_owner->d->c;
    existing(byPosition(position), QStringLiteral("heading column"), QString::number(position));
    c.columns.erase(c.columns.begin() + (position - 1));
    for (const auto& row : c.rows) {
        if (int(row->cells.size()) >= position)
            row->cells.erase(row->cells.begin() + (position - 1));
    }
    m_owner->d->touch();
}

void HeadingColumnCollection::clear() {
    GanttContent& c = m_owner->d->c;
    c.columns.clear();
    for (const auto& row : c.rows)
        row->cells.clear();
    m_owner->d->touch();
}
