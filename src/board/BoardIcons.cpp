#include "BoardIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace {
QPixmap paintAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(4, 6, 56, 52), 7, 7);
    painter.fillPath(sheet, QColor(250, 250, 247));
    painter.setPen(QPen(QColor(60, 72, 88), 2.5));
    painter.drawPath(sheet);

    QPainterPath band;
    band.addRoundedRect(QRectF(4, 6, 56, 13), 7, 7);
    band.addRect(QRectF(4, 12, 56, 7));
    painter.fillPath(band.simplified(), QColor(47, 93, 153));

    painter.setPen(QPen(QColor(210, 214, 220), 1));
    for (int x = 16; x < 60; x += 11)
        painter.drawLine(QPointF(x, 21), QPointF(x, 56));

    const struct {
        qreal x, y, w;
        QColor colour;
    } bars[] = {{9, 24, 26, QColor(64, 160, 96)},
                {22, 34, 30, QColor(230, 150, 40)},
                {12, 44, 20, QColor(200, 70, 70)},
                {36, 44, 18, QColor(70, 130, 200)}};
    painter.setPen(Qt::NoPen);
    for (const auto& bar : bars) {
        painter.setBrush(bar.colour);
        painter.drawRoundedRect(QRectF(bar.x, bar.y, bar.w, 7), 2, 2);
    }
    return pixmap;
}

QStyle::StandardPixmap standardPixmapFor(const QString& key) {
    if (key == "exit")
        return QStyle::SP_DialogCloseButton;
    if (key == "help")
        return QStyle::SP_DialogHelpButton;
    if (key == "memo")
        return QStyle::SP_FileDialogInfoView;
    if (key == "previous")
        return QStyle::SP_ArrowBack;
    if (key == "next")
        return QStyle::SP_ArrowForward;
    if (key == "calendar")
        return QStyle::SP_FileDialogDetailedView;
    if (key == "detail")
        return QStyle::SP_FileDialogContentsView;
    if (key == "utilisation")
        return QStyle::SP_ComputerIcon;
    if (key == "table")
        return QStyle::SP_FileDialogListView;
    if (key == "scale")
        return QStyle::SP_TitleBarUnshadeButton;
    if (key == "new")
        return QStyle::SP_FileIcon;
    if (key == "print")
        return QStyle::SP_DriveFDIcon;
    if (key == "save")
        return QStyle::SP_DialogSaveButton;
    if (key == "undo")
        return QStyle::SP_BrowserReload;
    if (key == "undostep")
        return QStyle::SP_MediaSkipBackward;
    if (key == "redostep")
        return QStyle::SP_MediaSkipForward;
    if (key == "del")
        return QStyle::SP_TrashIcon;
    return QStyle::SP_FileIcon;
}

QString themeNameFor(const QString& key) {
    if (key == "exit")
        return "application-exit";
    if (key == "help")
        return "help-contents";
    if (key == "memo")
        return "accessories-text-editor";
    if (key == "previous")
        return "go-previous";
    if (key == "next")
        return "go-next";
    if (key == "calendar")
        return "x-office-calendar";
    if (key == "detail")
        return "document-properties";
    if (key == "utilisation")
        return "utilities-system-monitor";
    if (key == "table")
        return "x-office-spreadsheet";
    if (key == "scale")
        return "zoom-fit-best";
    if (key == "new")
        return "appointment-new";
    if (key == "print")
        return "document-print";
    if (key == "save")
        return "document-save";
    if (key == "undo")
        return "document-revert";
    if (key == "undostep")
        return "edit-undo";
    if (key == "redostep")
        return "edit-redo";
    if (key == "del")
        return "edit-delete";
    return {};
}
} // namespace

QIcon BoardIcons::appIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(paintAppIcon(size));
    return icon;
}

QIcon BoardIcons::toolbarIcon(const QString& key) {
    // Without a desktop session Qt knows no icon theme; the common freedesktop one is asked next.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    const QString name = themeNameFor(key);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QApplication::style()->standardIcon(standardPixmapFor(key));
}
