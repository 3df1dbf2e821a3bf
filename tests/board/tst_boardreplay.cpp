#include "BoardFixture.h"
#include "app/MessageFlags.h"
#include "board/DetailPanel.h"
#include "editing/ResourceCommands.h"
#include "editing/frmDateItem.h"
#include "model/iMessenger.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSet>

namespace {
const QDate monday(2026, 3, 2);

TimePoint at(int hour, int minute = 0) {
    return BoardFixture::at(monday, hour, minute);
}

QSet<QString> keysIn(const GanttData& data, const QString& rowKey) {
    QSet<QString> keys;
    for (const ChartItem* item : data.itemsInRange(rowKey, TimePoint::minimum(), TimePoint::maximum()))
        keys.insert(item->key());
    return keys;
}

// A view that deletes every item it is told has changed, as a view with a rule of its own might.
class DeletingView : public iMessenger {
public:
    explicit DeletingView(clsItems& items)
        : m_items(items) {}
    void ItemChanged(QString key, QString) override { m_items.Delete(key, ID()); }
    void ItemDeleteBefore(QString, bool&, QString) override {}
    void ItemDeleteAfter(QString, QString) override {}
    void ItemAdded(QString, QString) override {}
    void ItemsChanged() override {}
    [[nodiscard]] QString ID() const override { return QStringLiteral("{DELETING-VIEW}"); }
    void ItemSelected(QString, QString) override {}
    void RowsChanged() override {}
    void RowStylesChanged() override {}
    void ItemStylesChanged() override {}

private:
    clsItems& m_items;
};
} // namespace

// What a new user did on the demo timetable, replayed through the whole board: a booking changed in
// the detail panel and in the item editor, deleted with Del, the chart painted. And the places where
// a view holds a booking, a row or a position while others are told of a change, asked a question,
// or the table is read again. Run under the address sanitizer, a stale pointer anywhere here is a
// finding.
class TstBoardReplay : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    frmMain* board = nullptr;

    [[nodiscard]] GanttData& data() const { return fixture->chart(); }

    void addItem(const QString& key, const QString& rowKey, TimePoint start, TimePoint end,
                 const QString& series = {}) {
        fixture->addItem(key, rowKey, start, end, series);
    }

    void select(const QString& key) { board->setGantItemIndex(data().items().byKey(key)->position()); }

    void paint() { board->chart()->viewport()->grab(); }

    [[nodiscard]] ChartHit hitAt(TimePoint time, int row) const {
        const GanttChart& chart = *board->chart();
        return chart.hitTest({chart.xAt(time), (chart.rowTop(row) + chart.rowBottom(row)) / 2});
    }

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>("/newfile");
        board = fixture->board;
        fixture->activate();
        data().rows().remove(data().rows().byPosition(1)->key());
        data().rows().add("R1", "Room", "Resources");
        data().rows().add("R2", "Van", "Resources");
        fixture->items().ReadItems();
        fixture->showBoard();
        board->mZoomI_Click(8);
        board->chart()->scrollTo(at(6));
    }

    void cleanup() {
        if (frmDateItem* editor = frmDateItem::instance())
            editor->hide();
        fixture.reset();
        board = nullptr;
    }

    void editDeleteRepaint_data() {
        QTest::addColumn<bool>("inPanel");
        QTest::addColumn<bool>("inEditor");
        QTest::addColumn<bool>("toOtherResource");
        QTest::newRow("panel, end only") << true << false << false;
        QTest::newRow("editor, end only") << false << true << false;
        QTest::newRow("panel, then editor") << true << true << false;
        QTest::newRow("editor, end and resource") << false << true << true;
        QTest::newRow("panel end, then editor resource") << true << true << true;
    }

    void editDeleteRepaint() {
        QFETCH(bool, inPanel);
        QFETCH(bool, inEditor);
        QFETCH(bool, toOtherResource);
        addItem("A", "R1", at(8), at(9));
        addItem("B", "R1", at(10), at(11));
        addItem("C", "R2", at(12), at(13));
        select("A");
        paint();

        if (inPanel) {
            board->detailPanel()->tx[DetailPanel::EndTime]->setText("09:30");
            board->cmdDOK_Click();
            QCOMPARE(data().items().byKey("A")->end(), at(9, 30));
            paint();
        }
        if (inEditor) {
            board->mViewI_Click(1);
            frmDateItem* editor = frmDateItem::instance();
            QVERIFY(editor);
            QCOMPARE(editor->itemKey(), QString("A"));
            editor->setFieldText(frmDateItem::EndTimeField, "09:45");
            if (toOtherResource)
                editor->cmbRes->setCurrentIndex(editor->cmbRes->findData("R2"));
            editor->cmd_Click(frmDateItem::OkCommand);
            QCOMPARE(data().items().byKey("A")->end(), at(9, 45));
            QCOMPARE(data().items().byKey("A")->rowKey(), QString(toOtherResource ? "R2" : "R1"));
            paint();
        }

        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mEditI_Click(8);
        QCOMPARE(fixture->prompts.texts(), QStringList{"Delete current item?"});
        paint();

        QVERIFY(!data().items().byKey("A"));
        QCOMPARE(fixture->items().Count(), 2);
        QCOMPARE(keysIn(data(), "R1"), QSet<QString>{"B"});
        QCOMPARE(keysIn(data(), "R2"), QSet<QString>{"C"});
        for (const QString rowKey : {"R1", "R2"})
            QVERIFY2(!data().conflicts(at(7), at(9, 50), rowKey), qPrintable(rowKey));
        QCOMPARE(hitAt(at(8, 20), 1).area, HitArea::EmptyArea);
        QCOMPARE(hitAt(at(8, 20), 2).area, HitArea::EmptyArea);

        // The old resource goes with its own bookings only.
        data().rows().remove("R1");
        fixture->items().ReadItems();
        paint();
        QCOMPARE(data().items().count(), 1);
        QVERIFY(data().items().byKey("C"));
    }

    // Removing a resource shifts the positions of the items after its own: Del must still delete the
    // booking that is shown, not the one that moved into its position.
    void currentBookingFollowedWhenAResourceGoes() {
        addItem("A", "R1", at(8), at(9));
        addItem("C", "R2", at(8), at(9));
        addItem("D", "R2", at(10), at(11));
        addItem("E", "R2", at(12), at(13));
        select("D");
        board->setGantRow(1);
        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mRowI_Click(ResourceCommands::DeleteResource);
        QCOMPARE(board->detailPanel()->caption(), QString("D"));

        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mEditI_Click(8);
        QVERIFY(!data().items().byKey("D"));
        QVERIFY(data().items().byKey("E"));
        QVERIFY(data().items().byKey("C"));
    }

    void viewDeletesTheChangedBooking() {
        addItem("A", "R1", at(8), at(9), "SER");
        addItem("B", "R1", at(8).addDays(7), at(9).addDays(7), "SER");
        addItem("F", "R2", at(8), at(9), "SER2");
        addItem("G", "R2", at(8).addDays(7), at(9).addDays(7), "SER2");
        DeletingView view(fixture->items());
        fixture->items().AddMessenger(view);

        // The panel: the booking is gone before the series question could be asked about it.
        select("A");
        board->detailPanel()->tx[DetailPanel::EndTime]->setText("09:30");
        board->cmdDOK_Click();
        QVERIFY(!data().items().byKey("A"));

        // The editor: it stores, then shows an empty item.
        select("F");
        board->mViewI_Click(1);
        frmDateItem* editor = frmDateItem::instance();
        editor->setFieldText(frmDateItem::EndTimeField, "09:30");
        editor->cmd_Click(frmDateItem::OkCommand);
        QVERIFY(!data().items().byKey("F"));
        QVERIFY(editor->itemKey().isEmpty());
        QVERIFY(fixture->prompts.prompts().isEmpty());
        fixture->items().RemoveMessenger(view);
        paint();
        QCOMPARE(keysIn(data(), "R1"), QSet<QString>{"B"});
        QCOMPARE(keysIn(data(), "R2"), QSet<QString>{"G"});
    }

    void bookingsAndResourcesGoWhileAQuestionIsOpen() {
        addItem("A", "R1", at(8), at(9), "SER");
        addItem("B", "R1", at(8).addDays(7), at(9).addDays(7), "SER");
        select("A");
        board->detailPanel()->tx[DetailPanel::StartTime]->setText("08:30");
        board->detailPanel()->tx[DetailPanel::EndTime]->setText("09:30");
        // While "Change the following items of this series too?" waits, the booking is deleted.
        fixture->prompts.answerMessage(MessageResult::Yes,
                                       [this] { fixture->items().Delete("A", QString()); });
        board->cmdDOK_Click();
        QVERIFY(!data().items().byKey("A"));
        QCOMPARE(data().items().byKey("B")->start(), at(8, 30).addDays(7));

        // While "Delete resource 'Room'?" waits, the resource is removed elsewhere.
        board->setGantRow(1);
        fixture->prompts.answerMessage(MessageResult::Yes, [this] {
            data().rows().remove("R1");
            fixture->items().ReadItems();
        });
        board->mRowI_Click(ResourceCommands::DeleteResource);
        QCOMPARE(data().rows().count(), 1);
        QVERIFY(data().rows().byKey("R2"));
        paint();
    }
};

QTEST_MAIN(TstBoardReplay)
#include "tst_boardreplay.moc"
