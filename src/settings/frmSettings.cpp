#include "frmSettings.h"

#include "ColourLabel.h"
#include "SettingsHost.h"
#include "WorkingPeriods.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/clsSettings.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/bsInput.h"
#include "app/ui/ctrOSC.h"
#include "chart/GanttData.h"
#include "editing/frmClearUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
struct GridEntry {
    const char* caption;
    const char* code;
};

constexpr std::array<GridEntry, frmSettings::gridEntries> gridEntries = {{
    {"5 seconds", "5s"},
    {"10 seconds", "10s"},
    {"15 seconds", "15s"},
    {"30 seconds", "30s"},
    {"1 minute", "1n"},
    {"5 minutes", "5n"},
    {"10 minutes", "10n"},
    {"15 minutes", "15n"},
    {"30 minutes", "30n"},
    {"1 hour", "1h"},
    {"2 hours", "2h"},
    {"3 hours", "3h"},
    {"6 hours", "6h"},
    {"12 hours", "12h"},
    {"1 day", "1d"},
}};
constexpr int loadedGridEntry = 7; // "15 minutes"

// A field's text as leaving the field would leave it, in seconds of the day; 0 for an invalid text.
int secondsOf(QString text) {
    if (!ValidateField(text, InputKind::Time))
        return 0;
    const std::optional<QTime> time = FieldTime(text);
    return time ? time->msecsSinceStartOfDay() / 1000 : 0;
}

ChartSettings& chartSettings() {
    return globals().chart->settings();
}
} // namespace

frmSettings::frmSettings(SettingsHost& host, QWidget* parent)
    : ButtonBarDialog(parent)
    , m_host(host) {
    setWindowTitle(QStringLiteral("Settings"));
    buildWindow();
    m_fields = InputFieldFilter::install(this);
    for (std::size_t period = 0; period < std::size_t(periods); ++period) {
        m_fields->setKind(txCoreTimeStart[period], InputKind::Time);
        m_fields->setKind(txCoreTimeEnd[period], InputKind::Time);
    }
    m_fields->setKind(tx[0], InputKind::PositiveInteger);
    guardedStep(QStringLiteral("Sub:frmSettings:Form_Load"), [&] { Form_Load(); });
}

frmSettings* frmSettings::Open(SettingsHost& host) {
    return openModal(new frmSettings(host, host.boardWindow()));
}

QString frmSettings::gridCode(int index) {
    if (index < 0 || index >= gridEntries)
        return {};
    return QString::fromLatin1(::gridEntries[std::size_t(index)].code);
}

void frmSettings::buildWindow() {
    auto* top = new QHBoxLayout;
    top->addWidget(buildGrid());
    top->addWidget(buildWorkingHours());
    top->addWidget(buildUtilization());
    auto* window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addLayout(buildDeletion());
    window->addWidget(bar());
    setTabOrders();
}

QWidget* frmSettings::buildGrid() {
    auto* frame = new QGroupBox(QStringLiteral("[Time grid]"), this);
    auto* column = new QVBoxLayout(frame);
    cmbGrid = new QComboBox(frame);
    connect(cmbGrid, &QComboBox::activated, bar(), [this] { bar()->setDirty(true); });
    column->addWidget(cmbGrid);
    column->addSpacing(8);
    const std::array<const char*, 4> captions = {"Show time grid", "Snap to grid", "Move whole days only",
                                                 "Mark core times"};
    for (std::size_t index = 0; index < chk.size(); ++index) {
        chk[index] = new QCheckBox(QString::fromLatin1(captions[index]), frame);
        connect(chk[index], &QCheckBox::clicked, bar(), [this] { bar()->setDirty(true); });
        column->addWidget(chk[index]);
    }
    column->addStretch();
    return frame;
}

QWidget* frmSettings::buildWorkingHours() {
    auto* frame = new QGroupBox(QStringLiteral("[Working hours]"), this);
    auto* days = new QVBoxLayout;
    for (int weekday = 0; weekday < ChartSettings::weekdays; ++weekday) {
        auto* option = new QRadioButton(workingWeekdayName(weekday), frame);
        connect(option, &QRadioButton::clicked, this, [this, weekday] {
            if (!m_loading)
                optWeekday_Click(weekday);
        });
        days->addWidget(option);
        optWeekday[std::size_t(weekday)] = option;
    }
    days->addStretch();

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("start"), frame), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("end"), frame), 0, 1);
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 16;
    for (int period = 0; period < periods; ++period) {
        for (auto* fieldArray : {&txCoreTimeStart, &txCoreTimeEnd}) {
            auto* field = new QLineEdit(frame);
            field->setFixedWidth(width);
            connect(field, &QLineEdit::textChanged, this, &frmSettings::fieldChanged);
            (*fieldArray)[std::size_t(period)] = field;
        }
        fields->addWidget(txCoreTimeStart[std::size_t(period)], period + 1, 0);
        fields->addWidget(txCoreTimeEnd[std::size_t(period)], period + 1, 1);
    }

    auto* row = new QHBoxLayout(frame);
    row->addLayout(days);
    row->addSpacing(8);
    row->addLayout(fields);
    return frame;
}

QWidget* frmSettings::buildUtilization() {
    const std::array<const char*, utilizationLevels> captions = {"No utilization",      "Utilization <= 25%",
                                                                 "Utilization <= 50%",  "Utilization <= 85%",
                                                                 "Utilization <= 100%", "Utilization > 100%"};
    auto* frame = new QGroupBox(QStringLiteral("[Colors utilization]"), this);
    auto* grid = new QGridLayout(frame);
    for (int level = 0; level < utilizationLevels; ++level) {
        const std::size_t index = std::size_t(level);
        lblUtilization[index] = new ColourLabel(QString::fromLatin1(captions[index]), frame);
        lblUtilization[index]->setMinimumWidth(150);
        cmdColor[index] = new QPushButton(QStringLiteral("Choose color"), frame);
        connect(cmdColor[index], &QPushButton::clicked, this, [this, level] { cmdColor_Click(level); });
        grid->addWidget(lblUtilization[index], level, 0);
        grid->addWidget(cmdColor[index], level, 1);
    }
    grid->setRowStretch(utilizationLevels, 1);
    return frame;
}

QLayout* frmSettings::buildDeletion() {
    tx[0] = new QLineEdit(this);
    tx[0]->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    tx[0]->setAlignment(Qt::AlignRight);
    connect(tx[0], &QLineEdit::textChanged, this, &frmSettings::fieldChanged);
    auto* before = new QLabel(QStringLiteral("Delete after"), this);
    before->setBuddy(tx[0]);
    cmdClearUp = new QPushButton(QStringLiteral("&Clean up"), this);
    cmdClearUp->setAutoDefault(false);
    connect(cmdClearUp, &QPushButton::clicked, this, &frmSettings::cmdClearUp_Click);
    auto* row = new QHBoxLayout;
    row->addWidget(before);
    row->addWidget(tx[0]);
    row->addWidget(new QLabel(QStringLiteral("days"), this));
    row->addStretch();
    row->addWidget(cmdClearUp);
    return row;
}

void frmSettings::setTabOrders() {
    QWidget* previous = cmbGrid;
    const auto next = [&](QWidget* widget) {
        setTabOrder(previous, widget);
        previous = widget;
    };
    for (QWidget* check : chk)
        next(check);
    for (QWidget* option : optWeekday)
        next(option);
    for (std::size_t period = 0; period < std::size_t(periods); ++period) {
        next(txCoreTimeStart[period]);
        next(txCoreTimeEnd[period]);
    }
    for (QWidget* button : cmdColor)
        next(button);
    next(tx[0]);
    next(cmdClearUp);
    next(bar()->button(ctrOSC::OkButton));
}

void frmSettings::Form_Load() {
    for (const GridEntry& entry : ::gridEntries)
        cmbGrid->addItem(QString::fromLatin1(entry.caption));
    cmbGrid->setCurrentIndex(loadedGridEntry);
    m_coreTimes = chartSettings().coreTimes;
}

void frmSettings::showEvent(QShowEvent* event) {
    if (!m_activated) {
        m_activated = true;
        guardedStep(QStringLiteral("Sub:frmSettings:Form_Activate"), [&] { Form_Activate(); });
    }
    ButtonBarDialog::showEvent(event);
}

void frmSettings::Form_Activate() {
    const ChartSettings& settings = chartSettings();
    const clsSettings& planner = *globals().settings;
    m_loading = true;
    tx[0]->setText(QString::number(planner.DeleteAfterDays()));
    for (int level = 0; level < utilizationLevels; ++level)
        lblUtilization[std::size_t(level)]->setBack(planner.UtilizationColor(level));
    chk[ShowGrid]->setChecked(settings.showGrid);
    chk[SnapToGrid]->setChecked(settings.snapToGrid);
    chk[MoveWholeDays]->setChecked(settings.moveWholeDaysOnly);
    chk[MarkCoreTimes]->setChecked(settings.markCoreTimes);
    for (int index = 0; index < gridEntries; ++index) {
        if (gridCode(index) == settings.gridInterval)
            cmbGrid->setCurrentIndex(index);
    }
    m_loading = false;
    m_weekday = 0;
    ShowCoreTimes(0);
    bar()->setDirty(false);
}

void frmSettings::ShowCoreTimes(int weekday) {
    guardedStep(QStringLiteral("Sub:frmSettings:ShowCoreTimes"), [&] {
        m_loading = true;
        optWeekday[std::size_t(weekday)]->setChecked(true);
        const auto& day = m_coreTimes[std::size_t(weekday)];
        for (std::size_t period = 0; period < std::size_t(periods); ++period) {
            // A period never set shows empty fields rather than two midnights; both read back as 0.
            const bool unset = day[period].start == 0 && day[period].end == 0;
            txCoreTimeStart[period]->setText(unset ? QString() : workingTimeText(day[period].start));
            txCoreTimeEnd[period]->setText(unset ? QString() : workingTimeText(day[period].end));
        }
        m_loading = false;
    });
    m_loading = false;
}

void frmSettings::storeShownWeekday() {
    auto& day = m_coreTimes[std::size_t(m_weekday)];
    for (std::size_t period = 0; period < std::size_t(periods); ++period)
        day[period] = CoreTimePeriod{secondsOf(txCoreTimeStart[period]->text()),
                                     secondsOf(txCoreTimeEnd[period]->text())};
}

void frmSettings::optWeekday_Click(int weekday) {
    if (weekday < 0 || weekday >= ChartSettings::weekdays)
        return;
    guardedStep(QStringLiteral("Sub:frmSettings:optWeekday_Click"), [&] {
        storeShownWeekday();
        ShowCoreTimes(weekday);
        m_weekday = weekday;
    });
}

void frmSettings::fieldChanged() {
    if (!m_loading)
        bar()->setDirty(true);
}

void frmSettings::cmdColor_Click(int level) {
    ignoringErrors([&] {
        if (lblUtilization.at(std::size_t(level))->chooseBack())
            bar()->setDirty(true);
    });
}

void frmSettings::cmdClearUp_Click() {
    frmClearUp::showModal(this);
}

void frmSettings::store(int& cancel) {
    bool stored = false;
    guardedStep(QStringLiteral("Sub:frmSettings:SaveData"), [&] { stored = SaveData(); });
    if (!stored)
        cancel = 1;
}

bool frmSettings::SaveData() {
    // A text pasted into the field that has the focus is checked as leaving the field would.
    m_fields->validateFields();
    storeShownWeekday();
    if (const std::optional<WorkingPeriodProblem> problem = checkWorkingPeriods(m_coreTimes)) {
        optWeekday_Click(problem->weekday);
        ShowMessage(problem->text, MessageFlags::Exclamation);
        txCoreTimeEnd[std::size_t(problem->period)]->setFocus();
        return false;
    }
    clsSettings& planner = *globals().settings;
    planner.setDeleteAfterDays(roundToInt(FieldNumber(tx[0]->text()).value_or(0)));
    for (int level = 0; level < utilizationLevels; ++level)
        planner.setUtilizationColor(level, lblUtilization[std::size_t(level)]->back());

    ChartSettings& settings = chartSettings();
    settings.coreTimes = m_coreTimes;
    settings.showGrid = chk[ShowGrid]->isChecked();
    settings.snapToGrid = chk[SnapToGrid]->isChecked();
    settings.moveWholeDaysOnly = chk[MoveWholeDays]->isChecked();
    settings.markCoreTimes = chk[MarkCoreTimes]->isChecked();
    if (const QString code = gridCode(cmbGrid->currentIndex()); !code.isEmpty())
        settings.gridInterval = code;
    // Saving the timetable settings puts the core time marks back to green and yellow.
    settings.coreTimeStart = 0x00FF00;
    settings.coreTimeEnd = 0x00FFFF;
    m_host.settingsStored();
    return true;
}
