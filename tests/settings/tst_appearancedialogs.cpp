#include "SettingsFixture.h"
#include "app/MessageFlags.h"
#include "settings/ColourLabel.h"
#include "settings/frmCalendarColors.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmTimeFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

class tst_AppearanceDialogs : public QObject {
    Q_OBJECT
private slots:
    void eachColourButtonStoresItsColour_data() {
        QTest::addColumn<bool>("background");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("field"); // in colourFields
        QTest::newRow("timeline background") << true << 0 << 0;
        QTest::newRow("timeline text") << false << 0 << 1;
        QTest::newRow("background") << true << 1 << 2;
        QTest::newRow("second timeline") << false << 2 << 3;
        QTest::newRow("grid") << false << 3 << 4;
        QTest::newRow("core time start") << false << 4 << 5;
        QTest::newRow("core time end") << false << 5 << 6;
    }

    void eachColourButtonStoresItsColour() {
        QFETCH(bool, background);
        QFETCH(int, row);
        QFETCH(int, field);
        static constexpr std::array<quint32 ChartSettings::*, 7> colourFields = {
            &ChartSettings::timelineBack, &ChartSettings::timelineFore, &ChartSettings::background,
            &ChartSettings::timeline2,    &ChartSettings::grid,         &ChartSettings::coreTimeStart,
            &ChartSettings::coreTimeEnd};
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmScheduleAppearance dialog(f.host);
        dialog.show();
        ColourLabel* label = dialog.lblScheduleColorCaption[std::size_t(row)];
        QCOMPARE(background ? label->back() : label->fore(), expected.*colourFields[std::size_t(field)]);
        f.prompts.answerColour(0x102030);
        (background ? dialog.cmdBackColor : dialog.cmdForeColor)[std::size_t(row)]->click();
        QVERIFY(dialog.bar()->Dirty());
        dialog.bar()->click(ctrOSC::OkButton);
        expected.*colourFields[std::size_t(field)] = 0x102030;
        QVERIFY(f.chart.settings() == expected);
        QCOMPARE(f.host.stores, 1);
        QCOMPARE(f.redraws, 1);
    }

    void stylesAndBandsAreStored() {
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmScheduleAppearance dialog(f.host);
        dialog.show();
        QCOMPARE(dialog.cmbTimeMarker->currentText(), QString("Head"));
        const std::array<std::pair<QComboBox*, int*>, 4> combos = {
            {{dialog.cmbBorderStyle, &expected.borderStyle},
             {dialog.cmbTimeline, &expected.timelineStyle},
             {dialog.cmbDivider, &expected.dividerStyle},
             {dialog.cmbTimeMarker, &expected.timelineExtent}}};
        for (int n = 0; n < int(combos.size()); ++n) {
            const int value = n % 2 == 0 ? 2 : 0;
            combos[std::size_t(n)].first->setCurrentIndex(value);
            emit combos[std::size_t(n)].first->activated(value);
            *combos[std::size_t(n)].second = value;
        }
        dialog.chk[frmScheduleAppearance::ShowUpperBand]->click();
        dialog.chk[frmScheduleAppearance::ShowTimeline]->click();
        expected.showUpperBand = false;
        expected.showTimeline = false;
        dialog.bar()->click(ctrOSC::AcceptButton);
        QVERIFY(f.chart.settings() == expected);
        QCOMPARE(f.redraws, 1);
    }

    void unchangedOrCancelledWritesNothing() {
        SettingsFixture f;
        frmScheduleAppearance dialog(f.host);
        dialog.show();
        // A cancelled colour dialog changes neither the colour nor the changed state.
        f.prompts.answerColour(std::nullopt);
        dialog.cmdForeColor[frmScheduleAppearance::GridRow]->click();
        QVERIFY(!dialog.bar()->Dirty());
        QCOMPARE(dialog.lblScheduleColorCaption[frmScheduleAppearance::GridRow]->fore(),
                 f.chart.settings().grid);
        // Another window changed the chart meanwhile: OK without a change keeps that.
        f.chart.settings().grid = 0x0000FF;
        dialog.bar()->click(ctrOSC::OkButton);
        QCOMPARE(f.chart.settings().grid, 0x0000FFu);
        QCOMPARE(f.host.stores, 0);
    }

    void calendarColours_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("captions"); // first and last
        QTest::addColumn<int>("index");
        QTest::newRow("weekdays") << 1 << "Colorsettings Weekdays" << QStringList{"Sunday", "Saturday"} << 3;
        QTest::newRow("months") << 2 << "Colorsettings months" << QStringList{"January", "December"} << 11;
        QTest::newRow("quarters") << 3 << "Colorsettings quarters" << QStringList{"1. quarter", "4. quarter"}
                                  << 0;
        QTest::newRow("years") << 4 << "Color years" << QStringList{"Enddigit 0", "Enddigit 9"} << 9;
    }

    void calendarColours() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, captions);
        QFETCH(int, index);
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmScheduleAppearance appearance(f.host);
        appearance.show();
        auto* dialog = qobject_cast<frmCalendarColors*>(appearance.cmdDateColor_Click(kind - 1));
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(int(dialog->lblCaption.size()), ChartSettings::calendarIndexCount(kind));
        QCOMPARE(dialog->lblCaption.front()->text(), captions.first());
        QCOMPARE(dialog->lblCaption.back()->text(), captions.last());
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
        QCOMPARE(f.host.stores, 1);
        QCOMPARE(f.redraws, 1);
    }

    void timeFormatsWriteEveryFieldOnOk() {
        SettingsFixture f;
        ChartSettings expected = f.chart.settings();
        frmTimeFormats dialog(f.host);
        dialog.show();
        for (int zoom = 0; zoom < frmTimeFormats::zoomLevels; ++zoom) {
            for (int kind = 1; kind <= 4; ++kind) {
                const QLineEdit* field = dialog.captionField(zoom, kind);
                const QString stored = expected.bandCaptionFormat(zoom, kind);
                // Exactly the zoom levels that carry the kind have a field, and it shows the format.
                QCOMPARE(field != nullptr, !stored.isEmpty());
                if (field)
                    QCOMPARE(field->text(), stored);
            }
        }
        QCOMPARE(dialog.txtTimeFormat->text(), QString("hh:nn"));
        dialog.txtDayStripe[3]->setText("ddd dd.mm.");
        dialog.txtMonthStripe[14]->clear();
        dialog.txtTimeFormat->setText("h\"h\"");
        dialog.chkTrimTimeFormat->click();
        FontDescription font;
        font.name = "Serif";
        font.size = 11;
        font.bold = true;
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
        QCOMPARE(f.host.stores, 1);
        QVERIFY(!dialog.isVisible());
    }

    void timeFormatsRefuseWhatCannotBeDrawn_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("timeField");
        QTest::addColumn<QString>("message");
        QTest::newRow("1,000 characters")
            << QString("d.").repeated(500) << false
            << "The format \"d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d.d....\" for Days at "
               "zoom mode 5 cannot be used: it is longer than 80 characters.";
        QTest::newRow("pattern letters only")
            << QString(12, 'h') << true
            << "The format \"hhhhhhhhhhhh\" for times cannot be used: 12 letters "
               "h in a row are no pattern (at most 2).";
        QTest::newRow("unclosed quote") << "dd \"KW" << false
                                        << "The format \"dd \"KW\" for Days at zoom mode 5 cannot be used: a "
                                           "quotation mark is not closed.";
        QTest::newRow("pasted line break")
            << "dd\nmm" << true
            << "The format \"dd\nmm\" for times cannot be used: it holds a line "
               "break, tab or other control character.";
    }

    void timeFormatsRefuseWhatCannotBeDrawn() {
        QFETCH(QString, format);
        QFETCH(bool, timeField);
        QFETCH(QString, message);
        SettingsFixture f;
        const ChartSettings before = f.chart.settings();
        frmTimeFormats dialog(f.host);
        dialog.show();
        QLineEdit* field = timeField ? dialog.txtTimeFormat : dialog.txtDayStripe[5];
        field->setText(format);
        f.prompts.answerMessage(MessageResult::Ok);
        QVERIFY(!dialog.cmdOK_Click());
        QCOMPARE(f.prompts.texts(), QStringList{message});
        QVERIFY(dialog.isVisible());
        QVERIFY(f.chart.settings() == before);
        QCOMPARE(f.host.stores, 0);
        // "&Return" leaves the chart as it was, a font chosen meanwhile included.
        f.prompts.answerFont(FontDescription{"Serif", 20});
        dialog.cmdFont->click();
        dialog.cmdCancel->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(f.chart.settings() == before);
    }
};

QTEST_MAIN(tst_AppearanceDialogs)
#include "tst_appearancedialogs.moc"
