#pragma once

#include <QByteArray>
#include <QString>

class GanttData;

// The plain-text views of a timetable that qunta-tool prints.
class TimetableReport {
public:
    explicit TimetableReport(const GanttData& chart)
        : m_chart(chart) {}

    // "resources: N", "items: N", "styles: N", "series: N", "conflicts: N", one per line.
    [[nodiscard]] QByteArray summary() const;
    // One line per item in the chart's order:
    // key;resource caption;caption;start;end;style key;series key;text
    [[nodiscard]] QByteArray itemLines() const;
    // Pairs of items of one resource that collide.
    [[nodiscard]] qint64 conflictPairs() const;

private:
    const GanttData& m_chart;
};
