#include "frmScheduleAppearance.h"

#include "ColourLabel.h"
#include "SettingsHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/ctrOSC.h"
#include "chart/GanttData.h"
#include "frmCalendarColors.h"
#include "frmTimeFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QStringList lineStyles = {QStringLiteral("None"), QStringLiteral("Simple"), QStringLiteral("3D")};
const QStringList extents = {QStringLiteral("Head"), QStringLiteral("Body"), QStringLiteral("Both")};

QComboBox* comboOf(const QStringList& entries, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->addItems(entries);
    return combo;
}
} // namespace

frmScheduleAppearance::frmScheduleAppearance(SettingsHost& host, QWidget* parent)
    : ButtonBarDialog(parent)
    , m_host(host) {
    setWindowTitle(QStringLiteral("Settings time display"));
    buildWindow();
    InputFieldFilter::install(this);
    guardedStep(QStringLiteral("Sub:frmScheduleAppearance:Form_Load"), [&] { Form_Load(); });
}

frmScheduleAppearance* frmScheduleAppearance::Open(SettingsHost& host) {
    return openModal(new frmScheduleAppearance(host, host.boardWindow()));
}

ChartSettings& frmScheduleAppearance::settings() const {
    return globals().chart->settings();
}

void frmScheduleAppearance::buildWindow() {
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildColours());
    auto* right = new QVBoxLayout;
    right->addWidget(buildLines());
    right->addWidget(buildBands());
    right->addStretch();
    columns->addLayout(right);

    auto* window = new QVBoxLayout(this);
    window->addLayout(columns);
    window->addWidget(bar());

    setTabOrder(cmdBackColor[TimelineRow], cmdForeColor[TimelineRow]);
    setTabOrder(cmdForeColor[TimelineRow], cmdBackColor[BackgroundRow]);
    QWidget* previous = cmdBackColor[BackgroundRow];
    for (int row = Timeline2Row; row <= CoreEndRow; ++row) {
        setTabOrder(previous, cmdForeColor[std::size_t(row)]);
        previous = cmdForeColor[std::size_t(row)];
    }
    for (QWidget* next : {static_cast<QWidget*>(cmbBorderStyle), static_cast<QWidget*>(cmbTimeline),
                          static_cast<QWidget*>(cmbDivider), static_cast<QWidget*>(cmbTimeMarker)}) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (QWidget* next : chk) {
        setTabOrder(previous, next);
        previous = next;
    }
    setTabOrder(previous, cmdTimeFormats);
    previous = cmdTimeFormats;
    for (QWidget* next : cmdDateColor) {
        setTabOrder(previous, next);
        previous = next;
    }
    setTabOrder(previous, bar()->button(ctrOSC::OkButton));
}

QWidget* frmScheduleAppearance::buildColours() {
    const std::array<const char*, 6> captions = {"Timeline", "Background",     "Timeline",
                                                 "Grid",     "Coretime start", "Coretime end"};
    auto* frame = new QGroupBox(QStringLiteral("Colors"), this);
    auto* grid = new QGridLayout(frame);
    for (int row = 0; row < int(captions.size()); ++row) {
        const std::size_t index = std::size_t(row);
        lblScheduleColorCaption[index] = new ColourLabel(QString::fromLatin1(captions[index]), frame);
        lblScheduleColorCaption[index]->setMinimumWidth(130);
        grid->addWidget(lblScheduleColorCaption[index], row, 0);
        if (row <= BackgroundRow) {
            cmdBackColor[index] = new QPushButton(QStringLiteral("Background"), frame);
            connect(cmdBackColor[index], &QPushButton::clicked, this,
                    [this, row] { cmdBackColor_Click(row); });
            grid->addWidget(cmdBackColor[index], row, 1);
        }
        if (row != BackgroundRow) {
            cmdForeColor[index] = new QPushButton(QStringLiteral("Foreground"), frame);
            connect(cmdForeColor[index], &QPushButton::clicked, this,
                    [this, row] { cmdForeColor_Click(row); });
            grid->addWidget(cmdForeColor[index], row, 2);
        }
    }
    grid->setRowStretch(int(captions.size()), 1);
    return frame;
}

QWidget* frmScheduleAppearance::buildLines() {
    auto* frame = new QGroupBox(QStringLiteral("Lines"), this);
    auto* form = new QFormLayout(frame);
    cmbBorderStyle = comboOf(lineStyles, frame);
    cmbTimeline = comboOf(lineStyles, frame);
    cmbDivider = comboOf(lineStyles, frame);
    cmbTimeMarker = comboOf(extents, frame);
    form->addRow(QStringLiteral("Border style"), cmbBorderStyle);
    form->addRow(QStringLiteral("Timeline"), cmbTimeline);
    form->addRow(QStringLiteral("Divider"), cmbDivider);
    form->addRow(QStringLiteral("Timeline length"), cmbTimeMarker);
    for (QComboBox* combo : {cmbBorderStyle, cmbTimeline, cmbDivider, cmbTimeMarker})
        connect(combo, &QComboBox::activated, bar(), [this] { bar()->setDirty(true); });
    return frame;
}

QWidget* frmScheduleAppearance::buildBands() {
    auto* frame = new QGroupBox(QStringLiteral("Time bands"), this);
    auto* column = new QVBoxLayout(frame);
    const std::array<const char*, 3> captions = {"Show timeline", "Show upper band", "Show lower band"};
    for (std::size_t index = 0; index < chk.size(); ++index) {
        chk[index] = new QCheckBox(QString::fromLatin1(captions[index]), frame);
        connect(chk[index], &QCheckBox::clicked, bar(), [this] { bar()->setDirty(true); });
        column->addWidget(chk[index]);
    }
    cmdTimeFormats = new QPushButton(QStringLiteral("Time formats..."), frame);
    connect(cmdTimeFormats, &QPushButton::clicked, this, &frmScheduleAppearance::cmdTimeFormats_Click);
    column->addWidget(cmdTimeFormats);
    const std::array<const char*, 4> calendars = {"Weekdays...", "Months...", "Quarters...", "Years..."};
    auto* calendarButtons = new QGridLayout;
    for (int index = 0; index < int(calendars.size()); ++index) {
        cmdDateColor[std::size_t(index)] =
            new QPushButton(QString::fromLatin1(calendars[std::size_t(index)]), frame);
        connect(cmdDateColor[std::size_t(index)], &QPushButton::clicked, this,
                [this, index] { cmdDateColor_Click(index); });
        calendarButtons->addWidget(cmdDateColor[std::size_t(index)], index / 2, index % 2);
    }
    column->addLayout(calendarButtons);
    return frame;
}

void frmScheduleAppearance::Form_Load() {
    const ChartSettings& chart = settings();
    lblScheduleColorCaption[TimelineRow]->setBack(chart.timelineBack);
    lblScheduleColorCaption[TimelineRow]->setFore(chart.timelineFore);
    lblScheduleColorCaption[BackgroundRow]->setBack(chart.background);
    lblScheduleColorCaption[Timeline2Row]->setFore(chart.timeline2);
    lblScheduleColorCaption[GridRow]->setFore(chart.grid);
    lblScheduleColorCaption[CoreStartRow]->setFore(chart.coreTimeStart);
    lblScheduleColorCaption[CoreEndRow]->setFore(chart.coreTimeEnd);
    cmbBorderStyle->setCurrentIndex(chart.borderStyle);
    cmbTimeline->setCurrentIndex(chart.timelineStyle);
    cmbDivider->setCurrentIndex(chart.dividerStyle);
    cmbTimeMarker->setCurrentIndex(chart.timelineExtent);
    chk[ShowTimeline]->setChecked(chart.showTimeline);
    chk[ShowUpperBand]->setChecked(chart.showUpperBand);
    chk[ShowLowerBand]->setChecked(chart.showLowerBand);
    bar()->setDirty(false);
}

void frmScheduleAppearance::store(int&) {
    ChartSettings& chart = settings();
    chart.timelineBack = lblScheduleColorCaption[TimelineRow]->back();
    chart.timelineFore = lblScheduleColorCaption[TimelineRow]->fore();
    chart.background = lblScheduleColorCaption[BackgroundRow]->back();
    chart.timeline2 = lblScheduleColorCaption[Timeline2Row]->fore();
    chart.grid = lblScheduleColorCaption[GridRow]->fore();
    chart.coreTimeStart = lblScheduleColorCaption[CoreStartRow]->fore();
    chart.coreTimeEnd = lblScheduleColorCaption[CoreEndRow]->fore();
    // A value the list does not hold (from a foreign file) selects no entry and stays as it was.
    const auto storeIndex = [](const QComboBox* combo, int& target) {
        if (combo->currentIndex() >= 0)
            target = combo->currentIndex();
    };
    storeIndex(cmbBorderStyle, chart.borderStyle);
    storeIndex(cmbTimeline, chart.timelineStyle);
    storeIndex(cmbDivider, chart.dividerStyle);
    storeIndex(cmbTimeMarker, chart.timelineExtent);
    chart.showTimeline = chk[ShowTimeline]->isChecked();
    chart.showUpperBand = chk[ShowUpperBand]->isChecked();
    chart.showLowerBand = chk[ShowLowerBand]->isChecked();
    m_host.settingsStored();
}

void frmScheduleAppearance::cmdBackColor_Click(int index) {
    if (lblScheduleColorCaption[std::size_t(index)]->chooseBack())
        bar()->setDirty(true);
}

void frmScheduleAppearance::cmdForeColor_Click(int index) {
    if (lblScheduleColorCaption[std::size_t(index)]->chooseFore())
        bar()->setDirty(true);
}

QDialog* frmScheduleAppearance::cmdTimeFormats_Click() {
    return openModal(new frmTimeFormats(m_host, this));
}

QDialog* frmScheduleAppearance::cmdDateColor_Click(int index) {
    return openModal(new frmCalendarColors(index + 1, m_host, this));
}
