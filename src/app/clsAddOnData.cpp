#include "clsAddOnData.h"

void clsAddOnData::Reset() {
    m_keys.clear();
    m_values.clear();
}

QString clsAddOnData::AddOnData() const {
    QString text;
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        text += recordSeparator;
        text += m_keys.at(i);
        text += fieldSeparator;
        text += m_values.at(i);
    }
    return text;
}

void clsAddOnData::setAddOnData(const QString& text) {
    Reset();
    // The part before the first record separator is ignored; each later part is one pair, and a
    // part without a field separator gives an empty key and value at its position.
    const QStringList parts = text.split(recordSeparator);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const qsizetype at = part.indexOf(fieldSeparator);
        if (at >= 0) {
            m_keys << part.left(at);
            m_values << part.mid(at + 1);
        } else {
            m_keys << QString();
            m_values << QString();
        }
    }
}

QString clsAddOnData::Value(const QString& key) const {
    const qsizetype at = m_keys.indexOf(key);
    return at >= 0 ? m_values.at(at) : QString();
}

void clsAddOnData::setValue(const QString& key, const QString& value) {
    const qsizetype at = m_keys.indexOf(key);
    if (at >= 0) {
        m_values[at] = value;
        return;
    }
    m_keys << key;
    m_values << value;
}
