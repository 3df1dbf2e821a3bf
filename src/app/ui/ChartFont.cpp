#include "ChartFont.h"

namespace ChartFont {
QFont toQFont(const FontDescription& description) {
    QFont font(description.name);
    if (description.size > 0)
        font.setPointSizeF(description.size);
    font.setBold(description.bold);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikethrough);
    return font;
}

FontDescription fromQFont(const QFont& font) {
    FontDescription description;
    description.name = font.family();
    description.size = font.pointSizeF() > 0 ? font.pointSizeF() : description.size;
    description.bold = font.bold();
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikethrough = font.strikeOut();
    return description;
}
} // namespace ChartFont
