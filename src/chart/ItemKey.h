#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <optional>

// An item key as the chart keeps it: the 16 bytes of a GUID written in the planner's own form
// ("{3F2504E0-4F89-41D3-9A0C-0305E82C3301}", upper-case hexadecimal), which nearly every key is, or
// else the number of the key's text among the chart's shared texts. A text is read as a GUID exactly
// when it has that form, so equal keys always have equal forms.
class ItemKey {
public:
    static constexpr qsizetype guidLength = 38;

    // Empty when the text does not have the GUID form.
    [[nodiscard]] static std::optional<ItemKey> fromGuid(QStringView text);
    [[nodiscard]] static std::optional<ItemKey> fromGuidUtf8(const char* text, qsizetype bytes);
    [[nodiscard]] static ItemKey fromTextNumber(quint32 number);

    [[nodiscard]] bool isGuid() const { return m_guid; }
    [[nodiscard]] quint32 textNumber() const;
    // The GUID form of a GUID key.
    [[nodiscard]] QString guidText() const;
    // The same as guidLength ASCII characters.
    void writeGuid(char* out) const;
    [[nodiscard]] std::size_t hash(std::size_t seed) const;

    bool operator==(const ItemKey&) const = default;

private:
    std::array<quint8, 16> m_bytes{};
    bool m_guid = false;
};
