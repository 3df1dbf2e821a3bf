#include "ItemKey.h"

#include <cstring>
#include <type_traits>

namespace {
// Positions of the hyphens in the GUID form; braces stand at both ends.
constexpr std::array<qsizetype, 4> hyphens{9, 14, 19, 24};

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

template <typename Char> std::optional<ItemKey> parseGuid(const Char* text, qsizetype size, auto&& make) {
    if (size != ItemKey::guidLength || text[0] != '{' || text[size - 1] != '}')
        return std::nullopt;
    std::array<quint8, 16> bytes{};
    int nibble = 0;
    std::size_t nextHyphen = 0;
    for (qsizetype i = 1; i < size - 1; ++i) {
        if (nextHyphen < hyphens.size() && i == hyphens[nextHyphen]) {
            if (text[i] != '-')
                return std::nullopt;
            ++nextHyphen;
            continue;
        }
        const int value = hexValue(char16_t(std::make_unsigned_t<Char>(text[i])));
        if (value < 0)
            return std::nullopt;
        bytes[std::size_t(nibble / 2)] = quint8(bytes[std::size_t(nibble / 2)] << 4 | value);
        ++nibble;
    }
    return make(bytes);
}

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}
} // namespace

std::optional<ItemKey> ItemKey::fromGuid(QStringView text) {
    return parseGuid(text.utf16(), text.size(), [](const std::array<quint8, 16>& bytes) {
        ItemKey key;
        key.m_bytes = bytes;
        key.m_guid = true;
        return key;
    });
}

std::optional<ItemKey> ItemKey::fromGuidUtf8(const char* text, qsizetype bytes) {
    return parseGuid(text, bytes, [](const std::array<quint8, 16>& guid) {
        ItemKey key;
        key.m_bytes = guid;
        key.m_guid = true;
        return key;
    });
}

ItemKey ItemKey::fromTextNumber(quint32 number) {
    ItemKey key;
    std::memcpy(key.m_bytes.data(), &number, sizeof number);
    return key;
}

quint32 ItemKey::textNumber() const {
    quint32 number = 0;
    std::memcpy(&number, m_bytes.data(), sizeof number);
    return number;
}

QString ItemKey::guidText() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    QString text(guidLength, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype at = 0;
    std::size_t nextHyphen = 0;
    out[at++] = u'{';
    for (const quint8 byte : m_bytes) {
        for (const int nibble : {byte >> 4, byte & 0xF}) {
            if (nextHyphen < hyphens.size() && at == hyphens[nextHyphen]) {
                out[at++] = u'-';
                ++nextHyphen;
            }
            out[at++] = char16_t(digits[nibble]);
        }
    }
    out[at] = u'}';
    return text;
}

std::size_t ItemKey::hash(std::size_t seed) const {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, m_bytes.data(), 8);
    std::memcpy(&high, m_bytes.data() + 8, 8);
    return std::size_t(mix(low ^ mix(high ^ seed) ^ (m_guid ? 0 : 0x9E3779B97F4A7C15ULL)));
}
