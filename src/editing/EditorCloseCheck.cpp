#include "EditorCloseCheck.h"

#include "EditorHost.h"

#include <QApplication>
#include <QWidget>

void EditorCloseCheck(EditorHost& host, const QWidget* closing) {
    int open = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window == closing || !window->isVisible())
            continue;
        const Qt::WindowType type = window->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
            continue;
        ++open;
    }
    if (open <= 1)
        host.activateBoard();
}
