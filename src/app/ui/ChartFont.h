#pragma once

#include "app/FontDescription.h"

#include <QFont>

// Styles, bands and layouts keep fonts as descriptions; painting and the font dialog need QFont.
namespace ChartFont {
[[nodiscard]] QFont toQFont(const FontDescription& description);
[[nodiscard]] FontDescription fromQFont(const QFont& font);
} // namespace ChartFont
