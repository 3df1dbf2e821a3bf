#include "DialogLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace DialogLayout {
QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

QPushButton* commandButton(QWidget* owner, const QString& caption, int index,
                           const std::function<void(int)>& clicked) {
    auto* button = new QPushButton(caption, owner);
    QObject::connect(button, &QPushButton::clicked, owner, [clicked, index] { clicked(index); });
    return button;
}

void setTabChain(const QList<QWidget*>& widgets) {
    for (qsizetype index = 1; index < widgets.size(); ++index)
        QWidget::setTabOrder(widgets[index - 1], widgets[index]);
}
} // namespace DialogLayout
