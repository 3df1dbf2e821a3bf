#include "frmListview.h"

#include "ItemGrid.h"
#include "ItemGridModel.h"
#include "ListviewHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/UserPrompts.h"
#include "app/bsVelkorHelper.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/bsInput.h"
#include "bsGridSupport.h"
#include "editing/core/bsSupport.h"
#include "frmGridCols.h"
#include "frmGridLayout.h"
#include "model/ItemList.h"
#include "model/clsItems.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

QPointer<frmListview> frmListview::s_instance;

namespace {
struct ToolButton {
    const char* key;
    const char* description;
    const char* toolTip;
    const char* themeIcon;
    QStyle::StandardPixmap fallbackIcon;
};

constexpr std::array<ToolButton, 9> toolButtons = {{
    {"exit", "Close Window", "Close window", "application-exit", QStyle::SP_DialogCloseButton},
    {"help", "Help", "Show help", "help-contents", QStyle::SP_DialogHelpButton},
    {"memo", "User memo", "User memo", "accessories-text-editor", QStyle::SP_FileDialogInfoView},
    {"print", "Print", "Print", "document-print", QStyle::SP_DriveFDIcon},
    {"export", "Export", "Exort data", "document-export", QStyle::SP_DialogSaveButton},
    {"sortaz", "Sort A->Z", "Sort &A->Z", "view-sort-ascending", QStyle::SP_ArrowUp},
    {"sortza", "Sort Z<-A", "Sort Z<-A", "view-sort-descending", QStyle::SP_ArrowDown},
    {"group", "Merge cells", "Merge cells on/off", "format-justify-fill", QStyle::SP_FileDialogListView},
    {"del", "Delete date items", "Delete date items", "edit-delete", QStyle::SP_TrashIcon},
}};

struct MenuEntry {
    const char* caption; // nullptr: a separator
    QKeySequence shortcut;
};

// The sort keys of a column: its own value, then the values that order equal ones.
ItemSortKeys sortKeysFor(int column) {
    using Compare = ItemSortKey::Compare;
    switch (column) {
    case 0:
        return {};
    case 1:
        return {{1, Compare::Caseless}, {3, Compare::Value}, {4, Compare::Value}};
    case 2:
        return {{2, Compare::Caseless}, {1, Compare::Caseless}, {3, Compare::Value}, {4, Compare::Value}};
    case 4:
        return {{4, Compare::Value}};
    case 5:
        return {{5, Compare::Value}, {6, Compare::Value}};
    case 6:
        return {{6, Compare::Value}};
    default:
        return {{column, Compare::Value}, {4, Compare::Value}};
    }
}
} // namespace

frmListview* frmListview::open(ListviewHost& host) {
    if (s_instance == nullptr && globals().items != nullptr) {
        s_instance = new frmListview(host, *globals().items, host.boardWindow());
        s_instance->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (s_instance != nullptr) {
        s_instance->show();
        s_instance->raise();
        s_instance->activateWindow();
    }
    return s_instance;
}

frmListview* frmListview::instance() {
    return s_instance;
}

frmListview::frmListview(ListviewHost& host, clsItems& items, QWidget* parent)
    : QMainWindow(parent)
    , m_host(host)
    , m_items(items) {
    setObjectName(QStringLiteral("frmListview"));
    setWindowTitle(QStringLiteral("Tableview of Items"));
    resize(960, 540);
    grdList = new ItemGrid(items, this);
    grdList->setObjectName(QStringLiteral("grdList"));
    setCentralWidget(grdList);
    sbStatus = new QLabel(this);
    statusBar()->addWidget(sbStatus, 1);
    tmrRefresh = new QTimer(this);
    tmrRefresh->setInterval(timerInterval);
    buildMenus();
    buildToolbar();

    connect(grdList, &ItemGrid::rowClicked, this, &frmListview::grdList_Click);
    connect(grdList, &ItemGrid::headingClicked, this, &frmListview::grdList_HeadClick);
    connect(grdList, &ItemGrid::pointerMoved, this, &frmListview::grdList_MouseMove);
    connect(grdList, &ItemGrid::deleteRequested, this, [this] { mEditI_Click(1); });
    connect(grdList, &ItemGrid::copyRequested, this, [this] { mEditI_Click(0); });
    connect(tmrRefresh, &QTimer::timeout, this, &frmListview::tmrRefresh_Timer);
    load();
    tmrRefresh->start();
    if (s_instance == nullptr)
        s_instance = this;
}

frmListview::~frmListview() {
    if (!m_unloaded && globals().items == &m_items)
        m_items.RemoveMessenger(*this);
    if (s_instance == this)
        s_instance = nullptr;
}

void frmListview::buildMenus() {
    const auto fill = [this](const QString& title, auto& entries, std::initializer_list<MenuEntry> captions,
                             void (frmListview::*handler)(int)) {
        QMenu* menu = menuBar()->addMenu(title);
        int index = 0;
        for (const MenuEntry& entry : captions) {
            QAction* action =
                entry.caption ? menu->addAction(QString::fromUtf8(entry.caption)) : menu->addSeparator();
            if (entry.caption) {
                action->setShortcut(entry.shortcut);
                connect(action, &QAction::triggered, this,
                        [this, handler, index] { (this->*handler)(index); });
            }
            entries[std::size_t(index++)] = action;
        }
    };
    fill(QStringLiteral("&File"), mFileI,
         {{"&Print", {}}, {nullptr, {}}, {"E&xport", {}}, {nullptr, {}}, {"&Close", {}}},
         &frmListview::mFileI_Click);
    fill(QStringLiteral("&Edit"), mEditI,
         {{"&Copy", QKeySequence(Qt::CTRL | Qt::Key_Insert)},
          {"&Delete", QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
          {nullptr, {}},
          {"&New", QKeySequence(Qt::Key_F3)},
          {nullptr, {}},
          {"Select &All", QKeySequence(Qt::CTRL | Qt::Key_A)}},
         &frmListview::mEditI_Click);
    fill(QStringLiteral("&View"), mViewI,
         {{"Sort A->Z", {}},
          {"Sort &Z->A", {}},
          {nullptr, {}},
          {"Merge &Rows", {}},
          {nullptr, {}},
          {"&Detail Date Item", {}},
          {nullptr, {}},
          {"&Refresh", {}}},
         &frmListview::mViewI_Click);
    fill(QStringLiteral("&Layout"), mLayoutI,
         {{"&Settings...", {}}, {"&Colums order", {}}, {nullptr, {}}, {"&Reset", {}}},
         &frmListview::mLayoutI_Click);
}

void frmListview::buildToolbar() {
    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    for (const ToolButton& button : toolButtons) {
        const QString key = QString::fromLatin1(button.key);
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.themeIcon),
                                            style()->standardIcon(button.fallbackIcon));
        QAction* action = tbToolBar->addAction(icon, QString::fromLatin1(button.description));
        action->setObjectName(QStringLiteral("tb_") + key);
        action->setToolTip(QString::fromLatin1(button.toolTip));
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
}

QAction* frmListview::toolButton(const QString& key) const {
    return tbToolBar->findChild<QAction*>(QStringLiteral("tb_") + key.toLower());
}

void frmListview::load() {
    guardedStep(QStringLiteral("Sub:frmListview:Form_Load"), [&] {
        m_id = bsSupport::NewKey();
        m_items.AddMessenger(*this);
        if (globals().profile)
            WindowPlacement::restoreLayout(*this, windowKey, *globals().profile);
        bsGridSupport::LoadGridLayout(*grdList, windowKey);
        m_sortColumn = -1;
        grdList->ReOpen(0);
        UpdateItemCount();
    });
}

void frmListview::unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    tmrRefresh->stop();
    if (globals().profile)
        WindowPlacement::saveLayout(*this, windowKey, *globals().profile);
    // Changes still open in the layout settings were never confirmed: they go before the layout is kept.
    qDeleteAll(findChildren<frmGridLayout*>());
    bsGridSupport::SaveGridLayout(*grdList, windowKey);
    m_items.RemoveMessenger(*this);
    if (s_instance == this)
        s_instance = nullptr;
}

void frmListview::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void frmListview::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshIfOutOfDate(true);
}

void frmListview::keyPressEvent(QKeyEvent* event) {
    int code = event->key();
    if (HandleDialogKey(code, event->modifiers()))
        return;
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

int frmListview::chosenColumn() const {
    return m_sortColumn != -1 ? m_sortColumn : grdList->currentColumn();
}

QString frmListview::currentKey() const {
    const int row = grdList->currentRow();
    return row >= 0 ? grdList->dataModel().key(row) : QString();
}

void frmListview::SortGrid(bool ascending) {
    guardedStep(QStringLiteral("Sub:frmListview:SortGrid"), [&] {
        const int column = chosenColumn();
        const BusyCursor busy;
        const QString current = currentKey();
        if (column >= 0)
            m_items.sortRows(sortKeysFor(column), !ascending);
        grdList->ReOpen(current.isEmpty() ? -1 : m_items.GetItemIndex(current));
    });
}

void frmListview::ToggleColMerge() {
    guardedStep(QStringLiteral("Sub:frmListview:ToggleColMerge"), [&] {
        const int column = chosenColumn();
        if (column < 0)
            return;
        GridLayout layout = grdList->gridLayout();
        layout.columns[std::size_t(column)].merge = !layout.columns[std::size_t(column)].merge;
        grdList->setGridLayout(layout);
    });
}

void frmListview::DeleteItems() {
    if (!m_host.SetDirty())
        return;
    guardedStep(QStringLiteral("Sub:frmListview:DeleteItems"), [&] {
        ItemList list;
        if (grdList->selectedCount() == 0) {
            const QString key = currentKey();
            if (key.isEmpty())
                return;
            if (const ChartItem* item = m_items.Item(key))
                list.add(*item);
        } else {
            for (const int row : grdList->selectedBookmarks()) {
                if (const ChartItem* item = m_items.GetItemByIndex(row))
                    list.add(*item);
            }
        }
        if (list.count() == 0)
            return;
        const int current = grdList->currentRow();
        m_items.DeleteItems(list, m_id, true);
        // The grid re-reads what is left; the list is up to date again.
        m_outOfDate = false;
        grdList->ReOpen(std::min(current, m_items.Count() - 1));
        UpdateItemCount();
    });
}

// Binding the grid again and re-opening its data are one re-read here.
void frmListview::RefreshData(bool) {
    guardedStep(QStringLiteral("Sub:frmListview:RefreshData"), [&] {
        m_outOfDate = false;
        const int row = m_selectedKey.isEmpty() ? 0 : m_items.GetItemIndex(m_selectedKey);
        grdList->ReOpen(std::max(row, 0));
        UpdateItemCount();
    });
}

void frmListview::UpdateItemCount() {
    sbStatus->setText(FormatMsg(QStringLiteral("%s date items"), m_items.Count()));
}

void frmListview::tbToolBar_ButtonClick(const QString& key) {
    ignoringErrors([&] {
        const QString name = key.toLower();
        if (name == QLatin1String("exit"))
            close();
        else if (name == QLatin1String("help"))
            OpenManual();
        else if (name == QLatin1String("memo"))
            OpenHelpFile();
        else if (name == QLatin1String("print"))
            bsGridSupport::PrintGrid(*grdList, windowTitle());
        else if (name == QLatin1String("export"))
            bsGridSupport::ExportGrid(*grdList);
        else if (name == QLatin1String("sortaz"))
            SortGrid(true);
        else if (name == QLatin1String("sortza"))
            SortGrid(false);
        else if (name == QLatin1String("group"))
            ToggleColMerge();
        else if (name == QLatin1String("del"))
            DeleteItems();
    });
}

void frmListview::mFileI_Click(int index) {
    ignoringErrors([&] {
        if (index == 0)
            bsGridSupport::PrintGrid(*grdList, windowTitle());
        else if (index == 2)
            bsGridSupport::ExportGrid(*grdList);
        else if (index == 4)
            close();
    });
}

void frmListview::mEditI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            bsGridSupport::Copy2ClipBoard(*grdList, m_items);
            break;
        case 1:
            DeleteItems();
            break;
        case 3:
            m_host.NewItemAtCurrentDate();
            break;
        case 5:
            bsGridSupport::SelectAllRows(*grdList, m_items);
            break;
        default:
            break;
        }
    });
}

void frmListview::mViewI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            SortGrid(true);
            break;
        case 1:
            SortGrid(false);
            break;
        case 3:
            ToggleColMerge();
            break;
        case 5:
            grdList_Click();
            break;
        case 7:
            RefreshData(true);
            break;
        default:
            break;
        }
    });
}

void frmListview::mLayoutI_Click(int index) {
    ignoringErrors([&] {
        switch (index) {
        case 0:
            frmGridLayout::Open(*grdList, this);
            break;
        case 1: {
            frmGridCols dialog(this);
            dialog.Init(*grdList);
            dialog.exec();
            break;
        }
        case 3:
            bsGridSupport::LoadDefaultGridLayout(*grdList, windowKey);
            break;
        default:
            break;
        }
    });
}

void frmListview::grdList_Click() {
    ignoringErrors([&] {
        const QString key = currentKey();
        if (!key.isEmpty())
            m_items.ItemSeledctedById(key, m_id);
    });
}

void frmListview::grdList_HeadClick(int column) {
    m_sortColumn = column;
    grdList->setCurrentColumn(column);
}

void frmListview::grdList_MouseMove() {
    refreshIfOutOfDate(false);
}

void frmListview::tmrRefresh_Timer() {
    refreshIfOutOfDate(false);
}

void frmListview::refreshIfOutOfDate(bool rebind) {
    if (m_outOfDate)
        ignoringErrors([&] { RefreshData(rebind); });
}

void frmListview::markOutOfDate(const QString& selectedKey) {
    m_outOfDate = true;
    m_selectedKey = selectedKey;
}

void frmListview::ItemDeleteBefore(QString, bool&, QString) {}

void frmListview::ItemDeleteAfter(QString, QString) {
    markOutOfDate(QString());
}

void frmListview::ItemChanged(QString key, QString) {
    markOutOfDate(key);
}

void frmListview::ItemAdded(QString key, QString) {
    markOutOfDate(key);
}

void frmListview::ItemsChanged() {
    m_sortColumn = -1;
    RefreshData(true);
    grdList->setCurrentRow(0);
}

void frmListview::ItemSelected(QString key, QString senderId) {
    if (senderId == m_id)
        return;
    m_selectedKey = key;
    if (m_outOfDate)
        RefreshData(false);
}

void frmListview::RowsChanged() {}

void frmListview::RowStylesChanged() {}

void frmListview::ItemStylesChanged() {}
