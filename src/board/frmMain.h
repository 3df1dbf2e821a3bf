#pragma once

#include "BoardWindows.h"
#include "FileInUseMarker.h"
#include "app/TimePoint.h"
#include "editing/EditorHost.h"
#include "editing/ResourceCommands.h"
#include "editing/core/bsSupport.h"
#include "model/iMessenger.h"
#include "settings/SettingsHost.h"
#include "views/ListviewHost.h"
#include "views/MonthViewHost.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class BoardMenus;
class ChartItem;
class DeferredRefresh;
class DetailPanel;
class GanttChart;
class GanttData;
class QLabel;
class QTimer;
class TimetableHistory;
class TimetableLoader;
class frmCalendar;

// The planning board: the main window with the chart, the detail panel, menus, toolbar, keys and
// status bar. It turns every command into a call of one of its public operations (which tests call
// with the same effect as the click), keeps the board state other windows ask for, owns the life of
// the open timetable file, is a messenger of the item table and the host of the editing and settings
// windows, of the item list and of the monthly overviews.
class frmMain : public QMainWindow,
                public iMessenger,
                public EditorHost,
                public SettingsHost,
                public ListviewHost,
                public MonthViewHost {
    Q_OBJECT
public:
    static constexpr const char* layoutName = "Main";
    static constexpr int timerInterval = 5000;
    static constexpr int redrawTicks = 40;
    // The status bar follows a load in the background at this pace.
    static constexpr int loadProgressInterval = 50;
    // Timetables of fewer items load at once: their first screen would come no sooner.
    static constexpr qint64 backgroundLoadItems = 20000;
    static constexpr const char* maker = "VELKOR";
    static constexpr const char* webPage = "https://www.velkor.example";
    static constexpr const char* supportAddress = "support@velkor.example";

    explicit frmMain(GanttData& chart, QWidget* parent = nullptr);
    ~frmMain() override;

    // Board state
    [[nodiscard]] QString ID() const override { return m_id; }
    // Changed since the last save or load; records what is pending first.
    [[nodiscard]] bool Dirty() const;
    // Stores the value only while the timetable is not read-only.
    void setDirty(bool dirty) override;
    // The gate of every editing command: false in read-only mode, else marks the timetable changed.
    bool SetDirty() override;
    [[nodiscard]] TimePoint ActDate() const { return m_actDate; }
    // Stores the date and moves the time line there.
    void setActDate(TimePoint date) override;
    [[nodiscard]] int GantRow() const override { return m_gantRow; }
    void setGantRow(int row) override { m_gantRow = row; }
    [[nodiscard]] int GantItemIndex() const { return m_gantItemIndex; }
    // A new position is announced as selected; -1 clears the detail panel, any other shows the item.
    void setGantItemIndex(int position);
    [[nodiscard]] const QString& fileName() const { return m_fileName; }
    [[nodiscard]] bool restarting() const { return m_restarting; }

    [[nodiscard]] GanttData& data() const override { return m_chart; }
    [[nodiscard]] GanttChart* chart() const { return AcGt; }
    [[nodiscard]] DetailPanel* detailPanel() const { return m_detail; }
    [[nodiscard]] BoardMenus* menus() const { return m_menus; }
    [[nodiscard]] frmCalendar* calendar() const;
    [[nodiscard]] QLabel* statusPanel(int panel) const { return m_panels.at(std::size_t(panel - 1)); }
    BoardWindows& windows() { return m_windows; }

    // Start-up: the once-only part of the first activation (command line, recent files, styles).
    void FirstActivation();
    [[nodiscard]] bool activated() const { return m_activated; }
    void StatusUpdate();
    void LoadStyles();
    void UpdateRecentFiles();
    void AddDefaultResource();

    // Commands by menu and index, toolbar key and key, as the user gives them
    void mFileI_Click(int index);
    void mMRUi_Click(int index);
    void mPrintI_Click();
    void mQuit_Click();
    void mEditI_Click(int index);
    void mStyleI_Click(int index);
    void mViewI_Click(int index);
    void mZoomI_Click(int index);
    void mOptI_Click(int index);
    void mHelpI_Click(int index);
    void mItemI_Click(int index);
    void mRowI_Click(int index);
    void tbToolBar_ButtonClick(const QString& key);
    // The board's keys after the shared key handling; true when the key was used.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void UndoAllChanges();
    // One step back or forward in the history of changes; nothing in read-only mode, while a modal
    // window is open, a drag is under way or a timetable loads.
    void UndoStep();
    void RedoStep();
    [[nodiscard]] TimetableHistory& history() const { return *m_history; }

    // The timetable file
    bool AskSave();
    bool DoSave(bool saveAs);
    // Opens the timetable. A large one shows its first screen at once and loads the rest in the
    // background, the status bar telling how far; editing waits until it is complete.
    void Loadfile(const QString& name);
    [[nodiscard]] bool loading() const;
    // The item count from which Loadfile reads in the background.
    void setBackgroundLoadFrom(qint64 items) { m_backgroundLoadFrom = items; }
    void TestMultiUser();
    void ResetReadOnlyFlag();
    QString ChooseOpenFile();
    QString ChooseSaveFile(const QString& currentName);
    void RestartApplication(const QString& arguments);
    // The questions before the board closes; `fromUser` for the close box, "&Stop" and the program
    // itself, false when the session or another program closes it.
    bool QueryUnload(bool fromUser);
    // The shut-down after the questions: marker released, calendar closed, board unregistered, window
    // placement saved, every other window closed.
    void Unload();
    // The end of a session that nobody can answer (a logout, a shutdown, `kill`): nothing is asked,
    // unsaved changes go into a recovery copy (its name is returned; empty when nothing was unsaved or
    // the copy could not be written), the marker is released and the board closes.
    QString EndWithoutQuestions();
    // Writes the open timetable, settings included, to a new file beside it (an untitled one to the
    // documents folder) named with " (recovered <date> <time>)"; the open timetable keeps its name.
    // Returns the name, or an empty text when it could not be written.
    QString SaveRecoveryCopy();

    // Time
    void MoveTimeLine(bool backward, int steps);
    void MoveToTimePount(TimePoint date);
    void PopUpCalendar();
    void mFrmCalendar_ChangedTo(const QDate& date);

    // Items
    void AddItem(TimePoint start, const QString& resourceKey);
    void DeleteItem();
    // `readItemsAfter` false only for a caller that reads the item table itself right afterwards.
    void AutoDelOldItems(bool readItemsAfter = true);
    void cmdDOK_Click();
    [[nodiscard]] static QString ItemTipText(const ChartItem& item);

    // EditorHost
    [[nodiscard]] QWidget* boardWindow() override { return this; }
    [[nodiscard]] TimePoint firstShownTime() const override;
    [[nodiscard]] bool isItemShown(const ChartItem& item) const override;
    void activateBoard() override;
    bool openMonthlyOverview(const QString& rowKey, TimePoint month) override;

    // SettingsHost
    void settingsStored() override;

    // ListviewHost
    void NewItemAtCurrentDate() override;

    // iMessenger
    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override;
    void ItemDeleteAfter(QString key, QString senderId) override;
    void ItemChanged(QString key, QString senderId) override;
    void ItemAdded(QString key, QString senderId) override;
    void ItemsChanged() override;
    void ItemSelected(QString key, QString senderId) override;
    void RowsChanged() override;
    void RowStylesChanged() override;
    void ItemStylesChanged() override;

signals:
    // The first activation has evaluated the command line; the start-up window may go.
    void firstActivationDone();
    // A load has ended: the timetable is complete and editable, or the load failed or was abandoned.
    void loadFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Chart events
    void AcGt_GanttItemAdded(ChartItem* item);
    void AcGt_GanttItemChanged(ChartItem* item);
    void AcGt_GanttItemClick(ChartItem* item, Qt::MouseButton button);
    void AcGt_GanttItemDblClick(ChartItem* item);
    void AcGt_GanttItemSelected(ChartItem* item);
    void AcGt_GanttItemChangeStarts(ChartItem* item);
    void AcGt_CompleteGanttItemMove(ChartItem* item);
    void AcGt_ClientAreaClick();
    void AcGt_ClientAreaDblClick(TimePoint time, const QPoint& position);
    void AcGt_RowClick(int rowPosition, Qt::MouseButton button);
    void AcGt_RowSelected(int rowPosition);
    void AcGt_RowMenuRequested(int rowPosition, const QPoint& position);
    void AcGt_VisibleTimeRangeChanged(TimePoint firstShown);
    void askPermission(bool& cancel);
    // Keeps the detail item's position, or clears the panel when the item is gone, however it went.
    void followDetailItem();

    void connectChart();
    void connectMenus();
    void applyReadOnly(bool readOnly);
    void stepHistory(bool forward);
    // Shows again what the board showed before a history step: styles, the current item, counts.
    void afterHistoryStep();
    // Dirty: marked changed, or a history away from the saved state.
    void updateDirty();
    void updateHistoryCommands();
    // An action is still under way: a drag on the chart or a modal window.
    [[nodiscard]] bool actionUnderWay() const;
    // Asks whether to take over a timetable that a planner which died left marked; true when taken.
    bool adoptAbandoned();
    [[nodiscard]] QString recoveryCopyName() const;
    void updateTitle();
    void checkZoomEntry();
    // The current item in the detail panel and on the chart; waits while the chart does bulk work.
    void showCurrentItem();
    void showDetailItem();
    void showEditor();
    void announceCurrentItem();
    // Brings the current position up to date with the current item's key after items went.
    void followCurrentItem();
    // The chart row under a viewport point among the shown rows; 0 for none.
    [[nodiscard]] int rowUnderPointer(const QPoint& position) const;
    void onTimer();
    void showLoadProgress();
    void finishLoad();
    // Stops a load in the background and brings the timetable from before it back.
    void abandonLoad();
    [[nodiscard]] static bool isDemo(const QString& file);
    // Tells the user that a window another module provides is not plugged in.
    static void notAvailable(const QString& what);

    GanttData& m_chart;
    GanttChart* AcGt;
    DetailPanel* m_detail;
    DeferredRefresh* m_currentShown;
    BoardMenus* m_menus;
    std::array<QLabel*, 7> m_panels{};
    QTimer* m_timer;
    QTimer* m_loadTimer;
    std::unique_ptr<TimetableLoader> m_load;
    qint64 m_backgroundLoadFrom = backgroundLoadItems;
    QPointer<frmCalendar> m_calendar;
    BoardWindows m_windows;
    ResourceCommands m_resourceCommands;
    FileInUseMarker m_marker;
    TimetableHistory* m_history;

    QString m_id;
    TimePoint m_actDate;
    int m_gantRow = -1;
    int m_gantItemIndex = -1;
    QString m_detailKey;
    bsSupport::ItemSnapshot m_snapshot;
    bool m_dirty = false;
    // Marked changed since the last save, load or history step: by an editing command or a change
    // the history does not hold (the zoom).
    bool m_marked = false;
    // A load is being opened or finished: no history step may cut in.
    bool m_loading = false;
    bool m_restarting = false;
    bool m_suppressClick = false;
    bool m_activated = false;
    bool m_unloaded = false;
    int m_ticks = 0;
    QString m_fileName;
};
