#include "SharedTexts.h"

#include <cstring>

SharedTexts::SharedTexts()
    : m_places{{sharedBlock, 0, 0}}
    , m_shared(1) {}

quint32 SharedTexts::intern(const QString& text) {
    if (text.isEmpty())
        return 0;
    const auto found = m_numbers.constFind(text);
    if (found != m_numbers.cend())
        return *found;
    const auto number = quint32(m_places.size());
    m_places.push_back({sharedBlock, quint32(m_shared.size()), 0});
    m_shared.push_back(text);
    m_numbers.insert(m_shared.back(), number);
    return number;
}

quint32 SharedTexts::addUtf8(QByteArrayView text) {
    if (text.isEmpty())
        return 0;
    const auto size = std::size_t(text.size());
    char* target = nullptr;
    if (size > blockBytes / 4) {
        // A long text gets a block of its own, so that the block being filled goes on.
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        target = m_blocks.back().get();
        m_places.push_back({quint32(m_blocks.size() - 1), 0, quint32(size)});
    } else {
        if (m_fillUsed + size > blockBytes) {
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(blockBytes));
            m_fillBlock = m_blocks.size() - 1;
            m_fillUsed = 0;
        }
        target = m_blocks[m_fillBlock].get() + m_fillUsed;
        m_places.push_back({quint32(m_fillBlock), quint32(m_fillUsed), quint32(size)});
        m_fillUsed += size;
    }
    std::memcpy(target, text.data(), size);
    return quint32(m_places.size() - 1);
}

std::optional<quint32> SharedTexts::find(const QString& text) const {
    if (text.isEmpty())
        return 0;
    const auto found = m_numbers.constFind(text);
    if (found == m_numbers.cend())
        return std::nullopt;
    return *found;
}

QString SharedTexts::at(quint32 number) const {
    const Place& place = m_places[number];
    return place.block == sharedBlock ? m_shared[place.offset] : QString::fromUtf8(packed(place));
}

QByteArray SharedTexts::utf8(quint32 number) const {
    const Place& place = m_places[number];
    return place.block == sharedBlock ? m_shared[place.offset].toUtf8() : packed(place).toByteArray();
}

std::optional<QByteArrayView> SharedTexts::packedUtf8(quint32 number) const {
    const Place& place = m_places[number];
    return place.block == sharedBlock ? std::nullopt : std::optional(packed(place));
}

QByteArrayView SharedTexts::packed(const Place& place) const {
    return {m_blocks[place.block].get() + place.offset, qsizetype(place.size)};
}
