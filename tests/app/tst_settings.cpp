#include "DataTable.h"
#include "FileBytes.h"
#include "ScriptedPrompts.h"
#include "app/AddonStore.h"
#include "app/AppError.h"
#include "app/clsAddOnData.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <climits>

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

// The five general options in the order undo, delete, quit, most recent, save auto: "1" is true.
QString optionsOf(const clsGeneralOptions& options) {
    QString flags;
    for (const bool flag : {options.ConfirmUndo(), options.ConfirmDelete(), options.ConfirmQuit(),
                            options.UseMostRecent(), options.SaveAuto()})
        flags += flag ? '1' : '0';
    return flags;
}
} // namespace

class tst_Settings : public QObject {
    Q_OBJECT

    QString profilePath() const { return m_dir->filePath("QUNTA.INI"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    clsIniFile m_ini;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_ini = clsIniFile();
        m_ini.setFilename(profilePath());
        m_ini.setWaitFunction([](int) { QFAIL("the profile file was never locked by anyone else"); });
    }

    void cleanup() {
        m_prompts.reset();
        m_dir.reset();
    }

    void parse_data() {
        addColumns<QString, Pairs>("text", "expected");
        addRow("empty text", QString(), Pairs{});
        addRow("no record separator", "key" + F + "value", Pairs{});
        addRow("record without field separator", R + "a", Pairs{{"", ""}});
        addRow("text before the first separator ignored, blanks and case kept",
               "junk" + F + "x" + R + " Key " + F + " Va lue ", Pairs{{" Key ", " Va lue "}});
        addRow("order and duplicates kept", R + "b" + F + "2" + R + "a" + F + "1" + R + "b" + F + "3",
               Pairs{{"b", "2"}, {"a", "1"}, {"b", "3"}});
        addRow("empty parts give empty pairs in place", R + R + "k" + F + "v" + R,
               Pairs{{"", ""}, {"k", "v"}, {"", ""}});
        addRow("value after the first field separator, rest included", R + "k" + F + "v" + F + "w",
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
        QCOMPARE(data.AddOnData(), QString());
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
        addColumns<QString, int, quint32>("stored", "days", "colour");
        const quint32 white = 0xFFFFFF;
        const auto row = [](const char* stored, int days, quint32 colour) {
            addRow(qPrintable(QString("'%1'").arg(stored)), stored, days, colour);
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
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void optionsRead_data() {
        addColumns<QByteArray, QString>("profile", "options");
        addRow("no profile", QByteArray("<missing>"), "11101");
        addRow("names in any case",
               QByteArray(
                   "[Confirmations]\r\nundo=0\r\nDELETEDATA=0\r\nQuit=1\r\n[GENERAL]\r\nUseMostRecent=1\r\n"
                   "SaveAuto=0\r\n"),
               "00110");
    }

    void optionsRead() {
        QFETCH(QByteArray, profile);
        if (profile != "<missing>")
            writeBytes(profilePath(), profile);
        QTEST(optionsOf(clsGeneralOptions(m_ini)), "options");
        QCOMPARE(readBytes(profilePath()), profile); // reading creates and changes nothing
    }

    void optionChangeIsWrittenAtOnce() {
        clsGeneralOptions options(m_ini);
        options.setConfirmUndo(false);
        QCOMPARE(readBytes(profilePath()), QByteArray("\r\n[CONFIRMATIONS]\r\nUNDO=0\r\n"));
        options.setUseMostRecent(true);
        options.setConfirmDelete(false);
        options.setConfirmQuit(false);
        options.setSaveAuto(false);
        options.setConfirmUndo(true);
        QCOMPARE(readBytes(profilePath()),
                 QByteArray("\r\n[CONFIRMATIONS]\r\nUNDO=1\r\nDELETEDATA=0\r\nQUIT=0\r\n"
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
        QCOMPARE(readBytes(profilePath()), QByteArray("\r\n[GENERAL]\r\nSAVEAUTO=0\r\n"));
        const QByteArray handMade = "; hand-made\n[GENERAL]\nSaveAuto=0\n";
        writeBytes(profilePath(), handMade);
        clsGeneralOptions options(m_ini);
        setUnchanged(options);
        QCOMPARE(readBytes(profilePath()), handMade);

        options.setSaveAuto(true); // a real change does rewrite it
        QCOMPARE(readBytes(profilePath()), QByteArray("; hand-made\r\n[GENERAL]\r\nSAVEAUTO=1\r\n"));
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
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
