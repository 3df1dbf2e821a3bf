#pragma once

#include "app/TimePoint.h"

#include <QString>

class ChartItem;
class QWidget;

// What the item editor, the resources dialog and the resource menu need from the planning board.
// The board implements it; the editing windows never see the board itself.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    // The board window: owner of the editor and of the dialogs opened from it.
    [[nodiscard]] virtual QWidget* boardWindow() = 0;

    // The gate of every editing command: false in read-only mode, else marks the timetable changed.
    virtual bool SetDirty() = 0;
    // Ignored in read-only mode.
    virtual void setDirty(bool dirty) = 0;

    // Position of the chart row last clicked; negative while none was clicked.
    [[nodiscard]] virtual int GantRow() const = 0;
    virtual void setGantRow(int position) = 0;
    // The first time point the board's chart shows.
    [[nodiscard]] virtual TimePoint firstShownTime() const = 0;
    // Whether the item's bar lies in the part of the board's chart that is on screen.
    [[nodiscard]] virtual bool isItemShown(const ChartItem& item) const = 0;

    // The window activation of the board, run when the last editing window closes.
    virtual void activateBoard() = 0;

    // Windows above the editing layer. Each answers false while the window does not exist yet.
    virtual bool openMonthlyOverview(const QString& rowKey, TimePoint month) = 0;
};
