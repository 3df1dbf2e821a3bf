#include "BoardDay.h"
#include "app/MessageFlags.h"
#include "board/FileInUseMarker.h"

#include <QProcess>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct Run {
    int exitCode = -1;
    QString output;
};

QProcessEnvironment plannerEnvironment(const QString& home, bool reportOnly) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    if (reportOnly)
        environment.insert("QUNTA_REPORT_STATE", "1");
    environment.remove("XDG_CONFIG_HOME");
    environment.remove("XDG_DATA_HOME");
    return environment;
}

// Starts the planner on the file as a second program would, and reads the state it reports.
Run runPlanner(const QString& home, const QString& file) {
    QProcess planner;
    planner.setProcessEnvironment(plannerEnvironment(home, true));
    planner.start(QCoreApplication::applicationDirPath() + "/qunta", {file});
    Run run;
    if (!planner.waitForFinished(60000)) {
        planner.kill();
        planner.waitForFinished();
        return run;
    }
    run.exitCode = planner.exitCode();
    run.output = QString::fromUtf8(planner.readAllStandardOutput());
    return run;
}
} // namespace

// Two planners on one timetable: the first owns it, every later one works read-only.
class TstMultiUser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void markerTakesAndGivesBackTheWriteBits() {
        QTemporaryDir folder;
        const QString plan = folder.filePath("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        const auto before = QFile::permissions(plan) | QFileDevice::WriteGroup;
        QVERIFY(QFile::setPermissions(plan, before));
        FileInUseMarker first;
        QCOMPARE(first.claim(plan), FileInUseMarker::Claim::Owner);
        QVERIFY(first.owns());
        QVERIFY(FileInUseMarker::isMarked(plan));
        QCOMPARE(QFile::permissions(plan), before & ~FileInUseMarker::writeBits);
        FileInUseMarker second;
        QCOMPARE(second.claim(plan), FileInUseMarker::Claim::Guest);
        QVERIFY(!second.owns());
        QVERIFY(second.release());
        QVERIFY(FileInUseMarker::isMarked(plan));
        QVERIFY(first.release());
        QCOMPARE(QFile::permissions(plan), before);
        QVERIFY(first.release());
        QCOMPARE(QFile::permissions(plan), before);
        QCOMPARE(first.claim(folder.filePath("missing.qtf")), FileInUseMarker::Claim::Failed);
        QVERIFY(QFile::exists(FileInUseMarker::lockFilePath(plan)));
        QVERIFY(QFileInfo(FileInUseMarker::lockFilePath(plan)).fileName().startsWith('.'));
    }

    void simultaneousOpenMakesOneOwner() {
        QTemporaryDir folder;
        const QString plan = folder.filePath("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        for (int round = 0; round < 5; ++round) {
            QVERIFY(QFile::setPermissions(plan, QFile::permissions(plan) | QFileDevice::WriteOwner));
            int gate[2], results[2], release[2];
            QVERIFY(::pipe(gate) == 0 && ::pipe(results) == 0 && ::pipe(release) == 0);
            QList<pid_t> children;
            for (int i = 0; i < 8; ++i) {
                const pid_t child = ::fork();
                if (child == 0) {
                    for (const int unused : {gate[1], results[0], release[1]})
                        ::close(unused);
                    // Every child waits at the gate, then all claim at once. None gives the file back,
                    // and the owner lives on until every child has claimed.
                    char go = 0;
                    const bool opened = ::read(gate[0], &go, 1) == 0;
                    FileInUseMarker marker;
                    const char result = opened ? "ogaf"[int(marker.claim(plan))] : 'x';
                    [[maybe_unused]] const ssize_t written = ::write(results[1], &result, 1);
                    ::close(results[1]);
                    [[maybe_unused]] const ssize_t waited = ::read(release[0], &go, 1);
                    ::_exit(0);
                }
                children << child;
            }
            for (const int unused : {gate[0], results[1], release[0], gate[1]})
                ::close(unused);
            QByteArray claims;
            char result = 0;
            while (::read(results[0], &result, 1) == 1)
                claims += result;
            ::close(results[0]);
            ::close(release[1]);
            for (const pid_t child : children)
                QCOMPARE(::waitpid(child, nullptr, 0), child);
            QCOMPARE(claims.count('o'), 1);
            QCOMPARE(claims.count('g'), 7);
        }
    }

    void plannerThatDiedIsOfferedToTheNext_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("taken over") << int(MessageResult::Yes);
        QTest::newRow("left read-only") << int(MessageResult::No);
    }

    void plannerThatDiedIsOfferedToTheNext() {
        QFETCH(int, answer);
        BoardFixture fixture;
        const QString plan = fixture.path("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        const pid_t child = ::fork();
        if (child == 0) {
            FileInUseMarker marker;
            // The owner ends without its shut-down.
            ::_exit(marker.claim(plan) == FileInUseMarker::Claim::Owner ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(!writable(plan));
        fixture.activate();
        fixture.prompts.answerMessage(answer);
        fixture.board->Loadfile(plan);
        QCOMPARE(fixture.prompts.prompts().size(), 1);
        QVERIFY(fixture.prompts.texts().first().contains("marked as in use, but no planner has it open"));
        QCOMPARE(fixture.prompts.prompts().first().flags,
                 int(MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2));
        const bool adopted = answer == MessageResult::Yes;
        QCOMPARE(IsReadOnly(), !adopted);
        // A planner that took the file over holds it like any owner: the next one is a guest.
        FileInUseMarker next;
        QCOMPARE(next.claim(plan),
                 adopted ? FileInUseMarker::Claim::Guest : FileInUseMarker::Claim::Abandoned);
        fixture.board->close();
        QCOMPARE(writable(plan), adopted);
    }

    void fileReadOnlyByItselfAsksNothing() {
        BoardFixture fixture;
        const QString plan = fixture.path("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        QVERIFY(QFile::setPermissions(plan, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        fixture.activate();
        fixture.board->Loadfile(plan);
        QVERIFY(IsReadOnly());
        QVERIFY(fixture.prompts.prompts().isEmpty());
    }

    void secondProgramOpensReadOnly() {
        const QString program = QCoreApplication::applicationDirPath() + "/qunta";
        QVERIFY2(QFile::exists(program), "the planner is built beside the tests");
        BoardFixture fixture;
        const QString plan = fixture.openPlan({"Room"}, {}, 0, "shared plan.qtf");
        QVERIFY(!IsReadOnly());
        QTemporaryDir otherHome;
        const Run second = runPlanner(otherHome.path(), plan);
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(second.output.contains("file=" + plan + " read-only=1"), qPrintable(second.output));
        QVERIFY(!writable(plan));
        // Once this planner has closed the file, the next one owns it and gives it back when it ends.
        fixture.board->close();
        QVERIFY(writable(plan));
        const Run third = runPlanner(otherHome.path(), plan);
        QCOMPARE(third.exitCode, 0);
        QVERIFY2(third.output.contains("read-only=0"), qPrintable(third.output));
        QVERIFY(writable(plan));
        // The planner registered the timetable type for its user.
        QVERIFY(QFile::exists(otherHome.filePath(".local/share/mime/packages/qunta-timetable.xml")));
        QVERIFY(QFile::exists(otherHome.filePath(".local/share/applications/qunta.desktop")));
        QVERIFY(QFile::exists(otherHome.filePath("Documents/QUNTA.INI")));
    }

    void terminationSignalEndsThePlannerCleanly_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    // A logout, a shutdown or `kill` ends the planner without a question and gives the file back.
    void terminationSignalEndsThePlannerCleanly() {
        QFETCH(int, signalNumber);
        QTemporaryDir home;
        const QString plan = home.filePath("plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        QProcess planner;
        planner.setProcessEnvironment(plannerEnvironment(home.path(), false));
        planner.start(QCoreApplication::applicationDirPath() + "/qunta", {plan});
        QVERIFY(planner.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!writable(plan), 30000);
        QCOMPARE(::kill(pid_t(planner.processId()), signalNumber), 0);
        QVERIFY(planner.waitForFinished(30000));
        QCOMPARE(planner.exitStatus(), QProcess::NormalExit);
        QCOMPARE(planner.exitCode(), 128 + signalNumber);
        QVERIFY(writable(plan));
        // Killed without any chance to clean up, the planner leaves the marker; the next one, asking
        // nobody, keeps to the safe answer and opens the file read-only.
        planner.start(QCoreApplication::applicationDirPath() + "/qunta", {plan});
        QVERIFY(planner.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!writable(plan), 30000);
        planner.kill();
        QVERIFY(planner.waitForFinished(30000));
        QVERIFY(!writable(plan));
        const Run next = runPlanner(home.path(), plan);
        QVERIFY2(next.output.contains("read-only=1"), qPrintable(next.output));
    }

    void programWithMissingFileStartsEmpty() {
        QTemporaryDir home;
        const Run run = runPlanner(home.path(), home.filePath("no such plan.qtf"));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.output.contains("file= read-only=0"), qPrintable(run.output));
    }
};

QTEST_MAIN(TstMultiUser)
#include "tst_multiuser.moc"
