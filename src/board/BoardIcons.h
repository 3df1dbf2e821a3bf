#pragma once

#include <QIcon>
#include <QString>

// The pictures of the board: the program's own icon, painted so that it needs no files, and the
// toolbar's icons, taken from the desktop's icon theme with a built-in picture where the theme has none.
class BoardIcons {
public:
    [[nodiscard]] static QIcon appIcon();
    // The icon of a toolbar button by its key ("exit", "help", "calendar", ...); never a blank one.
    [[nodiscard]] static QIcon toolbarIcon(const QString& key);
};
