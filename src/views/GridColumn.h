#pragma once

#include "app/FontDescription.h"

#include <QString>

// One column of the item list's grid as a layout keeps it. The column's index is its place in the
// layout (the item table's column); its display position is its place from the left among all
// columns, 0-based.
struct GridColumn {
    enum Alignment { Left = 0, Right = 1, Center = 2, General = 3 }; // General: text left, dates right

    QString caption;
    bool visible = true;
    int displayPosition = 0;
    int width = 100; // pixels
    // "Short Date", "Short Time", "Medium Date", "Long Date", "General Date", "Long Time", or a date or
    // time pattern ("dd.MM.yyyy", "HH:mm"); empty shows the value's default text. Text ignores it.
    QString numberFormat;
    FontDescription font;
    quint32 backColor = 0xFFFFFF; // BGR
    quint32 foreColor = 0x000000; // BGR
    // Shows a run of equal neighbouring cells as one cell.
    bool merge = false;
    // The user may change the width (when the grid allows column sizing too).
    bool allowSizing = true;
    int alignment = General;

    bool operator==(const GridColumn&) const = default;
};
