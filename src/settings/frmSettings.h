#pragma once

#include "app/ui/ButtonBarDialog.h"
#include "chart/ChartSettings.h"

#include <array>

class ColourLabel;
class InputFieldFilter;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsHost;

// The settings of the open timetable: the chart's time grid and switches, the working periods of each
// weekday, the utilisation colours and the number of days after which old items are deleted.
class frmSettings : public ButtonBarDialog {
    Q_OBJECT
public:
    static constexpr int gridEntries = 15;
    static constexpr int utilizationLevels = 6;
    static constexpr int periods = ChartSettings::coreTimePeriods;
    enum Check { ShowGrid = 0, SnapToGrid = 1, MoveWholeDays = 2, MarkCoreTimes = 3 };

    explicit frmSettings(SettingsHost& host, QWidget* parent = nullptr);

    // The dialog over the board, modal, deleted when it closes.
    static frmSettings* Open(SettingsHost& host);
    // The interval code of a grid list entry ("15n"); empty outside the list.
    [[nodiscard]] static QString gridCode(int index);

    // Keeps the fields of the weekday shown so far and shows the periods of another (0 Monday).
    void optWeekday_Click(int weekday);
    // The colour dialog for a utilisation level's colour; a chosen colour marks the dialog changed.
    void cmdColor_Click(int level);
    void cmdClearUp_Click();

    [[nodiscard]] int shownWeekday() const { return m_weekday; }
    [[nodiscard]] const ChartSettings::CoreTimeTable& workingCopy() const { return m_coreTimes; }

    QComboBox* cmbGrid = nullptr;
    std::array<QCheckBox*, 4> chk{};
    std::array<QRadioButton*, ChartSettings::weekdays> optWeekday{};
    std::array<QLineEdit*, periods> txCoreTimeStart{};
    std::array<QLineEdit*, periods> txCoreTimeEnd{};
    std::array<ColourLabel*, utilizationLevels> lblUtilization{};
    std::array<QPushButton*, utilizationLevels> cmdColor{};
    std::array<QLineEdit*, 1> tx{};
    QPushButton* cmdClearUp = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void store(int& cancel) override;

private:
    void buildWindow();
    QWidget* buildGrid();
    QWidget* buildWorkingHours();
    QWidget* buildUtilization();
    QLayout* buildDeletion();
    void setTabOrders();
    void Form_Load();
    void Form_Activate();
    void ShowCoreTimes(int weekday);
    // The fields of the weekday shown go into the working copy: a valid time as it is, anything else as 0.
    void storeShownWeekday();
    // False when the working periods were refused; nothing is written then.
    bool SaveData();
    void fieldChanged();

    SettingsHost& m_host;
    InputFieldFilter* m_fields = nullptr;
    ChartSettings::CoreTimeTable m_coreTimes{};
    int m_weekday = 0;
    bool m_loading = false;
    bool m_activated = false;
};
