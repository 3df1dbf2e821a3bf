#include "ColorComboBox.h"

#include "ColorItem.h"

#include <QStylePainter>

ColorComboBox::ColorComboBox(QWidget* parent)
    : QComboBox(parent) {
    setItemDelegate(new ColorItem(this));
}

void ColorComboBox::addColourEntry(const QString& key, const QString& name, quint32 bgrColour) {
    addItem(name, key);
    setItemData(count() - 1, ColorItem::entryText(name, bgrColour), ColorItem::EntryTextRole);
}

QString ColorComboBox::currentKey() const {
    return currentIndex() < 0 ? QString() : currentData().toString();
}

bool ColorComboBox::chooseKey(const QString& key) {
    const int index = findData(key);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

void ColorComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    QPalette colours = palette();
    if (!isEnabled())
        colours.setCurrentColorGroup(QPalette::Disabled);
    ColorItem::drawEntry(&painter, field, itemData(currentIndex(), ColorItem::EntryTextRole).toString(),
                         false, colours, font());
}
