#pragma once

#include "GridCellFormat.h"
#include "GridLayout.h"

#include <QAbstractTableModel>

class clsItems;

// The item table as the grid sees it: grid row r is the table's row r, grid column i its column i.
// Nothing is copied; the rows are read when they are shown. The number of rows is the one of the
// last re-read, so that a table that changed behind the grid shows stale rows instead of confusing
// the view, until the list re-reads it.
class ItemGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ItemGridModel(const clsItems& items, const GridLayout& layout, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    // The display role gives the text the column's number format makes, the edit role the value.
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    [[nodiscard]] const clsItems& items() const { return m_items; }
    [[nodiscard]] QVariant value(int row, int column) const;
    // The text of a cell as the grid shows it.
    [[nodiscard]] QString text(int row, int column) const;
    [[nodiscard]] QString key(int row) const;
    [[nodiscard]] const GridCellFormat& cellFormat() const { return m_format; }

    // Takes the rows as the item table holds them now.
    void reread();
    // The captions or formats of the layout changed.
    void formatsChanged();

private:
    const clsItems& m_items;
    const GridLayout& m_layout;
    GridCellFormat m_format;
    int m_rows = 0;
};
