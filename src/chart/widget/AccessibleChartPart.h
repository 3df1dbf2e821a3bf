#pragma once

#include <QAccessibleInterface>
#include <QPointer>
#include <QString>

class AccessibleChart;
class ChartItem;
class GanttChart;

// One row or one booking of a chart as assistive technology sees it, found again by its key on
// every question, so that it answers for what the chart shows now.
class AccessibleChartPart : public QAccessibleInterface {
public:
    enum class Kind { Row, Booking };

    AccessibleChartPart(GanttChart* chart, Kind kind, const QString& key);

    [[nodiscard]] bool isValid() const override;
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override;
    [[nodiscard]] QAccessibleInterface* parent() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int childCount() const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::Role role() const override;
    [[nodiscard]] QAccessible::State state() const override;

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const QString& key() const { return m_key; }

private:
    [[nodiscard]] AccessibleChart* chartInterface() const;
    // The row's index in the chart, -1 when it is gone.
    [[nodiscard]] int rowIndex() const;
    [[nodiscard]] ChartItem* booking() const;
    // The bookings of the row in the shown time range, ordered by start.
    [[nodiscard]] std::vector<ChartItem*> shownBookings() const;

    QPointer<GanttChart> m_chart;
    Kind m_kind;
    QString m_key;
};
