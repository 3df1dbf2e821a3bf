#include "FileBytes.h"
#include "SqlScript.h"
#include "app/AppError.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttContent.h"
#include "chart/GanttData.h"
#include "chart/TimetableFile.h"
#include "chart/TimetableLoader.h"
#include "chart/TimetableReader.h"
#include "chart/TimetableValueCheck.h"

#include <QDir>
#include <QFile>
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

const QString oddText = QString("a") + QChar(0) + "b" + QChar(254) + QChar(255) + "\r\n" +
                        QString::fromUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80 \xE6\x97\xA5");

constexpr qint64 hour = 3600;

// A timetable as users fill one: texts repeated over many items and texts of one item alone, empty
// and very long ones, overlapping bookings, keys of every form.
void fill(GanttData& chart, quint32 seed, int items) {
    QRandomGenerator random(seed);
    CreateDefaultStyles(chart);
    for (int r = 0; r < 40; ++r)
        chart.rows().add(QStringLiteral("R%1").arg(r), QStringLiteral("Resource %1").arg(r));
    const QStringList shared{"", "Meeting", "meeting", "Ärger im Büro", QString(5000, u'w'), "Lunch"};
    for (int i = 0; i < items; ++i) {
        const QString key =
            i % 3 == 0
                ? QStringLiteral("{%1-0000-4000-8000-000000000000}").arg(i, 8, 16, QChar('0')).toUpper()
                : QStringLiteral("item %1").arg(i);
        const qint64 start = qint64(random.bounded(2000)) * hour;
        ChartItem& item =
            chart.items().add(shared[int(random.bounded(shared.size()))],
                              QStringLiteral("R%1").arg(random.bounded(40)), TimePoint::fromSeconds(start),
                              TimePoint::fromSeconds(start + qint64(random.bounded(1, 200)) * hour), key,
                              random.bounded(2) ? "Date" : "Meeting");
        item.setText(random.bounded(2) ? shared[int(random.bounded(shared.size()))]
                                       : QStringLiteral("note %1").arg(random.generate()));
        if (random.bounded(10) == 0)
            item.setPicture(QStringLiteral("/pictures/%1.png").arg(random.bounded(3)));
        if (random.bounded(5) == 0)
            item.setSeriesKey(QStringLiteral("{SERIES-%1}").arg(random.bounded(4)));
        item.setMovementLock(random.bounded(2) ? 2 : 0);
        item.setTag(random.bounded(20) == 0 ? QStringLiteral("tagged") : QString());
    }
}

// Every field of every item, in position order.
QStringList itemLines(const GanttData& chart) {
    QStringList lines;
    for (int position = 1; position <= chart.items().count(); ++position) {
        const ChartItem& item = *chart.items().byPosition(position);
        lines << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11|%12|%13")
                     .arg(item.key(), item.rowKey(), QString::number(item.start().seconds()),
                          QString::number(item.end().seconds()), item.caption(), item.text(), item.styleKey(),
                          item.picture(), item.addOnData(), item.seriesKey(),
                          QString::number(item.movementLock()), item.addTag(), item.tag());
    }
    return lines;
}

QStringList keysIn(const GanttData& chart, const QString& row, TimePoint from, TimePoint to) {
    return keysOf(chart.itemsInRange(row, from, to));
}

// Every row's items reaching into the span, as the chart's row index answers.
QStringList rowLines(const GanttData& chart, TimePoint from, TimePoint to) {
    QStringList lines;
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const QString row = chart.rows().byPosition(position)->key();
        lines << row + ':' + keysIn(chart, row, from, to).join(',');
    }
    return lines;
}

TimePoint hours(qint64 count) {
    return TimePoint::fromSeconds(count * hour);
}

// The chart before a load: content that must come back whole when the load does not succeed.
void fillPrevious(GanttData& chart) {
    CreateDefaultStyles(chart);
    chart.rows().add("OLD", "Old resource");
    chart.items().add("old booking", "OLD", hours(0), hours(1), "{OLD}", "Date").setText("kept");
}

void compareContent(GanttData& a, GanttData& b) {
    QCOMPARE(a.rows().count(), b.rows().count());
    for (int i = 1; i <= a.rows().count(); ++i)
        QVERIFY2(a.rows().byPosition(i)->sameContent(*b.rows().byPosition(i)),
                 qPrintable(QString::number(i)));
    QCOMPARE(a.styles().count(), b.styles().count());
    for (int i = 1; i <= a.styles().count(); ++i) {
        QCOMPARE(a.styles().byPosition(i)->key(), b.styles().byPosition(i)->key());
        QVERIFY(a.styles().byPosition(i)->sameProperties(*b.styles().byPosition(i)));
    }
    QCOMPARE(a.headingColumns().count(), b.headingColumns().count());
    for (int i = 1; i <= a.headingColumns().count(); ++i)
        QCOMPARE(*a.headingColumns().byPosition(i), *b.headingColumns().byPosition(i));
    QCOMPARE(itemLines(a), itemLines(b));
    QVERIFY(a.settings() == b.settings());
}

// Gives every setting a value other than its default.
void changeEverySetting(ChartSettings& s) {
    s.scale = 13;
    s.gridInterval = "2h";
    s.showGrid = false;
    s.snapToGrid = false;
    s.moveWholeDaysOnly = true;
    s.markCoreTimes = false;
    for (int day = 0; day < ChartSettings::weekdays; ++day) {
        for (int period = 0; period < ChartSettings::coreTimePeriods; ++period)
            s.coreTimes[day][period] = {day * 3600 + period * 60 + 1, day * 3600 + period * 60 + 2};
    }
    s.leadInAmount = 3;
    s.leadInInterval = "n";
    s.firstShownTime = TimePoint::fromSeconds(-86400 * 3 + 17);
    s.firstShownRow = 42;
    s.defaultItemStyle = oddText;
    s.allowAdd = s.allowEdit = s.allowRowSize = s.allowRowSwap = false;
    s.allowRowHeadingSwap = s.allowRowHeadingSize = s.allowFixedColumnSize = s.allowTimelineScroll = false;
    s.detectConflicts = s.scrollBarsVisible = s.showUpperBand = s.showLowerBand = s.showTimeline = false;
    s.timelineBack = 1;
    s.timelineFore = 2;
    s.background = 3;
    s.timeline2 = 4;
    s.grid = 5;
    s.coreTimeStart = 6;
    s.coreTimeEnd = 0xFFFFFFFF;
    s.borderStyle = 2;
    s.timelineStyle = 0;
    s.dividerStyle = 2;
    s.timelineExtent = 2;
    for (int zoom = 0; zoom < ChartSettings::zoomLevels; ++zoom) {
        for (int kind = 1; kind <= ChartSettings::captionKinds; ++kind)
            s.setBandCaptionFormat(zoom, kind, QString("f%1.%2").arg(zoom).arg(kind));
    }
    s.setBandCaptionFormat(3, 2, QString());
    s.timeCaptionFormat = "hh:nn ";
    s.truncateCaptions = true;
    s.upperBandFont = {"Upper", 7.5, true, false, true, false};
    s.lowerBandFont = {"Lower", 12.25, false, true, false, true};
    for (int kind = 1; kind <= ChartSettings::calendarKinds; ++kind) {
        for (int type = 1; type <= 2; ++type) {
            for (int index = 0; index < ChartSettings::calendarIndexCount(kind); ++index)
                s.setCalendarColour(kind, type, index, quint32(kind * 1000 + type * 100 + index));
        }
    }
    s.defaultRowHeight = 33;
    s.headingWidth = 123;
}

void fillChart(GanttData& chart) {
    CreateDefaultStyles(chart);
    chart.setAddonText(oddText);
    ChartStyle& style = chart.styles().add(oddText);
    style.kind = 5;
    style.fixedItem = true;
    style.backColor = 0x123456;
    style.foreColor = 0xFEDCBA;
    style.font = {oddText, 11.5, true, true, true, true};
    style.borderShown = 0;
    style.borderAppearance = 0;
    style.horizontalAlignment = 3;
    style.verticalAlignment = 3;
    style.focusShown = true;
    style.focusDistanceX = 4;
    style.focusDistanceY = 5;
    style.clipCaption = true;
    style.captionIndent = 6;
    style.freeText = "free";

    chart.headingColumns().add(oddText, 120, "Resources");
    ChartRow& room = chart.rows().add("{ROOM}", oddText, "Resources", "/pictures/room.png", 31);
    room.setCell(1, "Ground floor");
    room.setCell(2, oddText, oddText);
    chart.rows().add("{CAR}", "Car", QString(), QString(), 0);

    ChartItem& item = chart.items().add(oddText, "{ROOM}", TimePoint::fromDays(45000.25),
                                        TimePoint::fromDays(45000.5), "{ITEM-1}", "Date Fixed", oddText, "0");
    item.setText(oddText);
    item.setAddOnData(oddText);
    item.setSeriesKey("{SERIES}");
    item.setMovementLock(2);
    item.setTag(oddText);
    // Overlapping, inverted and style-less items are kept as they are.
    chart.items().add("b", "{ROOM}", TimePoint::fromDays(45000.3), TimePoint::fromDays(45000.2), "{ITEM-2}",
                      "");
    chart.items().add("c", "{CAR}", TimePoint::fromSeconds(-5), TimePoint::fromSeconds(0), "{ITEM-3}",
                      "Gone");
    changeEverySetting(chart.settings());
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({"*.tmp-*"}, QDir::Files | QDir::Hidden);
}

// Runs `action`, which must fail with an error whose description holds every one of `parts`.
template <typename Action> void expectError(Action action, const QStringList& parts) {
    try {
        action();
        QFAIL(qPrintable("no error, expected: " + parts.join(' ')));
    } catch (const AppError& error) {
        for (const QString& part : parts)
            QVERIFY2(error.description().contains(part), qPrintable(error.description()));
    }
}
} // namespace

// The chart's data: its collections and indexes, and its timetable files.
class TstChartData : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString written(quint32 seed, int items, GanttData& chart) {
        const QString path = dir.filePath(QStringLiteral("plan-%1-%2.qtf").arg(seed).arg(items));
        fill(chart, seed, items);
        chart.save(path);
        return path;
    }

private slots:
    void init() { QVERIFY(dir.isValid()); }

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

    void roundTripKeepsEveryField() {
        GanttData original;
        fillChart(original);
        QVERIFY(!(original.settings() == ChartSettings()));
        const QString path = dir.filePath("round.qtf");
        original.save(path);
        GanttData loaded;
        loaded.rows().add("OLD", "replaced by the load");
        QSignalSpy spy(&loaded, &GanttData::changed);
        loaded.load(path);
        QCOMPARE(spy.count(), 1);
        compareContent(original, loaded);
        QCOMPARE(loaded.addonText(), oddText);
        // The loaded indexes work: a span around the inverted item collides, the touching one does not.
        QVERIFY(loaded.conflicts(TimePoint::fromDays(45000.1), TimePoint::fromDays(45000.35), "{ROOM}",
                                 loaded.items().byKey("{ITEM-1}")));
        QVERIFY(!loaded.conflicts(TimePoint::fromSeconds(0), TimePoint::fromSeconds(10), "{CAR}"));
        // Saving over an existing file replaces it and leaves nothing behind.
        loaded.items().remove("{ITEM-2}");
        loaded.save(path);
        GanttData again;
        again.load(path);
        compareContent(loaded, again);
        QVERIFY(leftovers(dir.path()).isEmpty());
        // An empty chart comes back empty over a filled one.
        GanttData empty;
        empty.save(path);
        again.load(path);
        compareContent(empty, again);
    }

    void refusedFilesLeaveChartAlone_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QString& damage, const QString& message) {
            QTest::newRow(name) << damage << message;
        };
        row("missing", "missing", "does not exist");
        row("folder", "folder", "is not a timetable file");
        row("empty file", "empty", "is not a timetable file");
        row("random bytes", "random", "is not a timetable file");
        row("other program", "foreign", "is not a timetable file");
        row("newer version", "newer", "newer version");
        row("truncated", "truncated", "is damaged");
        row("missing table", "PRAGMA user_version = 1; DROP TABLE styles;", "is damaged: no such table");
        row("duplicate item key",
            "UPDATE items SET key = (SELECT key FROM items WHERE position = 1) WHERE position = 2;",
            "is damaged: There is already a item");
        row("duplicate row key", "INSERT INTO rows SELECT 99, key, 'x', '', '', 0 FROM rows LIMIT 1;",
            "is damaged");
        row("numeric style key", "UPDATE styles SET key = '17' WHERE position = 1;", "is damaged");
        row("empty row key of an item", "UPDATE items SET row_key = '' WHERE position = 1;", "is damaged");
        row("text as scale", "UPDATE settings SET value = 'big' WHERE name = 'scale';",
            "is damaged: the setting 'scale'");
        row("scale out of range", "UPDATE settings SET value = 16 WHERE name = 'scale';",
            "is damaged: the scale 16");
        row("huge colour", "UPDATE styles SET back_color = 4294967296 WHERE position = 1;", "is damaged");
        // Values of the wrong type, in tables without the planner's constraints.
        const QString loose =
            "CREATE TABLE copy AS SELECT * FROM %1; DROP TABLE %1; ALTER TABLE copy RENAME TO %1;";
        row("text as start", "UPDATE items SET start_time = 'soon' WHERE position = 1;",
            "is damaged: the start of an item has a value of the wrong type");
        row("null as end", loose.arg("items") + "UPDATE items SET end_time = NULL WHERE rowid = 1;",
            "is damaged: the end of an item has a value of the wrong type");
        row("null as caption", loose.arg("rows") + "UPDATE rows SET caption = NULL;",
            "is damaged: a caption has a value of the wrong type");
        row("blob as caption", "UPDATE items SET caption = x'00ff' WHERE position = 1;",
            "is damaged: a caption has a value of the wrong type");
        row("real as height", "UPDATE rows SET height = 2.5;",
            "is damaged: a row height has a value of the wrong type");
        row("blob as font name", "UPDATE styles SET font_name = x'41' WHERE position = 2;",
            "is damaged: a font name has a value of the wrong type");
        row("endless font size", "UPDATE styles SET font_size = 1e999 WHERE position = 2;",
            "is damaged: a font size has a value of the wrong type");
        row("text as grid", "UPDATE settings SET value = 15 WHERE name = 'grid_interval';",
            "is damaged: the setting 'grid_interval' has a value of the wrong type");
        // Values outside their ranges.
        row("earliest time", "UPDATE items SET start_time = -9223372036854775808 WHERE position = 1;",
            "is damaged: the start of an item -9223372036854775808 is out of range");
        row("latest time", "UPDATE items SET end_time = 255611462400 WHERE position = 1;",
            "is damaged: the end of an item 255611462400 is out of range");
        row("tallest row", "UPDATE rows SET height = 2147483647;",
            "is damaged: the row height 2147483647 is out of range (0 to 10000)");
        row("height beyond int", "UPDATE rows SET height = 4294967296;",
            "is damaged: a row height 4294967296 is out of range");
        row("widest column", "UPDATE heading_columns SET width = 10001;",
            "is damaged: the column width 10001 is out of range");
        row("negative indent", "UPDATE styles SET caption_indent = -1 WHERE position = 3;",
            "is damaged: the caption indent -1 is out of range");
        row("huge font", "UPDATE styles SET font_size = 5000 WHERE position = 2;",
            "is damaged: the style font size 5000 is out of range");
        row("style kind 3", "UPDATE styles SET kind = 3 WHERE position = 2;",
            "is damaged: the style kind 3 is neither 1 nor 5");
        row("switch of 2", "UPDATE styles SET fixed_item = 2 WHERE position = 2;",
            "is damaged: a style's fixing 2 is out of range (0 to 1)");
        row("movement lock 7", "UPDATE items SET movement_lock = 7 WHERE position = 1;",
            "is damaged: the movement lock 7 is out of range");
        row("first shown time",
            "UPDATE settings SET value = 9223372036854775807 WHERE name = 'first_shown_time';",
            "is damaged: the setting 'first_shown_time' 9223372036854775807 is out of range");
        row("lead-in", "UPDATE settings SET value = -2147483648 WHERE name = 'lead_in_amount';",
            "is damaged: the lead-in -2147483648 is out of range");
        row("setting switch of 5", "UPDATE settings SET value = 5 WHERE name = 'show_grid';",
            "is damaged: the setting 'show_grid' 5 is out of range");
        row("too many heading columns",
            "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 4200) "
            "INSERT INTO heading_columns SELECT i, 'c', 10, '' FROM n;",
            "is damaged: there are more than 4096 heading columns");
        // Texts longer than their limits.
        row("long font name",
            "UPDATE styles SET font_name = substr(hex(zeroblob(600)), 1, 1025) WHERE position = 2;",
            "is damaged: the style font name is longer than 1024 bytes");
        row("16 MB font name", "UPDATE styles SET font_name = hex(zeroblob(8388608)) WHERE position = 2;",
            "is damaged: the style font name is longer than 1024 bytes");
        row("long item key", "UPDATE items SET key = hex(zeroblob(513)) WHERE position = 1;",
            "is damaged: an item key is longer than 1024 bytes");
        row("long caption", "UPDATE items SET caption = hex(zeroblob(65537)) WHERE position = 2;",
            "is damaged: the caption of an item is longer than 131072 bytes");
        row("long band font",
            "UPDATE settings SET value = hex(zeroblob(513)) WHERE name = 'upper_band_font.name';",
            "is damaged: the upper band font name is longer than 1024 bytes");
    }

    void refusedFilesLeaveChartAlone() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        GanttData source;
        fillChart(source);
        for (int i = 0; i < 3000; ++i)
            source.items().add(QString("booking %1").arg(i), "{CAR}", TimePoint::fromSeconds(i * 100),
                               TimePoint::fromSeconds(i * 100 + 50), QString("{K%1}").arg(i), "Date");
        const QString path = dir.filePath(QString("bad-%1.qtf").arg(QTest::currentDataTag()));
        source.save(path);
        if (damage == "missing") {
            QFile::remove(path);
        } else if (damage == "folder") {
            QFile::remove(path);
            QVERIFY(QDir().mkpath(path));
        } else if (damage == "empty") {
            writeBytes(path, {});
        } else if (damage == "random") {
            QByteArray bytes;
            for (int i = 0; i < 5000; ++i)
                bytes.append(char((i * 7919) % 251));
            writeBytes(path, bytes);
        } else if (damage == "foreign") {
            QFile::remove(path);
            execute(path, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('hello');");
        } else if (damage == "newer") {
            const QByteArray newer =
                "PRAGMA user_version = " + QByteArray::number(TimetableFile::schemaVersion + 1) + ";";
            execute(path, newer.constData());
        } else if (damage == "truncated") {
            QFile file(path);
            QVERIFY(file.resize(file.size() / 2));
        } else {
            execute(path, damage.toUtf8().constData());
        }
        GanttData chart;
        fillChart(chart);
        GanttData before;
        fillChart(before);
        QSignalSpy spy(&chart, &GanttData::changed);
        expectError([&] { chart.load(path); }, {message, QDir::toNativeSeparators(path)});
        QCOMPARE(spy.count(), 0);
        compareContent(before, chart);
    }

    void tolerantReading() {
        GanttData source;
        fillChart(source);
        const QString path = dir.filePath("tolerant.qtf");
        source.save(path);
        execute(path, "DELETE FROM rows WHERE key = '{CAR}';"
                      "INSERT INTO heading_cells VALUES ('{NOBODY}', 1, 'lost', '');"
                      "INSERT INTO heading_cells VALUES ('{ROOM}', 100000, 'far away', '');"
                      "DELETE FROM settings WHERE name = 'grid_interval';"
                      "INSERT INTO settings VALUES ('some_future_setting', 1);");
        GanttData chart;
        chart.load(path);
        // The item keeps its resource: a new one of that key, named by the key.
        QCOMPARE(chart.items().count(), 3);
        const ChartRow* car = chart.rows().byKey("{CAR}");
        QVERIFY(car);
        QCOMPARE(car->caption, QString("{CAR}"));
        QCOMPARE(chart.items().byKey("{ITEM-3}")->styleKey(), QString("Gone"));
        QCOMPARE(chart.rows().byKey("{ROOM}")->cells.size(), std::size_t(2));
        QCOMPARE(chart.settings().gridInterval, ChartSettings().gridInterval);
        QCOMPARE(chart.settings().scale, 13);
    }

    void failedSaveKeepsOldFile() {
        const QString path = dir.filePath("keep.qtf");
        GanttData first;
        fillChart(first);
        first.save(path);
        const QByteArray saved = readBytes(path);
        GanttData second;
        second.rows().add("X", "other");
        // A parent that is a regular file: nothing can be created there.
        QVERIFY_THROWS_EXCEPTION(AppError, second.save(path + "/inside.qtf"));
        // A folder in the way of the rename: the new file is written, then refused.
        const QString folder = dir.filePath("folder.qtf");
        QVERIFY(QDir().mkpath(folder + "/content"));
        expectError([&] { second.save(folder); }, {"could not be saved"});
        QVERIFY(QFileInfo(folder + "/content").isDir());
        // A value the reader would refuse is not written either.
        second.styles().add("Long").font.name = QString(1025, 'x');
        expectError([&] { second.save(path); }, {"could not be saved: the style font name is longer"});
        // Items share their texts: a text that fits as one item's note is still too long as a caption.
        GanttData third;
        third.rows().add("R", "row");
        const QString longText(TimetableValueCheck::lineBytes + 1, 'x');
        const TimePoint start = TimePoint::fromSeconds(45292 * TimePoint::secondsPerDay);
        third.items().add("short", "R", start, start.addSeconds(60), "a", "Date").setText(longText);
        third.items().add(longText, "R", start, start.addSeconds(60), "b", "Date");
        expectError([&] { third.save(path); }, {"could not be saved: the caption of an item is longer"});
        QVERIFY(leftovers(dir.path()).isEmpty());
        QCOMPARE(readBytes(path), saved);
    }

    void stagedLoadKeepsEveryItem_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("items");
        QTest::newRow("small") << 1u << 200;
        QTest::newRow("large") << 2u << 30000;
    }

    void stagedLoadKeepsEveryItem() {
        QFETCH(quint32, seed);
        QFETCH(int, items);
        GanttData original;
        const QString path = written(seed, items, original);
        const TimePoint from = hours(900);
        const TimePoint to = hours(960);
        GanttData whole;
        whole.load(path);
        QCOMPARE(itemLines(whole), itemLines(original));
        QCOMPARE(rowLines(whole, from, to), rowLines(original, from, to));
        // What was read saves as it was read, also the notes that loading kept packed.
        whole.save(path + QStringLiteral(".again.qtf"));
        GanttData reread;
        reread.load(path + QStringLiteral(".again.qtf"));
        QCOMPARE(itemLines(reread), itemLines(original));
        GanttData chart;
        fillPrevious(chart);
        TimetableLoader load(chart, path);
        QCOMPARE(chart.items().count(), 0);
        QCOMPARE(load.itemCount(), qint64(items));
        load.showFirstScreen({"R3", "R4", "R5"}, from, to);
        // The first screen shows what the whole timetable shows there, and nothing else.
        for (const QString row : {"R3", "R4", "R5"})
            QCOMPARE(keysIn(chart, row, from, to), keysIn(original, row, from, to));
        QVERIFY(chart.items().count() < items);
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
        QCOMPARE(rowLines(chart, from, to), rowLines(original, from, to));
        QCOMPARE(load.percent(), 100);
    }

    // Closing the board or opening another file while a load runs gives back the timetable before it.
    // The file read is the one opened: removing or replacing it on disk meanwhile changes nothing.
    void abandonedLoadGivesTheChartBack() {
        GanttData original;
        const QString path = written(3, 30000, original);
        GanttData chart;
        fillPrevious(chart);
        const QStringList before = itemLines(chart);
        for (const bool startThread : {false, true}) {
            {
                TimetableLoader load(chart, path);
                load.showFirstScreen({"R1"}, hours(0), hours(500));
                if (startThread)
                    load.start();
            }
            QCOMPARE(itemLines(chart), before);
            QVERIFY(chart.rows().byKey("OLD"));
            QCOMPARE(chart.rows().count(), 1);
        }
        TimetableLoader next(chart, path);
        next.start();
        QVERIFY(QFile::remove(path));
        GanttData other;
        fill(other, 6, 10);
        other.save(path);
        next.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
    }

    void failedReadGivesTheChartBack() {
        GanttData original;
        const QString path = written(4, 5000, original);
        execute(path, "UPDATE items SET movement_lock = 7 WHERE position = 4990;");
        GanttData chart;
        fillPrevious(chart);
        const QStringList before = itemLines(chart);
        TimetableLoader load(chart, path);
        load.start();
        expectError([&] { load.finish(); }, {"is damaged: the movement lock 7 is out of range"});
        QCOMPARE(itemLines(chart), before);
    }

    // Files of the first version, and files whose row index is gone or wrong, open with every item;
    // they only show no first screen, or a part of one, before the rest.
    void filesWithoutAUsableRowIndex_data() {
        QTest::addColumn<QByteArray>("change");
        QTest::newRow("first version") << QByteArray("DROP TABLE row_items; PRAGMA user_version = 1;");
        QTest::newRow("index missing") << QByteArray("DROP TABLE row_items;");
        QTest::newRow("index of the wrong size") << QByteArray("UPDATE row_items SET spans = x'0102030405';");
        QTest::newRow("index of the wrong kind") << QByteArray("UPDATE row_items SET spans = 'spans';");
        // Entries that name items of another row, or positions the file does not have, are passed over.
        QTest::newRow("index naming other items")
            << QByteArray("UPDATE row_items SET spans = (SELECT spans FROM row_items WHERE row_key = 'R2') "
                          "WHERE row_key = 'R1'; UPDATE row_items SET spans = "
                          "x'000000000000000040420F00000000000000000000000000'"
                          "  || x'000000000000000040420F0000000000FFFFFFFFFFFFFF7F' WHERE row_key = 'R3';");
    }

    void filesWithoutAUsableRowIndex() {
        QFETCH(QByteArray, change);
        GanttData original;
        const QString path = dir.filePath(QStringLiteral("older-%1.qtf").arg(QTest::currentDataTag()));
        fill(original, 7, 3000);
        original.save(path);
        execute(path, change.constData());
        GanttData whole;
        whole.load(path);
        QCOMPARE(itemLines(whole), itemLines(original));
        GanttData chart;
        TimetableLoader load(chart, path);
        load.showFirstScreen({"R1", "R3"}, hours(0), hours(2000));
        for (const QString& key : keysIn(chart, "R1", hours(0), hours(2000)))
            QCOMPARE(original.items().byKey(key)->rowKey(), QString("R1"));
        QVERIFY(keysIn(chart, "R3", hours(0), hours(2000)).isEmpty());
        load.start();
        load.finish();
        QCOMPARE(itemLines(chart), itemLines(original));
    }
};

QTEST_GUILESS_MAIN(TstChartData)
#include "tst_chartdata.moc"
