#pragma once

#include "app/TimePoint.h"
#include "chart/ChartRow.h"
#include "chart/ChartSettings.h"
#include "chart/ChartStyle.h"
#include "chart/HeadingColumn.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class ChartItem;
class GanttData;

// Detached copies of what a timetable holds, by value: a history step keeps them instead of pointers
// or storage places, so that it survives any change of how the chart stores its content.
namespace TimetableValues {

struct Item {
    QString key;
    QString rowKey;
    TimePoint start;
    TimePoint end;
    QString caption;
    QString text;
    QString styleKey;
    QString picture;
    QString addOnData;
    QString seriesKey;
    int movementLock = 0;
    QString addTag;
    QString tag;

    [[nodiscard]] static Item of(const ChartItem& item);
    [[nodiscard]] bool sameAs(const ChartItem& item) const;
    // Everything but the key, which the chart sets when it adds the item.
    void applyTo(ChartItem& item) const;
    // Adds the item at the end of the chart's items.
    ChartItem& addTo(GanttData& chart) const;
    bool operator==(const Item&) const = default;
};

struct Row {
    QString key;
    QString caption;
    QString styleKey;
    QString picture;
    int height = 0;
    std::vector<ChartRow::Cell> cells;

    [[nodiscard]] static Row of(const ChartRow& row);
    void applyTo(ChartRow& row) const;
    ChartRow& addTo(GanttData& chart) const;
    bool operator==(const Row&) const = default;
};

struct Style {
    QString key;
    std::shared_ptr<const ChartStyle> look; // shared between the steps that hold the same look

    [[nodiscard]] static Style of(const ChartStyle& style);
    ChartStyle& addTo(GanttData& chart) const;
    bool operator==(const Style& other) const;
};

// The content a history step may change, in the chart's order.
struct Content {
    std::vector<Item> items;
    std::vector<Row> rows;
    std::vector<Style> styles;
    std::vector<HeadingColumn> columns;
    ChartSettings settings;

    [[nodiscard]] static Content of(const GanttData& chart);
    // All but the bookings, which are many: a history keeps only those that changed.
    [[nodiscard]] static Content withoutItems(const GanttData& chart);
    bool operator==(const Content&) const = default;
};

// The settings that belong to the timetable rather than to what its window shows at the moment.
[[nodiscard]] ChartSettings timetableSettings(const ChartSettings& settings);
// Stores the timetable settings, keeping what the window shows.
void applySettings(GanttData& chart, const ChartSettings& settings);
[[nodiscard]] std::vector<HeadingColumn> columnsOf(const GanttData& chart);
void applyColumns(GanttData& chart, const std::vector<HeadingColumn>& columns);
[[nodiscard]] std::vector<Row> rowsOf(const GanttData& chart);
[[nodiscard]] std::vector<Style> stylesOf(const GanttData& chart);

} // namespace TimetableValues
