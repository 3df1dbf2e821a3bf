#pragma once

#include <QString>

namespace PictureChooser {
inline constexpr auto title = "Choose picture";
// The picture files offered: JPEG, BMP and PNG.
inline constexpr auto filter = "Pictures (*.jpg;*.jpeg;*.bmp;*.png)|*.jpg;*.jpeg;*.bmp;*.png";
} // namespace PictureChooser

// Asks for a picture file, starting from the current path. The answer is in network form (a file on a
// network file system is named by its share, so that other computers of the timetable find it);
// empty when the user cancelled.
[[nodiscard]] QString ChoosePicture(const QString& currentPath);
