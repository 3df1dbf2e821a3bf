#include "ColorItem.h"

#include "BgrColor.h"
#include "app/NumericText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

QString ColorItem::entryText(const QString& name, quint32 bgrColour) {
    return name + QChar(0) + QString::number(bgrColour);
}

ColorItem::Entry ColorItem::split(const QString& entryText) {
    Entry entry;
    const qsizetype nul = entryText.indexOf(QChar(0));
    if (nul < 0) {
        entry.name = entryText;
        return entry;
    }
    entry.name = entryText.left(nul);
    bool ok = false;
    const qint64 value = entryText.mid(nul + 1).trimmed().toLongLong(&ok);
    if (ok)
        entry.colour = quint32(value) & 0xFFFFFF;
    return entry;
}

QString ColorItem::entryTextOf(const QModelIndex& index) {
    const QVariant entry = index.data(EntryTextRole);
    return entry.isValid() ? entry.toString() : index.data(Qt::DisplayRole).toString();
}

void ColorItem::drawEntry(QPainter* painter, const QRect& rect, const QString& entryText, bool selected,
                          const QPalette& palette, const QFont& font) {
    painter->save();
    const int h = rect.height();
    QFont textFont = font;
    QColor textColour = palette.color(QPalette::Text);
    if (selected) {
        painter->fillRect(rect, palette.color(QPalette::Button));
        textColour = palette.color(QPalette::ButtonText);
        textFont.setBold(true);
    }
    const Entry entry = split(entryText);
    const QRect square(rect.left() + 3, rect.top() + 3, h - 6, h - 6);
    painter->fillRect(square, BgrColor::toQColor(entry.colour));
    painter->setPen(palette.color(QPalette::Mid));
    painter->drawRect(square.adjusted(0, 0, -1, -1));

    painter->setFont(textFont);
    painter->setPen(textColour);
    const QFontMetrics metrics(textFont);
    const int y = rect.top() + roundToInt((h - metrics.height()) / 2.0);
    painter->drawText(QRect(rect.left() + h, y, rect.width() - h, metrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, entry.name);
    painter->restore();
}

void ColorItem::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    if (!selected)
        painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    drawEntry(painter, option.rect, entryTextOf(index), selected, option.palette, option.font);
}

QSize ColorItem::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    const QString text = entryTextOf(index);
    return QSize(metrics.horizontalAdvance(split(text).name) + metrics.height() + 12, metrics.height() + 4);
}
