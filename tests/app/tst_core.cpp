#include "DataTable.h"
#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/AddonStore.h"
#include "app/AppError.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/TimePoint.h"
#include "app/bsFileUtil.h"
#include "app/bsVelkorHelper.h"
#include "app/clsAddOnData.h"
#include "app/clsSettings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <climits>
#include <cmath>
#include <limits>
#include <sys/stat.h>

namespace {
const QString R(QChar(0x00FF)); // record separator
const QString F(QChar(0x00FE)); // field separator

using Pairs = QList<QPair<QString, QString>>;

Pairs pairsOf(const clsAddOnData& data) {
    Pairs pairs;
    for (int i = 0; i < data.count(); ++i)
        pairs.append({data.keys().at(i), data.values().at(i)});
    return pairs;
}

// The chart's "Addon" style as clsSettings sees it; it can be told to fail as a missing style does.
struct FakeAddonStore : AddonStore {
    QString addonText() const override {
        ++reads;
        throwIfFailing();
        return text;
    }
    void setAddonText(const QString& newText) override {
        ++writes;
        throwIfFailing();
        text = newText;
    }
    void throwIfFailing() const {
        if (failing)
            throw AppError("Style 'Addon' not found", 9);
    }
    QString text;
    bool failing = false;
    mutable int reads = 0;
    int writes = 0;
};
} // namespace

// The program-wide helpers: messages and error reports, time points, the settings a timetable
// carries, mail links, command-line switches, network paths and whole-file writes.
class tst_core : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetAppVersion("2.3.41");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

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
        const auto row = columns<QStringList, QString>("parts", "expected"); // to, subject, body, cc, bcc
        row("recipient only", {"info@velkor.de"}, "mailto:info@velkor.de");
        row("body without subject", {"a@b.de", "", "Hi"}, "mailto:a@b.de?Body=Hi");
        row("all, in order", {"a@b.de", "S", "B", "c@d.de", "e@f.de"},
            "mailto:a@b.de?Subject=S&Body=B&Cc=c@d.de&Bcc=e@f.de");
        row("escaped texts", {"a@b.de", "Q&A?", "line 1\nline 2"},
            "mailto:a@b.de?Subject=Q%26A%3F&Body=line%201%0Aline%202");
        row("smuggled header", {"a@b.de", "x&Bcc=evil@x.de"}, "mailto:a@b.de?Subject=x%26Bcc%3Devil@x.de");
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
        const auto row = columns<QString, QString, QString>("switchName", "text", "value");
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
        const auto row = columns<QString, QString, QString>("mounts", "path", "expected");
        row("cifs", mounts, "/mnt/share/plans/a.qtf", "//server/share/plans/a.qtf");
        row("the mount point itself", mounts, "/mnt/share", "//server/share");
        row("local mount inside a share", mounts, "/mnt/share/local/a.qtf", "");
        row("name that only starts like a share", mounts, "/mnt/sharefile/a.qtf", "");
        row("nfs4", mounts, "/net/home/anna/p.jpg", "fileserver:/export/home/anna/p.jpg");
        row("nfs below the export's root", mounts, "/data/x.qtf", "fileserver:/export/projects/x.qtf");
        row("escaped blank, source with slash", mounts, "/mnt/my files/a.qtf", "me@host:/srv/a.qtf");
        row("local disk", mounts, "/home/anna/a.qtf", "");
        row("later mount hides the earlier", mounts + "50 26 0:51 / /net/home rw - ext4 /dev/vdc rw\n",
            "/net/home/anna/p.jpg", "");
        row("nothing mounted", QString(), "/x", "");
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
    void dayZeroAndFractions() {
        QCOMPARE(TimePoint::fromDate(QDate(1899, 12, 30)).seconds(), 0);
        const TimePoint t = TimePoint::fromDateTime(QDate(2024, 2, 29), QTime(18, 0));
        QCOMPARE(t.days(), 45351.75);
        QCOMPARE(TimePoint::fromDays(45351.75), t);
        QCOMPARE(t.datePart(), TimePoint::fromDate(QDate(2024, 2, 29)));
        QCOMPARE(t.timePart(), TimePoint::fromTimeOfDay(18, 0));
        // Before day 0 the whole day is still the day the time lies in.
        const TimePoint early = TimePoint::fromDateTime(QDate(1899, 12, 29), QTime(6, 0));
        QCOMPARE(early.date(), QDate(1899, 12, 29));
        QCOMPARE(early.time(), QTime(6, 0));
    }

    void addInterval_data() {
        const auto row = columns<QDateTime, QString, int, QDateTime>("from", "unit", "amount", "expected");
        auto at = [](int y, int m, int d, int h = 0, int n = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, n, s));
        };
        row("seconds over midnight", at(2023, 12, 31, 23, 59, 50), "s", 15, at(2024, 1, 1, 0, 0, 5));
        row("minutes backwards", at(2024, 3, 1, 0, 10), "n", -20, at(2024, 2, 29, 23, 50));
        row("hours across DST spring", at(2024, 3, 31, 1, 0), "H", 2, at(2024, 3, 31, 3, 0));
        row("days over leap day", at(2024, 2, 28, 8), "d", 2, at(2024, 3, 1, 8));
        row("weeks", at(2024, 12, 30), "ww", 1, at(2025, 1, 6));
        row("month end clamped", at(2024, 1, 31, 9), "m", 1, at(2024, 2, 29, 9));
        row("month end non-leap", at(2023, 1, 31), "m", 1, at(2023, 2, 28));
        row("month backwards over year", at(2024, 3, 31), "m", -4, at(2023, 11, 30));
        row("quarter", at(2024, 11, 30), "q", 1, at(2025, 2, 28));
        row("leap year to plain", at(2024, 2, 29), "yyyy", 1, at(2025, 2, 28));
        row("short year code", at(2024, 2, 29, 7), "Y", 4, at(2028, 2, 29, 7));
        row("short year code over year end", at(2024, 12, 31), "y", -1, at(2023, 12, 31));
        row("unknown unit unchanged", at(2024, 5, 5), "x", 3, at(2024, 5, 5));
    }
    void addInterval() {
        QFETCH(QDateTime, from);
        QFETCH(QString, unit);
        QFETCH(int, amount);
        QTEST(TimePoint::fromDateTime(from).addInterval(unit, amount).toDateTime(), "expected");
    }

    void displayForms() {
        const TimePoint t = TimePoint::fromDateTime(QDate(2004, 2, 1), QTime(7, 5, 9));
        QCOMPARE((QStringList{t.shortDate(), TimePoint::fromDate(QDate(2035, 6, 1)).shortDate(),
                              t.shortTime(), t.generalDate(), t.mediumDate(), t.isoText()}),
                 (QStringList{"01.02.2004", "01.06.2035", "07:05", "01.02.2004 07:05:09", "01-Feb.-2004",
                              "2004-02-01 07:05:09"}));
    }

    // Every way to make or move a time point stays in its range, however far the input reaches.
    void extremesStayInRange_data() {
        const auto add = columns<qint64, qint64>("seconds", "expected");
        const auto row = [&](const char* name, TimePoint t, qint64 expected) {
            add(name, t.seconds(), expected);
        };
        constexpr qint64 lowest = std::numeric_limits<qint64>::min();
        constexpr qint64 highest = std::numeric_limits<qint64>::max();
        const qint64 minimum = TimePoint::minimumSeconds;
        const qint64 maximum = TimePoint::maximumSeconds;
        row("lowest seconds", TimePoint::fromSeconds(lowest), minimum);
        row("highest seconds", TimePoint::fromSeconds(highest), maximum);
        row("seconds past the end", TimePoint::maximum().addSeconds(highest), maximum);
        row("seconds before the start", TimePoint::minimum().addSeconds(lowest), minimum);
        row("days forward", TimePoint().addDays(highest), maximum);
        row("days backward", TimePoint().addDays(lowest), minimum);
        row("minutes", TimePoint().addInterval("n", highest), maximum);
        row("weeks", TimePoint().addInterval("ww", lowest), minimum);
        row("months", TimePoint().addInterval("m", highest), maximum);
        row("years backward", TimePoint().addInterval("yyyy", lowest), minimum);
        row("a month after the last", TimePoint::maximum().addMonths(1), maximum);
        row("a quarter before the first", TimePoint::minimum().addInterval("q", -1), minimum);
        row("days without a number", TimePoint::fromDays(std::nan("")), 0);
        row("endless days", TimePoint::fromDays(std::numeric_limits<double>::infinity()), maximum);
        row("huge negative days", TimePoint::fromDays(-1e300), minimum);
        row("invalid date", TimePoint::fromDate(QDate()), 0);
        row("date after the range", TimePoint::fromDate(QDate(20000, 1, 1)), maximum);
        row("date before the range", TimePoint::fromDateTime(QDate(-4000, 1, 1), QTime(8, 0)), minimum);
        row("huge time of day", TimePoint::fromTimeOfDay(INT_MAX, INT_MAX, INT_MAX), maximum);
        row("first day", TimePoint::minimum().datePart(), minimum);
        row("last day", TimePoint::maximum().datePart(), maximum - 86399);
        row("last time of day", TimePoint::maximum().timePart(), 86399);
    }
    void extremesStayInRange() {
        QFETCH(qint64, seconds);
        QTEST(seconds, "expected");
        QVERIFY(TimePoint::inRange(seconds));
        const TimePoint t = TimePoint::fromSeconds(seconds);
        QVERIFY(t.date().isValid());
        QCOMPARE(TimePoint::fromDateTime(t.date(), t.time()), t);
    }

    void rangeEdgesAreTheCalendarsEdges() {
        QCOMPARE(TimePoint::minimum().toDateTime(), QDateTime(QDate(100, 1, 1), QTime(0, 0)));
        QCOMPARE(TimePoint::maximum().toDateTime(), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    }

    void parseIso() {
        TimePoint t;
        QVERIFY(TimePoint::parseIso("2024-03-31 02:30:00", &t)); // skipped by DST, but naive time keeps it
        QCOMPARE(t.time(), QTime(2, 30));
        QVERIFY(TimePoint::parseIso("2024-03-31", &t));
        QCOMPARE(t, TimePoint::fromDate(QDate(2024, 3, 31)));
        QVERIFY(!TimePoint::parseIso("2024-02-30", &t));
        QVERIFY(!TimePoint::parseIso("yesterday", &t));
    }
    void parse_data() {
        const auto row = columns<QString, Pairs>("text", "expected");
        row("empty text", QString(), {});
        row("no record separator", "key" + F + "value", {});
        row("record without field separator", R + "a", {{"", ""}});
        row("text before the first separator ignored, blanks and case kept",
            "junk" + F + "x" + R + " Key " + F + " Va lue ", {{" Key ", " Va lue "}});
        row("order and duplicates kept", R + "b" + F + "2" + R + "a" + F + "1" + R + "b" + F + "3",
            Pairs{{"b", "2"}, {"a", "1"}, {"b", "3"}});
        row("empty parts give empty pairs in place", R + R + "k" + F + "v" + R,
            Pairs{{"", ""}, {"k", "v"}, {"", ""}});
        row("value after the first field separator, rest included", R + "k" + F + "v" + F + "w",
            Pairs{{"k", "v" + F + "w"}});
    }
    void parse() {
        QFETCH(QString, text);
        clsAddOnData data;
        data.setValue("old", "content");
        data.setAddOnData(text);
        QTEST(pairsOf(data), "expected");
    }

    void serialiseAndLookUp() {
        clsAddOnData data;
        data.setValue("b", "2");
        data.setValue("a", "");
        data.setValue("", "x");
        QCOMPARE(data.AddOnData(), R + "b" + F + "2" + R + "a" + F + R + F + "x");
        clsAddOnData copy;
        copy.setAddOnData(data.AddOnData());
        QCOMPARE(pairsOf(copy), pairsOf(data));
        copy.setAddOnData(R + "k" + F + "v" + R);
        QCOMPARE(copy.AddOnData(), R + "k" + F + "v" + R + F);
        // Keys are exact: the first pair of the key is read and replaced, another case is another key.
        data.setAddOnData(R + "k" + F + "1" + R + "x" + F + "0" + R + "k" + F + "2");
        QCOMPARE(data.Value("k"), QString("1"));
        QCOMPARE(data.Value("K"), QString());
        data.setValue("k", "new");
        data.setValue("K", "upper");
        QCOMPARE(pairsOf(data), (Pairs{{"k", "new"}, {"x", "0"}, {"k", "2"}, {"K", "upper"}}));
        data.Reset();
        QCOMPARE(data.AddOnData(), QString());
    }

    void settingsRead_data() {
        const auto add = columns<QString, int, quint32>("stored", "days", "colour");
        const quint32 white = 0xFFFFFF;
        const auto row = [&](const char* stored, int days, quint32 colour) {
            add(qPrintable(QString("'%1'").arg(stored)), stored, days, colour);
        };
        row("", 0, white);
        row("14", 14, 14);
        row("12.5", 12, 12);
        row("13.5", 14, 14);
        row("7 days", 7, 7);
        row("never", 0, white);
        row("0", 0, white);
        row("-1", -1, 0); // black
        row("1e20", INT_MAX, white);
        row("4294967295", INT_MAX, 0xFFFFFFFFu);
    }
    void settingsRead() {
        QFETCH(QString, stored);
        FakeAddonStore store;
        store.text = R + "$DeleteAfterDays" + F + stored + R + "$UtilizationColor1" + F + stored;
        clsSettings settings(store);
        settings.ReadData();
        QTEST(settings.DeleteAfterDays(), "days");
        QTEST(settings.UtilizationColor(1), "colour");
    }

    void settingsWrittenAndReadBack() {
        FakeAddonStore store;
        store.text = R + "custom" + F + "kept";
        clsSettings settings(store);
        settings.ReadData();
        settings.setDeleteAfterDays(30);
        settings.setUtilizationColor(2, 0);
        settings.setUtilizationColor(0, 0x00FF80);
        settings.setDeleteAfterDays(45);
        settings.WriteData();
        QCOMPARE(store.text, R + "custom" + F + "kept" + R + "$DeleteAfterDays" + F + "45" + R +
                                 "$UtilizationColor2" + F + "-1" + R + "$UtilizationColor0" + F + "65408");
        clsSettings again(store);
        again.ReadData();
        QCOMPARE(again.DeleteAfterDays(), 45);
        QCOMPARE(again.UtilizationColor(2), quint32(0));
        QCOMPARE(again.UtilizationColor(0), quint32(0x00FF80));
        QCOMPARE(again.UtilizationColor(5), quint32(0xFFFFFF));
        // A file without add-on data yields an empty store: all defaults.
        store.text.clear();
        again.ReadData();
        QCOMPARE(again.data().count(), 0);
        QCOMPARE(again.DeleteAfterDays(), 0);
    }

    void storeErrorsAreIgnored() {
        ScriptedPrompts prompts; // fails the test on any message
        FakeAddonStore store;
        store.text = R + "$DeleteAfterDays" + F + "10";
        clsSettings settings(store);
        settings.ReadData();
        store.failing = true;
        settings.setDeleteAfterDays(20);
        settings.ReadData();  // the settings keep their content
        settings.WriteData(); // the chart keeps its content
        QCOMPARE(store.reads, 2);
        QCOMPARE(store.writes, 1);
        QCOMPARE(settings.DeleteAfterDays(), 20);
        QCOMPARE(store.text, R + "$DeleteAfterDays" + F + "10");
        QVERIFY(prompts.prompts().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_core)
#include "tst_core.moc"
