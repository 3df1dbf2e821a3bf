#pragma once

#include "chart/ChartItem.h"

#include <QSet>
#include <QString>
#include <QStringList>

// The items handed to a deletion, in the caller's order and keyed by item key: each key once.
class ItemList {
public:
    // False when the key is in the list already.
    bool add(const QString& key) {
        if (m_known.contains(key))
            return false;
        m_known.insert(key);
        m_keys.append(key);
        return true;
    }
    bool add(const ChartItem& item) { return add(item.key()); }

    [[nodiscard]] bool contains(const QString& key) const { return m_known.contains(key); }
    [[nodiscard]] int count() const { return int(m_keys.size()); }
    [[nodiscard]] const QStringList& keys() const { return m_keys; }

private:
    QStringList m_keys;
    QSet<QString> m_known;
};
