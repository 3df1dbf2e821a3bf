#include "GridLayout.h"

#include <QtGlobal>
#include <algorithm>
#include <numeric>

namespace {
struct BuiltInColumn {
    const char* caption;
    bool visible;
    int width;
    const char* numberFormat;
};

// By the item table's columns: key, resource, caption, start date and time, end date and time, add-on
// data, text and the three empty ones.
constexpr std::array<BuiltInColumn, GridLayout::columnCount> builtInColumns = {{
    {"Key", false, 280, ""},
    {"Ressource", true, 140, ""},
    {"Titel", true, 180, ""},
    {"Beginn Datum", true, 100, "Short Date"},
    {"Beginn Zeit", true, 85, "Short Time"},
    {"Ende Datum", true, 100, "Short Date"},
    {"Ende Zeit", true, 85, "Short Time"},
    {"VarData", false, 120, ""},
    {"Text", true, 260, ""},
    {"Auftrag", false, 80, ""},
    {"Kunde", false, 80, ""},
    {"Fahrzeug", false, 80, ""},
}};

int inRange(int value, int lowest, int highest, int fallback) {
    return value >= lowest && value <= highest ? value : fallback;
}

void limitFont(FontDescription& font) {
    if (!(font.size >= GridLayout::minFontSize && font.size <= GridLayout::maxFontSize))
        font.size = FontDescription().size;
    if (font.name.trimmed().isEmpty())
        font.name = FontDescription().name;
}
} // namespace

GridLayout GridLayout::builtIn() {
    GridLayout layout;
    for (int i = 0; i < columnCount; ++i) {
        const BuiltInColumn& source = builtInColumns[std::size_t(i)];
        GridColumn& column = layout.columns[std::size_t(i)];
        column.caption = QString::fromLatin1(source.caption);
        column.visible = source.visible;
        column.displayPosition = i;
        column.width = source.width;
        column.numberFormat = QString::fromLatin1(source.numberFormat);
        column.font = layout.options.font;
        column.backColor = layout.options.normal.backColor;
        column.foreColor = layout.options.normal.foreColor;
    }
    return layout;
}

GridCellFormat::ValueKind GridLayout::valueKind(int column) {
    switch (column) {
    case 3:
    case 5:
        return GridCellFormat::ValueKind::Date;
    case 4:
    case 6:
        return GridCellFormat::ValueKind::Time;
    default:
        return GridCellFormat::ValueKind::Text;
    }
}

std::vector<int> GridLayout::displayOrder() const {
    std::vector<int> order(columnCount);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const GridColumn& left = columns[std::size_t(a)];
        const GridColumn& right = columns[std::size_t(b)];
        if (left.displayPosition != right.displayPosition)
            return left.displayPosition < right.displayPosition;
        return left.visible && !right.visible;
    });
    return order;
}

std::vector<int> GridLayout::shownColumns() const {
    std::vector<int> shown = displayOrder();
    std::erase_if(shown, [this](int index) { return !columns[std::size_t(index)].visible; });
    return shown;
}

void GridLayout::normalise() {
    const GridOptions defaults;
    options.multipleLines = inRange(options.multipleLines, 0, 2, defaults.multipleLines);
    options.marqueeStyle = inRange(options.marqueeStyle, 0, 6, defaults.marqueeStyle);
    options.tabAction = inRange(options.tabAction, 0, 2, defaults.tabAction);
    options.multiSelect = inRange(options.multiSelect, 0, 2, defaults.multiSelect);
    options.rowDividerStyle = inRange(options.rowDividerStyle, 0, 6, defaults.rowDividerStyle);
    options.rowHeight = inRange(options.rowHeight, 0, maxRowHeight, defaults.rowHeight);
    limitFont(options.font);
    const std::vector<int> order = displayOrder();
    for (int position = 0; position < columnCount; ++position) {
        const int index = order[std::size_t(position)];
        GridColumn& column = columns[std::size_t(index)];
        column.displayPosition = position;
        if (!GridCellFormat::problem(column.numberFormat, valueKind(index)).isEmpty())
            column.numberFormat = QString::fromLatin1(builtInColumns[std::size_t(index)].numberFormat);
        column.width = std::clamp(column.width, minColumnWidth, maxColumnWidth);
        column.alignment = inRange(column.alignment, 0, 3, GridColumn::General);
        limitFont(column.font);
    }
}

void GridLayout::setReservedCaptions() {
    for (int i = firstReservedColumn; i < columnCount; ++i)
        columns[std::size_t(i)].caption = QStringLiteral("Reserved");
}
