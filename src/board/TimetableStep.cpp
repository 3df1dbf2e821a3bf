#include "TimetableStep.h"

#include "ItemJournal.h"
#include "app/AppError.h"
#include "chart/GanttData.h"
#include "model/clsItems.h"

#include <QHash>
#include <algorithm>

namespace {
using namespace TimetableValues;
template <typename T> using Change = TimetableStep::Change<T>;

template <typename T> const std::optional<T>& from(const Change<T>& change, bool forward) {
    return forward ? change.before : change.after;
}

template <typename T> const std::optional<T>& to(const Change<T>& change, bool forward) {
    return forward ? change.after : change.before;
}

template <typename T> int fromPosition(const Change<T>& change, bool forward) {
    return forward ? change.beforePosition : change.afterPosition;
}

template <typename T> int toPosition(const Change<T>& change, bool forward) {
    return forward ? change.afterPosition : change.beforePosition;
}

// Rows and styles are few: compared by key, whole.
template <typename T>
void diffByKey(const std::vector<T>& before, const std::vector<T>& after, std::vector<Change<T>>& changes) {
    QHash<QString, int> beforeAt;
    for (std::size_t i = 0; i < before.size(); ++i)
        beforeAt.insert(before[i].key, int(i));
    QHash<QString, int> afterAt;
    for (std::size_t i = 0; i < after.size(); ++i)
        afterAt.insert(after[i].key, int(i));
    for (std::size_t i = 0; i < before.size(); ++i) {
        const int j = afterAt.value(before[i].key, -1);
        if (j < 0)
            changes.push_back({before[i], std::nullopt, int(i) + 1, 0});
        else if (!(before[i] == after[std::size_t(j)]))
            changes.push_back({before[i], after[std::size_t(j)], int(i) + 1, j + 1});
    }
    for (std::size_t j = 0; j < after.size(); ++j) {
        if (!beforeAt.contains(after[j].key))
            changes.push_back({std::nullopt, after[j], 0, int(j) + 1});
    }
}

// Takes a sequence in the order of one side of the step to the order of the other: entries the step
// removes leave, those it adds come in at their positions, those it changes get their new values.
template <typename T>
void rebuild(std::vector<T>& sequence, const std::vector<Change<T>>& changes, bool forward) {
    std::vector<int> removed;
    std::vector<std::pair<int, const T*>> added;
    for (const Change<T>& change : changes) {
        if (from(change, forward) && !to(change, forward))
            removed.push_back(fromPosition(change, forward));
        else if (!from(change, forward) && to(change, forward))
            added.emplace_back(toPosition(change, forward), &*to(change, forward));
    }
    if (!removed.empty() || !added.empty()) {
        std::sort(removed.begin(), removed.end());
        std::sort(added.begin(), added.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<T> result;
        result.reserve(sequence.size() - removed.size() + added.size());
        std::size_t nextRemoved = 0;
        std::size_t nextAdded = 0;
        const auto addDue = [&] {
            while (nextAdded < added.size() && added[nextAdded].first == int(result.size()) + 1)
                result.push_back(*added[nextAdded++].second);
        };
        for (std::size_t i = 0; i < sequence.size(); ++i) {
            if (nextRemoved < removed.size() && removed[nextRemoved] == int(i) + 1) {
                ++nextRemoved;
                continue;
            }
            addDue();
            result.push_back(std::move(sequence[i]));
        }
        addDue();
        sequence = std::move(result);
    }
    for (const Change<T>& change : changes) {
        if (from(change, forward) && to(change, forward))
            sequence[std::size_t(toPosition(change, forward) - 1)] = *to(change, forward);
    }
}

// Puts the listed rows or styles at their positions: first all to the end, then each in ascending
// order to its place, which leaves the others in their order around them.
template <typename Collection, typename T>
void placeEntries(Collection& collection, const std::vector<Change<T>>& changes, bool forward) {
    std::vector<std::pair<int, QString>> listed;
    bool inPlace = true;
    for (const Change<T>& change : changes) {
        if (const auto& value = to(change, forward)) {
            listed.emplace_back(toPosition(change, forward), value->key);
            inPlace = inPlace && collection.get(value->key).position() == toPosition(change, forward);
        }
    }
    if (inPlace)
        return;
    std::sort(listed.begin(), listed.end());
    for (const auto& entry : listed)
        collection.move(entry.second, collection.count());
    for (const auto& [position, key] : listed)
        collection.move(key, position);
}

QString quoted(const QString& caption, const QString& none) {
    return caption.isEmpty() ? none : QStringLiteral("'%1'").arg(caption);
}

// "move" when only the place in time or the row changed and the length stayed, "stretch" when one
// end moved, else "change".
QString kindOf(const Item& before, const Item& after) {
    Item placedLike = after;
    placedLike.rowKey = before.rowKey;
    placedLike.start = before.start;
    placedLike.end = before.end;
    if (!(placedLike == before))
        return QStringLiteral("change");
    if (after.end - after.start == before.end - before.start)
        return QStringLiteral("move");
    return after.rowKey == before.rowKey && (after.start == before.start || after.end == before.end)
               ? QStringLiteral("stretch")
               : QStringLiteral("change");
}

std::size_t textBytes(const QString& text) {
    return std::size_t(text.capacity()) * sizeof(QChar);
}

std::size_t bytesOf(const Item& item) {
    return sizeof(Item) + textBytes(item.key) + textBytes(item.rowKey) + textBytes(item.caption) +
           textBytes(item.text) + textBytes(item.styleKey) + textBytes(item.picture) +
           textBytes(item.addOnData) + textBytes(item.seriesKey) + textBytes(item.addTag) +
           textBytes(item.tag);
}

std::size_t bytesOf(const Row& row) {
    return sizeof(Row) + textBytes(row.caption) + textBytes(row.picture) +
           row.cells.size() * sizeof(ChartRow::Cell);
}

std::size_t bytesOf(const Style&) {
    return sizeof(Style) + sizeof(ChartStyle);
}

template <typename T> std::size_t bytesOf(const std::vector<Change<T>>& changes) {
    std::size_t bytes = changes.capacity() * sizeof(Change<T>);
    for (const Change<T>& change : changes) {
        if (change.before)
            bytes += bytesOf(*change.before);
        if (change.after)
            bytes += bytesOf(*change.after);
    }
    return bytes;
}
} // namespace

TimetableStep TimetableStep::between(const Content& before, const ItemJournal& journal,
                                     const GanttData& chart) {
    TimetableStep step;
    step.diffItems(journal, chart);
    diffByKey(before.rows, rowsOf(chart), step.m_rows);
    diffByKey(before.styles, stylesOf(chart), step.m_styles);
    const std::vector<HeadingColumn> columns = columnsOf(chart);
    if (columns != before.columns)
        step.m_columns =
            std::make_shared<const std::pair<std::vector<HeadingColumn>, std::vector<HeadingColumn>>>(
                before.columns, columns);
    const ChartSettings settings = timetableSettings(chart.settings());
    if (!(settings == before.settings))
        step.m_settings =
            std::make_shared<const std::pair<ChartSettings, ChartSettings>>(before.settings, settings);
    return step;
}

namespace {
Item valuesAt(const ItemJournal& journal, std::size_t index) {
    std::optional<Item> values = journal.valuesAt(index);
    if (!values)
        throw AppError(QStringLiteral("The history lost track of a deleted booking."));
    return std::move(*values);
}
} // namespace

// While no booking came, left or changed place, only those the journal heard of can differ, each
// at the place it had. Otherwise bookings are only ever added at the end or removed, so one walk
// over both orders finds every change; anything else (a booking that changed place, a key deleted
// and given again) is compared by key instead.
void TimetableStep::diffItems(const ItemJournal& journal, const GanttData& chart) {
    const ItemCollection& items = chart.items();
    if (!journal.orderChanged()) {
        for (const auto& [handle, before] : journal.noted()) {
            const ChartItem* current = items.byHandle(handle);
            if (!current)
                throw AppError(QStringLiteral("The history lost track of a booking."));
            if (!before->sameAs(*current))
                m_items.push_back({*before, Item::of(*current), current->position(), current->position()});
        }
        std::sort(m_items.begin(), m_items.end(),
                  [](const auto& a, const auto& b) { return a.afterPosition < b.afterPosition; });
        return;
    }
    const std::vector<ItemHandle>& order = journal.order();
    const std::vector<ItemHandle> now = items.handles();
    std::size_t i = 0;
    std::size_t j = 0;
    bool appending = false;
    while (i < order.size() || j < now.size()) {
        if (i < order.size() && j < now.size() && order[i] == now[j]) {
            if (appending)
                return diffItemsByKey(journal, chart);
            if (const Item* before = journal.before(order[i])) {
                const ChartItem& current = *items.byHandle(now[j]);
                if (!before->sameAs(current))
                    m_items.push_back({*before, Item::of(current), int(i) + 1, int(j) + 1});
            }
            ++i;
            ++j;
        } else if (i < order.size() && !items.byHandle(order[i])) {
            Item before = valuesAt(journal, i);
            if (items.byKey(before.key))
                return diffItemsByKey(journal, chart);
            m_items.push_back({std::move(before), std::nullopt, int(i) + 1, 0});
            ++i;
        } else if (j < now.size()) {
            appending = true;
            m_items.push_back({std::nullopt, Item::of(*items.byHandle(now[j])), 0, int(j) + 1});
            ++j;
        } else {
            return diffItemsByKey(journal, chart);
        }
    }
}

// Every booking on both sides is listed, so that applying the step restores the whole order.
void TimetableStep::diffItemsByKey(const ItemJournal& journal, const GanttData& chart) {
    m_items.clear();
    const ItemCollection& items = chart.items();
    std::vector<Item> before;
    before.reserve(journal.order().size());
    QHash<QString, int> beforeAt;
    for (std::size_t i = 0; i < journal.order().size(); ++i) {
        before.push_back(valuesAt(journal, i));
        beforeAt.insert(before.back().key, int(i) + 1);
        if (!items.byKey(before.back().key))
            m_items.push_back({before.back(), std::nullopt, int(i) + 1, 0});
    }
    for (int position = 1; position <= items.count(); ++position) {
        const ChartItem& item = *items.byPosition(position);
        const int earlier = beforeAt.value(item.key());
        m_items.push_back({earlier > 0 ? std::optional(before[std::size_t(earlier - 1)]) : std::nullopt,
                           Item::of(item), earlier, position});
    }
}

bool TimetableStep::empty() const {
    return m_items.empty() && m_rows.empty() && m_styles.empty() && !m_columns && !m_settings;
}

QString TimetableStep::caption() const {
    if (!m_rows.empty())
        return rowCaption();
    if (!m_styles.empty())
        return styleCaption();
    if (!m_items.empty())
        return itemCaption();
    if (m_columns)
        return QStringLiteral("change of the heading columns");
    return QStringLiteral("change of the settings");
}

QString TimetableStep::itemCaption() const {
    int added = 0;
    int removed = 0;
    QString kind;
    bool oneKind = true;
    bool oneCaption = true;
    bool oneSeries = true;
    const Change<Item>& first = m_items.front();
    const Item& firstValue = first.after ? *first.after : *first.before;
    for (const Change<Item>& change : m_items) {
        const Item& value = change.after ? *change.after : *change.before;
        oneCaption = oneCaption && value.caption == firstValue.caption;
        oneSeries = oneSeries && !value.seriesKey.isEmpty() && value.seriesKey == firstValue.seriesKey;
        if (!change.before)
            ++added;
        else if (!change.after)
            ++removed;
        else {
            const QString changeKind = kindOf(*change.before, *change.after);
            oneKind = oneKind && (kind.isEmpty() || kind == changeKind);
            kind = changeKind;
        }
    }
    const int count = int(m_items.size());
    const QString name = oneCaption ? quoted(firstValue.caption, QStringLiteral("a booking"))
                                    : QStringLiteral("%1 bookings").arg(count);
    if (added > 0 && removed == 0 && oneSeries && count > 1)
        return QStringLiteral("series of %1").arg(name);
    if (added == count)
        return QStringLiteral("new booking %1").arg(quoted(firstValue.caption, QString())).trimmed();
    if (removed == count)
        return QStringLiteral("deletion of %1").arg(name);
    if (added == 0 && removed == 0 && oneKind)
        return QStringLiteral("%1 of %2").arg(kind, name);
    return QStringLiteral("change of %1 bookings").arg(count);
}

QString TimetableStep::rowCaption() const {
    if (m_rows.size() > 1)
        return QStringLiteral("change of %1 resources").arg(m_rows.size());
    const Change<Row>& change = m_rows.front();
    const QString name =
        quoted(change.after ? change.after->caption : change.before->caption, QStringLiteral("a resource"));
    if (!change.before)
        return QStringLiteral("new resource %1").arg(name);
    if (!change.after)
        return QStringLiteral("deletion of resource %1").arg(name);
    return QStringLiteral("change of resource %1").arg(name);
}

QString TimetableStep::styleCaption() const {
    if (m_styles.size() > 1)
        return QStringLiteral("change of %1 styles").arg(m_styles.size());
    const Change<Style>& change = m_styles.front();
    const QString name = quoted(change.after ? change.after->key : change.before->key, QString());
    if (!change.before)
        return QStringLiteral("new style %1").arg(name);
    if (!change.after)
        return QStringLiteral("deletion of style %1").arg(name);
    return QStringLiteral("change of style %1").arg(name);
}

std::size_t TimetableStep::bytes() const {
    std::size_t bytes = sizeof(TimetableStep) + bytesOf(m_items) + bytesOf(m_rows) + bytesOf(m_styles);
    if (m_columns)
        bytes += (m_columns->first.size() + m_columns->second.size()) * sizeof(HeadingColumn);
    if (m_settings)
        bytes += 2 * sizeof(ChartSettings);
    return bytes;
}

bool TimetableStep::fits(const GanttData& chart, bool forward) const {
    for (const Change<Item>& change : m_items) {
        const auto& value = from(change, forward);
        const ChartItem* item = chart.items().byKey((value ? value : to(change, forward))->key);
        if (value ? !item || !value->sameAs(*item) : item != nullptr)
            return false;
    }
    for (const Change<Row>& change : m_rows) {
        const auto& value = from(change, forward);
        const ChartRow* row = chart.rows().byKey((value ? value : to(change, forward))->key);
        if (value ? !row || !(Row::of(*row) == *value) : row != nullptr)
            return false;
    }
    for (const Change<Style>& change : m_styles) {
        const auto& value = from(change, forward);
        const ChartStyle* style = chart.styles().byKey((value ? value : to(change, forward))->key);
        if (value ? !style || !style->sameProperties(*value->look) : style != nullptr)
            return false;
    }
    return true;
}

void TimetableStep::apply(GanttData& chart, clsItems& items, const QString& senderId, bool forward) const {
    if (m_columns)
        applyColumns(chart, forward ? m_columns->second : m_columns->first);
    applyStyles(chart, items, senderId, forward);
    for (const Change<Row>& change : m_rows) {
        const auto& target = to(change, forward);
        if (target && from(change, forward))
            target->applyTo(chart.rows().get(target->key));
        else if (target)
            target->addTo(chart);
    }
    applyItems(chart, items, senderId, forward);
    applyRows(chart, forward);
    if (!m_rows.empty())
        items.RowsChanged();
    if (m_settings)
        applySettings(chart, forward ? m_settings->second : m_settings->first);
}

void TimetableStep::applyStyles(GanttData& chart, clsItems& items, const QString& senderId,
                                bool forward) const {
    if (m_styles.empty())
        return;
    for (const Change<Style>& change : m_styles) {
        const auto& target = to(change, forward);
        if (!target)
            chart.styles().remove(from(change, forward)->key);
        else if (from(change, forward))
            chart.styles().get(target->key).assignProperties(*target->look);
        else
            target->addTo(chart);
    }
    placeEntries(chart.styles(), m_styles, forward);
    items.RowStylesChanged();
    // The item table gives every booking the movement lock of its style as it tells the views; a
    // booking that had another lock gets it back, the step's own bookings their values afterwards.
    const ItemCollection& collection = chart.items();
    std::vector<int> locks;
    locks.reserve(std::size_t(collection.count()));
    for (int position = 1; position <= collection.count(); ++position)
        locks.push_back(collection.byPosition(position)->movementLock());
    items.ItemStylesChanged();
    for (int position = 1; position <= collection.count(); ++position) {
        ChartItem& item = *collection.byPosition(position);
        if (item.movementLock() != locks[std::size_t(position - 1)]) {
            item.setMovementLock(locks[std::size_t(position - 1)]);
            items.UpdateItem(item, senderId);
        }
    }
}

// The chart reaches its final order before the views hear of any booking that stays or comes, so
// that none of them sees a half-placed step.
void TimetableStep::applyItems(GanttData& chart, clsItems& items, const QString& senderId,
                               bool forward) const {
    ItemCollection& collection = chart.items();
    for (const Change<Item>& change : m_items) {
        if (from(change, forward) && !to(change, forward) &&
            !items.Delete(from(change, forward)->key, senderId))
            throw AppError(
                QStringLiteral("The booking '%1' could not be deleted.").arg(from(change, forward)->key));
    }
    std::vector<std::pair<QString, int>> placements;
    for (const Change<Item>& change : m_items) {
        const auto& target = to(change, forward);
        if (!target)
            continue;
        if (from(change, forward))
            target->applyTo(collection.get(target->key));
        else
            target->addTo(chart);
        placements.emplace_back(target->key, toPosition(change, forward));
    }
    std::sort(placements.begin(), placements.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    collection.placeAt(placements);
    for (const Change<Item>& change : m_items) {
        if (const auto& target = to(change, forward)) {
            const ChartItem& item = collection.get(target->key);
            if (from(change, forward))
                items.UpdateItem(item, senderId);
            else
                items.Add(item, senderId);
        }
    }
}

void TimetableStep::applyRows(GanttData& chart, bool forward) const {
    if (m_rows.empty())
        return;
    for (const Change<Row>& change : m_rows) {
        if (!to(change, forward))
            chart.rows().remove(from(change, forward)->key);
    }
    placeEntries(chart.rows(), m_rows, forward);
}

void TimetableStep::applyTo(Content& content, const GanttData& chart, bool forward) const {
    if (!m_rows.empty() || m_columns)
        content.rows = rowsOf(chart);
    rebuild(content.styles, m_styles, forward);
    if (m_columns)
        content.columns = forward ? m_columns->second : m_columns->first;
    if (m_settings)
        content.settings = forward ? m_settings->second : m_settings->first;
}
