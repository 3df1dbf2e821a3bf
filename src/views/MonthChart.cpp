#include "MonthChart.h"

#include "app/ui/ChartFont.h"
#include "model/ChartBatch.h"

#include <QFontMetrics>
#include <QLocale>
#include <algorithm>

namespace {
const QString rowHeaderStyle = QStringLiteral("~RowHeaderStyle");
const QString rowStyle = QStringLiteral("~RowStyle");
constexpr std::int64_t hour = 3600;
constexpr int saturday = 5; // in the core time table, Monday first

void giveRowLook(ChartStyle& style) {
    style.kind = ChartStyle::RowKind;
    style.backColor = 0xFFFFFF;
    style.foreColor = 0x000000;
    style.font.size = 8;
    style.borderShown = 1;
    style.borderAppearance = ChartStyle::Flat;
    style.horizontalAlignment = ChartStyle::Left;
    style.verticalAlignment = ChartStyle::Centre;
}
} // namespace

void MonthChart::MakeGantt(const GanttData& board, int rowHeight) {
    const ChartBatch batch(m_data);
    addStyles();
    m_data.headingColumns().add(QStringLiteral("Date"), std::max(headingWidth, widestHeading()),
                                rowHeaderStyle);
    addRows(rowHeight);
    applySettings(rowHeight);
    copyStyles(board);
}

void MonthChart::addStyles() {
    giveRowLook(m_data.styles().add(rowHeaderStyle));
    giveRowLook(m_data.styles().add(rowStyle));
}

int MonthChart::widestHeading() const {
    const QFontMetrics metrics(ChartFont::toQFont(m_data.styles().get(rowStyle).font));
    const QLocale locale;
    // The widest date of any month with the widest weekday name of any day.
    int date = 0;
    for (int month = 1; month <= 12; ++month)
        date = std::max(
            date, metrics.horizontalAdvance(TimePoint::fromDate(QDate(2000, month, 28)).shortDate(locale)));
    int weekday = 0;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        weekday = std::max(weekday, metrics.horizontalAdvance(locale.dayName(day, QLocale::ShortFormat)));
    constexpr int padding = 12; // the cell's text margins and its border
    return date + metrics.horizontalAdvance(QLatin1Char(' ')) + weekday + padding;
}

int MonthChart::headingColumnWidth() const {
    const HeadingColumn* column = m_data.headingColumns().byPosition(1);
    return column ? column->width : headingWidth;
}

void MonthChart::addRows(int rowHeight) {
    for (int day = 1; day <= rowCount; ++day) {
        ChartRow& row = m_data.rows().add(rowKey(day), QString(), QString(), QString(), rowHeight);
        row.setCell(1, QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')), rowStyle);
    }
}

void MonthChart::applySettings(int rowHeight) {
    ChartSettings& s = m_data.settings();
    s.allowAdd = false;
    s.allowEdit = false;
    s.allowRowSize = false;
    s.allowRowSwap = false;
    s.allowRowHeadingSwap = false;
    s.allowRowHeadingSize = false;
    s.allowFixedColumnSize = false;
    s.allowTimelineScroll = false;
    s.detectConflicts = false;
    s.scrollBarsVisible = false;
    s.showUpperBand = false;
    s.showLowerBand = false;
    s.showTimeline = false;
    s.borderStyle = ChartSettings::NoLine;
    s.timeCaptionFormat = QStringLiteral("hh:nn ");
    s.scale = 10;
    s.gridInterval = QStringLiteral("1h");
    s.snapToGrid = false;
    s.defaultRowHeight = rowHeight;
    s.firstShownTime = shownDay;
    s.firstShownRow = 1;
    // Every row shows the same Saturday: it must look like any other day.
    for (int day = 0; day < ChartSettings::calendarIndexCount(ChartSettings::WeekdayCalendar); ++day)
        s.setCalendarColour(ChartSettings::WeekdayCalendar, ChartSettings::BackgroundColour, day, 0xFFFFFF);
    s.coreTimes = {};
    s.coreTimes[saturday][0] = CoreTimePeriod{int(6 * hour), int(12 * hour)};
    s.coreTimes[saturday][1] = CoreTimePeriod{int(18 * hour), 0};
    s.markCoreTimes = true;
}

void MonthChart::copyStyles(const GanttData& board) {
    const ChartBatch batch(m_data);
    for (int position = m_data.styles().count(); position >= 1; --position) {
        const QString key = m_data.styles().byPosition(position)->key();
        if (key != rowHeaderStyle && key != rowStyle)
            m_data.styles().remove(key);
    }
    for (int position = 1; position <= board.styles().count(); ++position) {
        const ChartStyle& source = *board.styles().byPosition(position);
        if (m_data.styles().byKey(source.key()))
            continue;
        ChartStyle& copy = m_data.styles().add(source.key());
        copy.kind = source.kind;
        copy.backColor = source.backColor;
        copy.foreColor = source.foreColor;
        copy.font.size = 6;
        copy.borderShown = 1;
        copy.borderAppearance = ChartStyle::Flat;
        copy.horizontalAlignment = ChartStyle::Left;
        copy.verticalAlignment = ChartStyle::Centre;
        // Bars of an hour are narrow: a caption runs on up to the next bar.
        copy.clipCaption = false;
    }
}

void MonthChart::ReadItems(const GanttData& board, const QString& resourceKey, const QDate& month) {
    if (!month.isValid())
        return;
    m_month = QDate(month.year(), month.month(), 1);
    m_first = TimePoint::fromDate(m_month);
    m_end = TimePoint::fromDate(m_month.addMonths(1));
    m_resource = resourceKey;
    m_barsOf.clear();
    m_bars = 0;
    const ChartBatch batch(m_data);
    writeHeadings();
    m_data.items().clear();
    // From a second before the month: a booking of no length at its first midnight is found too.
    for (const ChartItem* item : board.itemsInRange(resourceKey, m_first.addSeconds(-1), m_end))
        addBars(*item);
}

void MonthChart::writeHeadings() {
    const int days = m_month.daysInMonth();
    for (int day = 1; day <= rowCount; ++day) {
        if (ChartRow* row = m_data.rows().byKey(rowKey(day)))
            row->setCell(1, day <= days ? headingText(dayOfRow(m_month, day)) : QString(), rowStyle);
    }
}

void MonthChart::updateBooking(const GanttData& board, const QString& key) {
    if (!m_month.isValid())
        return;
    const ChartBatch batch(m_data);
    for (const QString& bar : m_barsOf.take(key))
        m_data.items().remove(bar);
    const ChartItem* item = board.items().byKey(key);
    if (item && item->rowKey() == m_resource)
        addBars(*item);
}

void MonthChart::addBars(const ChartItem& item) {
    // The walk covers the days of the month only, however long the booking.
    const TimePoint from = std::max(item.start(), m_first);
    const TimePoint to = std::min(item.end(), m_end);
    const QString caption =
        item.seriesKey().isEmpty() ? item.caption() : QStringLiteral("(S) ") + item.caption();
    for (TimePoint day = from.datePart(); day < m_end && day <= to; day = day.addDays(1)) {
        const TimePoint barStart = std::max(from, day);
        const TimePoint barEnd = std::min(to, day.addDays(1));
        // A booking that ends at a midnight gets no empty bar on the day that begins there.
        if (barEnd == barStart && barStart > item.start())
            continue;
        ChartItem& bar = m_data.items().add(
            caption, rowKey(day.date().day()), shownDay.addSeconds(barStart - day),
            shownDay.addSeconds(barEnd - day), QStringLiteral("~b%1").arg(++m_bars), item.styleKey());
        bar.setText(item.text());
        bar.setSeriesKey(item.key());
        m_barsOf[item.key()].append(bar.key());
    }
}

bool MonthChart::concerns(const GanttData& board, const QString& key) const {
    if (!m_month.isValid())
        return false;
    if (m_barsOf.contains(key))
        return true;
    const ChartItem* item = board.items().byKey(key);
    return item && item->rowKey() == m_resource && item->end() >= m_first && item->start() < m_end;
}

QDate MonthChart::dayOfRow(const QDate& month, int position) {
    return QDate(month.year(), month.month(), 1).addDays(position - 1);
}

QString MonthChart::rowKey(int day) {
    return QStringLiteral("~r%1").arg(day, 2, 10, QLatin1Char('0'));
}

QString MonthChart::headingText(const QDate& date) {
    const QLocale locale;
    return TimePoint::fromDate(date).shortDate(locale) + ' ' +
           locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
}

QString MonthChart::monthCaption(const QDate& date) {
    return QStringLiteral("%1, %2")
        .arg(QLocale().monthName(date.month(), QLocale::LongFormat))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}
