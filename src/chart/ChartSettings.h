#pragma once

#include "app/FontDescription.h"
#include "app/TimePoint.h"

#include <QString>
#include <QtGlobal>
#include <array>

// A working period of a weekday as seconds of the day; 0 means unset.
struct CoreTimePeriod {
    int start = 0;
    int end = 0;

    bool operator==(const CoreTimePeriod&) const = default;
};

// Every setting the chart keeps and the timetable file carries, with its default. Colours are BGR
// values (0x00BBGGRR). Caption formats are patterns of the d/m/q/y/h/n/s letters ("hh:nn").
struct ChartSettings {
    static constexpr int zoomLevels = 16;
    static constexpr int weekdays = 7;
    static constexpr int coreTimePeriods = 7;
    static constexpr int captionKinds = 4;
    static constexpr int calendarKinds = 4;
    static constexpr int calendarIndexes = 12; // the longest range, months

    enum CaptionKind { DayCaption = 1, MonthCaption = 2, QuarterCaption = 3, YearCaption = 4 };
    enum CalendarKind { WeekdayCalendar = 1, MonthCalendar = 2, QuarterCalendar = 3, YearCalendar = 4 };
    enum ColourType { BackgroundColour = 1, TextColour = 2 };
    enum LineStyle { NoLine = 0, SimpleLine = 1, Line3D = 2 };
    enum TimelineExtent { TimelineHead = 0, TimelineBody = 1, TimelineBoth = 2 };

    using CoreTimeTable = std::array<std::array<CoreTimePeriod, coreTimePeriods>, weekdays>;
    using CaptionFormats = std::array<std::array<QString, captionKinds>, zoomLevels>;
    using CalendarColours = std::array<std::array<std::array<quint32, calendarIndexes>, 2>, calendarKinds>;

    // Time scale and grid
    int scale = 8; // 0-15, the zoom level; 8 = 15 minutes
    QString gridInterval = QStringLiteral("15n");
    bool showGrid = true;
    bool snapToGrid = true;
    bool moveWholeDaysOnly = false;
    bool markCoreTimes = true;
    // [weekday, 0 = Monday][period]
    CoreTimeTable coreTimes = defaultCoreTimes();
    // A jump to a day shows this much before its first working period.
    int leadInAmount = 1;
    QString leadInInterval = QStringLiteral("h");

    // Shown range
    TimePoint firstShownTime;
    int firstShownRow = 1;

    QString defaultItemStyle;

    // Editing switches
    bool allowAdd = true;
    bool allowEdit = true;
    bool allowRowSize = true;
    bool allowRowSwap = true;
    bool allowRowHeadingSwap = true;
    bool allowRowHeadingSize = true;
    bool allowFixedColumnSize = true;
    bool allowTimelineScroll = true;
    bool detectConflicts = true;

    // Appearance
    bool scrollBarsVisible = true;
    bool showUpperBand = true;
    bool showLowerBand = true;
    bool showTimeline = true;
    quint32 timelineBack = 0xF0F0F0;
    quint32 timelineFore = 0x000000;
    quint32 background = 0xFFFFFF;
    quint32 timeline2 = 0x0000FF; // the marker line of the current time
    quint32 grid = 0xD8D8D8;
    quint32 coreTimeStart = 0x00FF00;
    quint32 coreTimeEnd = 0x00FFFF;
    int borderStyle = SimpleLine;
    int timelineStyle = SimpleLine;
    int dividerStyle = SimpleLine;
    int timelineExtent = TimelineHead;

    // Time bands
    CaptionFormats bandCaptionFormats = defaultBandCaptionFormats(); // [zoom][kind - 1]; empty = none
    QString timeCaptionFormat = QStringLiteral("hh:nn");
    bool truncateCaptions = false;
    FontDescription upperBandFont;
    FontDescription lowerBandFont;
    CalendarColours calendarColours = defaultCalendarColours(); // [kind - 1][type - 1][index]

    // Geometry
    int defaultRowHeight = 20; // pixels, for rows of height 0
    int headingWidth = 80;     // pixels of the row-heading area when there is no heading column

    // The caption format of a zoom level 0-15 and caption kind 1-4; empty outside the ranges.
    [[nodiscard]] QString bandCaptionFormat(int zoom, int kind) const;
    void setBandCaptionFormat(int zoom, int kind, const QString& format);
    // Kind 1 weekday 0-6 starting Sunday, 2 month 0-11, 3 quarter 0-3, 4 year by its end digit 0-9;
    // type 1 background, 2 text. 0 outside the ranges, where setting does nothing.
    [[nodiscard]] quint32 calendarColour(int kind, int type, int index) const;
    void setCalendarColour(int kind, int type, int index, quint32 colour);
    // The number of indexes of a calendar kind (7, 12, 4, 10; 0 for an unknown kind).
    [[nodiscard]] static int calendarIndexCount(int kind);

    [[nodiscard]] static CoreTimeTable defaultCoreTimes();
    [[nodiscard]] static CaptionFormats defaultBandCaptionFormats();
    [[nodiscard]] static CalendarColours defaultCalendarColours();

    bool operator==(const ChartSettings&) const = default;
};
