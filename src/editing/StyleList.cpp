#include "StyleList.h"

#include "app/ui/ColorComboBox.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"

void FillStyleList(ColorComboBox& list, const GanttData& chart, int kind) {
    list.clear();
    const StyleCollection& styles = chart.styles();
    for (int position = 1; position <= styles.count(); ++position) {
        const ChartStyle* style = styles.byPosition(position);
        if (style != nullptr && IsDrawingStyle(*style, kind))
            list.addColourEntry(style->key(), style->key(), style->backColor);
    }
}
