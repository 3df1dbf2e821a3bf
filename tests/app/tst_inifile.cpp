#include "DataTable.h"
#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <climits>
#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// True while another open file description holds a lock on the file that excludes an exclusive one.
bool lockedByOther(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return busy;
}

// A second process, flock(1), that holds the lock file while `command` runs ("cat": until release()).
class LockHolder {
public:
    // False when flock(1) is missing; a holder that does not start or lock fails the test.
    bool start(const QString& lockPath, bool exclusive, const QStringList& command = {"cat"}) {
        const QString flock = QStandardPaths::findExecutable("flock");
        if (flock.isEmpty())
            return false;
        m_process.start(flock, QStringList{exclusive ? "-x" : "-s", lockPath} + command);
        [&] {
            QVERIFY(m_process.waitForStarted(5000));
            QElapsedTimer timer;
            timer.start();
            while (!lockedByOther(lockPath) && timer.elapsed() < 5000)
                QThread::msleep(10);
            QVERIFY(lockedByOther(lockPath));
        }();
        return true;
    }
    void release() { m_process.closeWriteChannel(); }
    bool finished() { return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(5000); }
    ~LockHolder() {
        release();
        if (!finished()) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

private:
    QProcess m_process;
};

const QByteArray latin1Line = "N=Z\xFCrich"; // not UTF-8

// The five general options in the order undo, delete, quit, most recent, save auto: "1" is true.
QString optionsOf(const clsGeneralOptions& options) {
    QString flags;
    for (const bool flag : {options.ConfirmUndo(), options.ConfirmDelete(), options.ConfirmQuit(),
                            options.UseMostRecent(), options.SaveAuto()})
        flags += flag ? '1' : '0';
    return flags;
}

const QString noLock = "flock(1) from util-linux is not available";
} // namespace

class tst_IniFile : public QObject {
    Q_OBJECT

    QString path() const { return m_dir->filePath("QUNTA.INI"); }
    QStringList entries() const {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    clsIniFile m_ini;
    int m_waits = 0;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_ini = clsIniFile();
        m_ini.setFilename(path());
        m_waits = 0;
        // No test sleeps unless it asks to; every wait is counted.
        m_ini.setWaitFunction([this](int ms) {
            QCOMPARE(ms, 200);
            ++m_waits;
        });
    }

    void cleanup() {
        m_prompts.reset();
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        m_dir.reset();
    }

    void leadingNumber_data() {
        // rounded: halves to the even neighbour, clamped into int
        const auto row = columns<QString, double, bool, int>("text", "expected", "found", "rounded");
        row("trailing text, half down to even", "12.5x", 12.5, true, 12);
        row("leading blanks and tab, half up to even", " \t 13.5", 13.5, true, 14);
        row("minus", "-2.5", -2.5, true, -2);
        row("plus", "+1.5", 1.5, true, 2);
        row("point first", "-.5", -0.5, true, 0);
        row("point last", "5.", 5.0, true, 5);
        row("second point", "2.5001.3", 2.5001, true, 3);
        row("negative exponent", "25E-1x", 2.5, true, 2);
        row("incomplete signed exponent", "4e+x", 4.0, true, 4);
        row("point and exponent", "5.e2", 500.0, true, 500);
        row("beyond int", "99999999999", 99999999999.0, true, INT_MAX);
        row("overflowing exponent", "-2e999x", -qInf(), true, INT_MIN);
        row("underflowing exponent", "3e-400", 0.0, true, 0);
        row("comma is no separator", "1,5", 1.0, true, 1);
        row("empty", "", 0.0, false, 0);
        row("sign only", "-", 0.0, false, 0);
        row("blank after sign", "- 5", 0.0, false, 0);
        row("arabic-indic digits are no digits", "\u0663", 0.0, false, 0);
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(bool, found);
        QFETCH(int, rounded);
        bool wasFound = !found;
        QCOMPARE(::leadingNumber(text, &wasFound), expected);
        QCOMPARE(wasFound, found);
        QCOMPARE(::leadingNumber(text), expected);
        QCOMPARE(roundToInt(expected), rounded);
        if (std::abs(expected) < 1e9)
            QCOMPARE(::roundHalfEven(expected), double(rounded));
        QCOMPARE(roundToInt(std::nan("")), 0);
    }

    void readString_data() {
        const auto row =
            columns<QByteArray, QString, QString, QString>("content", "section", "key", "expected");
        const QString none = "<default>";
        row("blank before key not matched", "[S]\r\n COLOR=abc\r\n", "S", "Color", none);
        row("header followed directly by text", "[S]xyz ; c\r\nK=1\r\n", "S", "K", "1");
        row("longer section name is another section", "[SECTION2]\r\nK=2\r\n", "SECTION", "K", none);
        row("indented header not matched", "  [S]\r\nK=1\r\n", "S", "K", none);
        row("unclosed header not matched", "[S\r\nK=1\r\n", "S", "K", none);
        row("only the first section of a name", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nK=3\r\n", "S", "K", none);
        row("key beginning with ; never matches a comment", "[S]\r\n;K=1\r\n", "S", ";K", none);
        row("longer key is another key", "[S]\r\nKEY2=2\r\nKEY=1\r\n", "S", "KEY", "1");
        row("blank lines inside the section", "[S]\r\n\r\n   \r\nK=1\r\n", "S", "K", "1");
        row("no final line break", "[S]\r\nK=last", "S", "K", "last");
        row("LF and lone CR line ends", "[S]\nA=1\rK=2\r", "S", "K", "2");
        row("non-UTF-8 lines read as Latin-1", "[S]\r\nX=\xFF\xFE\x80\r\nK=Z\xFCrich\r\n", "S", "K",
            "Z\u00FCrich");
        row("UTF-8 key", "[S]\r\n\xC3\x84RGER=1\r\n", "S", "\u00E4rger", "1");
        row("NUL bytes", QByteArray("[S]\r\nA=\0\0\r\nK=v\0w\r\n", 18), "S", "K",
            QString::fromLatin1("v\0w", 3));
    }
    void readString() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        writeBytes(path(), content);
        QTEST(m_ini.ReadProfileString(section, key, "<default>"), "expected");
        QCOMPARE(readBytes(path()), content);
        QVERIFY(m_prompts->prompts().isEmpty());
        QCOMPARE(m_waits, 0);
    }

    void readBlankNamesGiveEmptyText() {
        writeBytes(path(), "[S]\r\nK=1\r\n[ ]\r\n =2\r\n");
        QCOMPARE(m_ini.ReadProfileString("  ", "K", "d"), QString());
        QCOMPARE(m_ini.ReadProfileString("S", " \t", "d"), QString());
        // ReadProfileInt reads that empty text, so a blank name gives 0 rather than the default.
        QCOMPARE(m_ini.ReadProfileInt("S", " ", 5), 0);
        QCOMPARE(m_ini.ReadProfileBol(" ", "K", true), false);
        QVERIFY(m_ini.ReadProfileSection(" ").isEmpty());
    }

    void readIntAndBol_data() {
        // boolean -1: the default
        const auto row = columns<QByteArray, int, int>("line", "integer", "boolean");
        row("0.5 rounds to 0", "K=0.5", 0, 0);
        row("0.6 rounds to 1", "K=0.6", 1, 1);
        row("word", "K=True", 0, 0);
        row("missing key", "OTHER=1", 42, -1);
    }
    void readIntAndBol() {
        QFETCH(QByteArray, line);
        QFETCH(int, boolean);
        writeBytes(path(), "[S]\r\n" + line + "\r\n");
        QTEST(m_ini.ReadProfileInt("S", "K", 42), "integer");
        QCOMPARE(m_ini.ReadProfileBol("S", "K", true), boolean != 0);
        QCOMPARE(m_ini.ReadProfileBol("S", "K", false), boolean == 1);
    }

    void readSection_data() {
        const auto row = columns<QByteArray, QStringList>("content", "expected");
        row("file order, as stored", "[s]\r\nFILE2=b\r\nfile1=A b\r\n[X]\r\nY=1\r\n",
            {"FILE2=b", "file1=A b"});
        row("comments and blank lines skipped", "[S]\r\n; note\r\n\r\n   \r\nA=1\r\n  ;indented\r\nB=2\r\n",
            {"A=1", "B=2"});
        row("lines trimmed of blanks", "[S]\r\n  A = 1  \r\n\tB=2\t\r\n", {"A = 1", "B=2"});
        row("indented header found", "  [S]  \r\nA=1\r\n", {"A=1"});
        row("header with comment", "[S] ; c\r\nA=1\r\n", {"A=1"});
        row("ends at the next section, also indented", "[S]\r\nA=1\r\n  [T]\r\nB=2\r\n", {"A=1"});
        row("only the first section of a name", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n", {"A=1"});
        row("lines without equals are listed", "[S]\r\njust text\r\n", {"just text"});
        row("empty section", "[S]\r\n[T]\r\nA=1\r\n", {});
        row("last section without final line break", "[S]\r\nA=1\r\nB=2", {"A=1", "B=2"});
        row("non-UTF-8 line", "[S]\r\n" + latin1Line + "\r\nB=2\r\n",
            {QString::fromLatin1(latin1Line), "B=2"});
    }
    void readSection() {
        QFETCH(QByteArray, content);
        writeBytes(path(), content);
        QTEST(m_ini.ReadProfileSection("S"), "expected");
    }

    void missingEmptyOrGarbageFile() {
        // A missing file gives the defaults, and nothing that only reads or has nothing to do creates it.
        QCOMPARE(m_ini.ReadProfileString("S", "K", "fallback"), QString("fallback"));
        QCOMPARE(m_ini.ReadProfileInt("S", "K", -7), -7);
        QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
        QVERIFY(m_ini.DeleteProfileSection("S"));
        QVERIFY(m_ini.WriteProfileString("  ", "K", "v"));
        QCOMPARE(entries(), QStringList());
        writeBytes(path(), {});
        QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
        QVERIFY(m_ini.DeleteProfileSection(""));
        QCOMPARE(readBytes(path()), QByteArray());
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += char((i * 7919 + 13) % 256);
        writeBytes(path(), garbage);
        QCOMPARE(m_ini.ReadProfileInt("S", "K", 3), 3);
        QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
        writeBytes(path(), garbage + "\r\n[S]\r\nK=found\r\n" + garbage);
        QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("found"));
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void write_data() {
        const auto row = columns<QByteArray, QString, QString, QString, QByteArray>("before", "section",
                                                                                    "key", "value", "after");
        row("replaces only the first match of the first section, key upper-cased",
            "[s]\r\nkey=old\r\nkey=old2\r\n[T]\r\n[S]\r\nkey=old3\r\n", "S", "Key", "New",
            "[s]\r\nKEY=New\r\nkey=old2\r\n[T]\r\n[S]\r\nkey=old3\r\n");
        row("new key at the end of its section", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n", "A", "Z", "3",
            "[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n");
        row("new key after blank lines that close the section", "[A]\r\nX=1\r\n\r\n[B]\r\n", "A", "Y", "2",
            "[A]\r\nX=1\r\n\r\nY=2\r\n[B]\r\n");
        row("new section at the end of the file", "[A]\r\nX=1\r\n", "b", "y", "2",
            "[A]\r\nX=1\r\n[B]\r\nY=2\r\n");
        row("existing empty file", "", "RECENT", "FILE1", "x", "[RECENT]\r\nFILE1=x\r\n");
        row("no final line break", "[A]\r\nX=1", "A", "Y", "2", "[A]\r\nX=1\r\nY=2\r\n");
        row("LF and CR line ends become CR LF", "[A]\nX=1\rW=0\n", "A", "X", "2", "[A]\r\nX=2\r\nW=0\r\n");
        row("value stored exactly", "[A]\r\n", "A", "K", "  Mixed = Case  ", "[A]\r\nK=  Mixed = Case  \r\n");
        row("empty value", "[A]\r\nK=1\r\n", "A", "K", "", "[A]\r\nK=\r\n");
        row("comments kept, never replaced", "[A]\r\n;X=1\r\n; note\r\n", "A", "X", "2",
            "[A]\r\n;X=1\r\n; note\r\nX=2\r\n");
        row("line with blanks around equals is another key", "[A]\r\nCOLOR = abc\r\n", "A", "Color", "x",
            "[A]\r\nCOLOR = abc\r\nCOLOR=x\r\n");
        row("keys before the first section untouched", "X=0\r\n[A]\r\n", "A", "X", "1",
            "X=0\r\n[A]\r\nX=1\r\n");
        row("UTF-8 value written as UTF-8", "[A]\r\n", "A", "City", "Z\u00FCrich \u20AC",
            "[A]\r\nCITY=Z\xC3\xBCrich \xE2\x82\xAC\r\n");
        row("non-UTF-8 lines kept byte for byte",
            "[A]\r\n" + latin1Line + "\r\n\xFF\xFE\x80\r\n[B]\r\nK=1\r\n", "B", "K", "2",
            "[A]\r\n" + latin1Line + "\r\n\xFF\xFE\x80\r\n[B]\r\nK=2\r\n");
        row("byte order mark kept", "\xEF\xBB\xBF[A]\r\nK=1\r\n", "A", "K", "2",
            "\xEF\xBB\xBF[A]\r\nK=2\r\n");
        row("garbage kept, section appended", QByteArray("\x01\x02\xFF garbage\x00\x7F", 13), "S", "K", "1",
            QByteArray("\x01\x02\xFF garbage\x00\x7F\r\n[S]\r\nK=1\r\n", 25));
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        writeBytes(path(), before);
        QVERIFY(m_ini.WriteProfileString(section, key, value));
        QTEST(readBytes(path()), "after");
        QCOMPARE(m_ini.ReadProfileString(section, key, "<default>"), value);
        QVERIFY(m_prompts->prompts().isEmpty());
        QCOMPARE(m_waits, 0);
    }

    void writeCreatesFileWithEmptyFirstLine() {
        QVERIFY(m_ini.WriteProfileString("Recent", "File1", "/home/u/Plan A.qtf"));
        QVERIFY(m_ini.WriteProfileInt("Numbers", "Days", -30));
        QVERIFY(m_ini.WriteProfileBol("Confirmations", "Quit", true));
        QVERIFY(m_ini.WriteProfileBol("Confirmations", "Undo", false));
        QCOMPARE(readBytes(path()),
                 QByteArray("\r\n[RECENT]\r\nFILE1=/home/u/Plan A.qtf\r\n[NUMBERS]\r\nDAYS=-30\r\n"
                            "[CONFIRMATIONS]\r\nQUIT=1\r\nUNDO=0\r\n"));
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void writeRefusesLineBreaksAndCommentKeys() {
        writeBytes(path(), "[A]\r\nK=1\r\n");
        QVERIFY(!m_ini.WriteProfileString("A", "K", "x\r\n[EVIL]\r\nY=1"));
        QVERIFY(!m_ini.WriteProfileString("A", "K", "x\ny"));
        QVERIFY(!m_ini.WriteProfileString("A\n", "K", "x"));
        QCOMPARE(readBytes(path()), QByteArray("[A]\r\nK=1\r\n"));
        writeBytes(path(), "[A]\r\n;K=1\r\nK=1\r\n");
        QVERIFY(!m_ini.WriteProfileString("A", ";K", "2"));
        QCOMPARE(readBytes(path()), QByteArray("[A]\r\n;K=1\r\nK=1\r\n"));
    }

    void rewriteLeavesNoTemporaryFilesAndKeepsPermissions() {
        writeBytes(path(), "[A]\r\n");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path(), permissions));
        for (int i = 0; i < 20; ++i)
            QVERIFY(m_ini.WriteProfileInt("S", "K" + QString::number(i % 5), i));
        QVERIFY(m_ini.DeleteProfileSection("S"));
        QCOMPARE(entries(), (QStringList{"QUNTA.INI", "QUNTA.INI.lock"}));
        QCOMPARE(QFileInfo(path()).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                 permissions);
    }

    void deleteSection_data() {
        const auto row = columns<QByteArray, QByteArray>("before", "after");
        row("both occurrences, headers included",
            "[S]\r\nA=1\r\n[T]\r\nB=2\r\n[s] again\r\nC=3\r\n[U]\r\nD=4\r\n", "[T]\r\nB=2\r\n[U]\r\nD=4\r\n");
        row("last section, comments and blanks inside go too", "\r\n[T]\r\nB=2\r\n[S]\r\n; c\r\n\r\nA=1",
            "\r\n[T]\r\nB=2\r\n");
        row("absent section keeps every line", "[T]\r\n" + latin1Line + "\nB=2",
            "[T]\r\n" + latin1Line + "\r\nB=2\r\n");
        row("indented header is not the section", " [S]\r\nA=1\r\n", " [S]\r\nA=1\r\n");
        row("longer name is another section", "[S2]\r\nA=1\r\n[S]\r\nB=2\r\n", "[S2]\r\nA=1\r\n");
    }
    void deleteSection() {
        QFETCH(QByteArray, before);
        writeBytes(path(), before);
        QVERIFY(m_ini.DeleteProfileSection("S"));
        QTEST(readBytes(path()), "after");
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    // Readers go on with what there is to read; writers (and deleters of a profile that is there) refuse
    // and report it, without waiting, and nothing in the folder changes.
    void unusableProfile_data() {
        const auto row = columns<bool, bool>("readable", "deleteRefused"); // the setup is the row's name
        row("missing folder", false, false);
        row("profile is a folder", false, false);
        row("no file name", false, false);
        row("profile is a FIFO", false, true);
        row("read-only profile", true, true);
        row("lock file cannot be made", true, true);
    }
    void unusableProfile() {
        QFETCH(bool, readable);
        QFETCH(bool, deleteRefused);
        const QByteArray setup = QTest::currentDataTag();
        if (setup == "missing folder")
            m_ini.setFilename(m_dir->filePath("no/such/folder/QUNTA.INI"));
        else if (setup == "no file name")
            m_ini.setFilename({});
        else if (setup == "profile is a folder")
            QVERIFY(QDir(m_dir->path()).mkdir("QUNTA.INI"));
        else if (setup == "profile is a FIFO")
            QCOMPARE(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
        else
            writeBytes(path(), "[S]\r\nK=1\r\n");
        if (setup == "read-only profile")
            QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup));
        if (setup == "lock file cannot be made")
            QVERIFY(QFile::link(m_dir->filePath("missing/folder/x"), m_ini.lockFilename()));
        const QString file = m_ini.filename();
        const QString previous = QDir::currentPath(); // where a profile without a name might end up
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(m_dir->path()));
        const auto state = [&] {
            const QFileInfo info(file);
            QStringList names = entries();
            names.removeOne("QUNTA.INI.lock");
            return std::tuple(names, info.isDir(), info.isFile(),
                              info.isFile() ? readBytes(file) : QByteArray());
        };
        const auto before = state();
        QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString(readable ? "1" : "d"));
        QCOMPARE(m_ini.ReadProfileSection("S"), readable ? QStringList{"K=1"} : QStringList());
        QVERIFY(m_prompts->prompts().isEmpty());
        QVERIFY(!m_ini.WriteProfileString("S", "K", "v"));
        QCOMPARE(m_ini.DeleteProfileSection("S"), !deleteRefused);
        QCOMPARE(m_prompts->texts(), QStringList(deleteRefused ? 2 : 1, "Error recreating file: " + file));
        QCOMPARE(m_prompts->prompts().at(0).flags, 0);
        if (deleteRefused)
            QCOMPARE(m_prompts->prompts().at(1).flags, MessageFlags::Critical);
        QVERIFY(state() == before);
        QCOMPARE(m_waits, 0);
    }

    void unreadableProfileTimesOut() {
        if (::geteuid() == 0)
            QSKIP("root reads a file without read permission");
        writeBytes(path(), "[S]\r\nK=1\r\n");
        QVERIFY(QFile::setPermissions(path(), QFile::WriteOwner));
        QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
        QCOMPARE(m_waits, clsIniFile::openAttempts - 1);
        QCOMPARE(m_prompts->texts(), QStringList{"Timeout accessing file: " + path()});
    }

    void writerWaitsForTheHolder_data() {
        const auto row = columns<bool>("exclusive");
        row("exclusive holder, writer", true);
        row("shared holder, deleter", false);
    }
    void writerWaitsForTheHolder() {
        QFETCH(bool, exclusive);
        writeBytes(path(), "[S]\r\nK=1\r\n");
        LockHolder holder;
        if (!holder.start(m_ini.lockFilename(), exclusive))
            QSKIP(qPrintable(noLock));
        if (!exclusive) { // readers share the file with another reader
            QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("1"));
            QCOMPARE(m_ini.ReadProfileSection("S"), QStringList{"K=1"});
            QCOMPARE(m_waits, 0);
        }
        // The other process gives the file up after our third wait; until then every attempt must fail.
        m_ini.setWaitFunction([&](int ms) {
            ++m_waits;
            QVERIFY(lockedByOther(m_ini.lockFilename()));
            if (m_waits == 3) {
                holder.release();
                QVERIFY(holder.finished());
            }
            QThread::msleep(ms / 10);
        });
        QVERIFY(exclusive ? m_ini.WriteProfileString("S", "K", "2") : m_ini.DeleteProfileSection("S"));
        QCOMPARE(m_waits, 3);
        QCOMPARE(readBytes(path()), exclusive ? QByteArray("[S]\r\nK=2\r\n") : QByteArray());
        QVERIFY(m_prompts->prompts().isEmpty());
        QVERIFY(!lockedByOther(m_ini.lockFilename()));
    }

    void readerWaitsWithTheRealSleep() {
        writeBytes(path(), "[S]\r\nK=1\r\n");
        LockHolder holder;
        if (!holder.start(m_ini.lockFilename(), true, {"sleep", "1"}))
            QSKIP(qPrintable(noLock));
        clsIniFile ini; // the default wait: the thread sleeps 200 ms between attempts
        ini.setFilename(path());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ini.ReadProfileString("S", "K", "d"), QString("1"));
        QVERIFY2(timer.elapsed() >= 200, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(holder.finished());
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void timeoutWhenTheLockIsNeverFree() {
        const QByteArray content = "[S]\r\nK=1\r\n";
        writeBytes(path(), content);
        LockHolder holder;
        if (!holder.start(m_ini.lockFilename(), true))
            QSKIP(qPrintable(noLock));
        const QString timeout = "Timeout accessing file: " + path();
        QVERIFY(!m_ini.WriteProfileString("S", "K", "2"));
        QCOMPARE(m_waits, clsIniFile::openAttempts - 1);
        QCOMPARE(m_prompts->texts(), QStringList{timeout});
        QCOMPARE(m_prompts->prompts().at(0).flags, MessageFlags::Critical);
        m_prompts->clear();
        QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
        QCOMPARE(m_ini.ReadProfileInt("S", "K", 9), 9);
        QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
        QVERIFY(m_ini.DeleteProfileSection("S")); // a delete that times out still answers True
        QCOMPARE(m_prompts->texts(), QStringList(4, timeout));
        QCOMPARE(readBytes(path()), content);
        holder.release();
        QVERIFY(holder.finished());
        m_prompts->clear();
        QVERIFY(m_ini.WriteProfileString("S", "K", "2"));
        QCOMPARE(readBytes(path()), QByteArray("[S]\r\nK=2\r\n"));
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void optionsRead_data() {
        const auto row = columns<QByteArray, QString>("profile", "options");
        row("no profile", "<missing>", "11101");
        row("names in any case",
            QByteArray(
                "[Confirmations]\r\nundo=0\r\nDELETEDATA=0\r\nQuit=1\r\n[GENERAL]\r\nUseMostRecent=1\r\n"
                "SaveAuto=0\r\n"),
            "00110");
    }
    void optionsRead() {
        QFETCH(QByteArray, profile);
        if (profile != "<missing>")
            writeBytes(path(), profile);
        QTEST(optionsOf(clsGeneralOptions(m_ini)), "options");
        QCOMPARE(readBytes(path()), profile); // reading creates and changes nothing
    }

    void optionChangeIsWrittenAtOnce() {
        clsGeneralOptions options(m_ini);
        options.setConfirmUndo(false);
        QCOMPARE(readBytes(path()), QByteArray("\r\n[CONFIRMATIONS]\r\nUNDO=0\r\n"));
        options.setUseMostRecent(true);
        options.setConfirmDelete(false);
        options.setConfirmQuit(false);
        options.setSaveAuto(false);
        options.setConfirmUndo(true);
        QCOMPARE(readBytes(path()), QByteArray("\r\n[CONFIRMATIONS]\r\nUNDO=1\r\nDELETEDATA=0\r\nQUIT=0\r\n"
                                               "[GENERAL]\r\nUSEMOSTRECENT=1\r\nSAVEAUTO=0\r\n"));
        // Another instance started now sees every change.
        QCOMPARE(optionsOf(clsGeneralOptions(m_ini)), QString("10010"));
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void optionSetToCurrentValueDoesNotTouchTheFile() {
        const auto setUnchanged = [](clsGeneralOptions& options) {
            options.setConfirmUndo(true);
            options.setConfirmDelete(true);
            options.setConfirmQuit(true);
            options.setUseMostRecent(false);
            options.setSaveAuto(false);
        };
        clsGeneralOptions fresh(m_ini);
        setUnchanged(fresh);
        // The defaults but SaveAuto: only that one was written. Any rewrite turns LF line ends into CR LF.
        QCOMPARE(readBytes(path()), QByteArray("\r\n[GENERAL]\r\nSAVEAUTO=0\r\n"));
        const QByteArray handMade = "; hand-made\n[GENERAL]\nSaveAuto=0\n";
        writeBytes(path(), handMade);
        clsGeneralOptions options(m_ini);
        setUnchanged(options);
        QCOMPARE(readBytes(path()), handMade);
        options.setSaveAuto(true); // a real change does rewrite it
        QCOMPARE(readBytes(path()), QByteArray("; hand-made\r\n[GENERAL]\r\nSAVEAUTO=1\r\n"));
    }

    void optionWriteFailureKeepsTheValueInMemory() {
        const QString inMissing = m_dir->filePath("gone/QUNTA.INI");
        m_ini.setFilename(inMissing);
        clsGeneralOptions options(m_ini);
        options.setConfirmQuit(false);
        QVERIFY(!options.ConfirmQuit());
        QCOMPARE(m_prompts->texts(), QStringList{"Error recreating file: " + inMissing});
        options.setConfirmQuit(false); // unchanged now: no second attempt
        QCOMPARE(m_prompts->prompts().size(), 1);
    }

    // Writers in several processes, each rewriting the whole file for every key, and readers beside
    // them: without one exclusive hold over the read and the rewrite the writers would overwrite each
    // other's keys, and without the rename a reader could see a half-written file. Under heavy
    // contention a writer or reader may give up after its ten seconds of waiting, and says so; nothing
    // may fail silently, and every write that reported success must be in the file.
    // QUNTA_PROFILE_PROCESSES and QUNTA_PROFILE_KEYS make the run longer.
    void severalProcessesLoseNothing() {
        // Readers pause between reads as planners do; everybody waits for the lock as the planner does.
        const int processes = std::max(qEnvironmentVariableIntValue("QUNTA_PROFILE_PROCESSES"), 4);
        const int keysEach = std::max(qEnvironmentVariableIntValue("QUNTA_PROFILE_KEYS"), 40);
        QVERIFY(m_ini.WriteProfileString("FIXED", "SENTINEL", "here"));
        const QString stop = m_dir->filePath("stop");
        const QString failedKeys = m_dir->filePath("failed-%1");
        const auto key = [](int p, int k) { return QString("P%1K%2").arg(p).arg(k); };
        // A child's exit code: how many of its failures went unreported.
        const auto spawn = [&](int child, const std::function<int(clsIniFile&, QStringList&)>& work) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                auto* shown = new ScriptedPrompts; // records the child's own messages
                clsIniFile ini;
                ini.setFilename(path());
                QStringList failed;
                const int failures = work(ini, failed);
                writeBytes(failedKeys.arg(child), failed.join('\n').toUtf8());
                ::_exit(std::min(std::abs(failures - int(shown->prompts().size())), 255));
            }
            return pid;
        };
        std::vector<pid_t> readers;
        std::vector<pid_t> writers;
        for (int r = 0; r < 2; ++r) {
            readers.push_back(spawn(processes + r, [&](clsIniFile& ini, QStringList&) {
                int missing = 0;
                for (; !QFile::exists(stop); QThread::msleep(2))
                    missing += ini.ReadProfileString("FIXED", "SENTINEL", "") == "here" ? 0 : 1;
                return missing;
            }));
        }
        for (int p = 0; p < processes; ++p) {
            writers.push_back(spawn(p, [&, p](clsIniFile& ini, QStringList& failed) {
                for (int k = 0; k < keysEach; ++k) {
                    if (!ini.WriteProfileInt("S", key(p, k), k))
                        failed << key(p, k);
                }
                return int(failed.size());
            }));
        }
        std::vector<int> codes;
        const auto collect = [&](const std::vector<pid_t>& pids) {
            for (const pid_t pid : pids) {
                int status = 0;
                codes.push_back(::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status)
                                                                                       : -1);
            }
        };
        collect(writers);
        writeBytes(stop, {});
        collect(readers);
        QCOMPARE(codes, std::vector<int>(codes.size(), 0));
        int refused = 0;
        for (int p = 0; p < processes; ++p) {
            const QStringList failed = QString::fromUtf8(readBytes(failedKeys.arg(p))).split('\n');
            for (int k = 0; k < keysEach; ++k) {
                if (failed.contains(key(p, k)))
                    ++refused;
                else
                    QCOMPARE(m_ini.ReadProfileInt("S", key(p, k), -1), k);
            }
        }
        qInfo("%d writes from %d processes beside 2 readers: %d given up after the wait and reported, 0 lost",
              processes * keysEach, processes, refused);
    }
};

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
