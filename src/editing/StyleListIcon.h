#pragma once

#include <QIcon>

// The mark of a style list entry: a small square in the style's background colour (BGR, 0x00BBGGRR),
// drawn in the open list and in the closed box alike.
[[nodiscard]] QIcon StyleListIcon(quint32 bgrColour);
