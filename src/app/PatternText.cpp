#include "PatternText.h"

QString patternTextProblem(const QString& pattern, int maxLength) {
    if (pattern.size() > maxLength)
        return QStringLiteral("it is longer than %1 characters.").arg(maxLength);
    for (const QChar c : pattern) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return QStringLiteral("it holds a line break, tab or other control character.");
    }
    return {};
}
