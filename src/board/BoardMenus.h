#pragma once

#include <QObject>
#include <QString>
#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The board's menu bar, context menus and toolbar. Entries keep the indexes of their menus (the
// separators take the remaining ones), so that every click reaches the board as a menu and an index,
// and every toolbar button as its key.
class BoardMenus : public QObject {
    Q_OBJECT
public:
    static constexpr int zoomEntries = 16;
    static constexpr int recentEntries = 5;

    explicit BoardMenus(QMainWindow* board);

    // The toolbar button with that key ("exit", "help", ... "del"); nullptr for an unknown key.
    [[nodiscard]] QAction* toolButton(const QString& key) const;
    [[nodiscard]] static const std::array<const char*, 17>& toolKeys();

    QMenu* mFile;
    QMenu* mEdit;
    QMenu* mStyles;
    QMenu* mView;
    QMenu* mZoom;
    QMenu* mOptions;
    QMenu* mHelp;
    QMenu* mItem;
    QMenu* mRow;
    QToolBar* tbToolBar;

    std::array<QAction*, 7> mFileI{}; // 0 new, 2 load, 4 save, 5 save as; 1, 3, 6 separators
    std::array<QAction*, 7> mMRUi{};  // 1-5 the recent files, 6 their separator; 0 unused
    QAction* mPrintI0;
    QAction* mQuit;
    std::array<QAction*, 11>
        mEditI{};       // 0 new item, 2 add resource, 4 styles, 6 undo, 8 delete item, 10 delete resource
    QAction* mUndoStep; // the last entries of the edit menu, after a separator
    QAction* mRedoStep;
    std::array<QAction*, 2> mStyleI{}; // 0 resource styles, 1 date item styles
    std::array<QAction*, 9>
        mViewI{}; // 0 calendar, 1 detail, 2 utilisation, 3 table, 5 resolution, 7 forward, 8 backward
    std::array<QAction*, zoomEntries> mZoomI{};
    std::array<QAction*, 3> mOptI{};
    std::array<QAction*, 9> mHelpI{}; // 0 manual, 1 memo, 3 about, 5 web, 6 e-mail, 8 remote control
    std::array<QAction*, 1> mItemI{};
    std::array<QAction*, 7> mRowI{}; // 0 monthly overview, 2 settings, 4 delete, 6 height for everything

signals:
    void fileClicked(int index);
    void recentClicked(int index);
    void printClicked();
    void quitClicked();
    void editClicked(int index);
    void undoStepClicked();
    void redoStepClicked();
    void stylesClicked(int index);
    void viewClicked(int index);
    void zoomClicked(int index);
    void optionsClicked(int index);
    void helpClicked(int index);
    void itemMenuClicked(int index);
    void rowMenuClicked(int index);
    void toolbarClicked(const QString& key);

private:
    template <std::size_t N>
    void fill(QMenu* menu, std::array<QAction*, N>& entries, const std::array<const char*, N>& captions,
              void (BoardMenus::*signal)(int));
};
