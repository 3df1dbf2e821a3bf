#include "../board/BoardFixture.h"
#include "app/AppError.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
const char* const childSwitch = "--save-repeatedly";
const QDate day(2026, 3, 2);
// Enough bookings that a save takes a while, so that the kills land in every part of it.
constexpr int baseItems = 3000;
constexpr int blockItems = 700;

// A timetable of version n: the caption of the booking "VERSION" says n, and the number of bookings
// changes with n, so that a file cut off or mixed from two versions cannot pass for either.
int itemsOfVersion(int version) {
    return baseItems + (version % 3) * blockItems + 1;
}

void makeVersion(GanttData& chart, int version) {
    ItemCollection& items = chart.items();
    const auto key = [](int i) { return QString("K%1").arg(i); };
    items.beginBatch();
    if (!items.byKey("VERSION"))
        items.add(QString(), "R2", TimePoint::fromDate(day), TimePoint::fromDate(day).addDays(1), "VERSION",
                  "Date");
    items.byKey("VERSION")->setCaption(QString::number(version));
    const int bookings = itemsOfVersion(version) - 1;
    for (int i = bookings; items.byKey(key(i)); ++i)
        items.remove(key(i));
    for (int i = 0; i < bookings; ++i) {
        const TimePoint start = TimePoint::fromDate(day).addSeconds(qint64(i) * 3600);
        if (!items.byKey(key(i)))
            items.add(QString("booking %1").arg(i), "R1", start, start.addSeconds(1800), key(i), "Date");
    }
    items.endBatch();
}

// The version a file holds, or -1 when it cannot be read or is not a whole version.
int versionOf(const QString& file) {
    try {
        GanttData chart;
        chart.load(file);
        const ChartItem* marker = chart.items().byKey("VERSION");
        bool ok = false;
        const int version = marker ? marker->caption().toInt(&ok) : -1;
        return ok && chart.items().count() == itemsOfVersion(version) ? version : -1;
    } catch (const AppError&) {
        return -1;
    }
}

// The child: the real planner's board opens the timetable and saves a new version again and again,
// saying "saved <n>" after each, until it is killed.
int saveRepeatedly(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString plan = QString::fromLocal8Bit(argv[2]);
    bsMain program;
    globals().commandLine = plan;
    program.InitGlobalData();
    frmMain& board = *program.board();
    board.FirstActivation();
    if (board.fileName() != plan || IsReadOnly())
        return 2;
    for (int version = versionOf(plan) + 1;; ++version) {
        makeVersion(board.data(), version);
        board.setDirty(true);
        if (!board.DoSave(false))
            return 3;
        const QByteArray line = "saved " + QByteArray::number(version) + '\n';
        if (::write(STDOUT_FILENO, line.constData(), std::size_t(line.size())) != line.size())
            return 4;
    }
}
} // namespace

// A planner killed at random moments while it saves: after every kill the timetable opens and holds
// the version before the save or the one it was writing, whole; so does its backup, one version
// behind or equal; and the temporary files the kills leave are gone once the timetable is opened
// again. QUNTA_KILL_ROUNDS sets the number of kills (20 by default).
class TstKillSave : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSaving() {
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.filePath("Documents")));
        const QString plan = home.filePath("plan.qtf");
        {
            GanttData chart;
            CreateDefaultStyles(chart);
            chart.rows().add("R1", "Room", "Resources");
            chart.rows().add("R2", "Versions", "Resources");
            makeVersion(chart, 0);
            chart.save(plan);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QRandomGenerator random(20260302);
        const int wanted = qEnvironmentVariableIntValue("QUNTA_KILL_ROUNDS");
        const int rounds = wanted > 0 ? wanted : 20;
        int completed = 0;
        qint64 saveMs = 200;
        for (int round = 0; round < rounds; ++round) {
            // The killed owner left its marker; the next one takes the file back, as its user would.
            QVERIFY(QFile::setPermissions(plan, QFile::permissions(plan) | QFileDevice::WriteOwner));
            QProcess child;
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {childSwitch, plan});
            QVERIFY(child.waitForStarted(30000));
            // One whole save first, to know how long one takes; then a kill somewhere in the next ones.
            QElapsedTimer timer;
            timer.start();
            QByteArray output;
            while (!output.contains('\n') && child.waitForReadyRead(60000))
                output += child.readAllStandardOutput();
            QVERIFY2(output.startsWith("saved "), qPrintable(output + child.readAllStandardError()));
            timer.restart();
            while (output.count('\n') < 2 && child.waitForReadyRead(60000))
                output += child.readAllStandardOutput();
            saveMs = std::max<qint64>(timer.elapsed(), 1);
            QThread::usleep(random.bounded(quint64(saveMs) * 2000));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(30000));
            output += child.readAllStandardOutput();
            const QList<QByteArray> lines = output.trimmed().split('\n');
            const int reported = lines.last().mid(6).toInt();
            completed += int(lines.size());
            const int file = versionOf(plan);
            QVERIFY2(
                file == reported || file == reported + 1,
                qPrintable(QString("round %1: saved %2, file holds %3").arg(round).arg(reported).arg(file)));
            const int backup = versionOf(plan + ".BAK");
            QVERIFY2(backup == file || backup == file - 1,
                     qPrintable(QString("round %1: file %2, backup %3").arg(round).arg(file).arg(backup)));
        }
        // Each kill leaves at most one temporary file of each kind; opening the timetable removed the
        // older ones.
        QDir folder(home.path());
        QVERIFY(folder.entryList({"plan.qtf.tmp-*"}, QDir::Files).size() <= 1);
        QVERIFY(folder.entryList({"plan.qtf.BAK.part"}, QDir::Files).size() <= 1);
        qInfo("%d kills during %d saves, about %lld ms a save", rounds, completed, saveMs);
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], childSwitch) == 0)
        return saveRepeatedly(argc, argv);
    QApplication application(argc, argv);
    TstKillSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killsave.moc"
