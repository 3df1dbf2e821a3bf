#include "DetailPanel.h"

#include "app/ui/ColorComboBox.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/bsInput.h"
#include "chart/ChartStyle.h"
#include "chart/GanttData.h"
#include "editing/StyleList.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DetailPanel::DetailPanel(QWidget* parent)
    : QFrame(parent)
    , cmbStyle(new ColorComboBox(this))
    , lblResource(new QLabel(this))
    , lblSeries(new QLabel(QStringLiteral("(S)"), this))
    , cmdDOK(new QPushButton(QStringLiteral("O&K"), this))
    , lblHint(new QLabel(tr("Click a booking on the board to show it here, or draw a new one with the "
                            "mouse."),
                         this)) {
    setFrameShape(QFrame::StyledPanel);
    setObjectName(QStringLiteral("detailPanel"));
    for (QLineEdit*& field : tx)
        field = new QLineEdit(this);
    tx[Caption]->setMaxLength(255);
    lblSeries->setToolTip(tr("The item belongs to a series"));
    cmbStyle->setToolTip(tr("Style of the date item"));
    cmdDOK->setToolTip(tr("Apply start, end, caption and style to the item"));

    auto* title = new QLabel(tr("Date item"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(6);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(lblSeries, 0, 2, Qt::AlignRight);
    grid->addWidget(new QLabel(tr("Resource"), this), 1, 0);
    lblResource->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(lblResource, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Start"), this), 2, 0);
    grid->addWidget(tx[StartDate], 2, 1);
    grid->addWidget(tx[StartTime], 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("End"), this), 3, 0);
    grid->addWidget(tx[EndDate], 3, 1);
    grid->addWidget(tx[EndTime], 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Caption"), this), 4, 0);
    grid->addWidget(tx[Caption], 4, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Style"), this), 5, 0);
    grid->addWidget(cmbStyle, 5, 1, 1, 2);
    grid->addWidget(cmdDOK, 6, 2);
    lblHint->setWordWrap(true);
    grid->addWidget(lblHint, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);

    m_fields = InputFieldFilter::install(this);
    m_fields->setKind(tx[StartDate], InputKind::Date);
    m_fields->setKind(tx[StartTime], InputKind::Time);
    m_fields->setKind(tx[EndDate], InputKind::Date);
    m_fields->setKind(tx[EndTime], InputKind::Time);
    m_fields->watch(tx[Caption]);
    m_fields->watch(cmbStyle);

    connect(cmdDOK, &QPushButton::clicked, this, &DetailPanel::applyClicked);
    orderTabs();
    clear();
}

void DetailPanel::orderTabs() {
    const std::array<QWidget*, 7> order = {tx[StartDate], tx[StartTime], tx[EndDate], tx[EndTime],
                                           tx[Caption],   cmbStyle,      cmdDOK};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void DetailPanel::showItem(const ChartItem& item, const GanttData& chart) {
    tx[StartDate]->setText(FieldDateText(item.start().date()));
    tx[StartTime]->setText(FieldTimeText(item.start().time()));
    tx[EndDate]->setText(FieldDateText(item.end().date()));
    tx[EndTime]->setText(FieldTimeText(item.end().time()));
    tx[Caption]->setText(item.caption());
    const ChartRow* resource = chart.rows().byKey(item.rowKey());
    lblResource->setText(resource ? resource->caption : QString());
    lblSeries->setEnabled(!item.seriesKey().isEmpty());
    lblHint->hide();
    const ChartStyle* style = chart.styles().byKey(item.styleKey());
    if (!style || !chooseStyle(style->key()))
        cmbStyle->setCurrentIndex(-1);
}

void DetailPanel::clear() {
    for (QLineEdit* field : tx)
        field->clear();
    lblResource->clear();
    cmbStyle->setCurrentIndex(-1);
    lblSeries->setEnabled(false);
    lblHint->show();
    setEnabled(false);
}

void DetailPanel::loadStyles(const GanttData& chart) {
    // A refill keeps the choice, and an empty panel stays without one.
    const QString chosen = styleKey();
    FillStyleList(*cmbStyle, chart, ChartStyle::ItemKind);
    if (chosen.isEmpty() || !chooseStyle(chosen))
        cmbStyle->setCurrentIndex(-1);
}

QString DetailPanel::styleKey() const {
    return cmbStyle->currentKey();
}

bool DetailPanel::chooseStyle(const QString& key) {
    return cmbStyle->chooseKey(key);
}

std::optional<TimePoint> DetailPanel::timePoint(Field dateField, Field timeField) const {
    const auto date = FieldDate(tx[dateField]->text());
    const auto time = FieldTime(tx[timeField]->text());
    if (!date || !time)
        return std::nullopt;
    return TimePoint::fromDateTime(*date, *time);
}

std::optional<TimePoint> DetailPanel::start() const {
    return timePoint(StartDate, StartTime);
}

std::optional<TimePoint> DetailPanel::end() const {
    return timePoint(EndDate, EndTime);
}

QString DetailPanel::caption() const {
    return tx[Caption]->text();
}

void DetailPanel::validateFields() {
    m_fields->validateFields();
}
