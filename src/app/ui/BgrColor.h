#pragma once

#include <QColor>

// Colours are kept as 32-bit BGR values (0x00BBGGRR); these convert them for painting and back.
namespace BgrColor {
[[nodiscard]] QColor toQColor(quint32 bgr);
[[nodiscard]] quint32 fromQColor(const QColor& colour);
} // namespace BgrColor
