#pragma once

#include <QStyledItemDelegate>

class ItemGrid;
struct GridRowStyle;

// Paints the grid's cells as its layout says: the column's font, colours and alignment, the row
// styles, the mark of the current cell or row, the row dividers, and merged runs of equal cells as
// one cell whose text stands in the middle of the part that is shown.
class ItemGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ItemGridDelegate(ItemGrid& grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    [[nodiscard]] GridRowStyle cellStyle(int row, int column) const;
    [[nodiscard]] QRect runRect(const QRect& cell, std::pair<int, int> run, int row) const;
    [[nodiscard]] int textFlags(int row, int column) const;
    void paintDivider(QPainter* painter, const QRect& cell, quint32 foreColor) const;
    void paintMarquee(QPainter* painter, const QRect& cell, int row, int column) const;

    ItemGrid& m_grid;
};
