#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"
#include "model/iMessenger.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace bsSupport;

namespace {
const QString followQuestion = QStringLiteral("Change the following items of this series too?");

TimePoint at(int month, int day, int hour, int minute = 0) {
    return TimePoint::fromDateTime(QDate(2024, month, day), QTime(hour, minute));
}

// Logs the changes the item table announces.
class Messenger : public iMessenger {
public:
    void ItemDeleteBefore(QString, bool&, QString) override {}
    void ItemDeleteAfter(QString, QString) override {}
    void ItemChanged(QString key, QString senderId) override { changes << key + ':' + senderId; }
    void ItemAdded(QString, QString) override {}
    void ItemsChanged() override {}
    QString ID() const override { return QStringLiteral("board"); }
    void ItemSelected(QString, QString) override {}
    void RowsChanged() override {}
    void RowStylesChanged() override {}
    void ItemStylesChanged() override {}

    QStringList changes;
};
} // namespace

class TestItemMoved : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newKeysAreRegistryGuids();
    void conflictTestForms_data();
    void conflictTestForms();
    void noQuestionWithoutARelevantChange_data();
    void noQuestionWithoutARelevantChange();
    void laterMembersFollowTheMovedItem();
    void overtakenMemberStays();
    void conflictingMember_data();
    void conflictingMember();
    void answerNoChangesNothingElse();

private:
    // Series "S" on R1, 08:00 to 09:00 on 1, 8, 15, 22 and 29 March (m1 .. m5, positions 1 to 5).
    [[nodiscard]] ChartItem& member(int n) const;
    // Applies the change to m2 as the board does, then carries it over.
    void moveSecondMember(TimePoint start, TimePoint end, const QString& row = QStringLiteral("R1"),
                          const QString& style = QStringLiteral("Date"), const QString& picture = {});

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<GanttData> m_chart;
    std::unique_ptr<clsItems> m_items;
    std::unique_ptr<Messenger> m_board;
};

void TestItemMoved::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestItemMoved::init() {
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_chart = std::make_unique<GanttData>();
    m_chart->rows().add(QStringLiteral("R1"), QStringLiteral("Room 1"));
    m_chart->rows().add(QStringLiteral("R2"), QStringLiteral("Room 2"));
    m_chart->styles().add(QStringLiteral("Date"));
    m_chart->styles().add(QStringLiteral("Date Fixed")).fixedItem = true;
    for (int n = 1; n <= 5; ++n) {
        const int day = 1 + 7 * (n - 1);
        ChartItem& item = m_chart->items().add(QStringLiteral("Member %1").arg(n), QStringLiteral("R1"),
                                               at(3, day, 8), at(3, day, 9), QStringLiteral("m%1").arg(n),
                                               QStringLiteral("Date"), QStringLiteral("old.png"));
        item.setSeriesKey(QStringLiteral("S"));
        item.setText(QStringLiteral("text %1").arg(n));
    }
    m_items = std::make_unique<clsItems>(*m_chart);
    QVERIFY(m_items->ReadItems());
    m_board = std::make_unique<Messenger>();
    m_items->AddMessenger(*m_board);
}

void TestItemMoved::cleanup() {
    QCOMPARE(m_prompts->unansweredCount(), 0);
    QCOMPARE(m_prompts->busyDepth, 0);
    QVERIFY(m_chart->bulkChange());
    m_items.reset();
    m_board.reset();
    m_chart.reset();
    m_prompts.reset();
}

ChartItem& TestItemMoved::member(int n) const {
    return m_chart->items().get(QStringLiteral("m%1").arg(n));
}

void TestItemMoved::moveSecondMember(TimePoint start, TimePoint end, const QString& row, const QString& style,
                                     const QString& picture) {
    ChartItem& moved = member(2);
    const ItemSnapshot before = ItemSnapshot::of(moved);
    moved.setRowKey(row);
    moved.setSpan(start, end);
    moved.setStyleKey(style);
    moved.setPicture(picture);
    m_items->UpdateItem(moved, m_board->ID());
    ItemMoved(*m_chart, before, moved, m_items.get());
}

void TestItemMoved::newKeysAreRegistryGuids() {
    const QString first = NewKey();
    const QString second = NewKey();
    const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}$"));
    QVERIFY2(form.match(first).hasMatch(), qPrintable(first));
    QCOMPARE(first.size(), 38);
    QVERIFY(first != second);
}

void TestItemMoved::conflictTestForms_data() {
    QTest::addColumn<TimePoint>("start");
    QTest::addColumn<TimePoint>("end");
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("fresh");

    // m2 lies on R1 from 08:00 to 09:00 on 8 March; the existing form speaks for m2 itself.
    QTest::newRow("own span") << at(3, 8, 8) << at(3, 8, 9) << "R1" << false << true;
    QTest::newRow("into the next member") << at(3, 15, 7) << at(3, 15, 8, 30) << "R1" << true << true;
    QTest::newRow("touching") << at(3, 15, 9) << at(3, 15, 10) << "R1" << false << false;
    QTest::newRow("other resource") << at(3, 15, 8) << at(3, 15, 9) << "R2" << false << false;
}

void TestItemMoved::conflictTestForms() {
    QFETCH(TimePoint, start);
    QFETCH(TimePoint, end);
    QFETCH(QString, row);
    QFETCH(bool, existing);
    QFETCH(bool, fresh);
    QCOMPARE(ConflictForExistingItem(*m_chart, start, end, row, member(2).position()), existing);
    QCOMPARE(ConflictForNewItem(*m_chart, start, end, row), fresh);
}

void TestItemMoved::noQuestionWithoutARelevantChange_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("inSeries");
    QTest::addColumn<bool>("moved");
    QTest::newRow("no series") << "m2" << false << true;
    QTest::newRow("caption and text only") << "m2" << true << false;
    QTest::newRow("snapshot of another item") << "m3" << true << true;
}

void TestItemMoved::noQuestionWithoutARelevantChange() {
    QFETCH(QString, key);
    QFETCH(bool, inSeries);
    QFETCH(bool, moved);
    ChartItem& item = member(2);
    const ItemSnapshot before = ItemSnapshot::of(m_chart->items().get(key));
    if (!inSeries)
        item.setSeriesKey(QString());
    item.setCaption(QStringLiteral("new caption"));
    item.setText(QStringLiteral("new text"));
    if (moved)
        item.setSpan(item.start().addDays(1), item.end().addDays(1));

    ItemMoved(*m_chart, before, item, m_items.get());

    QVERIFY(m_prompts->prompts().isEmpty());
    for (int n = 3; n <= 5; ++n)
        QCOMPARE(member(n).start(), at(3, 1 + 7 * (n - 1), 8));
    QVERIFY(m_board->changes.isEmpty());
}

void TestItemMoved::laterMembersFollowTheMovedItem() {
    m_prompts->answerMessage(MessageResult::Yes);

    // One day later, half an hour longer, on another resource with another style and picture.
    moveSecondMember(at(3, 9, 8), at(3, 9, 9, 30), QStringLiteral("R2"), QStringLiteral("Date Fixed"),
                     QStringLiteral("new.png"));

    QCOMPARE(m_prompts->texts(), QStringList{followQuestion});
    QCOMPARE(m_prompts->prompts().first().flags, MessageFlags::YesNo | MessageFlags::Question);
    const ChartItem& first = member(1);
    QCOMPARE(first.start(), at(3, 1, 8));
    QCOMPARE(first.rowKey(), QStringLiteral("R1"));
    QCOMPARE(first.picture(), QStringLiteral("old.png"));
    for (int n = 3; n <= 5; ++n) {
        const ChartItem& later = member(n);
        const int day = 2 + 7 * (n - 1);
        QCOMPARE(later.start(), at(3, day, 8));
        QCOMPARE(later.end(), at(3, day, 9, 30));
        QCOMPARE(later.rowKey(), QStringLiteral("R2"));
        QCOMPARE(later.styleKey(), QStringLiteral("Date Fixed"));
        QCOMPARE(later.movementLock(), 2);
        QCOMPARE(later.picture(), QStringLiteral("new.png"));
        QCOMPARE(later.caption(), QStringLiteral("Member %1").arg(n));
        QCOMPARE(later.text(), QStringLiteral("text %1").arg(n));
        QCOMPARE(later.seriesKey(), QStringLiteral("S"));

        // The item table and the views know every changed member.
        const ItemRecord row = m_items->Record(m_items->GetItemIndex(later.key()));
        QCOMPARE(row.resourceCaption, QStringLiteral("Room 2"));
        QCOMPARE(row.value(3), QVariant(QDate(2024, 3, day)));
        QCOMPARE(row.value(6), QVariant(QTime(9, 30)));
    }
    QCOMPARE(m_board->changes, (QStringList{QStringLiteral("m2:board"), QStringLiteral("m3:"),
                                            QStringLiteral("m4:"), QStringLiteral("m5:")}));
}

void TestItemMoved::overtakenMemberStays() {
    m_prompts->answerMessage(MessageResult::Yes);

    moveSecondMember(at(3, 16, 8), at(3, 16, 9));

    QCOMPARE(member(3).start(), at(3, 15, 8));
    QCOMPARE(member(4).start(), at(3, 30, 8));
    QCOMPARE(member(5).start(), at(4, 6, 8));
}

void TestItemMoved::conflictingMember_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<TimePoint>("lastStart");
    QTest::newRow("OK goes on") << int(MessageResult::Ok) << at(3, 30, 8);
    QTest::newRow("Cancel stops") << int(MessageResult::Cancel) << at(3, 29, 8);
}

void TestItemMoved::conflictingMember() {
    QFETCH(int, answer);
    QFETCH(TimePoint, lastStart);
    m_chart->items().add(QStringLiteral("Blocker"), QStringLiteral("R1"), at(3, 23, 8, 30), at(3, 23, 10),
                         QStringLiteral("blocker"), QStringLiteral("Date"));
    m_prompts->answerMessage(MessageResult::Yes);
    m_prompts->answerMessage(answer);

    moveSecondMember(at(3, 9, 8), at(3, 9, 9));

    QCOMPARE(m_prompts->texts(),
             (QStringList{followQuestion,
                          QStringLiteral("The item at 23.03.2024 08:00 cannot be moved because of a "
                                         "conflict with another item!")}));
    QCOMPARE(m_prompts->prompts().last().flags, MessageFlags::OkCancel | MessageFlags::Critical);
    QCOMPARE(member(3).start(), at(3, 16, 8));
    QCOMPARE(member(4).start(), at(3, 22, 8));
    QCOMPARE(member(5).start(), lastStart);
}

void TestItemMoved::answerNoChangesNothingElse() {
    m_prompts->answerMessage(MessageResult::No);

    moveSecondMember(at(3, 9, 8), at(3, 9, 10), QStringLiteral("R2"));

    QCOMPARE(member(2).start(), at(3, 9, 8));
    for (int n : {1, 3, 4, 5}) {
        QCOMPARE(member(n).start(), at(3, 1 + 7 * (n - 1), 8));
        QCOMPARE(member(n).end(), at(3, 1 + 7 * (n - 1), 9));
        QCOMPARE(member(n).rowKey(), QStringLiteral("R1"));
    }
    QCOMPARE(m_board->changes, QStringList{QStringLiteral("m2:board")});
}

QTEST_GUILESS_MAIN(TestItemMoved)
#include "tst_itemmoved.moc"
