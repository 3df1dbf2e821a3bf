#include "frmDatePicker.h"

#include "app/ui/bsInput.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

bool frmDatePicker::isPickerKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return key->key() == Qt::Key_K && held == Qt::ControlModifier;
}

QIcon frmDatePicker::buttonIcon() {
    // A small month sheet: a red header over a grid of days.
    QPixmap sheet(16, 16);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setPen(QColor(80, 80, 80));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(200, 40, 40));
    painter.setPen(QColor(60, 60, 60));
    for (int y = 8; y <= 12; y += 2) {
        for (int x = 3; x <= 12; x += 3)
            painter.drawPoint(x, y);
    }
    return QIcon(sheet);
}

frmDatePicker::frmDatePicker(QWidget* parent)
    : QDialog(parent)
    , m_calendar(new QCalendarWidget(this)) {
    setWindowTitle(tr("Date"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_calendar);
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // The calendar would pick on any Enter itself; its keys come here first, so that only a plain
    // Enter picks and a double click is the one thing left that activates a date.
    for (QWidget* child : m_calendar->findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(m_calendar, &QCalendarWidget::activated, this, &frmDatePicker::pick);
    m_date = m_calendar->selectedDate();
}

void frmDatePicker::setThisDate(const QDate& date) {
    if (!date.isValid())
        return;
    m_date = date;
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
}

void frmDatePicker::reject() {
    m_cancelled = true;
    QDialog::reject();
}

void frmDatePicker::pick(const QDate& date) {
    m_date = date;
    m_cancelled = false;
    accept();
}

bool frmDatePicker::handleKey(QKeyEvent* event) {
    int keyCode = event->key();
    if (HandleDialogKey(keyCode, event->modifiers()))
        return true;
    const bool isEnter = keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter;
    if (!isEnter && keyCode != Qt::Key_Escape)
        return false;
    // The keypad's Enter carries the keypad flag; it is no modifier of the user's.
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held != Qt::NoModifier)
        return true;
    if (isEnter)
        pick(m_calendar->selectedDate());
    else
        reject();
    return true;
}

bool frmDatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void frmDatePicker::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}

std::optional<QDate> frmDatePicker::pickFor(QLineEdit* field) {
    frmDatePicker picker(field->window());
    picker.adjustSize();
    picker.move(field->mapToGlobal(QPoint(0, 0)));
    QString text = field->text();
    std::optional<QDate> preset;
    if (ValidateField(text, InputKind::Date))
        preset = FieldDate(text);
    picker.setThisDate(preset.value_or(QDate::currentDate()));
    picker.exec();
    if (picker.cancelled())
        return {};
    return picker.ThisDate();
}
