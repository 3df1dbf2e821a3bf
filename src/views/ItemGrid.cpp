#include "ItemGrid.h"

#include "GridLayoutFile.h"
#include "ItemGridDelegate.h"
#include "ItemGridModel.h"
#include "app/ui/ChartFont.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

ItemGrid::ItemGrid(const clsItems& items, QWidget* parent)
    : QTableView(parent)
    , m_layout(GridLayout::builtIn())
    , m_model(new ItemGridModel(items, m_layout, this)) {
    setModel(m_model);
    setItemDelegate(new ItemGridDelegate(*this));
    setSelectionBehavior(SelectRows);
    setShowGrid(false);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);
    viewport()->setMouseTracking(true);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setMinimumSectionSize(8);
    connect(header, &QHeaderView::sectionClicked, this, &ItemGrid::onHeadingClicked);
    connect(header, &QHeaderView::sectionMoved, this, [this] { onSectionMoved(); });
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { onSectionResized(column, newSize); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, &ItemGrid::onRowResized);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ItemGrid::onSelectionChanged);
    // A reset drops the view's selection without telling anybody.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_selection.clear();
        invalidateShownRows();
    });
    connect(this, &QAbstractItemView::clicked, this, [this] {
        setSelectedColumns(-1, -1);
        emit rowClicked();
    });
    setGridLayout(m_layout);
}

ItemGrid::~ItemGrid() = default;

void ItemGrid::setGridLayout(const GridLayout& layout) {
    m_layout = layout;
    m_layout.normalise();
    for (int i = 0; i < GridLayout::columnCount; ++i)
        m_fonts[std::size_t(i)] = ChartFont::toQFont(m_layout.columns[std::size_t(i)].font);
    m_applying = true;
    applyColumns();
    applyOptions();
    m_applying = false;
    m_model->formatsChanged();
    invalidateShownRows();
    viewport()->update();
}

void ItemGrid::LoadLayout() {
    setGridLayout(GridLayoutFile::read(m_layoutFileName, m_layoutName));
}

void ItemGrid::applyColumns() {
    QHeaderView* header = horizontalHeader();
    const std::vector<int> order = m_layout.displayOrder();
    for (int visual = 0; visual < GridLayout::columnCount; ++visual) {
        const int from = header->visualIndex(order[std::size_t(visual)]);
        if (from != visual)
            header->moveSection(from, visual);
    }
    for (int i = 0; i < GridLayout::columnCount; ++i) {
        const GridColumn& column = m_layout.columns[std::size_t(i)];
        setColumnWidth(i, column.width);
        setColumnHidden(i, !column.visible);
        header->setSectionResizeMode(i, m_layout.options.allowSizing && column.allowSizing
                                            ? QHeaderView::Interactive
                                            : QHeaderView::Fixed);
    }
}

void ItemGrid::applyOptions() {
    const GridOptions& options = m_layout.options;
    static constexpr std::array<SelectionMode, 3> selectionModes = {NoSelection, MultiSelection,
                                                                    ExtendedSelection};
    setSelectionMode(selectionModes[std::size_t(options.multiSelect)]);
    setTabKeyNavigation(options.tabAction != GridOptions::ControlNavigation);
    setWordWrap(options.multipleLines != GridOptions::SingleLine);
    horizontalHeader()->setSectionsMovable(options.allowColMove);
    horizontalHeader()->setFont(ChartFont::toQFont(options.font));
    QHeaderView* rows = verticalHeader();
    rows->setVisible(options.allowRowSizing);
    rows->setSectionResizeMode(options.allowRowSizing ? QHeaderView::Interactive : QHeaderView::Fixed);
    rows->setDefaultSectionSize(options.rowHeight > 0 ? options.rowHeight : naturalRowHeight());
    if (options.multipleLines == GridOptions::VariableLines)
        fitShownRows();
}

int ItemGrid::naturalRowHeight() const {
    int height = QFontMetrics(ChartFont::toQFont(m_layout.options.font)).height();
    for (const int column : m_layout.shownColumns())
        height = std::max(height, QFontMetrics(m_fonts[std::size_t(column)]).height());
    const int lines = m_layout.options.multipleLines == GridOptions::SingleLine ? 1 : 2;
    return lines * height + 6;
}

void ItemGrid::ReOpen(int row) {
    m_model->reread();
    if (row >= 0 && row < m_model->rowCount())
        setCurrentRow(row);
}

int ItemGrid::currentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void ItemGrid::setCurrentRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    int column = currentColumn();
    if (column < 0) {
        const std::vector<int> shown = m_layout.shownColumns();
        column = shown.empty() ? 0 : shown.front();
    }
    const QModelIndex index = m_model->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

int ItemGrid::currentColumn() const {
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void ItemGrid::setCurrentColumn(int column) {
    if (m_model->rowCount() == 0 || column < 0 || column >= GridLayout::columnCount)
        return;
    const QModelIndex index = m_model->index(std::max(currentRow(), 0), column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    viewport()->update();
}

void ItemGrid::clearSelectedRows() {
    selectionModel()->clearSelection();
}

void ItemGrid::selectRows(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, m_model->rowCount() - 1);
    if (last < first)
        return;
    const QItemSelection rows(m_model->index(first, 0), m_model->index(last, GridLayout::columnCount - 1));
    selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ItemGrid::setSelectedColumns(int first, int last) {
    if (first < 0 || last < 0) {
        first = -1;
        last = -1;
    }
    m_selStartCol = std::min(first, last);
    m_selEndCol = std::max(first, last);
    viewport()->update();
}

bool ItemGrid::isColumnSelected(int column) const {
    return m_selStartCol >= 0 && column >= m_selStartCol && column <= m_selEndCol;
}

std::pair<int, int> ItemGrid::mergedRun(int row, int column) const {
    if (column < 0 || column >= GridLayout::columnCount || !m_layout.columns[std::size_t(column)].merge)
        return {row, row};
    if (!m_mergesValid || !m_merges.covers(row)) {
        auto [first, last] = shownRows();
        if (first < 0)
            first = last = row;
        std::vector<int> merged;
        for (const int shown : m_layout.shownColumns()) {
            if (m_layout.columns[std::size_t(shown)].merge)
                merged.push_back(shown);
        }
        m_merges.compute(std::min(first, row), std::max(last, row), merged, [this](int at, int in) {
            return m_model->text(at, in) == m_model->text(at + 1, in);
        });
        m_mergesValid = true;
    }
    return m_merges.run(row, column);
}

void ItemGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ShiftModifier) {
        emit deleteRequested();
        return;
    }
    // The view would put the current cell on the clipboard itself, past the program's clipboard path.
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ItemGrid::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    QTableView::mouseMoveEvent(event);
}

void ItemGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (dy == 0)
        return;
    invalidateShownRows();
    // A merged cell's text moves with the part of its run that is shown: the moved pixels are wrong.
    if (anyMergedColumnShown())
        viewport()->update();
}

void ItemGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    invalidateShownRows();
}

bool ItemGrid::focusNextPrevChild(bool next) {
    if (m_layout.options.tabAction == GridOptions::ColumnNavigation && currentIndex().isValid()) {
        const std::vector<int> shown = m_layout.shownColumns();
        // Tab runs through the columns of the row; at its end it goes on to the next control.
        if (!shown.empty() && currentColumn() == (next ? shown.back() : shown.front()))
            return QWidget::focusNextPrevChild(next);
    }
    return QTableView::focusNextPrevChild(next);
}

void ItemGrid::onHeadingClicked(int column) {
    if ((QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) && m_columnAnchor >= 0) {
        setSelectedColumns(m_columnAnchor, column);
    } else {
        m_columnAnchor = column;
        setSelectedColumns(column, column);
    }
    emit headingClicked(column);
}

void ItemGrid::onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    for (const QItemSelectionRange& range : deselected)
        m_selection.deselect(range.top(), range.bottom());
    for (const QItemSelectionRange& range : selected)
        m_selection.select(range.top(), range.bottom());
}

void ItemGrid::onSectionMoved() {
    if (m_applying)
        return;
    for (int i = 0; i < GridLayout::columnCount; ++i)
        m_layout.columns[std::size_t(i)].displayPosition = horizontalHeader()->visualIndex(i);
    invalidateShownRows();
}

void ItemGrid::onSectionResized(int column, int newSize) {
    if (m_applying || isColumnHidden(column) || newSize <= 0)
        return;
    m_layout.columns[std::size_t(column)].width =
        std::clamp(newSize, GridLayout::minColumnWidth, GridLayout::maxColumnWidth);
}

void ItemGrid::onRowResized(int, int, int newSize) {
    if (m_applying || m_layout.options.multipleLines == GridOptions::VariableLines)
        return;
    // Rows have one height: dragging one row sizes them all.
    m_applying = true;
    m_layout.options.rowHeight = std::clamp(newSize, 1, GridLayout::maxRowHeight);
    verticalHeader()->setDefaultSectionSize(m_layout.options.rowHeight);
    m_applying = false;
}

void ItemGrid::invalidateShownRows() {
    m_mergesValid = false;
    if (m_layout.options.multipleLines != GridOptions::VariableLines || m_fitPending)
        return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        if (m_layout.options.multipleLines == GridOptions::VariableLines)
            fitShownRows();
    });
}

std::pair<int, int> ItemGrid::shownRows() const {
    const int first = rowAt(0);
    if (first < 0)
        return {-1, -1};
    // Below the last row rowAt finds nothing; no more rows fit than the smallest rows would fill.
    const int height = std::max(viewport()->height(), 1);
    const int most = first + height / std::max(verticalHeader()->minimumSectionSize(), 1) + 1;
    const int last = rowAt(height - 1);
    return {first, std::min(last >= 0 ? last : m_model->rowCount() - 1, most)};
}

void ItemGrid::fitShownRows() {
    const auto [first, last] = shownRows();
    if (first < 0)
        return;
    m_applying = true;
    for (int row = first; row <= last; ++row)
        resizeRowToContents(row);
    m_applying = false;
}

bool ItemGrid::anyMergedColumnShown() const {
    const std::vector<int> shown = m_layout.shownColumns();
    return std::any_of(shown.cbegin(), shown.cend(),
                       [this](int column) { return m_layout.columns[std::size_t(column)].merge; });
}
