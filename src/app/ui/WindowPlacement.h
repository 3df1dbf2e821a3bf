#pragma once

#include "app/WindowLayout.h"

#include <QList>
#include <QRect>
#include <QString>

class QWidget;
class clsIniFile;

// Keeps a window's state, position and size in the profile between runs, under the window's name.
class WindowPlacement {
public:
    // The position kept is the client area's, which a restore places exactly.
    [[nodiscard]] static WindowLayout capture(const QWidget& window);
    // A layout without a size leaves the window as it is (false). A window that would lie partly or
    // wholly off the screens is moved, and shrunk when it is larger, onto the screen it overlaps most.
    static bool apply(QWidget& window, const WindowLayout& layout, bool positionOnly = false);
    // The rectangle moved, and shrunk when needed, into the area it overlaps most (the first area when
    // it overlaps none).
    [[nodiscard]] static QRect onScreen(const QRect& rect, const QList<QRect>& areas);

    // Both answer false when the profile holds no usable record, and the window keeps its place.
    static bool restoreLayout(QWidget& window, const QString& windowName, const clsIniFile& profile);
    static bool restorePosition(QWidget& window, const QString& windowName, const clsIniFile& profile);
    static void saveLayout(const QWidget& window, const QString& windowName, clsIniFile& profile);
};
