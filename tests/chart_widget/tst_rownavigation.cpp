#include "chart/GanttData.h"
#include "chart/widget/RowNavigation.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

// The widening searches of RowNavigation against a plain sorted list, on random rows where bookings
// overlap, lie years apart and share starts.
class TstRowNavigation : public QObject {
    Q_OBJECT

private slots:
    void matchesASortedList() {
        QRandomGenerator random(17);
        const TimePoint origin = TimePoint::fromDate(QDate(2026, 1, 1));
        for (int round = 0; round < 40; ++round) {
            GanttData data;
            data.rows().add("R", "Row");
            data.rows().add("Other", "Other");
            std::vector<ChartItem*> sorted;
            const int count = int(random.bounded(1, 60));
            for (int i = 0; i < count; ++i) {
                // Mostly close together, now and then decades away; some long enough to reach over others.
                const std::int64_t spread = random.bounded(4) == 0 ? 3600LL * 24 * 365 * 40 : 3600LL * 24 * 3;
                const TimePoint start =
                    origin.addSeconds(std::int64_t(random.bounded(double(spread))) / 60 * 60 - spread / 2);
                const std::int64_t length =
                    random.bounded(5) == 0 ? 3600LL * 24 * 400 : 60 * (1 + random.bounded(300));
                sorted.push_back(&data.items().add({}, "R", start, start.addSeconds(length),
                                                   "i" + QString::number(i), {}));
                data.items().add({}, "Other", start, start.addSeconds(60), "o" + QString::number(i), {});
            }
            std::stable_sort(sorted.begin(), sorted.end(),
                             [](const ChartItem* a, const ChartItem* b) { return a->start() < b->start(); });
            const RowNavigation row(data, "R");
            QCOMPARE(row.firstFrom(TimePoint::minimum()), sorted.front());
            QCOMPARE(row.lastBefore(TimePoint::maximum()), sorted.back());
            for (std::size_t i = 0; i < sorted.size(); ++i) {
                QCOMPARE(row.next(*sorted[i]), i + 1 < sorted.size() ? sorted[i + 1] : nullptr);
                QCOMPARE(row.previous(*sorted[i]), i > 0 ? sorted[i - 1] : nullptr);
                // Just after this start, and just at it.
                for (const TimePoint t : {sorted[i]->start().addSeconds(1), sorted[i]->start()}) {
                    const auto from = std::find_if(sorted.begin(), sorted.end(),
                                                   [&](const ChartItem* item) { return item->start() >= t; });
                    QCOMPARE(row.firstFrom(t), from == sorted.end() ? nullptr : *from);
                    QCOMPARE(row.lastBefore(t), from == sorted.begin() ? nullptr : *(from - 1));
                }
            }
        }
    }
};

QTEST_MAIN(TstRowNavigation)
#include "tst_rownavigation.moc"
