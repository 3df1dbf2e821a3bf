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
    // A new monthly overview of the resource for the month of the time point, not modal.
    std::function<void(frmMain& board, const QString& resourceKey, TimePoint month)> monthlyOverview;
};
