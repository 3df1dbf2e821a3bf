#include "ChartPainter.h"

#include "ChartLayout.h"
#include "PictureCache.h"
#include "TimePattern.h"
#include "app/ui/BgrColor.h"
#include "app/ui/ChartFont.h"
#include "chart/GanttData.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

namespace {
const QColor accent(30, 96, 210);
const QColor conflict(214, 40, 40);
const QColor neutralBack(217, 217, 217);
const QColor neutralFore(64, 64, 64);
const QColor neutralBorder(140, 140, 140);
const QColor neutralHeading(243, 244, 246);
const QColor dividerColour(168, 168, 168);
// A day narrower than the first gets no weekend tint, one narrower than the second no core times.
constexpr int minimumTintedDay = 8;
constexpr int minimumMarkedDay = 60;
// Grid lines closer than this fall back to the lower band's cells.
constexpr int minimumGridStep = 8;
// How far a caption that is not clipped may run over to the right.
constexpr int captionRunOver = 400;
// Fewer letters than this before an ellipsis read as noise: such a caption is left out.
constexpr int minimumShownLetters = 3;

QColor colour(quint32 bgr) {
    return BgrColor::toQColor(bgr);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// A frame of the given width drawn inside the rectangle.
void frame(QPainter* p, const QRect& r, const QColor& c, int width) {
    p->fillRect(QRect(r.left(), r.top(), r.width(), width), c);
    p->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), c);
    p->fillRect(QRect(r.left(), r.top(), width, r.height()), c);
    p->fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), c);
}

// A raised (or, with the colours swapped, sunken) one-pixel bevel inside the rectangle.
void bevel(QPainter* p, const QRect& r, const QColor& light, const QColor& dark) {
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), light);
    p->fillRect(QRect(r.left(), r.top(), 1, r.height()), light);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), dark);
}

int horizontalFlag(int alignment) {
    return alignment == ChartStyle::Centre  ? Qt::AlignHCenter
           : alignment == ChartStyle::Right ? Qt::AlignRight
                                            : Qt::AlignLeft;
}

int verticalFlag(int alignment) {
    return alignment == ChartStyle::Centre   ? Qt::AlignVCenter
           : alignment == ChartStyle::Bottom ? Qt::AlignBottom
                                             : Qt::AlignTop;
}

int calendarKind(TimeUnit::Kind kind) {
    switch (kind) {
    case TimeUnit::Kind::Day:
        return ChartSettings::WeekdayCalendar;
    case TimeUnit::Kind::Month:
        return ChartSettings::MonthCalendar;
    case TimeUnit::Kind::Quarter:
        return ChartSettings::QuarterCalendar;
    case TimeUnit::Kind::Year:
        return ChartSettings::YearCalendar;
    default:
        return 0;
    }
}

// The calendar colour index of a band cell: weekday from Sunday, month, quarter, year end digit.
int calendarIndex(int kind, const QDate& date) {
    switch (kind) {
    case ChartSettings::WeekdayCalendar:
        return date.dayOfWeek() % 7;
    case ChartSettings::MonthCalendar:
        return date.month() - 1;
    case ChartSettings::QuarterCalendar:
        return (date.month() - 1) / 3;
    default:
        return date.year() % 10;
    }
}

QRect spanRect(std::int64_t x1, std::int64_t x2, int top, int height, const QRect& bounds) {
    const std::int64_t left = std::max<std::int64_t>(x1, bounds.left() - 1);
    const std::int64_t right = std::min<std::int64_t>(x2, std::int64_t(bounds.right()) + 2);
    return {int(left), top, int(std::max<std::int64_t>(right - left, 0)), height};
}
} // namespace

ChartPainter::ChartPainter(const ChartLayout& layout, PictureCache& pictures)
    : m_layout(layout)
    , m_pictures(pictures) {}

const ChartStyle* ChartPainter::styleOf(const QString& key) const {
    return key.isEmpty() ? nullptr : m_layout.data().styles().byKey(key);
}

const QFont& ChartPainter::fontOf(const ChartStyle* style) const {
    auto found = m_fonts.constFind(style);
    if (found == m_fonts.constEnd())
        found = m_fonts.insert(style, font(style ? style->font : FontDescription()));
    return *found;
}

QFont ChartPainter::font(const FontDescription& description) const {
    QFont result = ChartFont::toQFont(description);
    if (m_fontDpi > 0 && result.pointSizeF() > 0)
        result.setPixelSize(std::max(1, int(std::lround(result.pointSizeF() * m_fontDpi / 72.0))));
    return result;
}

void ChartPainter::paint(QPainter* painter, const QRect& target, const QRect& exposed) const {
    paint(painter, target, exposed, Overlay());
}

void ChartPainter::paint(QPainter* p, const QRect& target, const QRect& exposedArea,
                         const Overlay& overlay) const {
    const QRect exposed = exposedArea.intersected(QRect(QPoint(0, 0), m_layout.size()));
    if (exposed.isEmpty())
        return;
    const ChartSettings& settings = m_layout.data().settings();
    p->save();
    p->translate(target.topLeft());
    p->setClipRect(exposed);

    const QRect items = m_layout.itemArea().intersected(exposed);
    if (!items.isEmpty()) {
        p->save();
        p->setClipRect(items, Qt::IntersectClip);
        paintRowBackground(p, items);
        int firstRow = m_layout.rowAtY(items.top());
        int lastRow = m_layout.rowAtY(items.bottom());
        if (firstRow >= 0 && lastRow < 0)
            lastRow = m_layout.rowCount() - 1;
        if (firstRow >= 0) {
            const int top = int(std::max<std::int64_t>(m_layout.rowTop(firstRow), items.top()));
            const int bottom = int(std::min<std::int64_t>(m_layout.rowBottom(lastRow), items.bottom() + 1));
            const QRect rows(items.left(), top, items.width(), bottom - top);
            const TimePoint from = m_layout.timeAtX(items.left());
            const TimePoint to = m_layout.timeAtX(items.right() + 1).addSeconds(1);
            paintDays(p, rows, from, to);
            if (settings.showGrid)
                paintGrid(p, rows, from, to);
            paintRowDividers(p, items, firstRow, lastRow);
            paintBars(p, items, firstRow, lastRow, overlay);
            paintFocus(p, overlay, false);
        }
        paintPreview(p, overlay);
        if (settings.showTimeline && settings.timelineExtent != ChartSettings::TimelineHead)
            paintNowMarker(p);
        p->restore();
    }

    const QRect heading = m_layout.headingArea().intersected(exposed);
    if (!heading.isEmpty()) {
        p->save();
        p->setClipRect(heading, Qt::IntersectClip);
        paintHeading(p, heading, overlay.currentRow);
        paintFocus(p, overlay, true);
        p->restore();
    }

    const QRect bands = m_layout.upperBand().united(m_layout.lowerBand()).intersected(exposed);
    if (!bands.isEmpty()) {
        p->save();
        p->setClipRect(bands, Qt::IntersectClip);
        std::vector<QRect> captions = paintBand(p, m_layout.upperBand(), bands, m_layout.scale().upper, true);
        const std::vector<QRect> lower =
            paintBand(p, m_layout.lowerBand(), bands, m_layout.scale().lower, false);
        captions.insert(captions.end(), lower.begin(), lower.end());
        if (settings.showTimeline && settings.timelineExtent != ChartSettings::TimelineBody)
            paintNowMarkerInBands(p, captions);
        p->restore();
    }

    if (m_layout.cornerArea().intersects(exposed))
        paintCorner(p);
    paintDividers(p);
    paintBorder(p);
    p->restore();
}

void ChartPainter::paintRowBackground(QPainter* p, const QRect& exposed) const {
    const QColor background = colour(m_layout.data().settings().background);
    p->fillRect(exposed, background);
    const std::int64_t rowsEnd =
        m_layout.itemArea().top() + m_layout.rowAxis().totalHeight() - m_layout.yOffset();
    if (rowsEnd <= exposed.bottom()) {
        const int top = int(std::max<std::int64_t>(rowsEnd, exposed.top()));
        p->fillRect(QRect(exposed.left(), top, exposed.width(), exposed.bottom() - top + 1),
                    mix(background, QColor(128, 128, 128), 0.08));
    }
}

void ChartPainter::paintDays(QPainter* p, const QRect& rows, TimePoint from, TimePoint to) const {
    const std::int64_t dayWidth = m_layout.timeAxis().widthOf(TimePoint::secondsPerDay);
    if (dayWidth < minimumTintedDay)
        return;
    const ChartSettings& settings = m_layout.data().settings();
    const QColor background = colour(settings.background);
    const bool markCoreTimes = settings.markCoreTimes && dayWidth >= minimumMarkedDay;
    const QColor startColour = colour(settings.coreTimeStart);
    const QColor endColour = colour(settings.coreTimeEnd);
    const QColor coreColour = mix(startColour, endColour, 0.5);
    auto fill = [&](std::int64_t x1, std::int64_t x2, const QColor& c) {
        p->fillRect(spanRect(x1, x2, rows.top(), rows.height(), rows), c);
    };
    // Every colour here is opaque, blended in advance: large translucent fills cost too much.
    for (TimePoint day = from.datePart(); day < to; day = day.addDays(1)) {
        const quint32 tint = settings.calendarColour(
            ChartSettings::WeekdayCalendar, ChartSettings::BackgroundColour, day.date().dayOfWeek() % 7);
        QColor base = background;
        if (tint != 0xFFFFFF) {
            base = mix(background, colour(tint), 0.55);
            fill(m_layout.xOf(day), m_layout.xOf(day.addDays(1)), base);
        }
        if (!markCoreTimes)
            continue;
        for (const CoreTimePeriod& period : settings.coreTimes[std::size_t(day.weekdayMondayFirst())]) {
            if (period.start == 0 && period.end == 0)
                continue;
            const std::int64_t x1 = m_layout.xOf(day.addSeconds(period.start));
            const std::int64_t x2 = m_layout.xOf(day.addSeconds(period.end));
            // A period without an end (0) shows where it starts and nothing more.
            if (period.end > period.start)
                fill(x1, x2, mix(base, coreColour, 0.1));
            fill(x1, x1 + 2, mix(base, startColour, 0.67));
            if (period.end > 0)
                fill(x2 - 2, x2, mix(base, endColour, 0.78));
        }
    }
}

void ChartPainter::paintGrid(QPainter* p, const QRect& rows, TimePoint from, TimePoint to) const {
    const ChartSettings& settings = m_layout.data().settings();
    TimeUnit step = TimeUnit::fromCode(settings.gridInterval);
    if (!step.isValid() || m_layout.timeAxis().widthOf(step.seconds()) < minimumGridStep)
        step = m_layout.scale().lower;
    // Lines between the lower band's cells are fainter, lines where a day begins stronger.
    const TimeUnit& cell = m_layout.scale().lower;
    const QColor line = colour(settings.grid);
    const QColor faint = mix(line, colour(settings.background), 0.5);
    const QColor strong = mix(line, QColor(0, 0, 0), 0.18);
    const bool markDays = cell.seconds() < TimePoint::secondsPerDay;
    for (TimePoint t = step.floor(from); t < to; t = step.next(t)) {
        const std::int64_t x = m_layout.xOf(t);
        const QColor& shade = markDays && t.secondOfDay() == 0 ? strong : cell.floor(t) == t ? line : faint;
        p->fillRect(QRect(int(x), rows.top(), 1, rows.height()), shade);
    }
}

void ChartPainter::paintRowDividers(QPainter* p, const QRect& exposed, int firstRow, int lastRow) const {
    const ChartSettings& settings = m_layout.data().settings();
    if (settings.dividerStyle == ChartSettings::NoLine)
        return;
    const QColor line = mix(colour(settings.grid), colour(settings.background), 0.25);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int bottom = int(m_layout.rowBottom(row)) - 1;
        p->fillRect(QRect(exposed.left(), bottom, exposed.width(), 1), line);
        if (settings.dividerStyle == ChartSettings::Line3D)
            p->fillRect(QRect(exposed.left(), int(m_layout.rowTop(row)), exposed.width(), 1),
                        QColor(255, 255, 255, 200));
    }
}

void ChartPainter::paintBars(QPainter* p, const QRect& exposed, int firstRow, int lastRow,
                             const Overlay& overlay) const {
    const GanttData& data = m_layout.data();
    const int areaRight = m_layout.itemArea().right() + 1;
    // Bars left of the exposed area may still reach into it with their frame or caption.
    const TimePoint from = m_layout.timeAtX(exposed.left() - frameMargin - captionRunOver).addSeconds(-1);
    const TimePoint to = m_layout.timeAtX(exposed.right() + frameMargin + 1).addSeconds(1);
    // The overlay's items found once, so that every bar compares pointers instead of keys.
    const ChartItem* currentItem =
        overlay.currentKey.isEmpty() ? nullptr : data.items().byKey(overlay.currentKey);
    const ChartItem* previewItem = overlay.previewShown && !overlay.previewKey.isEmpty()
                                       ? data.items().byKey(overlay.previewKey)
                                       : nullptr;
    const ChartItem* hoverItem = overlay.hoverKey.isEmpty() ? nullptr : data.items().byKey(overlay.hoverKey);
    const ChartItem* current = nullptr;
    int currentRow = -1;
    int currentLimit = areaRight;
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::vector<ChartItem*> items = data.itemsInRange(m_layout.rowKey(row), from, to);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ChartItem& item = *items[i];
            int limit = areaRight;
            for (std::size_t j = i + 1; j < items.size(); ++j) {
                if (items[j]->start() > item.start()) {
                    limit = int(std::min<std::int64_t>(m_layout.xOf(items[j]->start()), areaRight));
                    break;
                }
            }
            if (&item == currentItem) {
                current = &item;
                currentRow = row;
                currentLimit = limit;
                continue;
            }
            const bool moving = &item == previewItem;
            const BarLook look = moving               ? BarLook::Ghost
                                 : &item == hoverItem ? BarLook::Hovered
                                                      : BarLook::Normal;
            paintBar(p, item, m_layout.barRect(item.start(), item.end(), row), limit, look);
        }
    }
    if (current) {
        const QRect bar = m_layout.barRect(current->start(), current->end(), currentRow);
        const bool moving = current == previewItem;
        paintBar(p, *current, bar, currentLimit,
                 moving                 ? BarLook::Ghost
                 : current == hoverItem ? BarLook::Hovered
                                        : BarLook::Normal);
        if (!moving)
            paintFrame(p, *current, bar);
    }
}

void ChartPainter::paintBar(QPainter* p, const ChartItem& item, const QRect& bar, int captionLimit,
                            BarLook look) const {
    if (bar.width() <= 0 || bar.height() <= 0)
        return;
    const ChartStyle* style = styleOf(item.styleKey());
    QColor back = style ? colour(style->backColor) : neutralBack;
    const QColor fore = style ? colour(style->foreColor) : neutralFore;
    if (look == BarLook::Hovered)
        back = mix(back, QColor(255, 255, 255), 0.18);

    p->save();
    if (look == BarLook::Ghost)
        p->setOpacity(0.35);
    p->fillRect(bar, back);

    int textLeft = bar.left() + captionPadding + (style ? style->captionIndent : 0);
    if (!item.picture().isEmpty() && bar.height() > 4) {
        const QImage picture = m_pictures.scaled(item.picture(), bar.height() - 2);
        if (!picture.isNull()) {
            p->save();
            p->setClipRect(bar, Qt::IntersectClip);
            p->drawImage(bar.left() + 1, bar.top() + 1, picture);
            p->restore();
            textLeft += picture.width() + 2;
        }
    }

    if (!style) {
        p->setPen(QPen(neutralBorder, 1, Qt::DashLine));
        p->drawRect(bar.adjusted(0, 0, -1, -1));
    } else if (style->borderShown) {
        if (style->borderAppearance == ChartStyle::Flat) {
            frame(p, bar, mix(back, fore, 0.5), 1);
        } else {
            frame(p, bar, mix(back, QColor(0, 0, 0), 0.55), 1);
            if (bar.width() > 5 && bar.height() > 5)
                bevel(p, bar.adjusted(1, 1, -1, -1), mix(back, QColor(255, 255, 255), 0.6),
                      mix(back, QColor(0, 0, 0), 0.25));
        }
    }
    // After the frame, which would otherwise cut the descenders of a caption that fills the bar.
    paintBarCaption(p, item, bar, textLeft, captionLimit, fore);
    if (look == BarLook::Hovered)
        frame(p, bar, QColor(accent.red(), accent.green(), accent.blue(), 150), 1);
    p->restore();
}

QString ChartPainter::fittedCaption(const QString& caption, const QFontMetrics& metrics, int width) {
    if (width <= 0 || caption.isEmpty())
        return {};
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    const QString elided = metrics.elidedText(caption, Qt::ElideRight, width);
    // The ellipsis is one character; what stays before it must be worth reading.
    return elided.size() - 1 >= std::min<qsizetype>(minimumShownLetters, caption.size()) ? elided : QString();
}

void ChartPainter::paintBarCaption(QPainter* p, const ChartItem& item, const QRect& bar, int textLeft,
                                   int captionLimit, const QColor& fore) const {
    if (item.caption().isEmpty())
        return;
    const ChartStyle* style = styleOf(item.styleKey());
    const bool clip = !style || style->clipCaption;
    const int captionRight = clip ? bar.right() + 1 : std::max(bar.right() + 1, captionLimit);
    const int hAlign = style ? style->horizontalAlignment : int(ChartStyle::Left);
    // Only a left-aligned caption runs over; centred and right-aligned ones keep to the bar.
    const int layoutRight = hAlign == ChartStyle::Left ? captionRight : bar.right() + 1;
    const QRect textRect(textLeft, bar.top(), layoutRight - captionPadding - textLeft, bar.height());
    const QFont& font = fontOf(style);
    const QString text = fittedCaption(item.caption(), QFontMetrics(font), textRect.width());
    if (text.isEmpty())
        return;
    p->save();
    p->setClipRect(QRect(bar.left(), bar.top(), captionRight - bar.left(), bar.height()), Qt::IntersectClip);
    p->setFont(font);
    p->setPen(fore);
    p->drawText(textRect,
                Qt::TextSingleLine | horizontalFlag(hAlign) |
                    verticalFlag(style ? style->verticalAlignment : int(ChartStyle::Centre)),
                text);
    p->restore();
}

QPoint ChartPainter::frameDistance(const ChartItem& item) const {
    const ChartStyle* style = styleOf(item.styleKey());
    if (!style || !style->focusShown)
        return {};
    // The focus ring must stay inside the margin repainted around a bar.
    return {std::clamp(style->focusDistanceX, 0, frameMargin - 4),
            std::clamp(style->focusDistanceY, 0, frameMargin - 4)};
}

void ChartPainter::paintFrame(QPainter* p, const ChartItem& item, const QRect& bar) const {
    const QPoint d = frameDistance(item);
    frame(p, bar.adjusted(-d.x() - 2, -d.y() - 2, d.x() + 2, d.y() + 2), accent, 2);
}

void ChartPainter::paintPreview(QPainter* p, const Overlay& overlay) const {
    if (!overlay.previewShown || overlay.previewRow < 0 || overlay.previewRow >= m_layout.rowCount())
        return;
    const QRect bar = m_layout.barRect(overlay.previewStart, overlay.previewEnd, overlay.previewRow);
    ChartItem* item =
        overlay.previewKey.isEmpty() ? nullptr : m_layout.data().items().byKey(overlay.previewKey);
    if (item) {
        paintBar(p, *item, bar, bar.right() + 1, BarLook::Preview);
    } else {
        const ChartStyle* style = styleOf(m_layout.data().settings().defaultItemStyle);
        p->fillRect(bar, style ? colour(style->backColor) : neutralBack);
    }
    if (overlay.previewCollides) {
        p->fillRect(bar, QColor(conflict.red(), conflict.green(), conflict.blue(), 70));
        frame(p, bar.adjusted(-1, -1, 1, 1), conflict, 2);
    } else {
        p->save();
        p->setPen(QPen(accent, 1, Qt::DashLine));
        p->drawRect(bar.adjusted(-1, -1, 0, 0));
        p->restore();
    }
}

void ChartPainter::paintFocus(QPainter* p, const Overlay& overlay, bool heading) const {
    if (!overlay.focused || overlay.currentRow < 0 || overlay.currentRow >= m_layout.rowCount())
        return;
    const int top = int(m_layout.rowTop(overlay.currentRow));
    const int height = m_layout.rowAxis().height(overlay.currentRow);
    QRect ring;
    if (heading) {
        ring = QRect(0, top, m_layout.headingWidth(), height).adjusted(1, 1, -2, -2);
    } else if (const ChartItem* current = m_layout.data().items().byKey(overlay.currentKey);
               current && m_layout.indexOfRow(current->rowKey()) == overlay.currentRow) {
        // Outside the current frame, however narrow the bar is at this scale.
        const QPoint d = frameDistance(*current);
        ring = m_layout.barRect(current->start(), current->end(), overlay.currentRow)
                   .adjusted(-d.x() - 4, -d.y() - 4, d.x() + 3, d.y() + 3);
    } else {
        const QRect area = m_layout.itemArea();
        ring = QRect(area.left(), top, area.width(), height).adjusted(1, 1, -2, -2);
    }
    if (ring.width() <= 0 || ring.height() <= 0)
        return;
    // Dots over a light line stay visible on every background.
    p->save();
    p->setPen(QPen(QColor(255, 255, 255), 1));
    p->drawRect(ring);
    p->setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
    p->drawRect(ring);
    p->restore();
}

void ChartPainter::paintHeading(QPainter* p, const QRect& exposed, int currentRow) const {
    const GanttData& data = m_layout.data();
    const ChartSettings& settings = data.settings();
    p->fillRect(exposed, colour(settings.timelineBack));
    int first = m_layout.rowAtY(exposed.top());
    int last = m_layout.rowAtY(exposed.bottom());
    if (first < 0)
        return;
    if (last < 0)
        last = m_layout.rowCount() - 1;
    const std::vector<int>& widths = m_layout.columnWidths();
    for (int index = first; index <= last; ++index) {
        const ChartRow* found = m_layout.row(index);
        if (!found)
            continue;
        const ChartRow& row = *found;
        const int top = int(m_layout.rowTop(index));
        const int height = m_layout.rowAxis().height(index);
        int left = 0;
        for (std::size_t column = 0; column < widths.size(); ++column) {
            const QRect cellRect(left, top, widths[column], height);
            left += widths[column];
            if (cellRect.width() <= 0 || !cellRect.intersects(exposed))
                continue;
            const ChartRow::Cell cell = row.cell(int(column) + 1);
            const ChartStyle* style = styleOf(cell.styleKey.isEmpty() ? row.styleKey : cell.styleKey);
            const QColor back = style ? colour(style->backColor) : neutralHeading;
            const QColor fore = style ? colour(style->foreColor) : neutralFore;
            p->fillRect(cellRect, back);

            QRect textRect = headingTextRect(cellRect, index);
            if (column == 0 && !row.picture.isEmpty() && height > 6) {
                const QImage picture = m_pictures.scaled(row.picture, height - 4);
                if (!picture.isNull()) {
                    p->save();
                    p->setClipRect(cellRect, Qt::IntersectClip);
                    p->drawImage(cellRect.left() + 3, top + 2, picture);
                    p->restore();
                    textRect.setLeft(textRect.left() + picture.width() + 3);
                }
            }
            const QString text = column == 0 && cell.text.isEmpty() ? row.caption : cell.text;
            if (!text.isEmpty()) {
                p->save();
                p->setClipRect(cellRect, Qt::IntersectClip);
                p->setFont(fontOf(style));
                p->setPen(fore);
                p->drawText(textRect,
                            Qt::TextSingleLine | horizontalFlag(style ? style->horizontalAlignment : 1) |
                                verticalFlag(style ? style->verticalAlignment : int(ChartStyle::Centre)),
                            text);
                p->restore();
            }
            if (style && !style->borderShown)
                continue;
            if (style && style->borderAppearance == ChartStyle::Raised) {
                bevel(p, cellRect, mix(back, QColor(255, 255, 255), 0.7), mix(back, QColor(0, 0, 0), 0.3));
            } else {
                const QColor line = mix(back, QColor(0, 0, 0), 0.2);
                p->fillRect(QRect(cellRect.left(), cellRect.bottom(), cellRect.width(), 1), line);
                p->fillRect(QRect(cellRect.right(), cellRect.top(), 1, cellRect.height()), line);
            }
        }
        if (index == currentRow) {
            const QRect whole(0, top, m_layout.headingWidth(), height);
            p->fillRect(whole, QColor(accent.red(), accent.green(), accent.blue(), 40));
            p->fillRect(QRect(0, top, 3, height), accent);
        }
    }
}

QRect ChartPainter::headingTextRect(const QRect& cell, int rowIndex) const {
    // The bars' inset, so that a caption aligned at the top or bottom lines up with their edges and a
    // centred one with their captions.
    const QRect bar = m_layout.barRect(TimePoint(), TimePoint(), rowIndex);
    return QRect(cell.left() + captionPadding, bar.top(), cell.width() - 2 * captionPadding, bar.height());
}

int ChartPainter::headingWidthFor(const ChartRow& row) const {
    const int height = row.height > 0 ? row.height : m_layout.data().settings().defaultRowHeight;
    const QString text = row.cell(1).text.isEmpty() ? row.caption : row.cell(1).text;
    const ChartStyle* style = styleOf(row.cell(1).styleKey.isEmpty() ? row.styleKey : row.cell(1).styleKey);
    int width = 2 * captionPadding + QFontMetrics(fontOf(style)).horizontalAdvance(text);
    if (!row.picture.isEmpty() && height > 6)
        width += m_pictures.scaled(row.picture, height - 4).width() + 3;
    return width;
}

void ChartPainter::paintCorner(QPainter* p) const {
    const GanttData& data = m_layout.data();
    const ChartSettings& settings = data.settings();
    const QRect corner = m_layout.cornerArea();
    const QColor back = colour(settings.timelineBack);
    p->fillRect(corner, back);
    const HeadingColumnCollection& columns = data.headingColumns();
    int left = 0;
    for (int position = 1; position <= columns.count(); ++position) {
        const HeadingColumn& column = *columns.byPosition(position);
        const QRect cell(left, corner.top(), std::max(column.width, 0), corner.height());
        left += cell.width();
        const ChartStyle* style = styleOf(column.styleKey);
        const QColor cellBack = style ? colour(style->backColor) : back;
        p->fillRect(cell, cellBack);
        if (!column.caption.isEmpty()) {
            p->save();
            p->setClipRect(cell, Qt::IntersectClip);
            p->setFont(font(style ? style->font : settings.lowerBandFont));
            p->setPen(style ? colour(style->foreColor) : colour(settings.timelineFore));
            p->drawText(cell.adjusted(4, 0, -4, -2), Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignBottom,
                        column.caption);
            p->restore();
        }
        p->fillRect(QRect(cell.right(), cell.top() + 3, 1, cell.height() - 6),
                    mix(cellBack, QColor(0, 0, 0), 0.2));
    }
}

QStringList ChartPainter::captionPatterns(const TimeUnit& unit, bool upper) const {
    const ChartSettings& settings = m_layout.data().settings();
    const int level = m_layout.scaleLevel();
    // A format the pattern reader cannot read (a damaged or foreign file) shows no caption rather than
    // a garbled one.
    const auto readable = [](const QString& pattern) {
        return TimePattern::problem(pattern).isEmpty() ? pattern : QString();
    };
    const auto stored = [&](int kind) { return readable(settings.bandCaptionFormat(level, kind)); };
    const QString time = readable(settings.timeCaptionFormat);
    // Levels without a format of their own for a caption kind use these.
    const QString dayPattern =
        level <= 9 ? stored(ChartSettings::DayCaption) : QStringLiteral("ddd dd.mm.yy");
    switch (unit.kind()) {
    case TimeUnit::Kind::Second:
    case TimeUnit::Kind::Minute:
    case TimeUnit::Kind::Hour:
        if (!upper)
            return {unit.kind() == TimeUnit::Kind::Second ? QStringLiteral("ss") : time};
        return {dayPattern.isEmpty() ? time : dayPattern + ' ' + time};
    case TimeUnit::Kind::Day:
        // Cells too narrow for the weekday keep the day of the month.
        if (!upper)
            return {QStringLiteral("ddd dd"), QStringLiteral("dd")};
        return {dayPattern};
    case TimeUnit::Kind::Week:
        return {QStringLiteral("\"W\"ww dd.mm."), QStringLiteral("\"W\"ww"), QStringLiteral("ww")};
    case TimeUnit::Kind::Month:
        return {level <= 14 ? stored(ChartSettings::MonthCaption) : QStringLiteral("mmm yyyy")};
    case TimeUnit::Kind::Quarter:
        return {level >= 10 ? stored(ChartSettings::QuarterCaption) : QStringLiteral("q/yyyy")};
    case TimeUnit::Kind::Year:
        return {level == 15 ? stored(ChartSettings::YearCaption) : QStringLiteral("yyyy")};
    }
    return {};
}

QString ChartPainter::bandCaption(bool upper, TimePoint cell, int width) const {
    const ChartSettings& settings = m_layout.data().settings();
    const QFontMetrics metrics(font(upper ? settings.upperBandFont : settings.lowerBandFont));
    QString caption;
    for (const QString& pattern :
         captionPatterns(upper ? m_layout.scale().upper : m_layout.scale().lower, upper)) {
        caption = TimePattern::format(pattern, cell).trimmed();
        if (metrics.horizontalAdvance(caption) <= width)
            return caption;
    }
    // With truncation on, the last pattern's caption is cut to fit.
    return settings.truncateCaptions ? fittedCaption(caption, metrics, width) : QString();
}

std::vector<QRect> ChartPainter::paintBand(QPainter* p, const QRect& band, const QRect& exposed,
                                           const TimeUnit& unit, bool upper) const {
    std::vector<QRect> captions;
    const QRect area = band.intersected(exposed);
    if (area.isEmpty())
        return captions;
    const ChartSettings& settings = m_layout.data().settings();
    const QColor back = colour(settings.timelineBack);
    const QColor fore = colour(settings.timelineFore);
    const QColor line = mix(back, fore, 0.28);
    p->fillRect(area, back);

    const QFont bandFont = font(upper ? settings.upperBandFont : settings.lowerBandFont);
    const QFontMetrics metrics(bandFont);
    p->setFont(bandFont);
    const int calendar = calendarKind(unit.kind());
    const TimePoint from = m_layout.timeAtX(area.left());
    const TimePoint to = m_layout.timeAtX(area.right() + 1).addSeconds(1);
    for (TimePoint cell = unit.floor(from); cell < to; cell = unit.next(cell)) {
        const std::int64_t x1 = m_layout.xOf(cell);
        const std::int64_t x2 = m_layout.xOf(unit.next(cell));
        const QRect cellRect = spanRect(x1, x2, band.top(), band.height(), band);
        QColor cellBack = back;
        QColor cellFore = fore;
        if (calendar) {
            const int index = calendarIndex(calendar, cell.date());
            const quint32 calendarBack =
                settings.calendarColour(calendar, ChartSettings::BackgroundColour, index);
            const quint32 calendarFore = settings.calendarColour(calendar, ChartSettings::TextColour, index);
            // White and black are the neutral calendar colours: the band's own colours show through.
            if (calendarBack != 0xFFFFFF)
                cellBack = colour(calendarBack);
            if (calendarFore != 0x000000)
                cellFore = colour(calendarFore);
        }
        if (cellBack != back)
            p->fillRect(cellRect, cellBack);

        if (settings.timelineStyle == ChartSettings::SimpleLine) {
            p->fillRect(QRect(int(x1), band.top(), 1, band.height()), line);
        } else if (settings.timelineStyle == ChartSettings::Line3D && cellRect.width() > 2) {
            bevel(p, QRect(int(x1), band.top(), int(x2 - x1), band.height()),
                  mix(cellBack, QColor(255, 255, 255), 0.8), mix(cellBack, QColor(0, 0, 0), 0.3));
        }

        // Upper captions stay at the left of the shown part of their cell, lower ones centre in it.
        const QRect visible = cellRect.intersected(band);
        const QRect textRect = upper ? visible.adjusted(5, 0, -3, 0) : cellRect.adjusted(2, 0, -2, 0);
        const QString text = bandCaption(upper, cell, textRect.width());
        if (text.isEmpty())
            continue;
        const int flags = Qt::TextSingleLine | Qt::AlignVCenter | (upper ? Qt::AlignLeft : Qt::AlignHCenter);
        p->setPen(cellFore);
        p->drawText(textRect, flags, text);
        captions.push_back(metrics.boundingRect(textRect, flags, text));
    }
    if (settings.timelineStyle != ChartSettings::NoLine)
        p->fillRect(QRect(area.left(), band.bottom(), area.width(), 1), line);
    return captions;
}

void ChartPainter::paintNowMarker(QPainter* p) const {
    const std::int64_t x = m_layout.xOf(TimePoint::now());
    const QRect items = m_layout.itemArea();
    if (x < items.left() || x > items.right())
        return;
    const std::int64_t bottom = std::min<std::int64_t>(
        items.bottom() + 1, items.top() + m_layout.rowAxis().totalHeight() - m_layout.yOffset());
    p->fillRect(QRect(int(x) - 1, items.top(), 2, int(bottom - items.top())),
                colour(m_layout.data().settings().timeline2));
}

void ChartPainter::paintNowMarkerInBands(QPainter* p, const std::vector<QRect>& captions) const {
    const std::int64_t x = m_layout.xOf(TimePoint::now());
    const QRect bands = m_layout.upperBand().united(m_layout.lowerBand());
    if (x < bands.left() || x > bands.right())
        return;
    const QRect marker(int(x) - 1, bands.top(), 2, bands.height());
    // What a caption covers is cut out of the line, with a pixel to spare.
    QRegion line(marker);
    for (const QRect& caption : captions) {
        if (caption.intersects(marker))
            line -= QRect(marker.left(), caption.top() - 1, marker.width(), caption.height() + 2);
    }
    const QColor markerColour = colour(m_layout.data().settings().timeline2);
    for (const QRect& part : line)
        p->fillRect(part, markerColour);
}

void ChartPainter::paintDividers(QPainter* p) const {
    const int style = m_layout.data().settings().dividerStyle;
    if (style == ChartSettings::NoLine)
        return;
    const QSize size = m_layout.size();
    const int x = m_layout.headingWidth() - 1;
    const int y = m_layout.itemArea().top() - 1;
    if (x >= 0)
        p->fillRect(QRect(x, 0, 1, size.height()), dividerColour);
    if (y >= 0)
        p->fillRect(QRect(0, y, size.width(), 1), dividerColour);
    if (style == ChartSettings::Line3D) {
        p->fillRect(QRect(x + 1, 0, 1, size.height()), QColor(255, 255, 255));
        p->fillRect(QRect(0, y + 1, size.width(), 1), QColor(255, 255, 255));
    }
}

void ChartPainter::paintBorder(QPainter* p) const {
    const QRect all(QPoint(0, 0), m_layout.size());
    switch (m_layout.data().settings().borderStyle) {
    case ChartSettings::SimpleLine:
        frame(p, all, QColor(140, 140, 140), 1);
        break;
    case ChartSettings::Line3D:
        bevel(p, all, QColor(120, 120, 120), QColor(255, 255, 255));
        bevel(p, all.adjusted(1, 1, -1, -1), QColor(64, 64, 64), QColor(224, 224, 224));
        break;
    default:
        break;
    }
}
