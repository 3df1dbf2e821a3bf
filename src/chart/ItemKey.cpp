#include "ItemKey.h"

#include <cstring>
#include <type_traits>

namespace {
// Positions of the hyphens in the GUID form; braces stand at both ends.
constexpr std::array<qsizetype, 4> hyphens{9, 14, 19, 24};
// Where the hexadecimal digits of each byte begin.
constexpr std::array<qsizetype, 16> byteDigits{1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};

// The value of an upper-case hexadecimal digit, or 0xFF; the lookup keeps the parse free of branches.
constexpr std::array<quint8, 256> hexDigits = [] {
    std::array<quint8, 256> values{};
    values.fill(0xFF);
    for (int c = '0'; c <= '9'; ++c)
        values[std::size_t(c)] = quint8(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        values[std::size_t(c)] = quint8(c - 'A' + 10);
    return values;
}();

template <typename Char> quint8 digit(Char c) {
    const auto code = std::make_unsigned_t<Char>(c);
    return code < 256 ? hexDigits[code] : quint8(0xFF);
}

template <typename Char> std::optional<ItemKey> parseGuid(const Char* text, qsizetype size, auto&& make) {
    if (size != ItemKey::guidLength)
        return std::nullopt;
    bool wellFormed = text[0] == '{' && text[size - 1] == '}';
    for (const qsizetype at : hyphens)
        wellFormed &= text[at] == '-';
    std::array<quint8, 16> bytes{};
    quint8 invalid = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const quint8 high = digit(text[byteDigits[i]]);
        const quint8 low = digit(text[byteDigits[i] + 1]);
        invalid |= quint8((high | low) & 0xF0);
        bytes[i] = quint8(high << 4 | (low & 0xF));
    }
    if (!wellFormed || invalid != 0)
        return std::nullopt;
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
    std::array<char, guidLength> ascii{};
    writeGuid(ascii.data());
    return QString::fromLatin1(ascii.data(), guidLength);
}

void ItemKey::writeGuid(char* out) const {
    static constexpr char digits[] = "0123456789ABCDEF";
    out[0] = '{';
    for (const qsizetype at : hyphens)
        out[at] = '-';
    out[guidLength - 1] = '}';
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        out[byteDigits[i]] = digits[m_bytes[i] >> 4];
        out[byteDigits[i] + 1] = digits[m_bytes[i] & 0xF];
    }
}

std::size_t ItemKey::hash(std::size_t seed) const {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, m_bytes.data(), 8);
    std::memcpy(&high, m_bytes.data() + 8, 8);
    return std::size_t(mix(low ^ mix(high ^ seed) ^ (m_guid ? 0 : 0x9E3779B97F4A7C15ULL)));
}
