#pragma once

#include "app/FontDescription.h"

#include <QString>
#include <QtGlobal>

// The look of rows (kind 5) or items (kind 1). Colours are BGR values (0x00BBGGRR). The key is the
// style's name, unique among all styles and never purely numeric; it never changes.
class ChartStyle {
public:
    enum Kind { ItemKind = 1, RowKind = 5 };
    enum BorderAppearance { Raised = 0, Flat = 2 };
    enum Alignment { Left = 1, Top = 1, Centre = 2, Right = 3, Bottom = 3 };

    ChartStyle() = default;
    // A copy is a detached snapshot; assigning would give a chart's style another identity, so
    // assignProperties copies the look instead.
    ChartStyle(const ChartStyle&) = default;
    ChartStyle& operator=(const ChartStyle&) = delete;

    [[nodiscard]] const QString& key() const { return m_key; }
    [[nodiscard]] int position() const;

    int kind = ItemKind;
    bool fixedItem = false; // "Fix date item": items of this style may not be moved
    quint32 backColor = 0xE0E0E0;
    quint32 foreColor = 0x000000;
    FontDescription font;
    int borderShown = 1;            // 0 no, 1 yes
    int borderAppearance = Flat;    // 0 raised (3D), 2 flat
    int horizontalAlignment = Left; // 1 left, 2 centre, 3 right
    int verticalAlignment = Top;    // 1 top, 2 centre, 3 bottom
    bool focusShown = false;        // frame around the selected item
    int focusDistanceX = 0;         // gap between bar and focus frame, pixels
    int focusDistanceY = 0;
    bool clipCaption = false; // caption cut at the bar's edges instead of running over
    int captionIndent = 0;    // pixels between the bar's edge and its caption
    QString freeText;         // any text; the style "Addon" carries the add-on data in it

    // Every property but the key.
    [[nodiscard]] bool sameProperties(const ChartStyle& other) const;
    void assignProperties(const ChartStyle& other);

private:
    friend class GanttContent;
    friend class StyleCollection;
    QString m_key;
    int m_index = -1; // 0-based place in the style collection
};
