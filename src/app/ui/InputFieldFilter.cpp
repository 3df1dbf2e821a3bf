#include "InputFieldFilter.h"

#include "bsInput.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace {
bool isField(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget)) {
        // The edit inside a combo or spin box is part of that field.
        const QWidget* parent = widget->parentWidget();
        return !qobject_cast<const QComboBox*>(parent) && !qobject_cast<const QAbstractSpinBox*>(parent);
    }
    return qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

// Editing keys (Delete, Backspace, the arrows) carry no text or a control character.
bool typesCharacter(const QKeyEvent& key) {
    return !key.text().isEmpty() && key.text().at(0).isPrint();
}

// A refused date or time keeps its text and shows this background until it is mended.
const QColor refusedBackground(255, 200, 200);

void markRefused(QLineEdit* field) {
    field->setProperty("refused", true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Active, QPalette::Base, refusedBackground);
    palette.setColor(QPalette::Inactive, QPalette::Base, refusedBackground);
    field->setPalette(palette);
}

void clearRefused(QLineEdit* field) {
    if (!field->property("refused").toBool())
        return;
    field->setProperty("refused", false);
    QPalette palette = field->palette();
    const QColor base =
        QApplication::palette(field).color(field->hasFocus() ? QPalette::ToolTipBase : QPalette::Base);
    palette.setColor(QPalette::Active, QPalette::Base, base);
    palette.setColor(QPalette::Inactive, QPalette::Base, base);
    field->setPalette(palette);
}

// Switching to another program or opening a menu does not leave the field.
bool leaves(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

InputFieldFilter::InputFieldFilter(QWidget* dialog)
    : QObject(dialog)
    , m_dialog(dialog) {}

InputFieldFilter* InputFieldFilter::install(QWidget* dialog) {
    auto* filter = new InputFieldFilter(dialog);
    dialog->installEventFilter(filter);
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (isField(child))
            filter->watch(child);
    }
    return filter;
}

void InputFieldFilter::watch(QWidget* field) {
    field->removeEventFilter(this);
    field->installEventFilter(this);
}

void InputFieldFilter::setKind(QLineEdit* field, int kind) {
    watch(field);
    if (!m_kinds.contains(field)) {
        connect(field, &QObject::destroyed, this, [this, field] { m_kinds.remove(field); });
        // Any new text, typed or set, takes the refusal mark away until the field is checked again.
        connect(field, &QLineEdit::textChanged, this, [field] { clearRefused(field); });
    }
    m_kinds.insert(field, kind);
}

int InputFieldFilter::kind(QLineEdit* field) const {
    return m_kinds.value(field, 0);
}

void InputFieldFilter::validateFields() {
    for (auto it = m_kinds.cbegin(); it != m_kinds.cend(); ++it)
        validate(it.key(), it.value());
}

void InputFieldFilter::validate(QLineEdit* field, int kind) {
    QString text = field->text();
    const bool valid = ValidateField(text, kind);
    if (text != field->text())
        field->setText(text);
    if (!valid && !text.isEmpty())
        markRefused(field);
    else
        clearRefused(field);
    emit fieldValidated(field, valid);
}

bool InputFieldFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyCode = key->key();
        if (HandleDialogKey(keyCode, key->modifiers()))
            return true;
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (!edit || !m_kinds.contains(edit) || !typesCharacter(*key))
            return false;
        int character = key->text().at(0).unicode();
        return !FilterKeyPress(character, m_kinds.value(edit));
    }
    case QEvent::FocusIn:
        // The first field gets its focus together with its window, so only a menu handing it back is skipped.
        if (widget != m_dialog && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            FieldGotFocus(widget);
            // The mouse press that gave the focus would place the cursor over the selection.
            if (auto* edit = qobject_cast<QLineEdit*>(widget);
                edit && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        return false;
    case QEvent::FocusOut:
        if (widget != m_dialog && leaves(static_cast<QFocusEvent*>(event)->reason())) {
            FieldLostFocus(widget);
            if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && m_kinds.contains(edit))
                validate(edit, m_kinds.value(edit));
        }
        return false;
    default:
        return false;
    }
}
