#include "BoardBench.h"

#include "BenchTiming.h"
#include "TimetableGenerator.h"
#include "chart/GanttData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {
// Bookings on about four weeks around today, so that the board opens on a full screen.
constexpr int daysBeforeToday = 12;

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One start of the board with a home folder of its own, so that no profile of an earlier start counts.
std::map<QByteArray, qint64> startBoard(const QString& timetable, const QString& platform,
                                        qint64& launchedNs) {
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("Documents"));
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(BoardBench::childMarker), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    QProcess board;
    board.setProcessEnvironment(environment);
    board.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    launchedNs = nowNs();
    board.start(QCoreApplication::applicationFilePath(), {timetable});
    board.waitForFinished(-1);
    std::map<QByteArray, qint64> figures;
    for (const QByteArray& line : board.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            figures[parts[0]] = parts[1].toLongLong();
    }
    if (board.exitStatus() != QProcess::NormalExit || board.exitCode() != 0)
        std::fprintf(stderr, "board: the measured start ended with %d\n", board.exitCode());
    return figures;
}
// The offscreen platform's own screen is 800 x 600: the board gets a full-HD screen, as on a desk, so
// that its first screen holds as many rows and items as a user sees.
QString platform(const QTemporaryDir& dir) {
    const QString asked = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (asked != QStringLiteral("offscreen"))
        return asked;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080,
                       "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        return asked;
    return asked + QStringLiteral(":configfile=") + config;
}

// The smallest figure of the starts that measured it (a start that did not gives -1).
double best(const std::vector<double>& values) {
    double smallest = -1;
    for (const double value : values) {
        if (value >= 0 && (smallest < 0 || value < smallest))
            smallest = value;
    }
    return smallest;
}
} // namespace

BoardBench::BoardBench(int items, int resources, int runs)
    : m_items(items)
    , m_resources(std::max(1, resources))
    , m_runs(std::max(1, runs)) {}

void BoardBench::generate(const QString& path) const {
    TimetableGenerator::Options options;
    options.resources = m_resources;
    options.items = m_items;
    options.series = m_items / 1000;
    options.seed = 7;
    options.from = QDate::currentDate().addDays(-daysBeforeToday);
    GanttData chart;
    TimetableGenerator(options).fill(chart);
    chart.save(path);
}

void BoardBench::run() const {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("board.qtf"));
    generate(path);
    std::vector<double> firstPaint;
    std::vector<double> loaded;
    std::vector<double> loadedCpu;
    std::vector<double> peak;
    for (int run = 0; run < m_runs; ++run) {
        qint64 launched = 0;
        const auto figures = startBoard(path, platform(dir), launched);
        const auto at = [&](const char* name) {
            const auto found = figures.find(name);
            return found == figures.end() || found->second < 0 ? -1.0
                                                               : double(found->second - launched) / 1e6;
        };
        firstPaint.push_back(at("first_paint_ns"));
        // A load that ended with fewer items than the file holds is no loaded timetable.
        const auto items = figures.find("loaded_items");
        const bool complete = items != figures.end() && items->second == m_items;
        if (!complete)
            std::fprintf(stderr, "board: the measured start did not load all %d items\n", m_items);
        loaded.push_back(complete ? at("loaded_ns") : -1.0);
        const auto cpu = figures.find("loaded_cpu_ns");
        loadedCpu.push_back(cpu == figures.end() ? -1.0 : double(cpu->second) / 1e6);
        const auto rss = figures.find("peak_rss_kb");
        peak.push_back(rss == figures.end() ? -1.0 : double(rss->second) / 1024.0);
    }
    const QByteArray label = QStringLiteral("_%1x%2").arg(m_items).arg(m_resources).toLatin1();
    // On a shared machine the best start says most about the program, the median about a usual one.
    std::printf("board_launch_to_first_paint%s %.3f ms\n", label.constData(), median(firstPaint));
    std::printf("board_launch_to_first_paint_best%s %.3f ms\n", label.constData(), best(firstPaint));
    std::printf("board_launch_to_loaded_editable%s %.3f ms\n", label.constData(), median(loaded));
    std::printf("board_launch_to_loaded_editable_best%s %.3f ms\n", label.constData(), best(loaded));
    std::printf("board_launch_to_loaded_editable_cpu%s %.3f ms\n", label.constData(), median(loadedCpu));
    std::printf("board_peak_resident_memory%s %.3f MB\n", label.constData(), median(peak));
    std::fflush(stdout);
}
