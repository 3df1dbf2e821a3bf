#pragma once

#include <QMap>
#include <QString>

// What the grid keeps for printing: the page line and the texts of the print preview window.
struct GridPrintSettings {
    // Left, centre and right part separated by tabs; "\p" stands for the page number.
    QString pageLine;
    // Texts of the preview's menus, entries and tool tips by the preview's identifiers; the preview's
    // own texts stay where none is set.
    QMap<int, QString> previewTexts;
};
