#include "BoardDay.h"
#include "FileBytes.h"
#include "app/MessageFlags.h"
#include "board/BoardMenus.h"
#include "board/TimetableHistory.h"
#include "board/TimetableValues.h"
#include "model/ChartBatch.h"
#include "model/iMessenger.h"

#include <QAction>
#include <QMap>
#include <QRandomGenerator>
#include <functional>

using TimetableValues::Content;
using TimetableValues::Item;

namespace {
// A view of the item table that keeps the values of every booking as it was told of them.
class MirrorView : public iMessenger {
public:
    explicit MirrorView(clsItems& items)
        : m_items(items) {
        m_items.AddMessenger(*this);
        ItemsChanged();
    }
    ~MirrorView() override { m_items.RemoveMessenger(*this); }

    void ItemDeleteBefore(QString, bool&, QString) override {}
    void ItemDeleteAfter(QString key, QString) override { seen.remove(key); }
    void ItemChanged(QString key, QString) override { take(key); }
    void ItemAdded(QString key, QString) override { take(key); }
    void ItemsChanged() override {
        seen.clear();
        const ItemCollection& items = m_items.chart().items();
        for (int position = 1; position <= items.count(); ++position)
            take(items.byPosition(position)->key());
    }
    [[nodiscard]] QString ID() const override { return QStringLiteral("mirror"); }
    void ItemSelected(QString, QString) override {}
    void RowsChanged() override {}
    void RowStylesChanged() override {}
    // The table gives every booking the movement lock of its style.
    void ItemStylesChanged() override { ItemsChanged(); }

    [[nodiscard]] static QMap<QString, Item> itemsOf(const GanttData& chart) {
        QMap<QString, Item> items;
        for (int position = 1; position <= chart.items().count(); ++position) {
            const ChartItem& item = *chart.items().byPosition(position);
            items.insert(item.key(), Item::of(item));
        }
        return items;
    }

    QMap<QString, Item> seen;

private:
    void take(const QString& key) { seen.insert(key, Item::of(*m_items.chart().items().byKey(key))); }
    clsItems& m_items;
};

// Random user actions as the windows commit them: the chart changed, then the item table told.
class RandomActions {
public:
    RandomActions(const BoardFixture& fixture, quint32 seed)
        : m_chart(fixture.chart())
        , m_items(fixture.items())
        , m_board(*fixture.board)
        , m_random(seed) {}

    void any() {
        const std::function<void()> actions[] = {
            [this] { draw(); },         [this] { move(); },        [this] { stretch(); },
            [this] { edit(); },         [this] { remove(); },      [this] { series(); },
            [this] { carryOver(); },    [this] { addResource(); }, [this] { editResource(); },
            [this] { dropResource(); }, [this] { changeStyle(); }, [this] { changeSettings(); },
            [this] { recreate(); }};
        actions[m_random.bounded(int(std::size(actions)))]();
    }

private:
    QString newKey() { return QStringLiteral("K%1").arg(++m_keys); }
    ChartRow& anyRow() { return *m_chart.rows().byPosition(1 + m_random.bounded(m_chart.rows().count())); }
    ChartItem* anyItem() {
        const int count = m_chart.items().count();
        return count == 0 ? nullptr : m_chart.items().byPosition(1 + m_random.bounded(count));
    }
    TimePoint anyTime() {
        return BoardFixture::at(monday.addDays(m_random.bounded(60)), m_random.bounded(20));
    }

    void draw() {
        const TimePoint start = anyTime();
        ChartItem& item = m_chart.items().add(QString(), anyRow().key(), start, start.addSeconds(3600),
                                              newKey(), QStringLiteral("Date"));
        m_items.Add(item, QString());
    }
    void move() {
        if (ChartItem* item = anyItem()) {
            item->setRowKey(anyRow().key());
            const qint64 shift = qint64(m_random.bounded(-48, 48)) * 1800;
            item->setSpan(item->start().addSeconds(shift), item->end().addSeconds(shift));
            m_items.UpdateItem(*item, QString());
        }
    }
    void stretch() {
        if (ChartItem* item = anyItem()) {
            item->setEnd(item->end().addSeconds(1800 * (1 + m_random.bounded(8))));
            m_items.UpdateItem(*item, QString());
        }
    }
    void edit() {
        if (ChartItem* item = anyItem()) {
            item->setCaption(QStringLiteral("Caption %1").arg(m_random.bounded(1000)));
            item->setText(QStringLiteral("Text\n%1").arg(m_random.bounded(1000)));
            item->setStyleKey(m_random.bounded(2) ? QStringLiteral("Date") : QStringLiteral("Fixed"));
            item->setPicture(m_random.bounded(2) ? QStringLiteral("pic.png") : QString());
            item->setAddOnData(QStringLiteral("a=%1").arg(m_random.bounded(9)));
            item->setTag(QStringLiteral("t%1").arg(m_random.bounded(9)));
            item->setMovementLock(m_random.bounded(2) * 2);
            m_items.UpdateItem(*item, QString());
        }
    }
    void remove() {
        const ChartBatch batch(m_chart);
        for (int n = 1 + m_random.bounded(3); n > 0; --n) {
            if (const ChartItem* item = anyItem())
                m_items.Delete(item->key(), QString());
        }
    }
    // A booking deleted and one with its key added in the same action.
    void recreate() {
        const ChartItem* old = anyItem();
        if (!old)
            return;
        const QString key = old->key();
        const ChartBatch batch(m_chart);
        m_items.Delete(key, QString());
        const TimePoint start = anyTime();
        ChartItem& item = m_chart.items().add(QStringLiteral("again"), anyRow().key(), start,
                                              start.addSeconds(1800), key, QStringLiteral("Date"));
        m_items.Add(item, QString());
    }
    void series() {
        ChartItem* master = anyItem();
        if (!master || !master->seriesKey().isEmpty())
            return;
        const QString seriesKey = newKey();
        master->setSeriesKey(seriesKey);
        m_items.UpdateItem(*master, QString());
        for (int day = 1 + m_random.bounded(6); day > 0; --day) {
            ChartItem& member =
                m_chart.items().add(master->caption(), master->rowKey(), master->start().addDays(day),
                                    master->end().addDays(day), newKey(), master->styleKey());
            member.setSeriesKey(seriesKey);
            m_items.Add(member, QString());
        }
    }
    void carryOver() {
        const ChartItem* moved = anyItem();
        if (!moved || moved->seriesKey().isEmpty())
            return;
        const QString seriesKey = moved->seriesKey();
        for (int position = 1; position <= m_chart.items().count(); ++position) {
            ChartItem& member = *m_chart.items().byPosition(position);
            if (member.seriesKey() == seriesKey) {
                member.setSpan(member.start().addSeconds(3600), member.end().addSeconds(3600));
                m_items.UpdateItem(member, QString());
            }
        }
    }
    void addResource() {
        m_chart.rows().add(newKey(), QStringLiteral("Resource %1").arg(m_keys), QStringLiteral("Resources"));
        m_items.RowsChanged();
    }
    void editResource() {
        ChartRow& row = anyRow();
        row.caption = QStringLiteral("Renamed %1").arg(m_random.bounded(100));
        row.height = m_random.bounded(3) * 10;
        row.setCell(1 + m_random.bounded(2), QStringLiteral("cell"));
        // As the resource window does: the chart hears of the new caption with the edit, not later.
        m_chart.redraw();
        m_items.RowsChanged();
    }
    void dropResource() {
        if (m_chart.rows().count() < 3)
            return;
        m_chart.rows().remove(anyRow().key());
        m_items.ReadItems();
        m_items.RowsChanged();
    }
    void changeStyle() {
        const int choice = m_random.bounded(3);
        if (choice == 0 && !m_chart.styles().byKey(QStringLiteral("Fixed"))) {
            m_chart.styles().add(QStringLiteral("Fixed")).fixedItem = true;
        } else if (choice == 1 && m_chart.styles().byKey(QStringLiteral("Fixed"))) {
            m_chart.styles().remove(QStringLiteral("Fixed"));
        } else {
            ChartStyle& date = m_chart.styles().get(QStringLiteral("Date"));
            date.backColor = m_random.generate() & 0xFFFFFF;
            date.fixedItem = !date.fixedItem;
        }
        m_items.ItemStylesChanged();
    }
    void changeSettings() {
        m_chart.settings().showGrid = !m_chart.settings().showGrid;
        m_chart.settings().defaultRowHeight = 16 + m_random.bounded(10);
        globals().settings->setDeleteAfterDays(m_random.bounded(5) + 100);
        m_board.settingsStored();
    }

    GanttData& m_chart;
    clsItems& m_items;
    frmMain& m_board;
    QRandomGenerator m_random;
    int m_keys = 0;
};

QAction* undoEntry(const BoardFixture& fixture) {
    return fixture.board->menus()->mUndoStep;
}

QAction* redoEntry(const BoardFixture& fixture) {
    return fixture.board->menus()->mRedoStep;
}

ChartItem& itemA(const BoardFixture& fixture) {
    return *fixture.item(QStringLiteral("A"));
}

void moveA(const BoardFixture& fixture, qint64 seconds = 3600) {
    ChartItem& item = itemA(fixture);
    item.setSpan(item.start().addSeconds(seconds), item.end().addSeconds(seconds));
    fixture.items().UpdateItem(item, QString());
}
} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinLocale(); }

    // Hundreds of random actions with random undos and redos in between, each checked against the
    // content every step left; then everything undone (byte for byte the saved file) and redone.
    void randomActionsUndoneAndRedone() {
        BoardFixture fixture;
        fixture.openPlan({"Room", "Hall", "Car"}, {{"A", "R1", at(8), at(9)}});
        frmMain& board = *fixture.board;
        QVERIFY(board.DoSave(false));
        const QByteArray savedBytes = readBytes(board.fileName());
        MirrorView mirror(fixture.items());
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        RandomActions actions(fixture, seed);
        QRandomGenerator random(seed + 1);
        std::vector<Content> states{Content::of(fixture.chart())};
        std::size_t index = 0;
        const auto undo = [&] {
            board.UndoStep();
            --index;
        };
        const auto redo = [&] {
            board.RedoStep();
            ++index;
        };
        const auto check = [&] {
            QVERIFY(Content::of(fixture.chart()) == states[index]);
            QCOMPARE(mirror.seen, MirrorView::itemsOf(fixture.chart()));
            QCOMPARE(board.history().canUndo(), index > 0);
            QCOMPARE(board.history().canRedo(), index + 1 < states.size());
        };
        for (int action = 0; action < 400 && !QTest::currentTestFailed(); ++action) {
            const int choice = random.bounded(10);
            if (choice == 0 && index > 0) {
                undo();
            } else if (choice == 1 && index + 1 < states.size()) {
                redo();
            } else {
                actions.any();
                board.history().record(); // what the next turn of the event loop does
                Content now = Content::of(fixture.chart());
                if (!(now == states[index])) {
                    states.resize(++index);
                    states.push_back(std::move(now));
                }
            }
            check();
        }
        while (index + 1 < states.size())
            redo();
        check();
        const QMap<QString, Item> finalItems = mirror.seen;
        while (index > 0)
            undo();
        check();
        QVERIFY(!board.Dirty());
        QVERIFY(board.DoSave(false));
        QCOMPARE(readBytes(board.fileName()), savedBytes);
        while (index + 1 < states.size())
            redo();
        check();
        QCOMPARE(mirror.seen, finalItems);
    }

    void captions_data() {
        QTest::addColumn<QString>("caption");
        for (const char* caption :
             {"move of 'A'", "stretch of 'A'", "change of 'Workshop'", "deletion of 'A'",
              "new resource 'Hall'", "change of style 'Date'", "change of the settings"})
            QTest::newRow(caption) << QString(caption);
    }

    // The entries name the step, and are enabled only while there is one.
    void captions() {
        QFETCH(QString, caption);
        BoardFixture fixture;
        fixture.options().setConfirmDelete(false);
        fixture.openPlan();
        ChartItem& a = itemA(fixture);
        if (caption.startsWith("move")) {
            moveA(fixture);
        } else if (caption.startsWith("stretch")) {
            a.setEnd(a.end().addSeconds(1800));
        } else if (caption.contains("Workshop")) {
            a.setCaption(QStringLiteral("Workshop"));
        } else if (caption.startsWith("deletion")) {
            fixture.board->setGantItemIndex(a.position());
            fixture.board->DeleteItem();
        } else if (caption.contains("resource")) {
            fixture.chart().rows().add(QStringLiteral("R9"), QStringLiteral("Hall"));
            fixture.items().RowsChanged();
        } else if (caption.contains("style")) {
            fixture.chart().styles().get(QStringLiteral("Date")).backColor = 0x123456;
            fixture.items().ItemStylesChanged();
        } else {
            fixture.chart().settings().showGrid = !fixture.chart().settings().showGrid;
            fixture.board->settingsStored();
        }
        if (caption.startsWith("stretch") || caption.contains("Workshop"))
            fixture.items().UpdateItem(a, QString());
        // The action becomes a step at the next turn of the event loop.
        QTRY_VERIFY(undoEntry(fixture)->isEnabled());
        QCOMPARE(undoEntry(fixture)->text(), "&Undo " + caption);
        QCOMPARE(fixture.board->menus()->toolButton(QStringLiteral("undostep"))->toolTip(),
                 "Undo " + caption);
        QVERIFY(!redoEntry(fixture)->isEnabled());
        fixture.board->UndoStep();
        QCOMPARE(undoEntry(fixture)->text(), QStringLiteral("&Undo"));
        QVERIFY(!undoEntry(fixture)->isEnabled());
        QCOMPARE(redoEntry(fixture)->text(), "&Redo " + caption);
        QVERIFY(redoEntry(fixture)->isEnabled());
        QVERIFY(fixture.board->menus()->toolButton(QStringLiteral("redostep"))->isEnabled());
    }

    // Read-only mode disables both commands and keeps them from changing anything; undoing back to the
    // saved state makes the timetable clean, and a save keeps the history.
    void readOnlyAndDirty() {
        BoardFixture fixture;
        fixture.openPlan();
        frmMain& board = *fixture.board;
        moveA(fixture);
        QVERIFY(board.Dirty());
        board.history().record();
        SetReadOnly(true);
        QVERIFY(!undoEntry(fixture)->isEnabled());
        QVERIFY(!board.menus()->toolButton(QStringLiteral("undostep"))->isEnabled());
        board.UndoStep();
        QCOMPARE(itemA(fixture).start(), at(9));
        SetReadOnly(false);
        QVERIFY(undoEntry(fixture)->isEnabled());
        board.tbToolBar_ButtonClick(QStringLiteral("undostep"));
        QCOMPARE(itemA(fixture).start(), at(8));
        QVERIFY(!board.Dirty());
        board.RedoStep();
        QVERIFY(board.DoSave(false));
        QVERIFY(!board.Dirty());
        moveA(fixture);
        QVERIFY(board.Dirty());
        board.UndoStep();
        QVERIFY(!board.Dirty());
        QVERIFY(!board.isWindowModified());
        board.UndoStep();
        QVERIFY(board.Dirty());
        board.RedoStep();
        QVERIFY(!board.Dirty());
    }

    // Loading a timetable and "&Undo all Changes" start the history over.
    void historyClearedByLoadingAndUndoAll() {
        BoardFixture fixture;
        const QString plan = fixture.openPlan();
        fixture.options().setConfirmUndo(false);
        moveA(fixture);
        fixture.prompts.answerMessage(MessageResult::No); // "Save changes?"
        QVERIFY(fixture.board->AskSave());
        fixture.board->Loadfile(plan);
        QVERIFY(!fixture.board->history().canUndo());
        QVERIFY(!undoEntry(fixture)->isEnabled());
        moveA(fixture);
        QVERIFY(fixture.board->Dirty());
        fixture.board->mEditI_Click(6);
        QVERIFY(!fixture.board->history().canUndo());
        QVERIFY(!fixture.board->Dirty());
        QCOMPARE(itemA(fixture).start(), at(8));

        // Content replaced under the history leaves no step that would apply to the old one.
        moveA(fixture);
        fixture.board->history().record();
        fixture.chart().load(plan);
        fixture.board->history().record();
        QVERIFY(!fixture.board->history().canUndo());
    }

    // Gestures on the chart are steps of their own, also one under way when undo is pressed.
    void gesturesAndUndoDuringDrag() {
        BoardFixture fixture(QStringLiteral("/newfile"), BoardFixture::Activated);
        fixture.showHours(at(6));
        frmMain& board = *fixture.board;
        QWidget* viewport = board.chart()->viewport();
        const auto point = [&](int hour) {
            return QPoint(board.chart()->xAt(at(hour)),
                          (board.chart()->rowTop(1) + board.chart()->rowBottom(1)) / 2);
        };
        const auto drag = [&](int from, int to) {
            QTest::mousePress(viewport, Qt::LeftButton, {}, point(from));
            QTest::mouseMove(viewport, point(to));
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, point(to));
        };
        drag(8, 10);
        QTRY_COMPARE(undoEntry(fixture)->text(), QStringLiteral("&Undo new booking"));
        drag(9, 11);
        QTRY_COMPARE(undoEntry(fixture)->text(), QStringLiteral("&Undo move of a booking"));
        const ChartItem& item = *fixture.chart().items().byPosition(1);
        QCOMPARE(item.start(), at(10));
        // Undo waits while the button is down; the drag ends as a step of its own.
        QTest::mousePress(viewport, Qt::LeftButton, {}, point(11));
        QTest::mouseMove(viewport, point(14));
        board.UndoStep();
        QCOMPARE(item.start(), at(10));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, point(14));
        QCOMPARE(item.start(), at(13));
        board.UndoStep();
        QCOMPARE(item.start(), at(10));
        board.UndoStep();
        QCOMPARE(item.start(), at(8));
        QCOMPARE(redoEntry(fixture)->text(), QStringLiteral("&Redo move of a booking"));
        QVERIFY(fixture.prompts.prompts().isEmpty());
    }

    // The automatic deletion after loading is a step.
    void autoDeletionIsAStep() {
        BoardFixture fixture;
        const QDate old = QDate::currentDate().addDays(-30);
        fixture.openPlan(
            {"Room"},
            {{"A", "R1", BoardFixture::at(old, 8), BoardFixture::at(old, 9)},
             {"B", "R1", BoardFixture::at(old.addDays(40), 8), BoardFixture::at(old.addDays(40), 9)}},
            7);
        QCOMPARE(fixture.itemCount(), 1);
        QCOMPARE(undoEntry(fixture)->text(), QStringLiteral("&Undo deletion of 'A'"));
        fixture.board->UndoStep();
        QCOMPARE(fixture.chart().items().byPosition(1)->key(), QStringLiteral("A"));
        QCOMPARE(fixture.items().Count(), 2);
        QVERIFY(fixture.board->Dirty());
    }
};

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
