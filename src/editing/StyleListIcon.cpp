#include "StyleListIcon.h"

#include "app/ui/BgrColor.h"

#include <QPainter>
#include <QPixmap>

QIcon StyleListIcon(quint32 bgrColour) {
    QPixmap square(14, 14);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(BgrColor::toQColor(bgrColour));
    painter.drawRect(1, 1, 11, 11);
    return QIcon(square);
}
