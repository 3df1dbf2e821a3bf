#include "ChartSettings.h"

namespace {
bool validCaption(int zoom, int kind) {
    return zoom >= 0 && zoom < ChartSettings::zoomLevels && kind >= 1 && kind <= ChartSettings::captionKinds;
}

bool validCalendar(int kind, int type, int index) {
    return type >= 1 && type <= 2 && index >= 0 && index < ChartSettings::calendarIndexCount(kind);
}
} // namespace

QString ChartSettings::bandCaptionFormat(int zoom, int kind) const {
    return validCaption(zoom, kind) ? bandCaptionFormats[std::size_t(zoom)][std::size_t(kind - 1)]
                                    : QString();
}

void ChartSettings::setBandCaptionFormat(int zoom, int kind, const QString& format) {
    if (validCaption(zoom, kind))
        bandCaptionFormats[std::size_t(zoom)][std::size_t(kind - 1)] = format;
}

quint32 ChartSettings::calendarColour(int kind, int type, int index) const {
    return validCalendar(kind, type, index)
               ? calendarColours[std::size_t(kind - 1)][std::size_t(type - 1)][std::size_t(index)]
               : 0;
}

void ChartSettings::setCalendarColour(int kind, int type, int index, quint32 colour) {
    if (validCalendar(kind, type, index))
        calendarColours[std::size_t(kind - 1)][std::size_t(type - 1)][std::size_t(index)] = colour;
}

int ChartSettings::calendarIndexCount(int kind) {
    switch (kind) {
    case WeekdayCalendar:
        return 7;
    case MonthCalendar:
        return 12;
    case QuarterCalendar:
        return 4;
    case YearCalendar:
        return 10;
    default:
        return 0;
    }
}

ChartSettings::CoreTimeTable ChartSettings::defaultCoreTimes() {
    // Monday to Friday, 08:00 to 17:00; the weekend has no working hours.
    CoreTimeTable table{};
    for (int day = 0; day < 5; ++day)
        table[std::size_t(day)][0] = CoreTimePeriod{8 * 3600, 17 * 3600};
    return table;
}

ChartSettings::CaptionFormats ChartSettings::defaultBandCaptionFormats() {
    CaptionFormats formats{};
    for (int zoom = 0; zoom < zoomLevels; ++zoom) {
        auto& level = formats[std::size_t(zoom)];
        if (zoom <= 9)
            level[DayCaption - 1] =
                zoom <= 7 ? QStringLiteral("dddd dd mmmm yyyy") : QStringLiteral("ddd dd mmm yyyy");
        if (zoom <= 14)
            level[MonthCaption - 1] = zoom <= 13 ? QStringLiteral("mmmm yyyy") : QStringLiteral("mmm yyyy");
        if (zoom >= 10)
            level[QuarterCaption - 1] = QStringLiteral("q/yyyy");
        if (zoom == 15)
            level[YearCaption - 1] = QStringLiteral("yyyy");
    }
    return formats;
}

ChartSettings::CalendarColours ChartSettings::defaultCalendarColours() {
    CalendarColours colours{};
    for (int kind = 1; kind <= calendarKinds; ++kind) {
        for (int index = 0; index < calendarIndexCount(kind); ++index) {
            colours[std::size_t(kind - 1)][BackgroundColour - 1][std::size_t(index)] = 0xFFFFFF;
            colours[std::size_t(kind - 1)][TextColour - 1][std::size_t(index)] = 0x000000;
        }
    }
    // Weekends tinted: Sunday light red, Saturday light blue.
    colours[WeekdayCalendar - 1][BackgroundColour - 1][0] = 0xE0E0FF;
    colours[WeekdayCalendar - 1][BackgroundColour - 1][6] = 0xFFE8E0;
    colours[WeekdayCalendar - 1][TextColour - 1][0] = 0x0000A0;
    return colours;
}
