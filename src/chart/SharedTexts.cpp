#include "SharedTexts.h"

SharedTexts::SharedTexts()
    : m_texts(1) {}

quint32 SharedTexts::intern(const QString& text) {
    if (text.isEmpty())
        return 0;
    const auto found = m_numbers.constFind(text);
    if (found != m_numbers.cend())
        return *found;
    const auto number = quint32(m_texts.size());
    m_texts.push_back(text);
    m_numbers.insert(m_texts.back(), number);
    return number;
}

quint32 SharedTexts::add(const QString& text) {
    if (text.isEmpty())
        return 0;
    m_texts.push_back(text);
    return quint32(m_texts.size() - 1);
}

std::optional<quint32> SharedTexts::find(const QString& text) const {
    if (text.isEmpty())
        return 0;
    const auto found = m_numbers.constFind(text);
    if (found == m_numbers.cend())
        return std::nullopt;
    return *found;
}
