#include "KeyRules.h"

#include "app/AppError.h"

bool KeyRules::isPositionText(QStringView text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

void KeyRules::checkNewKey(const QString& key, const QString& what, bool taken) {
    if (key.isEmpty())
        throw AppError(QStringLiteral("The key of a new %1 must not be empty.").arg(what));
    if (isPositionText(key))
        throw AppError(QStringLiteral("The key '%1' of a new %2 must not be a number.").arg(key, what));
    if (taken)
        throw AppError(QStringLiteral("There is already a %1 with the key '%2'.").arg(what, key));
}
