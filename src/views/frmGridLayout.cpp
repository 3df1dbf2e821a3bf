#include "frmGridLayout.h"

#include "ItemGrid.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/UserPrompts.h"
#include "app/ui/BgrColor.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/ctrOSC.h"
#include "bsGridSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
struct OptionFrame {
    const char* caption;
    int first;
    std::vector<const char*> options;
    int GridOptions::*setting;
};

const std::array<OptionFrame, 5> optionFrames = {{
    {"[multi row view]",
     frmGridLayout::MultipleLinesFirst,
     {"no", "variable", "fixed"},
     &GridOptions::multipleLines},
    {"[selection]",
     frmGridLayout::MarqueeFirst,
     {"dotted line", "border", "highlite cell", "select row", "highlite row", "none", "floating"},
     &GridOptions::marqueeStyle},
    {"[tab-key]", frmGridLayout::TabActionFirst, {"control", "columns", "table"}, &GridOptions::tabAction},
    {"[multi selection]",
     frmGridLayout::MultiSelectFirst,
     {"off", "mouse only", "keyboard + mouse"},
     &GridOptions::multiSelect},
    {"[grid]",
     frmGridLayout::RowDividerFirst,
     {"none", "black line", "grey line", "raised", "inset", "font color", "light gray line"},
     &GridOptions::rowDividerStyle},
}};

const OptionFrame& frameOf(int option) {
    for (auto frame = optionFrames.rbegin(); frame != optionFrames.rend(); ++frame) {
        if (option >= frame->first)
            return *frame;
    }
    return optionFrames.front();
}

// The colour a button of the "[colors]" frame sets: a colour of one of the grid's row styles.
struct ColourTarget {
    int button;
    GridRowStyle GridOptions::*style;
    quint32 GridRowStyle::*colour;
};

constexpr std::array<ColourTarget, 10> colourTargets = {{
    {1, &GridOptions::normal, &GridRowStyle::backColor},
    {2, &GridOptions::normal, &GridRowStyle::foreColor},
    {3, &GridOptions::selected, &GridRowStyle::backColor},
    {4, &GridOptions::selected, &GridRowStyle::foreColor},
    {5, &GridOptions::evenRow, &GridRowStyle::backColor},
    {6, &GridOptions::evenRow, &GridRowStyle::foreColor},
    {7, &GridOptions::oddRow, &GridRowStyle::backColor},
    {8, &GridOptions::oddRow, &GridRowStyle::foreColor},
    {13, &GridOptions::highlightRow, &GridRowStyle::backColor},
    {12, &GridOptions::highlightRow, &GridRowStyle::foreColor},
}};

const ColourTarget* colourTarget(int button) {
    for (const ColourTarget& target : colourTargets) {
        if (target.button == button)
            return &target;
    }
    return nullptr;
}

quint32& colourOf(GridLayout& layout, const ColourTarget& target) {
    return layout.options.*target.style.*target.colour;
}

QString quoted(const QString& format) {
    constexpr int shown = 40;
    return '"' + (format.size() > shown ? format.left(shown) + QStringLiteral("...") : format) + '"';
}
} // namespace

frmGridLayout::frmGridLayout(QWidget* parent)
    : ButtonBarDialog(parent) {
    setObjectName(QStringLiteral("frmGridLayout"));
    setWindowTitle(QStringLiteral("Layout settings"));
    tabs = new QTabWidget(this);
    tabs->addTab(buildGeneralTab(), QStringLiteral("&1. General"));
    tabs->addTab(buildColumnsTab(), QStringLiteral("&2. Columns"));
    tabs->addTab(buildOtherTab(), QStringLiteral("&3. Other"));
    // Unfocused options are drawn on the window colour: the pages take it too.
    for (int page = 0; page < tabs->count(); ++page)
        tabs->widget(page)->setAutoFillBackground(true);
    auto* window = new QVBoxLayout(this);
    window->addWidget(tabs);
    window->addWidget(bar());
    buildTabOrder();
    InputFieldFilter::install(this);
    connect(bar(), &ctrOSC::Cancel, this, &frmGridLayout::DiscardChanges);
}

frmGridLayout::~frmGridLayout() {
    // Closed without the bar, with changes still unsaved: they go as with Cancel.
    if (bar()->Dirty())
        DiscardChanges();
}

frmGridLayout* frmGridLayout::Open(ItemGrid& grid, QWidget* owner) {
    auto* dialog = new frmGridLayout(owner);
    dialog->Init(grid);
    return openModal(dialog);
}

QWidget* frmGridLayout::buildGeneralTab() {
    auto* page = new QWidget(this);
    auto* columns = new QGridLayout(page);
    for (std::size_t f = 0; f < optionFrames.size(); ++f) {
        const OptionFrame& frame = optionFrames[f];
        auto* box = new QGroupBox(QString::fromLatin1(frame.caption), page);
        auto* options = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (std::size_t value = 0; value < frame.options.size(); ++value) {
            const int index = frame.first + int(value);
            opt[std::size_t(index)] = new QRadioButton(QString::fromLatin1(frame.options[value]), box);
            group->addButton(opt[std::size_t(index)], index);
            options->addWidget(opt[std::size_t(index)]);
        }
        options->addStretch();
        connect(group, &QButtonGroup::idClicked, this, &frmGridLayout::opt_Click);
        // Read down each column, in index order; the short groups share the middle one.
        static constexpr std::array<std::pair<int, int>, 5> places = {
            {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}}};
        const auto [row, column] = places[f];
        columns->addWidget(box, row, column, column == 2 ? 2 : 1, 1);
    }
    return page;
}

QWidget* frmGridLayout::buildColumnsTab() {
    auto* page = new QWidget(this);
    lsCols = new QListWidget(page);
    lsCols->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(lsCols, &QListWidget::currentRowChanged, this, [this] { lsCols_Click(); });
    auto* fields = new QFormLayout;
    for (int index = CaptionField; index <= FormatField; ++index) {
        tx[std::size_t(index)] = new QLineEdit(page);
        connect(tx[std::size_t(index)], &QLineEdit::textEdited, this, [this, index] { tx_Change(index); });
        fields->addRow(DialogLayout::buddyLabel(index == CaptionField ? QStringLiteral("caption")
                                                                      : QStringLiteral("format"),
                                                tx[std::size_t(index)]),
                       tx[std::size_t(index)]);
    }
    lblFormatProblem = new QLabel(page);
    lblFormatProblem->setWordWrap(true);
    // Room for the reason before it is given, so that the buttons below stay put while the user types.
    lblFormatProblem->setMinimumHeight(2 * lblFormatProblem->fontMetrics().lineSpacing());
    lblFormatProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFormatProblem->setStyleSheet(QStringLiteral("color: #B00000"));
    fields->addRow(lblFormatProblem);
    const auto clicked = [this](int index) { cmd_Click(index); };
    cmd[ColumnFont] = DialogLayout::commandButton(page, QStringLiteral("font"), ColumnFont, clicked);
    cmd[ColumnBackColor] =
        DialogLayout::commandButton(page, QStringLiteral("background"), ColumnBackColor, clicked);
    cmd[ColumnForeColor] =
        DialogLayout::commandButton(page, QStringLiteral("bont color"), ColumnForeColor, clicked);
    auto* buttons = new QHBoxLayout;
    for (const int index : {ColumnFont, ColumnBackColor, ColumnForeColor})
        buttons->addWidget(cmd[std::size_t(index)]);
    buttons->addStretch();
    fields->addRow(buttons);

    auto* row = new QHBoxLayout(page);
    row->addWidget(lsCols, 1);
    row->addLayout(fields, 2);
    return page;
}

QWidget* frmGridLayout::buildOtherTab() {
    auto* page = new QWidget(this);
    auto* left = new QVBoxLayout;
    const std::array<const char*, 8> captions = {"alternating rowcolors",
                                                 "Column with not fix",
                                                 "rowheight not fixed",
                                                 "columns movable",
                                                 nullptr,
                                                 "cur-keys",
                                                 "split change",
                                                 "row change"};
    for (std::size_t index = 0; index < captions.size(); ++index) {
        if (captions[index] == nullptr)
            continue;
        chk[index] = new QCheckBox(QString::fromLatin1(captions[index]), page);
        left->addWidget(chk[index]);
        if (int(index) >= CursorKeys) {
            // The grid always moves with the cursor keys, has one split and does not wrap at the row
            // end: these show the layout's values and cannot be changed.
            chk[index]->setEnabled(false);
        } else {
            connect(chk[index], &QCheckBox::clicked, this, [this, index] { chk_Click(int(index)); });
        }
    }
    cmd[GridFont] = DialogLayout::commandButton(page, QStringLiteral("font"), GridFont,
                                                [this](int index) { cmd_Click(index); });
    left->addSpacing(8);
    left->addWidget(cmd[GridFont], 0, Qt::AlignLeft);
    left->addStretch();
    auto* row = new QHBoxLayout(page);
    row->addLayout(left);
    row->addWidget(buildColours(page), 1);
    return page;
}

QWidget* frmGridLayout::buildColours(QWidget* owner) {
    auto* frame = new QGroupBox(QStringLiteral("[colors]"), owner);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("background"), frame), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("foreground"), frame), 0, 2, Qt::AlignHCenter);
    const std::array<std::pair<const char*, std::pair<int, int>>, 5> rows = {{
        {"all rows", {1, 2}},
        {"selection", {3, 4}},
        {"even rows", {5, 6}},
        {"odd rows", {7, 8}},
        {"actual row", {13, 12}},
    }};
    for (int row = 0; row < int(rows.size()); ++row) {
        const auto& [caption, buttons] = rows[std::size_t(row)];
        grid->addWidget(new QLabel(QString::fromLatin1(caption), frame), row + 1, 0);
        int column = 1;
        for (const int index : {buttons.first, buttons.second}) {
            cmd[std::size_t(index)] =
                DialogLayout::commandButton(frame, {}, index, [this](int clicked) { cmd_Click(clicked); });
            cmd[std::size_t(index)]->setAccessibleName(QStringLiteral("%1 %2").arg(
                QString::fromLatin1(caption),
                column == 1 ? QStringLiteral("background") : QStringLiteral("foreground")));
            cmd[std::size_t(index)]->setMinimumWidth(64);
            grid->addWidget(cmd[std::size_t(index)], row + 1, column++);
        }
    }
    grid->setRowStretch(int(rows.size()) + 1, 1);
    return frame;
}

void frmGridLayout::buildTabOrder() {
    QList<QWidget*> chain{tabs->tabBar()};
    chain.append(QList<QWidget*>(opt.cbegin(), opt.cend()));
    chain << lsCols << tx[CaptionField] << tx[FormatField] << cmd[ColumnFont] << cmd[ColumnBackColor]
          << cmd[ColumnForeColor];
    for (QCheckBox* box : chk) {
        if (box != nullptr)
            chain << box;
    }
    chain << cmd[GridFont];
    for (const ColourTarget& target : colourTargets)
        chain << cmd[std::size_t(target.button)];
    for (const int button : {ctrOSC::OkButton, ctrOSC::CancelButton, ctrOSC::AcceptButton})
        chain << bar()->button(button);
    DialogLayout::setTabChain(chain);
}

void frmGridLayout::Init(ItemGrid& grid) {
    m_grid = &grid;
    m_stored = grid.gridLayout();
    ReadFromGrid();
}

void frmGridLayout::ReadFromGrid() {
    if (!m_grid)
        return;
    const GridLayout& layout = m_grid->gridLayout();
    const GridOptions& options = layout.options;
    for (const OptionFrame& frame : optionFrames) {
        const int value = options.*frame.setting;
        if (value >= 0 && value < int(frame.options.size()))
            opt[std::size_t(frame.first + value)]->setChecked(true);
    }
    // Tab enters a group at its ticked option, as after the user's own choice.
    for (QRadioButton* option : opt)
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    chk[AlternatingRows]->setChecked(options.alternatingRowStyle);
    enableRowColours(options.alternatingRowStyle);
    chk[ColumnSizing]->setChecked(options.allowSizing);
    chk[RowSizing]->setChecked(options.allowRowSizing);
    chk[ColumnMoving]->setChecked(options.allowColMove);
    chk[CursorKeys]->setChecked(options.allowArrows);
    chk[SplitChange]->setChecked(options.tabAcrossSplits);
    chk[RowChange]->setChecked(options.wrapCellPointer);
    showColours();

    lsCols->clear();
    for (const GridColumn& column : layout.columns)
        lsCols->addItem(column.caption);
    lsCols->setCurrentRow(0);
    bar()->setDirty(false);
}

void frmGridLayout::ApplySizing() {
    if (!m_grid)
        return;
    const bool sizing = chk[ColumnSizing]->isChecked();
    GridLayout layout = m_grid->gridLayout();
    layout.options.allowSizing = sizing;
    for (GridColumn& column : layout.columns)
        column.allowSizing = sizing;
    layout.options.allowRowSizing = chk[RowSizing]->isChecked();
    layout.options.allowColMove = chk[ColumnMoving]->isChecked();
    m_grid->setGridLayout(layout);
}

bool frmGridLayout::ChooseFont(FontDescription& font) {
    const std::optional<FontDescription> chosen = prompts().chooseFont(font);
    if (chosen)
        font = *chosen;
    return chosen.has_value();
}

void frmGridLayout::ChooseColumnFont() {
    const std::vector<int> columns = selectedColumns();
    if (columns.empty() || !m_grid)
        return;
    FontDescription font = m_grid->gridLayout().columns[std::size_t(columns.front())].font;
    if (!ChooseFont(font))
        return;
    edit([&](GridLayout& layout) {
        for (const int column : columns)
            layout.columns[std::size_t(column)].font = font;
    });
}

void frmGridLayout::ChooseColumnBackColor() {
    chooseColumnColour(&GridColumn::backColor);
}

void frmGridLayout::ChooseColumnForeColor() {
    chooseColumnColour(&GridColumn::foreColor);
}

void frmGridLayout::chooseColumnColour(quint32 GridColumn::*colour) {
    const std::vector<int> columns = selectedColumns();
    if (columns.empty() || !m_grid)
        return;
    const std::optional<quint32> chosen =
        prompts().chooseColour(m_grid->gridLayout().columns[std::size_t(columns.front())].*colour);
    if (!chosen)
        return;
    edit([&](GridLayout& layout) {
        for (const int column : columns)
            layout.columns[std::size_t(column)].*colour = *chosen;
    });
}

void frmGridLayout::DiscardChanges() {
    if (!m_grid)
        return;
    try {
        m_grid->LoadLayout();
        bsGridSupport::SetReservedCaptions(*m_grid);
    } catch (...) {
        // Without its file the grid would keep every change the user has just dropped.
        m_grid->setGridLayout(m_stored);
    }
}

void frmGridLayout::opt_Click(int index) {
    ignoringErrors([&] {
        const OptionFrame& frame = frameOf(index);
        edit([&](GridLayout& layout) { layout.options.*frame.setting = index - frame.first; });
    });
}

void frmGridLayout::chk_Click(int index) {
    bar()->setDirty(true);
    if (index != AlternatingRows)
        return;
    ignoringErrors([&] {
        const bool alternating = chk[AlternatingRows]->isChecked();
        edit([&](GridLayout& layout) { layout.options.alternatingRowStyle = alternating; });
        enableRowColours(alternating);
    });
}

void frmGridLayout::cmd_Click(int index) {
    bar()->setDirty(true);
    ignoringErrors([&] {
        switch (index) {
        case GridFont: {
            if (!m_grid)
                return;
            FontDescription font = m_grid->gridLayout().options.font;
            if (!ChooseFont(font))
                return;
            edit([&](GridLayout& layout) {
                layout.options.font = font;
                for (GridColumn& column : layout.columns)
                    column.font = font;
            });
            break;
        }
        case ColumnFont:
            ChooseColumnFont();
            break;
        case ColumnBackColor:
            ChooseColumnBackColor();
            break;
        case ColumnForeColor:
            ChooseColumnForeColor();
            break;
        default:
            chooseColour(index);
            break;
        }
    });
}

void frmGridLayout::chooseColour(int index) {
    const ColourTarget* target = colourTarget(index);
    if (target == nullptr || !m_grid)
        return;
    GridLayout current = m_grid->gridLayout();
    const std::optional<quint32> chosen = prompts().chooseColour(colourOf(current, *target));
    if (!chosen)
        return;
    edit([&](GridLayout& layout) {
        colourOf(layout, *target) = *chosen;
        // All rows: the columns take the grid's colour too, for they paint the rows.
        if (target->style == &GridOptions::normal) {
            const bool back = target->colour == &GridRowStyle::backColor;
            for (GridColumn& column : layout.columns)
                (back ? column.backColor : column.foreColor) = *chosen;
        }
    });
    showColours();
}

void frmGridLayout::lsCols_Click() {
    const int column = lsCols->currentRow();
    if (column < 0 || !m_grid)
        return;
    tx[CaptionField]->setText(lsCols->item(column)->text());
    m_columnFormat = m_grid->gridLayout().columns[std::size_t(column)].numberFormat;
    tx[FormatField]->setText(m_columnFormat);
    lblFormatProblem->clear();
}

void frmGridLayout::tx_Change(int index) {
    const int column = lsCols->currentRow();
    if (column < 0 || !m_grid)
        return;
    const QString text = tx[std::size_t(index)]->text();
    ignoringErrors([&] {
        if (index == CaptionField) {
            edit([&](GridLayout& layout) { layout.columns[std::size_t(column)].caption = text; });
            lsCols->item(column)->setText(text);
            return;
        }
        const QString problem = formatProblem(text);
        lblFormatProblem->setText(problem.isEmpty() ? QString() : QStringLiteral("Not used: ") + problem);
        // Half-typed formats show as far as they can be used; one that cannot leaves the column as it was.
        const QString shown = problem.isEmpty() ? text : m_columnFormat;
        edit([&](GridLayout& layout) { layout.columns[std::size_t(column)].numberFormat = shown; });
    });
}

void frmGridLayout::store(int& cancel) {
    const QString format = tx[FormatField]->text();
    const QString problem = formatProblem(format);
    if (!problem.isEmpty()) {
        ShowMessage(QStringLiteral("The format %1 of the column %2 cannot be used: %3")
                        .arg(quoted(format), quoted(tx[CaptionField]->text()), problem),
                    MessageFlags::Exclamation);
        tabs->setCurrentIndex(1);
        tx[FormatField]->setFocus();
        tx[FormatField]->selectAll();
        cancel = 1;
        return;
    }
    ignoringErrors([&] { ApplySizing(); });
    if (m_grid)
        m_stored = m_grid->gridLayout();
}

void frmGridLayout::showEvent(QShowEvent* event) {
    ButtonBarDialog::showEvent(event);
    if (m_focusPlaced)
        return;
    m_focusPlaced = true;
    // The first field is the ticked option of the first group; the tab bar before it shows no focus
    // until a key has moved it.
    for (int index = MultipleLinesFirst; index < MarqueeFirst; ++index) {
        if (opt[std::size_t(index)]->isChecked())
            opt[std::size_t(index)]->setFocus(Qt::TabFocusReason);
    }
}

void frmGridLayout::edit(const std::function<void(GridLayout&)>& change) {
    bar()->setDirty(true);
    if (!m_grid)
        return;
    GridLayout layout = m_grid->gridLayout();
    change(layout);
    m_grid->setGridLayout(layout);
}

std::vector<int> frmGridLayout::selectedColumns() const {
    std::vector<int> columns;
    for (int row = 0; row < lsCols->count(); ++row) {
        if (lsCols->item(row)->isSelected())
            columns.push_back(row);
    }
    return columns;
}

QString frmGridLayout::formatProblem(const QString& format) const {
    const int column = lsCols->currentRow();
    return column < 0 ? QString() : GridCellFormat::problem(format, GridLayout::valueKind(column));
}

void frmGridLayout::enableRowColours(bool alternating) {
    for (int index = 5; index <= 8; ++index)
        cmd[std::size_t(index)]->setEnabled(alternating);
}

void frmGridLayout::showColours() {
    if (!m_grid)
        return;
    GridLayout layout = m_grid->gridLayout();
    for (const ColourTarget& target : colourTargets) {
        QPixmap swatch(36, 14);
        swatch.fill(BgrColor::toQColor(colourOf(layout, target)));
        // A frame, so that a colour like the button's own still shows.
        QPainter frame(&swatch);
        frame.setPen(QColor(0x80, 0x80, 0x80));
        frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
        frame.end();
        QPushButton* button = cmd[std::size_t(target.button)];
        button->setIcon(swatch);
        button->setIconSize(swatch.size());
    }
}
