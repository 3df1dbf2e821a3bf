#pragma once

#include "chart/FontDescription.h"

#include <QFont>

// Styles and bands keep fonts as descriptions; painting needs them as QFont.
namespace ChartFont {
[[nodiscard]] QFont toQFont(const FontDescription& description);
} // namespace ChartFont
