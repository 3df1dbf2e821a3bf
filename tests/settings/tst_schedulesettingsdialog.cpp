#include "SettingsFixture.h"
#include "app/MessageFlags.h"
#include "settings/ColourLabel.h"
#include "settings/frmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
constexpr int hour = 3600;

// A dialog over the fixture's timetable, shown as the board shows it.
struct OpenSettings {
    explicit OpenSettings(SettingsFixture& f)
        : dialog(f.host) {
        dialog.show();
    }
    void setPeriod(int period, const QString& start, const QString& end) {
        dialog.txCoreTimeStart[std::size_t(period)]->setText(start);
        dialog.txCoreTimeEnd[std::size_t(period)]->setText(end);
    }
    frmSettings dialog;
};
} // namespace

class tst_ScheduleSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheTimetableSettings() {
        SettingsFixture f;
        ChartSettings& s = f.chart.settings();
        s.gridInterval = "2h";
        s.showGrid = false;
        s.moveWholeDaysOnly = true;
        s.coreTimes[0][1] = CoreTimePeriod{13 * hour, 17 * hour};
        s.coreTimes[0][0] = CoreTimePeriod{8 * hour, 12 * hour};
        f.settings.setDeleteAfterDays(30);
        f.settings.setUtilizationColor(3, 0x123456);
        OpenSettings open(f);
        frmSettings& d = open.dialog;
        QCOMPARE(d.cmbGrid->count(), frmSettings::gridEntries);
        QCOMPARE(d.cmbGrid->currentText(), QString("2 hours"));
        QVERIFY(!d.chk[frmSettings::ShowGrid]->isChecked());
        QVERIFY(d.chk[frmSettings::MoveWholeDays]->isChecked());
        QVERIFY(d.optWeekday[0]->isChecked());
        QCOMPARE(d.txCoreTimeStart[0]->text(), QString("08:00"));
        QCOMPARE(d.txCoreTimeEnd[1]->text(), QString("17:00"));
        QCOMPARE(d.txCoreTimeStart[2]->text(), QString());
        QCOMPARE(d.tx[0]->text(), QString("30"));
        QCOMPARE(d.lblUtilization[3]->back(), 0x123456u);
        QCOMPARE(d.lblUtilization[4]->back(), clsSettings::white);
        QVERIFY(!d.bar()->Dirty());

        // A grid code the list does not know leaves the list as loaded.
        s.gridInterval = "7h";
        OpenSettings unknown(f);
        QCOMPARE(unknown.dialog.cmbGrid->currentText(), QString("15 minutes"));
    }

    void storingWritesEveryControlOnceAndRedrawsOnce() {
        SettingsFixture f;
        ChartSettings& s = f.chart.settings();
        s.coreTimeStart = 0x0000FF;
        s.coreTimeEnd = 0xFF00FF;
        ChartSettings expected = s;
        OpenSettings open(f);
        frmSettings& d = open.dialog;
        d.cmbGrid->setCurrentIndex(9);
        d.chk[frmSettings::SnapToGrid]->click();
        d.chk[frmSettings::MarkCoreTimes]->click();
        // Switching weekdays keeps the edits of each; nothing reaches the chart before storing.
        open.setPeriod(0, "7", "1130");
        d.optWeekday[6]->click();
        QCOMPARE(d.txCoreTimeStart[0]->text(), QString());
        open.setPeriod(2, "10:00", "12:00");
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
        QCOMPARE(f.host.stores, 1);
        QCOMPARE(f.redraws, 1);
        QVERIFY(!d.bar()->Dirty());

        // OK with nothing changed since stores nothing more.
        d.bar()->click(ctrOSC::OkButton);
        QCOMPARE(f.host.stores, 1);
        QVERIFY(!d.isVisible());
    }

    void badEntries_data() {
        QTest::addColumn<QStringList>("periods"); // start and end of periods 0 and 1
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("storedEnd"); // of period 0, hours; -1: nothing stored
        QTest::addColumn<int>("storedDays");
        QTest::newRow("25 hours is emptied") << QStringList{"25:00", "17:00", "", ""} << "10"
                                             << "" << 17 << 10;
        QTest::newRow("pasted text is emptied") << QStringList{"08:00", "Feierabend", "", ""} << "10"
                                                << "" << 0 << 10;
        QTest::newRow("end before start")
            << QStringList{"17:00", "08:00", "", ""} << "10"
            << "The working period 17:00 - 08:00 on Monday does not end after it starts." << -1 << 0;
        QTest::newRow("empty period")
            << QStringList{"08:00", "08:00", "", ""} << "10"
            << "The working period 08:00 - 08:00 on Monday does not end after it starts." << -1 << 0;
        QTest::newRow("overlap") << QStringList{"08:00", "12:00", "11:00", "13:00"} << "10"
                                 << "The working periods 08:00 - 12:00 and 11:00 - 13:00 on Monday overlap."
                                 << -1 << 0;
        QTest::newRow("touching periods") << QStringList{"08:00", "12:00", "12:00", "13:00"} << "10"
                                          << "" << 12 << 10;
        QTest::newRow("negative days") << QStringList{"08:00", "12:00", "", ""} << "-3"
                                       << "" << 12 << 0;
        QTest::newRow("days not a number") << QStringList{"08:00", "12:00", "", ""} << "viele"
                                           << "" << 12 << 0;
        QTest::newRow("days beyond any count") << QStringList{"08:00", "12:00", "", ""} << "99999999999"
                                               << "" << 12 << 0;
        QTest::newRow("days not whole") << QStringList{"08:00", "12:00", "", ""} << "12.5"
                                        << "" << 12 << 0;
    }

    void badEntries() {
        QFETCH(QStringList, periods);
        QFETCH(QString, days);
        QFETCH(QString, message);
        QFETCH(int, storedEnd);
        QFETCH(int, storedDays);
        SettingsFixture f;
        const ChartSettings before = f.chart.settings();
        const QString plannerBefore = f.settings.data().AddOnData();
        OpenSettings open(f);
        frmSettings& d = open.dialog;
        d.optWeekday[2]->click();
        d.optWeekday[0]->click();
        open.setPeriod(0, periods[0], periods[1]);
        open.setPeriod(1, periods[2], periods[3]);
        d.tx[0]->setText(days);
        if (!message.isEmpty())
            f.prompts.answerMessage(MessageResult::Ok);
        d.bar()->click(ctrOSC::OkButton);
        if (storedEnd < 0) {
            // Refused: the message, the dialog open and changed, nothing stored.
            QCOMPARE(f.prompts.texts(), QStringList{message});
            QCOMPARE(f.prompts.prompts().first().flags, int(MessageFlags::Exclamation));
            QVERIFY(d.isVisible());
            QVERIFY(d.bar()->Dirty());
            QVERIFY(f.chart.settings() == before);
            QCOMPARE(f.settings.data().AddOnData(), plannerBefore);
            QCOMPARE(f.host.stores, 0);
            QCOMPARE(d.shownWeekday(), 0);
            return;
        }
        QVERIFY(f.prompts.prompts().isEmpty());
        QVERIFY(!d.isVisible());
        QCOMPARE(f.chart.settings().coreTimes[0][0].end, storedEnd * hour);
        QCOMPARE(f.settings.DeleteAfterDays(), storedDays);
        QCOMPARE(f.host.stores, 1);
    }

    void cancelLeavesEverythingAsItWas() {
        SettingsFixture f;
        f.settings.setDeleteAfterDays(7);
        const ChartSettings before = f.chart.settings();
        const QString plannerBefore = f.settings.data().AddOnData();
        OpenSettings open(f);
        frmSettings& d = open.dialog;
        d.cmbGrid->setCurrentIndex(0);
        open.setPeriod(0, "06:00", "07:00");
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
        QCOMPARE(f.host.stores, 0);
        QCOMPARE(f.redraws, 0);
    }
};

QTEST_MAIN(tst_ScheduleSettingsDialog)
#include "tst_schedulesettingsdialog.moc"
