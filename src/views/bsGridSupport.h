#pragma once

#include <QMap>
#include <QString>
#include <memory>

class ItemGrid;
class QPrintPreviewDialog;
class QWidget;
class clsItems;

// The item list's grid commands (export, print, clipboard, select all) and its layout files: the
// default layout in the program folder, the user's own in the documents folder.
namespace bsGridSupport {

inline const QString layoutFileName = QStringLiteral("QUNTAGRDE.LAY");

// The user's layout file; the bare name in the current folder when there is no documents folder.
[[nodiscard]] QString UserLayoutFile();
// The default layout file beside the program, or in the folder set below.
[[nodiscard]] QString DefaultLayoutFile();
// Looks for the default layout file in another folder; empty restores the program folder.
void setDefaultLayoutFolder(const QString& folder);

// Asks for a file name and writes the selected rows, or all rows, as HTML or ";"-separated text.
void ExportGrid(ItemGrid& grid);
// Shows the print preview of the selected rows, or all rows, with the page line made of the title.
void PrintGrid(ItemGrid& grid, const QString& title);
// The preview PrintGrid shows: the grid's preview texts applied, its pages drawn on request.
[[nodiscard]] std::unique_ptr<QPrintPreviewDialog> PrintPreview(ItemGrid& grid, QWidget* owner);
// German preview texts for the grid when the user's locale is Austrian or German.
void SetPreviewCaptions(ItemGrid& grid);
// Puts texts by the preview's identifiers onto the preview's actions and fields that have them.
void ApplyPreviewTexts(QPrintPreviewDialog& preview, const QMap<int, QString>& texts);
// Puts the selected rows, or all rows, of the visible columns as tab-separated text on the clipboard.
void Copy2ClipBoard(ItemGrid& grid, const clsItems& items);
void SelectAllRows(ItemGrid& grid, const clsItems& items);

void LoadGridLayout(ItemGrid& grid, const QString& name);
void LoadDefaultGridLayout(ItemGrid& grid, const QString& name);
// Write failures lose the layout silently; the user's file stays as it was.
void SaveGridLayout(ItemGrid& grid, const QString& name);
void SetReservedCaptions(ItemGrid& grid);

} // namespace bsGridSupport
