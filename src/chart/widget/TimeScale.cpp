#include "TimeScale.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {
using K = TimeUnit::Kind;

const std::array<TimeScale, TimeScale::count> scales{{
    {{K::Hour, 1}, 40, {K::Day, 1}},
    {{K::Second, 5}, 36, {K::Minute, 1}},
    {{K::Second, 10}, 36, {K::Minute, 1}},
    {{K::Second, 15}, 36, {K::Minute, 5}},
    {{K::Second, 30}, 36, {K::Minute, 5}},
    {{K::Minute, 1}, 40, {K::Day, 1}},
    {{K::Minute, 5}, 40, {K::Day, 1}},
    {{K::Minute, 10}, 40, {K::Day, 1}},
    {{K::Minute, 15}, 40, {K::Day, 1}},
    {{K::Minute, 30}, 40, {K::Day, 1}},
    {{K::Hour, 1}, 40, {K::Day, 1}},
    {{K::Hour, 3}, 40, {K::Day, 1}},
    {{K::Hour, 6}, 40, {K::Day, 1}},
    {{K::Hour, 12}, 56, {K::Day, 1}},
    {{K::Day, 1}, 56, {K::Month, 1}},
    {{K::Week, 1}, 48, {K::Month, 1}},
}};
} // namespace

const TimeScale& TimeScale::forLevel(int level) {
    return scales[std::size_t(std::clamp(level, 0, count - 1))];
}

QString TimeScale::caption(int level) {
    static const QStringList captions{"1 hour",     "5 seconds",  "10 seconds", "15 seconds",
                                      "30 seconds", "1 minute",   "5 minutes",  "10 minutes",
                                      "15 minutes", "30 minutes", "1 hour",     "3 hours",
                                      "6 hours",    "12 hours",   "1 day",      "1 week"};
    return captions.value(std::clamp(level, 0, count - 1));
}
