#include "WindowPlacement.h"

#include "app/NumericText.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
constexpr int twips = WindowLayout::twipsPerPixel;

int toPixels(double twipValue) {
    return roundToInt(twipValue / twips);
}

bool onSomeScreen(const QRect& rect) {
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(rect))
            return true;
    }
    return screens.isEmpty();
}
} // namespace

WindowLayout WindowPlacement::capture(const QWidget& window) {
    WindowLayout layout;
    if (window.isMinimized())
        layout.state = WindowLayout::Minimised;
    else if (window.isMaximized())
        layout.state = WindowLayout::Maximised;
    // A maximised window keeps the placement it returns to, so that restoring it is not stuck at full size.
    const QRect normal = window.isMaximized() && window.normalGeometry().isValid() ? window.normalGeometry()
                                                                                   : window.geometry();
    const QPoint topLeft = window.isMaximized() ? normal.topLeft() : window.pos();
    layout.left = double(topLeft.x()) * twips;
    layout.top = double(topLeft.y()) * twips;
    layout.width = double(normal.width()) * twips;
    layout.height = double(normal.height()) * twips;
    return layout;
}

bool WindowPlacement::apply(QWidget& window, const WindowLayout& layout, bool positionOnly) {
    const QPoint position(toPixels(layout.left), toPixels(layout.top));
    const QSize size = positionOnly ? window.size() : QSize(toPixels(layout.width), toPixels(layout.height));
    if (size.width() <= 0 || size.height() <= 0 || !onSomeScreen(QRect(position, size)))
        return false;
    if (positionOnly) {
        window.move(position);
        return true;
    }
    window.move(position);
    window.resize(size);
    window.setWindowState(layout.state == WindowLayout::Maximised ? Qt::WindowMaximized : Qt::WindowNoState);
    return true;
}

bool WindowPlacement::restoreLayout(QWidget& window, const QString& windowName, const clsIniFile& profile) {
    const auto layout = WindowLayout::read(profile, windowName);
    return layout && apply(window, *layout);
}

bool WindowPlacement::restorePosition(QWidget& window, const QString& windowName, const clsIniFile& profile) {
    const auto layout = WindowLayout::read(profile, windowName);
    return layout && apply(window, *layout, true);
}

void WindowPlacement::saveLayout(const QWidget& window, const QString& windowName, clsIniFile& profile) {
    WindowLayout::write(profile, windowName, capture(window));
}
