#include "EditingFixture.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/ui/ColorComboBox.h"
#include "editing/ResourceCommands.h"
#include "editing/frmDateItem.h"
#include "editing/frmResource.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
const QString alice = QStringLiteral("{R-ALICE}");
const QString bob = QStringLiteral("{R-BOB}");
} // namespace

class TstResources : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<TestTimetable> m_timetable;
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<TestMessenger> m_view;

    TestTimetable& timetable() { return *m_timetable; }
    RowCollection& rows() { return m_timetable->chart.rows(); }

    static void press(frmResource& dialog, int index) {
        QTest::mouseClick(dialog.cmd[size_t(index)], Qt::LeftButton);
    }

private slots:
    void initTestCase() { pinGermanLocale(); }

    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_timetable = std::make_unique<TestTimetable>();
        timetable().addRow(alice, "Alice");
        timetable().addRow(bob, "Bob");
        ChartStyle& rooms = timetable().chart.styles().add("Rooms");
        rooms.kind = ChartStyle::RowKind;
        m_host = std::make_unique<TestHost>();
        m_view = std::make_unique<TestMessenger>("{VIEW}");
        timetable().items.AddMessenger(*m_view);
    }

    void cleanup() {
        timetable().items.RemoveMessenger(*m_view);
        m_view.reset();
        m_host.reset();
        m_timetable.reset();
        QCOMPARE(m_prompts->unansweredCount(), 0);
        m_prompts.reset();
    }

    void addsEachNameOnce() {
        frmResource dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("New resources"));
        QCOMPARE(dialog.cmbStyle->itemText(1), QString("Rooms"));
        QCOMPARE(dialog.cmbStyle->currentText(), QString("Resources"));

        // OK on the fresh, empty dialog adds nothing.
        press(dialog, frmResource::OkCommand);
        QCOMPARE(rows().count(), 2);

        dialog.txName->setText("Carol");
        dialog.txPicture->setText("/pictures/carol.jpg");
        press(dialog, frmResource::OkCommand);
        press(dialog, frmResource::OkCommand);
        QCOMPARE(rows().count(), 3);
        const ChartRow& carol = *rows().byPosition(3);
        QCOMPARE(carol.caption, QString("Carol"));
        QCOMPARE(carol.picture, QString("/pictures/carol.jpg"));
        QCOMPARE(carol.styleKey, QString("Resources"));
        QCOMPARE(carol.key().size(), 38);
        QVERIFY(dialog.isVisible());

        dialog.txName->setText("Dave");
        dialog.cmbStyle->setCurrentIndex(1);
        press(dialog, frmResource::ReturnCommand);
        QCOMPARE(rows().count(), 4);
        QCOMPARE(rows().byPosition(4)->styleKey, QString("Rooms"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_view->heard.count("rowsChanged"), 4);
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void captionsOfAnyKind_data() {
        QTest::addColumn<QString>("caption");
        QTest::newRow("unicode, line breaks and markup")
            << QString::fromUtf8("Zoë – 東京 🚀 שלום <b>Room</b>\r\n\t2");
        QTest::newRow("very long") << QString(20000, QChar('W'));
    }

    void captionsOfAnyKind() {
        QFETCH(QString, caption);
        frmResource adding;
        adding.show();
        adding.txName->setText(caption);
        press(adding, frmResource::ReturnCommand);
        QCOMPARE(rows().byPosition(3)->caption, caption);

        // The editor lists it, and the window keeps a usable width.
        TestHost host;
        frmDateItem editor(host);
        QCOMPARE(editor.cmbRes->itemText(2), caption);
        QVERIFY(editor.sizeHint().width() < 1000);
    }

    void editsTheRow() {
        timetable().addItem("{A}", bob, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        frmDateItem editor(*m_host);
        timetable().items.ItemSeledctedById("{A}", "{LIST}");
        rows().byKey(bob)->picture = "/pictures/bob.png";
        rows().byKey(bob)->styleKey = "Rooms";

        frmResource dialog;
        dialog.LetGantRow(*rows().byKey(bob));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Resource"));
        QCOMPARE(dialog.txName->text(), QString("Bob"));
        QCOMPARE(dialog.txPicture->text(), QString("/pictures/bob.png"));
        QCOMPARE(dialog.cmbStyle->currentText(), QString("Rooms"));

        dialog.txName->setText("Robert");
        dialog.cmbStyle->setCurrentIndex(0);
        press(dialog, frmResource::OkCommand);
        QCOMPARE(rows().count(), 2);
        QCOMPARE(rows().byKey(bob)->caption, QString("Robert"));
        QCOMPARE(rows().byKey(bob)->styleKey, QString("Resources"));
        // Every view hears of it: the editor lists the new caption and still shows the item's resource.
        QCOMPARE(editor.cmbRes->itemText(1), QString("Robert"));
        QCOMPARE(editor.resourceKey(), bob);
        QVERIFY(!editor.isChanged());

        // Editing may empty the caption; only adding skips an unchanged name.
        dialog.txName->clear();
        press(dialog, frmResource::ReturnCommand);
        QCOMPARE(rows().byKey(bob)->caption, QString());
        QCOMPARE(rows().count(), 2);
    }

    void choosePicture() {
        frmResource dialog;
        dialog.show();
        m_prompts->answerFile("/srv/pictures/new.jpg");
        QTest::mouseClick(dialog.cmdPicture, Qt::LeftButton);
        QCOMPARE(dialog.txPicture->text(), QString("/srv/pictures/new.jpg"));
        QCOMPARE(m_prompts->prompts().constFirst().title, QString("Choose picture"));
    }

    void menuDoesNothingWithoutARow() {
        ResourceCommands commands(*m_host);
        for (const int index : {0, 2, 4, 6})
            commands.mRowI_Click(index);
        QVERIFY(m_prompts->prompts().isEmpty());
        QVERIFY(!m_host->dirty);
        QCOMPARE(rows().count(), 2);
    }

    void deleteResource_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::newRow("named, yes") << "Bob" << int(MessageResult::Yes) << "Delete resource 'Bob'?";
        QTest::newRow("named, no") << "Bob" << int(MessageResult::No) << "Delete resource 'Bob'?";
        QTest::newRow("blanks") << "   " << int(MessageResult::Yes) << "Delete resource [Caption missing]?";
    }

    void deleteResource() {
        QFETCH(QString, caption);
        QFETCH(int, answer);
        QFETCH(QString, question);
        rows().byKey(bob)->caption = caption;
        timetable().addItem("{A}", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        timetable().addItem("{B1}", bob, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        timetable().addItem("{B2}", bob, at(2024, 3, 2, 8), at(2024, 3, 2, 9));
        frmDateItem editor(*m_host);
        timetable().items.ItemSeledctedById("{B2}", "{LIST}");
        m_view->heard.clear();

        m_host->gantRow = 2;
        m_prompts->answerMessage(answer);
        ResourceCommands(*m_host).mRowI_Click(ResourceCommands::DeleteResource);

        QCOMPARE(m_prompts->texts(), QStringList{question});
        QCOMPARE(m_prompts->prompts().constFirst().flags,
                 MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2);
        QVERIFY(m_host->dirty);
        QCOMPARE(m_prompts->busyDepth, 0);
        if (answer == MessageResult::No) {
            QCOMPARE(rows().count(), 2);
            QCOMPARE(timetable().items.Count(), 3);
            QCOMPARE(editor.itemKey(), QString("{B2}"));
            return;
        }
        // The row goes with its bookings, from the chart, the item table and every view.
        QCOMPARE(rows().count(), 1);
        QVERIFY(rows().byKey(bob) == nullptr);
        QCOMPARE(timetable().chart.items().count(), 1);
        QCOMPARE(timetable().items.Count(), 1);
        QCOMPARE(timetable().items.GetItemIndex("{B1}"), -1);
        QCOMPARE(m_view->heard, QStringList({"itemsChanged", "rowsChanged"}));
        QVERIFY(editor.itemKey().isEmpty());
        QCOMPARE(editor.cmbRes->count(), 1);
        QCOMPARE(m_host->gantRow, -1);
    }

    void readOnlyGatesEditing() {
        SetReadOnly(true);
        m_host->gantRow = 1;
        rows().byKey(alice)->height = 42;
        ResourceCommands commands(*m_host);
        commands.mRowI_Click(ResourceCommands::DeleteResource);
        commands.mRowI_Click(ResourceCommands::Settings);
        QVERIFY(m_prompts->prompts().isEmpty());
        QCOMPARE(rows().count(), 2);

        // The height is no edit of the timetable's content and works in read-only mode too.
        commands.mRowI_Click(ResourceCommands::HeightForEverything);
        QCOMPARE(rows().byKey(bob)->height, 42);
        QVERIFY(!m_host->dirty);
    }

    void heightForEverything() {
        timetable().addRow("{R-CAROL}", "Carol");
        rows().byKey(bob)->height = 35;
        m_host->gantRow = 2;
        ResourceCommands commands(*m_host);
        commands.mRowI_Click(ResourceCommands::HeightForEverything);
        for (int position = 1; position <= rows().count(); ++position)
            QCOMPARE(rows().byPosition(position)->height, 35);
        QVERIFY(m_host->dirty);
    }

    void monthlyOverview() {
        m_host->gantRow = 1;
        m_host->firstShown = at(2024, 5, 17, 6);
        ResourceCommands commands(*m_host);
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        QCOMPARE(m_prompts->texts(), QStringList{"The monthly overview is not available yet."});
        QCOMPARE(m_prompts->prompts().constFirst().flags, int(MessageFlags::Information));

        m_host->overviewAvailable = true;
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        QCOMPARE(m_host->overviewsOpened,
                 QStringList({alice + " 2024-05-17 06:00:00", alice + " 2024-05-17 06:00:00"}));
    }

    void settingsOpenTheDialogForTheRow() {
        m_host->gantRow = 2;
        QString title;
        QString name;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmResource*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            title = dialog->windowTitle();
            name = dialog->txName->text();
            dialog->txName->setText("Bobby");
            QTest::mouseClick(dialog->cmd[frmResource::ReturnCommand], Qt::LeftButton);
        });
        ResourceCommands(*m_host).mRowI_Click(ResourceCommands::Settings);
        QCOMPARE(title, QString("Resource"));
        QCOMPARE(name, QString("Bob"));
        QCOMPARE(rows().byKey(bob)->caption, QString("Bobby"));
        QVERIFY(m_host->dirty);
    }
};

QTEST_MAIN(TstResources)
#include "tst_resources.moc"
