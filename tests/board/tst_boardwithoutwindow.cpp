#include "ScriptedPrompts.h"
#include "app/WindowLayout.h"
#include "app/clsIniFile.h"
#include "app/clsMRU.h"
#include "board/DesktopIntegration.h"
#include "board/TimeNavigation.h"
#include "board/bsMain.h"
#include "chart/ChartSettings.h"
#include "editing/SchedulePrint.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}
} // namespace

// The board's rules that need no window: the recent files list, window layout records, where a jump
// in time lands, the desktop files, the print zoom and the command line.
class TstBoardWithoutWindow : public QObject {
    Q_OBJECT
private slots:
    // Most recent first, five at the most, letter case ignored; stored in the profile in that order.
    void recentFiles() {
        QTemporaryDir folder;
        clsIniFile profile;
        profile.setFilename(folder.filePath("QUNTA.INI"));
        // Other keys, another order and a duplicate: the lines count in file order, keys are not read.
        writeText(profile.filename(),
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
        const QDate monday(2026, 3, 2);
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
        const QString entry = readAll(entryPath);
        QVERIFY(entry.contains("MimeType=application/x-qunta-timetable;"));
        QVERIFY(entry.contains("Exec=\"" + places.program + "\" %f"));
        const QString xml = readAll(places.dataHome + "/mime/packages/qunta-timetable.xml");
        QVERIFY(xml.contains("<glob pattern=\"*.qtf\"/>"));
        QVERIFY(xml.contains("type=\"application/x-qunta-timetable\""));
        QVERIFY(QFile::exists(places.dataHome + "/icons/hicolor/64x64/apps/qunta.png"));
        // The databases are rebuilt once; an unchanged second start leaves them alone.
        const qsizetype starts = prompts.detachedStarts.size();
        writeText(places.dataHome + "/mime/mime.cache", "x");
        writeText(places.dataHome + "/applications/mimeinfo.cache", "x");
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        QCOMPARE(prompts.detachedStarts.size(), starts);

        QVERIFY(DesktopIntegration::CreateShortcut(places));
        const QString launcher = DesktopIntegration::launcherPath(places);
        QVERIFY(readAll(launcher).contains("Comment=Start VELKOR timeplaner"));
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

QTEST_MAIN(TstBoardWithoutWindow)
#include "tst_boardwithoutwindow.moc"
