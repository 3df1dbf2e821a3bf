#include "frmResource.h"

#include "PictureChooser.h"
#include "StyleList.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/ui/ColorComboBox.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmResource::frmResource(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("New resources"));
    buildWindow();
    InputFieldFilter::install(this);
    guardedStep(QStringLiteral("Sub:frmResource:Form_Load"), [&] { loadStyles(); });
}

void frmResource::buildWindow() {
    txName = new QLineEdit(this);
    txPicture = new QLineEdit(this);
    cmdPicture = new QPushButton(QStringLiteral("..."), this);
    cmdPicture->setToolTip(QString::fromLatin1(PictureChooser::title));
    cmdPicture->setAutoDefault(false);
    cmdPicture->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("....")) + 20);
    cmbStyle = new ColorComboBox(this);
    cmbStyle->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbStyle->setMinimumContentsLength(16);
    const QStringList captions = {tr("&OK"), tr("&Return")};
    DialogLayout::makeCommandButtons(cmd, this, captions, [this](int index) { cmd_Click(index); });
    cmd[OkCommand]->setDefault(true);
    connect(cmdPicture, &QPushButton::clicked, this, &frmResource::choosePicture);

    using DialogLayout::buddyLabel;
    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(tr("&Name"), txName), 0, 0);
    grid->addWidget(txName, 0, 1, 1, 2);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(txPicture, 1);
    pictureRow->addWidget(cmdPicture);
    grid->addWidget(buddyLabel(tr("&Picture"), txPicture), 1, 0);
    grid->addLayout(pictureRow, 1, 1, 1, 2);
    grid->addWidget(buddyLabel(tr("&Style"), cmbStyle), 2, 0);
    grid->addWidget(cmbStyle, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 300);

    auto* window = new QVBoxLayout(this);
    window->addLayout(grid);
    window->addStretch();
    window->addLayout(DialogLayout::buttonRow({cmd[OkCommand], cmd[ReturnCommand]}));

    DialogLayout::setTabChain({txName, txPicture, cmdPicture, cmbStyle, cmd[OkCommand], cmd[ReturnCommand]});
}

void frmResource::loadStyles() {
    cmbStyle->clear();
    if (const GanttData* chart = globals().chart)
        FillStyleList(*cmbStyle, *chart, ChartStyle::RowKind);
    cmbStyle->setCurrentIndex(-1);
}

void frmResource::LetGantRow(const ChartRow& row) {
    m_rowKey = row.key();
}

void frmResource::showEvent(QShowEvent* event) {
    if (!m_activated) {
        m_activated = true;
        guardedStep(QStringLiteral("Sub:frmResource:Form_Activate"), [&] { firstActivation(); });
    }
    QDialog::showEvent(event);
}

void frmResource::firstActivation() {
    const GanttData* chart = globals().chart;
    const ChartRow* row = m_rowKey.isEmpty() || chart == nullptr ? nullptr : chart->rows().byKey(m_rowKey);
    if (row == nullptr) {
        setWindowTitle(tr("New resources"));
        if (cmbStyle->count() > 0)
            cmbStyle->setCurrentIndex(0);
        return;
    }
    setWindowTitle(tr("Resource"));
    txName->setText(row->caption);
    txPicture->setText(row->picture);
    const int style = cmbStyle->findText(row->styleKey, Qt::MatchExactly);
    if (style >= 0)
        cmbStyle->setCurrentIndex(style);
}

void frmResource::choosePicture() {
    ignoringErrors([&] {
        const QString chosen = ChoosePicture(txPicture->text());
        if (!chosen.isEmpty())
            txPicture->setText(chosen);
    });
}

void frmResource::cmd_Click(int index) {
    if (!guardedStep(QStringLiteral("Sub:frmResource:cmd_Click"), [&] { apply(); }))
        return;
    if (index == ReturnCommand) {
        accept();
        return;
    }
    // Ready for the next name.
    txName->setFocus();
    txName->selectAll();
}

void frmResource::apply() {
    GanttData* chart = globals().chart;
    if (chart == nullptr)
        return;
    const QString name = txName->text();
    if (m_rowKey.isEmpty()) {
        if (name != m_lastCaption)
            chart->rows().add(bsSupport::NewKey(), name, cmbStyle->currentText(), txPicture->text());
    } else if (ChartRow* row = chart->rows().byKey(m_rowKey)) {
        row->caption = name;
        row->picture = txPicture->text();
        row->styleKey = cmbStyle->currentText();
    }
    m_lastCaption = name;
    chart->redraw();
    if (clsItems* items = globals().items)
        items->RowsChanged();
}
