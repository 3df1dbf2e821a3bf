#include "TimetableValues.h"

#include "chart/GanttData.h"

namespace TimetableValues {

Item Item::of(const ChartItem& item) {
    return {item.key(),          item.rowKey(),   item.start(),   item.end(),       item.caption(),
            item.text(),         item.styleKey(), item.picture(), item.addOnData(), item.seriesKey(),
            item.movementLock(), item.addTag(),   item.tag()};
}

bool Item::sameAs(const ChartItem& item) const {
    return start == item.start() && end == item.end() && movementLock == item.movementLock() &&
           rowKey == item.rowKey() && caption == item.caption() && text == item.text() &&
           styleKey == item.styleKey() && picture == item.picture() && addOnData == item.addOnData() &&
           seriesKey == item.seriesKey() && addTag == item.addTag() && tag == item.tag();
}

void Item::applyTo(ChartItem& item) const {
    if (item.rowKey() != rowKey)
        item.setRowKey(rowKey);
    item.setSpan(start, end);
    item.setCaption(caption);
    item.setText(text);
    item.setStyleKey(styleKey);
    item.setPicture(picture);
    item.setAddOnData(addOnData);
    item.setSeriesKey(seriesKey);
    item.setMovementLock(movementLock);
    item.setAddTag(addTag);
    item.setTag(tag);
}

ChartItem& Item::addTo(GanttData& chart) const {
    ChartItem& item = chart.items().add(caption, rowKey, start, end, key, styleKey, picture, addTag);
    applyTo(item);
    return item;
}

Row Row::of(const ChartRow& row) {
    return {row.key(), row.caption, row.styleKey, row.picture, row.height, row.cells};
}

void Row::applyTo(ChartRow& row) const {
    row.caption = caption;
    row.styleKey = styleKey;
    row.picture = picture;
    row.height = height;
    row.cells = cells;
}

ChartRow& Row::addTo(GanttData& chart) const {
    ChartRow& row = chart.rows().add(key, caption, styleKey, picture, height);
    row.cells = cells;
    return row;
}

Style Style::of(const ChartStyle& style) {
    return {style.key(), std::make_shared<const ChartStyle>(style)};
}

ChartStyle& Style::addTo(GanttData& chart) const {
    ChartStyle& style = chart.styles().add(key);
    style.assignProperties(*look);
    return style;
}

bool Style::operator==(const Style& other) const {
    return key == other.key && look->sameProperties(*other.look);
}

Content Content::of(const GanttData& chart) {
    Content content = withoutItems(chart);
    const ItemCollection& items = chart.items();
    content.items.reserve(std::size_t(items.count()));
    for (int position = 1; position <= items.count(); ++position)
        content.items.push_back(Item::of(*items.byPosition(position)));
    return content;
}

Content Content::withoutItems(const GanttData& chart) {
    Content content;
    content.rows = rowsOf(chart);
    content.styles = stylesOf(chart);
    content.columns = columnsOf(chart);
    content.settings = timetableSettings(chart.settings());
    return content;
}

ChartSettings timetableSettings(const ChartSettings& settings) {
    ChartSettings kept = settings;
    const ChartSettings shown;
    kept.scale = shown.scale;
    kept.firstShownTime = shown.firstShownTime;
    kept.firstShownRow = shown.firstShownRow;
    kept.allowAdd = shown.allowAdd;
    kept.allowEdit = shown.allowEdit;
    return kept;
}

void applySettings(GanttData& chart, const ChartSettings& settings) {
    ChartSettings& target = chart.settings();
    const ChartSettings shown = target;
    target = settings;
    target.scale = shown.scale;
    target.firstShownTime = shown.firstShownTime;
    target.firstShownRow = shown.firstShownRow;
    target.allowAdd = shown.allowAdd;
    target.allowEdit = shown.allowEdit;
}

std::vector<HeadingColumn> columnsOf(const GanttData& chart) {
    std::vector<HeadingColumn> columns;
    for (int position = 1; position <= chart.headingColumns().count(); ++position)
        columns.push_back(*chart.headingColumns().byPosition(position));
    return columns;
}

void applyColumns(GanttData& chart, const std::vector<HeadingColumn>& columns) {
    // Only the columns themselves: the rows' cells are restored with the rows.
    HeadingColumnCollection& target = chart.headingColumns();
    while (target.count() > int(columns.size()))
        target.remove(target.count());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (HeadingColumn* column = target.byPosition(int(i) + 1))
            *column = columns[i];
        else
            target.add(columns[i].caption, columns[i].width, columns[i].styleKey);
    }
}

std::vector<Row> rowsOf(const GanttData& chart) {
    std::vector<Row> rows;
    rows.reserve(std::size_t(chart.rows().count()));
    for (int position = 1; position <= chart.rows().count(); ++position)
        rows.push_back(Row::of(*chart.rows().byPosition(position)));
    return rows;
}

std::vector<Style> stylesOf(const GanttData& chart) {
    std::vector<Style> styles;
    styles.reserve(std::size_t(chart.styles().count()));
    for (int position = 1; position <= chart.styles().count(); ++position)
        styles.push_back(Style::of(*chart.styles().byPosition(position)));
    return styles;
}

} // namespace TimetableValues
