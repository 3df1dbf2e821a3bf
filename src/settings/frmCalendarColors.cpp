#include "frmCalendarColors.h"

#include "ColourLabel.h"
#include "SettingsHost.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/ctrOSC.h"
#include "chart/GanttData.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
struct CalendarDesign {
    const char* title;
    QStringList captions;
};

CalendarDesign designOf(int kind) {
    switch (kind) {
    case ChartSettings::WeekdayCalendar:
        return {"Colorsettings Weekdays",
                {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};
    case ChartSettings::MonthCalendar:
        return {"Colorsettings months",
                {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                 "October", "November", "December"}};
    case ChartSettings::QuarterCalendar:
        return {"Colorsettings quarters", {"1. quarter", "2. quarter", "3. quarter", "4. quarter"}};
    default: {
        QStringList digits;
        for (int digit = 0; digit <= 9; ++digit)
            digits << QStringLiteral("Enddigit %1").arg(digit);
        return {"Color years", digits};
    }
    }
}
} // namespace

frmCalendarColors::frmCalendarColors(int kind, SettingsHost& host, QWidget* parent)
    : ButtonBarDialog(parent)
    , m_kind(ChartSettings::calendarIndexCount(kind) > 0 ? kind : int(ChartSettings::WeekdayCalendar))
    , m_host(host) {
    buildWindow();
    InputFieldFilter::install(this);
    guardedStep(QStringLiteral("Sub:frmCalendarColors:Form_Load"), [&] { Form_Load(); });
}

void frmCalendarColors::buildWindow() {
    const CalendarDesign design = designOf(m_kind);
    setWindowTitle(QString::fromLatin1(design.title));
    auto* grid = new QGridLayout;
    for (int index = 0; index < design.captions.size(); ++index) {
        auto* label = new ColourLabel(design.captions[index], this);
        label->setMinimumWidth(140);
        auto* back = new QPushButton(QStringLiteral("Background"), this);
        auto* fore = new QPushButton(QStringLiteral("Foreground"), this);
        connect(back, &QPushButton::clicked, this, [this, index] { cmdBackground_Click(index); });
        connect(fore, &QPushButton::clicked, this, [this, index] { cmdForeground_Click(index); });
        grid->addWidget(label, index, 0);
        grid->addWidget(back, index, 1);
        grid->addWidget(fore, index, 2);
        lblCaption.push_back(label);
        cmdBackground.push_back(back);
        cmdForeground.push_back(fore);
    }
    auto* window = new QVBoxLayout(this);
    window->addLayout(grid);
    window->addSpacing(6);
    window->addWidget(bar());
}

void frmCalendarColors::Form_Load() {
    const ChartSettings& settings = globals().chart->settings();
    for (int index = 0; index < int(lblCaption.size()); ++index) {
        lblCaption[std::size_t(index)]->setBack(
            settings.calendarColour(m_kind, ChartSettings::BackgroundColour, index));
        lblCaption[std::size_t(index)]->setFore(
            settings.calendarColour(m_kind, ChartSettings::TextColour, index));
    }
    bar()->setDirty(false);
}

void frmCalendarColors::store(int&) {
    ChartSettings& settings = globals().chart->settings();
    for (int index = 0; index < int(lblCaption.size()); ++index) {
        settings.setCalendarColour(m_kind, ChartSettings::BackgroundColour, index,
                                   lblCaption[std::size_t(index)]->back());
        settings.setCalendarColour(m_kind, ChartSettings::TextColour, index,
                                   lblCaption[std::size_t(index)]->fore());
    }
    m_host.settingsStored();
}

void frmCalendarColors::cmdBackground_Click(int index) {
    if (lblCaption.at(std::size_t(index))->chooseBack())
        bar()->setDirty(true);
}

void frmCalendarColors::cmdForeground_Click(int index) {
    if (lblCaption.at(std::size_t(index))->chooseFore())
        bar()->setDirty(true);
}
