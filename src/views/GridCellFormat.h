#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

// The texts of the item table's values. Formatting a date is slow next to a hash look-up, and a
// table of many items repeats few dates and times, so each text is made once per format.
class GridCellFormat {
public:
    // The text a column with that number format shows.
    [[nodiscard]] QString text(const QVariant& value, const QString& numberFormat) const;
    // The value's own text form: a date as the short date, a time of day with seconds.
    [[nodiscard]] QString defaultText(const QVariant& value) const;
    // Forget the texts made so far, for example after the locale changed.
    void clear();

private:
    [[nodiscard]] QString formatted(const QVariant& value, const QString& numberFormat) const;

    struct Key {
        QString format;
        qint64 value;
        bool isTime;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.format, key.value, key.isTime);
    }

    mutable QHash<Key, QString> m_texts;
};
