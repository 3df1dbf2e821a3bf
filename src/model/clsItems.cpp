#include "clsItems.h"

#include "ChartBatch.h"
#include "ItemOrder.h"
#include "app/AppError.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/clsGeneralOptions.h"
#include "app/clsProgessbar.h"
#include "chart/GanttData.h"
#include "iMessenger.h"

#include <algorithm>

namespace {
constexpr int progressStep = 20;
constexpr int questionFlags = MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2;
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;

bool confirmDeleteOption() {
    // Without options the confirmation stays on, as it is by default.
    const clsGeneralOptions* options = globals().options;
    return options == nullptr || options->ConfirmDelete();
}
} // namespace

clsItems::clsItems(GanttData& chart)
    : m_chart(chart)
    , m_table(chart) {}

void clsItems::AddMessenger(iMessenger& messenger) {
    const QString id = messenger.ID();
    if (std::any_of(m_messengers.cbegin(), m_messengers.cend(),
                    [&](const auto& entry) { return entry.first == id; }))
        throw AppError(QStringLiteral("This key is already associated with an element of this collection"),
                       457, QStringLiteral("clsItems"));
    m_messengers.emplace_back(id, &messenger);
}

void clsItems::RemoveMessenger(iMessenger& messenger) {
    ignoringErrors([&] {
        const QString id = messenger.ID();
        std::erase_if(m_messengers, [&](const auto& entry) { return entry.first == id; });
    });
}

ItemRecord clsItems::Record(int row) const {
    const ChartItem* item = m_table.itemAt(row);
    return item ? ItemToArray(*item) : ItemRecord();
}

QVariant clsItems::Value(int row, int column) const {
    const ChartItem* item = m_table.itemAt(row);
    if (item == nullptr)
        return row >= 0 && row < m_table.size() ? ItemRecord().value(column) : QVariant();
    return ItemRecord::valueOf(*item, column);
}

void clsItems::sortRows(const ItemSortKeys& keys, bool descending) {
    if (keys.empty())
        return;
    std::vector<const ChartItem*> rows(std::size_t(m_table.size()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = m_table.itemAt(qsizetype(row));
    m_table.reorder(ItemOrder::of(rows, keys, descending));
}

ItemRecord clsItems::ItemToArray(const ChartItem& item) const {
    ItemRecord record;
    record.key = item.key();
    record.resourceCaption = item.row().caption;
    record.caption = item.caption();
    record.startDate = item.start().datePart();
    record.startTime = item.start().timePart();
    record.endDate = item.end().datePart();
    record.endTime = item.end().timePart();
    record.addOnData = item.addOnData();
    record.text = item.text();
    return record;
}

bool clsItems::ReadItems() {
    bool result = false;
    guardedStep(QStringLiteral("Function:clsItems:ReadItems"), [&] { result = readAll(); });
    return result;
}

bool clsItems::readAll() {
    m_table.clear();
    const ItemCollection& items = m_chart.items();
    const int count = items.count();
    const auto tellViews = [this] {
        notify(QStringLiteral("Function:clsItems:ReadItems"),
               [](iMessenger& messenger) { messenger.ItemsChanged(); });
    };
    if (count == 0) {
        // The views forget the rows they show too.
        tellViews();
        return true;
    }

    clsProgessbar progress;
    progress.Caption(QStringLiteral("reading items"));
    progress.Max(count);
    progress.NoCancel();
    // Room for the items added after loading: growing a large table means moving every row, which
    // the user would feel as a pause at the first new item.
    m_table.reserve(count + count / 4);
    for (int i = 0; i < count; ++i) {
        // Only rows actually read are kept, so that a cancelled read leaves a consistent table.
        if (i % progressStep == 0 && !progress.SetValue(i))
            return false;
        if (const ChartItem* item = items.byPosition(i + 1))
            m_table.append(*item);
    }
    tellViews();
    return true;
}

void clsItems::Add(const ChartItem& item, const QString& senderId) {
    const QString identity = QStringLiteral("Sub:clsItems:Add");
    const QString key = item.key();
    const bool isNew = !m_table.contains(item.handle());
    if (!guardedStep(identity, [&] { m_table.append(item); }))
        return;
    if (isNew)
        ++m_uncountedRows;
    notify(identity, [&](iMessenger& messenger) { messenger.ItemAdded(key, senderId); });
    if (isNew)
        --m_uncountedRows;
}

void clsItems::UpdateItem(const ChartItem& item, const QString& senderId) {
    const QString identity = QStringLiteral("Sub:clsItems:UpdateItem");
    const QString key = item.key();
    if (!m_table.contains(item.handle())) {
        ShowMessage(QStringLiteral("Update failed for item ") + key, errorFlags);
        return;
    }
    notify(identity, [&](iMessenger& messenger) { messenger.ItemChanged(key, senderId); });
}

bool clsItems::DeleteItem(const ChartItem& item, const QString& senderId, bool confirm) {
    ItemList items;
    items.add(item);
    return DeleteItems(items, senderId, confirm);
}

bool clsItems::DeleteItems(ItemList& items, const QString& senderId, bool confirm) {
    const QString identity = QStringLiteral("Function:clsItems:DeleteItems");
    if (confirm && confirmDeleteOption()) {
        const QString question = items.count() == 1
                                     ? QStringLiteral("Delete current item?")
                                     : FormatMsg(QStringLiteral("Delete all %s items?"), items.count());
        if (ShowMessage(question, questionFlags) != MessageResult::Yes)
            return false;
    }
    if (!guardedStep(identity, [&] { addFollowingSeriesMembers(items); }))
        return false;
    guardedStep(identity, [&] {
        const QStringList keys = items.keys();
        ChartBatch batch(m_chart);
        for (const QString& key : keys)
            Delete(key, senderId);
    });
    return true;
}

void clsItems::addFollowingSeriesMembers(ItemList& items) const {
    // Only the first listed series member counts; its values are copied because the question lets
    // window messages run.
    QString seriesKey;
    TimePoint start;
    for (const QString& key : items.keys()) {
        const ChartItem* item = m_chart.items().byKey(key);
        if (item != nullptr && !item->seriesKey().isEmpty()) {
            seriesKey = item->seriesKey();
            start = item->start();
            break;
        }
    }
    if (seriesKey.isEmpty())
        return;
    if (ShowMessage(QStringLiteral("Delete following series items too?"), questionFlags) !=
        MessageResult::Yes)
        return;
    const ItemCollection& chartItems = m_chart.items();
    const int count = chartItems.count();
    for (int position = 1; position <= count; ++position) {
        const ChartItem* member = chartItems.byPosition(position);
        if (member != nullptr && member->seriesKey() == seriesKey && member->start() > start)
            items.add(*member);
    }
}

bool clsItems::Delete(QString key, const QString& senderId) {
    const QString identity = QStringLiteral("Function:clsItems:Delete");
    if (!m_table.contains(key)) {
        ShowMessage(QStringLiteral("Delete failed for item ") + key, errorFlags);
        return false;
    }
    bool cancel = false;
    const bool allAgreed = forEachMessenger(identity, [&](iMessenger& messenger) {
        messenger.ItemDeleteBefore(key, cancel, senderId);
        return !cancel;
    });
    // A messenger may have deleted the item itself while it was asked.
    const ChartItem* item = m_chart.items().byKey(key);
    if (!allAgreed || item == nullptr || !m_table.contains(item->handle()))
        return false;
    const ItemHandle handle = item->handle();
    // The chart goes first: when its removal is abandoned, row and item both stay.
    if (!guardedStep(identity, [&] { m_chart.items().remove(key); }))
        return false;
    m_table.remove(handle);
    notify(identity, [&](iMessenger& messenger) { messenger.ItemDeleteAfter(key, senderId); });
    return true;
}

ChartItem* clsItems::Item(const QString& key) const {
    if (key.isEmpty())
        return nullptr;
    ChartItem* item = nullptr;
    guardedStep(QStringLiteral("Function:clsItems:Item"), [&] {
        item = m_chart.items().byKey(key);
        if (item == nullptr)
            throw AppError(QStringLiteral("No item with the key ") + key, 5, QStringLiteral("clsItems"));
    });
    return item;
}

void clsItems::ItemSeledctedById(const QString& key, const QString& senderId) {
    announceSelection(key, senderId, QStringLiteral("Sub:clsItems:ItemSeledctedById"));
}

void clsItems::ItemSelected(const ChartItem& item, const QString& senderId) {
    announceSelection(item.key(), senderId, QStringLiteral("Sub:clsItems:ItemSelected"));
}

void clsItems::announceSelection(const QString& key, const QString& senderId, const QString& identity) {
    m_selectedKey = key;
    const QString selected = m_selectedKey;
    const QString sender = senderId;
    const quint64 selection = ++m_selections;
    // A messenger that selects another item announces that one to everybody; the rest of this
    // announcement is then out of date and would leave the later messengers on the wrong item.
    forEachMessenger(identity, [&](iMessenger& messenger) {
        messenger.ItemSelected(selected, sender);
        return m_selections == selection;
    });
}

void clsItems::RowsChanged() {
    notify(QStringLiteral("Sub:clsItems:RowsChanged"),
           [](iMessenger& messenger) { messenger.RowsChanged(); });
}

void clsItems::RowStylesChanged() {
    notify(QStringLiteral("Sub:clsItems:RowStylesChanged"),
           [](iMessenger& messenger) { messenger.RowStylesChanged(); });
}

void clsItems::ItemStylesChanged() {
    const QString identity = QStringLiteral("Sub:clsItems:ItemStylesChanged");
    if (!guardedStep(identity, [&] { applyStyleLocks(); }))
        return;
    notify(identity, [](iMessenger& messenger) { messenger.ItemStylesChanged(); });
}

void clsItems::applyStyleLocks() {
    clsProgessbar progress;
    progress.Caption(QStringLiteral("updating styles"));
    progress.Max(Count() - 1);
    // The progress window lets window messages run, so the rows are fetched anew at every step.
    for (qsizetype row = 0; row < m_table.size(); ++row) {
        if (row % progressStep == 0)
            progress.SetValue(int(row));
        ChartItem* item = m_table.itemAt(row);
        if (item == nullptr)
            continue;
        const ChartStyle* style = m_chart.styles().byKey(item->styleKey());
        item->setMovementLock(style != nullptr && style->fixedItem ? 2 : 0);
    }
    m_chart.redraw();
}

ChartItem* clsItems::GetItemByIndex(int row) const {
    ChartItem* item = nullptr;
    ignoringErrors([&] { item = m_table.itemAt(row); });
    return item;
}

bool clsItems::forEachMessenger(const QString& identity, const Call& call) {
    std::vector<iMessenger*> messengers;
    messengers.reserve(m_messengers.size());
    for (const auto& entry : m_messengers)
        messengers.push_back(entry.second);
    for (iMessenger* messenger : messengers) {
        if (!isRegistered(messenger))
            continue;
        bool goOn = true;
        if (!guardedStep(identity, [&] { goOn = call(*messenger); }) || !goOn)
            return false;
    }
    return true;
}

void clsItems::notify(const QString& identity, const std::function<void(iMessenger&)>& call) {
    forEachMessenger(identity, [&](iMessenger& messenger) {
        call(messenger);
        return true;
    });
}

bool clsItems::isRegistered(const iMessenger* messenger) const {
    return std::any_of(m_messengers.cbegin(), m_messengers.cend(),
                       [&](const auto& entry) { return entry.second == messenger; });
}
