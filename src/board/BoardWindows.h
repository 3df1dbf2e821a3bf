#pragma once

#include "app/TimePoint.h"

#include <QString>
#include <functional>

class QWidget;
class frmMain;

// The windows the board opens that come from modules it does not link: the module that provides one
// plugs it in at start-up by setting its hook in frmMain::windows(). While a hook is empty the board
// says that the window is not available yet instead of opening it.
struct BoardWindows {
    // The styles dialog in mode 5 (resource styles) or 1 (date item styles), not modal.
    std::function<void(frmMain& board, int mode)> stylesDialog;
    // The item list, not modal.
    std::function<void(frmMain& board)> itemList;
    // A new monthly overview of the resource for the month of the time point, not modal.
    std::function<void(frmMain& board, const QString& resourceKey, TimePoint month)> monthlyOverview;
    // The series dialog of the item, modal over its owner.
    std::function<void(frmMain& board, const QString& itemKey, QWidget* owner)> seriesDialog;
};
