#pragma once

#include <QString>
#include <QStringList>

// An ordered list of key/value texts, serialised as: for every pair, character 255, the key,
// character 254, the value. Keys are compared exactly; neither keys nor values may contain the two
// separator characters.
class clsAddOnData {
public:
    static constexpr QChar recordSeparator = QChar(0x00FF);
    static constexpr QChar fieldSeparator = QChar(0x00FE);

    void Reset();

    // The serialised text; setting it replaces the whole content by the pairs parsed from the text.
    [[nodiscard]] QString AddOnData() const;
    void setAddOnData(const QString& text);

    // The value of the first pair with that key, or an empty text.
    [[nodiscard]] QString Value(const QString& key) const;
    // Replaces the value of the first pair with that key, or appends a new pair at the end.
    void setValue(const QString& key, const QString& value);

    [[nodiscard]] int count() const { return int(m_keys.size()); }
    [[nodiscard]] const QStringList& keys() const { return m_keys; }
    [[nodiscard]] const QStringList& values() const { return m_values; }

private:
    QStringList m_keys;
    QStringList m_values;
};
