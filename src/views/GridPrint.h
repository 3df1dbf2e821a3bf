#pragma once

#include <QStringList>
#include <vector>

class ItemGrid;
class QPagedPaintDevice;

// The grid on paper: the page line at the top of every page, then the column captions and the rows
// in the grid's fonts, column widths and order, shrunk to the page width when the columns are wider.
class GridPrint {
public:
    // Draws the rows (bookmarks) and returns the number of pages.
    static int render(QPagedPaintDevice& device, const ItemGrid& grid, const std::vector<int>& rows);
    // Rows that fit on one page of the device.
    [[nodiscard]] static int rowsPerPage(QPagedPaintDevice& device, const ItemGrid& grid);
    // The left, centre and right part of the page line, "\p" replaced by the page number.
    [[nodiscard]] static QStringList pageLineParts(const QString& pageLine, int page);
};
