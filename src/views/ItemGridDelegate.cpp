#include "ItemGridDelegate.h"

#include "ItemGrid.h"
#include "ItemGridModel.h"
#include "app/ui/BgrColor.h"

#include <QPainter>

namespace {
constexpr int padding = 3;
constexpr int wrappedLinesShown = 5;
const QColor columnDivider(0xD8, 0xD8, 0xD8);

QColor dividerColour(int style, quint32 foreColor) {
    switch (style) {
    case GridOptions::BlackLine:
        return Qt::black;
    case GridOptions::DarkGrayLine:
        return QColor(0x80, 0x80, 0x80);
    case GridOptions::ForeColorLine:
        return BgrColor::toQColor(foreColor);
    case GridOptions::LightGrayLine:
        return columnDivider;
    default:
        return {};
    }
}

QString singleLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}
} // namespace

ItemGridDelegate::ItemGridDelegate(ItemGrid& grid)
    : QStyledItemDelegate(&grid)
    , m_grid(grid) {}

GridRowStyle ItemGridDelegate::cellStyle(int row, int column) const {
    const GridOptions& options = m_grid.gridLayout().options;
    const GridColumn& layout = m_grid.gridLayout().columns[std::size_t(column)];
    if (m_grid.isColumnSelected(column))
        return options.selected;
    // A merged cell stands for several rows: it shows none of their marks, nor their alternating colours.
    if (layout.merge)
        return {layout.backColor, layout.foreColor};
    const bool current = row == m_grid.currentRow();
    const bool currentCell = current && column == m_grid.currentColumn();
    if (m_grid.isRowSelected(row))
        return options.selected;
    if (current && options.marqueeStyle == GridOptions::HighlightRow)
        return options.highlightRow;
    if ((current && options.marqueeStyle == GridOptions::SelectedRow) ||
        (currentCell && options.marqueeStyle == GridOptions::HighlightCell))
        return options.selected;
    if (options.alternatingRowStyle)
        return row % 2 == 0 ? options.evenRow : options.oddRow;
    return {layout.backColor, layout.foreColor};
}

QRect ItemGridDelegate::runRect(const QRect& cell, std::pair<int, int> run, int row) const {
    if (run.first == run.second)
        return cell;
    const int top = cell.top() - (m_grid.rowViewportPosition(row) - m_grid.rowViewportPosition(run.first));
    const int bottom = m_grid.rowViewportPosition(run.second) + m_grid.rowHeight(run.second) - 1;
    // The text stands in the part of the run that is shown.
    const QRect shown = QRect(cell.left(), top, cell.width(), bottom - top + 1) & m_grid.viewport()->rect();
    return QRect(cell.left(), shown.top(), cell.width(), shown.height());
}

int ItemGridDelegate::textFlags(int row, int column) const {
    const GridLayout& layout = m_grid.gridLayout();
    int horizontal = Qt::AlignLeft;
    switch (layout.columns[std::size_t(column)].alignment) {
    case GridColumn::Right:
        horizontal = Qt::AlignRight;
        break;
    case GridColumn::Center:
        horizontal = Qt::AlignHCenter;
        break;
    case GridColumn::General: {
        const int type = m_grid.dataModel().value(row, column).typeId();
        horizontal = type == QMetaType::QDate || type == QMetaType::QTime ? Qt::AlignRight : Qt::AlignLeft;
        break;
    }
    default:
        break;
    }
    const bool wrap = layout.options.multipleLines != GridOptions::SingleLine;
    return horizontal | (wrap ? Qt::AlignTop | Qt::TextWordWrap : Qt::AlignVCenter);
}

void ItemGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int row = index.row();
    const int column = index.column();
    const QRect cell = option.rect;
    const GridRowStyle style = cellStyle(row, column);
    const std::pair<int, int> run = m_grid.mergedRun(row, column);

    painter->save();
    painter->fillRect(cell, BgrColor::toQColor(style.backColor));
    painter->setClipRect(cell);
    painter->setFont(m_grid.columnFont(column));
    painter->setPen(BgrColor::toQColor(style.foreColor));
    const int flags = textFlags(row, column);
    const QRect textRect = runRect(cell, run, row).adjusted(padding, 1, -padding, -1);
    QString text = m_grid.dataModel().text(row, column);
    if (!(flags & Qt::TextWordWrap))
        text = painter->fontMetrics().elidedText(singleLine(text), Qt::ElideRight, textRect.width());
    painter->drawText(textRect, flags, text);
    painter->setClipping(false);

    painter->setPen(columnDivider);
    painter->drawLine(cell.topRight(), cell.bottomRight());
    if (row == run.second)
        paintDivider(painter, cell, style.foreColor);
    paintMarquee(painter, cell, row, column);
    painter->restore();
}

void ItemGridDelegate::paintDivider(QPainter* painter, const QRect& cell, quint32 foreColor) const {
    const int style = m_grid.gridLayout().options.rowDividerStyle;
    if (style == GridOptions::Raised || style == GridOptions::Inset) {
        const QColor light = Qt::white;
        const QColor dark(0x80, 0x80, 0x80);
        painter->setPen(style == GridOptions::Raised ? light : dark);
        painter->drawLine(cell.topLeft(), cell.topRight());
        painter->setPen(style == GridOptions::Raised ? dark : light);
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        return;
    }
    const QColor colour = dividerColour(style, foreColor);
    if (!colour.isValid())
        return;
    painter->setPen(colour);
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
}

void ItemGridDelegate::paintMarquee(QPainter* painter, const QRect& cell, int row, int column) const {
    if (row != m_grid.currentRow() || column != m_grid.currentColumn())
        return;
    const GridOptions& options = m_grid.gridLayout().options;
    QPen pen(BgrColor::toQColor(options.normal.foreColor));
    switch (options.marqueeStyle) {
    case GridOptions::DottedCellBorder:
        pen.setStyle(Qt::DotLine);
        break;
    case GridOptions::SolidCellBorder:
        break;
    case GridOptions::FloatingEditor:
        pen = QPen(BgrColor::toQColor(options.selected.backColor), 2);
        break;
    default:
        return;
    }
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(0, 0, -1, -1));
}

QSize ItemGridDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const {
    const QFontMetrics metrics(m_grid.columnFont(index.column()));
    const int width = std::max(m_grid.columnWidth(index.column()) - 2 * padding, 1);
    const QRect limit(0, 0, width, metrics.lineSpacing() * wrappedLinesShown);
    const QRect needed =
        metrics.boundingRect(limit, Qt::TextWordWrap, m_grid.dataModel().text(index.row(), index.column()));
    return {m_grid.columnWidth(index.column()), std::min(needed.height(), limit.height()) + 2 + 2};
}
