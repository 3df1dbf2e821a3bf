#include "../app/DataTable.h"
#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "views/ItemGrid.h"
#include "views/ItemGridModel.h"
#include "views/frmListview.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <memory>

// The item list driven as the user drives it, over five items whose values order differently by
// every column.
class TstListview : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    frmListview* list = nullptr;

    [[nodiscard]] ItemGrid& grid() const { return *list->grdList; }
    [[nodiscard]] QString keyAt(int row) const { return grid().dataModel().key(row); }

private slots:
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        using F = ListviewFixture;
        fixture->addRow("R1", "beta");
        fixture->addRow("R2", "Alpha");
        fixture->addRow("R3", "alpha");
        fixture->addItem("A", "R1", F::at(2, 10), F::at(2, 11), "zeta", "t2");
        fixture->addItem("B", "R2", F::at(1, 9), F::at(3, 8), "Eta", "t1");
        fixture->addItem("C", "R3", F::at(2, 8), F::at(2, 12), "eta", "t2");
        fixture->addItem("D", "R1", F::at(1, 12), F::at(1, 13), "Zeta", "");
        fixture->addItem("E", "R2", F::at(2, 8), F::at(2, 9), "Alpha", "T1");
        list = frmListview::open(fixture->host);
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list));
    }

    void cleanup() {
        if (list)
            list->close();
        delete list;
        fixture.reset();
    }

    void sortsByTheChosenColumn_data() {
        const auto row = columns<int, bool, QString>("column", "ascending", "order");
        row("key: not sorted", 0, true, "ABCDE");
        row("resource, start A-Z", 1, true, "BCEDA");
        row("resource, start Z-A", 1, false, "ADCEB");
        row("caption, resource, start A-Z", 2, true, "EBCDA");
        row("caption, resource, start Z-A", 2, false, "ADCBE");
        row("start date and time A-Z", 3, true, "BDCEA");
        row("start date and time Z-A", 3, false, "ACEDB");
        row("start time A-Z", 4, true, "CEBAD");
        row("start time Z-A", 4, false, "DABCE");
        row("end date and time A-Z", 5, true, "DEACB");
        row("end date and time Z-A", 5, false, "BCAED");
        row("end time A-Z", 6, true, "BEACD");
        row("end time Z-A", 6, false, "DCAEB");
        row("text by value, start time A-Z", 8, true, "DEBCA");
        row("text by value, start time Z-A", 8, false, "ACBED");
        row("reserved: start time", 10, true, "CEBAD");
    }
    void sortsByTheChosenColumn() {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QString, order);
        list->grdList_HeadClick(column);
        list->tbToolBar_ButtonClick(ascending ? "SortAZ" : "sortza");
        QCOMPARE(fixture->keys().join(QString()), order);
        // The grid shows the table's new order, and the item the user was on stays current.
        QCOMPARE(keyAt(0), QString(order.at(0)));
        QCOMPARE(keyAt(grid().currentRow()), QStringLiteral("A"));
    }

    void sortsByTheCurrentColumnUntilAHeadingIsClicked() {
        grid().setCurrentColumn(4);
        list->mViewI_Click(0);
        QCOMPARE(fixture->keys().join(QString()), QStringLiteral("CEBAD"));
        list->grdList_HeadClick(1);
        list->mViewI_Click(1);
        QCOMPARE(fixture->keys().join(QString()), QStringLiteral("ADCEB"));
    }

    void mergesEqualNeighboursOfTheChosenColumn() {
        list->grdList_HeadClick(1);
        list->SortGrid(true); // B C E D A: Alpha, alpha, Alpha, beta, beta
        list->tbToolBar_ButtonClick("group");
        QVERIFY(grid().gridLayout().columns[1].merge);
        const QList<std::pair<int, int>> runs = {{0, 0}, {1, 1}, {2, 2}, {3, 4}, {3, 4}};
        for (int row = 0; row < runs.size(); ++row)
            QCOMPARE(grid().mergedRun(row, 1), runs[row]);
        QCOMPARE(grid().mergedRun(3, 2), std::make_pair(3, 3));
        list->mViewI_Click(3);
        QVERIFY(!grid().gridLayout().columns[1].merge);
        QCOMPARE(grid().mergedRun(3, 1), std::make_pair(3, 3));
    }

    void deletesTheSelectedRowsOrTheCurrentOne_data() {
        // readOnly: the current row is 1
        const auto row =
            columns<QList<int>, bool, QString, QString>("selected", "readOnly", "question", "left");
        row("current row", {}, false, "Delete current item?", "ACDE");
        row("one selected", {3}, false, "Delete current item?", "ABCE");
        row("three selected", {4, 0, 2}, false, "Delete all 3 items?", "BD");
        row("read-only", {0, 1}, true, "", "ABCDE");
    }
    void deletesTheSelectedRowsOrTheCurrentOne() {
        QFETCH(QList<int>, selected);
        QFETCH(bool, readOnly);
        QFETCH(QString, question);
        QFETCH(QString, left);
        grid().setCurrentRow(1);
        for (const int row : selected)
            grid().selectRows(row, row);
        SetReadOnly(readOnly);
        if (!question.isEmpty())
            fixture->prompts.answerMessage(MessageResult::Yes);
        list->tbToolBar_ButtonClick("del");
        QCOMPARE(fixture->prompts.texts(), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(fixture->keys().join(QString()), left);
        QCOMPARE(fixture->chart.items().count(), int(left.size()));
        QCOMPARE(grid().model()->rowCount(), int(left.size()));
        QCOMPARE(list->sbStatus->text(), QStringLiteral("%1 date items").arg(left.size()));
    }

    void shiftDeleteInTheGridDeletesAndEmptyTablesAskNothing() {
        grid().setFocus();
        grid().setCurrentRow(0);
        fixture->prompts.answerMessage(MessageResult::No);
        QTest::keyClick(&grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(fixture->prompts.texts(), QStringList{"Delete current item?"});
        QCOMPARE(fixture->items.Count(), 5);
        list->mEditI_Click(5);
        fixture->prompts.answerMessage(MessageResult::Yes);
        QTest::keyClick(&grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(fixture->prompts.texts().last(), QStringLiteral("Delete all 5 items?"));
        QCOMPARE(fixture->items.Count(), 0);
        fixture->prompts.clear();
        list->DeleteItems();
        list->mEditI_Click(5);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(grid().selectedCount(), 0);
    }

    void refreshesLateAndPutsTheNewItemCurrent_data() {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("timer") << "timer";
        QTest::newRow("mouse over the grid") << "mouse";
        QTest::newRow("activation") << "activation";
    }
    void refreshesLateAndPutsTheNewItemCurrent() {
        QFETCH(QString, trigger);
        fixture->addItem("F", "R1", ListviewFixture::at(5, 8), ListviewFixture::at(5, 9));
        QVERIFY(list->isOutOfDate());
        QCOMPARE(grid().model()->rowCount(), 5);
        QCOMPARE(list->sbStatus->text(), QStringLiteral("5 date items"));
        if (trigger == "timer") {
            list->tmrRefresh->start(1);
        } else if (trigger == "mouse") {
            QTest::mouseMove(grid().viewport(), QPoint(20, 10));
        } else {
            fixture->host.board.show();
            fixture->host.board.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&fixture->host.board));
            list->activateWindow();
        }
        QTRY_VERIFY(!list->isOutOfDate());
        QCOMPARE(grid().model()->rowCount(), 6);
        QCOMPARE(keyAt(grid().currentRow()), QStringLiteral("F"));
        QCOMPARE(list->sbStatus->text(), QStringLiteral("6 date items"));
    }

    void rereadingTheTimetableResetsTheSort() {
        list->grdList_HeadClick(4);
        list->SortGrid(true);
        grid().setCurrentRow(3);
        fixture->items.ReadItems();
        QCOMPARE(list->sortColumn(), -1);
        QCOMPARE(grid().currentRow(), 0);
        QVERIFY(!list->isOutOfDate());
    }

    void selectionsTravelBothWays() {
        TestMessenger board("{OTHER}");
        fixture->items.AddMessenger(board);
        // From the list: a click on a row announces its item with the list's ID.
        grid().setCurrentRow(2);
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                          grid().visualRect(grid().model()->index(3, 1)).center());
        QCOMPARE(board.heard, QStringList{"selected D " + list->ID()});
        list->mViewI_Click(5);
        QCOMPARE(board.heard.last(), "selected D " + list->ID());
        // From elsewhere: an up-to-date list stays where it is, a stale one refreshes onto the item.
        fixture->items.ItemSeledctedById("B", board.ID());
        QCOMPARE(grid().currentRow(), 3);
        fixture->addItem("F", "R1", ListviewFixture::at(5, 8), ListviewFixture::at(5, 9));
        fixture->items.ItemSeledctedById("B", board.ID());
        QVERIFY(!list->isOutOfDate());
        QCOMPARE(keyAt(grid().currentRow()), QStringLiteral("B"));
        fixture->items.RemoveMessenger(board);
    }

    void keysAndClosingKeepTheLayout() {
        QTest::keyClick(&grid(), Qt::Key_F1);
        QCOMPARE(fixture->prompts.openedUrls.size(), 1);
        QVERIFY(fixture->prompts.openedUrls.first().endsWith("manual.html"));
        list->mEditI_Click(3);
        QCOMPARE(fixture->host.newItems, 1);
        GridLayout layout = grid().gridLayout();
        layout.columns[2].width = 321;
        grid().setGridLayout(layout);
        QTest::keyClick(&grid(), Qt::Key_Escape);
        QVERIFY(frmListview::instance() == nullptr);
        list = nullptr;
        // Closed, the list hears nothing more and has left its layout in the user's file.
        fixture->addItem("F", "R1", ListviewFixture::at(5, 8), ListviewFixture::at(5, 9));
        list = frmListview::open(fixture->host);
        QCOMPARE(list->grdList->gridLayout().columns[2].width, 321);
        QCOMPARE(list->sbStatus->text(), QStringLiteral("6 date items"));
    }
};

QTEST_MAIN(TstListview)
#include "tst_listview.moc"
