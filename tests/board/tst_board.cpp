#include "BoardDay.h"
#include "FileBytes.h"
#include "SqlScript.h"
#include "app/MessageFlags.h"
#include "app/WindowLayout.h"
#include "app/clsIniFile.h"
#include "app/clsMRU.h"
#include "app/ui/ColorComboBox.h"
#include "app/ui/WindowPlacement.h"
#include "board/BoardMenus.h"
#include "board/DesktopIntegration.h"
#include "board/DetailPanel.h"
#include "board/TimeNavigation.h"
#include "board/TimetableHistory.h"
#include "board/frmCalendar.h"
#include "chart/ChartSettings.h"
#include "editing/SchedulePrint.h"
#include "editing/frmStyles.h"
#include "views/frmMonthView.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>

namespace {
constexpr int bookings = 3000;

// A timetable of bookings on every row for a fortnight around today, so that the board opens on a full
// screen.
void writeBusy(const QString& file, int rows, int count) {
    QStringList captions;
    for (int r = 1; r <= rows; ++r)
        captions << QStringLiteral("Resource %1").arg(r);
    QList<BoardFixture::Booking> list;
    const QDate first = QDate::currentDate().addDays(-7);
    for (int n = 0; n < count; ++n) {
        const QDate day = first.addDays(n / rows % 14);
        const int hour = 6 + n / (rows * 14) % 16;
        list.append({QStringLiteral("B%1").arg(n), QStringLiteral("R%1").arg(n % rows + 1),
                     BoardFixture::at(day, hour), BoardFixture::at(day, hour, 45)});
    }
    BoardFixture::writeTimetable(file, captions, list);
}

// A timetable large enough for the background, written beside the fixture's files.
QString writeLarge(BoardFixture& fixture) {
    const QString plan = fixture.path("large.qtf");
    writeBusy(plan, 20, bookings);
    fixture.board->setBackgroundLoadFrom(1);
    return plan;
}

// Lengthens the one item of the fixture's plan by an hour, as a step of the history.
TimePoint lengthenFirstItem(BoardFixture& fixture) {
    ChartItem& item = *fixture.chart().items().byPosition(1);
    const TimePoint end = item.end();
    item.setEnd(end.addSeconds(3600));
    fixture.board->history().record();
    return end;
}
// What a save killed a day ago left behind.
void leaveKilledSave(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
}

// Another planner holding the file.
void claimElsewhere(FileInUseMarker& other, const QString& file) {
    QCOMPARE(other.claim(file), FileInUseMarker::Claim::Owner);
}

} // namespace

// The whole planner on one board: starting, files, questions, navigation and the commands of its menus.
class TstBoard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinLocale(); }

    void startWithoutTimetable_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("missing"); // the command line names a file in a folder of its own
        QTest::addColumn<int>("rows");
        QTest::newRow("nothing") << "" << false << 0;
        QTest::newRow("new, lower case") << "/newfile" << false << 1;
        QTest::newRow("new, as a restart passes it") << "/RESTART /NewFile" << false << 1;
        QTest::newRow("missing file with blanks") << "my plans/next week.qtf" << true << 0;
        QTest::newRow("a folder") << "" << true << 0;
    }

    void startWithoutTimetable() {
        QFETCH(QString, commandLine);
        QFETCH(bool, missing);
        QTemporaryDir elsewhere;
        if (missing)
            commandLine = elsewhere.filePath(commandLine);
        BoardFixture fixture(commandLine, BoardFixture::Activated);
        QTEST(fixture.chart().rows().count(), "rows");
        QVERIFY(fixture.board->fileName().isEmpty());
        QVERIFY(!fixture.board->Dirty());
        // The board starts at today, never at the empty date (1899).
        QCOMPARE(fixture.view().firstShownTime(),
                 TimeNavigation::jumpTarget(TimePoint::today(), fixture.chart().settings()));
        QCOMPARE(fixture.board->ActDate(), fixture.view().firstShownTime().datePart());
        if (missing) {
            QCOMPARE(fixture.prompts.texts(), QStringList{"File '" + commandLine + "' not found!"});
            QCOMPARE(fixture.prompts.prompts().first().flags, int(MessageFlags::Critical));
            return;
        }
        QVERIFY(fixture.prompts.prompts().isEmpty());
        if (fixture.chart().rows().count() == 0) {
            QCOMPARE(fixture.board->GantItemIndex(), -1);
            QVERIFY(!fixture.board->detailPanel()->isEnabled());
            // The detail panel offers the date item styles, not the settings carrier "Addon".
            QCOMPARE(fixture.board->detailPanel()->cmbStyle->count(), 3);
            QCOMPARE(fixture.board->detailPanel()->cmbStyle->itemText(0), QString("Date"));
            return;
        }
        const ChartRow* row = fixture.chart().rows().byPosition(1);
        QCOMPARE(row->caption, QString("Resource"));
        QCOMPARE(row->styleKey, QString("Resources"));
        QCOMPARE(row->key().size(), 38);
        QCOMPARE(fixture.board->GantRow(), 1);
        fixture.prompts.answerFile(fixture.path("first.qtf"));
        QVERIFY(fixture.board->DoSave(false));
        QCOMPARE(fixture.prompts.prompts().last().title, QString("Save Timetable"));
        QCOMPARE(fixture.prompts.prompts().last().text, QString("Timetable Files (*.qtf)|*.qtf"));
    }

    void startWithFile_data() {
        QTest::addColumn<bool>("mostRecent"); // else named on the command line
        QTest::newRow("command line, blanks in the path") << false;
        QTest::newRow("most recent file") << true;
    }

    void startWithFile() {
        QFETCH(bool, mostRecent);
        QTemporaryDir folder;
        const QString path = folder.filePath("plan for may.qtf");
        BoardFixture::writeTimetable(path, {"Room 1", "Van"}, {{"A", "R1", at(8), at(9)}});
        BoardFixture fixture(mostRecent ? QString() : path);
        fixture.options().setUseMostRecent(mostRecent);
        globals().profile->WriteProfileString("RECENT", "FILE1", path);
        fixture.activate();
        QCOMPARE(fixture.board->fileName(), path);
        QCOMPARE(fixture.chart().rows().count(), 2);
        QCOMPARE(fixture.items().Count(), 1);
        QCOMPARE(fixture.board->statusPanel(3)->text(), path + " ");
        QCOMPARE(fixture.board->statusPanel(6)->text(), QString("1 "));
        QCOMPARE(fixture.board->statusPanel(7)->text(), QString("1.2.3 "));
        QVERIFY(fixture.board->windowTitle().contains("plan for may.qtf"));
        QVERIFY(!fixture.board->windowTitle().contains("read-only"));
    }

    void saveKeepsBackupOfPreviousSave() {
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        const QString plan = fixture.path("plan.qtf");
        fixture.addUnsaved("first", at(8));
        fixture.prompts.answerFile(fixture.path("plan"));
        QVERIFY(fixture.board->DoSave(false));
        QCOMPARE(fixture.board->fileName(), plan);
        QVERIFY(!fixture.board->Dirty());
        QVERIFY(!QFile::exists(plan + ".BAK"));
        QCOMPARE(globals().profile->ReadProfileString("RECENT", "FILE1", ""), plan);
        QVERIFY(!writable(plan));
        fixture.addUnsaved("second", at(10));
        leaveKilledSave(plan + ".tmp-22bb33");
        QVERIFY(fixture.board->DoSave(false));
        QCOMPARE(BoardFixture::itemCountOf(plan), 2);
        QCOMPARE(BoardFixture::itemCountOf(plan + ".BAK"), 1);
        QVERIFY(!writable(plan));
        QVERIFY(writable(plan + ".BAK"));
        // The backup of an earlier save is replaced.
        QVERIFY(fixture.board->DoSave(false));
        QCOMPARE(BoardFixture::itemCountOf(plan + ".BAK"), 2);
        // A save clears what killed saves left.
        QCOMPARE(QDir(fixture.home.path()).entryList({"plan.qtf*"}, QDir::Files),
                 (QStringList{"plan.qtf", "plan.qtf.BAK"}));
        // A cancelled name changes nothing.
        fixture.board->setDirty(true);
        fixture.prompts.answerFile("");
        QVERIFY(!fixture.board->DoSave(true));
        QVERIFY(fixture.board->Dirty());
        QCOMPARE(fixture.board->fileName(), plan);
    }

    void failedSaveLosesNothing_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder that does not exist") << "no such folder/plan.qtf";
        QTest::newRow("folder that is a file") << "plan.qtf/inside.qtf";
    }

    void failedSaveLosesNothing() {
        QFETCH(QString, target);
        BoardFixture fixture;
        BoardFixture::writeTimetable(fixture.path("plan.qtf.BAK"), {"Room"}, {{"A", "R1", at(8), at(9)}});
        const QString plan = fixture.openPlan();
        fixture.chart().items().remove("A");
        fixture.board->setDirty(true);
        fixture.prompts.answerFile(fixture.path(target));
        QVERIFY(!fixture.board->DoSave(true));
        QVERIFY(fixture.prompts.texts().last().startsWith("Exception handler:"));
        QVERIFY(fixture.prompts.texts().last().contains("(Function:Main:DoSave)"));
        QCOMPARE(fixture.board->fileName(), plan);
        QVERIFY(fixture.board->Dirty());
        QCOMPARE(BoardFixture::itemCountOf(plan), 1);
        QCOMPARE(BoardFixture::itemCountOf(plan + ".BAK"), 1);
        QVERIFY(!writable(plan));
        QVERIFY(!IsReadOnly());
    }

    // Save as onto a file another planner holds is refused; away from one, it makes this planner an owner.
    void saveAsAndFilesInUse() {
        BoardFixture fixture;
        const QString plan = fixture.path("plan.qtf");
        const QString other = fixture.path("other.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        BoardFixture::writeTimetable(other, {"Room"}, {{"A", "R1", at(8), at(9)}});
        FileInUseMarker planOwner;
        FileInUseMarker otherOwner;
        claimElsewhere(planOwner, plan);
        claimElsewhere(otherOwner, other);
        fixture.activate();
        fixture.board->Loadfile(plan);
        QVERIFY(IsReadOnly());
        fixture.prompts.answerFile(other);
        QVERIFY(!fixture.board->DoSave(true));
        QVERIFY(fixture.prompts.texts().last().contains("is open in another instance"));
        QCOMPARE(BoardFixture::itemCountOf(other), 1);
        const QString copy = fixture.path("copy.qtf");
        fixture.prompts.answerFile(copy);
        QVERIFY(fixture.board->DoSave(true));
        QVERIFY(!IsReadOnly());
        QCOMPARE(fixture.board->fileName(), copy);
        QVERIFY(!writable(copy));
        QVERIFY(!writable(plan));
        QVERIFY(fixture.board->menus()->mFileI[4]->isEnabled());
        QVERIFY(!fixture.board->windowTitle().contains("read-only"));
        QVERIFY(planOwner.release());
        QVERIFY(writable(plan));
    }

    void fifoIsNeitherSavedOverNorOpened() {
        BoardFixture fixture;
        const QString plan = fixture.openPlan();
        const QString fifo = fixture.path("pipe.qtf");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        fixture.board->setDirty(true);
        fixture.prompts.answerFile(fifo);
        QVERIFY(!fixture.board->DoSave(true));
        QCOMPARE(fixture.prompts.texts().last(),
                 "'" + fifo + "' is not a regular file; the timetable cannot be saved there.");
        fixture.prompts.clear();
        fixture.board->Loadfile(fifo);
        QCOMPARE(fixture.prompts.prompts().size(), 1);
        QVERIFY(fixture.prompts.texts().first().contains("is not a timetable file"));
        QCOMPARE(fixture.board->fileName(), plan);
        QVERIFY(!QFileInfo(fifo).isFile());
        QVERIFY(!QFile::exists(fifo + ".BAK"));
    }

    void endingWithoutQuestionsKeepsUnsavedWork_data() {
        QTest::addColumn<bool>("titled");
        QTest::addColumn<bool>("dirty");
        QTest::newRow("changed timetable") << true << true;
        QTest::newRow("changed new timetable") << false << true;
        QTest::newRow("nothing changed") << true << false;
    }

    void endingWithoutQuestionsKeepsUnsavedWork() {
        QFETCH(bool, titled);
        QFETCH(bool, dirty);
        BoardFixture fixture(titled ? QString() : QStringLiteral("/newfile"));
        const QString plan = titled ? fixture.openPlan() : QString();
        if (!titled)
            fixture.activate();
        fixture.options().setConfirmQuit(true);
        if (dirty)
            fixture.addUnsaved("B", at(10));
        const QString recovery = fixture.board->EndWithoutQuestions();
        QVERIFY(fixture.prompts.prompts().isEmpty());
        QVERIFY(!fixture.board->isVisible());
        if (titled) {
            QVERIFY(writable(plan));
            QCOMPARE(BoardFixture::itemCountOf(plan), 1);
        }
        const QString folder = titled ? fixture.home.path() : fixture.path("Documents");
        const QStringList copies = QDir(folder).entryList({"*(recovered *).qtf"}, QDir::Files);
        QCOMPARE(copies, dirty ? QStringList{QFileInfo(recovery).fileName()} : QStringList());
        if (!dirty) {
            QVERIFY(recovery.isEmpty());
            return;
        }
        QVERIFY(recovery.startsWith(folder + (titled ? "/plan (recovered " : "/Timetable (recovered ")));
        QCOMPARE(BoardFixture::itemCountOf(recovery), titled ? 2 : 1);
        QCOMPARE(fixture.board->fileName(), plan);
    }

    void damagedFileKeepsOpenTimetable_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("this is no timetable\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("database header only") << QByteArray("SQLite format 3", 15) + QByteArray(85, '\0');
    }

    void damagedFileKeepsOpenTimetable() {
        QFETCH(QByteArray, content);
        BoardFixture fixture;
        const QString plan = fixture.openPlan();
        const QString damaged = fixture.path("damaged.qtf");
        writeBytes(damaged, content);
        fixture.prompts.clear();
        fixture.board->Loadfile(damaged);
        QCOMPARE(fixture.prompts.prompts().size(), 1);
        QVERIFY(fixture.prompts.texts().first().contains("(Sub:Main:Loadfile)"));
        QCOMPARE(fixture.board->fileName(), plan);
        QCOMPARE(fixture.itemCount(), 1);
        QCOMPARE(fixture.items().Count(), 1);
        QVERIFY(!writable(plan));
        QVERIFY(writable(damaged));
    }

    void askSave_data() {
        QTest::addColumn<bool>("saveAuto");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("savedItems");
        QTest::newRow("auto-save asks nothing") << true << 0 << true << 2;
        QTest::newRow("yes saves") << false << int(MessageResult::Yes) << true << 2;
        QTest::newRow("no drops") << false << int(MessageResult::No) << true << 1;
        QTest::newRow("cancel stops") << false << int(MessageResult::Cancel) << false << 1;
    }

    void askSave() {
        QFETCH(bool, saveAuto);
        QFETCH(int, answer);
        BoardFixture fixture;
        const QString plan = fixture.openPlan();
        fixture.options().setSaveAuto(saveAuto);
        fixture.addUnsaved("B", at(10));
        fixture.prompts.clear();
        if (answer)
            fixture.prompts.answerMessage(answer);
        QTEST(fixture.board->AskSave(), "ok");
        QCOMPARE(fixture.prompts.texts(), answer ? QStringList{"Save changes?"} : QStringList());
        if (answer)
            QCOMPARE(fixture.prompts.prompts().first().flags, 35);
        QTEST(BoardFixture::itemCountOf(plan), "savedItems");
    }

    void loadingAnotherFileAsksFirst() {
        BoardFixture fixture;
        const QString second = fixture.path("second.qtf");
        BoardFixture::writeTimetable(second, {"Van", "Car"}, {});
        const QString first = fixture.openPlan({"Room"}, {});
        fixture.board->setDirty(true);
        fixture.prompts.answerMessage(MessageResult::Cancel);
        fixture.board->mFileI_Click(2);
        QCOMPARE(fixture.board->fileName(), first);
        QVERIFY(fixture.board->Dirty());
        fixture.prompts.answerMessage(MessageResult::No);
        fixture.prompts.answerFile(second);
        leaveKilledSave(second + ".tmp-00aa11");
        fixture.board->mFileI_Click(2);
        QCOMPARE(fixture.board->fileName(), second);
        QVERIFY(!QFile::exists(second + ".tmp-00aa11"));
        QCOMPARE(fixture.chart().rows().count(), 2);
        QVERIFY(!fixture.board->Dirty());
        QCOMPARE(fixture.prompts.prompts().last().title, QString("Load Timetable"));
        // The first file is given back when another is opened.
        QVERIFY(writable(first));
        QVERIFY(!writable(second));
    }

    void undoReloadsSavedState_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("undone");
        QTest::newRow("confirmed yes") << true << int(MessageResult::Yes) << true;
        QTest::newRow("confirmed no") << true << int(MessageResult::No) << false;
        QTest::newRow("without question") << false << 0 << true;
    }

    void undoReloadsSavedState() {
        QFETCH(bool, confirm);
        QFETCH(int, answer);
        QFETCH(bool, undone);
        BoardFixture fixture;
        const QString plan = fixture.openPlan();
        fixture.options().setConfirmUndo(confirm);
        // Nothing changed: nothing to undo, nothing asked.
        fixture.board->mEditI_Click(6);
        QVERIFY(fixture.prompts.prompts().isEmpty());
        fixture.chart().items().remove("A");
        fixture.board->setDirty(true);
        if (answer)
            fixture.prompts.answerMessage(answer);
        fixture.board->tbToolBar_ButtonClick("UNDO");
        QCOMPARE(fixture.prompts.texts(), confirm ? QStringList{"Undo all changes now?"} : QStringList());
        if (confirm)
            QCOMPARE(fixture.prompts.prompts().first().flags, 292);
        QCOMPARE(fixture.itemCount(), undone ? 1 : 0);
        QCOMPARE(fixture.board->Dirty(), !undone);
        QVERIFY(!writable(plan));
    }

    // A new timetable is begun, and its changes undone, by starting the program afresh.
    void newTimetableRestarts_data() {
        QTest::addColumn<int>("saveAnswer"); // 0: "Undo all changes" instead of "New"
        QTest::addColumn<bool>("restarts");
        QTest::newRow("undo all") << 0 << true;
        QTest::newRow("new, no to saving") << int(MessageResult::No) << true;
        QTest::newRow("new, cancelled") << int(MessageResult::Cancel) << false;
    }

    void newTimetableRestarts() {
        QFETCH(int, saveAnswer);
        QFETCH(bool, restarts);
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.options().setConfirmQuit(true);
        fixture.options().setConfirmUndo(false);
        fixture.board->setDirty(true);
        if (saveAnswer == 0) {
            fixture.board->UndoAllChanges();
            QVERIFY(fixture.prompts.prompts().isEmpty());
        } else {
            fixture.prompts.answerMessage(MessageResult::No);
            fixture.prompts.answerMessage(saveAnswer);
            fixture.board->mFileI_Click(0);
            // The quit question is not asked for a restart; the save question comes again at the unload.
            QCOMPARE(fixture.prompts.texts(), QStringList(2, "Save changes?"));
            QCOMPARE(fixture.board->restarting(), restarts);
        }
        const QList<QStringList> started{{QCoreApplication::applicationFilePath(), "/RESTART", "/NewFile"}};
        QCOMPARE(fixture.prompts.detachedStarts, restarts ? started : QList<QStringList>());
        if (restarts)
            return;
        // A later close asks the quit question again.
        fixture.prompts.answerMessage(MessageResult::No);
        fixture.board->close();
        QCOMPARE(fixture.prompts.texts().last(), QString("Do yout want to quit?"));
    }

    void quitQuestions() {
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.options().setConfirmQuit(true);
        fixture.prompts.answerMessage(MessageResult::No);
        fixture.board->mQuit_Click();
        QCOMPARE(fixture.prompts.texts(), QStringList{"Do yout want to quit?"});
        QCOMPARE(fixture.prompts.prompts().last().flags, 36);
        // When the session ends only the save question is asked.
        fixture.prompts.clear();
        fixture.board->setDirty(true);
        fixture.prompts.answerMessage(MessageResult::Cancel);
        QVERIFY(!fixture.board->QueryUnload(false));
        QCOMPARE(fixture.prompts.texts(), QStringList{"Save changes?"});
        fixture.board->setDirty(false);
        // Quitting keeps the window's layout for the next run.
        fixture.prompts.clear();
        fixture.prompts.answerMessage(MessageResult::Yes);
        fixture.board->resize(700, 500);
        fixture.board->tbToolBar_ButtonClick("exit");
        QCOMPARE(fixture.prompts.texts(), QStringList{"Do yout want to quit?"});
        const auto layout = WindowLayout::read(*globals().profile, "Main");
        QVERIFY(layout.has_value());
        QCOMPARE(layout->state, 0);
        QCOMPARE(layout->width, 10500.0);
        QCOMPARE(layout->height, 7500.0);
        QWidget next;
        WindowPlacement::restoreLayout(next, "Main", *globals().profile);
        QCOMPARE(next.size(), QSize(700, 500));
    }

    void recentFilesMenu() {
        BoardFixture fixture;
        QStringList files;
        for (int i = 1; i <= 6; ++i) {
            files << fixture.path(QString("plan%1.qtf").arg(i));
            BoardFixture::writeTimetable(files.last(), {QString("Row %1").arg(i)}, {});
        }
        fixture.activate();
        const auto& entries = fixture.board->menus()->mMRUi;
        fixture.board->Loadfile(files[0]);
        QVERIFY(!entries[2]->isVisible());
        for (const QString& file : files)
            fixture.board->Loadfile(file);
        QCOMPARE(entries[1]->text(), "&1 " + files[5]);
        QCOMPARE(entries[5]->text(), "&5 " + files[1]);
        fixture.board->mMRUi_Click(3);
        QCOMPARE(fixture.board->fileName(), files[3]);
        QCOMPARE(fixture.chart().rows().byPosition(1)->caption, QString("Row 4"));
        // A file that has gone stays in the list and says so.
        QFile::remove(files[5]);
        fixture.board->mMRUi_Click(2);
        QCOMPARE(fixture.prompts.texts().last(), "File '" + files[5] + "' not found!");
        QCOMPARE(entries[2]->text(), "&2 " + files[5]);
    }

    void fileInUseOpensReadOnly() {
        BoardFixture fixture;
        const QString plan = fixture.path("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {{"A", "R1", at(8), at(9)}});
        FileInUseMarker other;
        claimElsewhere(other, plan);
        fixture.activate();
        fixture.board->Loadfile(plan);
        QVERIFY(IsReadOnly());
        QVERIFY(!globals().ownsFileLock);
        QVERIFY(fixture.board->windowTitle().contains("(read-only)"));
        const BoardMenus& menus = *fixture.board->menus();
        for (const QAction* gated :
             {menus.mEdit->menuAction(), menus.mEditI[0], menus.mEditI[8], menus.mFileI[4],
              menus.toolButton("del"), menus.toolButton("new"), menus.toolButton("save")})
            QVERIFY(!gated->isEnabled());
        QVERIFY(menus.mFileI[5]->isEnabled());
        QVERIFY(menus.toolButton("print")->isEnabled());
        QVERIFY(!fixture.chart().settings().allowAdd);
        QVERIFY(!fixture.chart().settings().allowEdit);
        // Gated commands do nothing, nothing becomes dirty, undo finds nothing.
        QVERIFY(!fixture.board->SetDirty());
        fixture.board->setDirty(true);
        fixture.board->setGantItemIndex(1);
        QVERIFY(!fixture.board->detailPanel()->isEnabled());
        fixture.board->DeleteItem();
        fixture.board->mItemI_Click(0);
        fixture.board->UndoAllChanges();
        QCOMPARE(fixture.itemCount(), 1);
        QVERIFY(!fixture.board->Dirty());
        fixture.board->mZoomI_Click(11);
        QCOMPARE(fixture.view().scale(), 11);
        QVERIFY(!fixture.board->Dirty());
        QVERIFY(fixture.prompts.prompts().isEmpty());
        // Quitting leaves the other instance's marker alone.
        fixture.board->Unload();
        QVERIFY(!writable(plan));
    }

    void autoDeleteOldItems_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("endOffsetSeconds"); // from midnight today
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("1 day, ended yesterday 23:59") << 1 << -60 << false << "plan.qtf";
        QTest::newRow("1 day, ends today 00:00") << 1 << 0 << true << "plan.qtf";
        QTest::newRow("7 days, ends six days ago") << 7 << -6 * 86400 << true << "plan.qtf";
        QTest::newRow("7 days, a second earlier") << 7 << -6 * 86400 - 1 << false << "plan.qtf";
        QTest::newRow("off") << 0 << -400 * 86400 << true << "plan.qtf";
        QTest::newRow("demo is never cleaned") << 1 << -5 * 86400 << true << "Velkor-Demo-office.qtf";
    }

    void autoDeleteOldItems() {
        QFETCH(int, days);
        QFETCH(int, endOffsetSeconds);
        QFETCH(bool, kept);
        QFETCH(QString, fileName);
        BoardFixture fixture;
        const TimePoint today = TimePoint::today();
        const TimePoint end = today.addSeconds(endOffsetSeconds);
        QList<BoardFixture::Booking> bookings;
        for (int i = 0; i < 25; ++i) {
            const TimePoint start = today.addDays(1 + i);
            bookings.append({QString("future%1").arg(i), "R1", start, start.addSeconds(3600)});
        }
        bookings.append({"probe", "R2", end.addDays(-30), end});
        bookings.append({"long", "R3", today.addDays(-900), today.addDays(2)});
        fixture.openPlan({"Room", "Van", "Ann"}, bookings, days, fileName);
        QCOMPARE(fixture.item("probe") != nullptr, kept);
        QVERIFY(fixture.item("long"));
        QCOMPARE(fixture.itemCount(), kept ? 27 : 26);
        // The item table is read afresh after the deletion.
        QCOMPARE(fixture.items().Count(), fixture.itemCount());
        QCOMPARE(fixture.prompts.progressCaptions.contains("Deleting old items"),
                 days > 0 && !fileName.contains("Demo"));
        QVERIFY(!fixture.board->Dirty());
    }

    void autoDeleteCanBeCancelled() {
        BoardFixture fixture;
        const TimePoint old = TimePoint::today().addDays(-100);
        QList<BoardFixture::Booking> bookings;
        for (int i = 0; i < 40; ++i)
            bookings.append(
                {QString("old%1").arg(i), "R1", old.addSeconds(i * 7200), old.addSeconds(i * 7200 + 3600)});
        fixture.prompts.cancelProgressAt(20);
        fixture.openPlan({"Room"}, bookings, 3);
        // Walked backwards: the last twenty went before the cancel, the others stay.
        QCOMPARE(fixture.itemCount(), 20);
        QVERIFY(fixture.item("old0"));
        QVERIFY(!fixture.item("old39"));
        QCOMPARE(fixture.items().Count(), 20);
    }

    // The view steps by half a screen, or by five with Ctrl, from the keys, the menu and the toolbar.
    void stepping_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime start(monday, QTime(6, 0));
        const int down = Qt::Key_PageDown, up = Qt::Key_PageUp, ctrl = Qt::ControlModifier;
        QTest::newRow("10 minutes, PgDn") << "key" << 7 << down << 0 << start.addSecs(5 * 3600);
        QTest::newRow("10 minutes, Ctrl+PgDn") << "key" << 7 << down << ctrl << start.addSecs(25 * 3600);
        QTest::newRow("10 minutes, PgUp") << "key" << 7 << up << 0 << start.addSecs(-5 * 3600);
        QTest::newRow("10 minutes, Shift+PgDn") << "key" << 7 << down << int(Qt::ShiftModifier) << start;
        QTest::newRow("10 seconds, PgDn") << "key" << 2 << down << 0 << start.addSecs(5 * 60);
        QTest::newRow("1 hour (0), PgDn") << "key" << 0 << down << 0 << start.addSecs(5 * 60);
        QTest::newRow("6 hours, Ctrl+PgUp") << "key" << 12 << up << ctrl << start.addDays(-25);
        QTest::newRow("1 week, PgDn") << "key" << 15 << down << 0 << start.addMonths(5);
        QTest::newRow("typed Ctrl+PgDn") << "typed" << 7 << down << ctrl << start.addSecs(25 * 3600);
        QTest::newRow("typed PgUp") << "typed" << 7 << up << 0 << start.addSecs(-5 * 3600);
        QTest::newRow("menu forward") << "menu" << 7 << down << 0 << start.addSecs(5 * 3600);
        QTest::newRow("menu back") << "menu" << 7 << up << 0 << start.addSecs(-5 * 3600);
        QTest::newRow("toolbar next") << "toolbar" << 7 << down << 0 << start.addSecs(5 * 3600);
        QTest::newRow("toolbar previous") << "toolbar" << 7 << up << 0 << start.addSecs(-5 * 3600);
    }

    void stepping() {
        QFETCH(QString, how);
        QFETCH(int, scale);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.showBoard();
        QVERIFY(QTest::qWaitForWindowActive(fixture.board));
        fixture.board->mZoomI_Click(scale);
        fixture.view().scrollTo(at(6));
        const bool forward = key == Qt::Key_PageDown;
        if (how == "typed") {
            fixture.view().setFocus();
            QTest::keyClick(&fixture.view(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        } else if (how == "menu") {
            fixture.board->menus()->mViewI[forward ? 7 : 8]->trigger();
        } else if (how == "toolbar") {
            fixture.board->tbToolBar_ButtonClick(forward ? "next" : "previous");
        } else {
            fixture.board->KeyDown(key, Qt::KeyboardModifiers(modifiers));
        }
        QTEST(fixture.view().firstShownTime().toDateTime(), "expected");
        QCOMPARE(fixture.board->ActDate(), fixture.view().firstShownTime().datePart());
    }

    void wholeDaysOnly() {
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.showBoard();
        fixture.chart().settings().moveWholeDaysOnly = true;
        fixture.board->setActDate(TimePoint::fromDate(monday));
        fixture.board->KeyDown(Qt::Key_PageDown, Qt::ControlModifier);
        const TimePoint tuesday = TimePoint::fromDate(monday.addDays(1));
        QCOMPARE(fixture.view().firstShownTime(),
                 TimeNavigation::jumpTarget(tuesday, fixture.chart().settings()));
        QCOMPARE(fixture.board->ActDate(), tuesday);
        fixture.board->KeyDown(Qt::Key_PageUp, Qt::NoModifier);
        fixture.board->KeyDown(Qt::Key_PageUp, Qt::NoModifier);
        QCOMPARE(fixture.board->ActDate(), TimePoint::fromDate(monday.addDays(-1)));
    }

    void printing() {
        BoardFixture fixture;
        fixture.openPlan({"Room", "Van"}, {{"A", "R1", at(8), at(10)}});
        fixture.showBoard();
        fixture.view().scrollTo(at(6));
        // "Print" asks for the printer first; Cancel prints nothing.
        const QString pdfPath = fixture.path("schedule.pdf");
        fixture.prompts.answerPrinter([](QPrinter&) { return false; });
        fixture.board->mPrintI_Click();
        QVERIFY(!QFile::exists(pdfPath));
        fixture.prompts.answerPrinter([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            return true;
        });
        fixture.board->mPrintI_Click();
        QFile pdf(pdfPath);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        QCOMPARE(fixture.prompts.prompts().size(), 2);
    }

    void calendarJumpsAndIsReused() {
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.showBoard();
        fixture.board->mViewI_Click(0);
        frmCalendar* calendar = fixture.board->calendar();
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->ThisDate(), fixture.board->ActDate().date());
        const QDate saturday(2026, 3, 7);
        emit calendar->monthView()->clicked(saturday);
        QCOMPARE(fixture.board->ActDate(), TimePoint::fromDate(saturday));
        QCOMPARE(fixture.view().firstShownTime(),
                 TimeNavigation::jumpTarget(TimePoint::fromDate(saturday), fixture.chart().settings()));
        // Esc typed in the active calendar closes it and never reaches the board's quit question.
        fixture.options().setConfirmQuit(true);
        QTRY_COMPARE(QApplication::activeWindow(), calendar);
        QTest::keyClick(calendar->monthView(), Qt::Key_Escape);
        QVERIFY(!calendar->isVisible());
        QVERIFY(fixture.prompts.prompts().isEmpty());
        QCOMPARE(globals().profile->ReadProfileString("ScreenLayout", "Calendar", "").count('|'), 4);
        fixture.board->tbToolBar_ButtonClick("calendar");
        QCOMPARE(fixture.board->calendar(), calendar);
        QCOMPARE(calendar->ThisDate(), saturday);
    }

    // Esc that closes a menu, also after a click on a disabled entry, is the menu's.
    void escClosingAMenuAsksNothing() {
        BoardFixture fixture("/newfile", BoardFixture::Activated);
        fixture.showBoard();
        fixture.board->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture.board));
        fixture.options().setConfirmQuit(true);
        SetReadOnly(true);
        QMenu* file = fixture.board->menus()->mFile;
        QAction* save = fixture.board->menus()->mFileI[4];
        QVERIFY(!save->isEnabled());
        for (const bool clickDisabled : {false, true}) {
            file->popup(fixture.board->mapToGlobal(QPoint(40, 40)));
            QVERIFY(QTest::qWaitForWindowExposed(file));
            if (clickDisabled)
                QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(save).center());
            QTest::keyClick(file, Qt::Key_Escape);
            QTRY_VERIFY(!file->isVisible());
        }
        SetReadOnly(false);
        QVERIFY(fixture.prompts.prompts().isEmpty());
        // On the board itself Esc still asks.
        fixture.prompts.answerMessage(MessageResult::No);
        QTest::keyClick(&fixture.view(), Qt::Key_Escape);
        QCOMPARE(fixture.prompts.texts(), QStringList{"Do yout want to quit?"});
    }

    void menuCommands() {
        BoardFixture fixture({}, BoardFixture::Activated);
        fixture.board->tbToolBar_ButtonClick("Warp");
        QCOMPARE(fixture.prompts.texts(), QStringList{"Unknow key:'warp'"});
        QCOMPARE(fixture.prompts.prompts().first().flags, int(MessageFlags::Critical));
        fixture.board->mEditI_Click(0);
        QCOMPARE(fixture.prompts.texts().last(), QString("Please add one or more resources!"));
        QVERIFY(!fixture.board->Dirty());
        fixture.board->mZoomI_Click(14);
        QCOMPARE(fixture.view().scale(), 14);
        QVERIFY(fixture.board->Dirty());
        const BoardMenus& menus = *fixture.board->menus();
        for (int i = 0; i < BoardMenus::zoomEntries; ++i)
            QCOMPARE(menus.mZoomI[std::size_t(i)]->isChecked(), i == 14);
        fixture.board->tbToolBar_ButtonClick("scale");
        QCOMPARE(menus.mZoom->defaultAction(), menus.mZoomI[14]);
        menus.mZoom->close();
        // One styles window per kind, over the board.
        for (const int entry : {0, 1, 0})
            menus.mStyleI[size_t(entry)]->trigger();
        const QList<frmStyles*> windows = fixture.board->findChildren<frmStyles*>();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(windows[0]->windowTitle(), QString("Styles (Resources)"));
        QCOMPARE(windows[1]->cmbStyles->itemText(0), QString("Date"));
        for (const int entry : {0, 1, 5, 6})
            fixture.board->mHelpI_Click(entry);
        const QStringList& urls = fixture.prompts.openedUrls;
        QCOMPARE(urls.size(), 4);
        QVERIFY(urls[0].endsWith("/manual.html"));
        QVERIFY(urls[1].endsWith("/Documents/HELP.TXT"));
        QVERIFY(QFile::exists(fixture.path("Documents/HELP.TXT")));
        QCOMPARE(urls[2], QString("https://www.velkor.example"));
        QCOMPARE(
            urls[3],
            QString("mailto:support@velkor.example?Subject=Support%20request%3AVELKOR%20Timeplaner%201.2.3"));
        QCOMPARE(menus.mHelpI[3]->text(), QString("A&bout VELKOR Timeplaner version 1.2.3"));
        fixture.board->KeyDown(Qt::Key_F1, Qt::AltModifier);
        QCOMPARE(fixture.prompts.prompts().last().flags, int(MessageFlags::Information));
    }

    void monthlyOverviewsFromTheResourceMenu() {
        BoardFixture fixture;
        const QDate later = monday.addDays(40);
        fixture.openPlan({"Room", "Van"},
                         {{"A", "R2", BoardFixture::at(later, 8), BoardFixture::at(later, 9)}});
        fixture.showBoard();
        fixture.view().scrollTo(BoardFixture::at(later, 6));
        fixture.board->setGantRow(2);
        fixture.board->mRowI_Click(0);
        fixture.board->mRowI_Click(0);
        const QList<frmMonthView*> views = fixture.board->findChildren<frmMonthView*>();
        QCOMPARE(views.size(), 2);
        for (const frmMonthView* view : views) {
            QVERIFY(view->isVisible());
            QCOMPARE(view->windowTitle(), QString("Monthly OverviewVan"));
            QCOMPARE(view->monthLabel(), QString("April, 2026"));
            QCOMPARE(view->monthChart().data().items().count(), 1);
        }
        GanttChart& month = *views.first()->chart();
        views.first()->cntAC_ClientAreaDblClick(QPoint(month.viewport()->width() / 2, month.rowTop(3) + 1));
        QCOMPARE(fixture.board->ActDate(), TimePoint::fromDate(QDate(2026, 4, 3)));
        QCOMPARE(fixture.view().firstShownTime().date(), QDate(2026, 4, 3));
    }

    // A large timetable loads in the background after its first screen. Meanwhile nothing can change
    // it, half of it cannot be saved, and undo waits; the loaded one starts a history of its own.
    void backgroundLoad() {
        BoardFixture fixture;
        fixture.showBoard();
        fixture.openPlan();
        lengthenFirstItem(fixture);
        QVERIFY(fixture.board->menus()->mUndoStep->isEnabled());
        const QString plan = writeLarge(fixture);
        const QByteArray saved = readBytes(plan);
        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        const int firstScreen = fixture.itemCount();
        QVERIFY2(firstScreen > 0 && firstScreen < bookings, qPrintable(QString::number(firstScreen)));
        QCOMPARE(fixture.chart().rows().count(), 20);
        QVERIFY(fixture.board->statusPanel(3)->text().startsWith("Loading "));
        QVERIFY(!fixture.board->menus()->mEdit->menuAction()->isEnabled());
        QVERIFY(!fixture.chart().settings().allowEdit);
        QVERIFY(!fixture.board->SetDirty());
        QVERIFY(!fixture.board->DoSave(false));
        QCOMPARE(readBytes(plan), saved);
        QVERIFY(!fixture.board->menus()->mUndoStep->isEnabled());
        fixture.board->UndoStep();
        fixture.board->history().record();
        QCOMPARE(fixture.itemCount(), firstScreen);
        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.itemCount(), bookings);
        QCOMPARE(fixture.items().Count(), bookings);
        QCOMPARE(fixture.board->fileName(), plan);
        QCOMPARE(fixture.board->statusPanel(3)->text().trimmed(), plan);
        QVERIFY(fixture.board->menus()->mEdit->menuAction()->isEnabled());
        QVERIFY(fixture.chart().settings().allowEdit);
        QVERIFY(!writable(plan));
        QVERIFY(fixture.prompts.prompts().isEmpty());
        QCOMPARE(fixture.board->history().count(), 0);
        QVERIFY(!fixture.board->isWindowModified());
        lengthenFirstItem(fixture);
        QVERIFY(fixture.board->history().canUndo());
    }

    // A close, a logout that allows no questions, or another file opened: the timetable from before the
    // load is what the board held at the end, and what the recovery copy holds of its unsaved changes.
    void interruptedLoad_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("closed") << "closed";
        QTest::newRow("ended without questions") << "ended";
        QTest::newRow("another file opened") << "other";
    }

    void interruptedLoad() {
        QFETCH(QString, how);
        BoardFixture fixture;
        fixture.showBoard();
        const QString first = fixture.openPlan();
        const QString plan = writeLarge(fixture);
        fixture.board->setDirty(how == "ended");
        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        if (how == "ended") {
            QCOMPARE(BoardFixture::itemCountOf(fixture.board->EndWithoutQuestions()), 1);
        } else if (how == "closed") {
            fixture.board->Unload();
            QCOMPARE(fixture.itemCount(), 1);
            QCOMPARE(fixture.board->fileName(), first);
        } else {
            const QString other = fixture.path("other.qtf");
            writeBusy(other, 3, 40);
            fixture.board->Loadfile(other);
            QTRY_VERIFY(!fixture.board->loading());
            QCOMPARE(fixture.board->fileName(), other);
            QCOMPARE(fixture.chart().rows().count(), 3);
            QCOMPARE(fixture.itemCount(), 40);
            QCOMPARE(fixture.items().Count(), 40);
            QVERIFY(!writable(other));
        }
        QVERIFY(!fixture.board->loading());
        QVERIFY(writable(plan));
        QVERIFY(writable(first));
    }

    // A fault far into the file shows only after the first screen: the open timetable comes back.
    void damagedItemAfterTheFirstScreen() {
        BoardFixture fixture;
        fixture.showBoard();
        const QString first = fixture.openPlan();
        const TimePoint end = lengthenFirstItem(fixture);
        const QString plan = writeLarge(fixture);
        execute(plan, QByteArray("UPDATE items SET movement_lock = 9 WHERE position = " +
                                 QByteArray::number(bookings - 5))
                          .constData());
        fixture.prompts.clear();
        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.prompts.prompts().size(), 1);
        QVERIFY(fixture.prompts.texts().first().contains("is damaged: the movement lock 9"));
        QVERIFY(fixture.prompts.texts().first().contains("(Sub:Main:Loadfile)"));
        QCOMPARE(fixture.board->fileName(), first);
        QCOMPARE(fixture.itemCount(), 1);
        QCOMPARE(fixture.items().Count(), 1);
        QVERIFY(fixture.chart().settings().allowEdit);
        QVERIFY(!writable(first));
        QVERIFY(writable(plan));
        // The timetable came back with its history.
        fixture.board->UndoStep();
        QCOMPARE(fixture.chart().items().byPosition(1)->end(), end);
    }

    // The rules below need no window. The recent files: most recent first, five at the most, letter case
    // ignored; stored in the profile in that order.
    void recentFiles() {
        QTemporaryDir folder;
        clsIniFile profile;
        profile.setFilename(folder.filePath("QUNTA.INI"));
        // Other keys, another order and a duplicate: the lines count in file order, keys are not read.
        writeBytes(profile.filename(),
                   "[General]\r\nSaveAuto=1\r\n[RECENT]\r\nFILE9=/x/one.qtf\r\nZ=/x/two.qtf\r\n"
                   "FILE1=/X/ONE.qtf\r\n/x/three.qtf\r\n[Other]\r\nA=1\r\n");
        clsMRU recent;
        recent.Load(profile);
        QCOMPARE(recent.Count(), 3);
        QCOMPARE(recent.Item(1), QString("/x/one.qtf"));
        QCOMPARE(recent.Item(3), QString("/x/three.qtf"));
        QCOMPARE(recent.Item(4), QString());
        QCOMPARE(recent.Item(0), QString());
        // Another letter case replaces the entry and keeps the new spelling.
        recent.Add("/x/TWO.qtf");
        recent.Add("/x/new.qtf");
        recent.Save(profile);
        QCOMPARE(
            profile.ReadProfileSection("RECENT"),
            QStringList({"FILE1=/x/new.qtf", "FILE2=/x/TWO.qtf", "FILE3=/x/one.qtf", "FILE4=/x/three.qtf"}));
        QCOMPARE(profile.ReadProfileString("Other", "A", ""), QString("1"));
        recent.Remove("/X/ONE.QTF");
        QCOMPARE(recent.Count(), 3);
        QCOMPARE(recent.Item(3), QString("/x/three.qtf"));
        for (int i = 1; i <= 6; ++i)
            recent.Add(QString("/f/%1.qtf").arg(i));
        QCOMPARE(recent.Count(), 5);
        QCOMPARE(recent.Item(5), QString("/f/2.qtf"));
        clsIniFile nameless;
        recent.Load(nameless);
        QCOMPARE(recent.Count(), 0);
    }

    void layoutRecord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("state");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("width");
        QTest::newRow("normal") << "0|1500|3000|18000|12000" << true << 0 << 1500.0 << 18000.0;
        QTest::newRow("state rounded") << "2.5|1|2|3|4" << true << 2 << 1.0 << 3.0;
        QTest::newRow("point only") << "0|12,5|0|100.5|1" << true << 0 << 12.0 << 100.5;
        QTest::newRow("more fields") << "0|1|2|3|4|5" << true << 0 << 1.0 << 3.0;
        QTest::newRow("four fields") << "0|1|2|3" << false << 0 << 0.0 << 0.0;
        QTest::newRow("empty") << "" << false << 0 << 0.0 << 0.0;
    }

    void layoutRecord() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto layout = WindowLayout::parse(text);
        QCOMPARE(layout.has_value(), valid);
        if (!valid)
            return;
        QTEST(layout->state, "state");
        QTEST(layout->left, "left");
        QTEST(layout->width, "width");
    }

    void layoutWrittenUnlessMinimised() {
        QTemporaryDir folder;
        clsIniFile profile;
        profile.setFilename(folder.filePath("QUNTA.INI"));
        WindowLayout::write(profile, "Main", {WindowLayout::Maximised, 150, 300, 15000, 9000});
        QCOMPARE(profile.ReadProfileString("ScreenLayout", "Main", ""), QString("2|150|300|15000|9000"));
        WindowLayout::write(profile, "Main", {WindowLayout::Minimised, 150, 300, 1, 9000});
        QCOMPARE(WindowLayout::read(profile, "Main")->width, 15000.0);
        QVERIFY(!WindowLayout::read(profile, "Calendar").has_value());
    }

    void jumpTarget_data() {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<int>("coreStart");
        QTest::addColumn<int>("leadIn");
        QTest::addColumn<QString>("leadInInterval");
        QTest::addColumn<QDateTime>("expected");
        const QDate saturday(2026, 3, 7);
        QTest::newRow("monday 08:00, 1 h lead-in")
            << QDateTime(monday, QTime(15, 30)) << 8 * 3600 << 1 << "h" << QDateTime(monday, QTime(7, 0));
        QTest::newRow("monday 08:00, 30 min lead-in")
            << QDateTime(monday, QTime(0, 0)) << 8 * 3600 << 30 << "n" << QDateTime(monday, QTime(7, 30));
        QTest::newRow("lead-in of a day") << QDateTime(monday, QTime(9, 0)) << 8 * 3600 << 1 << "d"
                                          << QDateTime(monday.addDays(-1), QTime(8, 0));
        QTest::newRow("saturday without hours")
            << QDateTime(saturday, QTime(12, 0)) << 0 << 1 << "h" << QDateTime(saturday, QTime(0, 0));
    }

    void jumpTarget() {
        QFETCH(QDateTime, date);
        QFETCH(int, coreStart);
        QFETCH(int, leadIn);
        QFETCH(QString, leadInInterval);
        ChartSettings settings;
        for (auto& day : settings.coreTimes)
            day = {};
        settings.coreTimes[std::size_t(TimePoint::fromDateTime(date).weekdayMondayFirst())][0] = {coreStart,
                                                                                                  17 * 3600};
        settings.leadInAmount = leadIn;
        settings.leadInInterval = leadInInterval;
        QTEST(TimeNavigation::jumpTarget(TimePoint::fromDateTime(date), settings).toDateTime(), "expected");
    }

    void execQuoting_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << QString("/opt/qunta/qunta") << "/opt/qunta/qunta";
        QTest::newRow("blank") << QString("/opt/my apps/qunta") << "\"/opt/my apps/qunta\"";
        QTest::newRow("dollar") << QString("/opt/$x/qunta") << "\"/opt/\\\\$x/qunta\"";
        QTest::newRow("quote") << QString("/opt/a\"b/qunta") << "\"/opt/a\\\\\"b/qunta\"";
    }

    void execQuoting() {
        QFETCH(QString, argument);
        QTEST(DesktopIntegration::execQuote(argument), "quoted");
    }

    void desktopFilesWritten() {
        ScriptedPrompts prompts;
        QTemporaryDir folder;
        DesktopIntegration::Places places;
        places.program = folder.filePath("my apps/qunta");
        places.dataHome = folder.filePath("share");
        places.desktopFolder = folder.filePath("Desktop");
        QDir().mkpath(places.desktopFolder);
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        const QString entryPath = places.dataHome + "/applications/qunta.desktop";
        const QString entry = readBytes(entryPath);
        QVERIFY(entry.contains("MimeType=application/x-qunta-timetable;"));
        QVERIFY(entry.contains("Exec=\"" + places.program + "\" %f"));
        const QString xml = readBytes(places.dataHome + "/mime/packages/qunta-timetable.xml");
        QVERIFY(xml.contains("<glob pattern=\"*.qtf\"/>"));
        QVERIFY(xml.contains("type=\"application/x-qunta-timetable\""));
        QVERIFY(QFile::exists(places.dataHome + "/icons/hicolor/64x64/apps/qunta.png"));
        // The databases are rebuilt once; an unchanged second start leaves them alone.
        const qsizetype starts = prompts.detachedStarts.size();
        writeBytes(places.dataHome + "/mime/mime.cache", "x");
        writeBytes(places.dataHome + "/applications/mimeinfo.cache", "x");
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        QCOMPARE(prompts.detachedStarts.size(), starts);
        QVERIFY(DesktopIntegration::CreateShortcut(places));
        const QString launcher = DesktopIntegration::launcherPath(places);
        QVERIFY(readBytes(launcher).contains("Comment=Start VELKOR timeplaner"));
        QVERIFY(QFile::permissions(launcher) & QFileDevice::ExeOwner);
        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        if (!validator.isEmpty()) {
            for (const QString& file : {entryPath, launcher}) {
                QProcess validate;
                validate.start(validator, {file});
                QVERIFY(validate.waitForFinished());
                QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
            }
        }
        places.desktopFolder.clear();
        QVERIFY(!DesktopIntegration::CreateShortcut(places));
    }

    void printZoom_data() {
        QTest::addColumn<bool>("fit");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("chartWidth");
        QTest::addColumn<double>("printerTwips");
        QTest::addColumn<int>("zoom");
        QTest::newRow("fit 4800 on 1000") << true << 4800 << 1000 << 2.4 << 500;
        QTest::newRow("fit rounds half to even") << true << 2500 << 1000 << 2.4 << 200;
        QTest::newRow("fit 3500 on 1000") << true << 3500 << 1000 << 2.4 << 400;
        QTest::newRow("screen size at 600 dpi") << false << 4800 << 1000 << 1440.0 / 600 << 625;
        QTest::newRow("screen size at 96 dpi") << false << 800 << 1000 << 15.0 << 100;
    }

    void printZoom() {
        QFETCH(bool, fit);
        QFETCH(int, pageWidth);
        QFETCH(int, chartWidth);
        QFETCH(double, printerTwips);
        QTEST(SchedulePrint::printZoom(fit, pageWidth, chartWidth, printerTwips), "zoom");
    }

    void commandLineIsOneName() {
        QCOMPARE(bsMain::commandLineOf({"/home/ann/my", "plan.qtf"}), QString("/home/ann/my plan.qtf"));
        QCOMPARE(bsMain::commandLineOf({"/RESTART", "/NewFile"}), QString("/RESTART /NewFile"));
        QCOMPARE(bsMain::commandLineOf({}), QString());
    }
};

QTEST_MAIN(TstBoard)
#include "tst_board.moc"
