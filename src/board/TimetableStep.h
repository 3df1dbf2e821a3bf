#pragma once

#include "TimetableValues.h"

#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class clsItems;
class GanttData;
class ItemJournal;

// One step of the timetable's history: the values before and after of everything one user action
// touched (bookings, resources, styles, heading columns, settings), with the 1-based positions they
// had. It applies itself in either direction through the chart's and the item table's public
// functions, so that every view hears of each booking as it hears of a change made by hand.
class TimetableStep {
public:
    template <typename T> struct Change {
        std::optional<T> before;
        std::optional<T> after;
        int beforePosition = 0;
        int afterPosition = 0;
    };

    // What changed from the content the chart had after the previous step to its present content:
    // `before` holds all of that content but the bookings, which the journal tells. Throws AppError
    // when the journal cannot tell the values a booking had.
    [[nodiscard]] static TimetableStep between(const TimetableValues::Content& before,
                                               const ItemJournal& journal, const GanttData& chart);

    [[nodiscard]] bool empty() const;
    // Names the step for the undo and redo commands: "move of 'Workshop'".
    [[nodiscard]] QString caption() const;
    // A close estimate of the memory the step holds.
    [[nodiscard]] std::size_t bytes() const;
    [[nodiscard]] bool touchesStyles() const { return !m_styles.empty(); }

    // Whether the chart holds the state the step leaves (`forward` false) or starts from (true), as
    // far as the step touched it: a step is applied whole or not at all.
    [[nodiscard]] bool fits(const GanttData& chart, bool forward) const;
    // Takes the chart to the state before (`forward` false) or after the step; every booking goes
    // through the item table with the sender ID.
    void apply(GanttData& chart, clsItems& items, const QString& senderId, bool forward) const;
    // Takes the same way a copy of the content but the bookings that the chart had on the other side
    // of the step.
    void applyTo(TimetableValues::Content& content, const GanttData& chart, bool forward) const;

    [[nodiscard]] const std::vector<Change<TimetableValues::Item>>& items() const { return m_items; }

private:
    void diffItems(const ItemJournal& journal, const GanttData& chart);
    void diffItemsByKey(const ItemJournal& journal, const GanttData& chart);
    void applyStyles(GanttData& chart, clsItems& items, const QString& senderId, bool forward) const;
    void applyItems(GanttData& chart, clsItems& items, const QString& senderId, bool forward) const;
    void applyRows(GanttData& chart, bool forward) const;
    [[nodiscard]] QString itemCaption() const;
    [[nodiscard]] QString rowCaption() const;
    [[nodiscard]] QString styleCaption() const;

    std::vector<Change<TimetableValues::Item>> m_items;
    std::vector<Change<TimetableValues::Row>> m_rows;
    std::vector<Change<TimetableValues::Style>> m_styles;
    // Rare and large: held apart, so that the many small steps stay small.
    std::shared_ptr<const std::pair<std::vector<HeadingColumn>, std::vector<HeadingColumn>>> m_columns;
    std::shared_ptr<const std::pair<ChartSettings, ChartSettings>> m_settings;
};
