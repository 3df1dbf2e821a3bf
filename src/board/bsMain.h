#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class GanttData;
class QApplication;
class clsGeneralOptions;
class clsIniFile;
class clsItems;
class clsSettings;
class frmMain;

// Start-up and shut-down of the program: the global objects in their order, the board, the desktop
// integration, and their release when the board is gone.
class bsMain {
public:
    static constexpr const char* profileName = "QUNTA.INI";
    static constexpr const char* initError = "Error while initializing! Please contact support!";

    bsMain();
    ~bsMain();
    bsMain(const bsMain&) = delete;
    bsMain& operator=(const bsMain&) = delete;

    // The whole program after the application object exists; returns the exit code. When the
    // environment variable QUNTA_REPORT_STATE is set, the program prints the state of the opened
    // timetable ("file=<path> read-only=<0|1>") after its start and ends, for scripts and checks;
    // such a run asks nothing and takes the default answer of every message.
    static int Main(QApplication& app, const QString& version);

    // The whole command line as one text: the arguments joined by blanks.
    [[nodiscard]] static QString commandLineOf(const QStringList& arguments);

    // Creates, in this order, the profile file object, the planner settings, the board with its chart,
    // the item table and the general options, and puts the default styles into the chart. Throws when
    // any of it fails.
    void InitGlobalData();
    // Drops the chart reference, the settings, the profile object, the item table and the options,
    // in this order, then the board.
    void ReleaseGlobalData();

    [[nodiscard]] frmMain* board() const { return m_board.get(); }

private:
    std::unique_ptr<GanttData> m_chart;
    std::unique_ptr<clsIniFile> m_profile;
    std::unique_ptr<clsSettings> m_settings;
    std::unique_ptr<frmMain> m_board;
    std::unique_ptr<clsItems> m_items;
    std::unique_ptr<clsGeneralOptions> m_options;
};
