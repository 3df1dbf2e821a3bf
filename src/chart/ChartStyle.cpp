#include "ChartStyle.h"

int ChartStyle::position() const {
    return m_index + 1;
}

bool ChartStyle::sameProperties(const ChartStyle& other) const {
    return kind == other.kind && fixedItem == other.fixedItem && backColor == other.backColor &&
           foreColor == other.foreColor && font == other.font && borderShown == other.borderShown &&
           borderAppearance == other.borderAppearance && horizontalAlignment == other.horizontalAlignment &&
           verticalAlignment == other.verticalAlignment && focusShown == other.focusShown &&
           focusDistanceX == other.focusDistanceX && focusDistanceY == other.focusDistanceY &&
           clipCaption == other.clipCaption && captionIndent == other.captionIndent &&
           freeText == other.freeText;
}

void ChartStyle::assignProperties(const ChartStyle& other) {
    kind = other.kind;
    fixedItem = other.fixedItem;
    backColor = other.backColor;
    foreColor = other.foreColor;
    font = other.font;
    borderShown = other.borderShown;
    borderAppearance = other.borderAppearance;
    horizontalAlignment = other.horizontalAlignment;
    verticalAlignment = other.verticalAlignment;
    focusShown = other.focusShown;
    focusDistanceX = other.focusDistanceX;
    focusDistanceY = other.focusDistanceY;
    clipCaption = other.clipCaption;
    captionIndent = other.captionIndent;
    freeText = other.freeText;
}
