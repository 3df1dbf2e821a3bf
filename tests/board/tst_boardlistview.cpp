#include "BoardFixture.h"
#include "board/BoardMenus.h"
#include "board/DetailPanel.h"
#include "editing/frmDateItem.h"
#include "views/ItemGrid.h"
#include "views/ItemGridModel.h"
#include "views/frmListview.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace {
const QDate monday(2026, 3, 2);
}

// The item list as the board opens it: one window, and the board and the editor following the rows
// chosen in it.
class TstBoardListview : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>();
        fixture->openPlan({"Room", "Van"},
                          {{"A", "R1", BoardFixture::at(monday, 8), BoardFixture::at(monday, 9)},
                           {"B", "R2", BoardFixture::at(monday, 10), BoardFixture::at(monday, 12)}});
        fixture->showBoard();
    }
    void cleanup() { fixture.reset(); }

    void tableCommandsOpenOneList() {
        fixture->board->mViewI_Click(3);
        frmListview* list = frmListview::instance();
        QVERIFY(list != nullptr);
        QCOMPARE(list->parentWidget(), fixture->board);
        QCOMPARE(list->windowTitle(), QStringLiteral("Tableview of Items"));
        fixture->board->tbToolBar_ButtonClick("table");
        fixture->board->menus()->toolButton("table")->trigger();
        QCOMPARE(fixture->board->findChildren<frmListview*>().size(), 1);
        QCOMPARE(list->sbStatus->text(), QStringLiteral("2 date items"));
    }

    void boardAndEditorFollowTheList() {
        fixture->board->mViewI_Click(3);
        frmListview* list = frmListview::instance();
        fixture->board->mViewI_Click(1);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor != nullptr);
        ItemGrid& grid = *list->grdList;
        const int row = fixture->items().GetItemIndex("B");
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, 2)).center());
        QCOMPARE(fixture->board->GantItemIndex(), fixture->chart().items().byKey("B")->position());
        QCOMPARE(fixture->board->detailPanel()->caption(), QStringLiteral("B"));
        QCOMPARE(editor->itemKey(), QStringLiteral("B"));

        grid.setCurrentRow(fixture->items().GetItemIndex("A"));
        list->mViewI_Click(5);
        QCOMPARE(fixture->board->detailPanel()->caption(), QStringLiteral("A"));
        QCOMPARE(editor->itemKey(), QStringLiteral("A"));
    }

    void closingTheBoardClosesTheListAndKeepsItsLayout() {
        fixture->board->mViewI_Click(3);
        QVERIFY(frmListview::instance() != nullptr);
        fixture->board->Unload();
        QVERIFY(frmListview::instance() == nullptr);
        QVERIFY(QFile::exists(fixture->path("Documents/QUNTAGRDE.LAY")));
    }
};

QTEST_MAIN(TstBoardListview)
#include "tst_boardlistview.moc"
