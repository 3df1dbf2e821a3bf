#pragma once

#include "ChartSettings.h"

#include <QString>
#include <QtGlobal>

// The tables of a timetable file and the names of its settings, shared by writing and reading
// (docs/timetable-format.md describes them).
namespace TimetableSchema {
// Every table of the current version; the row index `row_items` came with version 2.
extern const char* const tables;

// One item of a row in the row index: start, end and position, each a little-endian 64-bit integer,
// the items of a row in the order of their starts.
struct RowSpan {
    qint64 start;
    qint64 end;
    qint64 position;
};
inline constexpr qsizetype rowSpanBytes = 3 * 8;

inline void visitFont(const QString& prefix, auto& font, auto&& visit) {
    visit(prefix + QStringLiteral(".name"), font.name);
    visit(prefix + QStringLiteral(".size"), font.size);
    visit(prefix + QStringLiteral(".bold"), font.bold);
    visit(prefix + QStringLiteral(".italic"), font.italic);
    visit(prefix + QStringLiteral(".underline"), font.underline);
    visit(prefix + QStringLiteral(".strikethrough"), font.strikethrough);
}

// Every setting with its name in the file; one list serves writing and reading.
template <typename Settings, typename Visit> void forEachSetting(Settings& s, Visit&& visit) {
    visit(QStringLiteral("scale"), s.scale);
    visit(QStringLiteral("grid_interval"), s.gridInterval);
    visit(QStringLiteral("show_grid"), s.showGrid);
    visit(QStringLiteral("snap_to_grid"), s.snapToGrid);
    visit(QStringLiteral("move_whole_days_only"), s.moveWholeDaysOnly);
    visit(QStringLiteral("mark_core_times"), s.markCoreTimes);
    for (int day = 0; day < ChartSettings::weekdays; ++day) {
        for (int period = 0; period < ChartSettings::coreTimePeriods; ++period) {
            auto& entry = s.coreTimes[std::size_t(day)][std::size_t(period)];
            const QString prefix = QStringLiteral("core_time.%1.%2.").arg(day).arg(period);
            visit(prefix + QStringLiteral("start"), entry.start);
            visit(prefix + QStringLiteral("end"), entry.end);
        }
    }
    visit(QStringLiteral("lead_in_amount"), s.leadInAmount);
    visit(QStringLiteral("lead_in_interval"), s.leadInInterval);
    visit(QStringLiteral("first_shown_time"), s.firstShownTime);
    visit(QStringLiteral("first_shown_row"), s.firstShownRow);
    visit(QStringLiteral("default_item_style"), s.defaultItemStyle);
    visit(QStringLiteral("allow_add"), s.allowAdd);
    visit(QStringLiteral("allow_edit"), s.allowEdit);
    visit(QStringLiteral("allow_row_size"), s.allowRowSize);
    visit(QStringLiteral("allow_row_swap"), s.allowRowSwap);
    visit(QStringLiteral("allow_row_heading_swap"), s.allowRowHeadingSwap);
    visit(QStringLiteral("allow_row_heading_size"), s.allowRowHeadingSize);
    visit(QStringLiteral("allow_fixed_column_size"), s.allowFixedColumnSize);
    visit(QStringLiteral("allow_timeline_scroll"), s.allowTimelineScroll);
    visit(QStringLiteral("detect_conflicts"), s.detectConflicts);
    visit(QStringLiteral("scroll_bars_visible"), s.scrollBarsVisible);
    visit(QStringLiteral("show_upper_band"), s.showUpperBand);
    visit(QStringLiteral("show_lower_band"), s.showLowerBand);
    visit(QStringLiteral("show_timeline"), s.showTimeline);
    visit(QStringLiteral("timeline_back_color"), s.timelineBack);
    visit(QStringLiteral("timeline_fore_color"), s.timelineFore);
    visit(QStringLiteral("background_color"), s.background);
    visit(QStringLiteral("timeline2_color"), s.timeline2);
    visit(QStringLiteral("grid_color"), s.grid);
    visit(QStringLiteral("core_time_start_color"), s.coreTimeStart);
    visit(QStringLiteral("core_time_end_color"), s.coreTimeEnd);
    visit(QStringLiteral("border_style"), s.borderStyle);
    visit(QStringLiteral("timeline_style"), s.timelineStyle);
    visit(QStringLiteral("divider_style"), s.dividerStyle);
    visit(QStringLiteral("timeline_extent"), s.timelineExtent);
    for (int zoom = 0; zoom < ChartSettings::zoomLevels; ++zoom) {
        for (int kind = 1; kind <= ChartSettings::captionKinds; ++kind)
            visit(QStringLiteral("band_caption_format.%1.%2").arg(zoom).arg(kind),
                  s.bandCaptionFormats[std::size_t(zoom)][std::size_t(kind - 1)]);
    }
    visit(QStringLiteral("time_caption_format"), s.timeCaptionFormat);
    visit(QStringLiteral("truncate_captions"), s.truncateCaptions);
    visitFont(QStringLiteral("upper_band_font"), s.upperBandFont, visit);
    visitFont(QStringLiteral("lower_band_font"), s.lowerBandFont, visit);
    for (int kind = 1; kind <= ChartSettings::calendarKinds; ++kind) {
        for (int type = 1; type <= 2; ++type) {
            for (int index = 0; index < ChartSettings::calendarIndexCount(kind); ++index)
                visit(QStringLiteral("calendar_color.%1.%2.%3").arg(kind).arg(type).arg(index),
                      s.calendarColours[std::size_t(kind - 1)][std::size_t(type - 1)][std::size_t(index)]);
        }
    }
    visit(QStringLiteral("default_row_height"), s.defaultRowHeight);
    visit(QStringLiteral("heading_width"), s.headingWidth);
}

} // namespace TimetableSchema
