#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

// Gives a dialog's fields the common behaviour with one call: focus colours on entry fields, combo
// boxes, check boxes and option buttons; typed characters filtered and the text checked on leaving
// for text fields with an input kind; F1, Ctrl+F1 and Alt+F1 on the whole dialog.
class InputFieldFilter : public QObject {
    Q_OBJECT
public:
    // Watches the dialog and every field it holds now; the filter belongs to the dialog.
    static InputFieldFilter* install(QWidget* dialog);

    // For fields made after install.
    void watch(QWidget* field);
    void setKind(QLineEdit* field, int kind);
    [[nodiscard]] int kind(QLineEdit* field) const;
    // Checks every field with a kind as leaving it would; for storing while the focus is still in a field.
    void validateFields();

signals:
    // A field's text was checked. An invalid number has been emptied; an invalid date or time keeps
    // its text and is marked until it changes.
    void fieldValidated(QLineEdit* field, bool valid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit InputFieldFilter(QWidget* dialog);
    void validate(QLineEdit* field, int kind);

    QWidget* m_dialog;
    QHash<QLineEdit*, int> m_kinds;
};
