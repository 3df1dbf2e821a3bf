#pragma once

#include "app/WindowLayout.h"

#include <QString>

class QWidget;
class clsIniFile;

// Keeps a window's state, position and size in the profile between runs, under the window's name.
class WindowPlacement {
public:
    [[nodiscard]] static WindowLayout capture(const QWidget& window);
    // A layout whose window would lie on no screen leaves the window at its design position (false).
    static bool apply(QWidget& window, const WindowLayout& layout, bool positionOnly = false);

    // Both answer false when the profile holds no usable record, and the window keeps its place.
    static bool restoreLayout(QWidget& window, const QString& windowName, const clsIniFile& profile);
    static bool restorePosition(QWidget& window, const QString& windowName, const clsIniFile& profile);
    static void saveLayout(const QWidget& window, const QString& windowName, clsIniFile& profile);
};
