#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttContent.h"
#include "chart/GanttData.h"
#include "chart/TimetableReader.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <algorithm>
#include <map>

namespace {
QStringList keysOf(const std::vector<ChartItem*>& items) {
    QStringList keys;
    for (const ChartItem* item : items)
        keys << item->key();
    return keys;
}

TimePoint seconds(qint64 value) {
    return TimePoint::fromSeconds(value);
}

TimePoint at(int hour, int minute = 0) {
    return TimePoint::fromDate(QDate(2024, 3, 4)).addSeconds(hour * 3600 + minute * 60);
}

// Every item's position agrees with the collection, and the order is the expected one.
void verifyOrder(GanttData& chart, const QStringList& expected) {
    QCOMPARE(chart.items().count(), expected.size());
    for (int position = 1; position <= expected.size(); ++position) {
        ChartItem* item = chart.items().byPosition(position);
        QVERIFY(item);
        QCOMPARE(item->key(), expected[position - 1]);
        QCOMPARE(item->position(), position);
        QCOMPARE(chart.items().find(QString::number(position)), item);
        QCOMPARE(chart.items().byKey(item->key()), item);
    }
    QVERIFY(!chart.items().byPosition(expected.size() + 1));
}

// Random sequences of changes to the chart's items, each step compared with a plain list of spans.
struct Span {
    QString key;
    QString row;
    qint64 start;
    qint64 end;
    quint64 added; // orders equal starts, as the chart's insertion sequence does
    QString series = {};
};

const QStringList seriesKeys{"{S1}", "{S2}", "{S3}"};

class Reference {
public:
    std::vector<Span> items; // in collection order
    QStringList rows;

    [[nodiscard]] Span* find(const QString& key) {
        const auto at = std::find_if(items.begin(), items.end(), [&](const Span& s) { return s.key == key; });
        return at == items.end() ? nullptr : &*at;
    }
    [[nodiscard]] QStringList inRange(const QString& row, qint64 from, qint64 to) const {
        std::vector<const Span*> found;
        for (const Span& span : items) {
            if (span.row == row && span.start < to && span.end > from)
                found.push_back(&span);
        }
        std::sort(found.begin(), found.end(), [](const Span* a, const Span* b) {
            return a->start < b->start || (a->start == b->start && a->added < b->added);
        });
        QStringList keys;
        for (const Span* span : found)
            keys << span->key;
        return keys;
    }
    [[nodiscard]] QStringList members(const QString& series) const {
        QStringList keys;
        for (const Span& span : items) {
            if (span.series == series)
                keys << span.key;
        }
        return keys;
    }
    [[nodiscard]] bool conflicts(const QString& row, qint64 start, qint64 end, const QString& ignore) const {
        if (end <= start)
            return true;
        return std::any_of(items.begin(), items.end(), [&](const Span& s) {
            return s.key != ignore && s.row == row && s.start < end && s.end > start;
        });
    }
};

class RandomSequence {
public:
    RandomSequence(quint32 seed)
        : m_random(seed) {
        for (int i = 0; i < 3; ++i)
            addRow();
    }

    void step() {
        using Change = void (RandomSequence::*)();
        static const std::pair<int, Change> weighted[] = {
            {30, &RandomSequence::addItem},        {15, &RandomSequence::changeEnd},
            {10, &RandomSequence::changeStart},    {10, &RandomSequence::changeSpan},
            {10, &RandomSequence::moveToOtherRow}, {13, &RandomSequence::removeItem},
            {3, &RandomSequence::removeRow},       {2, &RandomSequence::addRow},
            {4, &RandomSequence::changeSeries},    {3, &RandomSequence::toggleBatch},
            {3, &RandomSequence::moveRow},         {3, &RandomSequence::placeItems}};
        int choice = m_random.bounded(106);
        for (const auto& [weight, change] : weighted) {
            choice -= weight;
            if (choice < 0 || m_ref.items.empty())
                return (this->*change)();
        }
    }

    void finish() {
        while (m_batchDepth > 0) {
            m_chart.items().endBatch();
            --m_batchDepth;
        }
    }

    // Compares everything the chart answers with the reference; stops at the first difference.
    void verify() {
        QCOMPARE(m_chart.rows().count(), int(m_ref.rows.size()));
        for (int position = 1; position <= int(m_ref.rows.size()); ++position) {
            const ChartRow* row = m_chart.rows().byPosition(position);
            QCOMPARE(row->key(), m_ref.rows[position - 1]);
            QCOMPARE(row->position(), position);
            QCOMPARE(m_chart.rows().byKey(row->key()), row);
        }
        QCOMPARE(m_chart.items().count(), int(m_ref.items.size()));
        for (int position = 1; position <= int(m_ref.items.size()); ++position) {
            const ChartItem* item = m_chart.items().byPosition(position);
            QVERIFY(item);
            const Span& span = m_ref.items[std::size_t(position - 1)];
            QCOMPARE(item->key(), span.key);
            QCOMPARE(item->position(), position);
            QCOMPARE(m_chart.items().find(QString::number(position)), item);
            QCOMPARE(item->rowKey(), span.row);
            QCOMPARE(item->start().seconds(), span.start);
            QCOMPARE(item->end().seconds(), span.end);
            QCOMPARE(m_chart.items().byKey(span.key), item);
            QCOMPARE(m_chart.items().byHandle(item->handle()), item);
            QVERIFY(item->hasKey(span.key));
        }
        for (const QString& series : seriesKeys)
            QCOMPARE(keysOf(m_chart.items().seriesMembers(series)), m_ref.members(series));
        // Removed items are found neither by key nor by handle, whoever took their place.
        for (const auto& [key, handle] : m_gone) {
            QCOMPARE(m_chart.items().byHandle(handle), nullptr);
            if (!m_ref.find(key))
                QCOMPARE(m_chart.items().byKey(key), nullptr);
        }
        for (const QString& row : m_ref.rows) {
            QCOMPARE(keysOf(m_chart.itemsInRange(row, seconds(-1000), seconds(1000))),
                     m_ref.inRange(row, -1000, 1000));
            const qint64 from = time();
            const qint64 to = from + m_random.bounded(1, 12);
            QCOMPARE(keysOf(m_chart.itemsInRange(row, seconds(from), seconds(to))),
                     m_ref.inRange(row, from, to));
            const Span* ignored = m_ref.items.empty() ? nullptr : &m_ref.items[pick()];
            const QString ignoredKey = ignored ? ignored->key : QString();
            const ChartItem* ignoredItem = ignored ? m_chart.items().byKey(ignoredKey) : nullptr;
            const qint64 end = from + m_random.bounded(-2, 12); // also empty and inverted spans
            const bool conflicts = m_ref.conflicts(row, from, end, ignoredKey);
            QCOMPARE(m_chart.conflicts(seconds(from), seconds(end), row, ignoredItem), conflicts);
            QCOMPARE(m_chart.conflictsExcept(seconds(from), seconds(end), row,
                                             ignored ? ignoredItem->position() : 0),
                     conflicts);
        }
    }

    // The file of the chart loads into the same items, rows ordered during the load, and its row
    // index answers a first screen as the loaded chart does.
    void verifyLoadedCopy(const QString& path) {
        m_chart.save(path);
        GanttData loaded;
        loaded.load(path);
        Reference inFile = m_ref;
        for (std::size_t i = 0; i < inFile.items.size(); ++i)
            inFile.items[i].added = i; // the load adds items in their order
        QCOMPARE(loaded.items().count(), int(inFile.items.size()));
        for (int position = 1; position <= int(inFile.items.size()); ++position) {
            const ChartItem* item = loaded.items().byPosition(position);
            QCOMPARE(item->key(), inFile.items[std::size_t(position - 1)].key);
            QCOMPARE(loaded.items().byKey(item->key()), item);
        }
        for (const QString& series : seriesKeys)
            QCOMPARE(keysOf(loaded.items().seriesMembers(series)), inFile.members(series));
        TimetableReader reader(path);
        GanttContent firstScreen;
        reader.readFrame(firstScreen);
        const qint64 from = time();
        const qint64 to = from + m_random.bounded(1, 20);
        std::vector<ChartRow*> rows;
        for (const auto& row : firstScreen.rows)
            rows.push_back(row.get());
        reader.readWindow(firstScreen, rows, seconds(from), seconds(to));
        for (const QString& row : inFile.rows) {
            QCOMPARE(keysOf(loaded.itemsInRange(row, seconds(-1000), seconds(1000))),
                     inFile.inRange(row, -1000, 1000));
            const QStringList expected = inFile.inRange(row, from, to);
            QCOMPARE(keysOf(loaded.itemsInRange(row, seconds(from), seconds(to))), expected);
            QStringList shown;
            for (const ChartItem* item : firstScreen.itemsOf(*firstScreen.rowByKey.value(row)).items())
                shown << firstScreen.keyText(*item);
            QCOMPARE(shown, expected);
        }
    }

private:
    qint64 time() { return m_random.bounded(40); }
    std::size_t pick() { return std::size_t(m_random.bounded(int(m_ref.items.size()))); }
    QString anyRow() { return m_ref.rows[m_random.bounded(int(m_ref.rows.size()))]; }
    ChartItem& chartItem(const Span& span) { return *m_chart.items().byKey(span.key); }

    // Now and then under the key of a removed row, which must come back empty.
    void addRow() {
        const bool reuse = !m_goneRows.isEmpty() && m_random.bounded(2) == 0;
        const QString key = reuse ? m_goneRows.takeLast() : QStringLiteral("R%1").arg(m_nextRow++);
        m_chart.rows().add(key, key);
        m_ref.rows << key;
    }

    // Keys of every form the chart keeps apart: its own GUIDs, GUIDs in other letters, free text.
    QString newKey() {
        const quint64 bits[] = {m_random.generate64(), m_random.generate64()};
        const QString guid =
            QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bits), 16)).toString();
        const int form = m_random.bounded(3);
        return form == 0 ? guid.toUpper() : form == 1 ? guid : QStringLiteral("K%1").arg(m_nextItem);
    }

    void addItem() {
        if (m_ref.rows.isEmpty())
            addRow();
        const QString key = newKey();
        const qint64 start = time();
        const qint64 end = start + m_random.bounded(0, 8);
        const QString row = anyRow();
        m_chart.items().add(key, row, seconds(start), seconds(end), key, QStringLiteral("Date"));
        m_ref.items.push_back({key, row, start, end, m_nextItem++});
    }

    void changeEnd() {
        Span& span = m_ref.items[pick()];
        span.end = span.start + m_random.bounded(0, 8);
        chartItem(span).setEnd(seconds(span.end));
    }

    void changeStart() {
        Span& span = m_ref.items[pick()];
        span.start = std::min<qint64>(time(), span.end);
        chartItem(span).setStart(seconds(span.start));
    }

    void changeSpan() {
        Span& span = m_ref.items[pick()];
        // Often the same start, the shape of an edit that changes only the end in a dialog.
        if (m_random.bounded(2) == 0)
            span.start = time();
        span.end = span.start + m_random.bounded(1, 8);
        chartItem(span).setSpan(seconds(span.start), seconds(span.end));
    }

    void changeSeries() {
        Span& span = m_ref.items[pick()];
        span.series =
            m_random.bounded(4) == 0 ? QString() : seriesKeys[m_random.bounded(int(seriesKeys.size()))];
        chartItem(span).setSeriesKey(span.series);
    }

    void moveToOtherRow() {
        Span& span = m_ref.items[pick()];
        span.row = anyRow();
        chartItem(span).setRowKey(span.row);
    }

    void removeItem() {
        const std::size_t index = pick();
        const Span& span = m_ref.items[index];
        m_gone.push_back({span.key, chartItem(span).handle()});
        if (m_random.bounded(2) == 0)
            m_chart.items().remove(span.key);
        else
            m_chart.items().remove(QString::number(index + 1));
        m_ref.items.erase(m_ref.items.begin() + std::ptrdiff_t(index));
    }

    // By key or by position.
    void removeRow() {
        if (m_ref.rows.isEmpty())
            return;
        const QString row = anyRow();
        for (const Span& span : m_ref.items) {
            if (span.row == row)
                m_gone.push_back({span.key, chartItem(span).handle()});
        }
        m_chart.rows().remove(m_random.bounded(2) ? row : QString::number(m_ref.rows.indexOf(row) + 1));
        m_ref.rows.removeOne(row);
        m_goneRows << row;
        std::erase_if(m_ref.items, [&](const Span& s) { return s.row == row; });
    }

    // Also to positions beyond either end, which the chart clamps.
    void moveRow() {
        if (m_ref.rows.isEmpty())
            addRow();
        const QString row = anyRow();
        const int position = m_random.bounded(int(m_ref.rows.size()) + 2);
        m_chart.rows().move(row, position);
        m_ref.rows.removeOne(row);
        m_ref.rows.insert(std::clamp(position, 1, int(m_ref.rows.size()) + 1) - 1, row);
    }

    // Up to three items to chosen positions, the others keeping their order in the places left.
    void placeItems() {
        const int total = int(m_ref.items.size());
        std::map<int, std::size_t> chosen; // position -> the item's index
        std::vector<bool> taken(std::size_t(total), false);
        for (int n = m_random.bounded(1, 4); n > 0; --n) {
            const std::size_t index = pick();
            if (!taken[index] && chosen.emplace(m_random.bounded(1, total + 1), index).second)
                taken[index] = true;
        }
        std::vector<std::pair<QString, int>> list;
        std::vector<Span> placed(static_cast<std::size_t>(total));
        for (const auto& [position, index] : chosen) {
            list.emplace_back(m_ref.items[index].key, position);
            placed[std::size_t(position - 1)] = m_ref.items[index];
        }
        std::size_t free = 0;
        for (std::size_t index = 0; index < std::size_t(total); ++index) {
            if (taken[index])
                continue;
            while (chosen.contains(int(free) + 1))
                ++free;
            placed[free++] = m_ref.items[index];
        }
        m_chart.items().placeAt(list);
        m_ref.items = std::move(placed);
    }

    void toggleBatch() {
        if (m_batchDepth > 0 && m_random.bounded(2) == 0) {
            m_chart.items().endBatch();
            --m_batchDepth;
        } else if (m_batchDepth < 3) {
            m_chart.items().beginBatch();
            ++m_batchDepth;
        }
    }

    QRandomGenerator m_random;
    GanttData m_chart;
    Reference m_ref;
    std::vector<std::pair<QString, ItemHandle>> m_gone;
    QStringList m_goneRows;
    int m_nextRow = 1;
    quint64 m_nextItem = 1;
    int m_batchDepth = 0;
};
} // namespace

class TstGanttData : public QObject {
    Q_OBJECT
private slots:
    void randomSequencesAgreeWithPlainSpans() {
        const int sequences = qEnvironmentVariableIntValue("QUNTA_RANDOM_SEQUENCES") > 0
                                  ? qEnvironmentVariableIntValue("QUNTA_RANDOM_SEQUENCES")
                                  : 1000;
        for (int seed = 1; seed <= sequences; ++seed) {
            RandomSequence sequence{quint32(seed)};
            for (int step = 0; step < 120; ++step) {
                sequence.step();
                sequence.verify();
                if (QTest::currentTestFailed())
                    QFAIL(qPrintable(QStringLiteral("seed %1, step %2").arg(seed).arg(step)));
            }
            sequence.finish();
            sequence.verify();
        }
    }

    void loadedCopiesAgreeWithPlainSpans() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("copy.qtf"));
        for (int seed = 1; seed <= 60; ++seed) {
            RandomSequence sequence{quint32(seed)};
            for (int step = 0; step < 200; ++step)
                sequence.step();
            sequence.finish();
            sequence.verifyLoadedCopy(path);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("seed %1").arg(seed)));
        }
    }

    void endOnlyChangeThenRemovalLeavesNoStaleEntry() {
        // The shortest sequence that used to leave a removed item in its row's index.
        GanttData chart;
        chart.rows().add("A", "A");
        chart.rows().add("B", "B");
        ChartItem& item = chart.items().add("x", "A", seconds(10), seconds(20), "X", "Date");
        QVERIFY(chart.itemsInRange("A", seconds(0), seconds(100)).size() == 1);
        item.setEnd(seconds(30));
        item.setRowKey("B");
        QVERIFY(chart.itemsInRange("A", seconds(0), seconds(100)).empty());
        QVERIFY(!chart.conflicts(seconds(10), seconds(20), "A"));
        chart.rows().remove("A");
        QCOMPARE(chart.items().count(), 1);
        chart.items().remove("X");
        QVERIFY(chart.itemsInRange("B", seconds(0), seconds(100)).empty());
    }

    void removalsKeepPositions() {
        GanttData chart;
        chart.rows().add("R1", "Room 1");
        chart.rows().add("R2", "Room 2");
        const int total = 6000;
        for (int i = 0; i < total; ++i)
            chart.items().add("c", i % 2 ? "R1" : "R2", at(0).addSeconds(i * 60),
                              at(0).addSeconds(i * 60 + 30), QString("K%1").arg(i), "Date");
        QStringList expected;
        chart.items().beginBatch();
        for (int position = total; position >= 1; --position) {
            ChartItem* item = chart.items().byPosition(position);
            QCOMPARE(item->position(), position);
            if (position % 3 == 0)
                chart.items().remove(QString::number(position));
            else
                expected.prepend(item->key());
        }
        // Positions are right inside the batch already, not only after it.
        verifyOrder(chart, expected);
        chart.items().endBatch();
        verifyOrder(chart, expected);
        QCOMPARE(keysOf(chart.itemsInRange("R1", at(0), at(0).addSeconds(total * 60))).size() +
                     keysOf(chart.itemsInRange("R2", at(0), at(0).addSeconds(total * 60))).size(),
                 expected.size());
        QStringList left;
        for (int i = 0; i < expected.size(); ++i) {
            if (i % 5 == 0)
                left << expected[i];
            else
                chart.items().remove(expected[i]);
        }
        verifyOrder(chart, left);
    }

    void batchesAnnounceOnceAtTheOutermostEnd() {
        GanttData chart;
        chart.rows().add("R1", "Room 1");
        QSignalSpy spy(&chart, &GanttData::changed);
        chart.items().beginBatch();
        chart.items().beginBatch();
        chart.items().add("c", "R1", at(8), at(9), "A", "");
        chart.items().endBatch();
        chart.items().byKey("A")->setStart(at(7));
        chart.rows().add("R3", "Room 3");
        QCOMPARE(spy.count(), 0);
        chart.items().endBatch();
        QCOMPARE(spy.count(), 1);
        // An empty batch announces nothing; a surplus end is harmless.
        chart.items().beginBatch();
        chart.items().endBatch();
        chart.items().endBatch();
        QCOMPARE(spy.count(), 1);
        chart.items().remove("A");
        QCOMPARE(spy.count(), 2);
        // A row goes with its items in one change.
        chart.items().add("c", "R3", at(8), at(9), "C", "");
        chart.items().add("d", "R3", at(9), at(10), "D", "");
        chart.rows().remove("2");
        QCOMPARE(spy.count(), 5);
        QCOMPARE(chart.items().count(), 0);
        // A bulk change silences everything until it ends.
        chart.setBulkChange(false);
        chart.items().add("c", "R1", at(8), at(9), "B", "");
        chart.items().beginBatch();
        chart.items().remove("B");
        chart.items().endBatch();
        chart.redraw();
        chart.setBulkChange(true);
        QCOMPARE(spy.count(), 5);
        chart.redraw();
        QCOMPARE(spy.count(), 6);
    }

    void overlappingItemsStillFound() {
        GanttData chart;
        chart.rows().add("R1", "Room 1");
        // A long item early in the row reaches past many short ones that end before the query.
        chart.items().add("long", "R1", at(0), at(23), "LONG", "");
        for (int i = 0; i < 40; ++i)
            chart.items().add("short", "R1", at(1).addSeconds(i * 600), at(1).addSeconds(i * 600 + 60),
                              QString("S%1").arg(i), "");
        QVERIFY(chart.conflicts(at(20), at(21), "R1"));
        QVERIFY(!chart.conflicts(at(20), at(21), "R1", chart.items().byKey("LONG")));
        QCOMPARE(keysOf(chart.itemsInRange("R1", at(20), at(21))), QStringList{"LONG"});
        QCOMPARE(keysOf(chart.itemsInRange("R1", at(1), at(1, 11))), (QStringList{"LONG", "S0", "S1"}));
        // By position: 0 and positions beyond the last ignore nothing.
        QVERIFY(!chart.conflictsExcept(at(20), at(21), "R1", 1));
        QVERIFY(chart.conflictsExcept(at(20), at(21), "R1", 0));
        QVERIFY(chart.conflictsExcept(at(20), at(21), "R1", 99));
    }

    void refusedChangesLeaveTheIndexAlone() {
        GanttData chart;
        chart.rows().add("R1", "Room 1");
        ChartItem& a = chart.items().add("a", "R1", at(8), at(9), "A", "");
        a.setStart(at(12));
        QCOMPARE(a.end(), at(9)); // setStart alone leaves the end, even behind the start
        QVERIFY_THROWS_EXCEPTION(AppError, a.setRowKey("NOWHERE"));
        QCOMPARE(a.rowKey(), QString("R1"));
        a.setEnd(at(13));
        QCOMPARE(keysOf(chart.itemsInRange("R1", at(0), at(24))), QStringList{"A"});
        QVERIFY(!chart.conflicts(at(8), at(9), "R1"));
        chart.items().add("x", "R1", at(1), at(2), "X", "");
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().add("y", "R1", at(1), at(2), "X", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().add("y", "R1", at(3), at(4), "", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().add("y", "R1", at(3), at(4), "12", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().add("y", "R9", at(3), at(4), "B", ""));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.rows().add("R1", "again"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.styles().add("7"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().get("B"));
        QVERIFY_THROWS_EXCEPTION(AppError, chart.items().remove("3"));
        QCOMPARE(chart.items().count(), 2);
        QVERIFY(!chart.items().find("0"));
        QVERIFY(!chart.items().find("99999999999999999999"));
        QVERIFY(chart.conflicts(at(1), at(2), "R1"));
    }

    void removingColumnShiftsCells() {
        GanttData chart;
        ChartRow& row = chart.rows().add("R1", "Room 1");
        chart.headingColumns().add("A", 50);
        chart.headingColumns().add("B", 60);
        row.setCell(1, "a1");
        row.setCell(2, "b1", "Resources");
        chart.headingColumns().remove(1);
        QCOMPARE(chart.headingColumns().byPosition(1)->caption, QString("B"));
        QCOMPARE(row.cell(1), (ChartRow::Cell{"b1", "Resources"}));
        QVERIFY(row.cell(2).text.isEmpty());
        QVERIFY_THROWS_EXCEPTION(AppError, chart.headingColumns().remove(5));
    }

    void addonTextNeedsItsStyle() {
        GanttData chart;
        QVERIFY_THROWS_EXCEPTION(AppError, chart.addonText());
        QVERIFY_THROWS_EXCEPTION(AppError, chart.setAddonText("x"));
        CreateDefaultStyles(chart);
        AddonStore& store = chart;
        store.setAddonText(QString("a") + QChar(255) + "b" + QChar(254));
        QCOMPARE(chart.styles().byKey("Addon")->freeText, QString("a") + QChar(255) + "b" + QChar(254));
    }
};

QTEST_GUILESS_MAIN(TstGanttData)
#include "tst_ganttdata.moc"
