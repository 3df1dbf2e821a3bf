#include "FileBytes.h"
#include "SettingsFixture.h"
#include "app/MessageFlags.h"
#include "settings/frmSettingsGeneral.h"

#include <QCheckBox>

namespace {
bool optionOf(const clsGeneralOptions& options, int box) {
    switch (box) {
    case frmSettingsGeneral::UseMostRecent:
        return options.UseMostRecent();
    case frmSettingsGeneral::ConfirmDelete:
        return options.ConfirmDelete();
    case frmSettingsGeneral::ConfirmQuit:
        return options.ConfirmQuit();
    case frmSettingsGeneral::SaveAuto:
        return options.SaveAuto();
    default:
        return options.ConfirmUndo();
    }
}
} // namespace

class tst_GeneralOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void eachBoxStoresItsOption_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("line");
        QTest::newRow("most recent") << int(frmSettingsGeneral::UseMostRecent) << "USEMOSTRECENT=1";
        QTest::newRow("delete") << int(frmSettingsGeneral::ConfirmDelete) << "DELETEDATA=0";
        QTest::newRow("quit") << int(frmSettingsGeneral::ConfirmQuit) << "QUIT=0";
        QTest::newRow("auto-save") << int(frmSettingsGeneral::SaveAuto) << "SAVEAUTO=0";
        QTest::newRow("undo") << int(frmSettingsGeneral::ConfirmUndo) << "UNDO=0";
    }

    void eachBoxStoresItsOption() {
        QFETCH(int, box);
        QFETCH(QString, line);
        SettingsFixture f;
        const QString path = f.profile.filename();
        const bool before = optionOf(*f.options, box);
        {
            frmSettingsGeneral dialog;
            dialog.show();
            for (int index = 0; index < 5; ++index)
                QCOMPARE(dialog.chk[std::size_t(index)]->isChecked(), optionOf(*f.options, index));
            QVERIFY(!dialog.bar()->button(ctrOSC::AcceptButton)->isEnabled());

            // Cancel after a change asks; No keeps the dialog open and changed, Yes drops the change.
            dialog.chk[std::size_t(box)]->click();
            QVERIFY(dialog.bar()->Dirty());
            f.prompts.answerMessage(MessageResult::No);
            dialog.bar()->click(ctrOSC::CancelButton);
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.bar()->Dirty());
            f.prompts.answerMessage(MessageResult::Yes);
            dialog.bar()->click(ctrOSC::CancelButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(f.prompts.texts(), QStringList({"Discard changes?", "Discard changes?"}));
            QCOMPARE(readBytes(path), QByteArray("<missing>"));
            QCOMPARE(optionOf(*f.options, box), before);
        }
        frmSettingsGeneral dialog;
        dialog.show();
        dialog.chk[std::size_t(box)]->click();
        dialog.bar()->click(ctrOSC::AcceptButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.bar()->Dirty());
        // Only the changed option reaches the profile, and the next start reads it.
        const QStringList lines = QString::fromUtf8(readBytes(path)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(1), line);
        QCOMPARE(optionOf(*f.restartedOptions(), box), !before);
    }

    void okWithoutChangeWritesNothing() {
        SettingsFixture f;
        f.options->setUseMostRecent(true);
        const QByteArray before = readBytes(f.profile.filename());
        frmSettingsGeneral dialog;
        dialog.show();
        QVERIFY(dialog.chk[frmSettingsGeneral::UseMostRecent]->isChecked());
        // Ticking a box twice is a change that changes nothing: storing it rewrites no option.
        dialog.chk[frmSettingsGeneral::SaveAuto]->click();
        dialog.chk[frmSettingsGeneral::SaveAuto]->click();
        dialog.bar()->click(ctrOSC::OkButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(readBytes(f.profile.filename()), before);
        QVERIFY(f.prompts.prompts().isEmpty());
    }
};

QTEST_MAIN(tst_GeneralOptionsDialog)
#include "tst_generaloptionsdialog.moc"
