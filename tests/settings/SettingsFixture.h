#pragma once

#include "ScriptedPrompts.h"
#include "app/GlobalData.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsSettings.h"
#include "app/ui/ctrOSC.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "settings/SettingsHost.h"

#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The board as the settings dialogs see it: counts the stores and redraws once per store, as the
// board does.
class TestSettingsHost : public SettingsHost {
public:
    explicit TestSettingsHost(GanttData& chart)
        : m_chart(chart) {}
    QWidget board;
    int stores = 0;

    QWidget* boardWindow() override { return &board; }
    void settingsStored() override {
        ++stores;
        m_chart.redraw();
    }

private:
    GanttData& m_chart;
};

// An open timetable with its planner settings, a profile file of its own and the general options read
// from it, registered as the program's for the lifetime of the object; every prompt is scripted.
struct SettingsFixture {
    SettingsFixture() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        CreateDefaultStyles(chart);
        profile.setFilename(folder.filePath(QStringLiteral("QUNTA.INI")));
        options = std::make_unique<clsGeneralOptions>(profile);
        globals().chart = &chart;
        globals().settings = &settings;
        globals().profile = &profile;
        globals().options = options.get();
        SetReadOnly(false);
        QObject::connect(&chart, &GanttData::changed, [this] { ++redraws; });
    }
    ~SettingsFixture() {
        globals().chart = nullptr;
        globals().settings = nullptr;
        globals().profile = nullptr;
        globals().options = nullptr;
    }

    // Reads the profile again, as the next start of the program does.
    [[nodiscard]] std::unique_ptr<clsGeneralOptions> restartedOptions() {
        return std::make_unique<clsGeneralOptions>(profile);
    }

    ScriptedPrompts prompts;
    QTemporaryDir folder;
    GanttData chart;
    clsSettings settings{chart};
    clsIniFile profile;
    std::unique_ptr<clsGeneralOptions> options;
    TestSettingsHost host{chart};
    int redraws = 0;
};
