#include "ChartRow.h"

#include "app/AppError.h"

#include <algorithm>

int ChartRow::position() const {
    return m_index + 1;
}

ChartRow::Cell ChartRow::cell(int column) const {
    return column >= 1 && column <= int(cells.size()) ? cells[std::size_t(column - 1)] : Cell();
}

void ChartRow::setCell(int column, const QString& text, const QString& styleKey) {
    if (column < 1)
        throw AppError(QStringLiteral("There is no heading column %1.").arg(column));
    if (int(cells.size()) < column)
        cells.resize(std::size_t(column));
    cells[std::size_t(column - 1)] = Cell{text, styleKey};
}

bool ChartRow::sameContent(const ChartRow& other) const {
    if (m_key != other.m_key || caption != other.caption || styleKey != other.styleKey ||
        picture != other.picture || height != other.height)
        return false;
    const int columns = int(std::max(cells.size(), other.cells.size()));
    for (int column = 1; column <= columns; ++column) {
        if (!(cell(column) == other.cell(column)))
            return false;
    }
    return true;
}
