#pragma once

#include <QHash>
#include <QString>
#include <deque>
#include <optional>

// The texts of a chart's items, each kept once and named by a number: captions, notes, style and
// series keys, pictures and tags repeat across thousands of items. 0 names the empty text. A text
// stays until the chart's content is replaced; its QString keeps its address all that time.
class SharedTexts {
public:
    SharedTexts();
    SharedTexts(SharedTexts&&) = default;
    SharedTexts& operator=(SharedTexts&&) = default;

    quint32 intern(const QString& text);
    // Keeps a text that is unlikely to repeat without looking for an equal one: the number is new
    // even when the text is already there.
    quint32 add(const QString& text);
    [[nodiscard]] std::optional<quint32> find(const QString& text) const;
    [[nodiscard]] const QString& at(quint32 number) const { return m_texts[number]; }
    [[nodiscard]] qsizetype count() const { return qsizetype(m_texts.size()); }

private:
    std::deque<QString> m_texts;
    QHash<QString, quint32> m_numbers;
};
