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
} // namespace ChartFont
