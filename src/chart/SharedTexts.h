#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

// The texts of a chart's items, each named by a number: captions, style and series keys, pictures
// and tags repeat across thousands of items and are kept once. 0 names the empty text. A number
// names its text until the chart's content is replaced.
class SharedTexts {
public:
    SharedTexts();
    SharedTexts(SharedTexts&&) = default;
    SharedTexts& operator=(SharedTexts&&) = default;

    quint32 intern(const QString& text);
    // Keeps a text that is unlikely to repeat (a note) without looking for an equal one: the number
    // is new even when the text is already there. Such texts are packed together in their UTF-8
    // form, so that one costs its bytes rather than a string of its own.
    quint32 addUtf8(QByteArrayView text);
    // Only texts kept by intern() are found.
    [[nodiscard]] std::optional<quint32> find(const QString& text) const;
    [[nodiscard]] QString at(quint32 number) const;
    [[nodiscard]] QByteArray utf8(quint32 number) const;
    // A packed text's UTF-8 form as it is kept, valid as long as the texts; empty for a shared text.
    [[nodiscard]] std::optional<QByteArrayView> packedUtf8(quint32 number) const;
    [[nodiscard]] qsizetype count() const { return qsizetype(m_places.size()); }

private:
    // Where a number's text is: a shared string, or bytes in one of the packed blocks.
    struct Place {
        quint32 block;
        quint32 offset; // the shared string's index for a shared text
        quint32 size;
    };
    static constexpr quint32 sharedBlock = 0xffffffff;
    static constexpr std::size_t blockBytes = 64 * 1024;

    [[nodiscard]] QByteArrayView packed(const Place& place) const;

    std::deque<Place> m_places;
    std::deque<QString> m_shared;
    QHash<QString, quint32> m_numbers;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_fillBlock = 0; // the block that takes the next small text
    std::size_t m_fillUsed = blockBytes;
};
