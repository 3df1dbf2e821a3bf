#pragma once

class ColorComboBox;
class GanttData;

// Fills a style list with every style of the kind (1 date items, 5 resources) in the chart's order,
// each entry keyed and named by the style's key and drawn with its background colour.
void FillStyleList(ColorComboBox& list, const GanttData& chart, int kind);
