#include "BoardFixture.h"
#include "app/ui/ctrOSC.h"
#include "board/BoardMenus.h"
#include "settings/frmCalendarColors.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmSettings.h"
#include "settings/frmSettingsGeneral.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

namespace {
const QDate monday(2026, 3, 2);

template <typename Dialog> Dialog* openDialog(frmMain& board) {
    const QList<Dialog*> dialogs = board.findChildren<Dialog*>();
    return dialogs.size() == 1 && dialogs.first()->isVisible() ? dialogs.first() : nullptr;
}
} // namespace

// The Options menu of the board and what its dialogs do to the board.
class TstBoardSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    frmMain* board = nullptr;

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>();
        board = fixture->board;
        fixture->openPlan();
        fixture->showBoard();
        board->mZoomI_Click(8);
        board->chart()->scrollTo(BoardFixture::at(monday, 6));
        board->setDirty(false);
    }

    void cleanup() {
        QCOMPARE(fixture->prompts.unansweredCount(), 0);
        fixture.reset();
        board = nullptr;
    }

    void optionsMenuOpensTheDialogs_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("general") << 0 << false;
        QTest::newRow("general, read-only") << 0 << true;
        QTest::newRow("time display") << 1 << false;
        QTest::newRow("time display, read-only") << 1 << true;
        QTest::newRow("current timetable") << 2 << false;
        QTest::newRow("current timetable, read-only") << 2 << true;
    }

    void optionsMenuOpensTheDialogs() {
        QFETCH(int, entry);
        QFETCH(bool, readOnly);
        SetReadOnly(readOnly);
        board->menus()->mOptI[std::size_t(entry)]->trigger();
        ButtonBarDialog* dialog = nullptr;
        if (entry == 0)
            dialog = openDialog<frmSettingsGeneral>(*board);
        else if (entry == 1)
            dialog = openDialog<frmScheduleAppearance>(*board);
        else
            dialog = openDialog<frmSettings>(*board);
        // The general options are the user's, not the timetable's: read-only mode does not keep them.
        QCOMPARE(dialog != nullptr, entry == 0 || !readOnly);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(board->Dirty(), entry != 0 && !readOnly);
        if (dialog) {
            QVERIFY(dialog->isModal());
            dialog->bar()->click(ctrOSC::CancelButton);
            QVERIFY(!dialog->isVisible());
        }
        SetReadOnly(false);
    }

    void storedSettingsShowOnTheBoard() {
        QSignalSpy redraws(&fixture->chart(), &GanttData::changed);
        board->mOptI_Click(2);
        frmSettings* settings = openDialog<frmSettings>(*board);
        QVERIFY(settings);
        settings->cmbGrid->setCurrentIndex(9);
        emit settings->cmbGrid->activated(9);
        settings->bar()->click(ctrOSC::OkButton);
        QCOMPARE(fixture->chart().settings().gridInterval, QString("1h"));
        QCOMPARE(redraws.size(), 1);

        // Monday's calendar colour reaches the board's upper band at once.
        board->setDirty(false);
        board->mOptI_Click(1);
        frmScheduleAppearance* appearance = openDialog<frmScheduleAppearance>(*board);
        QVERIFY(appearance);
        auto* weekdays = qobject_cast<frmCalendarColors*>(appearance->cmdDateColor_Click(0));
        fixture->prompts.answerColour(0x00FFFF);
        weekdays->cmdBackground[1]->click();
        weekdays->bar()->click(ctrOSC::OkButton);
        QVERIFY(board->Dirty());
        QCOMPARE(redraws.size(), 2);
        QCoreApplication::processEvents();
        const QImage image = board->chart()->viewport()->grab().toImage();
        int yellow = 0;
        for (int x = 0; x < image.width(); ++x)
            yellow += image.pixelColor(x, 4) == QColor(255, 255, 0) ? 1 : 0;
        QVERIFY2(yellow > image.width() / 2, qPrintable(QString::number(yellow)));
        appearance->bar()->click(ctrOSC::CancelButton);
    }
};

QTEST_MAIN(TstBoardSettings)
#include "tst_boardsettings.moc"
