#pragma once

#include "model/iMessenger.h"

#include <QStringList>

// A view of the item table that records what it is told.
class TestMessenger : public iMessenger {
public:
    explicit TestMessenger(QString id)
        : m_id(std::move(id)) {}
    QStringList heard;

    void ItemDeleteBefore(QString key, bool&, QString) override { heard << "deleteBefore " + key; }
    void ItemDeleteAfter(QString key, QString) override { heard << "deleteAfter " + key; }
    void ItemChanged(QString key, QString sender) override { heard << "changed " + key + ' ' + sender; }
    void ItemAdded(QString key, QString sender) override { heard << "added " + key + ' ' + sender; }
    void ItemsChanged() override { heard << "itemsChanged"; }
    QString ID() const override { return m_id; }
    void ItemSelected(QString key, QString sender) override { heard << "selected " + key + ' ' + sender; }
    void RowsChanged() override { heard << "rowsChanged"; }
    void RowStylesChanged() override { heard << "rowStylesChanged"; }
    void ItemStylesChanged() override { heard << "itemStylesChanged"; }

private:
    QString m_id;
};
