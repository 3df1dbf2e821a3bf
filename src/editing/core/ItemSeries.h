#pragma once

#include "app/TimePoint.h"

#include <QString>
#include <functional>
#include <optional>

class GanttData;
class clsItems;

// A series: copies of a master item at regular dates, all carrying one series key. The rules behind
// the series dialog: the interval types, the checks of the entered values and the generation.
class ItemSeries {
public:
    enum Type { Daily, MondayToFriday, MondayToSaturday, Weekend, Weekly, Monthly, Quarterly, Yearly };
    static constexpr int typeCount = 8;
    // The most members one run makes, and the longest interval.
    static constexpr int maximumCount = 9999;

    // The entry of the type list ("Daily", "Mo-Fr", ...); empty outside the types.
    [[nodiscard]] static QString typeName(int type);
    // The unit of calendar addition ("d", "ww", "m", "q", "y").
    [[nodiscard]] static QString unit(int type);
    // Whether a candidate on the weekday (Monday = 1 ... Sunday = 7) becomes a member.
    [[nodiscard]] static bool keepsWeekday(int type, int weekday);
    // Without a last date the series ends on this day.
    [[nodiscard]] static TimePoint lastPossibleDay();

    // What the dialog's fields hold, read as numbers and a date.
    struct Request {
        int type = Daily;
        double interval = 0;
        double count = 0;
        std::optional<TimePoint> lastDate;
    };

    // The reasons to refuse a request, in the order in which they are checked.
    enum class Refusal {
        None,
        IntervalBelowOne,
        IntervalAboveMaximum,
        NoAmount,
        CountAboveMaximum,
        LastDateTooLate,
        MasterMissing,
        LastDateNotAfterMaster
    };
    [[nodiscard]] static QString message(Refusal refusal);

    struct Plan {
        int type = Daily;
        int interval = 1;
        int count = maximumCount;
        TimePoint lastDate = lastPossibleDay();
        bool lastDateGiven = false;
    };
    // The checks of the entered values; fills `plan` when it answers None. Interval and count are
    // rounded with halves to the even neighbour; a count below 1 means as many as fit up to the last
    // date, no last date means the last possible day.
    [[nodiscard]] static Refusal plan(const Request& request, Plan& plan);
    // The checks that need the master: it exists, and a given last date lies after its day.
    [[nodiscard]] static Refusal checkMaster(const GanttData& chart, const QString& masterKey,
                                             const Plan& plan);

    struct Outcome {
        int added = 0;
        int refused = 0; // candidates that collided with an item
        bool cancelled = false;
    };
    // Gives the master a series key when it has none, then adds a member for every candidate date
    // after the master's day up to the last date that the weekday filter keeps, until `count`
    // candidates are used. A candidate that collides is reported and still counts; Cancel ends the
    // run with the members made so far. Every member reaches the item table with an empty sender ID;
    // the chart is redrawn once. `checking` hears of each candidate date before it is looked at.
    static Outcome generate(clsItems& items, const QString& masterKey, const Plan& plan,
                            const std::function<void(TimePoint)>& checking, const QString& identity);
};
