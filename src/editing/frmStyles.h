#pragma once

#include "chart/GanttData.h"

#include <QDialog>
#include <array>

class ChartStyle;
class GanttChart;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

// The styles of one kind (5 resources, 1 date items): the list of them, the look of the chosen one
// on a small sample chart, and the commands to create, change and delete them. Changes go to the
// chart's styles at once; "&Return" tells every view.
class frmStyles : public QDialog {
    Q_OBJECT
public:
    enum Command { NewCommand = 0, DeleteCommand = 1, ReturnCommand = 2 };           // cmdOK
    enum StyleButton { FontButton = 0, BackgroundButton = 1, ForegroundButton = 2 }; // cmd
    enum Check { ShowFocusCheck = 0, DefaultCheck = 1, FixedCheck = 2 };             // chk
    enum BorderOption { NoBorderOption = 0, FlatOption = 1, RaisedOption = 2 };      // optBS
    enum AlignmentOption { FirstOption = 0, CentreOption = 1, LastOption = 2 };      // optAH, optAV
    static inline const QString sampleKey = QStringLiteral("SAMPLE");

    explicit frmStyles(QWidget* parent = nullptr);

    // The dialog of the kind, not modal, over the owner: the one open for that kind or a new one.
    static frmStyles* open(QWidget* owner, int mode);

    // 5 resources or 1 date items; anything else is refused with a message and leaves no mode.
    void SetMode(int mode);
    [[nodiscard]] int mode() const { return m_mode; }

    // Fills the list with the styles of the mode and shows the first; a kind without styles gets one.
    void ReadStyles();
    void ForceOneStyle();
    // The shown style on the controls and on the sample chart.
    void ShowDetail();
    bool AddNew();
    bool Delete();

    void cmdOK_Click(int index);
    void cmd_Click(int index);
    void cmbStyles_Click();
    void chk_Click(int index);
    void optBS_Click(int index);
    void optAH_Click(int index);
    void optAV_Click(int index);

    // The chart style shown; nullptr when there is none.
    [[nodiscard]] ChartStyle* shownStyle() const;
    [[nodiscard]] GanttData& sampleData() { return m_sampleData; }

    QComboBox* cmbStyles = nullptr;
    std::array<QPushButton*, 3> cmdOK{};
    std::array<QPushButton*, 3> cmd{};
    std::array<QCheckBox*, 3> chk{};
    std::array<QRadioButton*, 3> optBS{};
    std::array<QRadioButton*, 3> optAH{};
    std::array<QRadioButton*, 3> optAV{};
    GanttChart* gntSample = nullptr;

    // Esc closes like the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QButtonGroup* optionGroup(const QString& title, const std::array<const char*, 3>& captions,
                              std::array<QRadioButton*, 3>& options, QWidget*& box);
    void setUpSample();
    void readStyles();
    void forceOneStyle();
    void showDetail();
    bool addNew();
    bool deleteShown();
    void addToList(const QString& key);
    void showControls(const ChartStyle& style);
    // Runs a change of the shown style under the handler's identity, then shows it again; nothing
    // while the controls are being filled.
    void changeStyle(const QString& identity, const std::function<void(ChartStyle&)>& change);
    [[nodiscard]] static GanttData* chart();

    GanttData m_sampleData;
    int m_mode = 0;
    bool m_showing = false;
    bool m_activated = false;
};
