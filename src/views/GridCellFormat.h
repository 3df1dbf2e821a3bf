#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

// The texts of the item table's values. Formatting a date is slow next to a hash look-up, and a
// table of many items repeats few dates and times, so each text is made once per format.
class GridCellFormat {
public:
    // What a column holds, as far as its number format cares.
    enum class ValueKind { Text, Date, Time };
    static constexpr int maxFormatLength = 80;

    // Why a number format cannot be used for values of that kind, in words that complete "The format
    // cannot be used:", or empty when it can. Text ignores the format, so only its length and control
    // characters count there; dates and times take their own named formats and Qt patterns made of
    // their own letters only, for Qt would copy another kind's letters as they stand.
    [[nodiscard]] static QString problem(const QString& numberFormat, ValueKind kind);
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
