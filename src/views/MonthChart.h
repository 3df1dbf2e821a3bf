#pragma once

#include "app/TimePoint.h"
#include "chart/GanttData.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

// The chart of a monthly overview: one row per day of a month (31 rows keyed "~r01" .. "~r31"), a
// time line of one day, and every booking of one resource cut at midnight into one bar per day it
// covers. A bar keeps the key of the booking it shows in its series-key field.
class MonthChart {
public:
    static constexpr int rowCount = 31;
    // The narrowest heading column; it grows where the locale's dates need more room.
    static constexpr int headingWidth = 100;
    // The width of the day on screen, in pixels: 20 for every hour.
    static constexpr int dayWidth = 480;
    // The one day the time line shows: time point 0, a Saturday.
    static constexpr TimePoint shownDay = TimePoint();

    MonthChart() = default;
    MonthChart(const MonthChart&) = delete;
    MonthChart& operator=(const MonthChart&) = delete;

    [[nodiscard]] GanttData& data() { return m_data; }
    [[nodiscard]] const GanttData& data() const { return m_data; }

    // The empty chart, once: the "Date" heading column, 31 rows of the given height, the two row styles,
    // the board's styles and the fixed settings (read-only, no bands, the core times of the day).
    void MakeGantt(const GanttData& board, int rowHeight);
    // Every style of the board under its own key, in the board's colours and a small font.
    void copyStyles(const GanttData& board);
    // Heading texts and bars of the month that holds `month`, for the resource with the key.
    void ReadItems(const GanttData& board, const QString& resourceKey, const QDate& month);
    // Whether a change of the booking may change what the chart shows: one of its bars is shown, or
    // it is a booking of the shown resource that reaches into the month.
    [[nodiscard]] bool concerns(const GanttData& board, const QString& key) const;
    // Brings the bars of one booking up to date after it was added, changed or deleted: the bars
    // ReadItems would give, without reading the month again.
    void updateBooking(const GanttData& board, const QString& key);

    // The width of the heading column MakeGantt chose.
    [[nodiscard]] int headingColumnWidth() const;
    // The first day of the shown month; invalid before the first ReadItems.
    [[nodiscard]] QDate month() const { return m_month; }
    // The day of a row (1-based) in a month; a day past the month's end rolls over into the next.
    [[nodiscard]] static QDate dayOfRow(const QDate& month, int position);
    [[nodiscard]] static QString rowKey(int day);
    // The heading of a day row: the short date, a blank and the abbreviated weekday name.
    [[nodiscard]] static QString headingText(const QDate& date);
    // The full month name, a comma, a blank and the four-digit year.
    [[nodiscard]] static QString monthCaption(const QDate& date);

private:
    void addStyles();
    [[nodiscard]] int widestHeading() const;
    void addRows(int rowHeight);
    void applySettings(int rowHeight);
    void writeHeadings();
    void addBars(const ChartItem& item);

    GanttData m_data;
    QDate m_month;
    TimePoint m_first; // the month's first midnight
    TimePoint m_end;   // the next month's first midnight
    QString m_resource;
    QHash<QString, QStringList> m_barsOf; // the bar keys of every booking shown
    int m_bars = 0;
};
