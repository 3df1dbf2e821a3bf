#include "GanttData.h"

#include "GanttData_p.h"
#include "TimetableFile.h"
#include "app/AppError.h"

namespace {
const QString addonStyleKey = QStringLiteral("Addon");
}

GanttData::Private::Private(GanttData* owner)
    : q(owner)
    , rows(owner)
    , items(owner)
    , styles(owner)
    , columns(owner) {}

void GanttData::Private::touch() {
    if (batchDepth > 0)
        pendingChange = true;
    else if (bulkChange)
        emit q->changed();
}

void GanttData::Private::removeItem(ChartItem* item) {
    c.itemByKey.remove(item->m_key);
    c.rowItems[item->m_rowKey].remove(item, item->m_start.seconds(), item->m_sequence);
    c.itemPositions.release(item->m_slot);
    c.itemSlots[std::size_t(item->m_slot)].reset();
    const int emptySlots = c.itemPositions.slotCount() - c.itemPositions.count();
    if (batchDepth == 0 && emptySlots > 1024 && emptySlots > c.itemPositions.count())
        compactItems();
    touch();
}

void GanttData::Private::moveItem(ChartItem* item, const QString& rowKey, TimePoint start, TimePoint end) {
    if (rowKey == item->m_rowKey && start == item->m_start && end == item->m_end)
        return;
    if (!c.rowByKey.contains(rowKey))
        throw AppError(QStringLiteral("There is no resource with the key '%1'.").arg(rowKey));
    RowIndex& from = c.rowItems[item->m_rowKey];
    if (rowKey == item->m_rowKey && start == item->m_start) {
        from.setEnd(item, start.seconds(), item->m_sequence, end.seconds());
        item->m_end = end;
        touch();
        return;
    }
    from.remove(item, item->m_start.seconds(), item->m_sequence);
    item->m_rowKey = rowKey;
    item->m_start = start;
    item->m_end = end;
    c.rowItems[rowKey].insert(item, start.seconds(), end.seconds(), item->m_sequence, batchDepth > 0);
    touch();
}

void GanttData::Private::compactItems() {
    if (c.itemPositions.slotCount() == c.itemPositions.count())
        return;
    std::erase_if(c.itemSlots, [](const std::unique_ptr<ChartItem>& item) { return !item; });
    for (std::size_t slot = 0; slot < c.itemSlots.size(); ++slot)
        c.itemSlots[slot]->m_slot = int(slot);
    c.itemPositions.reset(int(c.itemSlots.size()));
}

void GanttData::Private::adoptContent() {
    for (const auto& item : c.itemSlots) {
        if (item)
            item->m_owner = q;
    }
}

ChartItem* GanttData::Private::itemAt(int position) const {
    const int slot = c.itemPositions.slotAt(position);
    return slot < 0 ? nullptr : c.itemSlots[std::size_t(slot)].get();
}

GanttData::GanttData(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this)) {}

GanttData::~GanttData() = default;

RowCollection& GanttData::rows() {
    return d->rows;
}

ItemCollection& GanttData::items() {
    return d->items;
}

StyleCollection& GanttData::styles() {
    return d->styles;
}

HeadingColumnCollection& GanttData::headingColumns() {
    return d->columns;
}

const RowCollection& GanttData::rows() const {
    return d->rows;
}

const ItemCollection& GanttData::items() const {
    return d->items;
}

const StyleCollection& GanttData::styles() const {
    return d->styles;
}

const HeadingColumnCollection& GanttData::headingColumns() const {
    return d->columns;
}

ChartSettings& GanttData::settings() {
    return d->c.settings;
}

const ChartSettings& GanttData::settings() const {
    return d->c.settings;
}

bool GanttData::conflicts(TimePoint start, TimePoint end, const QString& rowKey,
                          const ChartItem* ignore) const {
    if (end <= start)
        return true;
    const auto index = d->c.rowItems.find(rowKey);
    return index != d->c.rowItems.end() && index->overlaps(start.seconds(), end.seconds(), ignore);
}

bool GanttData::conflictsExcept(TimePoint start, TimePoint end, const QString& rowKey, int position) const {
    return conflicts(start, end, rowKey, d->itemAt(position));
}

std::vector<ChartItem*> GanttData::itemsInRange(const QString& rowKey, TimePoint from, TimePoint to) const {
    const auto index = d->c.rowItems.find(rowKey);
    if (from >= to || index == d->c.rowItems.end())
        return {};
    return index->overlapping(from.seconds(), to.seconds());
}

void GanttData::setBulkChange(bool on) {
    d->bulkChange = on;
}

bool GanttData::bulkChange() const {
    return d->bulkChange;
}

void GanttData::redraw() {
    d->touch();
}

void GanttData::load(const QString& path) {
    GanttData fresh;
    TimetableFile::read(path, fresh);
    std::swap(d->c, fresh.d->c);
    d->adoptContent();
    d->touch();
    emit loaded();
}

void GanttData::save(const QString& path) const {
    TimetableFile::write(*this, path);
}

void GanttData::clear() {
    items().beginBatch();
    rows().clear();
    styles().clear();
    headingColumns().clear();
    d->c.settings = ChartSettings();
    items().endBatch();
    emit loaded();
}

QString GanttData::addonText() const {
    const ChartStyle* style = styles().byKey(addonStyleKey);
    if (!style)
        throw AppError(QStringLiteral("The style '%1' is missing.").arg(addonStyleKey));
    return style->freeText;
}

void GanttData::setAddonText(const QString& text) {
    ChartStyle* style = styles().byKey(addonStyleKey);
    if (!style)
        throw AppError(QStringLiteral("The style '%1' is missing.").arg(addonStyleKey));
    style->freeText = text;
}
