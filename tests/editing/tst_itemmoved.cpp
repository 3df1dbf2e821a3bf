#include "../app/DataTable.h"
#include "ScriptedPrompts.h"
#include "TestMessenger.h"
#include "app/MessageFlags.h"
#include "chart/GanttData.h"
#include "editing/core/bsSupport.h"
#include "model/clsItems.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace bsSupport;

namespace {
TimePoint at(int month, int day, int hour, int minute = 0) {
    return TimePoint::fromDateTime(QDate(2024, month, day), QTime(hour, minute));
}
} // namespace

// Series "S" on R1, 08:00 to 09:00 on 1, 8, 15, 22 and 29 March (m1 .. m5), and a move of m2.
class TestItemMoved : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<GanttData> m_chart;
    std::unique_ptr<clsItems> m_items;
    std::unique_ptr<TestMessenger> m_board;

    [[nodiscard]] ChartItem& member(int n) const {
        return m_chart->items().get(QStringLiteral("m%1").arg(n));
    }

    // Span, resource, style, lock and picture of a member, as the item and the item table hold them.
    [[nodiscard]] QString describe(int n) const {
        const ChartItem& item = member(n);
        const ItemRecord record = m_items->Record(m_items->GetItemIndex(item.key()));
        const QString shown = record.value(3).toDate().toString("dd.MM.") + ' ' +
                              record.value(4).toTime().toString("HH:mm") + '-' +
                              record.value(6).toTime().toString("HH:mm") + ' ' + record.resourceCaption;
        const QString held = item.start().toDateTime().toString("dd.MM. HH:mm") + '-' +
                             item.end().toDateTime().toString("HH:mm") + ' ' +
                             m_chart->rows().byKey(item.rowKey())->caption;
        return shown == held ? QStringLiteral("%1 %2 %3 %4")
                                   .arg(held, item.styleKey())
                                   .arg(item.movementLock())
                                   .arg(item.picture())
                             : "table shows " + shown + " for " + held;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_chart = std::make_unique<GanttData>();
        m_chart->rows().add(QStringLiteral("R1"), QStringLiteral("Room 1"));
        m_chart->rows().add(QStringLiteral("R2"), QStringLiteral("Room 2"));
        m_chart->styles().add(QStringLiteral("Date"));
        m_chart->styles().add(QStringLiteral("Date Fixed")).fixedItem = true;
        for (int n = 1; n <= 5; ++n) {
            const int day = 1 + 7 * (n - 1);
            ChartItem& item =
                m_chart->items().add(QStringLiteral("Member %1").arg(n), "R1", at(3, day, 8), at(3, day, 9),
                                     QStringLiteral("m%1").arg(n), "Date", QStringLiteral("old.png"));
            item.setSeriesKey(QStringLiteral("S"));
            item.setText(QStringLiteral("text %1").arg(n));
        }
        m_items = std::make_unique<clsItems>(*m_chart);
        QVERIFY(m_items->ReadItems());
        m_board = std::make_unique<TestMessenger>(QStringLiteral("board"));
        m_items->AddMessenger(*m_board);
    }

    void cleanup() {
        QCOMPARE(m_prompts->unansweredCount(), 0);
        QCOMPARE(m_prompts->busyDepth, 0);
        QVERIFY(m_chart->bulkChange());
        m_items.reset();
        m_board.reset();
        m_chart.reset();
        m_prompts.reset();
    }

    void newKeysAreRegistryGuids() {
        const QString first = NewKey();
        const QRegularExpression form(
            "^\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}$");
        QVERIFY2(form.match(first).hasMatch(), qPrintable(first));
        QVERIFY(first != NewKey());
    }

    void conflictTestForms_data() {
        // existing: speaks for m2 itself
        const auto row =
            columns<TimePoint, TimePoint, QString, bool, bool>("start", "end", "row", "existing", "fresh");
        row("own span", at(3, 8, 8), at(3, 8, 9), "R1", false, true);
        row("into the next member", at(3, 15, 7), at(3, 15, 8, 30), "R1", true, true);
        row("touching", at(3, 15, 9), at(3, 15, 10), "R1", false, false);
        row("other resource", at(3, 15, 8), at(3, 15, 9), "R2", false, false);
    }
    void conflictTestForms() {
        QFETCH(TimePoint, start);
        QFETCH(TimePoint, end);
        QFETCH(QString, row);
        QTEST(ConflictForExistingItem(*m_chart, start, end, row, member(2).position()), "existing");
        QTEST(ConflictForNewItem(*m_chart, start, end, row), "fresh");
    }

    void noQuestionWithoutARelevantChange_data() {
        const auto row = columns<QString, bool, bool>("key", "inSeries", "moved");
        row("no series", "m2", false, true);
        row("caption and text only", "m2", true, false);
        row("snapshot of another item", "m3", true, true);
    }
    void noQuestionWithoutARelevantChange() {
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
        QVERIFY(m_board->heard.isEmpty());
    }

    // m2 changed as the board changes it, then carried over to the members after it: they move by the
    // same shift and take its length, resource, style and picture, keeping caption, text and series.
    void followingMembers_data() {
        // blocked: another item on 23 March, 08:30 to 10:00
        // later: m3 to m5 afterwards
        const auto row = columns<QList<int>, bool, TimePoint, TimePoint, QString, QString, QStringList>(
            "answers", "blocked", "start", "end", "row", "style", "later");
        const QString unmoved = QStringLiteral("%1 08:00-09:00 Room 1 Date 0 old.png");
        row("yes: moved, longer, elsewhere", {MessageResult::Yes}, false, at(3, 9, 8), at(3, 9, 9, 30), "R2",
            "Date Fixed",
            {"16.03. 08:00-09:30 Room 2 Date Fixed 2 new.png",
             "23.03. 08:00-09:30 Room 2 Date Fixed 2 new.png",
             "30.03. 08:00-09:30 Room 2 Date Fixed 2 new.png"});
        row("no changes nothing else", {MessageResult::No}, false, at(3, 9, 8), at(3, 9, 10), "R2", "Date",
            {unmoved.arg("15.03."), unmoved.arg("22.03."), unmoved.arg("29.03.")});
        row("an overtaken member stays", {MessageResult::Yes}, false, at(3, 16, 8), at(3, 16, 9), "R1",
            "Date",
            {unmoved.arg("15.03."), "30.03. 08:00-09:00 Room 1 Date 0 new.png",
             "06.04. 08:00-09:00 Room 1 Date 0 new.png"});
        row("conflict, OK goes on", {MessageResult::Yes, MessageResult::Ok}, true, at(3, 9, 8), at(3, 9, 9),
            "R1", "Date",
            {"16.03. 08:00-09:00 Room 1 Date 0 new.png", unmoved.arg("22.03."),
             "30.03. 08:00-09:00 Room 1 Date 0 new.png"});
        row("conflict, Cancel stops", {MessageResult::Yes, MessageResult::Cancel}, true, at(3, 9, 8),
            at(3, 9, 9), "R1", "Date",
            {"16.03. 08:00-09:00 Room 1 Date 0 new.png", unmoved.arg("22.03."), unmoved.arg("29.03.")});
    }
    void followingMembers() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, blocked);
        QFETCH(TimePoint, start);
        QFETCH(TimePoint, end);
        QFETCH(QString, row);
        QFETCH(QString, style);
        if (blocked)
            m_chart->items().add("Blocker", "R1", at(3, 23, 8, 30), at(3, 23, 10), "blocker", "Date");
        for (const int answer : answers)
            m_prompts->answerMessage(answer);
        QStringList before;
        for (int n = 1; n <= 5; ++n)
            before << describe(n);
        ChartItem& moved = member(2);
        const ItemSnapshot snapshot = ItemSnapshot::of(moved);
        moved.setRowKey(row);
        moved.setSpan(start, end);
        moved.setStyleKey(style);
        moved.setPicture(QStringLiteral("new.png"));
        m_items->UpdateItem(moved, m_board->ID());
        ItemMoved(*m_chart, snapshot, moved, m_items.get());
        QStringList texts{"Change the following items of this series too?"};
        if (blocked)
            texts << "The item at 23.03.2024 08:00 cannot be moved because of a conflict with another item!";
        QCOMPARE(m_prompts->texts(), texts);
        QCOMPARE(m_prompts->prompts().first().flags, MessageFlags::YesNo | MessageFlags::Question);
        if (blocked)
            QCOMPARE(m_prompts->prompts().last().flags, MessageFlags::OkCancel | MessageFlags::Critical);
        QCOMPARE(describe(1), before[0]);
        QStringList later;
        QStringList heard{"changed m2 board"};
        for (int n = 3; n <= 5; ++n) {
            later << describe(n);
            if (later.last() != before[n - 1])
                heard << QStringLiteral("changed m%1 ").arg(n);
            QCOMPARE(member(n).caption() + member(n).text() + member(n).seriesKey(),
                     QStringLiteral("Member %1text %1S").arg(n));
        }
        QTEST(later, "later");
        QCOMPARE(m_board->heard, heard);
    }
};

QTEST_GUILESS_MAIN(TestItemMoved)
#include "tst_itemmoved.moc"
