#pragma once

#include "GridLayout.h"
#include "app/ui/ButtonBarDialog.h"

#include <QPointer>
#include <array>
#include <functional>
#include <vector>

class ItemGrid;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

// "Layout settings": the options, colours and fonts of the item list's grid and the caption, number
// format, font and colours of its columns. Every change shows on the grid at once; the sizing
// permissions wait for the bar's store. Dropping the changes reloads the grid from its layout file.
class frmGridLayout : public ButtonBarDialog {
    Q_OBJECT
public:
    // The first option of each group: the option's index is the group's first plus the value.
    enum OptionGroup {
        MultipleLinesFirst = 0,
        MarqueeFirst = 3,
        TabActionFirst = 10,
        MultiSelectFirst = 13,
        RowDividerFirst = 16
    };
    static constexpr int optionCount = 23;
    enum Check {
        AlternatingRows = 0,
        ColumnSizing = 1,
        RowSizing = 2,
        ColumnMoving = 3,
        CursorKeys = 5,
        SplitChange = 6,
        RowChange = 7
    };
    enum Command { GridFont = 0, ColumnFont = 9, ColumnBackColor = 10, ColumnForeColor = 11 };
    enum Field { CaptionField = 0, FormatField = 1 };

    explicit frmGridLayout(QWidget* parent = nullptr);
    ~frmGridLayout() override;

    // The dialog for the grid, modal over the owner, deleted when it closes.
    static frmGridLayout* Open(ItemGrid& grid, QWidget* owner);

    void Init(ItemGrid& grid);
    // Fills every control from the grid; the dialog is unchanged afterwards.
    void ReadFromGrid();
    // Writes the column sizing, row sizing and column moving permissions to the grid.
    void ApplySizing();
    // The font dialog preset with the font; true, with the font replaced, when the user chose one.
    bool ChooseFont(FontDescription& font);
    // Font or colour for the columns selected in the list: one dialog, preset from the first of them.
    void ChooseColumnFont();
    void ChooseColumnBackColor();
    void ChooseColumnForeColor();
    // Reloads the grid's layout from its layout file; the layout last stored here when that fails.
    void DiscardChanges();

    // Control events as the user gives them
    void opt_Click(int index);
    void chk_Click(int index);
    void cmd_Click(int index);
    void lsCols_Click();
    void tx_Change(int index);

    QTabWidget* tabs = nullptr;
    std::array<QRadioButton*, optionCount> opt{};
    std::array<QCheckBox*, 8> chk{}; // no index 4
    std::array<QPushButton*, 14> cmd{};
    QListWidget* lsCols = nullptr;
    std::array<QLineEdit*, 2> tx{};
    // Why the format field's text is not used, or empty.
    QLabel* lblFormatProblem = nullptr;

protected:
    void store(int& cancel) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildColumnsTab();
    QWidget* buildOtherTab();
    QWidget* buildColours(QWidget* owner);
    void buildTabOrder();
    // Changes the grid's live layout; the dialog is changed.
    void edit(const std::function<void(GridLayout&)>& change);
    void chooseColour(int index);
    void chooseColumnColour(quint32 GridColumn::*colour);
    [[nodiscard]] std::vector<int> selectedColumns() const;
    [[nodiscard]] QString formatProblem(const QString& format) const;
    void enableRowColours(bool alternating);
    void showColours();

    QPointer<ItemGrid> m_grid;
    // The number format the current column had when it was chosen: what it shows while the field holds
    // one that cannot be used.
    QString m_columnFormat;
    // The layout the grid had after Init or the last store: what a failed reload falls back to.
    GridLayout m_stored;
    bool m_focusPlaced = false;
};
