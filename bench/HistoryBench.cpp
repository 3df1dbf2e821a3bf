#include "HistoryBench.h"

#include "QuietMessenger.h"
#include "board/TimetableHistory.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "model/ChartBatch.h"
#include "model/clsItems.h"

#include <cstdio>
#include <malloc.h>
#include <memory>

namespace {
constexpr int rounds = 21;
constexpr int bigRounds = 5;
constexpr int movesHeld = 1000;
constexpr int seriesMembers = 9999;

// Selects every item it hears of, as the board does, so that a step costs what it costs on the board.
class FollowingMessenger : public QuietMessenger {
public:
    explicit FollowingMessenger(clsItems& items)
        : QuietMessenger(99)
        , m_items(items) {}
    void ItemChanged(QString key, QString senderId) override { follow(key, senderId); }
    void ItemAdded(QString key, QString senderId) override { follow(key, senderId); }

private:
    void follow(const QString& key, const QString& senderId) {
        if (const ChartItem* item = m_items.chart().items().byKey(key))
            m_items.ItemSelected(*item, senderId);
    }
    clsItems& m_items;
};

struct Times {
    std::vector<double> undo;
    std::vector<double> redo;
};

void printTimes(const PrintFigure& print, const QByteArray& name, const std::vector<double>& times) {
    print((name + "_median").constData(), median(times), "ms");
    print((name + "_best").constData(), *std::min_element(times.begin(), times.end()), "ms");
}

Times undoAndRedo(TimetableHistory& history, clsItems& items, int count) {
    Times times;
    for (int round = 0; round < count; ++round) {
        Clock::time_point begin = Clock::now();
        history.undo(items, QStringLiteral("bench"));
        times.undo.push_back(msSince(begin));
        begin = Clock::now();
        history.redo(items, QStringLiteral("bench"));
        times.redo.push_back(msSince(begin));
    }
    return times;
}

void printStep(const PrintFigure& print, const QByteArray& name, const Times& times) {
    printTimes(print, "history_undo_" + name, times.undo);
    printTimes(print, "history_redo_" + name, times.redo);
}

void moveByAnHour(GanttData& chart, clsItems& items, int position) {
    ChartItem& item = *chart.items().byPosition(position);
    item.setSpan(item.start().addSeconds(3600), item.end().addSeconds(3600));
    items.UpdateItem(item, QString());
}

void measureMove(GanttData& chart, clsItems& items, TimetableHistory& history, const PrintFigure& print) {
    std::vector<double> recorded;
    for (int round = 0; round < rounds; ++round) {
        moveByAnHour(chart, items, chart.items().count() / 2);
        const Clock::time_point begin = Clock::now();
        history.record();
        recorded.push_back(msSince(begin));
    }
    printTimes(print, "history_record_move", recorded);
    const ChartItem& moved = *chart.items().byPosition(chart.items().count() / 2);
    const TimePoint after = moved.start();
    printStep(print, "move", undoAndRedo(history, items, rounds));
    history.undo(items, QStringLiteral("bench"));
    if (moved.start() != after.addSeconds(-3600))
        std::fprintf(stderr, "history: the move was not undone\n");
    history.redo(items, QStringLiteral("bench"));
}

void measureMemory(GanttData& chart, clsItems& items, TimetableHistory& history, const PrintFigure& print) {
    history.reset();
    // What the history holds after the moves: what starting it over gives back.
    for (int move = 0; move < movesHeld; ++move) {
        moveByAnHour(chart, items, 1 + move * 97 % chart.items().count());
        history.record();
    }
    const double held = double(mallinfo2().uordblks);
    history.reset();
    const double given = held - double(mallinfo2().uordblks);
    print("history_memory_1000_moves", given / (1024.0 * 1024.0), "MB");
}

void measureSeries(GanttData& chart, clsItems& items, TimetableHistory& history, const PrintFigure& print) {
    history.reset();
    const QString rowKey = bsSupport::NewKey();
    chart.rows().add(rowKey, QStringLiteral("Series resource"));
    history.record();
    const QString seriesKey = bsSupport::NewKey();
    const TimePoint first = chart.items().byPosition(1)->start();
    {
        ChartBatch batch(chart);
        for (int day = 0; day < seriesMembers; ++day) {
            ChartItem& member = chart.items().add(QStringLiteral("Member"), rowKey, first.addDays(day),
                                                  first.addDays(day).addSeconds(3600), bsSupport::NewKey(),
                                                  QStringLiteral("Date"));
            member.setSeriesKey(seriesKey);
            items.Add(member, QString());
        }
    }
    const Clock::time_point begin = Clock::now();
    history.record();
    print("history_record_series_9999", msSince(begin), "ms");
    printStep(print, "series_9999", undoAndRedo(history, items, bigRounds));
}

void measureCleanUp(GanttData& chart, clsItems& items, TimetableHistory& history, TimePoint limit,
                    const PrintFigure& print) {
    history.reset();
    int deleted = 0;
    {
        ChartBatch batch(chart);
        for (int position = chart.items().count(); position >= 1; --position) {
            const ChartItem* item = chart.items().byPosition(position);
            if (item->end().datePart() <= limit && items.Delete(item->key(), QString()))
                ++deleted;
        }
    }
    const Clock::time_point begin = Clock::now();
    history.record();
    print("history_record_cleanup", msSince(begin), "ms");
    print("history_cleanup_deleted", deleted, "items");
    printStep(print, "cleanup", undoAndRedo(history, items, bigRounds));
}
} // namespace

void measureHistory(const QString& path, TimePoint cleanUpLimit, const PrintFigure& print) {
    GanttData chart;
    chart.load(path);
    clsItems items(chart);
    items.ReadItems();
    std::vector<std::unique_ptr<QuietMessenger>> views;
    for (int n = 0; n < 3; ++n)
        views.push_back(std::make_unique<QuietMessenger>(n));
    views.push_back(std::make_unique<FollowingMessenger>(items));
    for (const auto& view : views)
        items.AddMessenger(*view);

    TimetableHistory history(chart);
    measureMove(chart, items, history, print);
    measureMemory(chart, items, history, print);
    measureSeries(chart, items, history, print);
    measureCleanUp(chart, items, history, cleanUpLimit, print);
    history.reset();
    for (const auto& view : views)
        items.RemoveMessenger(*view);
}
