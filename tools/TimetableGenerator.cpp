#include "TimetableGenerator.h"

#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace {
// Bookings lie between 07:00 and 19:00.
constexpr int dayBegins = 7 * 3600;
constexpr int dayLength = 12 * 3600;
constexpr int midday = 12 * 3600;
// Row headings get about this many pixels per character of the caption, within these bounds.
constexpr int pixelsPerCharacter = 7;
constexpr int headingPadding = 16;
constexpr int narrowestHeading = 80;
constexpr int widestHeading = 220;

const QStringList firstNames{"Anna", "Bernd",  "Clara", "David", "Elif", "Felix", "Greta", "Hannes",
                             "Ines", "Jonas",  "Katja", "Lukas", "Mira", "Nils",  "Olga",  "Paul",
                             "Rosa", "Stefan", "Tanja", "Uwe",   "Vera", "Yusuf"};
const QStringList lastNames{"Berger", "Schulz", "Yilmaz",  "Hoffmann", "Novak", "Lindqvist", "Weber",
                            "Krüger", "Rossi",  "Fischer", "Dubois",   "Meyer", "Kowalski",  "Brandt"};
const QStringList roomNames{"Atlas", "Borealis", "Columbus", "Delta", "Elbe", "Fjord", "Granit", "Harbour"};
const QStringList vehicleKinds{"Van", "Truck", "Car", "Minibus", "Cargo bike"};
const QStringList cities{"Hamburg", "Bremen", "Kiel", "Lübeck", "Hannover", "Berlin", "Rostock"};

const QStringList roomBookings{"Team meeting",        "Workshop: budget planning",
                               "Job interview",       "Customer presentation",
                               "Training: first aid", "Board meeting",
                               "Sprint review",       "Supplier visit"};
const QStringList vehicleBookings{"Delivery to %1",     "Pick-up in %1", "Customer visit %1",
                                  "Service inspection", "Tyre change",   "Trade fair %1"};
const QStringList personBookings{"Sales call", "On-site support %1", "Training",
                                 "Holiday",    "Project work",       "Inspection in %1"};
const QStringList notes{"Bring the projector.", "Catering for 12 people.", "Key at the reception.",
                        "Confirmed by phone.",  "Invoice to head office.", ""};
} // namespace

TimetableGenerator::TimetableGenerator(const Options& options)
    : m_options(options)
    , m_random(options.seed) {}

void TimetableGenerator::fill(GanttData& chart) {
    const int resources = m_options.resources;
    const int largestLoad = (m_options.items + resources - 1) / resources;
    const int days = m_options.days > 0 ? m_options.days : std::max(1, (largestLoad + 3) / 4);
    const int slotsPerDay = std::max(1, (largestLoad + days - 1) / days);
    const int slotLength = dayLength / slotsPerDay;
    if (slotLength < 2)
        throw AppError(
            QStringLiteral("%1 bookings per resource do not fit into the given number of days (%2).")
                .arg(largestLoad)
                .arg(days));
    // Times are rounded to a step that suits the length of a slot.
    const int step = slotLength >= 4 * 3600 ? 900 : slotLength >= 3600 ? 300 : slotLength >= 600 ? 60 : 1;

    chart.items().beginBatch();
    CreateDefaultStyles(chart);
    createStyles(chart);
    const TimePoint firstDay = TimePoint::fromDate(m_options.from);
    chart.settings().firstShownTime = firstDay.addSeconds(dayBegins);

    struct Resource {
        QString key;
        QString caption;
        ResourceKind kind;
        int load;
    };
    std::vector<Resource> rows;
    qsizetype longestCaption = 0;
    for (int r = 0; r < resources; ++r) {
        const auto kind = ResourceKind(r % 3);
        Resource row{newKey(), resourceCaption(kind, r), kind,
                     m_options.items / resources + (r < m_options.items % resources)};
        chart.rows().add(row.key, row.caption, QStringLiteral("Resources"));
        longestCaption = std::max(longestCaption, row.caption.size());
        rows.push_back(row);
    }
    // Wide enough for the longest name, so that the heading cuts off none.
    chart.headingColumns().byPosition(1)->width = int(std::clamp<qsizetype>(
        longestCaption * pixelsPerCharacter + headingPadding, narrowestHeading, widestHeading));

    // A series books the same slot of one resource on every day or every week.
    std::vector<std::vector<QString>> seriesOfSlot(std::size_t(resources) * std::size_t(slotsPerDay));
    for (int s = 0; s < m_options.series; ++s) {
        const int r = s % resources;
        const int slot = (s / resources) % slotsPerDay;
        auto& cells = seriesOfSlot[std::size_t(r) * std::size_t(slotsPerDay) + std::size_t(slot)];
        if (cells.empty())
            cells.assign(std::size_t(days), QString());
        const int stride = below(2) ? 7 : 1;
        const QString key = newKey();
        int first = int(below(std::uint64_t(std::max(1, days / 2))));
        for (int member = 0, day = first; member < 8 && day < days; ++member, day += stride) {
            if (cells[std::size_t(day)].isEmpty())
                cells[std::size_t(day)] = key;
        }
    }

    // People break for lunch on most days, in the slot that holds midday; where a day has a single
    // slot, that slot is all their work of the day and nobody breaks.
    const int lunchSlot = slotsPerDay > 1 ? (midday - dayBegins) / slotLength : -1;
    // Members of a series repeat the first member's booking.
    QHash<QString, Booking> seriesBookings;
    // Items are added day by day across all resources, as a planner fills a board.
    for (int day = 0; day < days; ++day) {
        const TimePoint date = firstDay.addDays(day);
        for (int r = 0; r < resources; ++r) {
            const Resource& row = rows[std::size_t(r)];
            for (int slot = 0; slot < slotsPerDay && day * slotsPerDay + slot < row.load; ++slot) {
                const auto& cells =
                    seriesOfSlot[std::size_t(r) * std::size_t(slotsPerDay) + std::size_t(slot)];
                const QString seriesKey = cells.empty() ? QString() : cells[std::size_t(day)];
                Booking booking = seriesBookings.value(seriesKey);
                if (seriesKey.isEmpty() && row.kind == ResourceKind::Person && slot == lunchSlot &&
                    below(4) != 0)
                    booking = lunchBreak(slot * slotLength, slotLength);
                if (booking.caption.isEmpty()) {
                    booking = newBooking(row.kind, slotLength, step);
                    if (!seriesKey.isEmpty())
                        seriesBookings.insert(seriesKey, booking);
                }
                const TimePoint start = date.addSeconds(dayBegins + slot * slotLength + booking.offset);
                ChartItem& item =
                    chart.items().add(booking.caption, row.key, start, start.addSeconds(booking.length),
                                      newKey(), booking.style);
                item.setText(booking.text);
                item.setSeriesKey(seriesKey);
                item.setMovementLock(chart.styles().get(booking.style).fixedItem ? 2 : 0);
            }
        }
    }
    chart.items().endBatch();
}

TimetableGenerator::Booking TimetableGenerator::newBooking(ResourceKind kind, int slotLength, int step) {
    static const QStringList styles{"Date",        "Date",   "Date",      "Meeting",
                                    "Maintenance", "Travel", "Tentative", "Date Fixed"};
    Booking booking;
    const int steps = std::max(1, slotLength / step);
    booking.length =
        std::min(int(steps / 2 + below(std::uint64_t(std::max(1, steps / 2)))) * step, slotLength);
    booking.length = std::max(booking.length, 1);
    booking.offset = int(below(std::uint64_t((slotLength - booking.length) / step + 1))) * step;
    const QStringList& captions = kind == ResourceKind::Room      ? roomBookings
                                  : kind == ResourceKind::Vehicle ? vehicleBookings
                                                                  : personBookings;
    booking.caption = pick(captions);
    if (booking.caption.contains(QLatin1String("%1")))
        booking.caption = booking.caption.arg(pick(cities));
    booking.text = QStringLiteral("Booked by %1 %2\nPhone 040 %3")
                       .arg(pick(firstNames), pick(lastNames))
                       .arg(100000 + below(900000));
    const QString note = pick(notes);
    if (!note.isEmpty())
        booking.text += QLatin1Char('\n') + note;
    booking.style = pick(styles);
    return booking;
}

TimetableGenerator::Booking TimetableGenerator::lunchBreak(int slotStart, int slotLength) {
    Booking booking;
    booking.length = std::min(int(30 + 15 * below(3)) * 60, slotLength);
    const int start = midday - 30 * 60 + int(below(3)) * 30 * 60 - dayBegins;
    booking.offset = std::clamp(start - slotStart, 0, slotLength - booking.length);
    booking.caption = QStringLiteral("Lunch break");
    booking.style = QStringLiteral("Break");
    return booking;
}

std::uint64_t TimetableGenerator::below(std::uint64_t bound) {
    return m_random() % bound;
}

QString TimetableGenerator::pick(const QStringList& texts) {
    return texts[qsizetype(below(std::uint64_t(texts.size())))];
}

QString TimetableGenerator::newKey() {
    const std::uint64_t high = (m_random() & 0xFFFFFFFFFFFF0FFFULL) | 0x4000ULL;
    const std::uint64_t low = (m_random() & 0x3FFFFFFFFFFFFFFFULL) | 0x8000000000000000ULL;
    const QString hex =
        QStringLiteral("%1%2").arg(high, 16, 16, QChar(u'0')).arg(low, 16, 16, QChar(u'0')).toUpper();
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(hex.mid(0, 8), hex.mid(8, 4), hex.mid(12, 4), hex.mid(16, 4), hex.mid(20, 12));
}

QString TimetableGenerator::resourceCaption(ResourceKind kind, int number) {
    switch (kind) {
    case ResourceKind::Room:
        return QStringLiteral("Room %1 %2").arg(pick(roomNames)).arg(100 + number);
    case ResourceKind::Vehicle:
        return QStringLiteral("%1 HH-QT %2").arg(pick(vehicleKinds)).arg(100 + number);
    case ResourceKind::Person:
        break;
    }
    return QStringLiteral("%1 %2").arg(pick(firstNames), pick(lastNames));
}

void TimetableGenerator::createStyles(GanttData& chart) {
    struct Look {
        const char* key;
        quint32 back;
        quint32 fore;
        bool italic;
    };
    for (const Look& look :
         {Look{"Meeting", 0xF0D8B0, 0x000000, false}, Look{"Maintenance", 0x60A0F0, 0x000000, false},
          Look{"Travel", 0x90E090, 0x000000, false}, Look{"Tentative", 0xD0D0D0, 0x404040, true}}) {
        ChartStyle& style = chart.styles().add(QString::fromLatin1(look.key));
        style.assignProperties(chart.styles().get(QStringLiteral("Date")));
        style.backColor = look.back;
        style.foreColor = look.fore;
        style.font.italic = look.italic;
    }
}
