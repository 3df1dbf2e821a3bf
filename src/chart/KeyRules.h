#pragma once

#include <QString>
#include <QStringView>

// The rules for the keys of resources, items and styles: collections are addressed by key or by
// 1-based position, also given as decimal text ("1"), so a key is never empty and never all digits.
class KeyRules {
public:
    [[nodiscard]] static bool isPositionText(QStringView text);
    // Throws AppError for an empty, numeric or `taken` key; `what` names the kind ("item").
    static void checkNewKey(const QString& key, const QString& what, bool taken);
};
