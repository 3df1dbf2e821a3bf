#include "EditingFixture.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "chart/widget/GanttChart.h"
#include "editing/frmStyles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {
const QString room = QStringLiteral("{R-ROOM}");

QStringList styleKeys(const GanttData& chart) {
    QStringList keys;
    for (int position = 1; position <= chart.styles().count(); ++position)
        keys << chart.styles().byPosition(position)->key();
    return keys;
}
} // namespace

class TstStyles : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestTimetable> m_timetable;
    std::unique_ptr<frmStyles> m_dialog;

    frmStyles& open(int mode) {
        m_dialog = std::make_unique<frmStyles>();
        m_dialog->SetMode(mode);
        m_dialog->show();
        return *m_dialog;
    }
    GanttData& chart() { return m_timetable->chart; }
    void choose(const QString& key) { m_dialog->cmbStyles->setCurrentText(key); }
    static void click(QAbstractButton* button) { button->click(); }

private slots:
    void initTestCase() { pinGermanLocale(); }

    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_timetable = std::make_unique<TestTimetable>();
        m_timetable->addRow(room, QStringLiteral("Room"));
        m_timetable->addItem(QStringLiteral("A"), room, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
    }

    void cleanup() {
        m_dialog.reset();
        m_timetable.reset();
        QCOMPARE(m_prompts->unansweredCount(), 0);
        m_prompts.reset();
    }

    void modes() {
        QCOMPARE(itemTexts(open(ChartStyle::ItemKind).cmbStyles),
                 (QStringList{"Date", "Date Fixed", "Break"}));
        QCOMPARE(m_dialog->windowTitle(), QString("Styles (Date items)"));
        QVERIFY(m_dialog->chk[frmStyles::FixedCheck]->isVisible());
        QCOMPARE(itemTexts(open(ChartStyle::RowKind).cmbStyles), QStringList{"Resources"});
        QCOMPARE(m_dialog->windowTitle(), QString("Styles (Resources)"));
        QVERIFY(m_dialog->chk[frmStyles::DefaultCheck]->isHidden());
        // A resource style shows on the sample's row heading, a date item style on its bar.
        QCOMPARE(m_dialog->sampleData().rows().byPosition(1)->styleKey, frmStyles::sampleKey);
        m_dialog->SetMode(3);
        QCOMPARE(m_prompts->texts(), QStringList{"Wrong invocation for 'SetMode'!"});
        QCOMPARE(m_dialog->mode(), int(ChartStyle::RowKind));

        // The sample chart shows the chosen style, and cannot be edited.
        open(ChartStyle::ItemKind);
        choose("Break");
        const GanttData& sample = m_dialog->sampleData();
        QVERIFY(
            sample.styles().byKey(frmStyles::sampleKey)->sameProperties(*chart().styles().byKey("Break")));
        const ChartItem* bar = sample.items().byKey(frmStyles::sampleKey);
        QCOMPARE(bar->start(), TimePoint::today().addSeconds(3600));
        QCOMPARE(bar->end() - bar->start(), 7200);
        QCOMPARE(bar->movementLock(), 2);
        QVERIFY(!sample.settings().allowAdd && !sample.settings().allowEdit &&
                !sample.settings().allowRowSize);
        QCOMPARE(m_dialog->gntSample->firstShownTime(), TimePoint::today());
    }

    void optionMapping_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("option");
        QTest::addColumn<QList<int>>("values"); // border shown, appearance, horizontal, vertical
        QTest::newRow("Flat") << "BS" << 1 << QList{1, 2, 1, 2};
        QTest::newRow("3D") << "BS" << 2 << QList{1, 0, 1, 2};
        QTest::newRow("No border") << "BS" << 0 << QList{0, 2, 1, 2};
        QTest::newRow("Center") << "AH" << 1 << QList{1, 0, 2, 2};
        QTest::newRow("Right") << "AH" << 2 << QList{1, 0, 3, 2};
        QTest::newRow("Top") << "AV" << 0 << QList{1, 0, 1, 1};
        QTest::newRow("Bottom") << "AV" << 2 << QList{1, 0, 1, 3};
    }

    void optionMapping() {
        QFETCH(QString, group);
        QFETCH(int, option);
        open(ChartStyle::ItemKind);
        auto& options = group == "BS" ? m_dialog->optBS : group == "AH" ? m_dialog->optAH : m_dialog->optAV;
        // The flat border first, so that every click changes something.
        click(m_dialog->optBS[frmStyles::FlatOption]);
        click(m_dialog->optBS[frmStyles::RaisedOption]);
        click(options[size_t(option)]);
        const ChartStyle& date = *chart().styles().byKey("Date");
        QTEST((QList{date.borderShown, date.borderAppearance, date.horizontalAlignment,
                     date.verticalAlignment}),
              "values");
        QCOMPARE(m_dialog->sampleData().styles().byKey(frmStyles::sampleKey)->borderShown, date.borderShown);
    }

    void valuesShownInReverse() {
        ChartStyle& odd = chart().styles().get("Date Fixed");
        odd.borderAppearance = 7;
        odd.horizontalAlignment = 9;
        odd.verticalAlignment = 0;
        open(ChartStyle::ItemKind);
        choose("Date Fixed");
        QVERIFY(m_dialog->optBS[frmStyles::RaisedOption]->isChecked());
        QVERIFY(m_dialog->optAH[frmStyles::LastOption]->isChecked());
        QVERIFY(m_dialog->optAV[frmStyles::FirstOption]->isChecked());
        // Showing a style writes nothing back.
        QCOMPARE(odd.borderAppearance, 7);
        QCOMPARE(odd.verticalAlignment, 0);
    }

    void checks() {
        open(ChartStyle::ItemKind);
        choose("Break");
        ChartStyle& pause = chart().styles().get("Break");
        click(m_dialog->chk[frmStyles::ShowFocusCheck]);
        QVERIFY(!pause.focusShown);
        QCOMPARE(pause.focusDistanceX + pause.focusDistanceY, 0);
        click(m_dialog->chk[frmStyles::ShowFocusCheck]);
        QVERIFY(pause.focusShown);
        QCOMPARE(pause.focusDistanceX, 3);
        QCOMPARE(pause.focusDistanceY, 3);

        click(m_dialog->chk[frmStyles::DefaultCheck]);
        QCOMPARE(chart().settings().defaultItemStyle, QString("Break"));
        choose("Date");
        QVERIFY(!m_dialog->chk[frmStyles::DefaultCheck]->isChecked());
        click(m_dialog->chk[frmStyles::DefaultCheck]);
        click(m_dialog->chk[frmStyles::DefaultCheck]);
        QVERIFY(chart().settings().defaultItemStyle.isEmpty());

        // A fixing style locks its items once the views are told on "&Return".
        TestMessenger view(QStringLiteral("{VIEW}"));
        m_timetable->items.AddMessenger(view);
        click(m_dialog->chk[frmStyles::FixedCheck]);
        QVERIFY(chart().styles().byKey("Date")->fixedItem);
        QCOMPARE(chart().items().byKey("A")->movementLock(), 0);
        click(m_dialog->cmdOK[frmStyles::ReturnCommand]);
        QCOMPARE(chart().items().byKey("A")->movementLock(), 2);
        QCOMPARE(view.heard, QStringList{"itemStylesChanged"});
        QVERIFY(!m_dialog->isVisible());
        m_timetable->items.RemoveMessenger(view);
    }

    void fontAndColours() {
        open(ChartStyle::RowKind);
        FontDescription font;
        font.name = "DejaVu Serif";
        font.size = 14;
        font.italic = true;
        m_prompts->answerFont(font);
        m_prompts->answerFont(std::nullopt);
        m_prompts->answerColour(0x0000FF);
        m_prompts->answerColour(std::nullopt);
        for (const int button : {0, 0, 1, 2})
            click(m_dialog->cmd[size_t(button)]);
        const ChartStyle& resources = *chart().styles().byKey("Resources");
        QCOMPARE(resources.font, font);
        QCOMPARE(resources.backColor, 0x0000FFu);
        QCOMPARE(resources.foreColor, 0u);
        QVERIFY(m_dialog->sampleData().styles().byKey(frmStyles::sampleKey)->sameProperties(resources));
    }

    void names_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // empty: created
        const QString long1000(1000, QChar(u'ä'));
        QTest::newRow("room style") << int(ChartStyle::RowKind) << "Rooms"
                                    << "";
        QTest::newRow("Unicode") << int(ChartStyle::ItemKind) << "Besprechung ☕ 会議"
                                 << "";
        QTest::newRow("1000 characters") << int(ChartStyle::ItemKind) << long1000 << "";
        QTest::newRow("other letter case") << int(ChartStyle::ItemKind) << "date"
                                           << "'date' is allready in use!";
        QTest::newRow("name of the other kind") << int(ChartStyle::ItemKind) << "RESOURCES"
                                                << "'RESOURCES' is allready in use!";
        QTest::newRow("settings carrier") << int(ChartStyle::ItemKind) << "addon"
                                          << "'addon' is allready in use!";
        QTest::newRow("numeric") << int(ChartStyle::ItemKind) << "42"
                                 << "A style name must not be a number!";
        QTest::newRow("decimal") << int(ChartStyle::RowKind) << "-1,5"
                                 << "A style name must not be a number!";
        QTest::newRow("blanks only") << int(ChartStyle::RowKind) << "   "
                                     << "-";
    }

    void names() {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, message);
        open(mode);
        const QStringList before = styleKeys(chart());
        m_prompts->answerInput(name);
        click(m_dialog->cmdOK[frmStyles::NewCommand]);
        QCOMPARE(m_prompts->prompts().constFirst().text, QString("Name of style"));
        if (!message.isEmpty()) {
            QCOMPARE(styleKeys(chart()), before);
            QCOMPARE(m_prompts->texts().mid(1), message == "-" ? QStringList() : QStringList{message});
            return;
        }
        const ChartStyle* style = chart().styles().byKey(name);
        QVERIFY(style != nullptr);
        QCOMPARE(style->kind, mode);
        QCOMPARE(m_dialog->cmbStyles->currentText(), name);
        if (mode == ChartStyle::RowKind)
            QCOMPARE(style->font.name, QString("Arial"));
        else
            QVERIFY(style->focusShown && style->clipCaption && style->verticalAlignment == 2);
    }

    void deletion() {
        open(ChartStyle::RowKind);
        click(m_dialog->cmdOK[frmStyles::DeleteCommand]);
        QCOMPARE(m_prompts->texts(), QStringList{"Style 'Resources' is in use and can't be deleted!"});

        // The last style of a kind is replaced at once; the name may be taken by the other kind.
        chart().styles().add("new style");
        chart().rows().get(room).styleKey.clear();
        m_prompts->answerMessage(MessageResult::Yes);
        click(m_dialog->cmdOK[frmStyles::DeleteCommand]);
        QCOMPARE(itemTexts(m_dialog->cmbStyles), QStringList{"new style 2"});
        QCOMPARE(chart().styles().byKey("new style 2")->kind, int(ChartStyle::RowKind));

        // A date item style goes also while items use it, and takes the default along; No keeps it.
        open(ChartStyle::ItemKind);
        m_prompts->clear();
        m_prompts->answerMessage(MessageResult::No);
        m_prompts->answerMessage(MessageResult::Yes);
        click(m_dialog->cmdOK[frmStyles::DeleteCommand]);
        QVERIFY(chart().styles().byKey("Date"));
        click(m_dialog->cmdOK[frmStyles::DeleteCommand]);
        QCOMPARE(m_prompts->texts(), QStringList(2, "Delete style 'Date'?"));
        QVERIFY(!chart().styles().byKey("Date"));
        QVERIFY(chart().settings().defaultItemStyle.isEmpty());
        QCOMPARE(m_dialog->cmbStyles->currentText(), QString("Date Fixed"));
    }
};

QTEST_MAIN(TstStyles)
#include "tst_styles.moc"
