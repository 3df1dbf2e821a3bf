#include "ScriptedPrompts.h"
#include "app/AddonStore.h"
#include "app/AppError.h"
#include "app/clsAddOnData.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <sys/stat.h>

namespace {
const QChar R(0x00FF); // record separator
const QChar F(0x00FE); // field separator

using Pairs = QList<QPair<QString, QString>>;

Pairs pairsOf(const clsAddOnData& data)
{
    Pairs pairs;
    for (int i = 0; i < data.count(); ++i)
        pairs.append({data.keys().at(i), data.values().at(i)});
    return pairs;
}

// The chart's "Addon" style as clsSettings sees it; it can be told to fail as a missing style does.
class FakeAddonStore : public AddonStore {
public:
    QString addonText() const override
    {
        ++reads;
        if (failing)
            throw AppError("Style 'Addon' not found", 9);
        return text;
    }
    void setAddonText(const QString& newText) override
    {
        ++writes;
        if (failing)
            throw AppError("Style 'Addon' not found", 9);
        text = newText;
    }
    QString text;
    bool failing = false;
    mutable int reads = 0;
    int writes = 0;
};

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

// Content, inode and modification time: a rewrite through a temporary file changes the inode even
// when it writes the same bytes.
struct FileState {
    QByteArray bytes;
    ino_t inode = 0;
    qint64 mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};

FileState stateOf(const QString& path)
{
    FileState state;
    state.bytes = readBytes(path);
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        state.inode = info.st_ino;
        state.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    return state;
}
} // namespace

class tst_Settings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parse_data();
    void parse();
    void serialise();
    void valueFindsTheFirstExactKey();
    void setValueReplacesFirstOrAppends();
    void resetEmpties();

    void deleteAfterDaysIsStoredAsDecimalText();
    void deleteAfterDaysReading_data();
    void deleteAfterDaysReading();
    void utilizationColourRules();
    void utilizationColourReading_data();
    void utilizationColourReading();
    void readAndWriteThroughTheStore();
    void storeErrorsAreIgnored();

    void optionsDefaultOnEmptyOrMissingProfile();
    void optionsReadFromProfile();
    void optionChangeIsWrittenAtOnce();
    void optionSetToCurrentValueDoesNotTouchTheFile();
    void optionWriteFailureKeepsTheValueInMemory();

private:
    QString profilePath() const { return m_dir->filePath("QUNTA.INI"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    clsIniFile m_ini;
};

void tst_Settings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_ini = clsIniFile();
    m_ini.setFilename(profilePath());
    m_ini.setWaitFunction([](int) { QFAIL("the profile file was never locked by anyone else"); });
}

void tst_Settings::cleanup()
{
    m_prompts.reset();
    m_dir.reset();
}

// --- clsAddOnData -----------------------------------------------------------------------------------

void tst_Settings::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Pairs>("expected");
    QTest::newRow("empty text") << QString() << Pairs{};
    QTest::newRow("no record separator") << QString("key") + F + "value" << Pairs{};
    QTest::newRow("255 and a") << QString(R) + "a" << Pairs{{"", ""}};
    QTest::newRow("one pair") << QString(R) + "$DeleteAfterDays" + F + "30"
                              << Pairs{{"$DeleteAfterDays", "30"}};
    QTest::newRow("text before the first separator ignored")
        << QString("junk") + F + "x" + R + "k" + F + "v" << Pairs{{"k", "v"}};
    QTest::newRow("order kept") << QString(R) + "b" + F + "2" + R + "a" + F + "1"
                                << Pairs{{"b", "2"}, {"a", "1"}};
    QTest::newRow("empty parts give empty pairs in place")
        << QString(R) + R + "k" + F + "v" + R << Pairs{{"", ""}, {"k", "v"}, {"", ""}};
    QTest::newRow("empty key and value") << QString(R) + F << Pairs{{"", ""}};
    QTest::newRow("value after the first field separator, rest included")
        << QString(R) + "k" + F + "v" + F + "w" << Pairs{{"k", QString("v") + F + "w"}};
    QTest::newRow("blanks and case kept")
        << QString(R) + " Key " + F + " Va lue " << Pairs{{" Key ", " Va lue "}};
    QTest::newRow("duplicate keys kept")
        << QString(R) + "k" + F + "1" + R + "k" + F + "2" << Pairs{{"k", "1"}, {"k", "2"}};
}

void tst_Settings::parse()
{
    QFETCH(QString, text);
    QFETCH(Pairs, expected);
    clsAddOnData data;
    data.setValue("old", "content");
    data.setAddOnData(text);
    QCOMPARE(pairsOf(data), expected);
}

void tst_Settings::serialise()
{
    clsAddOnData data;
    QCOMPARE(data.AddOnData(), QString());
    data.setValue("b", "2");
    data.setValue("a", "");
    data.setValue("", "x");
    const QString expected = QString(R) + "b" + F + "2" + R + "a" + F + R + F + "x";
    QCOMPARE(data.AddOnData(), expected);

    // What one store writes another reads back pair for pair, also a parsed text with empty pairs.
    clsAddOnData copy;
    copy.setAddOnData(data.AddOnData());
    QCOMPARE(pairsOf(copy), pairsOf(data));
    const QString withEmptyPart = QString(R) + "k" + F + "v" + R;
    copy.setAddOnData(withEmptyPart);
    QCOMPARE(copy.AddOnData(), QString(R) + "k" + F + "v" + R + F);
}

void tst_Settings::valueFindsTheFirstExactKey()
{
    clsAddOnData data;
    data.setAddOnData(QString(R) + "Key" + F + "1" + R + "Key" + F + "2" + R + "key" + F + "3");
    QCOMPARE(data.Value("Key"), QString("1"));
    QCOMPARE(data.Value("key"), QString("3"));
    QCOMPARE(data.Value("KEY"), QString());
    QCOMPARE(data.Value("Ke"), QString());
    QCOMPARE(data.Value("missing"), QString());
}

void tst_Settings::setValueReplacesFirstOrAppends()
{
    clsAddOnData data;
    data.setValue("a", "1"); // an empty store becomes a store of one pair
    QCOMPARE(pairsOf(data), (Pairs{{"a", "1"}}));
    data.setAddOnData(QString(R) + "k" + F + "1" + R + "x" + F + "0" + R + "k" + F + "2");
    data.setValue("k", "new");
    data.setValue("K", "upper");
    QCOMPARE(pairsOf(data), (Pairs{{"k", "new"}, {"x", "0"}, {"k", "2"}, {"K", "upper"}}));
}

void tst_Settings::resetEmpties()
{
    clsAddOnData data;
    data.setValue("a", "1");
    data.Reset();
    QCOMPARE(data.count(), 0);
    QCOMPARE(data.AddOnData(), QString());
    QCOMPARE(data.Value("a"), QString());
}

// --- clsSettings ------------------------------------------------------------------------------------

void tst_Settings::deleteAfterDaysIsStoredAsDecimalText()
{
    FakeAddonStore store;
    clsSettings settings(store);
    QCOMPARE(settings.DeleteAfterDays(), 0);
    settings.setDeleteAfterDays(30);
    QCOMPARE(settings.data().Value("$DeleteAfterDays"), QString("30"));
    settings.WriteData();
    QCOMPARE(store.text, QString(R) + "$DeleteAfterDays" + F + "30");
    settings.setDeleteAfterDays(-5);
    QCOMPARE(settings.DeleteAfterDays(), -5);
    QCOMPARE(settings.data().count(), 1);
}

void tst_Settings::deleteAfterDaysReading_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("plain") << "14" << 14;
    QTest::newRow("12.5 to even") << "12.5" << 12;
    QTest::newRow("13.5 to even") << "13.5" << 14;
    QTest::newRow("leading number") << "7 days" << 7;
    QTest::newRow("no number") << "never" << 0;
    QTest::newRow("too big") << "1e20" << INT_MAX;
}

void tst_Settings::deleteAfterDaysReading()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    FakeAddonStore store;
    clsSettings settings(store);
    settings.data().setValue("$DeleteAfterDays", stored);
    QCOMPARE(settings.DeleteAfterDays(), expected);
}

void tst_Settings::utilizationColourRules()
{
    FakeAddonStore store;
    clsSettings settings(store);
    QCOMPARE(settings.UtilizationColor(2), quint32(0xFFFFFF)); // never set: white
    settings.setUtilizationColor(2, 0);                        // black is stored as "-1"
    QCOMPARE(settings.data().Value("$UtilizationColor2"), QString("-1"));
    QCOMPARE(settings.UtilizationColor(2), quint32(0));
    settings.setUtilizationColor(0, 0x00FF80);
    QCOMPARE(settings.data().Value("$UtilizationColor0"), QString::number(0x00FF80));
    QCOMPARE(settings.UtilizationColor(0), quint32(0x00FF80));
    settings.setUtilizationColor(12, 0xFFFFFF);
    QCOMPARE(settings.data().Value("$UtilizationColor12"), QString("16777215"));
    QCOMPARE(settings.UtilizationColor(1), quint32(0xFFFFFF));
    QCOMPARE(settings.UtilizationColor(12), quint32(0xFFFFFF));
    settings.setUtilizationColor(3, 0xFFFFFFFFu);
    QCOMPARE(settings.UtilizationColor(3), 0xFFFFFFFFu);

    // Through the store and back into a fresh object (a save and a load).
    settings.WriteData();
    FakeAddonStore loaded;
    loaded.text = store.text;
    clsSettings again(loaded);
    again.ReadData();
    QCOMPARE(again.UtilizationColor(2), quint32(0));
    QCOMPARE(again.UtilizationColor(0), quint32(0x00FF80));
    QCOMPARE(again.UtilizationColor(5), quint32(0xFFFFFF));
}

void tst_Settings::utilizationColourReading_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("0 is white") << "0" << quint32(0xFFFFFF);
    QTest::newRow("empty is white") << "" << quint32(0xFFFFFF);
    QTest::newRow("no number is white") << "red" << quint32(0xFFFFFF);
    QTest::newRow("-1 is black") << "-1" << quint32(0);
    QTest::newRow("255 is red") << "255" << quint32(255);
    QTest::newRow("rounded") << "254.5" << quint32(254);
}

void tst_Settings::utilizationColourReading()
{
    QFETCH(QString, stored);
    QFETCH(quint32, expected);
    FakeAddonStore store;
    store.text = QString(R) + "$UtilizationColor1" + F + stored;
    clsSettings settings(store);
    settings.ReadData();
    QCOMPARE(settings.UtilizationColor(1), expected);
}

void tst_Settings::readAndWriteThroughTheStore()
{
    FakeAddonStore store;
    store.text = QString(R) + "$DeleteAfterDays" + F + "45" + R + "custom" + F + "kept";
    clsSettings settings(store);
    settings.ReadData();
    QCOMPARE(settings.DeleteAfterDays(), 45);
    settings.setUtilizationColor(1, 0x0000FF);
    settings.WriteData();
    QCOMPARE(store.text, QString(R) + "$DeleteAfterDays" + F + "45" + R + "custom" + F + "kept" + R +
                             "$UtilizationColor1" + F + "255");

    // A file without add-on data yields an empty store: all defaults.
    store.text.clear();
    settings.ReadData();
    QCOMPARE(settings.data().count(), 0);
    QCOMPARE(settings.DeleteAfterDays(), 0);
    QCOMPARE(settings.UtilizationColor(1), quint32(0xFFFFFF));
}

void tst_Settings::storeErrorsAreIgnored()
{
    FakeAddonStore store;
    store.text = QString(R) + "$DeleteAfterDays" + F + "10";
    clsSettings settings(store);
    settings.ReadData();
    store.failing = true;
    settings.setDeleteAfterDays(20);
    settings.ReadData();  // the settings keep their content
    settings.WriteData(); // the chart keeps its content
    QCOMPARE(store.reads, 2);
    QCOMPARE(store.writes, 1);
    QCOMPARE(settings.DeleteAfterDays(), 20);
    QCOMPARE(store.text, QString(R) + "$DeleteAfterDays" + F + "10");
    QVERIFY(m_prompts->prompts().isEmpty());
}

// --- clsGeneralOptions --------------------------------------------------------------------------------

void tst_Settings::optionsDefaultOnEmptyOrMissingProfile()
{
    {
        const clsGeneralOptions options(m_ini);
        QVERIFY(options.ConfirmUndo());
        QVERIFY(options.ConfirmDelete());
        QVERIFY(options.ConfirmQuit());
        QVERIFY(!options.UseMostRecent());
        QVERIFY(options.SaveAuto());
        QVERIFY(!QFile::exists(profilePath())); // reading creates nothing
    }
    writeBytes(profilePath(), {});
    const clsGeneralOptions options(m_ini);
    QVERIFY(options.ConfirmUndo());
    QVERIFY(options.ConfirmDelete());
    QVERIFY(options.ConfirmQuit());
    QVERIFY(!options.UseMostRecent());
    QVERIFY(options.SaveAuto());
    QCOMPARE(readBytes(profilePath()), QByteArray());
}

void tst_Settings::optionsReadFromProfile()
{
    writeBytes(profilePath(), "[Confirmations]\r\nundo=0\r\nDELETEDATA=0\r\nQuit=1\r\n"
                              "[GENERAL]\r\nUseMostRecent=1\r\nSaveAuto=0\r\n");
    const clsGeneralOptions options(m_ini);
    QVERIFY(!options.ConfirmUndo());
    QVERIFY(!options.ConfirmDelete());
    QVERIFY(options.ConfirmQuit());
    QVERIFY(options.UseMostRecent());
    QVERIFY(!options.SaveAuto());
}

void tst_Settings::optionChangeIsWrittenAtOnce()
{
    clsGeneralOptions options(m_ini);
    options.setConfirmUndo(false);
    QCOMPARE(readBytes(profilePath()), QByteArray("\r\n[CONFIRMATIONS]\r\nUNDO=0\r\n"));
    options.setUseMostRecent(true);
    options.setConfirmDelete(false);
    options.setConfirmQuit(false);
    options.setSaveAuto(false);
    QCOMPARE(readBytes(profilePath()),
             QByteArray(
                 "\r\n[CONFIRMATIONS]\r\nUNDO=0\r\nDELETEDATA=0\r\nQUIT=0\r\n[GENERAL]\r\nUSEMOSTRECENT=1\r\n"
                 "SAVEAUTO=0\r\n"));
    options.setConfirmUndo(true);
    QCOMPARE(m_ini.ReadProfileString("Confirmations", "Undo", {}), QString("1"));

    // Another instance started now sees every change.
    const clsGeneralOptions other(m_ini);
    QVERIFY(other.ConfirmUndo());
    QVERIFY(!other.ConfirmDelete());
    QVERIFY(!other.ConfirmQuit());
    QVERIFY(other.UseMostRecent());
    QVERIFY(!other.SaveAuto());
    QVERIFY(m_prompts->prompts().isEmpty());
}

void tst_Settings::optionSetToCurrentValueDoesNotTouchTheFile()
{
    {
        clsGeneralOptions options(m_ini);
        options.setConfirmUndo(true);
        options.setUseMostRecent(false);
        QVERIFY(!QFile::exists(profilePath()));
    }
    writeBytes(profilePath(), "; hand-made\n[GENERAL]\nSaveAuto=0\n");
    // Back-date the file so that any rewrite, even within the same second, shows in the time.
    QFile file(profilePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(
        file.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
    file.close();
    const FileState before = stateOf(profilePath());

    clsGeneralOptions options(m_ini);
    QVERIFY(!options.SaveAuto());
    options.setConfirmUndo(true);
    options.setConfirmDelete(true);
    options.setConfirmQuit(true);
    options.setUseMostRecent(false);
    options.setSaveAuto(false);
    QVERIFY(stateOf(profilePath()) == before);

    options.setSaveAuto(true); // a real change does rewrite it
    QVERIFY(!(stateOf(profilePath()) == before));
    QCOMPARE(readBytes(profilePath()), QByteArray("; hand-made\r\n[GENERAL]\r\nSAVEAUTO=1\r\n"));
}

void tst_Settings::optionWriteFailureKeepsTheValueInMemory()
{
    const QString inMissing = m_dir->filePath("gone/QUNTA.INI");
    m_ini.setFilename(inMissing);
    clsGeneralOptions options(m_ini);
    options.setConfirmQuit(false);
    QVERIFY(!options.ConfirmQuit());
    QCOMPARE(m_prompts->texts(), QStringList{"Error recreating file: " + inMissing});
    options.setConfirmQuit(false); // unchanged now: no second attempt
    QCOMPARE(m_prompts->prompts().size(), 1);
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
