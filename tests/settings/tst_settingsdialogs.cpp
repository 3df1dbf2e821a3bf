#include "../app/DataTable.h"
#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsSettings.h"
#include "app/ui/ctrOSC.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "settings/ColourLabel.h"
#include "settings/SettingsHost.h"
#include "settings/frmCalendarColors.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmSettings.h"
#include "settings/frmSettingsGeneral.h"
#include "settings/frmTimeFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
constexpr int hour = 3600;

// An open timetable with its planner settings, a profile file of its own and the general options read
// from it, registered as the program's; every prompt is scripted. As the board does, it redraws the
// chart once per store.
struct SettingsFixture : SettingsHost {
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
    ~SettingsFixture() override {
        globals().chart = nullptr;
        globals().settings = nullptr;
        globals().profile = nullptr;
        globals().options = nullptr;
    }
    QWidget* boardWindow() override { return &board; }
    void settingsStored() override {
        ++stores;
        chart.redraw();
    }

    ScriptedPrompts prompts;
    QTemporaryDir folder;
    GanttData chart;
    clsSettings settings{chart};
    clsIniFile profile;
    std::unique_ptr<clsGeneralOptions> options;
    QWidget board;
    int stores = 0;
    int redraws = 0;
};

void setPeriod(frmSettings& dialog, int period, const QString& start, const QString& end) {
    dialog.txCoreTimeStart[std::size_t(period)]->setText(start);
    dialog.txCoreTimeEnd[std::size_t(period)]->setText(end);
}

// In the order of the general options dialog's boxes.
constexpr std::array<bool (clsGeneralOptions::*)() const, 5> generalOptions = {
    &clsGeneralOptions::UseMostRecent, &clsGeneralOptions::ConfirmDelete, &clsGeneralOptions::ConfirmQuit,
    &clsGeneralOptions::SaveAuto, &clsGeneralOptions::ConfirmUndo};
} // namespace

// The settings dialogs: what they show, what they store (once, with one redraw), what they refuse.
class tst_SettingsDialogs : public QObject {
    Q_OBJECT
private slots:
    void appearanceStoresEveryControlOnce() {
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmScheduleAppearance dialog(f);
        dialog.show();
        // A cancelled colour dialog changes neither the colour nor the changed state.
        f.prompts.answerColour(std::nullopt);
        dialog.cmdForeColor[frmScheduleAppearance::GridRow]->click();
        QVERIFY(!dialog.bar()->Dirty());
        QCOMPARE(dialog.lblScheduleColorCaption[frmScheduleAppearance::GridRow]->fore(), expected.grid);
        // Each colour button shows its own colour, and a colour chosen with it alone is stored in its field.
        using A = frmScheduleAppearance;
        using S = ChartSettings;
        const std::array<std::tuple<bool, int, quint32 S::*>, 7> colours = {
            {{true, A::TimelineRow, &S::timelineBack},
             {false, A::TimelineRow, &S::timelineFore},
             {true, A::BackgroundRow, &S::background},
             {false, A::Timeline2Row, &S::timeline2},
             {false, A::GridRow, &S::grid},
             {false, A::CoreStartRow, &S::coreTimeStart},
             {false, A::CoreEndRow, &S::coreTimeEnd}}};
        quint32 colour = 0x102030;
        for (const auto& [background, row, field] : colours) {
            const ColourLabel* label = dialog.lblScheduleColorCaption[std::size_t(row)];
            QCOMPARE(background ? label->back() : label->fore(), expected.*field);
            f.prompts.answerColour(++colour);
            (background ? dialog.cmdBackColor : dialog.cmdForeColor)[std::size_t(row)]->click();
            expected.*field = colour;
            QVERIFY(dialog.bar()->Dirty());
            dialog.bar()->click(ctrOSC::AcceptButton);
            QVERIFY(f.chart.settings() == expected);
        }
        QCOMPARE(f.stores, 7);
        QCOMPARE(f.redraws, 7);
        QCOMPARE(dialog.cmbTimeMarker->currentText(), QString("Head"));
        const std::array<std::pair<QComboBox*, int*>, 4> combos = {
            {{dialog.cmbBorderStyle, &expected.borderStyle},
             {dialog.cmbTimeline, &expected.timelineStyle},
             {dialog.cmbDivider, &expected.dividerStyle},
             {dialog.cmbTimeMarker, &expected.timelineExtent}}};
        for (std::size_t n = 0; n < combos.size(); ++n) {
            const int value = n % 2 == 0 ? 2 : 0;
            combos[n].first->setCurrentIndex(value);
            emit combos[n].first->activated(value);
            *combos[n].second = value;
        }
        dialog.chk[frmScheduleAppearance::ShowUpperBand]->click();
        dialog.chk[frmScheduleAppearance::ShowTimeline]->click();
        expected.showUpperBand = false;
        expected.showTimeline = false;
        QVERIFY(dialog.bar()->Dirty());
        dialog.bar()->click(ctrOSC::AcceptButton);
        QVERIFY(f.chart.settings() == expected);
        QCOMPARE(f.stores, 8);
        QCOMPARE(f.redraws, 8);
        // Another window changed the chart meanwhile: OK without a change keeps that.
        f.chart.settings().grid = 0x0000FF;
        dialog.bar()->click(ctrOSC::OkButton);
        QCOMPARE(f.chart.settings().grid, 0x0000FFu);
        QCOMPARE(f.stores, 8);
    }

    void calendarColours_data() {
        // captions: first and last
        const auto row = columns<int, QString, QStringList, int>("kind", "title", "captions", "index");
        row("weekdays", 1, "Colorsettings Weekdays", QStringList{"Sunday", "Saturday"}, 3);
        row("months", 2, "Colorsettings months", QStringList{"January", "December"}, 11);
        row("quarters", 3, "Colorsettings quarters", QStringList{"1. quarter", "4. quarter"}, 0);
        row("years", 4, "Color years", QStringList{"Enddigit 0", "Enddigit 9"}, 9);
    }
    void calendarColours() {
        QFETCH(int, kind);
        QFETCH(int, index);
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmScheduleAppearance appearance(f);
        appearance.show();
        auto* dialog = qobject_cast<frmCalendarColors*>(appearance.cmdDateColor_Click(kind - 1));
        QVERIFY(dialog);
        QTEST(dialog->windowTitle(), "title");
        QCOMPARE(int(dialog->lblCaption.size()), ChartSettings::calendarIndexCount(kind));
        QTEST(QStringList({dialog->lblCaption.front()->text(), dialog->lblCaption.back()->text()}),
              "captions");
        QCOMPARE(dialog->lblCaption[std::size_t(index)]->back(),
                 expected.calendarColour(kind, ChartSettings::BackgroundColour, index));
        // A background alone enables Accept; OK stores it and the text colour chosen after it.
        f.prompts.answerColour(0x00AA00);
        dialog->cmdBackground[std::size_t(index)]->click();
        QVERIFY(dialog->bar()->button(ctrOSC::AcceptButton)->isEnabled());
        f.prompts.answerColour(0x0000AA);
        dialog->cmdForeground[std::size_t(index)]->click();
        dialog->bar()->click(ctrOSC::OkButton);
        expected.setCalendarColour(kind, ChartSettings::BackgroundColour, index, 0x00AA00);
        expected.setCalendarColour(kind, ChartSettings::TextColour, index, 0x0000AA);
        QVERIFY(f.chart.settings() == expected);
        QCOMPARE(f.stores, 1);
        QCOMPARE(f.redraws, 1);
    }

    void timeFormatsWriteEveryFieldOnOk() {
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmTimeFormats dialog(f);
        dialog.show();
        // Exactly the zoom levels that carry a kind have a field for it, and it shows the format.
        for (int zoom = 0; zoom < frmTimeFormats::zoomLevels; ++zoom) {
            for (int kind = 1; kind <= 4; ++kind) {
                const QLineEdit* field = dialog.captionField(zoom, kind);
                QCOMPARE(field != nullptr, !expected.bandCaptionFormat(zoom, kind).isEmpty());
                QCOMPARE(field ? field->text() : QString(), expected.bandCaptionFormat(zoom, kind));
            }
        }
        QCOMPARE(dialog.txtTimeFormat->text(), QString("hh:nn"));
        dialog.txtDayStripe[3]->setText("ddd dd.mm.");
        dialog.txtMonthStripe[14]->clear();
        dialog.txtTimeFormat->setText("h\"h\"");
        dialog.chkTrimTimeFormat->click();
        const FontDescription font{"Serif", 11, true};
        f.prompts.answerFont(font);
        dialog.cmdFont->click();
        QVERIFY(f.chart.settings() == expected);
        QVERIFY(dialog.cmdOK_Click());
        expected.setBandCaptionFormat(3, ChartSettings::DayCaption, "ddd dd.mm.");
        expected.setBandCaptionFormat(14, ChartSettings::MonthCaption, "");
        expected.timeCaptionFormat = "h\"h\"";
        expected.truncateCaptions = true;
        expected.upperBandFont = font;
        expected.lowerBandFont = font;
        QVERIFY(f.chart.settings() == expected);
        QCOMPARE(f.stores, 1);
        QVERIFY(!dialog.isVisible());
    }

    void timeFormatsRefuseWhatCannotBeDrawn_data() {
        const auto row = columns<QString, bool, QString>("format", "timeField", "message");
        const QString days = "The format \"%1\" for Days at zoom mode 5 cannot be used: %2";
        const QString times = "The format \"%1\" for times cannot be used: %2";
        row("1,000 characters", QString("d.").repeated(500), false,
            days.arg("d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d....", "it is longer than 80 characters."));
        row("pattern letters only", QString(12, 'h'), true,
            times.arg("hhhhhhhhhhhh", "12 letters h in a row are no pattern (at most 2)."));
        row("unclosed quote", "dd \"KW", false, days.arg("dd \"KW", "a quotation mark is not closed."));
        row("pasted line break", "dd\nmm", true,
            times.arg("dd\nmm", "it holds a line break, tab or other control character."));
    }
    void timeFormatsRefuseWhatCannotBeDrawn() {
        QFETCH(QString, format);
        QFETCH(bool, timeField);
        QFETCH(QString, message);
        SettingsFixture f;
        const ChartSettings before = f.chart.settings();
        frmTimeFormats dialog(f);
        dialog.show();
        (timeField ? dialog.txtTimeFormat : dialog.txtDayStripe[5])->setText(format);
        f.prompts.answerMessage(MessageResult::Ok);
        QVERIFY(!dialog.cmdOK_Click());
        QCOMPARE(f.prompts.texts(), QStringList{message});
        QVERIFY(dialog.isVisible());
        QVERIFY(f.chart.settings() == before);
        QCOMPARE(f.stores, 0);
        // "&Return" leaves the chart as it was, a font chosen meanwhile included.
        f.prompts.answerFont(FontDescription{"Serif", 20});
        dialog.cmdFont->click();
        dialog.cmdCancel->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(f.chart.settings() == before);
    }

    void eachGeneralOptionIsStored_data() {
        const auto row = columns<int, QString>("box", "line");
        row("most recent", int(frmSettingsGeneral::UseMostRecent), "USEMOSTRECENT=1");
        row("delete", int(frmSettingsGeneral::ConfirmDelete), "DELETEDATA=0");
        row("quit", int(frmSettingsGeneral::ConfirmQuit), "QUIT=0");
        row("auto-save", int(frmSettingsGeneral::SaveAuto), "SAVEAUTO=0");
        row("undo", int(frmSettingsGeneral::ConfirmUndo), "UNDO=0");
    }
    void eachGeneralOptionIsStored() {
        QFETCH(int, box);
        SettingsFixture f;
        const auto option = [](const clsGeneralOptions& options, std::size_t index) {
            return (options.*generalOptions[index])();
        };
        const bool before = option(*f.options, std::size_t(box));
        {
            frmSettingsGeneral dialog;
            dialog.show();
            for (std::size_t index = 0; index < generalOptions.size(); ++index)
                QCOMPARE(dialog.chk[index]->isChecked(), option(*f.options, index));
            QVERIFY(!dialog.bar()->button(ctrOSC::AcceptButton)->isEnabled());
            // A change dropped on Cancel reaches neither the options nor the profile.
            dialog.chk[std::size_t(box)]->click();
            f.prompts.answerMessage(MessageResult::Yes);
            dialog.bar()->click(ctrOSC::CancelButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(f.prompts.texts(), QStringList{"Discard changes?"});
            QCOMPARE(readBytes(f.profile.filename()), QByteArray("<missing>"));
            QCOMPARE(option(*f.options, std::size_t(box)), before);
        }
        frmSettingsGeneral dialog;
        dialog.show();
        dialog.chk[std::size_t(box)]->click();
        dialog.bar()->click(ctrOSC::AcceptButton);
        QVERIFY(dialog.isVisible() && !dialog.bar()->Dirty());
        // Only the changed option reaches the profile, and the next start reads it.
        const QStringList lines =
            QString::fromUtf8(readBytes(f.profile.filename())).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QTEST(lines.at(1), "line");
        QCOMPARE(option(clsGeneralOptions(f.profile), std::size_t(box)), !before);
    }

    void scheduleSettingsShowAndStoreEveryControl() {
        SettingsFixture f;
        ChartSettings& s = f.chart.settings();
        s.gridInterval = "2h";
        s.showGrid = false;
        s.moveWholeDaysOnly = true;
        s.coreTimes[0][1] = CoreTimePeriod{13 * hour, 17 * hour};
        s.coreTimes[0][0] = CoreTimePeriod{8 * hour, 12 * hour};
        f.settings.setDeleteAfterDays(30);
        f.settings.setUtilizationColor(3, 0x123456);
        frmSettings d(f);
        d.show();
        QCOMPARE(d.cmbGrid->currentText(), QString("2 hours"));
        QVERIFY(!d.chk[frmSettings::ShowGrid]->isChecked());
        QVERIFY(d.chk[frmSettings::MoveWholeDays]->isChecked());
        QVERIFY(d.optWeekday[0]->isChecked());
        QCOMPARE(QStringList({d.txCoreTimeStart[0]->text(), d.txCoreTimeEnd[1]->text(),
                              d.txCoreTimeStart[2]->text(), d.tx[0]->text()}),
                 QStringList({"08:00", "17:00", "", "30"}));
        QCOMPARE(d.lblUtilization[3]->back(), 0x123456u);
        QCOMPARE(d.lblUtilization[4]->back(), clsSettings::white);
        QVERIFY(!d.bar()->Dirty());
        // A grid code the list does not know leaves the list as loaded.
        ChartSettings expected = s;
        s.gridInterval = "7h";
        frmSettings unknown(f);
        QCOMPARE(unknown.cmbGrid->currentText(), QString("15 minutes"));
        s.gridInterval = "2h";
        // Every control is written on store, once, with one redraw.
        s.coreTimeStart = expected.coreTimeStart = 0x0000FF;
        s.coreTimeEnd = expected.coreTimeEnd = 0xFF00FF;
        d.cmbGrid->setCurrentIndex(9);
        d.chk[frmSettings::SnapToGrid]->click();
        d.chk[frmSettings::MarkCoreTimes]->click();
        // Switching weekdays keeps the edits of each; nothing reaches the chart before storing.
        setPeriod(d, 0, "7", "1130");
        d.optWeekday[6]->click();
        QCOMPARE(d.txCoreTimeStart[0]->text(), QString());
        setPeriod(d, 2, "10:00", "12:00");
        d.optWeekday[0]->click();
        QCOMPARE(d.txCoreTimeEnd[0]->text(), QString("11:30"));
        QVERIFY(s == expected);
        d.tx[0]->setText("45");
        f.prompts.answerColour(0x00C0C0);
        d.cmdColor[5]->click();
        f.prompts.answerColour(std::nullopt);
        d.cmdColor[1]->click();
        d.bar()->click(ctrOSC::AcceptButton);
        expected.gridInterval = "1h";
        expected.snapToGrid = false;
        expected.markCoreTimes = false;
        expected.coreTimes[0][0] = CoreTimePeriod{7 * hour, 11 * hour + 1800};
        expected.coreTimes[6][2] = CoreTimePeriod{10 * hour, 12 * hour};
        expected.coreTimeStart = 0x00FF00;
        expected.coreTimeEnd = 0x00FFFF;
        QVERIFY(s == expected);
        QCOMPARE(f.settings.DeleteAfterDays(), 45);
        QCOMPARE(f.settings.UtilizationColor(5), 0x00C0C0u);
        QCOMPARE(f.settings.UtilizationColor(1), clsSettings::white);
        QCOMPARE(f.stores, 1);
        QCOMPARE(f.redraws, 1);
    }

    void scheduleSettingsBadEntries_data() {
        // periods: start and end of periods 0 and 1
        // storedEnd: of period 0, hours; -1: nothing stored
        const auto row = columns<QStringList, QString, QString, int, int>("periods", "days", "message",
                                                                          "storedEnd", "storedDays");
        const QStringList morning{"08:00", "12:00", "", ""};
        const QString notAfter = "The working period %1 on Monday does not end after it starts.";
        row("25 hours is emptied", {"25:00", "17:00", "", ""}, "10", "", 17, 10);
        row("pasted text is emptied", {"08:00", "Feierabend", "", ""}, "10", "", 0, 10);
        row("end before start", {"17:00", "08:00", "", ""}, "10", notAfter.arg("17:00 - 08:00"), -1, 0);
        row("empty period", {"08:00", "08:00", "", ""}, "10", notAfter.arg("08:00 - 08:00"), -1, 0);
        row("overlap", {"08:00", "12:00", "11:00", "13:00"}, "10",
            "The working periods 08:00 - 12:00 and 11:00 - 13:00 on Monday overlap.", -1, 0);
        row("touching periods", {"08:00", "12:00", "12:00", "13:00"}, "10", "", 12, 10);
        row("negative days", morning, "-3", "", 12, 0);
        row("days not a number", morning, "viele", "", 12, 0);
        row("days beyond any count", morning, "99999999999", "", 12, 0);
        row("days not whole", morning, "12.5", "", 12, 0);
    }
    void scheduleSettingsBadEntries() {
        QFETCH(QStringList, periods);
        QFETCH(QString, days);
        QFETCH(QString, message);
        QFETCH(int, storedEnd);
        SettingsFixture f;
        const ChartSettings before = f.chart.settings();
        const QString plannerBefore = f.settings.data().AddOnData();
        frmSettings d(f);
        d.show();
        d.optWeekday[2]->click();
        d.optWeekday[0]->click();
        setPeriod(d, 0, periods[0], periods[1]);
        setPeriod(d, 1, periods[2], periods[3]);
        d.tx[0]->setText(days);
        if (!message.isEmpty())
            f.prompts.answerMessage(MessageResult::Ok);
        d.bar()->click(ctrOSC::OkButton);
        if (storedEnd < 0) {
            // Refused: the message, the dialog open and changed, nothing stored.
            QCOMPARE(f.prompts.texts(), QStringList{message});
            QCOMPARE(f.prompts.prompts().first().flags, int(MessageFlags::Exclamation));
            QVERIFY(d.isVisible() && d.bar()->Dirty());
            QVERIFY(f.chart.settings() == before);
            QCOMPARE(f.settings.data().AddOnData(), plannerBefore);
            QCOMPARE(f.stores, 0);
            QCOMPARE(d.shownWeekday(), 0);
            return;
        }
        QVERIFY(f.prompts.prompts().isEmpty());
        QVERIFY(!d.isVisible());
        QCOMPARE(f.chart.settings().coreTimes[0][0].end, storedEnd * hour);
        QTEST(f.settings.DeleteAfterDays(), "storedDays");
        QCOMPARE(f.stores, 1);
    }

    void scheduleSettingsCancelLeavesEverything() {
        SettingsFixture f;
        f.settings.setDeleteAfterDays(7);
        const ChartSettings before = f.chart.settings();
        const QString plannerBefore = f.settings.data().AddOnData();
        frmSettings d(f);
        d.show();
        d.cmbGrid->setCurrentIndex(0);
        setPeriod(d, 0, "06:00", "07:00");
        d.tx[0]->setText("1");
        f.prompts.answerColour(0x000001);
        d.cmdColor[0]->click();
        f.prompts.clear();
        // The close box asks as Cancel does.
        f.prompts.answerMessage(MessageResult::Yes);
        d.close();
        QCOMPARE(f.prompts.texts(), QStringList{"Discard changes?"});
        QVERIFY(!d.isVisible());
        QVERIFY(f.chart.settings() == before);
        QCOMPARE(f.settings.data().AddOnData(), plannerBefore);
        QCOMPARE(f.stores, 0);
        QCOMPARE(f.redraws, 0);
    }
};

QTEST_MAIN(tst_SettingsDialogs)
#include "tst_settingsdialogs.moc"
