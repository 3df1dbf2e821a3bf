#include "frmMain.h"

#include "BoardIcons.h"
#include "BoardMenus.h"
#include "DetailPanel.h"
#include "TimeNavigation.h"
#include "TimetableBackup.h"
#include "TimetableHistory.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/bsFileUtil.h"
#include "app/bsVelkorHelper.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsMRU.h"
#include "app/clsProgessbar.h"
#include "app/clsSettings.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/bsInput.h"
#include "chart/GanttData.h"
#include "chart/TimetableLoader.h"
#include "chart/widget/GanttChart.h"
#include "editing/SchedulePrint.h"
#include "editing/frmDateItem.h"
#include "editing/frmResource.h"
#include "editing/frmStyles.h"
#include "frmCalendar.h"
#include "model/ChartBatch.h"
#include "model/DeferredRefresh.h"
#include "model/ItemList.h"
#include "model/clsItems.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmSettings.h"
#include "settings/frmSettingsGeneral.h"
#include "views/frmListview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPrinterInfo>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

namespace {
using namespace MessageFlags;

const QString timetableFilter = QStringLiteral("Timetable Files (*.qtf)|*.qtf");

QString statusText(const QString& text) {
    return text + ' ';
}
} // namespace

frmMain::frmMain(GanttData& chart, QWidget* parent)
    : QMainWindow(parent)
    , m_chart(chart)
    , AcGt(new GanttChart(chart, this))
    , m_detail(new DetailPanel(this))
    , m_currentShown(new DeferredRefresh(
          chart, [this] { showCurrentItem(); }, this))
    , m_menus(new BoardMenus(this))
    , m_timer(new QTimer(this))
    , m_loadTimer(new QTimer(this))
    , m_resourceCommands(*this)
    , m_history(new TimetableHistory(chart, this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(BoardIcons::appIcon());
    updateTitle();

    m_menus->mHelpI[3]->setText(FormatMsg(m_menus->mHelpI[3]->text(), AppTitle(), AppVersion()));
    m_menus->mHelpI[5]->setText(FormatMsg(m_menus->mHelpI[5]->text(), QString(maker)));
    m_menus->mHelpI[6]->setText(FormatMsg(m_menus->mHelpI[6]->text(), QString(maker)));
    m_menus->mViewI[7]->setText(m_menus->mViewI[7]->text() + "\tPgDn");
    m_menus->mViewI[8]->setText(m_menus->mViewI[8]->text() + "\tPgUp");

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("boardSplitter"));
    splitter->addWidget(AcGt);
    splitter->addWidget(m_detail);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    m_detail->setMinimumWidth(230);
    m_detail->setMaximumWidth(360);
    splitter->setSizes({1000, 250});
    setCentralWidget(splitter);

    static const std::array<const char*, 7> tips = {
        "Current date",          "Current time",     "The file currently displayed",
        "Name of this computer", "Selected printer", "Number of date items",
        "Software version"};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setToolTip(QString::fromLatin1(tips[i]));
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setContentsMargins(4, 0, 4, 0);
        statusBar()->addWidget(m_panels[i], i == 2 ? 1 : 0);
    }

    m_actDate = TimePoint::now();
    m_id = bsSupport::NewKey();
    setGantItemIndex(-1);
    setGantRow(-1);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.size() * 0.85);
        move(available.center() - rect().center());
    }
    if (globals().profile)
        WindowPlacement::restoreLayout(*this, layoutName, *globals().profile);

    connectChart();
    connectMenus();
    m_history->setBusyCheck([this] { return actionUnderWay(); });
    connect(m_history, &TimetableHistory::changed, this, [this] {
        updateDirty();
        updateHistoryCommands();
    });
    setReadOnlyListener([this](bool readOnly) { applyReadOnly(readOnly); });
    applyReadOnly(IsReadOnly());

    connect(m_timer, &QTimer::timeout, this, &frmMain::onTimer);
    m_timer->start(timerInterval);
    m_loadTimer->setInterval(loadProgressInterval);
    connect(m_loadTimer, &QTimer::timeout, this, &frmMain::showLoadProgress);
}

frmMain::~frmMain() {
    setReadOnlyListener({});
    // The history goes with the board's children, when the board can no longer hear of it.
    m_history->disconnect(this);
}

// ---------------------------------------------------------------------------------------------
// Board state

void frmMain::setDirty(bool dirty) {
    if (IsReadOnly())
        return;
    if (dirty) {
        m_marked = true;
        m_history->recordLater();
    } else {
        m_marked = false;
        m_history->setClean();
    }
    updateDirty();
}

bool frmMain::SetDirty() {
    if (IsReadOnly() || loading())
        return false;
    setDirty(true);
    return true;
}

bool frmMain::Dirty() const {
    m_history->record();
    return m_marked || !m_history->isClean();
}

void frmMain::updateDirty() {
    const bool dirty = m_marked || !m_history->isClean();
    if (dirty == m_dirty)
        return;
    m_dirty = dirty;
    setWindowModified(m_dirty);
}

void frmMain::updateHistoryCommands() {
    const bool editable = !IsReadOnly();
    const struct {
        QAction* entry;
        QAction* button;
        bool possible;
        const char* command;
        QString step;
    } commands[] = {{m_menus->mUndoStep, m_menus->toolButton(QStringLiteral("undostep")),
                     m_history->canUndo(), "&Undo", m_history->undoCaption()},
                    {m_menus->mRedoStep, m_menus->toolButton(QStringLiteral("redostep")),
                     m_history->canRedo(), "&Redo", m_history->redoCaption()}};
    for (const auto& command : commands) {
        const QString caption = QString::fromLatin1(command.command);
        command.entry->setText(command.possible ? caption + ' ' + command.step : caption);
        command.entry->setEnabled(editable && command.possible);
        command.button->setEnabled(editable && command.possible);
        if (command.possible)
            command.button->setToolTip(QString(caption).remove('&') + ' ' + command.step);
    }
}

bool frmMain::actionUnderWay() const {
    return QApplication::activeModalWidget() != nullptr || QGuiApplication::mouseButtons() != Qt::NoButton;
}

void frmMain::setActDate(TimePoint date) {
    m_actDate = date;
    MoveToTimePount(date);
}

void frmMain::setGantItemIndex(int position) {
    if (position != m_gantItemIndex) {
        m_gantItemIndex = position;
        if (position != -1 && globals().items) {
            if (const ChartItem* item = m_chart.items().byPosition(position))
                globals().items->ItemSelected(*item, m_id);
        }
    }
    m_currentShown->request();
}

void frmMain::showCurrentItem() {
    if (m_gantItemIndex == -1) {
        m_detailKey.clear();
        m_detail->clear();
        AcGt->setCurrentItem(QString());
    } else {
        showDetailItem();
    }
}

void frmMain::showDetailItem() {
    ignoringErrors([&] {
        const ChartItem* item = m_chart.items().byPosition(m_gantItemIndex);
        if (!item) {
            m_detailKey.clear();
            m_detail->clear();
            return;
        }
        m_detailKey = item->key();
        m_detail->showItem(*item, m_chart);
        m_detail->setEnabled(!IsReadOnly());
        AcGt->setCurrentItem(item->key());
    });
}

void frmMain::updateTitle() {
    QString title = AppTitle();
    if (!m_fileName.isEmpty())
        title += " - " + QFileInfo(m_fileName).fileName();
    if (IsReadOnly())
        title += tr(" (read-only)");
    setWindowTitle(title + "[*]");
    setWindowModified(m_dirty);
}

void frmMain::applyReadOnly(bool readOnly) {
    // While a timetable loads, nothing can be changed yet: the same switches as read-only mode.
    readOnly = readOnly || loading();
    m_chart.settings().allowAdd = !readOnly;
    m_chart.settings().allowEdit = !readOnly;
    m_menus->mEdit->menuAction()->setEnabled(!readOnly);
    for (QAction* entry : m_menus->mEditI)
        entry->setEnabled(!readOnly);
    for (QAction* entry : m_menus->mStyleI)
        entry->setEnabled(!readOnly);
    m_menus->mFileI[4]->setEnabled(!readOnly);
    for (const char* key : {"del", "new", "save"})
        m_menus->toolButton(QString::fromLatin1(key))->setEnabled(!readOnly);
    m_detail->setEnabled(!readOnly && !m_detailKey.isEmpty());
    updateHistoryCommands();
    updateTitle();
}

// ---------------------------------------------------------------------------------------------
// Start

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_activated)
        QTimer::singleShot(0, this, &frmMain::FirstActivation);
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_activated && !m_unloaded)
        StatusUpdate();
}

void frmMain::FirstActivation() {
    if (m_activated)
        return;
    m_activated = true;
    checkZoomEntry();
    globals().items->AddMessenger(*this);
    // What start-up prepared (the default styles) is no step of the history.
    m_history->reset();
    UpdateRecentFiles();

    const QString commandLine = globals().commandLine;
    if (commandLine.isEmpty()) {
        if (globals().options && globals().options->UseMostRecent() && m_menus->mMRUi[1]->isVisible())
            mMRUi_Click(1);
    } else if (commandLine.toLower().contains("/newfile")) {
        AddDefaultResource();
        m_history->reset();
    } else {
        Loadfile(commandLine);
    }
    // Without a timetable (none named, or the named one missing) the board starts today.
    if (m_fileName.isEmpty())
        MoveToTimePount(TimePoint::today());
    if (m_chart.rows().count() >= 1) {
        setGantRow(1);
        AcGt->setCurrentRow(1);
    }
    LoadStyles();
    StatusUpdate();
    emit firstActivationDone();
}

void frmMain::AddDefaultResource() {
    if (m_chart.rows().count() > 0)
        return;
    ResourceCommands::AddDefaultResource(m_chart);
    m_chart.redraw();
}

void frmMain::StatusUpdate() {
    const QDateTime now = QDateTime::currentDateTime();
    m_panels[0]->setText(statusText(QLocale().toString(now.date(), QLocale::ShortFormat)));
    m_panels[1]->setText(statusText(QLocale().toString(now.time(), TimePoint::shortTimeFormat())));
    m_panels[3]->setText(statusText(ComputerName()));
    m_panels[4]->setText(statusText(QPrinterInfo::defaultPrinterName()));
    // While a load runs, the chart holds only the first screen; the file says how many there are.
    const qint64 items = m_load ? m_load->itemCount() : qint64(m_chart.items().count());
    m_panels[5]->setText(statusText(QString::number(items)));
    m_panels[6]->setText(statusText(AppVersion()));
    statusBar()->update();
}

void frmMain::onTimer() {
    StatusUpdate();
    if (++m_ticks >= redrawTicks) {
        m_ticks = 0;
        m_chart.redraw();
    }
}

void frmMain::LoadStyles() {
    m_detail->loadStyles(m_chart);
}

void frmMain::UpdateRecentFiles() {
    if (!globals().profile)
        return;
    clsMRU recent;
    recent.Load(*globals().profile);
    if (!m_fileName.isEmpty()) {
        recent.Add(m_fileName);
        recent.Save(*globals().profile);
    }
    if (recent.Count() == 0)
        return;
    for (int i = 1; i <= recent.Count(); ++i) {
        QAction* entry = m_menus->mMRUi[std::size_t(i)];
        QString shown = recent.Item(i);
        entry->setText(QStringLiteral("&%1 %2").arg(i).arg(shown.replace('&', QStringLiteral("&&"))));
        entry->setData(recent.Item(i));
        entry->setVisible(true);
    }
    m_menus->mMRUi[6]->setVisible(true);
}

// ---------------------------------------------------------------------------------------------
// Command dispatch

void frmMain::connectMenus() {
    connect(m_menus, &BoardMenus::fileClicked, this, &frmMain::mFileI_Click);
    connect(m_menus, &BoardMenus::recentClicked, this, &frmMain::mMRUi_Click);
    connect(m_menus, &BoardMenus::printClicked, this, &frmMain::mPrintI_Click);
    connect(m_menus, &BoardMenus::quitClicked, this, &frmMain::mQuit_Click);
    connect(m_menus, &BoardMenus::editClicked, this, &frmMain::mEditI_Click);
    connect(m_menus, &BoardMenus::undoStepClicked, this, &frmMain::UndoStep);
    connect(m_menus, &BoardMenus::redoStepClicked, this, &frmMain::RedoStep);
    connect(m_menus, &BoardMenus::stylesClicked, this, &frmMain::mStyleI_Click);
    connect(m_menus, &BoardMenus::viewClicked, this, &frmMain::mViewI_Click);
    connect(m_menus, &BoardMenus::zoomClicked, this, &frmMain::mZoomI_Click);
    connect(m_menus, &BoardMenus::optionsClicked, this, &frmMain::mOptI_Click);
    connect(m_menus, &BoardMenus::helpClicked, this, &frmMain::mHelpI_Click);
    connect(m_menus, &BoardMenus::itemMenuClicked, this, &frmMain::mItemI_Click);
    connect(m_menus, &BoardMenus::rowMenuClicked, this, &frmMain::mRowI_Click);
    connect(m_menus, &BoardMenus::toolbarClicked, this, &frmMain::tbToolBar_ButtonClick);
    connect(m_detail, &DetailPanel::applyClicked, this, &frmMain::cmdDOK_Click);

    // The board's own keys; the others are shortcuts of menu entries. They count only where the focus is
    // in the board itself: a key typed in the calendar, a monthly overview or an open menu is theirs.
    const struct {
        QKeySequence sequence;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_PageDown), Qt::Key_PageDown, Qt::ControlModifier},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), Qt::Key_PageUp, Qt::ControlModifier},
                {QKeySequence(Qt::ALT | Qt::Key_F1), Qt::Key_F1, Qt::AltModifier},
                {QKeySequence(Qt::Key_Escape), Qt::Key_Escape, Qt::NoModifier}};
    for (const auto& entry : keys) {
        auto* action = new QAction(this);
        action->setShortcut(entry.sequence);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const int key = entry.key;
        const Qt::KeyboardModifiers modifiers = entry.modifiers;
        connect(action, &QAction::triggered, this, [this, key, modifiers] { KeyDown(key, modifiers); });
        addAction(action);
    }
}

void frmMain::mFileI_Click(int index) {
    switch (index) {
    case 0:
        if (!AskSave())
            return;
        m_restarting = true;
        RestartApplication(QStringLiteral("/NewFile"));
        break;
    case 2:
        if (AskSave())
            Loadfile(QString());
        break;
    case 4:
        DoSave(false);
        break;
    case 5:
        DoSave(true);
        break;
    default:
        break;
    }
}

void frmMain::mMRUi_Click(int index) {
    if (index < 1 || index > BoardMenus::recentEntries)
        return;
    if (!AskSave())
        return;
    Loadfile(m_menus->mMRUi[std::size_t(index)]->data().toString());
}

void frmMain::mPrintI_Click() {
    SchedulePrint::DoPrint(*AcGt, true);
}

void frmMain::mQuit_Click() {
    close();
}

void frmMain::mEditI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            if (m_chart.rows().count() == 0)
                ShowMessage(QStringLiteral("Please add one or more resources!"), Critical);
            else if (SetDirty())
                AddItem(m_actDate, QString());
            break;
        case 2:
            if (SetDirty()) {
                auto* resources = new frmResource(this);
                resources->setAttribute(Qt::WA_DeleteOnClose);
                resources->show();
            }
            break;
        case 6:
            UndoAllChanges();
            break;
        case 8:
            DeleteItem();
            break;
        case 10:
            mRowI_Click(4);
            break;
        default:
            break;
        }
    });
}

void frmMain::mStyleI_Click(int index) {
    ignoringErrors([&] {
        if (SetDirty())
            frmStyles::open(this, index == 0 ? ChartStyle::RowKind : ChartStyle::ItemKind);
    });
}

void frmMain::mViewI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            PopUpCalendar();
            break;
        case 1:
            showEditor();
            announceCurrentItem();
            break;
        case 3:
            frmListview::open(*this);
            break;
        case 7:
            MoveTimeLine(false, 1);
            break;
        case 8:
            MoveTimeLine(true, 1);
            break;
        default:
            break;
        }
    });
}

void frmMain::mZoomI_Click(int index) {
    ignoringErrors([&] {
        AcGt->setScale(index);
        checkZoomEntry();
        // The zoom is saved with the timetable but is no step of its history.
        SetDirty();
    });
}

void frmMain::checkZoomEntry() {
    for (QAction* entry : m_menus->mZoomI)
        entry->setChecked(false);
    const int scale = AcGt->scale();
    if (scale >= 0 && scale < BoardMenus::zoomEntries)
        m_menus->mZoomI[std::size_t(scale)]->setChecked(true);
}

void frmMain::mOptI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            frmSettingsGeneral::Open(this);
            break;
        case 1:
            if (SetDirty())
                frmScheduleAppearance::Open(*this);
            break;
        case 2:
            if (SetDirty())
                frmSettings::Open(*this);
            break;
        default:
            break;
        }
    });
}

void frmMain::mHelpI_Click(int index) {
    switch (index) {
    case 0:
        OpenManual();
        break;
    case 1:
        OpenHelpFile();
        break;
    case 3:
        ShowMessage(AboutText(), Information, tr("About %1").arg(AppTitle()));
        break;
    case 5:
        ShellOpen(QString::fromLatin1(webPage));
        break;
    case 6:
        SendMail(QString::fromLatin1(supportAddress), "Support request:" + AppTitle() + ' ' + AppVersion());
        break;
    case 8:
        prompts().startDetached(QCoreApplication::applicationDirPath() + "/RC.EXE", {});
        break;
    default:
        break;
    }
}

void frmMain::mItemI_Click(int index) {
    if (index == 0)
        DeleteItem();
}

void frmMain::mRowI_Click(int index) {
    m_resourceCommands.mRowI_Click(index);
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    ignoringErrors([&] {
        const QString name = key.toLower();
        if (name == "exit")
            close();
        else if (name == "help")
            mHelpI_Click(0);
        else if (name == "memo")
            mHelpI_Click(1);
        else if (name == "previous")
            MoveTimeLine(true, 1);
        else if (name == "next")
            MoveTimeLine(false, 1);
        else if (name == "calendar")
            mViewI_Click(0);
        else if (name == "detail")
            mViewI_Click(1);
        else if (name == "utilisation")
            mViewI_Click(2);
        else if (name == "table")
            mViewI_Click(3);
        else if (name == "scale") {
            const int scale = AcGt->scale();
            if (scale >= 0 && scale < BoardMenus::zoomEntries)
                m_menus->mZoom->setDefaultAction(m_menus->mZoomI[std::size_t(scale)]);
            m_menus->mZoom->popup(QCursor::pos());
        } else if (name == "new")
            AddItem(m_actDate, QString());
        else if (name == "print")
            mPrintI_Click();
        else if (name == "save")
            mFileI_Click(4);
        else if (name == "undo")
            mEditI_Click(6);
        else if (name == "del")
            mEditI_Click(8);
        else if (name == "undostep")
            UndoStep();
        else if (name == "redostep")
            RedoStep();
        else
            ShowMessage(FormatMsg(QStringLiteral("Unknow key:'%s'"), name), Critical);
    });
}

bool frmMain::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    int code = key;
    if (HandleDialogKey(code, modifiers))
        return true;
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
        const bool backward = key == Qt::Key_PageUp;
        if (held == Qt::NoModifier)
            MoveTimeLine(backward, 1);
        else if (held == Qt::ControlModifier)
            MoveTimeLine(backward, 5);
        else
            return false;
        return true;
    }
    if (key == Qt::Key_Escape && held == Qt::NoModifier) {
        tbToolBar_ButtonClick(QStringLiteral("exit"));
        return true;
    }
    return false;
}

void frmMain::UndoAllChanges() {
    if (!Dirty())
        return;
    if (globals().options->ConfirmUndo() &&
        ShowMessage(QStringLiteral("Undo all changes now?"), YesNo | Question | DefaultButton2) ==
            MessageResult::No)
        return;
    setDirty(false);
    if (!m_fileName.isEmpty()) {
        Loadfile(m_fileName);
    } else {
        m_restarting = true;
        RestartApplication(QStringLiteral("/NewFile"));
    }
}

void frmMain::UndoStep() {
    stepHistory(false);
}

void frmMain::RedoStep() {
    stepHistory(true);
}

void frmMain::stepHistory(bool forward) {
    // A drag under way belongs to the present state: it ends first, as a step of its own.
    if (IsReadOnly() || loading() || m_loading || actionUnderWay())
        return;
    guardedStep(forward ? QStringLiteral("Sub:frmMain:RedoStep") : QStringLiteral("Sub:frmMain:UndoStep"),
                [&] {
                    clsItems& items = *globals().items;
                    if (forward ? m_history->redo(items, m_id) : m_history->undo(items, m_id)) {
                        // Whatever was marked on the way, the history now says what changed.
                        m_marked = false;
                        afterHistoryStep();
                    }
                });
    updateDirty();
    updateHistoryCommands();
}

void frmMain::afterHistoryStep() {
    if (m_history->lastTouchedStyles() && globals().settings) {
        // The settings that travel in the style "Addon" follow the step too.
        globals().settings->ReadData();
        LoadStyles();
    }
    StatusUpdate();
}

void frmMain::showEditor() {
    frmDateItem* editor = frmDateItem::open(*this);
    editor->show();
    editor->raise();
}

void frmMain::notAvailable(const QString& what) {
    ShowMessage(tr("The %1 is not available yet.").arg(what), Information);
}

void frmMain::announceCurrentItem() {
    if (m_gantItemIndex == -1)
        return;
    if (const ChartItem* item = m_chart.items().byPosition(m_gantItemIndex))
        globals().items->ItemSelected(*item, m_id);
}

// ---------------------------------------------------------------------------------------------
// The timetable file

QString frmMain::ChooseOpenFile() {
    const QString folder = m_fileName.isEmpty() ? QString() : QFileInfo(m_fileName).absolutePath();
    return prompts().openFileName(QStringLiteral("Load Timetable"), timetableFilter, folder);
}

QString frmMain::ChooseSaveFile(const QString& currentName) {
    QString name = prompts().saveFileName(QStringLiteral("Save Timetable"), timetableFilter, currentName);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".qtf");
    return name;
}

bool frmMain::AskSave() {
    bool ok = false;
    guardedStep(QStringLiteral("Function:frmMain:AskSave"), [&] {
        m_history->record();
        if (!m_dirty) {
            ok = true;
            return;
        }
        if (globals().options->SaveAuto()) {
            ok = DoSave(false);
            return;
        }
        switch (ShowMessage(QStringLiteral("Save changes?"), YesNoCancel | Question)) {
        case MessageResult::Yes:
            ok = DoSave(false);
            break;
        case MessageResult::No:
            ok = true;
            break;
        default:
            ok = false;
            break;
        }
    });
    return ok;
}

bool frmMain::DoSave(bool saveAs) {
    // Half a timetable is never written over a file.
    if (loading())
        return false;
    const QString chosen = m_fileName.isEmpty() || saveAs ? ChooseSaveFile(m_fileName) : m_fileName;
    if (chosen.isEmpty())
        return false;
    const QString name = QFileInfo(chosen).absoluteFilePath();
    // Saving onto a FIFO or a device would wait for ever, or write nowhere.
    if (!IsRegularOrMissing(name)) {
        ShowMessage(
            FormatMsg(QStringLiteral("'%s' is not a regular file; the timetable cannot be saved there."),
                      name),
            Critical);
        return false;
    }
    const bool sameFile = name == m_fileName;
    // A file that another instance holds (or that is write-protected) is not replaced under it.
    if (!sameFile && FileExists(name) && FileInUseMarker::isMarked(name)) {
        ShowMessage(
            FormatMsg(QStringLiteral("The file '%s' is open in another instance or write-protected and "
                                     "cannot be replaced."),
                      name),
            Critical);
        return false;
    }

    bool ok = false;
    const BusyCursor busy;
    try {
        ResetReadOnlyFlag();
        if (FileExists(name))
            TimetableBackup::Make(name);
        globals().settings->WriteData();
        m_chart.save(name);
        ok = true;
    } catch (...) {
        HandleException(QStringLiteral("Function:Main:DoSave"), true, currentError());
    }
    if (!ok) {
        // The timetable stays what it was: the same name, and this instance owning it again.
        if (!m_fileName.isEmpty() && FileExists(m_fileName))
            TestMultiUser();
        return false;
    }
    m_fileName = name;
    m_marked = false;
    m_history->setClean();
    RemoveStaleTemporaries(m_fileName);
    m_panels[2]->setText(statusText(m_fileName));
    UpdateRecentFiles();
    TestMultiUser();
    updateTitle();
    return true;
}

void frmMain::Loadfile(const QString& name) {
    QString file = name;
    if (file.isEmpty()) {
        file = ChooseOpenFile();
        if (file.isEmpty())
            return;
    }
    if (!FileExists(file)) {
        ShowMessage(FormatMsg(QStringLiteral("File '%s' not found!"), file), Critical);
        return;
    }
    file = QFileInfo(file).absoluteFilePath();

    // A load still running gives way: the timetable before it comes back first.
    abandonLoad();
    const BusyCursor busy;
    const QScopedValueRollback loading(m_loading, true);
    m_history->pause();
    try {
        m_load = std::make_unique<TimetableLoader>(m_chart, file);
    } catch (...) {
        m_history->resume();
        HandleException(QStringLiteral("Sub:Main:Loadfile"), true, currentError());
        return;
    }
    try {
        globals().settings->ReadData();
        // Positions of the previous timetable mean nothing in this one.
        m_gantRow = -1;
        setGantItemIndex(-1);
        if (!isDemo(file))
            MoveToTimePount(TimePoint::today());
        checkZoomEntry();
    } catch (...) {
        HandleException(QStringLiteral("Sub:Main:Loadfile"), true, currentError());
    }
    if (m_load->itemCount() < m_backgroundLoadFrom) {
        finishLoad();
        return;
    }
    // The shown rows and a screen's width on either side are there before the rest.
    const TimePoint from = AcGt->firstShownTime();
    const TimePoint to = AcGt->lastShownTime();
    QStringList shownRows;
    for (int position = AcGt->firstShownRow(); position <= AcGt->lastShownRow(); ++position) {
        if (const ChartRow* row = m_chart.rows().byPosition(position))
            shownRows << row->key();
    }
    m_load->showFirstScreen(shownRows, from.addSeconds(from - to), to.addSeconds(to - from));
    m_load->start(
        [this] { QMetaObject::invokeMethod(this, &frmMain::showLoadProgress, Qt::QueuedConnection); });
    applyReadOnly(IsReadOnly());
    StatusUpdate();
    showLoadProgress();
    m_loadTimer->start();
}

bool frmMain::loading() const {
    return m_load != nullptr;
}

void frmMain::showLoadProgress() {
    if (!m_load)
        return;
    if (m_load->reading()) {
        m_panels[2]->setText(statusText(
            tr("Loading %1: %2 %").arg(QDir::toNativeSeparators(m_load->path())).arg(m_load->percent())));
        return;
    }
    m_loadTimer->stop();
    finishLoad();
}

void frmMain::finishLoad() {
    const std::unique_ptr<TimetableLoader> load = std::move(m_load);
    const QScopedValueRollback loading(m_loading, true);
    const QString file = load->path();
    try {
        load->finish();
    } catch (...) {
        // The timetable from before the load is back, with its settings and its history.
        m_history->resume();
        ignoringErrors([] { globals().settings->ReadData(); });
        m_panels[2]->setText(statusText(m_fileName));
        applyReadOnly(IsReadOnly());
        HandleException(QStringLiteral("Sub:Main:Loadfile"), true, currentError());
        emit loadFinished();
        return;
    }
    m_history->reset();
    try {
        ResetReadOnlyFlag();
        m_fileName = file;
        m_marked = false;
        updateDirty();
        RemoveStaleTemporaries(m_fileName);
        // An item chosen on the first screen is chosen again among all items.
        const ChartItem* chosen = m_detailKey.isEmpty() ? nullptr : m_chart.items().byKey(m_detailKey);
        setGantItemIndex(chosen ? chosen->position() : -1);
        m_panels[2]->setText(statusText(m_fileName));
        UpdateRecentFiles();
        if (!isDemo(file))
            AutoDelOldItems(false);
        // The automatic deletion is a step of its own, but the loaded timetable counts as unchanged.
        m_history->setClean();
        if (!globals().items->ReadItems()) {
            close();
            return;
        }
        LoadStyles();
        StatusUpdate();
        TestMultiUser();
        applyReadOnly(IsReadOnly());
    } catch (...) {
        HandleException(QStringLiteral("Sub:Main:Loadfile"), true, currentError());
    }
    emit loadFinished();
}

void frmMain::abandonLoad() {
    if (!m_load)
        return;
    m_loadTimer->stop();
    m_load.reset();
    m_history->resume();
    ignoringErrors([] { globals().settings->ReadData(); });
    m_panels[2]->setText(statusText(m_fileName));
    applyReadOnly(IsReadOnly());
    emit loadFinished();
}

bool frmMain::isDemo(const QString& file) {
    return file.toLower().contains(QStringLiteral("velkor-demo"));
}

void frmMain::TestMultiUser() {
    if (m_fileName.isEmpty())
        return;
    FileInUseMarker::Claim claim = FileInUseMarker::Claim::Failed;
    guardedStep(QStringLiteral("Sub:frmMain:TestMultiUser"), [&] {
        claim = m_marker.claim(m_fileName);
        if (claim == FileInUseMarker::Claim::Failed)
            throw AppError(FormatMsg(QStringLiteral("The file '%s' cannot be marked as in use."), m_fileName),
                           75, QStringLiteral("TestMultiUser"));
    });
    if (claim == FileInUseMarker::Claim::Abandoned && adoptAbandoned())
        claim = FileInUseMarker::Claim::Owner;
    if (claim == FileInUseMarker::Claim::Owner) {
        SetReadOnly(false);
        globals().ownsFileLock = true;
    } else {
        SetReadOnly(true);
    }
}

bool frmMain::adoptAbandoned() {
    // A planner that died left the marker: without this question the file would stay read-only for
    // every instance until somebody gave the write permission back by hand.
    const QString question =
        FormatMsg(QStringLiteral("The timetable '%s' is marked as in use, but no planner has it open: a "
                                 "planner may have ended without closing it.\r\n\r\nOpen it for editing?"),
                  m_fileName);
    return ShowMessage(question, YesNo | Question | DefaultButton2) == MessageResult::Yes &&
           m_marker.adopt(m_fileName);
}

void frmMain::ResetReadOnlyFlag() {
    guardedStep(QStringLiteral("Sub:frmMain:ResetReadOnlyFlag"), [&] {
        if (!globals().ownsFileLock || m_fileName.isEmpty())
            return;
        globals().ownsFileLock = false;
        if (!m_marker.release())
            throw AppError(
                FormatMsg(QStringLiteral("The write permission of '%s' cannot be given back."), m_fileName),
                75, QStringLiteral("ResetReadOnlyFlag"));
    });
}

void frmMain::RestartApplication(const QString& arguments) {
    close();
    if (!m_unloaded) {
        m_restarting = false;
        return;
    }
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window != this && window->isVisible())
            return;
    }
    prompts().startDetached(QCoreApplication::applicationFilePath(),
                            QStringList{QStringLiteral("/RESTART")} +
                                arguments.split(' ', Qt::SkipEmptyParts));
}

QString frmMain::EndWithoutQuestions() {
    if (m_unloaded)
        return {};
    // A load in progress gives way: the chart holds again the timetable the unsaved changes belong to.
    abandonLoad();
    QString recovery;
    if (Dirty())
        recovery = SaveRecoveryCopy();
    m_marked = false;
    m_dirty = false;
    Unload();
    close();
    return recovery;
}

QString frmMain::recoveryCopyName() const {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    if (m_fileName.isEmpty())
        return GetSpecialFolder(5) + tr("Timetable (recovered %1).qtf").arg(stamp);
    const QFileInfo info(m_fileName);
    return info.absolutePath() + '/' + info.completeBaseName() + tr(" (recovered %1).qtf").arg(stamp);
}

QString frmMain::SaveRecoveryCopy() {
    const QString name = recoveryCopyName();
    try {
        globals().settings->WriteData();
        m_chart.save(name);
        return name;
    } catch (const std::exception& error) {
        // Nobody is left to ask: the reason goes where a session keeps the program's messages.
        qWarning("The unsaved changes could not be kept: %s", error.what());
        return {};
    }
}

bool frmMain::QueryUnload(bool fromUser) {
    if (!m_restarting && fromUser && globals().options && globals().options->ConfirmQuit() &&
        ShowMessage(QStringLiteral("Do yout want to quit?"), YesNo | Question) == MessageResult::No)
        return false;
    return AskSave();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (!QueryUnload(!qApp->isSavingSession())) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void frmMain::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_timer->stop();
    abandonLoad();
    ResetReadOnlyFlag();
    if (m_calendar)
        m_calendar->close();
    if (globals().items)
        ignoringErrors([&] { globals().items->RemoveMessenger(*this); });
    if (globals().profile)
        WindowPlacement::saveLayout(*this, layoutName, *globals().profile);
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
}

// ---------------------------------------------------------------------------------------------
// Time

void frmMain::MoveTimeLine(bool backward, int steps) {
    guardedStep(QStringLiteral("Sub:frmMain:MoveTimeLine"), [&] {
        if (m_chart.settings().moveWholeDaysOnly) {
            MoveToTimePount(TimeNavigation::wholeDayTarget(m_actDate, backward));
            return;
        }
        AcGt->scrollBy(TimeNavigation::stepInterval(AcGt->scale()),
                       TimeNavigation::stepAmount(steps, backward));
    });
}

void frmMain::MoveToTimePount(TimePoint date) {
    guardedStep(QStringLiteral("Sub:Main:MoveToTimePount"),
                [&] { AcGt->scrollTo(TimeNavigation::jumpTarget(date, m_chart.settings())); });
}

void frmMain::PopUpCalendar() {
    guardedStep(QStringLiteral("Sub:Main:PopUpCalendar"), [&] {
        if (!m_calendar) {
            m_calendar = new frmCalendar(this);
            connect(m_calendar, &frmCalendar::ChangedTo, this, &frmMain::mFrmCalendar_ChangedTo);
        }
        m_calendar->setThisDate(m_actDate.date());
        m_calendar->show();
        m_calendar->raise();
        // The keys typed next, Esc among them, are meant for the calendar.
        m_calendar->activateWindow();
    });
}

frmCalendar* frmMain::calendar() const {
    return m_calendar;
}

void frmMain::mFrmCalendar_ChangedTo(const QDate& date) {
    setActDate(TimePoint::fromDate(date));
}

// ---------------------------------------------------------------------------------------------
// Items

void frmMain::AddItem(TimePoint start, const QString& resourceKey) {
    guardedStep(QStringLiteral("Sub:Main:AddItem"), [&] {
        frmDateItem* editor = frmDateItem::open(*this);
        editor->InitItem();
        editor->StartDate(start, resourceKey);
        editor->show();
        editor->raise();
    });
}

void frmMain::DeleteItem() {
    if (m_gantItemIndex == -1)
        return;
    if (!SetDirty())
        return;
    guardedStep(QStringLiteral("Sub:Main:DeleteItem"), [&] {
        const ChartItem* item = m_chart.items().byPosition(m_gantItemIndex);
        if (!item)
            return;
        ItemList list;
        list.add(*item);
        globals().items->DeleteItems(list, m_id, true);
    });
}

void frmMain::AutoDelOldItems(bool readItemsAfter) {
    bool removed = false;
    guardedStep(QStringLiteral("Sub:Main:AutoDelOldItems"), [&] {
        const int days = globals().settings->DeleteAfterDays();
        if (days < 1)
            return;
        const TimePoint limit = TimePoint::today().addDays(1 - days);
        const BusyCursor busy;
        ItemCollection& items = m_chart.items();
        clsProgessbar progress;
        progress.Caption(QStringLiteral("Deleting old items"));
        progress.Max(items.count());
        const ChartBatch batch(m_chart);
        int counter = 0;
        for (int position = items.count(); position >= 1; --position) {
            if (counter % 10 == 0 && !progress.SetValue(counter))
                break;
            ++counter;
            const ChartItem* item = items.byPosition(position);
            if (item && item->end() < limit) {
                items.remove(QString::number(position));
                removed = true;
            }
        }
    });
    if (removed)
        m_history->record();
    if (removed && readItemsAfter) {
        setGantItemIndex(-1);
        globals().items->ReadItems();
    }
    StatusUpdate();
}

void frmMain::cmdDOK_Click() {
    if (m_detailKey.isEmpty() || IsReadOnly())
        return;
    guardedStep(QStringLiteral("Sub:frmMain:cmdDOK_Click"), [&] {
        ChartItem* item = m_chart.items().byKey(m_detailKey);
        if (!item)
            return;
        m_detail->validateFields();
        const auto start = m_detail->start();
        const auto end = m_detail->end();
        if (!start || !end) {
            ShowMessage(QStringLiteral("Please input start and end time!"), Critical);
            return;
        }
        if (*end <= *start) {
            ShowMessage(QStringLiteral("Check start and end timepoint!"), Critical);
            return;
        }
        if (bsSupport::ConflictForExistingItem(m_chart, *start, *end, item->rowKey(), item->position())) {
            ShowMessage(QStringLiteral("Change is impossible! Conflict with existing item!"), Critical);
            return;
        }
        const ChartStyle* style = m_chart.styles().byKey(m_detail->styleKey());
        m_snapshot = bsSupport::ItemSnapshot::of(*item);
        const QString key = item->key();
        item->setSpan(*start, *end);
        if (style) {
            item->setStyleKey(style->key());
            item->setMovementLock(style->fixedItem ? 2 : 0);
        }
        item->setCaption(m_detail->caption());
        globals().items->UpdateItem(*item, m_id);
        // The views were told and may have deleted it meanwhile.
        if (const ChartItem* changed = m_chart.items().byKey(key))
            bsSupport::ItemMoved(m_chart, m_snapshot, *changed, globals().items);
        m_chart.redraw();
    });
}

QString frmMain::ItemTipText(const ChartItem& item) {
    const QString lineBreak = QStringLiteral("\r\n");
    const TimePoint start = item.start();
    const TimePoint end = item.end();
    QString text;
    if (start.dayNumber() == end.dayNumber())
        text = start.mediumDate() + lineBreak + start.shortTime() + " - " + end.shortTime();
    else if (start.time().hour() != 0 || end.time().hour() != 0)
        text = start.mediumDate() + " - " + start.shortTime() + lineBreak + end.mediumDate() + " - " +
               end.shortTime();
    else
        text = start.mediumDate() + " - " + end.mediumDate();
    if (!item.caption().isEmpty())
        text += lineBreak + item.caption();
    if (!item.text().isEmpty())
        text += lineBreak + item.text();
    if (!item.seriesKey().isEmpty())
        text.prepend(QStringLiteral("(S) "));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Chart events

void frmMain::connectChart() {
    connect(AcGt, &GanttChart::GanttItemAdded, this, &frmMain::AcGt_GanttItemAdded);
    connect(AcGt, &GanttChart::GanttItemChanged, this, &frmMain::AcGt_GanttItemChanged);
    connect(AcGt, &GanttChart::GanttItemClick, this, &frmMain::AcGt_GanttItemClick);
    connect(AcGt, &GanttChart::GanttItemDblClick, this, &frmMain::AcGt_GanttItemDblClick);
    connect(AcGt, &GanttChart::GanttItemSelected, this, &frmMain::AcGt_GanttItemSelected);
    connect(AcGt, &GanttChart::GanttItemChangeStarts, this, &frmMain::AcGt_GanttItemChangeStarts);
    connect(AcGt, &GanttChart::CompleteGanttItemMove, this, &frmMain::AcGt_CompleteGanttItemMove);
    connect(AcGt, &GanttChart::ClientAreaClick, this, &frmMain::AcGt_ClientAreaClick);
    connect(AcGt, &GanttChart::ClientAreaDblClick, this, &frmMain::AcGt_ClientAreaDblClick);
    connect(AcGt, &GanttChart::RowClick, this, &frmMain::AcGt_RowClick);
    connect(AcGt, &GanttChart::RowSelected, this, &frmMain::AcGt_RowSelected);
    connect(AcGt, &GanttChart::RowMenuRequested, this, &frmMain::AcGt_RowMenuRequested);
    connect(AcGt, &GanttChart::VisibleTimeRangeChanged, this,
            [this](TimePoint firstShown, TimePoint) { AcGt_VisibleTimeRangeChanged(firstShown); });
    connect(AcGt, &GanttChart::GanttItemTipText, this, [](QString& text, ChartItem* item) {
        ignoringErrors(
            [&] { text = ItemTipText(*item).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); });
    });

    connect(AcGt, &GanttChart::BeforeGanttItemAdd, this,
            [this](int, bool& cancel) { askPermission(cancel); });
    connect(AcGt, &GanttChart::BeforeGanttItemMove, this,
            [this](ChartItem*, bool& cancel) { askPermission(cancel); });
    connect(AcGt, &GanttChart::BeforeGanttItemStretch, this,
            [this](ChartItem*, bool& cancel) { askPermission(cancel); });
    connect(AcGt, &GanttChart::BeforeRowHeightChange, this,
            [this](int, bool& cancel) { askPermission(cancel); });
    connect(AcGt, &GanttChart::AfterGanttItemAdd, this, [this] { setDirty(true); });
    connect(AcGt, &GanttChart::AfterGanttItemMove, this, [this] { setDirty(true); });
    connect(AcGt, &GanttChart::AfterGanttItemStretch, this, [this] { setDirty(true); });
    connect(AcGt, &GanttChart::AfterRowHeightChange, this, [this] { setDirty(true); });
    connect(AcGt, &GanttChart::AfterHeadingWidthChange, this, [this] { setDirty(true); });
    connect(&m_chart, &GanttData::changed, this, &frmMain::followDetailItem);
}

void frmMain::followDetailItem() {
    if (m_detailKey.isEmpty())
        return;
    if (const ChartItem* shown = m_chart.items().byKey(m_detailKey))
        m_gantItemIndex = shown->position();
    else
        setGantItemIndex(-1);
}

void frmMain::askPermission(bool& cancel) {
    if (!SetDirty())
        cancel = true;
}

void frmMain::AcGt_GanttItemAdded(ChartItem* item) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_GanttItemAdded"), [&] {
        setDirty(true);
        const QString key = item->key();
        setGantItemIndex(item->position());
        if (const ChartItem* added = m_chart.items().byKey(key))
            globals().items->Add(*added, m_id);
        StatusUpdate();
        m_suppressClick = true;
    });
}

void frmMain::AcGt_GanttItemChanged(ChartItem* item) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_GanttItemChanged"), [&] {
        const QString key = item->key();
        globals().items->UpdateItem(*item, m_id);
        if (const ChartItem* changed = m_chart.items().byKey(key))
            setGantItemIndex(changed->position());
    });
}

void frmMain::AcGt_GanttItemClick(ChartItem* item, Qt::MouseButton button) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_GanttItemClick"), [&] {
        setGantItemIndex(item->position());
        if (button == Qt::RightButton)
            m_menus->mItem->popup(QCursor::pos());
    });
}

void frmMain::AcGt_GanttItemDblClick(ChartItem* item) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_GanttItemDblClick"), [&] {
        setGantItemIndex(item->position());
        showEditor();
        announceCurrentItem();
    });
}

void frmMain::AcGt_GanttItemSelected(ChartItem* item) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_GanttItemSelected"), [&] {
        const bool changed = item->position() != m_gantItemIndex;
        setGantItemIndex(item->position());
        if (!changed)
            announceCurrentItem();
    });
}

void frmMain::AcGt_GanttItemChangeStarts(ChartItem* item) {
    m_snapshot = bsSupport::ItemSnapshot::of(*item);
}

void frmMain::AcGt_CompleteGanttItemMove(ChartItem* item) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_CompleteGanttItemMove"), [&] {
        setDirty(true);
        const QString key = item->key();
        globals().items->UpdateItem(*item, m_id);
        if (const ChartItem* moved = m_chart.items().byKey(key))
            bsSupport::ItemMoved(m_chart, m_snapshot, *moved, globals().items);
    });
}

void frmMain::AcGt_ClientAreaClick() {
    if (m_suppressClick) {
        m_suppressClick = false;
        return;
    }
    setGantItemIndex(-1);
}

void frmMain::AcGt_ClientAreaDblClick(TimePoint time, const QPoint& position) {
    guardedStep(QStringLiteral("Sub:frmMain:AcGt_ClientAreaDblClick"), [&] {
        const int row = rowUnderPointer(position);
        const ChartRow* resource = row > 0 ? m_chart.rows().byPosition(row) : nullptr;
        AddItem(time, resource ? resource->key() : QString());
    });
}

int frmMain::rowUnderPointer(const QPoint& position) const {
    const int first = AcGt->firstShownRow();
    const int last = AcGt->lastShownRow();
    if (first < 1)
        return 0;
    for (int row = first; row <= last; ++row) {
        if (AcGt->rowTop(row) <= position.y() && AcGt->rowBottom(row) >= position.y())
            return row;
    }
    return 0;
}

void frmMain::AcGt_RowClick(int rowPosition, Qt::MouseButton button) {
    setGantRow(rowPosition);
    if (button == Qt::RightButton)
        m_menus->mRow->popup(QCursor::pos());
}

void frmMain::AcGt_RowSelected(int rowPosition) {
    setGantRow(rowPosition);
    // A row without bookings leaves nothing current: Del must not reach a booking of another row.
    if (!AcGt->currentItem())
        setGantItemIndex(-1);
}

void frmMain::AcGt_RowMenuRequested(int rowPosition, const QPoint& position) {
    setGantRow(rowPosition);
    m_menus->mRow->popup(AcGt->viewport()->mapToGlobal(position));
}

void frmMain::AcGt_VisibleTimeRangeChanged(TimePoint firstShown) {
    m_actDate = firstShown.datePart();
}

// ---------------------------------------------------------------------------------------------
// EditorHost

TimePoint frmMain::firstShownTime() const {
    return AcGt->firstShownTime();
}

bool frmMain::isItemShown(const ChartItem& item) const {
    if (item.end() <= AcGt->firstShownTime() || item.start() >= AcGt->lastShownTime())
        return false;
    const ChartRow* row = m_chart.rows().byKey(item.rowKey());
    if (!row)
        return false;
    const int position = row->position();
    return position >= AcGt->firstShownRow() && position <= AcGt->lastShownRow();
}

void frmMain::activateBoard() {
    activateWindow();
    raise();
    if (m_activated && !m_unloaded)
        StatusUpdate();
}

void frmMain::NewItemAtCurrentDate() {
    AddItem(m_actDate, QString());
}

bool frmMain::openMonthlyOverview(const QString& rowKey, TimePoint month) {
    if (!m_windows.monthlyOverview)
        return false;
    m_windows.monthlyOverview(*this, rowKey, month);
    return true;
}

void frmMain::settingsStored() {
    // Into the timetable at once, so that the history holds the change with the rest.
    if (globals().settings)
        globals().settings->WriteData();
    setDirty(true);
    m_chart.redraw();
}

// ---------------------------------------------------------------------------------------------
// iMessenger

void frmMain::ItemDeleteBefore(QString, bool&, QString) {}

void frmMain::ItemDeleteAfter(QString, QString) {
    ignoringErrors([&] {
        setDirty(true);
        followCurrentItem();
    });
}

void frmMain::followCurrentItem() {
    // Positions shift when items go, so the current item is followed by its key; once it is gone its
    // position would name another item, and nothing is current any more.
    const ChartItem* shown = m_detailKey.isEmpty() ? nullptr : m_chart.items().byKey(m_detailKey);
    if (shown)
        m_gantItemIndex = shown->position();
    else
        setGantItemIndex(-1);
}

void frmMain::ItemChanged(QString key, QString) {
    setDirty(true);
    if (const ChartItem* item = m_chart.items().byKey(key))
        setGantItemIndex(item->position());
}

void frmMain::ItemAdded(QString key, QString) {
    setDirty(true);
    if (const ChartItem* item = m_chart.items().byKey(key))
        setGantItemIndex(item->position());
}

void frmMain::ItemsChanged() {
    m_history->recordLater();
    // A re-read follows bulk changes such as the removal of a resource with its items.
    ignoringErrors([&] { followCurrentItem(); });
}

void frmMain::ItemSelected(QString key, QString senderId) {
    if (senderId == m_id)
        return;
    ignoringErrors([&] {
        const ChartItem* item = m_chart.items().byKey(key);
        if (!item)
            return;
        if (!isItemShown(*item))
            AcGt->scrollTo(item->start());
        setGantItemIndex(item->position());
    });
}

void frmMain::RowsChanged() {
    m_history->recordLater();
}

void frmMain::RowStylesChanged() {
    m_history->recordLater();
}

void frmMain::ItemStylesChanged() {
    m_history->recordLater();
    ignoringErrors([&] { LoadStyles(); });
}
