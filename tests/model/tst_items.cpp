#include "ScriptedPrompts.h"
#include "app/AppError.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "chart/GanttData.h"
#include "model/clsItems.h"
#include "model/iMessenger.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <deque>
#include <functional>
#include <memory>

namespace {
constexpr int question = MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2;
constexpr int errorBox = MessageFlags::OkOnly | MessageFlags::Critical;

// The order of two records on one key, as the item list defines it.
int compareRecords(const ItemRecord& a, const ItemRecord& b, const ItemSortKey& key) {
    if (key.column >= 3 && key.column <= 6) {
        const QPartialOrdering order = QVariant::compare(a.value(key.column), b.value(key.column));
        return order == QPartialOrdering::Less ? -1 : order == QPartialOrdering::Greater ? 1 : 0;
    }
    return QString::compare(a.value(key.column).toString(), b.value(key.column).toString(),
                            key.compare == ItemSortKey::Compare::Caseless ? Qt::CaseInsensitive
                                                                          : Qt::CaseSensitive);
}

QString bsSupportKey(QRandomGenerator& random) {
    return QUuid::fromRfc4122(QByteArray::number(random.generate64(), 16).leftJustified(16, '0'))
        .toString(QUuid::WithBraces)
        .toUpper();
}

TimePoint at(int day, int hour, int minute = 0) {
    return TimePoint::fromDateTime(QDate(2024, 3, day), QTime(hour, minute));
}

// A view as the item table sees it: it logs every notice as "Name:key:sender" and may react to it.
class Messenger : public iMessenger {
public:
    explicit Messenger(QString id)
        : m_id(std::move(id)) {}

    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override {
        note("ItemDeleteBefore", key, senderId);
        cancel = vetoDeletes;
    }
    void ItemDeleteAfter(QString key, QString senderId) override { note("ItemDeleteAfter", key, senderId); }
    void ItemChanged(QString key, QString senderId) override { note("ItemChanged", key, senderId); }
    void ItemAdded(QString key, QString senderId) override { note("ItemAdded", key, senderId); }
    void ItemSelected(QString key, QString senderId) override {
        selected = key;
        note("ItemSelected", key, senderId);
    }
    void ItemsChanged() override { log << "ItemsChanged"; }
    void RowsChanged() override { log << "RowsChanged"; }
    void RowStylesChanged() override { log << "RowStylesChanged"; }
    void ItemStylesChanged() override { log << "ItemStylesChanged"; }
    QString ID() const override { return m_id; }

    QStringList log;
    QString selected;
    bool vetoDeletes = false;
    std::function<void(const QString& notice, const QString& key, const QString& sender)> react;

private:
    void note(const QString& notice, const QString& key, const QString& sender) {
        log << notice + ':' + key + ':' + sender;
        if (react)
            react(notice, key, sender);
    }

    QString m_id;
};

// The item table over a chart of two rooms, with the options of a fresh profile.
struct Setup {
    Setup() {
        profile.setFilename(dir.filePath("QUNTA.INI"));
        options = std::make_unique<clsGeneralOptions>(profile);
        globals().options = options.get();
        chart.rows().add("R1", "Room 1");
        chart.rows().add("R2", "Room 2");
        chart.styles().add("Date");
        chart.styles().add("Date Fixed").fixedItem = true;
    }
    ~Setup() { globals().options = nullptr; }

    ScriptedPrompts prompts;
    QTemporaryDir dir;
    clsIniFile profile;
    std::unique_ptr<clsGeneralOptions> options;
    GanttData chart;
    clsItems items{chart};
    std::deque<Messenger> messengers;
};
} // namespace

class TestItems : public QObject {
    Q_OBJECT

    std::unique_ptr<Setup> m_setup;
    ScriptedPrompts* m_prompts = nullptr;
    GanttData* m_chart = nullptr;
    clsItems* m_items = nullptr;

    ChartItem& addToChart(const QString& key, const QString& row, TimePoint start, TimePoint end,
                          const QString& series = {}) {
        ChartItem& item = m_chart->items().add("Caption " + key, row, start, end, key, "Date");
        item.setSeriesKey(series);
        return item;
    }

    // A view registered with the item table for the rest of the test.
    Messenger& listen(const QString& id) {
        Messenger& messenger = m_setup->messengers.emplace_back(id);
        m_items->AddMessenger(messenger);
        return messenger;
    }

    // Every row is found again by its key, and every row leads to the chart item of that key.
    void verifyIndex() const {
        QCOMPARE(m_items->Record(m_items->Count()).key, QString());
        for (int row = 0; row < m_items->Count(); ++row) {
            const QString key = m_items->Record(row).key;
            QCOMPARE(m_items->GetItemIndex(key), row);
            ChartItem* item = m_items->GetItemByIndex(row);
            QVERIFY(item != nullptr);
            QCOMPARE(item->key(), key);
        }
    }

private slots:
    void init() {
        m_setup.reset();
        m_setup = std::make_unique<Setup>();
        m_prompts = &m_setup->prompts;
        m_chart = &m_setup->chart;
        m_items = &m_setup->items;
    }

    void cleanup() {
        QCOMPARE(m_prompts->unansweredCount(), 0);
        m_setup.reset();
    }

    void readingMirrorsEveryItem() {
        Messenger& board = listen("board");
        // An empty chart is read too: the views forget what they showed.
        QVERIFY(m_items->ReadItems());
        QCOMPARE(m_items->Count(), 0);
        QCOMPARE(board.log, QStringList{"ItemsChanged"});
        board.log.clear();
        QVERIFY(m_prompts->progressCaptions.isEmpty());
        ChartItem& first = addToChart("A", "R2", at(5, 8, 30), at(6, 17, 15));
        first.setAddOnData("add-on");
        first.setText("two\nlines");
        addToChart("B", "R1", at(1, 0), at(1, 1));
        QVERIFY(m_items->ReadItems());
        QCOMPARE(m_items->Count(), 2);
        QCOMPARE(board.log, QStringList{"ItemsChanged"});
        QCOMPARE(m_prompts->progressCaptions, QStringList{"reading items"});
        const ItemRecord row = m_items->Record(0);
        const QVariantList expected{"A",          "Room 2",          "Caption A",   QDate(2024, 3, 5),
                                    QTime(8, 30), QDate(2024, 3, 6), QTime(17, 15), "add-on",
                                    "two\nlines", QVariant(),        QVariant(),    QVariant()};
        for (int column = 0; column < ItemRecord::columnCount; ++column)
            QCOMPARE(row.value(column), expected[column]);
        QCOMPARE(row.startDate.addSeconds(row.startTime.seconds()), at(5, 8, 30));
        QCOMPARE(m_items->Record(1).key, QString("B"));
    }

    void cancelledReadKeepsTheRowsRead() {
        for (int i = 0; i < 50; ++i)
            addToChart(QString("K%1").arg(i), "R1", at(1, 0).addSeconds(i * 3600),
                       at(1, 0).addSeconds(i * 3600 + 1800));
        Messenger& board = listen("board");
        m_prompts->cancelProgressAt(20);
        QVERIFY(!m_items->ReadItems());
        QVERIFY(board.log.isEmpty());
        QCOMPARE(m_items->Count(), 20);
        verifyIndex();
        QCOMPARE(m_prompts->progressValues, (QList<int>{0, 0, 20}));
    }

    void addingCreatesRowZeroThenAppends() {
        QVERIFY(m_items->ReadItems());
        Messenger& board = listen("board");
        QStringList seen;
        board.react = [&](const QString&, const QString& key, const QString&) {
            const int row = m_items->GetItemIndex(key);
            seen << QString("%1 row %2 count %3 caption %4")
                        .arg(key)
                        .arg(row)
                        .arg(m_items->Count())
                        .arg(m_items->Record(row).caption);
        };
        m_items->Add(addToChart("A", "R1", at(1, 8), at(1, 9)), "ed");
        m_items->Add(addToChart("B", "R1", at(1, 10), at(1, 11)), QString());
        QCOMPARE(seen,
                 (QStringList{"A row 0 count 0 caption Caption A", "B row 1 count 1 caption Caption B"}));
        QCOMPARE(board.log, (QStringList{"ItemAdded:A:ed", "ItemAdded:B:"}));
        QCOMPARE(m_items->Count(), 2);
        verifyIndex();
    }

    void unknownKeyIsReportedAndChangesNothing() {
        for (const bool update : {true, false}) {
            cleanup();
            init();
            addToChart("A", "R1", at(1, 8), at(1, 9));
            QVERIFY(m_items->ReadItems());
            // In the chart, but never passed to the table.
            ChartItem& stranger = addToChart("X", "R1", at(2, 8), at(2, 9));
            Messenger& board = listen("board");
            if (update)
                m_items->UpdateItem(stranger, "board");
            else
                QVERIFY(m_items->DeleteItem(stranger, "board", false));
            QCOMPARE(m_prompts->texts(),
                     QStringList{update ? "Update failed for item X" : "Delete failed for item X"});
            QCOMPARE(m_prompts->prompts().first().flags, errorBox);
            QVERIFY(board.log.isEmpty());
            QCOMPARE(m_items->Count(), 1);
            QCOMPARE(m_chart->items().count(), 2);
        }
    }

    void updateRefreshesTheRow() {
        ChartItem& item = addToChart("A", "R1", at(1, 8), at(1, 9));
        QVERIFY(m_items->ReadItems());
        Messenger& board = listen("board");
        item.setCaption("Renamed");
        item.setRowKey("R2");
        item.setSpan(at(3, 14), at(3, 16));
        m_items->UpdateItem(item, "board");
        const ItemRecord row = m_items->Record(0);
        QCOMPARE(row.caption, QString("Renamed"));
        QCOMPARE(row.resourceCaption, QString("Room 2"));
        QCOMPARE(row.value(3), QVariant(QDate(2024, 3, 3)));
        QCOMPARE(row.value(6), QVariant(QTime(16, 0)));
        QCOMPARE(board.log, QStringList{"ItemChanged:A:board"});
    }

    void deletionAsksForConfirmation_data() {
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("options"); // 0 none registered, 1 ConfirmDelete on, 2 off
        QTest::addColumn<QString>("expectedQuestion");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("remaining");
        QTest::newRow("one, Yes") << 1 << true << 1 << "Delete current item?" << MessageResult::Yes << 2;
        QTest::newRow("two, Yes") << 2 << true << 1 << "Delete all 2 items?" << MessageResult::Yes << 1;
        QTest::newRow("three, No") << 3 << true << 1 << "Delete all 3 items?" << MessageResult::No << 3;
        QTest::newRow("no options: on")
            << 1 << true << 0 << "Delete current item?" << MessageResult::Yes << 2;
        QTest::newRow("option off") << 2 << true << 2 << "" << 0 << 1;
        QTest::newRow("confirm false") << 2 << false << 1 << "" << 0 << 1;
    }

    void deletionAsksForConfirmation() {
        QFETCH(int, listed);
        QFETCH(bool, confirm);
        QFETCH(int, options);
        QFETCH(QString, expectedQuestion);
        QFETCH(int, answer);
        QFETCH(int, remaining);
        ItemList list;
        for (int i = 0; i < 3; ++i) {
            ChartItem& item = addToChart(QString("I%1").arg(i + 1), "R1", at(1 + i, 8), at(1 + i, 9));
            if (i < listed)
                list.add(item);
        }
        QVERIFY(m_items->ReadItems());
        if (options == 0)
            globals().options = nullptr;
        else
            m_setup->options->setConfirmDelete(options == 1);
        if (!expectedQuestion.isEmpty())
            m_prompts->answerMessage(answer);
        QCOMPARE(m_items->DeleteItems(list, "list", confirm),
                 expectedQuestion.isEmpty() || answer == MessageResult::Yes);
        QCOMPARE(m_prompts->texts(),
                 expectedQuestion.isEmpty() ? QStringList() : QStringList{expectedQuestion});
        if (!expectedQuestion.isEmpty())
            QCOMPARE(m_prompts->prompts().first().flags, question);
        QCOMPARE(m_chart->items().count(), remaining);
        QCOMPARE(m_items->Count(), remaining);
        QVERIFY(m_chart->bulkChange());
        verifyIndex();
    }

    void seriesDeletionTakesLaterMembersOnly() {
        for (const int answer : {MessageResult::Yes, MessageResult::No}) {
            cleanup();
            init();
            // Chart positions deliberately out of date order.
            addToChart("s5", "R1", at(5, 8), at(5, 9), "S");
            addToChart("s1", "R1", at(1, 8), at(1, 9), "S");
            ChartItem& third = addToChart("s3", "R1", at(3, 8), at(3, 9), "S");
            addToChart("same", "R2", at(3, 8), at(3, 9), "S");
            addToChart("s4", "R1", at(4, 8), at(4, 9), "S");
            addToChart("s2", "R1", at(2, 8), at(2, 9), "S");
            addToChart("other", "R1", at(6, 8), at(6, 9), "T");
            QVERIFY(m_items->ReadItems());
            Messenger& board = listen("board");
            m_setup->options->setConfirmDelete(false);
            m_prompts->answerMessage(answer);
            QVERIFY(m_items->DeleteItem(third, "board", true));
            QCOMPARE(m_prompts->texts(), QStringList{"Delete following series items too?"});
            QCOMPARE(m_prompts->prompts().first().flags, question);
            QStringList left;
            for (int row = 0; row < m_items->Count(); ++row)
                left << m_items->Record(row).key;
            left.sort();
            const QStringList remaining = answer == MessageResult::Yes
                                              ? QStringList{"other", "s1", "s2", "same"}
                                              : QStringList{"other", "s1", "s2", "s4", "s5", "same"};
            QCOMPARE(left, remaining);
            QCOMPARE(m_chart->items().count(), remaining.size());
            QCOMPARE(board.log.filter(QString("ItemDeleteAfter")).size(), 7 - remaining.size());
            verifyIndex();
        }
    }

    // Messengers are told in the order they registered; one that vetoes a deletion stops it, and one
    // taken away or refused hears nothing.
    void messengersAreToldInOrder() {
        ChartItem& item = addToChart("A", "R1", at(1, 8), at(1, 9));
        QVERIFY(m_items->ReadItems());
        Messenger twin("list");
        Messenger& board = listen("board");
        Messenger& list = listen("list");
        Messenger& month = listen("month");
        board.vetoDeletes = true;
        QVERIFY_THROWS_EXCEPTION(AppError, m_items->AddMessenger(twin));
        QVERIFY(m_items->DeleteItem(item, "list", false));
        QCOMPARE(board.log, QStringList{"ItemDeleteBefore:A:list"});
        QVERIFY(list.log.isEmpty());
        QCOMPARE(m_items->Count(), 1);
        QVERIFY(m_chart->items().byKey("A") != nullptr);
        // The clean-up deletes through the single-item delete, without questions.
        board.vetoDeletes = false;
        board.log.clear();
        QVERIFY(m_items->Delete("A", QString()));
        QCOMPARE(board.log, (QStringList{"ItemDeleteBefore:A:", "ItemDeleteAfter:A:"}));
        QCOMPARE(list.log, board.log);
        QCOMPARE(month.log, board.log);
        QCOMPARE(m_items->Count(), 0);
        QCOMPARE(m_chart->items().count(), 0);
        QVERIFY(m_prompts->prompts().isEmpty());
        m_items->RemoveMessenger(list);
        m_items->RemoveMessenger(list);
        board.log.clear();
        list.log.clear();
        month.log.clear();
        m_items->RowsChanged();
        m_items->RowStylesChanged();
        const QStringList told{"RowsChanged", "RowStylesChanged"};
        QCOMPARE(board.log, told);
        QVERIFY(list.log.isEmpty());
        QVERIFY(twin.log.isEmpty());
        QCOMPARE(month.log, told);
    }

    void getItemByIndexFailsSilently() {
        addToChart("A", "R1", at(1, 8), at(1, 9));
        addToChart("B", "R1", at(2, 8), at(2, 9));
        QVERIFY(m_items->ReadItems());
        // Removed behind the table's back, so row 1 is stale.
        m_chart->items().remove("B");
        for (const int row : {-1, 2, 100000, 1})
            QCOMPARE(m_items->GetItemByIndex(row), nullptr);
        QVERIFY(m_prompts->prompts().isEmpty());
    }

    void selectionFromInsideANotification() {
        Messenger& board = listen("board");
        Messenger& list = listen("list");
        Messenger& month = listen("month");
        // The list answers a selection of "X" by selecting "Y" itself.
        list.react = [&](const QString& notice, const QString& key, const QString&) {
            if (notice == "ItemSelected" && key == "X")
                m_items->ItemSeledctedById("Y", list.ID());
        };
        m_items->ItemSeledctedById("X", "board");
        QCOMPARE(m_items->SelectedItem(), QString("Y"));
        QCOMPARE(board.log, (QStringList{"ItemSelected:X:board", "ItemSelected:Y:list"}));
        QCOMPARE(list.log, board.log);
        // The later messenger never ends up on the outdated selection.
        QCOMPARE(month.log, QStringList{"ItemSelected:Y:list"});
        QCOMPARE(month.selected, QString("Y"));
    }

    void indexFollowsDeleteReadAndSort() {
        const auto key = [](int i) { return QString("K%1").arg(i, 2, 10, QChar('0')); };
        for (int i = 0; i < 60; ++i)
            addToChart(key(i), i % 2 ? "R1" : "R2", at(1 + i % 20, 8 + i / 20),
                       at(1 + i % 20, 8 + i / 20, 30));
        QVERIFY(m_items->ReadItems());
        verifyIndex();
        ItemList scattered;
        for (int i = 0; i < 60; i += 3)
            scattered.add(key(i));
        // A view that looks rows up between the deletions of one batch.
        Messenger& list = listen("list");
        int deleted = 0;
        list.react = [&](const QString& notice, const QString& key, const QString&) {
            if (notice == "ItemDeleteAfter" && ++deleted % 2 == 0)
                QCOMPARE(m_items->GetItemIndex(key), -1);
        };
        QVERIFY(m_items->DeleteItems(scattered, QString(), false));
        QCOMPARE(deleted, 20);
        QCOMPARE(m_items->Count(), 40);
        QCOMPARE(m_items->Record(0).key, QString("K01"));
        QCOMPARE(m_items->Record(2).key, QString("K04"));
        verifyIndex();
        m_items->sortRows({{3, ItemSortKey::Compare::Value}, {4, ItemSortKey::Compare::Value}}, true);
        QCOMPARE(m_items->Record(0).key, QString("K59"));
        verifyIndex();
        m_items->Delete("K59", QString());
        m_items->Add(addToChart("new", "R1", at(28, 8), at(28, 9)), QString());
        QCOMPARE(m_items->GetItemIndex(QString("new")), 39);
        verifyIndex();
        QVERIFY(m_items->ReadItems());
        QCOMPARE(m_items->Record(0).key, QString("K01"));
        QCOMPARE(m_items->GetItemIndex(QString("K00")), -1);
        verifyIndex();
    }

    void itemStylesChangedAppliesTheLock() {
        ChartItem& fixed = addToChart("A", "R1", at(1, 8), at(1, 9));
        fixed.setStyleKey("Date Fixed");
        ChartItem& free = addToChart("B", "R1", at(2, 8), at(2, 9));
        free.setMovementLock(2);
        ChartItem& unstyled = addToChart("C", "R1", at(3, 8), at(3, 9));
        unstyled.setStyleKey("gone");
        unstyled.setMovementLock(2);
        QVERIFY(m_items->ReadItems());
        Messenger& board = listen("board");
        m_items->ItemStylesChanged();
        QCOMPARE(fixed.movementLock(), 2);
        QCOMPARE(free.movementLock(), 0);
        QCOMPARE(unstyled.movementLock(), 0);
        QCOMPARE(board.log, QStringList{"ItemStylesChanged"});
        QVERIFY(m_prompts->progressCaptions.contains("updating styles"));
    }

    // A failing lookup and a failing view go to the error handler, and the other views are still told.
    void failuresGoToTheHandler() {
        ChartItem& item = addToChart("A", "R1", at(1, 8), at(1, 9));
        QCOMPARE(m_items->Item(QString("A")), &item);
        QCOMPARE(m_items->Item(QString()), nullptr);
        QVERIFY(m_prompts->prompts().isEmpty());
        m_prompts->answerMessage(MessageResult::Abort);
        QCOMPARE(m_items->Item(QString("nowhere")), nullptr);
        QCOMPARE(m_prompts->prompts().size(), 1);
        QVERIFY(m_prompts->texts().first().startsWith("Exception handler:"));
        QVERIFY(m_prompts->texts().first().contains("(Function:clsItems:Item)"));
        m_prompts->clear();
        QVERIFY(m_items->ReadItems());
        listen("board").react = [](const QString&, const QString&, const QString&) {
            throw AppError("broken view");
        };
        Messenger& list = listen("list");
        m_prompts->answerMessage(MessageResult::Ignore);
        m_items->UpdateItem(item, QString());
        QCOMPARE(m_prompts->prompts().size(), 1);
        QVERIFY(m_prompts->texts().first().contains("(Sub:clsItems:UpdateItem)"));
        QCOMPARE(list.log, QStringList{"ItemChanged:A:"});
    }

    // Random tables sorted by random keys agree with a plain stable sort of the records, also with
    // rows whose item left the chart behind the table's back.
    void sortAgreesWithPlainRecordSort() {
        QRandomGenerator random(7);
        const QString longText(300, u'x');
        const QStringList texts{"",     "alpha", "Alpha", "beta", "Ärger",  "ärger",
                                "zeta", "Zeta",  "é",     "E",    longText, "alpha beta"};
        const auto anyText = [&] { return texts[int(random.bounded(texts.size()))]; };
        for (int round = 0; round < 40; ++round) {
            m_chart->items().clear();
            for (int i = 0; i < 120; ++i) {
                const TimePoint start = at(1 + int(random.bounded(5)), int(random.bounded(3)) * 4);
                ChartItem& item =
                    addToChart(i % 3 ? QString("K%1").arg(i) : bsSupportKey(random), i % 2 ? "R1" : "R2",
                               start, start.addSeconds(3600 * (1 + int(random.bounded(30)))));
                item.setCaption(anyText());
                item.setText(anyText());
                item.setAddOnData(anyText());
            }
            QVERIFY(m_items->ReadItems());
            m_chart->items().remove(QString::number(1 + random.bounded(m_chart->items().count())));
            ItemSortKeys keys;
            for (int k = 0, count = 1 + int(random.bounded(3)); k < count; ++k)
                keys.push_back({int(random.bounded(10)), random.bounded(2) ? ItemSortKey::Compare::Caseless
                                                                           : ItemSortKey::Compare::Value});
            const bool descending = random.bounded(2) == 1;
            std::vector<ItemRecord> expected;
            for (int row = 0; row < m_items->Count(); ++row)
                expected.push_back(m_items->Record(row));
            std::stable_sort(expected.begin(), expected.end(), [&](const ItemRecord& a, const ItemRecord& b) {
                for (const ItemSortKey& key : keys) {
                    if (const int order = compareRecords(a, b, key); order != 0)
                        return descending ? order > 0 : order < 0;
                }
                return false;
            });
            m_items->sortRows(keys, descending);
            for (int row = 0; row < m_items->Count(); ++row) {
                const ItemRecord record = m_items->Record(row);
                QCOMPARE(record.key, expected[std::size_t(row)].key);
                for (int column = 0; column < ItemRecord::columnCount; ++column)
                    QCOMPARE(m_items->Value(row, column), record.value(column));
            }
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QString("round %1").arg(round)));
        }
    }
};

QTEST_GUILESS_MAIN(TestItems)
#include "tst_items.moc"
