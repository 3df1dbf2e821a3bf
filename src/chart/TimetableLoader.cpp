#include "TimetableLoader.h"

#include "GanttData_p.h"
#include "TimetableReader.h"
#include "app/AppError.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <thread>

struct TimetableLoader::Private {
    Private(GanttData& chart, const QString& path)
        : chart(chart)
        , path(path)
        , reader(path) {}

    void readAll() {
        try {
            reader.readItems(loaded, &control);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        if (whenRead)
            whenRead();
    }

    // The chart's content goes back to what it was before the load.
    void restore() {
        GanttContent dropped = chart.d->adopt(std::move(previous));
        chart.d->touch();
        emit chart.loaded();
    }

    GanttData& chart;
    QString path;
    TimetableReader reader;
    GanttContent previous;
    GanttContent loaded;
    TimetableReader::Control control;
    std::function<void()> whenRead;
    std::thread worker;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    bool started = false;
    bool finished = false;
};

TimetableLoader::TimetableLoader(GanttData& chart, const QString& path)
    : d(std::make_unique<Private>(chart, path)) {
    GanttContent frame;
    d->reader.readFrame(frame);
    // The thread fills items of its own; they find the frame's rows again by key.
    for (const auto& row : frame.rows)
        d->loaded.addRow(row->key(), QString(), QString(), QString(), 0);
    d->previous = chart.d->adopt(std::move(frame));
    chart.d->touch();
    emit chart.loaded();
}

TimetableLoader::~TimetableLoader() {
    d->control.cancel = true;
    if (d->worker.joinable())
        d->worker.join();
    if (!d->finished)
        d->restore();
}

const QString& TimetableLoader::path() const {
    return d->path;
}

qint64 TimetableLoader::itemCount() const {
    return d->reader.itemCount();
}

void TimetableLoader::showFirstScreen(const QStringList& rowKeys, TimePoint from, TimePoint to) {
    if (d->started || !d->reader.hasRowIndex())
        return;
    GanttData::Private& chart = *d->chart.d;
    std::vector<ChartRow*> rows;
    for (const QString& key : rowKeys) {
        if (ChartRow* row = chart.rowOf(key))
            rows.push_back(row);
    }
    try {
        d->reader.readWindow(chart.c, rows, from, to);
    } catch (const AppError&) {
        // The full read says what is wrong with the file.
    }
    chart.claimItems();
    chart.touch();
}

void TimetableLoader::start(std::function<void()> whenRead) {
    if (d->started)
        return;
    d->started = true;
    d->whenRead = std::move(whenRead);
    d->worker = std::thread([this] { d->readAll(); });
}

bool TimetableLoader::reading() const {
    return d->started && !d->done;
}

int TimetableLoader::percent() const {
    if (d->done)
        return 100;
    const qint64 total = std::max<qint64>(1, d->reader.itemCount());
    return int(std::clamp<qint64>(d->control.itemsRead * 100 / total, 0, 99));
}

void TimetableLoader::finish() {
    if (d->finished)
        return;
    if (d->started)
        d->worker.join();
    else
        d->readAll();
    d->started = true;
    if (d->failure) {
        d->finished = true;
        d->restore();
        std::rethrow_exception(d->failure);
    }
    GanttData::Private& chart = *d->chart.d;
    chart.c.takeItems(std::move(d->loaded));
    chart.claimItems();
    d->previous = GanttContent();
    d->finished = true;
    chart.touch();
}
