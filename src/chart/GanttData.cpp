#include "GanttData.h"

#include "GanttData_p.h"
#include "TimetableFile.h"
#include "TimetableReader.h"
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
    noteChange(*item);
    noteOrderChange();
    c.removeItem(item);
    const int emptySlots = c.itemPositions.slotCount() - c.itemPositions.count();
    if (batchDepth == 0 && emptySlots > 1024 && emptySlots > c.itemPositions.count())
        c.compactItems();
    touch();
}

void GanttData::Private::moveItem(ChartItem* item, const QString& rowKey, TimePoint start, TimePoint end) {
    if (rowKey == item->rowKey() && start == item->start() && end == item->end())
        return;
    ChartRow* row = rowOf(rowKey);
    if (!row)
        throw AppError(QStringLiteral("There is no resource with the key '%1'.").arg(rowKey));
    noteChange(*item);
    c.moveItem(item, *row, start, end, batchDepth > 0);
    touch();
}

GanttContent GanttData::Private::adopt(GanttContent content) {
    std::swap(c, content);
    claimItems();
    if (watcher)
        watcher->contentReplaced();
    return content;
}

void GanttData::Private::claimItems() {
    for (ChartItem* item : c.itemSlots) {
        if (item)
            item->m_owner = q;
    }
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
    // An item tested in its own row needs no search for the row.
    const ChartRow* row = ignore && ignore->rowKey() == rowKey ? &ignore->row() : d->rowOf(rowKey);
    return row && d->c.itemsOf(*row).overlaps(start.seconds(), end.seconds(), ignore);
}

bool GanttData::conflictsExcept(TimePoint start, TimePoint end, const QString& rowKey, int position) const {
    return conflicts(start, end, rowKey, d->itemAt(position));
}

std::vector<ChartItem*> GanttData::itemsInRange(const QString& rowKey, TimePoint from, TimePoint to) const {
    const ChartRow* row = d->rowOf(rowKey);
    if (from >= to || !row)
        return {};
    return d->c.itemsOf(*row).overlapping(from.seconds(), to.seconds());
}

void GanttData::setItemWatcher(ItemWatcher* watcher) {
    d->watcher = watcher;
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
    GanttContent fresh;
    TimetableReader reader(path);
    reader.readFrame(fresh);
    reader.readItems(fresh);
    const GanttContent old = d->adopt(std::move(fresh));
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
