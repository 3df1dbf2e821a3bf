#pragma once

#include <QString>

// What every display pattern must be before its letters are read: short enough for a field and one
// line of text, without line breaks, tabs or other control characters. The reason it is not, in words
// that complete "The format cannot be used:", or empty when it is.
[[nodiscard]] QString patternTextProblem(const QString& pattern, int maxLength);
