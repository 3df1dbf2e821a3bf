#include "frmGridCols.h"

#include "ItemGrid.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/ui/bsInput.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;
// Type-ahead compares the caption, which starts after "000) ".
constexpr int captionStart = 5;

void refuse(const char* text) {
    ShowMessage(QString::fromLatin1(text), errorFlags);
}

QList<int> selectedPositions(const QListWidget* list) {
    QList<int> positions;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            positions << i;
    }
    return positions;
}

// Exchanges text, column and selection of two entries.
void exchange(QListWidget* list, int a, int b) {
    QListWidgetItem* first = list->item(a);
    QListWidgetItem* second = list->item(b);
    const QString text = first->text();
    const QVariant column = first->data(Qt::UserRole);
    const bool selected = first->isSelected();
    first->setText(second->text());
    first->setData(Qt::UserRole, second->data(Qt::UserRole));
    first->setSelected(second->isSelected());
    second->setText(text);
    second->setData(Qt::UserRole, column);
    second->setSelected(selected);
}
} // namespace

frmGridCols::frmGridCols(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmGridCols"));
    setWindowTitle(QStringLiteral("Column view"));
    buildWindow();
    SetChanged(false);
}

void frmGridCols::buildWindow() {
    lstIs = new QListWidget(this);
    lstNot = new QListWidget(this);
    for (QListWidget* list : {lstIs, lstNot}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->installEventFilter(this);
    }
    const auto button = [this](QStyle::StandardPixmap icon, const QString& caption, const QString& tip) {
        auto* made = new QPushButton(caption, this);
        if (caption.isEmpty())
            made->setIcon(style()->standardIcon(icon));
        made->setToolTip(tip);
        made->installEventFilter(this);
        return made;
    };
    cmdUp = button(QStyle::SP_ArrowUp, {}, QStringLiteral("Move selected items upwards"));
    cmdDown = button(QStyle::SP_ArrowDown, {}, QStringLiteral("Move selected items downward"));
    cmdRemove = button(QStyle::SP_ArrowRight, {}, QStringLiteral("Hide selected colums"));
    cmdSelect = button(QStyle::SP_ArrowLeft, {}, QStringLiteral("Show selectd colums"));
    cmdSave = button({}, QStringLiteral("A&ccept"), QStringLiteral("Save all data"));
    cmdOK = button({}, QStringLiteral("OK"), QStringLiteral("Close window, input is saved"));
    cmdCancel = button({}, QStringLiteral("&Cancel"), QStringLiteral("Close window, input is discarded"));
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Displayed columns"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Available colums"), this), 0, 2);
    grid->addWidget(lstIs, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(cmdRemove);
    middle->addWidget(cmdSelect);
    middle->addSpacing(16);
    middle->addWidget(cmdUp);
    middle->addWidget(cmdDown);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    grid->addWidget(lstNot, 1, 2);
    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(cmdOK);
    bar->addWidget(cmdCancel);
    bar->addWidget(cmdSave);
    grid->addLayout(bar, 2, 0, 1, 3);

    connect(cmdUp, &QPushButton::clicked, this, &frmGridCols::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmGridCols::cmdDown_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmGridCols::cmdRemove_Click);
    connect(cmdSelect, &QPushButton::clicked, this, &frmGridCols::cmdSelect_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmGridCols::cmdSave_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmGridCols::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGridCols::cmdCancel_Click);
    resize(560, 360);
}

void frmGridCols::Init(ItemGrid& grid) {
    m_grid = &grid;
    lstIs->clear();
    lstNot->clear();
    const GridLayout& layout = grid.gridLayout();
    for (int i = 0; i < GridLayout::columnCount; ++i) {
        const GridColumn& column = layout.columns[std::size_t(i)];
        auto* entry = new QListWidgetItem(
            QStringLiteral("%1) %2").arg(i + 1, 3, 10, QLatin1Char('0')).arg(column.caption));
        entry->setData(Qt::UserRole, i);
        (column.visible ? lstIs : lstNot)->addItem(entry);
    }
    SetChanged(false);
}

bool frmGridCols::canMove(bool up) {
    if (lstIs->count() == 0) {
        refuse("No items are selected!");
        return false;
    }
    const QList<int> selected = selectedPositions(lstIs);
    if (selected.isEmpty()) {
        refuse("Please select one item!");
        return false;
    }
    if (selected.size() == lstIs->count()) {
        refuse("All items are selected, unable to move one!");
        return false;
    }
    if (lstIs->item(up ? 0 : lstIs->count() - 1)->isSelected()) {
        refuse("Unable to move selected items!");
        return false;
    }
    return true;
}

void frmGridCols::shiftSelected(bool up) {
    if (!canMove(up))
        return;
    SetChanged(true);
    // Each selected entry changes place with its neighbour, so that a block moves as a whole.
    if (up) {
        for (int i = 1; i < lstIs->count(); ++i) {
            if (lstIs->item(i)->isSelected())
                exchange(lstIs, i, i - 1);
        }
    } else {
        for (int i = lstIs->count() - 2; i >= 0; --i) {
            if (lstIs->item(i)->isSelected())
                exchange(lstIs, i, i + 1);
        }
    }
}

void frmGridCols::cmdUp_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdUp_Click"), [&] { shiftSelected(true); });
}

void frmGridCols::cmdDown_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdDown_Click"), [&] { shiftSelected(false); });
}

void frmGridCols::transfer(QListWidget* from, QListWidget* to) {
    const QList<int> selected = selectedPositions(from);
    for (const int position : selected) {
        auto* copy = new QListWidgetItem(from->item(position)->text());
        copy->setData(Qt::UserRole, from->item(position)->data(Qt::UserRole));
        to->addItem(copy);
    }
    for (auto position = selected.crbegin(); position != selected.crend(); ++position)
        delete from->takeItem(*position);
}

void frmGridCols::moveSelected(bool& all, QListWidget* from, QListWidget* to, const char* emptyText) {
    if (all) {
        all = false;
        from->selectAll();
    }
    if (from->count() == 0)
        return refuse(emptyText);
    if (selectedPositions(from).isEmpty())
        return refuse("Please select one item!");
    SetChanged(true);
    transfer(from, to);
}

void frmGridCols::cmdRemove_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdRemove_Click"),
                [&] { moveSelected(m_hideAll, lstIs, lstNot, "No items are selected!"); });
}

void frmGridCols::cmdSelect_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdSelect_Click"),
                [&] { moveSelected(m_showAll, lstNot, lstIs, "All colums are allready displayed!"); });
}

void frmGridCols::cmdSave_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdSave_Click"), [&] { ApplyColumns(); });
}

void frmGridCols::cmdOK_Click() {
    guardedStep(QStringLiteral("Sub:frmGridCols:cmdOK_Click"), [&] {
        if (m_changed)
            ApplyColumns();
        accept();
    });
}

void frmGridCols::cmdCancel_Click() {
    reject();
}

void frmGridCols::ApplyColumns() {
    if (m_grid == nullptr)
        return;
    GridLayout layout = m_grid->gridLayout();
    for (int i = 0; i < lstNot->count(); ++i)
        layout.columns[std::size_t(lstNot->item(i)->data(Qt::UserRole).toInt())].visible = false;
    for (int position = 0; position < lstIs->count(); ++position) {
        GridColumn& column = layout.columns[std::size_t(lstIs->item(position)->data(Qt::UserRole).toInt())];
        column.visible = true;
        column.displayPosition = position;
    }
    m_grid->setGridLayout(layout);
    SetChanged(false);
}

void frmGridCols::SetChanged(bool changed) {
    m_changed = changed;
    cmdSave->setEnabled(changed);
    if (!changed)
        cmdOK->setFocus();
}

bool frmGridCols::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ControlModifier && (key == Qt::Key_F3 || key == Qt::Key_F4)) {
        (key == Qt::Key_F3 ? m_showAll : m_hideAll) = true;
        (key == Qt::Key_F3 ? cmdSelect : cmdRemove)->click();
        return true;
    }
    if (held != Qt::NoModifier)
        return false;
    switch (key) {
    case Qt::Key_F3:
        m_showAll = false;
        cmdSelect->click();
        return true;
    case Qt::Key_F4:
        m_hideAll = false;
        cmdRemove->click();
        return true;
    case Qt::Key_F5:
        cmdUp->click();
        return true;
    case Qt::Key_F6:
        cmdDown->click();
        return true;
    default:
        return false;
    }
}

bool frmGridCols::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && (watched == cmdRemove || watched == cmdSelect)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool all = mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier;
        (watched == cmdRemove ? m_hideAll : m_showAll) = all;
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = key->key();
        if (HandleDialogKey(code, key->modifiers()) || handleKey(key->key(), key->modifiers()))
            return true;
        auto* list = qobject_cast<QListWidget*>(watched);
        if (list != nullptr && key->text().size() == 1 && key->text().at(0).isLetterOrNumber()) {
            code = key->text().at(0).unicode();
            if (ListTypeAhead(list, code, captionStart))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
