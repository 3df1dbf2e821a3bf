#include "frmSeries.h"

#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/StepStatus.h"
#include "app/ui/bsInput.h"
#include "frmDatePicker.h"
#include "model/clsItems.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString updateIdentity = QStringLiteral("Sub:frmSeries:Update");
const QString checkingText = QStringLiteral("Checking items for");
} // namespace

frmSeries::frmSeries(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Item-Series"));
    buildWindow();
    m_filter = InputFieldFilter::install(this);
    m_filter->setKind(tx[IntervalField], InputKind::PositiveInteger);
    m_filter->setKind(tx[CountField], InputKind::PositiveInteger);
    m_filter->setKind(tx[LastDateField], InputKind::Date);
    connect(m_filter, &InputFieldFilter::fieldValidated, this, &frmSeries::showWhole);
    // Installed after the common filter, so that Ctrl+K reaches the dialog before the field.
    tx[LastDateField]->installEventFilter(this);
}

frmSeries* frmSeries::showFor(const QString& itemKey, QWidget* owner) {
    auto* dialog = new frmSeries(owner);
    dialog->ItemID(itemKey);
    return openModal(dialog);
}

void frmSeries::buildWindow() {
    cmbType = new QComboBox(this);
    for (int type = 0; type < ItemSeries::typeCount; ++type)
        cmbType->addItem(ItemSeries::typeName(type));
    cmbType->setCurrentIndex(ItemSeries::Daily);
    for (QLineEdit*& field : tx)
        field = new QLineEdit(this);
    tx[IntervalField]->setText(QStringLiteral("1"));

    const QFontMetrics metrics(font());
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("00000")) + 16;
    tx[IntervalField]->setFixedWidth(numberWidth);
    tx[CountField]->setFixedWidth(numberWidth);
    const int dateWidth = DialogLayout::dateTextWidth(metrics);
    tx[LastDateField]->setFixedWidth(dateWidth + 16);

    cmdSearch = new QPushButton(frmDatePicker::buttonIcon(), QString(), this);
    cmdSearch->setToolTip(tr("Calendar (Ctrl+K)"));
    cmdSearch->setAutoDefault(false);
    cmdSearch->setFocusPolicy(Qt::NoFocus);
    connect(cmdSearch, &QPushButton::clicked, this, &frmSeries::cmdSearch_Click);

    lblStatus = new QLabel(this);
    lblStatus->setMinimumWidth(metrics.horizontalAdvance(checkingText) + dateWidth + 8);

    const QStringList captions = {tr("&OK"), tr("&Cancel")};
    DialogLayout::makeCommandButtons(cmd, this, captions, [this](int index) { cmd_Click(index); });
    cmd[OkCommand]->setDefault(true);

    using DialogLayout::buddyLabel;
    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(tr("&Type"), cmbType), 0, 0);
    grid->addWidget(cmbType, 0, 1, 1, 2);
    grid->addWidget(buddyLabel(tr("&Interval"), tx[IntervalField]), 1, 0);
    grid->addWidget(tx[IntervalField], 1, 1);
    grid->addWidget(buddyLabel(tr("&Count"), tx[CountField]), 2, 0);
    grid->addWidget(tx[CountField], 2, 1);
    grid->addWidget(buddyLabel(tr("&Last date"), tx[LastDateField]), 3, 0);
    grid->addWidget(tx[LastDateField], 3, 1);
    grid->addWidget(cmdSearch, 3, 2, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);

    auto* window = new QVBoxLayout(this);
    window->addLayout(grid);
    window->addWidget(lblStatus);
    window->addLayout(DialogLayout::buttonRow({cmd[OkCommand], cmd[CancelCommand]}));
    DialogLayout::setTabChain(
        {cmbType, tx[IntervalField], tx[CountField], tx[LastDateField], cmd[OkCommand], cmd[CancelCommand]});
}

void frmSeries::showWhole(QLineEdit* field, bool valid) {
    if (!valid || field == tx[LastDateField] || field->text().isEmpty())
        return;
    field->setText(QString::number(roundToInt(leadingNumber(field->text()))));
}

void frmSeries::cmd_Click(int index) {
    if (index == OkCommand)
        Update();
    else if (index == CancelCommand)
        reject();
}

void frmSeries::cmdSearch_Click() {
    QLineEdit* field = tx[LastDateField];
    if (const std::optional<QDate> picked = frmDatePicker::pickFor(field))
        field->setText(TimePoint::fromDate(*picked).shortDate());
}

ItemSeries::Request frmSeries::request() const {
    ItemSeries::Request values;
    values.type = cmbType->currentIndex();
    values.interval = leadingNumber(tx[IntervalField]->text());
    values.count = leadingNumber(tx[CountField]->text());
    if (const std::optional<QDate> date = FieldDate(tx[LastDateField]->text()))
        values.lastDate = TimePoint::fromDate(*date);
    return values;
}

void frmSeries::Update() {
    guardedStep(updateIdentity, [&] { update(); });
}

void frmSeries::update() {
    // Pasted text and a field still being typed in are read as leaving the field would read them.
    m_filter->validateFields();
    ItemSeries::Plan plan;
    ItemSeries::Refusal refusal = ItemSeries::plan(request(), plan);
    clsItems* items = globals().items;
    if (refusal == ItemSeries::Refusal::None)
        refusal = items == nullptr ? ItemSeries::Refusal::MasterMissing
                                   : ItemSeries::checkMaster(items->chart(), m_itemId, plan);
    if (refusal != ItemSeries::Refusal::None) {
        refuse(refusal);
        return;
    }
    StepStatus status(lblStatus, checkingText);
    ItemSeries::generate(
        *items, m_itemId, plan, [&](TimePoint day) { status.show(day); }, updateIdentity);
    accept();
}

void frmSeries::refuse(ItemSeries::Refusal refusal) {
    ShowMessage(ItemSeries::message(refusal), MessageFlags::OkOnly | MessageFlags::Critical);
    switch (refusal) {
    case ItemSeries::Refusal::IntervalBelowOne:
    case ItemSeries::Refusal::IntervalAboveMaximum:
        tx[IntervalField]->setFocus();
        break;
    case ItemSeries::Refusal::NoAmount:
    case ItemSeries::Refusal::CountAboveMaximum:
        tx[CountField]->setFocus();
        break;
    case ItemSeries::Refusal::LastDateTooLate:
    case ItemSeries::Refusal::LastDateNotAfterMaster:
        tx[LastDateField]->setFocus();
        break;
    case ItemSeries::Refusal::MasterMissing:
        reject();
        break;
    case ItemSeries::Refusal::None:
        break;
    }
}

bool frmSeries::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tx[LastDateField] && frmDatePicker::isPickerKey(event)) {
        cmdSearch_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
