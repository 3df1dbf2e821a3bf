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
    grid->addWidget(new QLabel(QStringLiteral("Start"), this), 1, 0);
    grid->addWidget(tx[StartDate], 1, 1);
    grid->addWidget(tx[StartTime], 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("End"), this), 2, 0);
    grid->addWidget(tx[EndDate], 2, 1);
    grid->addWidget(tx[EndTime], 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Caption"), this), 3, 0);
    grid->addWidget(tx[Caption], 3, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Style"), this), 4, 0);
    grid->addWidget(cmbStyle, 4, 1, 1, 2);
    grid->addWidget(cmdDOK, 5, 2);
    lblHint->setWordWrap(true);
    grid->addWidget(lblHint, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
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
    clear();
}

void DetailPanel::showItem(const ChartItem& item, const GanttData& chart) {
    tx[StartDate]->setText(FieldDateText(item.start().date()));
    tx[StartTime]->setText(FieldTimeText(item.start().time()));
    tx[EndDate]->setText(FieldDateText(item.end().date()));
    tx[EndTime]->setText(FieldTimeText(item.end().time()));
    tx[Caption]->setText(item.caption());
    lblSeries->setEnabled(!item.seriesKey().isEmpty());
    lblHint->hide();
    if (const ChartStyle* style = chart.styles().byKey(item.styleKey()))
        chooseStyle(style->key());
}

void DetailPanel::clear() {
    for (QLineEdit* field : tx)
        field->clear();
    lblSeries->setEnabled(false);
    lblHint->show();
    setEnabled(false);
}

void DetailPanel::loadStyles(const GanttData& chart) {
    FillStyleList(*cmbStyle, chart, ChartStyle::ItemKind);
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
