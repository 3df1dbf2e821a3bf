#pragma once

#include "MonthChart.h"
#include "app/TimePoint.h"
#include "model/iMessenger.h"

#include <QDate>
#include <QWidget>
#include <array>

class ChartItem;
class GanttChart;
class MonthViewHost;
class QLabel;
class QPushButton;
class QToolButton;

// The monthly overview of one resource: a read-only chart with a row for every day of a month and
// the resource's bookings cut at midnight into one bar per day. It steps from month to month,
// prints, moves the board to a double-clicked day and selects a double-clicked booking on it. As a
// messenger of the item table it follows every change at once and closes when another timetable is
// loaded.
class frmMonthView : public QWidget, public iMessenger {
    Q_OBJECT
public:
    enum Move { PreviousMonth = 0, NextMonth = 1 };

    // Builds the empty month chart and registers with the item table.
    frmMonthView(MonthViewHost& host, QWidget* owner);
    ~frmMonthView() override;

    // A new overview of the resource for the month of the time point, shown not modal above its
    // owner and deleted when it closes.
    static frmMonthView* open(MonthViewHost& host, QWidget* owner, const QString& resourceKey,
                              TimePoint month);

    [[nodiscard]] QString MessengerID() const { return m_id; }
    // Shows the month of the time point: the label first, then the bars.
    void setThisMonth(TimePoint month);
    // The resource whose bookings are shown; it titles the window but reads no bars.
    void setRessourceID(const QString& key);
    void ReadItems();

    void cmdMove_Click(int index);
    // Prints the month chart at its size on screen.
    void cmdPrint_Click();
    // The board moves to the day of the row under the point; nothing happens below the last row.
    void cntAC_ClientAreaDblClick(const QPoint& position);
    // The board selects the booking the bar shows.
    void cntAC_GanttItemDblClick(const ChartItem& bar);
    // The span of the bar's booking, then its caption and its text, each on a line of its own.
    void cntAC_GanttItemTipText(QString& text, const ChartItem& bar) const;

    [[nodiscard]] GanttChart* chart() const { return cntAC; }
    [[nodiscard]] const MonthChart& monthChart() const { return m_month; }
    [[nodiscard]] QString monthLabel() const;

    // iMessenger
    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override;
    void ItemDeleteAfter(QString key, QString senderId) override;
    void ItemChanged(QString key, QString senderId) override;
    void ItemAdded(QString key, QString senderId) override;
    void ItemsChanged() override;
    [[nodiscard]] QString ID() const override { return m_id; }
    void ItemSelected(QString key, QString senderId) override;
    void RowsChanged() override;
    void RowStylesChanged() override;
    void ItemStylesChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void fitToChart(int rowHeight);
    void connectChart();
    void MakeGantt(int rowHeight);
    void updateTitle();
    void followBooking(const QString& key);
    void unregister();

    MonthViewHost& m_host;
    QString m_id;
    QString m_resource;
    QDate m_thisMonth;
    MonthChart m_month;
    GanttChart* cntAC = nullptr;
    QLabel* lblActMonth = nullptr;
    std::array<QToolButton*, 2> cmdMove{};
    QPushButton* cmdPrint = nullptr;
};
