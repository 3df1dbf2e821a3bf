#include "BoardMenus.h"

#include "BoardIcons.h"
#include "TimeNavigation.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
// nullptr marks a separator.
constexpr std::array<const char*, 7> fileCaptions = {
    "&New Timetable", nullptr, "&Load Timetable", nullptr, "&Save Timetable", "Save Timetable &As", nullptr};
constexpr std::array<const char*, 11> editCaptions = {
    "&New Date Item",    nullptr, "A&dd Resource",    nullptr, "&Styles",        nullptr,
    "&Undo all Changes", nullptr, "Delete Date Item", nullptr, "Delete Resource"};
constexpr std::array<const char*, 2> styleCaptions = {"&Ressources", "&Date Items"};
constexpr std::array<const char*, 9> viewCaptions = {
    "&Calendar", "&Detail or Date Items", "&Utilization",  "&Table", nullptr, "&Resolution",
    nullptr,     "Time &Forward",         "Time &Backward"};
constexpr std::array<const char*, 3> optionCaptions = {"&General", "&Time display", "&Current Timetable"};
constexpr std::array<const char*, 9> helpCaptions = {"&Show Manual",         "&User memo", nullptr,
                                                     "A&bout %s version %s", nullptr,      "%s on the &web",
                                                     "&E-Mail to %s",        nullptr,      "&Remote Control"};
constexpr std::array<const char*, 1> itemCaptions = {"De&lete Date Item"};
constexpr std::array<const char*, 7> rowCaptions = {
    "&Monthly Overview",          nullptr, "&Settings", nullptr, "De&lete Resource", nullptr,
    "This &Height for Everything"};

constexpr std::array<const char*, 17> keys = {
    "exit",  "help", "memo",  "previous", "next", "calendar", "detail",   "utilisation", "table",
    "scale", "new",  "print", "save",     "undo", "del",      "undostep", "redostep"};

QString toolTip(const QString& key) {
    if (key == "exit")
        return "Exit";
    if (key == "help")
        return "Invoke online help";
    if (key == "memo")
        return "Show user memo";
    if (key == "previous")
        return "Move backwards";
    if (key == "next")
        return "Move foreward";
    if (key == "calendar")
        return "Calendar";
    if (key == "detail")
        return "Detailview date items";
    if (key == "utilisation")
        return "Show utilization";
    if (key == "table")
        return "Table view";
    if (key == "scale")
        return "Choose resolution";
    if (key == "new")
        return "New date item";
    if (key == "print")
        return "Print the schedule";
    if (key == "save")
        return "Save timetable";
    if (key == "undo")
        return "Undo all changes";
    if (key == "undostep")
        return "Undo the last change";
    if (key == "redostep")
        return "Redo the change undone last";
    return "Delete date item";
}
} // namespace

const std::array<const char*, 17>& BoardMenus::toolKeys() {
    return keys;
}

template <std::size_t N>
void BoardMenus::fill(QMenu* menu, std::array<QAction*, N>& entries,
                      const std::array<const char*, N>& captions, void (BoardMenus::*signal)(int)) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!captions[i]) {
            entries[i] = menu->addSeparator();
            continue;
        }
        entries[i] = menu->addAction(QString::fromLatin1(captions[i]));
        const int index = int(i);
        connect(entries[i], &QAction::triggered, this, [this, signal, index] { emit(this->*signal)(index); });
    }
}

BoardMenus::BoardMenus(QMainWindow* board)
    : QObject(board) {
    QMenuBar* bar = board->menuBar();

    mFile = bar->addMenu("&File");
    fill(mFile, mFileI, fileCaptions, &BoardMenus::fileClicked);
    mFileI[2]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mFileI[4]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    for (int i = 1; i <= recentEntries; ++i) {
        mMRUi[std::size_t(i)] = mFile->addAction(QString::number(i));
        mMRUi[std::size_t(i)]->setVisible(false);
        connect(mMRUi[std::size_t(i)], &QAction::triggered, this, [this, i] { emit recentClicked(i); });
    }
    mMRUi[6] = mFile->addSeparator();
    mMRUi[6]->setVisible(false);
    mPrintI0 = mFile->addAction("&Print");
    mPrintI0->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(mPrintI0, &QAction::triggered, this, &BoardMenus::printClicked);
    mFile->addSeparator();
    mQuit = mFile->addAction("&Stop");
    mQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(mQuit, &QAction::triggered, this, &BoardMenus::quitClicked);

    mEdit = bar->addMenu("&Edit");
    fill(mEdit, mEditI, editCaptions, &BoardMenus::editClicked);
    mEditI[0]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mEditI[6]->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    mEditI[8]->setShortcut(QKeySequence(Qt::Key_Delete));
    mStyles = new QMenu(mEditI[4]->text(), mEdit);
    fill(mStyles, mStyleI, styleCaptions, &BoardMenus::stylesClicked);
    mEditI[4]->setMenu(mStyles);
    // After the indexed entries, so that their indexes stay as they are.
    mEdit->addSeparator();
    mUndoStep = mEdit->addAction("&Undo");
    mUndoStep->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(mUndoStep, &QAction::triggered, this, &BoardMenus::undoStepClicked);
    mRedoStep = mEdit->addAction("&Redo");
    mRedoStep->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(mRedoStep, &QAction::triggered, this, &BoardMenus::redoStepClicked);

    mView = bar->addMenu("&View");
    fill(mView, mViewI, viewCaptions, &BoardMenus::viewClicked);
    mViewI[0]->setShortcut(QKeySequence(Qt::Key_F2));
    mViewI[1]->setShortcut(QKeySequence(Qt::Key_F3));
    mViewI[2]->setShortcut(QKeySequence(Qt::Key_F4));
    mViewI[2]->setVisible(false);
    mViewI[3]->setShortcut(QKeySequence(Qt::Key_F5));
    mViewI[7]->setShortcut(QKeySequence(Qt::Key_PageDown));
    mViewI[8]->setShortcut(QKeySequence(Qt::Key_PageUp));
    mZoom = new QMenu(mViewI[5]->text(), mView);
    for (int i = 0; i < zoomEntries; ++i) {
        mZoomI[std::size_t(i)] = mZoom->addAction(TimeNavigation::scaleCaption(i));
        mZoomI[std::size_t(i)]->setCheckable(true);
        connect(mZoomI[std::size_t(i)], &QAction::triggered, this, [this, i] { emit zoomClicked(i); });
    }
    mViewI[5]->setMenu(mZoom);

    mOptions = bar->addMenu("&Options");
    fill(mOptions, mOptI, optionCaptions, &BoardMenus::optionsClicked);

    mHelp = bar->addMenu("&Help");
    fill(mHelp, mHelpI, helpCaptions, &BoardMenus::helpClicked);
    mHelpI[0]->setShortcut(QKeySequence(Qt::Key_F1));
    mHelpI[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    mHelpI[7]->setVisible(false);
    mHelpI[8]->setVisible(false);

    mItem = new QMenu(board);
    fill(mItem, mItemI, itemCaptions, &BoardMenus::itemMenuClicked);
    mRow = new QMenu(board);
    fill(mRow, mRowI, rowCaptions, &BoardMenus::rowMenuClicked);

    // Shortcuts of entries in closed menus and of the toolbar work anywhere in the board.
    board->addActions({mFileI[2], mFileI[4], mPrintI0, mQuit, mEditI[0], mEditI[6], mEditI[8], mUndoStep,
                       mRedoStep, mViewI[0], mViewI[1], mViewI[3], mViewI[7], mViewI[8], mHelpI[0],
                       mHelpI[1]});

    tbToolBar = board->addToolBar("Toolbar");
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(22, 22));
    for (const char* key : keys) {
        const QString name = QString::fromLatin1(key);
        if (name == "help" || name == "previous" || name == "detail" || name == "new")
            tbToolBar->addSeparator();
        QAction* button = tbToolBar->addAction(BoardIcons::toolbarIcon(name), toolTip(name));
        button->setData(name);
        button->setToolTip(toolTip(name));
        button->setObjectName("tb_" + name);
        connect(button, &QAction::triggered, this, [this, name] { emit toolbarClicked(name); });
    }
}

QAction* BoardMenus::toolButton(const QString& key) const {
    const auto actions = tbToolBar->actions();
    for (QAction* action : actions) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}
