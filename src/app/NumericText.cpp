#include "NumericText.h"

#include <climits>
#include <cmath>

namespace {
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Moves `at` past a run of ASCII digits; returns how many there were.
qsizetype skipDigits(const QString& text, qsizetype& at) {
    const qsizetype start = at;
    while (at < text.size() && isDigit(text.at(at)))
        ++at;
    return at - start;
}
} // namespace

double leadingNumber(const QString& text, bool* found) {
    qsizetype at = 0;
    while (at < text.size() && (text.at(at) == u' ' || text.at(at) == u'\t'))
        ++at;
    const qsizetype start = at;
    if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-'))
        ++at;
    qsizetype digits = skipDigits(text, at);
    if (at < text.size() && text.at(at) == u'.') {
        qsizetype afterPoint = at + 1;
        const qsizetype fraction = skipDigits(text, afterPoint);
        if (digits + fraction > 0) {
            at = afterPoint;
            digits += fraction;
        }
    }
    if (digits == 0) {
        if (found)
            *found = false;
        return 0.0;
    }
    if (at < text.size() && (text.at(at) == u'e' || text.at(at) == u'E')) {
        qsizetype exponentAt = at + 1;
        if (exponentAt < text.size() && (text.at(exponentAt) == u'+' || text.at(exponentAt) == u'-'))
            ++exponentAt;
        if (skipDigits(text, exponentAt) > 0)
            at = exponentAt;
    }
    // The matched part is plain ASCII; QString::toDouble reads it in the C locale whatever the
    // process locale. An exponent out of range gives infinity (overflow) or 0 (underflow).
    QString number = text.mid(start, at - start);
    if (number.endsWith(u'.'))
        number.chop(1);
    if (number.startsWith(u'.') || number.startsWith(u"+.") || number.startsWith(u"-."))
        number.insert(number.indexOf(u'.'), u'0');
    const double value = number.toDouble();
    if (found)
        *found = true;
    return value;
}

double roundHalfEven(double value) {
    // The program never leaves the default rounding mode (to nearest, ties to even).
    return std::nearbyint(value);
}

int roundToInt(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = roundHalfEven(value);
    if (rounded <= double(INT_MIN))
        return INT_MIN;
    if (rounded >= double(INT_MAX))
        return INT_MAX;
    return int(rounded);
}
