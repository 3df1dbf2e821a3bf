#include "WindowPlacement.h"

#include "app/NumericText.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int twips = WindowLayout::twipsPerPixel;

int toPixels(double twipValue) {
    return roundToInt(twipValue / twips);
}

QList<QRect> availableAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

// The window frame around the client area; known once the window has been shown.
QMargins frameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}
} // namespace

QRect WindowPlacement::onScreen(const QRect& rect, const QList<QRect>& areas) {
    if (areas.isEmpty())
        return rect;
    QRect area = areas.first();
    qint64 largestOverlap = -1;
    for (const QRect& candidate : areas) {
        const QRect overlap = candidate.intersected(rect);
        const qint64 size = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
        if (size > largestOverlap) {
            largestOverlap = size;
            area = candidate;
        }
    }
    QRect placed(rect.topLeft(), rect.size().boundedTo(area.size()));
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() - placed.height() + 1));
    return placed;
}

WindowLayout WindowPlacement::capture(const QWidget& window) {
    WindowLayout layout;
    if (window.isMinimized())
        layout.state = WindowLayout::Minimised;
    else if (window.isMaximized())
        layout.state = WindowLayout::Maximised;
    // A maximised window keeps the placement it returns to, so that restoring it is not stuck at full size.
    // The client area is kept, not the frame: the frame is unknown until a window is shown, so only the
    // client area can be placed exactly, and a window opens where it was closed.
    const QRect normal = window.isMaximized() && window.normalGeometry().isValid() ? window.normalGeometry()
                                                                                   : window.geometry();
    layout.left = double(normal.left()) * twips;
    layout.top = double(normal.top()) * twips;
    layout.width = double(normal.width()) * twips;
    layout.height = double(normal.height()) * twips;
    return layout;
}

bool WindowPlacement::apply(QWidget& window, const WindowLayout& layout, bool positionOnly) {
    if (positionOnly && !window.isVisible() && !window.testAttribute(Qt::WA_Resized))
        window.adjustSize(); // the design size, which showing the window would give it
    const QPoint position(toPixels(layout.left), toPixels(layout.top));
    const QSize size = positionOnly ? window.size() : QSize(toPixels(layout.width), toPixels(layout.height));
    if (size.width() <= 0 || size.height() <= 0)
        return false;
    // A place saved on a larger screen, or at another scale factor, is moved onto the screen.
    const QMargins frame = frameMargins(window);
    const QRect placed =
        onScreen(QRect(position, size).marginsAdded(frame), availableAreas()).marginsRemoved(frame);
    window.setGeometry(placed);
    if (!positionOnly)
        window.setWindowState(layout.state == WindowLayout::Maximised ? Qt::WindowMaximized
                                                                      : Qt::WindowNoState);
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
