#include "DataTable.h"
#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/AppError.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/bsFileUtil.h"
#include "app/bsVelkorHelper.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <sys/stat.h>

class tst_helpers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetAppVersion("2.3.41"); }

    void formatMsg() {
        QCOMPARE(FormatMsg("File '%s' not found!", QString("/a b/c.qtf")),
                 QString("File '/a b/c.qtf' not found!"));
        QCOMPARE(FormatMsg("%s of %s, %s", 1, 2), QString("1 of 2, %s"));
        // An argument that itself holds "%s" is not substituted again.
        QCOMPARE(FormatMsg("%s-%s", QString("%s"), QString("x")), QString("%s-x"));
    }

    void messageCaptionDefaultsToTitle() {
        ScriptedPrompts prompts;
        ShowMessage("one");
        ShowMessage("two", 16, "Other");
        QCOMPARE(prompts.prompts().at(0).title, AppTitle());
        QCOMPARE(prompts.prompts().at(1).title, QString("Other"));
    }

    void exceptionReportText() {
        const QString crlf = "\r\n";
        const QString tail = crlf + crlf + "VELKOR Timeplaner 2.3.41";
        QCOMPARE(exceptionReport("Sub:clsItems:UpdateItem", AppError("Bad thing", 5, "Qunta", 120)),
                 "Exception handler:5 120  (Sub:clsItems:UpdateItem)" + crlf + crlf + crlf +
                     "Description:Bad thing" + crlf + "Source:Qunta" + tail);
        QCOMPARE(exceptionReport("Function:Main:DoSave", AppError(QString(), -2147024809)),
                 "Exception handler:80070057  (Function:Main:DoSave)" + crlf + crlf + tail);
    }

    void guardAnswers() {
        ScriptedPrompts prompts;
        int attempts = 0;
        prompts.answerMessage(MessageResult::Retry);
        prompts.answerMessage(MessageResult::Ignore);
        QVERIFY(guardedStep("Sub:Test:Step", [&] {
            ++attempts;
            throw AppError("fails");
        }));
        QCOMPARE(attempts, 2);
        QCOMPARE(prompts.prompts().at(0).flags, 18);

        prompts.answerMessage(MessageResult::Abort);
        QVERIFY(!guardedStep("Sub:Test:Step", [] { throw std::runtime_error("std"); }));
        QVERIFY(prompts.prompts().last().text.contains("Description:std"));

        QCOMPARE(HandleException("Sub:Test:OkOnly", true, AppError("x")), int(HandlerAnswer::Ignore));
        QCOMPARE(prompts.prompts().last().flags, 16);
    }

    void mailto_data() {
        addColumns<QStringList, QString>("parts", "expected"); // to, subject, body, cc, bcc
        addRow("recipient only", QStringList{"info@velkor.de"}, "mailto:info@velkor.de");
        addRow("body without subject", QStringList{"a@b.de", "", "Hi"}, "mailto:a@b.de?Body=Hi");
        addRow("all, in order", QStringList{"a@b.de", "S", "B", "c@d.de", "e@f.de"},
               "mailto:a@b.de?Subject=S&Body=B&Cc=c@d.de&Bcc=e@f.de");
        addRow("escaped texts", QStringList{"a@b.de", "Q&A?", "line 1\nline 2"},
               "mailto:a@b.de?Subject=Q%26A%3F&Body=line%201%0Aline%202");
        addRow("smuggled header", QStringList{"a@b.de", "x&Bcc=evil@x.de"},
               "mailto:a@b.de?Subject=x%26Bcc%3Devil@x.de");
    }

    void mailto() {
        QFETCH(QStringList, parts);
        QFETCH(QString, expected);
        parts.resize(5);
        QCOMPARE(MailtoText(parts[0], parts[1], parts[2], parts[3], parts[4]), expected);
        ScriptedPrompts prompts;
        QVERIFY(SendMail(parts[0], parts[1], parts[2], parts[3], parts[4]));
        QCOMPARE(prompts.openedUrls, QStringList{expected});
    }

    void switchValue_data() {
        addColumns<QString, QString, QString>("switchName", "text", "value");
        addRow("up to a blank", "/WIN=", "/WIN=3 /X", "3");
        addRow("up to a slash", "MULTIOPEN", "MULTIOPEN12/X", "12");
        addRow("nothing before the next switch", "/RESTART", "/RESTART/NEWFILE", "");
        addRow("switch in another case, value kept as written", "/win=", "/WIN=Left", "Left");
        addRow("missing", "/Y", "/WIN=3", "");
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
        addColumns<QString, QString, QString>("mounts", "path", "expected");
        addRow("cifs", mounts, "/mnt/share/plans/a.qtf", "//server/share/plans/a.qtf");
        addRow("the mount point itself", mounts, "/mnt/share", "//server/share");
        addRow("local mount inside a share", mounts, "/mnt/share/local/a.qtf", "");
        addRow("name that only starts like a share", mounts, "/mnt/sharefile/a.qtf", "");
        addRow("nfs4", mounts, "/net/home/anna/p.jpg", "fileserver:/export/home/anna/p.jpg");
        addRow("nfs below the export's root", mounts, "/data/x.qtf", "fileserver:/export/projects/x.qtf");
        addRow("escaped blank, source with slash", mounts, "/mnt/my files/a.qtf", "me@host:/srv/a.qtf");
        addRow("local disk", mounts, "/home/anna/a.qtf", "");
        addRow("later mount hides the earlier", mounts + "50 26 0:51 / /net/home rw - ext4 /dev/vdc rw\n",
               "/net/home/anna/p.jpg", "");
        addRow("nothing mounted", QString(), "/x", "");
    }

    void mountInfo() {
        QFETCH(QString, mounts);
        QFETCH(QString, path);
        QTEST(networkPathFromMountInfo(path, mounts), "expected");
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

    void wholeFileReplacedOrKept() {
        QTemporaryDir folder;
        const QString file = folder.filePath("layout.lay");
        QVERIFY(!FileExists(file));
        QVERIFY(WriteFileAtomically(file, "first"));
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(folder.path())); // a folder is no file
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

    // The user's memo: created empty when missing and opened; an existing one keeps its text.
    void helpFile() {
        QStandardPaths::setTestModeEnabled(true);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        const QString path = documents + "/HELP.TXT";
        QFile::remove(path);
        ScriptedPrompts prompts;
        QVERIFY(OpenHelpFile());
        QCOMPARE(readBytes(path), QByteArray());
        QCOMPARE(prompts.openedUrls, QStringList{QUrl::fromLocalFile(path).toString()});
        writeBytes(path, "note");
        QVERIFY(OpenHelpFile());
        QCOMPARE(readBytes(path), QByteArray("note"));
    }
};

QTEST_GUILESS_MAIN(tst_helpers)
#include "tst_helpers.moc"
