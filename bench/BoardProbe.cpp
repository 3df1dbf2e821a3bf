#include "BoardProbe.h"

#include "board/bsMain.h"
#include "board/frmMain.h"
#include "chart/ChartCollections.h"
#include "chart/GanttData.h"
#include "chart/widget/GanttChart.h"

#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {
qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 cpuNs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The high-water mark of the resident memory, in kilobytes.
qint64 peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
} // namespace

BoardProbe::BoardProbe(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool BoardProbe::notify(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool result = QApplication::notify(receiver, event);
    if (type == QEvent::Show && !m_board) {
        if (auto* board = qobject_cast<frmMain*>(receiver))
            watch(board);
    } else if (type == QEvent::Paint && m_firstPaint < 0 && m_board &&
               receiver == m_board->chart()->viewport() && showsItems()) {
        // Noted after the paint event is handled: the picture is in the window's backing store.
        m_firstPaint = nowNs();
        finishWhenDone();
    }
    return result;
}

bool BoardProbe::showsItems() const {
    const GanttChart& chart = *m_board->chart();
    const GanttData& data = m_board->data();
    for (int position = chart.firstShownRow(); position <= chart.lastShownRow(); ++position) {
        const ChartRow* row = data.rows().byPosition(position);
        if (row && !data.itemsInRange(row->key(), chart.firstShownTime(), chart.lastShownTime()).empty())
            return true;
    }
    return false;
}

void BoardProbe::watch(frmMain* board) {
    m_board = board;
    connect(board, &frmMain::firstActivationDone, this, &BoardProbe::noteLoaded);
    connect(board, &frmMain::loadFinished, this, &BoardProbe::noteLoaded);
}

void BoardProbe::noteLoaded() {
    // Loaded and editable: the start is over and no load runs in the background any more.
    if (m_loaded >= 0 || !m_board->activated() || m_board->loading())
        return;
    m_loaded = nowNs();
    m_loadedCpu = cpuNs();
    m_loadedItems = m_board->data().items().count();
    finishWhenDone();
}

void BoardProbe::finishWhenDone() {
    if (m_firstPaint < 0 || m_loaded < 0)
        return;
    QTimer::singleShot(0, this, [this] {
        m_board->Unload();
        quit();
    });
}

int BoardProbe::run() {
    const int result = bsMain::Main(*this, QStringLiteral("bench"));
    std::printf(
        "first_paint_ns %lld\nloaded_ns %lld\nloaded_cpu_ns %lld\nloaded_items %lld\npeak_rss_kb %lld\n",
        static_cast<long long>(m_firstPaint), static_cast<long long>(m_loaded),
        static_cast<long long>(m_loadedCpu), static_cast<long long>(m_loadedItems),
        static_cast<long long>(peakResidentKb()));
    std::fflush(stdout);
    return result;
}
