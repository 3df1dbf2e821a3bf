#pragma once

#include "app/FontDescription.h"

// Colours of a group of rows; BGR values.
struct GridRowStyle {
    quint32 backColor = 0xFFFFFF;
    quint32 foreColor = 0x000000;

    bool operator==(const GridRowStyle&) const = default;
};

// How the item list's grid looks and behaves apart from its columns. The value ranges are the ones
// the layout settings offer; GridLayout keeps every value inside them.
struct GridOptions {
    enum MultipleLines { SingleLine = 0, VariableLines = 1, FixedLines = 2 };
    enum MarqueeStyle {
        DottedCellBorder = 0,
        SolidCellBorder = 1,
        HighlightCell = 2,
        SelectedRow = 3,
        HighlightRow = 4,
        NoMarquee = 5,
        FloatingEditor = 6
    };
    enum TabAction { ControlNavigation = 0, ColumnNavigation = 1, GridNavigation = 2 };
    enum MultiSelect { NoMultiSelect = 0, SimpleMultiSelect = 1, ExtendedMultiSelect = 2 };
    enum RowDivider {
        NoDivider = 0,
        BlackLine = 1,
        DarkGrayLine = 2,
        Raised = 3,
        Inset = 4,
        ForeColorLine = 5,
        LightGrayLine = 6
    };

    int multipleLines = SingleLine;
    int marqueeStyle = HighlightRow;
    int tabAction = ControlNavigation;
    int multiSelect = ExtendedMultiSelect;
    int rowDividerStyle = LightGrayLine;
    bool alternatingRowStyle = false;
    // Column sizing by the user for the whole split; each column has its own permission as well.
    bool allowSizing = true;
    bool allowRowSizing = false;
    bool allowColMove = true;
    // Kept for the layout settings, which show them; the grid always moves with the cursor keys,
    // keeps Tab inside its one split and does not wrap at the row end.
    bool allowArrows = true;
    bool tabAcrossSplits = false;
    bool wrapCellPointer = false;
    // Pixels; 0 takes the height of the fonts.
    int rowHeight = 0;
    FontDescription font;

    GridRowStyle normal;
    GridRowStyle selected{0xD77800, 0xFFFFFF};
    GridRowStyle highlightRow{0xF7E6CC, 0x000000};
    GridRowStyle evenRow{0xFFFFFF, 0x000000};
    GridRowStyle oddRow{0xF5F0EB, 0x000000};

    bool operator==(const GridOptions&) const = default;
};
