#pragma once

#include "app/TimePoint.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

class ChartItem;
class ChartLayout;
class ChartStyle;
struct FontDescription;
class PictureCache;
class QPainter;
class TimeUnit;

// Paints a chart view from its layout: heading, time bands, rows with grid, core times and bars. It
// paints only what meets the exposed rectangle, asks the data for the items of the shown rows and
// times, and works on any QPainter, so that the screen, printing and image rendering share it.
class ChartPainter {
public:
    // What the view shows over the data: the current and the hovered bar, and a bar being drawn,
    // moved or stretched.
    struct Overlay {
        QString currentKey;
        QString hoverKey;
        int currentRow = -1;
        bool previewShown = false;
        QString previewKey; // the item being moved or stretched; empty while a new one is drawn
        int previewRow = -1;
        TimePoint previewStart;
        TimePoint previewEnd;
        bool previewCollides = false;
        bool focused = false; // the view has the keyboard focus: its current bar or row is ringed
    };

    ChartPainter(const ChartLayout& layout, PictureCache& pictures);

    // Sizes the fonts for a device of this resolution, whatever the device painted on: a print draws
    // the view's pixels scaled up to the printer's, so its fonts must keep their size on screen.
    void sizeFontsFor(int dotsPerInch) { m_fontDpi = dotsPerInch; }

    // Paints the view into `target` of the painter's device; `exposed` is in view coordinates.
    void paint(QPainter* painter, const QRect& target, const QRect& exposed, const Overlay& overlay) const;
    void paint(QPainter* painter, const QRect& target, const QRect& exposed) const;

    // Pixels around a bar that its frames may cover.
    static constexpr int frameMargin = 12;

private:
    enum class BarLook { Normal, Hovered, Ghost, Preview };

    void paintRowBackground(QPainter* p, const QRect& exposed) const;
    // Weekday tints and core times, day by day.
    void paintDays(QPainter* p, const QRect& rows, TimePoint from, TimePoint to) const;
    void paintGrid(QPainter* p, const QRect& rows, TimePoint from, TimePoint to) const;
    void paintRowDividers(QPainter* p, const QRect& exposed, int firstRow, int lastRow) const;
    void paintBars(QPainter* p, const QRect& exposed, int firstRow, int lastRow,
                   const Overlay& overlay) const;
    void paintBar(QPainter* p, const ChartItem& item, const QRect& bar, int captionLimit, BarLook look) const;
    void paintFrame(QPainter* p, const ChartItem& item, const QRect& bar) const;
    // The gap between a bar and its current frame.
    [[nodiscard]] QPoint frameDistance(const ChartItem& item) const;
    void paintPreview(QPainter* p, const Overlay& overlay) const;
    // The keyboard focus ring around the current bar, or the current row when no bar is current,
    // in the item area; around the current row's heading in the heading.
    void paintFocus(QPainter* p, const Overlay& overlay, bool heading) const;
    void paintHeading(QPainter* p, const QRect& exposed, int currentRow) const;
    void paintCorner(QPainter* p) const;
    void paintBand(QPainter* p, const QRect& band, const QRect& exposed, const TimeUnit& unit,
                   bool upper) const;
    void paintNowMarker(QPainter* p, bool head, bool body) const;
    void paintDividers(QPainter* p) const;
    void paintBorder(QPainter* p) const;

    [[nodiscard]] const ChartStyle* styleOf(const QString& key) const;
    // Fonts are made once per style and painting; nullptr gives the neutral font.
    [[nodiscard]] const QFont& fontOf(const ChartStyle* style) const;
    [[nodiscard]] QFont font(const FontDescription& description) const;
    [[nodiscard]] QString captionPattern(const TimeUnit& unit, bool upper) const;

    const ChartLayout& m_layout;
    PictureCache& m_pictures;
    mutable QHash<const ChartStyle*, QFont> m_fonts;
    int m_fontDpi = 0; // 0: the device's own
};
