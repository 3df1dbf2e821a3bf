#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <random>

class GanttData;

// Fills a chart with a plausible timetable without conflicts. The same options give the same
// timetable: every random choice, every key included, comes from the seeded generator.
class TimetableGenerator {
public:
    struct Options {
        int resources = 10;
        int items = 100;
        int series = 0;
        std::uint64_t seed = 1;
        QDate from = QDate(2025, 1, 6);
        int days = 0; // 0: as many as give each resource about four bookings a day
    };

    explicit TimetableGenerator(const Options& options);
    // Throws AppError when the bookings do not fit into the days.
    void fill(GanttData& chart);

private:
    enum class ResourceKind { Room, Vehicle, Person };
    struct Booking {
        int offset = 0; // seconds from the start of its slot
        int length = 0;
        QString caption;
        QString text;
        QString style;
    };

    [[nodiscard]] Booking newBooking(ResourceKind kind, int slotLength, int step);
    // A lunch break around midday inside the slot that starts `slotStart` seconds into the day.
    [[nodiscard]] Booking lunchBreak(int slotStart, int slotLength);
    [[nodiscard]] std::uint64_t below(std::uint64_t bound);
    [[nodiscard]] QString pick(const QStringList& texts);
    [[nodiscard]] QString newKey();
    [[nodiscard]] QString resourceCaption(ResourceKind kind, int number);
    void createStyles(GanttData& chart);

    Options m_options;
    std::mt19937_64 m_random;
};
