#pragma once

#include "app/ui/ButtonBarDialog.h"

#include <vector>

class ColourLabel;
class QPushButton;
class SettingsHost;

// The background and text colours the time bands give each weekday, month, quarter or year end digit.
// One design for the four calendar kinds of the chart.
class frmCalendarColors : public ButtonBarDialog {
    Q_OBJECT
public:
    // kind: 1 weekdays (Sunday first), 2 months, 3 quarters, 4 years by their end digit.
    frmCalendarColors(int kind, SettingsHost& host, QWidget* parent = nullptr);

    [[nodiscard]] int kind() const { return m_kind; }

    // The colour dialog for a label's background or text; a chosen colour marks the dialog changed.
    void cmdBackground_Click(int index);
    void cmdForeground_Click(int index);

    std::vector<ColourLabel*> lblCaption;
    std::vector<QPushButton*> cmdBackground;
    std::vector<QPushButton*> cmdForeground;

protected:
    void store(int& cancel) override;

private:
    void buildWindow();
    void Form_Load();

    int m_kind;
    SettingsHost& m_host;
};
