#include "DialogLayout.h"

#include "app/TimePoint.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace DialogLayout {
int dateTextWidth(const QFontMetrics& metrics) {
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        widest = std::max(widest,
                          metrics.horizontalAdvance(TimePoint::fromDate(QDate(2000, month, 28)).shortDate()));
    return widest;
}

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
