#pragma once

#include <QString>

// A view that wants to hear of every change of the item table. Strings are taken by value so that a
// messenger that calls back into the item table cannot change what the others are told.
class iMessenger {
public:
    virtual ~iMessenger() = default;

    // Asked before an item is removed; setting cancel keeps it.
    virtual void ItemDeleteBefore(QString key, bool& cancel, QString senderId) = 0;
    virtual void ItemDeleteAfter(QString key, QString senderId) = 0;
    virtual void ItemChanged(QString key, QString senderId) = 0;
    virtual void ItemAdded(QString key, QString senderId) = 0;
    // The whole table was read again.
    virtual void ItemsChanged() = 0;
    // The registration key and the sender ID of this view's own changes.
    [[nodiscard]] virtual QString ID() const = 0;
    virtual void ItemSelected(QString key, QString senderId) = 0;
    virtual void RowsChanged() = 0;
    virtual void RowStylesChanged() = 0;
    virtual void ItemStylesChanged() = 0;
};
