#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QString>

class ChartItem;
class GanttChart;

// What assistive technology sees of a chart: a tree of its rows, each holding the bookings it shows
// in the shown time range. The focus child is the current booking, or the current row without one.
// Parts are made on demand and kept by key, so that a part keeps its identity while it exists.
class AccessibleChart : public QAccessibleWidget {
public:
    explicit AccessibleChart(GanttChart* chart);
    ~AccessibleChart() override;

    // Makes charts answer with this interface; once per program is enough, more do no harm.
    static void install();
    // Tells assistive technology which booking or row is current now.
    static void currentChanged(GanttChart& chart);
    // "caption, resource, start - end"
    [[nodiscard]] static QString bookingName(const ChartItem& item, const QString& resource);

    [[nodiscard]] GanttChart* chart() const;
    // The part of the row (0-based index) or the booking with the key; nullptr for none.
    [[nodiscard]] QAccessibleInterface* rowPart(int index) const;
    [[nodiscard]] QAccessibleInterface* bookingPart(const QString& key) const;

    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

private:
    [[nodiscard]] QAccessibleInterface* part(bool row, const QString& key) const;

    mutable QHash<QString, QAccessible::Id> m_rows;
    mutable QHash<QString, QAccessible::Id> m_bookings;
};
