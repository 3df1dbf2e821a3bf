#pragma once

#include "model/iMessenger.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class ItemGrid;
class ListviewHost;
class QLabel;
class QTimer;
class QToolBar;
class clsItems;

// The item list: every date item of the timetable as one row of a grid over the item table. A
// modeless window of the board, at most one. It registers with the item table; changes made
// elsewhere only mark it out of date, and the timer, a mouse movement over the grid or its
// activation bring it up to date in one re-read.
class frmListview : public QMainWindow, public iMessenger {
    Q_OBJECT
public:
    static inline const QString windowKey = QStringLiteral("Listview");
    static constexpr int timerInterval = 5000;

    // The one list, created on first use as a window of the board; an open list comes forward.
    static frmListview* open(ListviewHost& host);
    [[nodiscard]] static frmListview* instance();

    frmListview(ListviewHost& host, clsItems& items, QWidget* parent = nullptr);
    ~frmListview() override;

    void SortGrid(bool ascending);
    void ToggleColMerge();
    void DeleteItems();
    void RefreshData(bool rebind);
    void UpdateItemCount();

    // Commands by toolbar key and by menu and index, as the user gives them
    void tbToolBar_ButtonClick(const QString& key);
    void mFileI_Click(int index);
    void mEditI_Click(int index);
    void mViewI_Click(int index);
    void mLayoutI_Click(int index);
    // Grid and timer events
    void grdList_Click();
    void grdList_HeadClick(int column);
    void grdList_MouseMove();
    void tmrRefresh_Timer();

    [[nodiscard]] int sortColumn() const { return m_sortColumn; }
    // The sort column when one was chosen, else the grid's current column.
    [[nodiscard]] int chosenColumn() const;
    [[nodiscard]] bool isOutOfDate() const { return m_outOfDate; }
    [[nodiscard]] const QString& selectedKey() const { return m_selectedKey; }
    [[nodiscard]] QAction* toolButton(const QString& key) const;

    // iMessenger
    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override;
    void ItemDeleteAfter(QString key, QString senderId) override;
    void ItemChanged(QString key, QString senderId) override;
    void ItemAdded(QString key, QString senderId) override;
    void ItemsChanged() override;
    [[nodiscard]] QString ID() const override { return m_id; }
    void ItemSelected(QString key, QString senderId) override;
    void RowsChanged() override;
    void RowStylesChanged() override;
    void ItemStylesChanged() override;

    ItemGrid* grdList = nullptr;
    QToolBar* tbToolBar = nullptr;
    QLabel* sbStatus = nullptr;
    QTimer* tmrRefresh = nullptr;
    std::array<QAction*, 5> mFileI{};   // 0 print, 2 export, 4 close
    std::array<QAction*, 6> mEditI{};   // 0 copy, 1 delete, 3 new, 5 select all
    std::array<QAction*, 8> mViewI{};   // 0 sort A->Z, 1 sort Z->A, 3 merge, 5 detail, 7 refresh
    std::array<QAction*, 4> mLayoutI{}; // 0 settings, 1 column order, 3 reset

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void load();
    void unload();
    void markOutOfDate(const QString& selectedKey);
    void refreshIfOutOfDate(bool rebind);
    [[nodiscard]] QString currentKey() const;

    static QPointer<frmListview> s_instance;

    ListviewHost& m_host;
    clsItems& m_items;
    QString m_id;
    int m_sortColumn = -1;
    bool m_outOfDate = false;
    QString m_selectedKey;
    bool m_unloaded = false;
};
