#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QFontMetrics;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// The pieces every dialog of the program lays out the same way.
namespace DialogLayout {
// The widest date the locale's short form writes, as the font shows it.
int dateTextWidth(const QFontMetrics& metrics);

// A label whose mnemonic moves the focus to the field.
QLabel* buddyLabel(const QString& text, QWidget* buddy);
// The command buttons, right-aligned in one row.
QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons);
// Tab moves through the widgets in this order.
void setTabChain(const QList<QWidget*>& widgets);

// One of a row of buttons that share a handler: a click calls `clicked` with the button's index.
QPushButton* commandButton(QWidget* owner, const QString& caption, int index,
                           const std::function<void(int)>& clicked);
// The whole array, one button per caption.
template <std::size_t N>
void makeCommandButtons(std::array<QPushButton*, N>& buttons, QWidget* owner, const QStringList& captions,
                        const std::function<void(int)>& clicked) {
    for (std::size_t index = 0; index < N; ++index)
        buttons[index] = commandButton(owner, captions.value(qsizetype(index)), int(index), clicked);
}
} // namespace DialogLayout
