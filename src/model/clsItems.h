#pragma once

#include "ItemList.h"
#include "ItemRecord.h"
#include "ItemSortKey.h"
#include "ItemTable.h"

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class ChartItem;
class GanttData;
class iMessenger;

// The item table: one row per chart item, the single channel through which views add, change,
// select and delete items, and the hub that tells every registered view of each change.
//
// A sender ID is the ID of the messenger that causes a change, or "" when no view causes it; every
// messenger is told, in registration order, and recognises its own changes by it. Messengers may
// call back into the table while they are told.
class clsItems {
public:
    explicit clsItems(GanttData& chart);
    clsItems(const clsItems&) = delete;
    clsItems& operator=(const clsItems&) = delete;

    [[nodiscard]] GanttData& chart() const { return m_chart; }

    // Throws AppError when a messenger with the same ID is registered already.
    void AddMessenger(iMessenger& messenger);
    void RemoveMessenger(iMessenger& messenger);

    // The rows for binding, sorting and export, addressed 0 .. Count()-1 in the table's order.
    // A record is made when asked for, so it stays valid however the table changes afterwards.
    [[nodiscard]] ItemRecord Record(int row) const;
    // One cell of a row as ItemRecord::value gives it; empty outside the table.
    [[nodiscard]] QVariant Value(int row, int column) const;
    // Reorders the rows by the keys in order (a stable sort, every key in the same direction);
    // lookups by key follow the new order.
    void sortRows(const ItemSortKeys& keys, bool descending);
    // Rows in use. While messengers hear of an added item its row is there already but not counted.
    [[nodiscard]] int Count() const { return int(m_table.size()) - m_uncountedRows; }

    // Rebuilds the table from the chart; false when the progress window reported a cancellation
    // (the rows read so far stay) or the read failed.
    bool ReadItems();
    // The caller has added the item to the chart already.
    void Add(const ChartItem& item, const QString& senderId);
    // The caller has changed the item in the chart already.
    void UpdateItem(const ChartItem& item, const QString& senderId);
    bool DeleteItem(const ChartItem& item, const QString& senderId, bool confirm);
    // Asks for confirmation and about following series members (which it adds to `items`), then
    // deletes chart item and row of every listed key. True also when some items were kept.
    bool DeleteItems(ItemList& items, const QString& senderId, bool confirm);
    // Deletes one item from table and chart without a question, unless a messenger vetoes it; the
    // clean-up of old items deletes through it. False when the item was not deleted.
    bool Delete(QString key, const QString& senderId);

    // nullptr for an empty key; an unknown key goes to the error handler and gives nullptr.
    [[nodiscard]] ChartItem* Item(const QString& key) const;
    [[nodiscard]] QString SelectedItem() const { return m_selectedKey; }
    void ItemSeledctedById(const QString& key, const QString& senderId);
    void ItemSelected(const ChartItem& item, const QString& senderId);
    void RowsChanged();
    void RowStylesChanged();
    // Gives every item the movement lock of its style, redraws and tells the messengers.
    void ItemStylesChanged();

    // -1 when the key is in no row.
    [[nodiscard]] int GetItemIndex(const QString& key) const { return int(m_table.rowOf(key)); }
    // nullptr, without a message, for a row out of range or a key the chart does not know.
    [[nodiscard]] ChartItem* GetItemByIndex(int row) const;

private:
    using Call = std::function<bool(iMessenger&)>;

    [[nodiscard]] ItemRecord ItemToArray(const ChartItem& item) const;
    bool readAll();
    void addFollowingSeriesMembers(ItemList& items) const;
    void applyStyleLocks();
    void announceSelection(const QString& key, const QString& senderId, const QString& identity);
    // Calls every messenger registered when the walk starts, skipping those that leave on the way,
    // until `call` answers false or the error handler answers Abort; false in both cases.
    bool forEachMessenger(const QString& identity, const Call& call);
    void notify(const QString& identity, const std::function<void(iMessenger&)>& call);
    [[nodiscard]] bool isRegistered(const iMessenger* messenger) const;

    GanttData& m_chart;
    ItemTable m_table;
    std::vector<std::pair<QString, iMessenger*>> m_messengers;
    QString m_selectedKey;
    int m_uncountedRows = 0;
    quint64 m_selections = 0;
};
