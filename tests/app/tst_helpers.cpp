#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/AppError.h"
#include "app/GlobalData.h"
#include "app/bsFileUtil.h"
#include "app/bsVelkorHelper.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <sys/stat.h>

class tst_helpers : public QObject {
    Q_OBJECT
private slots:
    void mailto_data() {
        QTest::addColumn<QStringList>("parts"); // to, subject, body, cc, bcc
        QTest::addColumn<QString>("expected");
        QTest::newRow("recipient only") << QStringList{"info@velkor.de"} << "mailto:info@velkor.de";
        QTest::newRow("body without subject") << QStringList{"a@b.de", "", "Hi"} << "mailto:a@b.de?Body=Hi";
        QTest::newRow("all, in order") << QStringList{"a@b.de", "S", "B", "c@d.de", "e@f.de"}
                                       << "mailto:a@b.de?Subject=S&Body=B&Cc=c@d.de&Bcc=e@f.de";
        QTest::newRow("escaped texts") << QStringList{"a@b.de", "Q&A?", "line 1\nline 2"}
                                       << "mailto:a@b.de?Subject=Q%26A%3F&Body=line%201%0Aline%202";
        QTest::newRow("smuggled header")
            << QStringList{"a@b.de", "x&Bcc=evil@x.de"} << "mailto:a@b.de?Subject=x%26Bcc%3Devil@x.de";
    }

    void mailto() {
        QFETCH(QStringList, parts);
        QFETCH(QString, expected);
        while (parts.size() < 5)
            parts << QString();
        QCOMPARE(MailtoText(parts[0], parts[1], parts[2], parts[3], parts[4]), expected);

        ScriptedPrompts prompts;
        QVERIFY(SendMail(parts[0], parts[1], parts[2], parts[3], parts[4]));
        QCOMPARE(prompts.openedUrls, QStringList{expected});
    }

    void switchValue_data() {
        QTest::addColumn<QString>("switchName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        const auto row = [](const char* name, const QString& switchName, const QString& text,
                            const QString& value) { QTest::newRow(name) << switchName << text << value; };
        row("up to a blank", "/WIN=", "/WIN=3 /X", "3");
        row("up to a slash", "MULTIOPEN", "MULTIOPEN12/X", "12");
        row("nothing before the next switch", "/RESTART", "/RESTART/NEWFILE", "");
        row("switch in another case, value kept as written", "/win=", "/WIN=Left", "Left");
        row("missing", "/Y", "/WIN=3", "");
    }

    void switchValue() {
        QFETCH(QString, switchName);
        QFETCH(QString, text);
        QFETCH(QString, value);
        QCOMPARE(GetSwitchValue(switchName, text), value);
        // Without a text the program's own command line is searched, upper-cased.
        globals().commandLine = text.toLower();
        QCOMPARE(GetSwitchValue(switchName), value.toUpper());
        globals().commandLine.clear();
    }

    void mountInfo_data() {
        const QString mounts =
            "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
            "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
            "40 26 0:45 / /mnt/share rw,relatime shared:7 - cifs //server/share rw,vers=3.0\n"
            "41 40 0:46 / /mnt/share/local rw - ext4 /dev/vdb rw\n"
            "42 26 0:47 / /net/home rw - nfs4 fileserver:/export/home rw\n"
            "43 26 0:48 /projects /data rw - nfs fileserver:/export rw\n"
            "44 26 0:49 / /mnt/my\\040files rw - fuse.sshfs me@host:/srv/ rw\n"
            "45 26 0:50 / /mnt/sharefile rw - tmpfs tmpfs rw\n"
            "not a mount line\n";
        QTest::addColumn<QString>("mounts");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const auto row = [&](const char* name, const QString& path, const QString& expected) {
            QTest::newRow(name) << mounts << path << expected;
        };
        row("cifs", "/mnt/share/plans/a.qtf", "//server/share/plans/a.qtf");
        row("the mount point itself", "/mnt/share", "//server/share");
        row("local mount inside a share", "/mnt/share/local/a.qtf", "");
        row("name that only starts like a share", "/mnt/sharefile/a.qtf", "");
        row("nfs4", "/net/home/anna/p.jpg", "fileserver:/export/home/anna/p.jpg");
        row("nfs below the export's root", "/data/x.qtf", "fileserver:/export/projects/x.qtf");
        row("escaped blank, source with slash", "/mnt/my files/a.qtf", "me@host:/srv/a.qtf");
        row("local disk", "/home/anna/a.qtf", "");
        QTest::newRow("later mount hides the earlier")
            << mounts + "50 26 0:51 / /net/home rw - ext4 /dev/vdc rw\n"
            << QString("/net/home/anna/p.jpg") << QString();
        QTest::newRow("nothing mounted") << QString() << QString("/x") << QString();
    }

    void mountInfo() {
        QFETCH(QString, mounts);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(networkPathFromMountInfo(path, mounts), expected);
    }

    void localPathIsNoNetworkPath() {
        QCOMPARE(GetUNCPath("/proc", true), QString("/proc"));
        try {
            GetUNCPath("/proc", false);
            QFAIL("a local path must raise error 5");
        } catch (const AppError& error) {
            QCOMPARE(error.number(), 5L);
        }
    }

    void fileExists() {
        QTemporaryDir dir;
        const QString file = dir.filePath("a.qtf");
        QVERIFY(!FileExists(file));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(dir.path())); // a folder is no file
    }

    void wholeFileReplacedOrKept() {
        QTemporaryDir folder;
        const QString file = folder.filePath("layout.lay");
        QVERIFY(WriteFileAtomically(file, "first"));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        // Through a link the file it names is replaced, with its permissions.
        const QString link = folder.filePath("link.lay");
        QVERIFY(QFile::link(file, link));
        QVERIFY(WriteFileAtomically(link, "second"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readBytes(file), QByteArray("second"));
        QCOMPARE(QFile::permissions(file) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadOther | QFile::WriteOther),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

        const QString fifo = folder.filePath("pipe.lay");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QString reason;
        QVERIFY(!WriteFileAtomically(fifo, "third", &reason));
        QCOMPARE(reason, QString("it is not a regular file"));
        QVERIFY(!IsRegularOrMissing(fifo));
        QVERIFY(IsRegularOrMissing(folder.filePath("missing")));
        QByteArray content;
        QVERIFY(!ReadRegularFile(fifo, &content));
        QVERIFY(ReadRegularFile(file, &content));
        QCOMPARE(content, QByteArray("second"));
        QVERIFY(!WriteFileAtomically(folder.filePath("no folder/x.lay"), "x", &reason));
        QVERIFY(!reason.isEmpty());
        QCOMPARE(QDir(folder.path()).entryList({"*.tmp-*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    void staleTemporariesRemoved() {
        QTemporaryDir folder;
        const auto make = [&](const QString& name, bool old) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (old)
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
        };
        make("plan [1].qtf", false);
        make("plan [1].qtf.tmp-0a1b2c", true);  // killed save: goes
        make("plan [1].qtf.tmp-3d4e5f", false); // a save in progress elsewhere: stays
        make("plan [1].qtf.tmp-ABCDEF", true);  // not a name this program makes
        make("plan [1].qtf.tmp-0a1b2c3", true); // nor this
        make("other.qtf.tmp-0a1b2c", true);     // another timetable's
        QCOMPARE(RemoveStaleTemporaries(folder.filePath("plan [1].qtf")), 1);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"other.qtf.tmp-0a1b2c", "plan [1].qtf", "plan [1].qtf.tmp-0a1b2c3",
                              "plan [1].qtf.tmp-3d4e5f", "plan [1].qtf.tmp-ABCDEF"}));
    }

    void helpFile() {
        QStandardPaths::setTestModeEnabled(true);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        const QString path = documents + "/HELP.TXT";
        QFile::remove(path);
        ScriptedPrompts prompts;
        QVERIFY(OpenHelpFile());
        QVERIFY(QFile::exists(path));
        QCOMPARE(prompts.openedUrls, QStringList{QUrl::fromLocalFile(path).toString()});
        // An existing memo keeps its text.
        QFile memo(path);
        QVERIFY(memo.open(QIODevice::WriteOnly));
        memo.write("note");
        memo.close();
        QVERIFY(OpenHelpFile());
        QVERIFY(memo.open(QIODevice::ReadOnly));
        QCOMPARE(memo.readAll(), QByteArray("note"));
    }
};

QTEST_GUILESS_MAIN(tst_helpers)
#include "tst_helpers.moc"
