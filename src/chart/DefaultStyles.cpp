#include "DefaultStyles.h"

#include "GanttData.h"

namespace {
// The look every standard date item style shares.
void setDateItemLook(ChartStyle& style) {
    style.kind = ChartStyle::ItemKind;
    style.borderAppearance = ChartStyle::Raised;
    style.verticalAlignment = ChartStyle::Centre;
    style.focusShown = true;
    style.clipCaption = true;
    style.captionIndent = 0;
}
} // namespace

void CreateDefaultStyles(GanttData& chart) {
    StyleCollection& styles = chart.styles();
    styles.add(QStringLiteral("Addon"));

    ChartStyle& resources = styles.add(QStringLiteral("Resources"));
    resources.kind = ChartStyle::RowKind;
    resources.font.name = QStringLiteral("Arial");
    resources.font.size = 10;

    setDateItemLook(styles.add(QStringLiteral("Date")));
    chart.settings().defaultItemStyle = QStringLiteral("Date");

    ChartStyle& fixed = styles.add(QStringLiteral("Date Fixed"));
    setDateItemLook(fixed);
    fixed.fixedItem = true;
    fixed.backColor = 0xFFFFC0;

    ChartStyle& pause = styles.add(QStringLiteral("Break"));
    setDateItemLook(pause);
    pause.fixedItem = true;
    pause.backColor = 0x000000;
    pause.foreColor = 0xFFFFFF;

    chart.headingColumns().add(QString(), 80);
    chart.redraw();
}
