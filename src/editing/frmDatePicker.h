#pragma once

#include <QDate>
#include <QDialog>
#include <QIcon>
#include <optional>

class QCalendarWidget;
class QLineEdit;

// A month calendar that pops up over a date field and hands one picked date back to it. Single
// clicks only move the selection; a double click or Enter picks, Esc cancels.
class frmDatePicker : public QDialog {
    Q_OBJECT
public:
    explicit frmDatePicker(QWidget* parent = nullptr);

    // Stores the date and makes the calendar show it.
    void setThisDate(const QDate& date);
    [[nodiscard]] QDate ThisDate() const { return m_date; }
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] QCalendarWidget* calendar() const { return m_calendar; }

    // Places a picker with its top-left corner over the field's, presets it with the field's date (or
    // today when the field holds none) and shows it modally; nothing when the user cancelled.
    static std::optional<QDate> pickFor(QLineEdit* field);
    // Ctrl+K, alone: the key in a date field that presses its calendar button.
    [[nodiscard]] static bool isPickerKey(const QEvent* event);
    // The calendar symbol of the buttons that open a picker.
    [[nodiscard]] static QIcon buttonIcon();

    // Esc, and the window's close box.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // True when the key was one of the picker's own.
    bool handleKey(QKeyEvent* event);
    void pick(const QDate& date);

    QCalendarWidget* m_calendar;
    QDate m_date;
    bool m_cancelled = false;
};
