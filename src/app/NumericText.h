#pragma once

#include <QString>

// The numeric reading of a text that the whole program shares: fields, profile values and add-on
// data are all "the leading number of the text", rounded with halves to the even neighbour.

// The longest number at the start of the text: leading blanks (spaces, tabs), an optional sign,
// digits with an optional "." and fraction, and an optional exponent ("e" or "E", optional sign,
// digits) when one follows. "7x" gives 7, "12.5" 12.5, ".5" 0.5, "abc" and "" give 0. `found`, when
// given, tells whether a number was there at all.
[[nodiscard]] double leadingNumber(const QString& text, bool* found = nullptr);

// Rounds to the nearest whole number, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
[[nodiscard]] double roundHalfEven(double value);

// roundHalfEven() as a 32-bit integer: clamped into the int range, NaN gives 0.
[[nodiscard]] int roundToInt(double value);
