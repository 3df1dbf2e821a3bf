#pragma once

#include "GridCellFormat.h"
#include "GridLayout.h"

#include <QString>
#include <vector>

class QIODevice;
class clsItems;

// Writes rows of the item table as the grid shows them (the visible columns, left to right, each
// value in its column's number format) to an HTML document or to ";"-separated UTF-8 text. Both
// start with the column captions; a text field that holds ";", a quote or a line break is quoted.
class GridExport {
public:
    GridExport(const clsItems& items, const GridLayout& layout);

    // HTML when the upper-cased name contains ".HT"; ";"-separated text otherwise.
    [[nodiscard]] static bool isHtmlName(const QString& fileName);
    [[nodiscard]] static std::vector<int> allRows(int count);
    [[nodiscard]] static QString delimitedField(const QString& text);
    [[nodiscard]] static QString htmlText(const QString& text);

    void writeDelimited(QIODevice& device, const std::vector<int>& rows) const;
    void writeHtml(QIODevice& device, const std::vector<int>& rows, const QString& title) const;
    // The format by the file's name. The file appears complete or not at all; throws AppError when
    // it cannot be written.
    void writeFile(const QString& path, const std::vector<int>& rows, const QString& title) const;

private:
    const clsItems& m_items;
    std::vector<int> m_columns;
    std::vector<QString> m_captions;
    std::vector<QString> m_formats;
    GridCellFormat m_format;
};
