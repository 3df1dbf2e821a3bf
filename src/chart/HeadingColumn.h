#pragma once

#include <QString>

// One column of the row-heading area; the rows carry the cell texts, one per column.
struct HeadingColumn {
    QString caption;
    int width = 80;
    QString styleKey;

    bool operator==(const HeadingColumn&) const = default;
};
