#pragma once

#include <QString>

// A font as styles and bands keep it; the widget turns it into a QFont only for painting.
struct FontDescription {
    QString name = QStringLiteral("Sans Serif");
    double size = 9.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool operator==(const FontDescription&) const = default;
};
