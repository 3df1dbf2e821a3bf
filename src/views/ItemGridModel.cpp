#include "ItemGridModel.h"

#include "model/clsItems.h"

ItemGridModel::ItemGridModel(const clsItems& items, const GridLayout& layout, QObject* parent)
    : QAbstractTableModel(parent)
    , m_items(items)
    , m_layout(layout)
    , m_rows(items.Count()) {}

int ItemGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int ItemGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridLayout::columnCount;
}

QVariant ItemGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::EditRole)
        return value(index.row(), index.column());
    return {};
}

QVariant ItemGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= GridLayout::columnCount)
        return {};
    return m_layout.columns[std::size_t(section)].caption;
}

QVariant ItemGridModel::value(int row, int column) const {
    return m_items.Value(row, column);
}

QString ItemGridModel::text(int row, int column) const {
    if (column < 0 || column >= GridLayout::columnCount)
        return {};
    return m_format.text(value(row, column), m_layout.columns[std::size_t(column)].numberFormat);
}

QString ItemGridModel::key(int row) const {
    return value(row, 0).toString();
}

void ItemGridModel::reread() {
    beginResetModel();
    m_rows = m_items.Count();
    endResetModel();
}

void ItemGridModel::formatsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, GridLayout::columnCount - 1);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, GridLayout::columnCount - 1));
}
