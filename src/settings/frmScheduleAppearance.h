#pragma once

#include "app/ui/ButtonBarDialog.h"

#include <array>

class ColourLabel;
class QCheckBox;
class QComboBox;
class QPushButton;
class SettingsHost;
struct ChartSettings;

// How the board's chart looks: its colours, the border, timeline and divider styles, the extent of the
// timeline and which bands show. Opens the time formats and the calendar colour dialogs.
class frmScheduleAppearance : public ButtonBarDialog {
    Q_OBJECT
public:
    enum ColourRow {
        TimelineRow = 0,
        BackgroundRow = 1,
        Timeline2Row = 2,
        GridRow = 3,
        CoreStartRow = 4,
        CoreEndRow = 5
    };
    enum Check { ShowTimeline = 0, ShowUpperBand = 1, ShowLowerBand = 2 };

    explicit frmScheduleAppearance(SettingsHost& host, QWidget* parent = nullptr);

    // The dialog over the board, modal, deleted when it closes.
    static frmScheduleAppearance* Open(SettingsHost& host);

    // The colour dialog for a label's background or text colour; a chosen colour marks the dialog changed.
    void cmdBackColor_Click(int index);
    void cmdForeColor_Click(int index);
    // The time formats dialog and the calendar colour dialog of a kind (1 weekdays .. 4 years), modal
    // over this dialog.
    QDialog* cmdTimeFormats_Click();
    QDialog* cmdDateColor_Click(int index);

    std::array<ColourLabel*, 6> lblScheduleColorCaption{};
    // Only the rows that have the button: background for 0 and 1, text for 0 and 2 to 5.
    std::array<QPushButton*, 6> cmdBackColor{};
    std::array<QPushButton*, 6> cmdForeColor{};
    QComboBox* cmbBorderStyle = nullptr;
    QComboBox* cmbTimeline = nullptr;
    QComboBox* cmbDivider = nullptr;
    QComboBox* cmbTimeMarker = nullptr;
    std::array<QCheckBox*, 3> chk{};
    QPushButton* cmdTimeFormats = nullptr;
    std::array<QPushButton*, 4> cmdDateColor{};

protected:
    void store(int& cancel) override;

private:
    void buildWindow();
    QWidget* buildColours();
    QWidget* buildLines();
    QWidget* buildBands();
    void Form_Load();
    [[nodiscard]] ChartSettings& settings() const;

    SettingsHost& m_host;
};
