#include "GridPrint.h"

#include "ItemGrid.h"
#include "ItemGridModel.h"
#include "app/ui/ChartFont.h"

#include <QHeaderView>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace {
// Sizes are worked out in screen pixels and scaled onto the device.
constexpr double screenDpi = 96.0;
constexpr int padding = 3;
const QColor lineColour(0xB0, 0xB0, 0xB0);

// A font of the given description measured in screen pixels, so that the painter's scale sizes it.
QFont screenFont(const FontDescription& description) {
    QFont font = ChartFont::toQFont(description);
    font.setPixelSize(std::max(1, int(std::lround(description.size * screenDpi / 72.0))));
    return font;
}

struct PageGeometry {
    double scale = 1;
    double width = 0;
    double height = 0;
    int lineHeight = 0;
    int rowHeight = 0;
    int rowsPerPage = 1;
    int columnsWidth = 0;
};

PageGeometry geometryOf(const QPagedPaintDevice& device, const ItemGrid& grid) {
    PageGeometry page;
    for (const int column : grid.gridLayout().shownColumns())
        page.columnsWidth += grid.gridLayout().columns[std::size_t(column)].width;
    const double dpiScale = device.logicalDpiX() / screenDpi;
    const double fitScale = page.columnsWidth > 0 ? device.width() / double(page.columnsWidth) : dpiScale;
    page.scale = std::min(dpiScale, fitScale);
    page.width = device.width() / page.scale;
    page.height = device.height() / page.scale;
    page.lineHeight = QFontMetrics(screenFont(grid.gridLayout().options.font)).height() + 2 * padding;
    page.rowHeight = std::max(grid.verticalHeader()->defaultSectionSize(), 1);
    const double rowSpace = page.height - 2 * page.lineHeight - page.rowHeight;
    page.rowsPerPage = std::max(1, int(rowSpace / page.rowHeight));
    return page;
}

Qt::Alignment alignmentOf(const GridColumn& column, const QVariant& value) {
    switch (column.alignment) {
    case GridColumn::Left:
        return Qt::AlignLeft;
    case GridColumn::Right:
        return Qt::AlignRight;
    case GridColumn::Center:
        return Qt::AlignHCenter;
    default:
        return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QTime ? Qt::AlignRight
                                                                                        : Qt::AlignLeft;
    }
}

void drawCell(QPainter& painter, const QRect& cell, const QString& text, Qt::Alignment alignment) {
    const QRect inner = cell.adjusted(padding, 0, -padding, 0);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    painter.drawText(inner, int(alignment | Qt::AlignVCenter),
                     painter.fontMetrics().elidedText(shown, Qt::ElideRight, inner.width()));
    painter.setPen(lineColour);
    painter.drawRect(cell);
}

void drawPageLine(QPainter& painter, const PageGeometry& page, const QStringList& parts, const QFont& font) {
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect line(0, 0, int(page.width), page.lineHeight);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, parts.value(0));
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, parts.value(1));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, parts.value(2));
    painter.drawLine(0, page.lineHeight, int(page.width), page.lineHeight);
}
} // namespace

QStringList GridPrint::pageLineParts(const QString& pageLine, int page) {
    QString line = pageLine;
    line.replace(QLatin1String("\\p"), QString::number(page));
    return line.split(QLatin1Char('\t'));
}

int GridPrint::rowsPerPage(QPagedPaintDevice& device, const ItemGrid& grid) {
    return geometryOf(device, grid).rowsPerPage;
}

int GridPrint::render(QPagedPaintDevice& device, const ItemGrid& grid, const std::vector<int>& rows) {
    const PageGeometry page = geometryOf(device, grid);
    const GridLayout& layout = grid.gridLayout();
    const std::vector<int> columns = layout.shownColumns();
    const ItemGridModel& model = grid.dataModel();
    const QFont gridFont = screenFont(layout.options.font);
    std::vector<QFont> fonts;
    for (const int column : columns)
        fonts.push_back(screenFont(layout.columns[std::size_t(column)].font));

    QPainter painter(&device);
    painter.scale(page.scale, page.scale);
    const std::size_t perPage = std::size_t(page.rowsPerPage);
    const int pages = std::max(1, int((rows.size() + perPage - 1) / perPage));
    for (int number = 1; number <= pages; ++number) {
        if (number > 1)
            device.newPage();
        drawPageLine(painter, page, pageLineParts(grid.printSettings().pageLine, number), gridFont);
        int top = 2 * page.lineHeight - page.rowHeight;
        int left = 0;
        painter.setFont(gridFont);
        for (const int column : columns) {
            const GridColumn& layoutColumn = layout.columns[std::size_t(column)];
            const QRect cell(left, top, layoutColumn.width, page.rowHeight);
            painter.fillRect(cell, QColor(0xE8, 0xE8, 0xE8));
            painter.setPen(Qt::black);
            drawCell(painter, cell, layoutColumn.caption, Qt::AlignLeft);
            left += layoutColumn.width;
        }
        const std::size_t first = std::size_t(number - 1) * perPage;
        const std::size_t last = std::min(rows.size(), first + perPage);
        for (std::size_t at = first; at < last; ++at) {
            top += page.rowHeight;
            left = 0;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const GridColumn& layoutColumn = layout.columns[std::size_t(columns[i])];
                const QRect cell(left, top, layoutColumn.width, page.rowHeight);
                left += layoutColumn.width;
                QString text = model.text(rows[at], columns[i]);
                // A merged column shows a run once per page.
                if (layoutColumn.merge && at > first && text == model.text(rows[at - 1], columns[i]))
                    text.clear();
                painter.setFont(fonts[i]);
                painter.setPen(Qt::black);
                drawCell(painter, cell, text, alignmentOf(layoutColumn, model.value(rows[at], columns[i])));
            }
        }
    }
    return pages;
}
