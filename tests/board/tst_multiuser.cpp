#include "BoardFixture.h"
#include "board/FileInUseMarker.h"

#include <QProcess>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct Run {
    int exitCode = -1;
    QString output;
};

// Starts the planner on the file as a second program would, and reads the state it reports.
Run runPlanner(const QString& home, const QString& file) {
    QProcess planner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QUNTA_REPORT_STATE", "1");
    environment.remove("XDG_CONFIG_HOME");
    environment.remove("XDG_DATA_HOME");
    planner.setProcessEnvironment(environment);
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
        const QFileDevice::Permissions before = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ReadOther;
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
            int gate[2];
            QCOMPARE(::pipe(gate), 0);
            QList<pid_t> children;
            for (int i = 0; i < 8; ++i) {
                const pid_t child = ::fork();
                if (child == 0) {
                    ::close(gate[1]);
                    char go = 0;
                    // Every child waits at the gate, then all claim at once. None gives the file back.
                    const bool opened = ::read(gate[0], &go, 1) == 0;
                    FileInUseMarker marker;
                    const FileInUseMarker::Claim claim = marker.claim(plan);
                    ::_exit(!opened ? 3 : claim == FileInUseMarker::Claim::Owner ? 0 : 1);
                }
                children << child;
            }
            ::close(gate[0]);
            ::close(gate[1]);
            int owners = 0;
            int guests = 0;
            for (const pid_t child : children) {
                int status = 0;
                QCOMPARE(::waitpid(child, &status, 0), child);
                QVERIFY(WIFEXITED(status));
                owners += WEXITSTATUS(status) == 0 ? 1 : 0;
                guests += WEXITSTATUS(status) == 1 ? 1 : 0;
            }
            QCOMPARE(owners, 1);
            QCOMPARE(guests, 7);
        }
    }

    void crashedOwnerLeavesFileReadOnly() {
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
        fixture.board->Loadfile(plan);
        QVERIFY(IsReadOnly());
        fixture.board->close();
        QVERIFY(!writable(plan));
    }

    void secondProgramOpensReadOnly() {
        const QString program = QCoreApplication::applicationDirPath() + "/qunta";
        QVERIFY2(QFile::exists(program), "the planner is built beside the tests");
        BoardFixture fixture;
        const QString plan = fixture.path("shared plan.qtf");
        BoardFixture::writeTimetable(plan, {"Room"}, {});
        fixture.activate();
        fixture.board->Loadfile(plan);
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

    void programWithMissingFileStartsEmpty() {
        QTemporaryDir home;
        const Run run = runPlanner(home.path(), home.filePath("no such plan.qtf"));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.output.contains("file= read-only=0"), qPrintable(run.output));
    }
};

QTEST_MAIN(TstMultiUser)
#include "tst_multiuser.moc"
