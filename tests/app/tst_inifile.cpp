#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/clsIniFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
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
QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// True while some other open file description holds a lock on the file that excludes ours.
bool lockedByOther(const QString& path, bool exclusiveProbe = true)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy =
        ::flock(fd, (exclusiveProbe ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return busy;
}

bool waitUntilLocked(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        if (lockedByOther(path))
            return true;
        QThread::msleep(10);
    }
    return false;
}

// A second process that holds the lock file with flock(1) until its standard input is closed.
class LockHolder {
public:
    bool start(const QString& lockPath, bool exclusive)
    {
        const QString flock = QStandardPaths::findExecutable("flock");
        if (flock.isEmpty())
            return false;
        m_process.start(flock, {exclusive ? "-x" : "-s", lockPath, "cat"});
        return m_process.waitForStarted(5000) && waitUntilLocked(lockPath);
    }
    void release() { m_process.closeWriteChannel(); }
    bool finished() { return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(5000); }
    ~LockHolder()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.closeWriteChannel();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(5000);
            }
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

const QByteArray latin1Line = "N=Z\xFCrich"; // not UTF-8
} // namespace

class tst_IniFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void leadingNumber_data();
    void leadingNumber();
    void roundHalfEven_data();
    void roundHalfEven();

    void readString_data();
    void readString();
    void readBlankNamesGiveEmptyText();
    void readMissingFileGivesDefaultsAndCreatesNothing();
    void readEmptyAndGarbageFiles();
    void readInt_data();
    void readInt();
    void readBol_data();
    void readBol();
    void readSection_data();
    void readSection();

    void writeCreatesMissingFileWithEmptyFirstLine();
    void writeToExistingEmptyFile();
    void write_data();
    void write();
    void writeIntAndBolRoundTrip();
    void writeBlankSectionTouchesNothing();
    void writeRefusesLineBreaks();
    void writeLeavesNoTemporaryFiles();
    void writeKeepsPermissions();

    void deleteSection_data();
    void deleteSection();
    void deleteBlankOrMissing();

    void missingFolder();
    void noFilenameCreatesNothing();
    void profileIsADirectory();
    void readOnlyProfileIsNotReplaced();
    void unreadableProfileTimesOut();
    void lockFileCannotBeMade();

    void writerWaitsForExclusiveHolderThenWrites();
    void writerWaitsForSharedHolderButReaderDoesNot();
    void readerWaitsWithTheRealSleep();
    void timeoutWhenTheLockIsNeverFree();
    void twoProcessesWritingLoseNothing();

private:
    QString path() const { return m_dir->filePath("QUNTA.INI"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    clsIniFile m_ini;
    int m_waits = 0;
};

void tst_IniFile::init()
{
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

void tst_IniFile::cleanup()
{
    m_prompts.reset();
    if (m_dir) {
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    m_dir.reset();
}

// --- shared numeric helpers ---------------------------------------------------------------------

void tst_IniFile::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("found");
    QTest::newRow("integer") << "42" << 42.0 << true;
    QTest::newRow("fraction") << "12.5" << 12.5 << true;
    QTest::newRow("trailing text") << "7x" << 7.0 << true;
    QTest::newRow("trailing words") << "30 days" << 30.0 << true;
    QTest::newRow("leading blanks and tab") << " \t 8" << 8.0 << true;
    QTest::newRow("minus") << "-2.5" << -2.5 << true;
    QTest::newRow("plus") << "+3" << 3.0 << true;
    QTest::newRow("point first") << ".5" << 0.5 << true;
    QTest::newRow("point last") << "5." << 5.0 << true;
    QTest::newRow("second point") << "1.2.3" << 1.2 << true;
    QTest::newRow("exponent") << "1e3" << 1000.0 << true;
    QTest::newRow("negative exponent") << "25E-1x" << 2.5 << true;
    QTest::newRow("incomplete exponent") << "4e" << 4.0 << true;
    QTest::newRow("incomplete signed exponent") << "4e+x" << 4.0 << true;
    QTest::newRow("overflowing exponent") << "1.5e400" << qInf() << true;
    QTest::newRow("overflowing negative") << "-2e999x" << -qInf() << true;
    QTest::newRow("underflowing exponent") << "3e-400" << 0.0 << true;
    QTest::newRow("point and exponent") << "5.e2" << 500.0 << true;
    QTest::newRow("comma is no separator") << "1,5" << 1.0 << true;
    QTest::newRow("empty") << "" << 0.0 << false;
    QTest::newRow("blanks only") << "   " << 0.0 << false;
    QTest::newRow("word") << "abc" << 0.0 << false;
    QTest::newRow("sign only") << "-" << 0.0 << false;
    QTest::newRow("point only") << "." << 0.0 << false;
    QTest::newRow("sign and point") << "-.x" << 0.0 << false;
    QTest::newRow("blank after sign") << "- 5" << 0.0 << false;
    QTest::newRow("letter first") << "x7" << 0.0 << false;
    QTest::newRow("arabic-indic digits are no digits") << QString::fromUtf8("\u0663") << 0.0 << false;
}

void tst_IniFile::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QFETCH(bool, found);
    bool wasFound = !found;
    QCOMPARE(::leadingNumber(text, &wasFound), expected);
    QCOMPARE(wasFound, found);
    QCOMPARE(::leadingNumber(text), expected);
}

void tst_IniFile::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.5") << 12.5 << 12;
    QTest::newRow("13.5") << 13.5 << 14;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("huge") << 1e300 << INT_MAX;
    QTest::newRow("huge negative") << -1e300 << INT_MIN;
    QTest::newRow("nan") << std::nan("") << 0;
}

void tst_IniFile::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundToInt(value), expected);
    if (std::abs(value) < 1e9)
        QCOMPARE(::roundHalfEven(value), double(expected));
}

// --- reading --------------------------------------------------------------------------------------

void tst_IniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString none = "<default>";

    QTest::newRow("plain") << QByteArray("[RECENT]\r\nFILE1=/home/a/b.qtf\r\n") << "RECENT"
                           << "FILE1"
                           << "/home/a/b.qtf";
    QTest::newRow("names in any case, value case kept")
        << QByteArray("[recent]\r\nfile1=Mixed Case\r\n") << "Recent"
        << "File1"
        << "Mixed Case";
    QTest::newRow("Color finds COLOR") << QByteArray("[S]\r\nCOLOR=abc\r\n") << "S"
                                       << "Color"
                                       << "abc";
    QTest::newRow("blanks around equals not matched") << QByteArray("[S]\r\nCOLOR = abc\r\n") << "S"
                                                      << "Color" << none;
    QTest::newRow("blank before equals not matched") << QByteArray("[S]\r\nCOLOR =abc\r\n") << "S"
                                                     << "Color" << none;
    QTest::newRow("blank before key not matched") << QByteArray("[S]\r\n COLOR=abc\r\n") << "S"
                                                  << "Color" << none;
    QTest::newRow("value with equals returned whole") << QByteArray("[S]\r\nK=a=b==c\r\n") << "S"
                                                      << "K"
                                                      << "a=b==c";
    QTest::newRow("value blanks kept") << QByteArray("[S]\r\nK=  a b  \r\n") << "S"
                                       << "K"
                                       << "  a b  ";
    QTest::newRow("empty value is not the default") << QByteArray("[S]\r\nK=\r\n") << "S"
                                                    << "K"
                                                    << "";
    QTest::newRow("header followed by a comment") << QByteArray("[S] ; the main section\r\nK=1\r\n") << "S"
                                                  << "K"
                                                  << "1";
    QTest::newRow("header followed directly by text") << QByteArray("[S]xyz\r\nK=1\r\n") << "S"
                                                      << "K"
                                                      << "1";
    QTest::newRow("longer section name is another section")
        << QByteArray("[SECTION2]\r\nK=2\r\n") << "SECTION"
        << "K" << none;
    QTest::newRow("indented header not matched") << QByteArray("  [S]\r\nK=1\r\n") << "S"
                                                 << "K" << none;
    QTest::newRow("unclosed header not matched") << QByteArray("[S\r\nK=1\r\n") << "S"
                                                 << "K" << none;
    QTest::newRow("key before any section not matched") << QByteArray("K=0\r\n[S]\r\nK=1\r\n") << "S"
                                                        << "K"
                                                        << "1";
    QTest::newRow("key of another section not matched") << QByteArray("[S]\r\nA=1\r\n[T]\r\nK=2\r\n") << "S"
                                                        << "K" << none;
    QTest::newRow("only the first section of a name")
        << QByteArray("[S]\r\nA=1\r\n[T]\r\n[S]\r\nK=3\r\n") << "S"
        << "K" << none;
    QTest::newRow("first matching line wins") << QByteArray("[S]\r\nK=1\r\nK=2\r\n") << "S"
                                              << "K"
                                              << "1";
    QTest::newRow("longer key is another key") << QByteArray("[S]\r\nKEY2=2\r\nKEY=1\r\n") << "S"
                                               << "KEY"
                                               << "1";
    QTest::newRow("comment line never matches") << QByteArray("[S]\r\n;K=1\r\nK=2\r\n") << "S"
                                                << "K"
                                                << "2";
    QTest::newRow("blank lines inside the section") << QByteArray("[S]\r\n\r\n   \r\nK=1\r\n") << "S"
                                                    << "K"
                                                    << "1";
    QTest::newRow("missing section") << QByteArray("[T]\r\nK=1\r\n") << "S"
                                     << "K" << none;
    QTest::newRow("no final line break") << QByteArray("[S]\r\nK=last") << "S"
                                         << "K"
                                         << "last";
    QTest::newRow("LF line ends") << QByteArray("[S]\nA=1\nK=2\n") << "S"
                                  << "K"
                                  << "2";
    QTest::newRow("lone CR line ends") << QByteArray("[S]\rK=2\r") << "S"
                                       << "K"
                                       << "2";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\r\nK=1\r\n") << "S"
                                     << "K"
                                     << "1";
    QTest::newRow("UTF-8 value") << QByteArray("[S]\r\nK=Z\xC3\xBCrich \xE2\x82\xAC\r\n") << "S"
                                 << "K" << QString::fromUtf8("Z\u00FCrich \u20AC");
    QTest::newRow("non-UTF-8 value read as Latin-1") << QByteArray("[S]\r\nK=Z\xFCrich\r\n") << "S"
                                                     << "K" << QString::fromUtf8("Z\u00FCrich");
    QTest::newRow("non-UTF-8 line does not hide the next one")
        << QByteArray("[S]\r\nX=\xFF\xFE\x80\r\nK=ok\r\n") << "S"
        << "K"
        << "ok";
    QTest::newRow("UTF-8 key") << QByteArray("[S]\r\n\xC3\x84RGER=1\r\n") << "S"
                               << QString::fromUtf8("\u00E4rger") << "1";
    QTest::newRow("NUL bytes") << QByteArray("[S]\r\nA=\0\0\r\nK=v\0w\r\n", 18) << "S"
                               << "K" << QString::fromLatin1("v\0w", 3);
}

void tst_IniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(path(), content);
    QCOMPARE(m_ini.ReadProfileString(section, key, "<default>"), expected);
    QCOMPARE(readBytes(path()), content);
    QVERIFY(m_prompts->prompts().isEmpty());
    QCOMPARE(m_waits, 0);
}

void tst_IniFile::readBlankNamesGiveEmptyText()
{
    writeBytes(path(), "[S]\r\nK=1\r\n[ ]\r\n =2\r\n");
    QCOMPARE(m_ini.ReadProfileString("", "K", "d"), QString());
    QCOMPARE(m_ini.ReadProfileString("  ", "K", "d"), QString());
    QCOMPARE(m_ini.ReadProfileString("S", "", "d"), QString());
    QCOMPARE(m_ini.ReadProfileString("S", " \t", "d"), QString());
    // ReadProfileInt reads that empty text, so a blank name gives 0 rather than the default.
    QCOMPARE(m_ini.ReadProfileInt("S", " ", 5), 0);
    QCOMPARE(m_ini.ReadProfileBol(" ", "K", true), false);
    QVERIFY(m_ini.ReadProfileSection(" ").isEmpty());
}

void tst_IniFile::readMissingFileGivesDefaultsAndCreatesNothing()
{
    QCOMPARE(m_ini.ReadProfileString("S", "K", "fallback"), QString("fallback"));
    QCOMPARE(m_ini.ReadProfileInt("S", "K", -7), -7);
    QCOMPARE(m_ini.ReadProfileBol("S", "K", true), true);
    QCOMPARE(m_ini.ReadProfileBol("S", "K", false), false);
    QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
    QVERIFY(!QFile::exists(path()));
    QVERIFY(!QFile::exists(m_ini.lockFilename()));
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::readEmptyAndGarbageFiles()
{
    writeBytes(path(), {});
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QVERIFY(m_ini.ReadProfileSection("S").isEmpty());

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    writeBytes(path(), garbage);
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QCOMPARE(m_ini.ReadProfileInt("S", "K", 3), 3);
    QVERIFY(m_ini.ReadProfileSection("S").isEmpty());

    // A garbage file with a real section inside still yields it.
    writeBytes(path(), garbage + "\r\n[S]\r\nK=found\r\n" + garbage);
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("found"));
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::readInt_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.5 rounds down to even") << QByteArray("K=12.5") << 12;
    QTest::newRow("13.5 rounds up to even") << QByteArray("K=13.5") << 14;
    QTest::newRow("7x") << QByteArray("K=7x") << 7;
    QTest::newRow("empty value") << QByteArray("K=") << 0;
    QTest::newRow("no number") << QByteArray("K=abc") << 0;
    QTest::newRow("leading blanks") << QByteArray("K=  8") << 8;
    QTest::newRow("negative") << QByteArray("K=-2.5") << -2;
    QTest::newRow("negative integer") << QByteArray("K=-40") << -40;
    QTest::newRow("too big is clamped") << QByteArray("K=99999999999") << INT_MAX;
    QTest::newRow("too small is clamped") << QByteArray("K=-99999999999") << INT_MIN;
    QTest::newRow("missing key gives default") << QByteArray("OTHER=1") << 42;
}

void tst_IniFile::readInt()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    writeBytes(path(), "[S]\r\n" + line + "\r\n");
    QCOMPARE(m_ini.ReadProfileInt("S", "K", 42), expected);
}

void tst_IniFile::readBol_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QByteArray("K=1") << false << true;
    QTest::newRow("0") << QByteArray("K=0") << true << false;
    QTest::newRow("-1 is true") << QByteArray("K=-1") << false << true;
    QTest::newRow("2 is true") << QByteArray("K=2") << false << true;
    QTest::newRow("0.4 rounds to 0") << QByteArray("K=0.4") << true << false;
    QTest::newRow("0.5 rounds to 0") << QByteArray("K=0.5") << true << false;
    QTest::newRow("0.6 rounds to 1") << QByteArray("K=0.6") << false << true;
    QTest::newRow("word is false") << QByteArray("K=True") << true << false;
    QTest::newRow("empty is false") << QByteArray("K=") << true << false;
    QTest::newRow("missing gives default true") << QByteArray("X=0") << true << true;
    QTest::newRow("missing gives default false") << QByteArray("X=1") << false << false;
}

void tst_IniFile::readBol()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    writeBytes(path(), "[S]\r\n" + line + "\r\n");
    QCOMPARE(m_ini.ReadProfileBol("S", "K", defaultValue), expected);
}

void tst_IniFile::readSection_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("file order, as stored") << QByteArray("[RECENT]\r\nFILE2=b\r\nfile1=A b\r\n[X]\r\nY=1\r\n")
                                           << "recent" << QStringList{"FILE2=b", "file1=A b"};
    QTest::newRow("comments and blank lines skipped")
        << QByteArray("[S]\r\n; note\r\n\r\n   \r\nA=1\r\n  ;indented note\r\nB=2\r\n") << "S"
        << QStringList{"A=1", "B=2"};
    QTest::newRow("lines trimmed of blanks")
        << QByteArray("[S]\r\n  A = 1  \r\n\tB=2\t\r\n") << "S" << QStringList{"A = 1", "B=2"};
    QTest::newRow("indented header found") << QByteArray("  [S]  \r\nA=1\r\n") << "S" << QStringList{"A=1"};
    QTest::newRow("header with comment") << QByteArray("[S] ; c\r\nA=1\r\n") << "S" << QStringList{"A=1"};
    QTest::newRow("ends at the next section, also indented")
        << QByteArray("[S]\r\nA=1\r\n  [T]\r\nB=2\r\n") << "S" << QStringList{"A=1"};
    QTest::newRow("only the first section of a name")
        << QByteArray("[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n") << "S" << QStringList{"A=1"};
    QTest::newRow("lines without equals are listed")
        << QByteArray("[S]\r\njust text\r\n") << "S" << QStringList{"just text"};
    QTest::newRow("empty section") << QByteArray("[S]\r\n[T]\r\nA=1\r\n") << "S" << QStringList{};
    QTest::newRow("absent section") << QByteArray("[T]\r\nA=1\r\n") << "S" << QStringList{};
    QTest::newRow("last section without final line break")
        << QByteArray("[S]\r\nA=1\r\nB=2") << "S" << QStringList{"A=1", "B=2"};
    QTest::newRow("non-UTF-8 line") << QByteArray("[S]\r\n" + latin1Line + "\r\nB=2\r\n") << "S"
                                    << QStringList{QString::fromLatin1(latin1Line), "B=2"};
}

void tst_IniFile::readSection()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QStringList, expected);
    writeBytes(path(), content);
    QCOMPARE(m_ini.ReadProfileSection(section), expected);
}

// --- writing --------------------------------------------------------------------------------------

void tst_IniFile::writeCreatesMissingFileWithEmptyFirstLine()
{
    QVERIFY(m_ini.WriteProfileString("Recent", "File1", "/home/u/Plan A.qtf"));
    QCOMPARE(readBytes(path()), QByteArray("\r\n[RECENT]\r\nFILE1=/home/u/Plan A.qtf\r\n"));
    QCOMPARE(m_ini.ReadProfileString("RECENT", "file1", {}), QString("/home/u/Plan A.qtf"));
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::writeToExistingEmptyFile()
{
    writeBytes(path(), {});
    QVERIFY(m_ini.WriteProfileString("RECENT", "FILE1", "x"));
    QCOMPARE(readBytes(path()), QByteArray("[RECENT]\r\nFILE1=x\r\n"));
}

void tst_IniFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replaces only the first match of the first section, key upper-cased")
        << QByteArray("[s]\r\nkey=old\r\nkey=old2\r\n[T]\r\n[S]\r\nkey=old3\r\n") << "S"
        << "Key"
        << "New" << QByteArray("[s]\r\nKEY=New\r\nkey=old2\r\n[T]\r\n[S]\r\nkey=old3\r\n");
    QTest::newRow("new key at the end of its section")
        << QByteArray("[A]\r\nX=1\r\n[B]\r\nY=2\r\n") << "A"
        << "Z"
        << "3" << QByteArray("[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n");
    QTest::newRow("new key after blank lines that close the section")
        << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\n") << "A"
        << "Y"
        << "2" << QByteArray("[A]\r\nX=1\r\n\r\nY=2\r\n[B]\r\n");
    QTest::newRow("new key in the last section") << QByteArray("[A]\r\nX=1\r\n") << "A"
                                                 << "Y"
                                                 << "2" << QByteArray("[A]\r\nX=1\r\nY=2\r\n");
    QTest::newRow("new section at the end of the file") << QByteArray("[A]\r\nX=1\r\n") << "b"
                                                        << "y"
                                                        << "2" << QByteArray("[A]\r\nX=1\r\n[B]\r\nY=2\r\n");
    QTest::newRow("no final line break") << QByteArray("[A]\r\nX=1") << "A"
                                         << "Y"
                                         << "2" << QByteArray("[A]\r\nX=1\r\nY=2\r\n");
    QTest::newRow("LF and CR line ends become CR LF") << QByteArray("[A]\nX=1\rW=0\n") << "A"
                                                      << "X"
                                                      << "2" << QByteArray("[A]\r\nX=2\r\nW=0\r\n");
    QTest::newRow("value stored exactly")
        << QByteArray("[A]\r\n") << "A"
        << "K"
        << "  Mixed = Case  " << QByteArray("[A]\r\nK=  Mixed = Case  \r\n");
    QTest::newRow("empty value") << QByteArray("[A]\r\nK=1\r\n") << "A"
                                 << "K"
                                 << "" << QByteArray("[A]\r\nK=\r\n");
    QTest::newRow("header with comment kept") << QByteArray("[A] ; main\r\nX=1\r\n") << "A"
                                              << "X"
                                              << "2" << QByteArray("[A] ; main\r\nX=2\r\n");
    QTest::newRow("comments kept, never replaced") << QByteArray("[A]\r\n;X=1\r\n; note\r\n") << "A"
                                                   << "X"
                                                   << "2" << QByteArray("[A]\r\n;X=1\r\n; note\r\nX=2\r\n");
    QTest::newRow("line with blanks around equals is another key")
        << QByteArray("[A]\r\nCOLOR = abc\r\n") << "A"
        << "Color"
        << "x" << QByteArray("[A]\r\nCOLOR = abc\r\nCOLOR=x\r\n");
    QTest::newRow("keys before the first section untouched") << QByteArray("X=0\r\n[A]\r\n") << "A"
                                                             << "X"
                                                             << "1" << QByteArray("X=0\r\n[A]\r\nX=1\r\n");
    QTest::newRow("UTF-8 value written as UTF-8") << QByteArray("[A]\r\n") << "A"
                                                  << "City" << QString::fromUtf8("Z\u00FCrich \u20AC")
                                                  << QByteArray("[A]\r\nCITY=Z\xC3\xBCrich \xE2\x82\xAC\r\n");
    QTest::newRow("non-UTF-8 lines kept byte for byte")
        << QByteArray("[A]\r\n" + latin1Line + "\r\n\xFF\xFE\x80\r\n[B]\r\nK=1\r\n") << "B"
        << "K"
        << "2" << QByteArray("[A]\r\n" + latin1Line + "\r\n\xFF\xFE\x80\r\n[B]\r\nK=2\r\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[A]\r\nK=1\r\n") << "A"
                                          << "K"
                                          << "2" << QByteArray("\xEF\xBB\xBF[A]\r\nK=2\r\n");
    QTest::newRow("garbage kept, section appended")
        << QByteArray("\x01\x02\xFF garbage\x00\x7F", 13) << "S"
        << "K"
        << "1" << QByteArray("\x01\x02\xFF garbage\x00\x7F\r\n[S]\r\nK=1\r\n", 25);
}

void tst_IniFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeBytes(path(), before);
    QVERIFY(m_ini.WriteProfileString(section, key, value));
    QCOMPARE(readBytes(path()), after);
    QCOMPARE(m_ini.ReadProfileString(section, key, "<default>"), value);
    QVERIFY(m_prompts->prompts().isEmpty());
    QCOMPARE(m_waits, 0);
}

void tst_IniFile::writeIntAndBolRoundTrip()
{
    QVERIFY(m_ini.WriteProfileInt("Numbers", "Days", -30));
    QVERIFY(m_ini.WriteProfileBol("Confirmations", "Quit", true));
    QVERIFY(m_ini.WriteProfileBol("Confirmations", "Undo", false));
    QCOMPARE(readBytes(path()),
             QByteArray("\r\n[NUMBERS]\r\nDAYS=-30\r\n[CONFIRMATIONS]\r\nQUIT=1\r\nUNDO=0\r\n"));
    QCOMPARE(m_ini.ReadProfileInt("numbers", "days", 0), -30);
    QCOMPARE(m_ini.ReadProfileBol("Confirmations", "Quit", false), true);
    QCOMPARE(m_ini.ReadProfileBol("Confirmations", "Undo", true), false);
}

void tst_IniFile::writeBlankSectionTouchesNothing()
{
    QVERIFY(m_ini.WriteProfileString("", "K", "v"));
    QVERIFY(m_ini.WriteProfileString("   ", "K", "v"));
    QVERIFY(!QFile::exists(path()));
    QVERIFY(!QFile::exists(m_ini.lockFilename()));
}

void tst_IniFile::writeRefusesLineBreaks()
{
    writeBytes(path(), "[A]\r\nK=1\r\n");
    QVERIFY(!m_ini.WriteProfileString("A", "K", "x\r\n[EVIL]\r\nY=1"));
    QVERIFY(!m_ini.WriteProfileString("A", "K", "x\ny"));
    QVERIFY(!m_ini.WriteProfileString("A\n", "K", "x"));
    QCOMPARE(readBytes(path()), QByteArray("[A]\r\nK=1\r\n"));
}

void tst_IniFile::writeLeavesNoTemporaryFiles()
{
    for (int i = 0; i < 20; ++i)
        QVERIFY(m_ini.WriteProfileInt("S", "K" + QString::number(i % 5), i));
    QVERIFY(m_ini.DeleteProfileSection("S"));
    const QStringList entries =
        QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(entries, (QStringList{"QUNTA.INI", "QUNTA.INI.lock"}));
}

void tst_IniFile::writeKeepsPermissions()
{
    writeBytes(path(), "[A]\r\n");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path(), permissions));
    QVERIFY(m_ini.WriteProfileString("A", "K", "1"));
    QCOMPARE(QFileInfo(path()).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             permissions);
}

// --- deleting -------------------------------------------------------------------------------------

void tst_IniFile::deleteSection_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("both occurrences, headers included")
        << QByteArray("[S]\r\nA=1\r\n[T]\r\nB=2\r\n[s] again\r\nC=3\r\n[U]\r\nD=4\r\n") << "S"
        << QByteArray("[T]\r\nB=2\r\n[U]\r\nD=4\r\n");
    QTest::newRow("two adjacent occurrences")
        << QByteArray("[S]\r\nA=1\r\n[S]\r\nB=2\r\n[T]\r\n") << "s" << QByteArray("[T]\r\n");
    QTest::newRow("last section, comments and blanks inside go too")
        << QByteArray("\r\n[T]\r\nB=2\r\n[S]\r\n; c\r\n\r\nA=1") << "S" << QByteArray("\r\n[T]\r\nB=2\r\n");
    QTest::newRow("absent section keeps every line") << QByteArray("[T]\r\n" + latin1Line + "\nB=2") << "S"
                                                     << QByteArray("[T]\r\n" + latin1Line + "\r\nB=2\r\n");
    QTest::newRow("indented header is not the section")
        << QByteArray(" [S]\r\nA=1\r\n") << "S" << QByteArray(" [S]\r\nA=1\r\n");
    QTest::newRow("longer name is another section")
        << QByteArray("[S2]\r\nA=1\r\n[S]\r\nB=2\r\n") << "S" << QByteArray("[S2]\r\nA=1\r\n");
}

void tst_IniFile::deleteSection()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);
    writeBytes(path(), before);
    QVERIFY(m_ini.DeleteProfileSection(section));
    QCOMPARE(readBytes(path()), after);
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::deleteBlankOrMissing()
{
    QVERIFY(m_ini.DeleteProfileSection("S"));
    QVERIFY(!QFile::exists(path()));
    QVERIFY(!QFile::exists(m_ini.lockFilename()));
    writeBytes(path(), "[S]\n");
    QVERIFY(m_ini.DeleteProfileSection(""));
    QVERIFY(m_ini.DeleteProfileSection("  "));
    QCOMPARE(readBytes(path()), QByteArray("[S]\n"));
}

// --- files that cannot be used ----------------------------------------------------------------------

void tst_IniFile::missingFolder()
{
    const QString inMissing = m_dir->filePath("no/such/folder/QUNTA.INI");
    m_ini.setFilename(inMissing);
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
    QVERIFY(m_ini.DeleteProfileSection("S"));
    QVERIFY(m_prompts->prompts().isEmpty());

    QVERIFY(!m_ini.WriteProfileString("S", "K", "v"));
    QCOMPARE(m_prompts->prompts().size(), 1);
    QCOMPARE(m_prompts->prompts().at(0).text, "Error recreating file: " + inMissing);
    QCOMPARE(m_prompts->prompts().at(0).flags, 0);
    QVERIFY(!QDir(m_dir->filePath("no")).exists());
    QCOMPARE(m_waits, 0);
}

void tst_IniFile::noFilenameCreatesNothing()
{
    clsIniFile ini;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QCOMPARE(ini.ReadProfileString("S", "K", "d"), QString("d"));
    QVERIFY(ini.DeleteProfileSection("S"));
    QVERIFY(!ini.WriteProfileString("S", "K", "v"));
    QCOMPARE(m_prompts->texts(), QStringList{"Error recreating file: "});
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(QDir(m_dir->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void tst_IniFile::profileIsADirectory()
{
    QVERIFY(QDir(m_dir->path()).mkdir("QUNTA.INI"));
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QVERIFY(m_ini.DeleteProfileSection("S"));
    QVERIFY(m_prompts->prompts().isEmpty());
    QVERIFY(!m_ini.WriteProfileString("S", "K", "v"));
    QCOMPARE(m_prompts->texts(), QStringList{"Error recreating file: " + path()});
    QCOMPARE(m_prompts->prompts().at(0).flags, 0);
    QVERIFY(QFileInfo(path()).isDir());
}

void tst_IniFile::readOnlyProfileIsNotReplaced()
{
    const QByteArray content = "[S]\r\nK=1\r\n";
    writeBytes(path(), content);
    QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup));

    QCOMPARE(m_ini.ReadProfileInt("S", "K", 0), 1);
    QVERIFY(!m_ini.WriteProfileString("S", "K", "2"));
    QVERIFY(!m_ini.DeleteProfileSection("S"));
    QCOMPARE(m_prompts->texts(),
             (QStringList{"Error recreating file: " + path(), "Error recreating file: " + path()}));
    QCOMPARE(m_prompts->prompts().at(0).flags, 0);
    QCOMPARE(m_prompts->prompts().at(1).flags, MessageFlags::Critical);
    QCOMPARE(readBytes(path()), content);
    QCOMPARE(m_waits, 0);
}

void tst_IniFile::unreadableProfileTimesOut()
{
    if (::geteuid() == 0)
        QSKIP("root reads a file without read permission");
    writeBytes(path(), "[S]\r\nK=1\r\n");
    QVERIFY(QFile::setPermissions(path(), QFile::WriteOwner));
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QCOMPARE(m_waits, clsIniFile::openAttempts - 1);
    QCOMPARE(m_prompts->texts(), QStringList{"Timeout accessing file: " + path()});
}

void tst_IniFile::lockFileCannotBeMade()
{
    // The lock file's place leads nowhere: readers go on unlocked, writers and deleters refuse.
    const QByteArray content = "[S]\r\nK=1\r\n";
    writeBytes(path(), content);
    QVERIFY(QFile::link(m_dir->filePath("missing/folder/x"), m_ini.lockFilename()));
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("1"));
    QCOMPARE(m_ini.ReadProfileSection("S"), QStringList{"K=1"});
    QVERIFY(m_prompts->prompts().isEmpty());

    QVERIFY(!m_ini.WriteProfileString("S", "K", "2"));
    QVERIFY(!m_ini.DeleteProfileSection("S"));
    QCOMPARE(m_prompts->texts(),
             (QStringList{"Error recreating file: " + path(), "Error recreating file: " + path()}));
    QCOMPARE(m_prompts->prompts().at(0).flags, 0);
    QCOMPARE(m_prompts->prompts().at(1).flags, MessageFlags::Critical);
    QCOMPARE(readBytes(path()), content);
    QCOMPARE(m_waits, 0);
}

// --- two processes ----------------------------------------------------------------------------------

void tst_IniFile::writerWaitsForExclusiveHolderThenWrites()
{
    writeBytes(path(), "[S]\r\nK=1\r\n");
    LockHolder holder;
    if (!holder.start(m_ini.lockFilename(), true))
        QSKIP("flock(1) from util-linux is not available");

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
    QVERIFY(m_ini.WriteProfileString("S", "K", "2"));
    QCOMPARE(m_waits, 3);
    QCOMPARE(readBytes(path()), QByteArray("[S]\r\nK=2\r\n"));
    QVERIFY(m_prompts->prompts().isEmpty());
    QVERIFY(!lockedByOther(m_ini.lockFilename()));
}

void tst_IniFile::writerWaitsForSharedHolderButReaderDoesNot()
{
    writeBytes(path(), "[S]\r\nK=1\r\n");
    LockHolder holder;
    if (!holder.start(m_ini.lockFilename(), false))
        QSKIP("flock(1) from util-linux is not available");

    // Readers share the file with another reader...
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("1"));
    QCOMPARE(m_ini.ReadProfileSection("S"), QStringList{"K=1"});
    QCOMPARE(m_waits, 0);

    // ...a writer does not.
    m_ini.setWaitFunction([&](int) {
        if (++m_waits == 2) {
            holder.release();
            QVERIFY(holder.finished());
        }
    });
    QVERIFY(m_ini.DeleteProfileSection("S"));
    QCOMPARE(m_waits, 2);
    QCOMPARE(readBytes(path()), QByteArray());
}

void tst_IniFile::readerWaitsWithTheRealSleep()
{
    writeBytes(path(), "[S]\r\nK=1\r\n");
    const QString flock = QStandardPaths::findExecutable("flock");
    if (flock.isEmpty())
        QSKIP("flock(1) from util-linux is not available");
    QProcess holder;
    holder.start(flock, {"-x", m_ini.lockFilename(), "sleep", "1"});
    QVERIFY(holder.waitForStarted(5000));
    QVERIFY(waitUntilLocked(m_ini.lockFilename()));

    clsIniFile ini; // the default wait: the thread sleeps 200 ms between attempts
    ini.setFilename(path());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ini.ReadProfileString("S", "K", "d"), QString("1"));
    QVERIFY2(timer.elapsed() >= 200, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(holder.waitForFinished(5000));
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::timeoutWhenTheLockIsNeverFree()
{
    const QByteArray content = "[S]\r\nK=1\r\n";
    writeBytes(path(), content);
    LockHolder holder;
    if (!holder.start(m_ini.lockFilename(), true))
        QSKIP("flock(1) from util-linux is not available");
    const QString timeout = "Timeout accessing file: " + path();

    QVERIFY(!m_ini.WriteProfileString("S", "K", "2"));
    QCOMPARE(m_waits, clsIniFile::openAttempts - 1); // 51 attempts, 200 ms apart
    QCOMPARE(m_prompts->texts(), QStringList{timeout});
    QCOMPARE(m_prompts->prompts().at(0).flags, MessageFlags::Critical);
    QCOMPARE(readBytes(path()), content);

    m_prompts->clear();
    QCOMPARE(m_ini.ReadProfileString("S", "K", "d"), QString("d"));
    QCOMPARE(m_ini.ReadProfileInt("S", "K", 9), 9);
    QVERIFY(m_ini.ReadProfileSection("S").isEmpty());
    QVERIFY(m_ini.DeleteProfileSection("S")); // a delete that times out still answers True
    QCOMPARE(m_prompts->texts(), (QStringList{timeout, timeout, timeout, timeout}));
    QCOMPARE(readBytes(path()), content);

    holder.release();
    QVERIFY(holder.finished());
    m_prompts->clear();
    QVERIFY(m_ini.WriteProfileString("S", "K", "2"));
    QCOMPARE(readBytes(path()), QByteArray("[S]\r\nK=2\r\n"));
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_IniFile::twoProcessesWritingLoseNothing()
{
    // Each process rewrites the whole file for every key: without one exclusive hold over the read
    // and the rewrite, the processes would overwrite each other's keys.
    constexpr int processes = 3;
    constexpr int keysEach = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            clsIniFile ini;
            ini.setFilename(path());
            ini.setWaitFunction([](int) { QThread::msleep(50); });
            bool ok = true;
            for (int k = 0; k < keysEach; ++k)
                ok = ini.WriteProfileInt("S", QString("P%1K%2").arg(p).arg(k), k) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
    const QStringList lines = m_ini.ReadProfileSection("S");
    QCOMPARE(lines.size(), processes * keysEach);
    for (int p = 0; p < processes; ++p)
        for (int k = 0; k < keysEach; ++k)
            QCOMPARE(m_ini.ReadProfileInt("S", QString("P%1K%2").arg(p).arg(k), -1), k);
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
