#pragma once

#include <QDialog>

class ItemGrid;
class QListWidget;
class QPushButton;

// "Column view": which columns of the item list's grid are shown, and in which order. The lists
// change the grid only when the user accepts them.
class frmGridCols : public QDialog {
    Q_OBJECT
public:
    explicit frmGridCols(QWidget* parent = nullptr);

    // Fills the lists from the grid's columns in index order: shown ones left, hidden ones right.
    void Init(ItemGrid& grid);

    void cmdUp_Click();
    void cmdDown_Click();
    void cmdRemove_Click();
    void cmdSelect_Click();
    void cmdSave_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Writes visibility and order to the grid.
    void ApplyColumns();
    // The Save button is enabled exactly while the lists hold changes; without changes OK takes the focus.
    void SetChanged(bool changed);
    [[nodiscard]] bool changed() const { return m_changed; }
    // The next hide or show acts on every entry of its list.
    [[nodiscard]] bool hideAll() const { return m_hideAll; }
    [[nodiscard]] bool showAll() const { return m_showAll; }

    QListWidget* lstIs = nullptr;  // "Displayed columns"
    QListWidget* lstNot = nullptr; // "Available colums"
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    // The checks before a move; false after telling the user why nothing moves.
    bool canMove(bool up);
    void shiftSelected(bool up);
    // Hide and show: the selected entries, or all when the flag is set, to the end of the other list.
    void moveSelected(bool& all, QListWidget* from, QListWidget* to, const char* emptyText);
    static void transfer(QListWidget* from, QListWidget* to);
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

    ItemGrid* m_grid = nullptr;
    bool m_changed = false;
    bool m_hideAll = false;
    bool m_showAll = false;
};
