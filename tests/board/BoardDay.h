#pragma once

#include "BoardFixture.h"

// The day the board tests plan on, and its hours.
inline const QDate monday(2026, 3, 2);

inline TimePoint at(int hour, int minute = 0) {
    return BoardFixture::at(monday, hour, minute);
}
