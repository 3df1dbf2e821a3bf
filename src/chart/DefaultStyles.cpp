#include "DefaultStyles.h"

#include "GanttData.h"

namespace {
const QString addonStyleKey = QStringLiteral("Addon");
} // namespace

void SetResourceLook(ChartStyle& style) {
    style.kind = ChartStyle::RowKind;
    style.font.name = QStringLiteral("Arial");
    style.font.size = 10;
}

void SetDateItemLook(ChartStyle& style) {
    style.kind = ChartStyle::ItemKind;
    style.borderAppearance = ChartStyle::Raised;
    style.verticalAlignment = ChartStyle::Centre;
    style.focusShown = true;
    style.clipCaption = true;
    style.captionIndent = 0;
}

void CreateDefaultStyles(GanttData& chart) {
    StyleCollection& styles = chart.styles();
    styles.add(addonStyleKey);

    SetResourceLook(styles.add(QStringLiteral("Resources")));

    SetDateItemLook(styles.add(QStringLiteral("Date")));
    chart.settings().defaultItemStyle = QStringLiteral("Date");

    ChartStyle& fixed = styles.add(QStringLiteral("Date Fixed"));
    SetDateItemLook(fixed);
    fixed.fixedItem = true;
    fixed.backColor = 0xFFFFC0;

    ChartStyle& pause = styles.add(QStringLiteral("Break"));
    SetDateItemLook(pause);
    pause.fixedItem = true;
    pause.backColor = 0x000000;
    pause.foreColor = 0xFFFFFF;

    chart.headingColumns().add(QString(), 80);
    chart.redraw();
}

bool IsDrawingStyle(const ChartStyle& style, int kind) {
    return style.kind == kind && style.key() != addonStyleKey;
}
