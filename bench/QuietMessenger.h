#pragma once

#include "editing/core/bsSupport.h"
#include "model/iMessenger.h"

#include <QString>

// A view that takes no time over its notifications, so that the figures show the table's own cost.
class QuietMessenger : public iMessenger {
public:
    explicit QuietMessenger(int n)
        : m_id(bsSupport::NewKey() + QString::number(n)) {}
    void ItemDeleteBefore(QString, bool&, QString) override {}
    void ItemDeleteAfter(QString, QString) override {}
    void ItemChanged(QString, QString) override {}
    void ItemAdded(QString, QString) override {}
    void ItemsChanged() override {}
    QString ID() const override { return m_id; }
    void ItemSelected(QString, QString) override {}
    void RowsChanged() override {}
    void RowStylesChanged() override {}
    void ItemStylesChanged() override {}

private:
    QString m_id;
};
