#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "views/ItemGrid.h"
#include "views/frmGridCols.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {
QStringList entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void select(QListWidget* list, const QList<int>& positions) {
    list->clearSelection();
    for (const int position : positions)
        list->item(position)->setSelected(true);
}
} // namespace

// "Column view": the two lists, every refusal, the moves and what reaches the grid.
class TstGridCols : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    std::unique_ptr<ItemGrid> grid;
    std::unique_ptr<frmGridCols> dialog;

    [[nodiscard]] std::vector<int> shown() const { return grid->gridLayout().shownColumns(); }

private slots:
    // A grid showing only columns 1 to 3: Ressource, Titel, Beginn Datum.
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        grid = std::make_unique<ItemGrid>(fixture->items);
        GridLayout layout = GridLayout::builtIn();
        for (int i = 0; i < GridLayout::columnCount; ++i)
            layout.columns[std::size_t(i)].visible = i >= 1 && i <= 3;
        grid->setGridLayout(layout);
        dialog = std::make_unique<frmGridCols>();
        dialog->Init(*grid);
        dialog->show();
    }
    void cleanup() {
        dialog.reset();
        grid.reset();
        fixture.reset();
    }

    void listsShowNumberedCaptionsInIndexOrder() {
        QCOMPARE(entries(dialog->lstIs), (QStringList{"002) Ressource", "003) Titel", "004) Beginn Datum"}));
        QCOMPARE(dialog->lstNot->count(), 9);
        QCOMPARE(dialog->lstNot->item(0)->text(), QStringLiteral("001) Key"));
        QVERIFY(!dialog->cmdSave->isEnabled());
    }

    void refusals_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("emptyLists");
        QTest::addColumn<QString>("message");
        QTest::newRow("up, nothing shown") << "up" << QList<int>{} << true << "No items are selected!";
        QTest::newRow("up, none selected") << "up" << QList<int>{} << false << "Please select one item!";
        QTest::newRow("up, all selected")
            << "up" << QList<int>{0, 1, 2} << false << "All items are selected, unable to move one!";
        QTest::newRow("up, first selected")
            << "up" << QList<int>{0, 2} << false << "Unable to move selected items!";
        QTest::newRow("down, all selected")
            << "down" << QList<int>{0, 1, 2} << false << "All items are selected, unable to move one!";
        QTest::newRow("down, last selected")
            << "down" << QList<int>{2} << false << "Unable to move selected items!";
        QTest::newRow("hide, nothing shown") << "hide" << QList<int>{} << true << "No items are selected!";
        QTest::newRow("hide, none selected") << "hide" << QList<int>{} << false << "Please select one item!";
        QTest::newRow("show, nothing hidden")
            << "show" << QList<int>{} << true << "All colums are allready displayed!";
        QTest::newRow("show, none selected") << "show" << QList<int>{} << false << "Please select one item!";
    }
    void refusals() {
        QFETCH(QString, command);
        QFETCH(QList<int>, selected);
        QFETCH(bool, emptyLists);
        QFETCH(QString, message);
        if (emptyLists)
            (command == "show" ? dialog->lstNot : dialog->lstIs)->clear();
        select(command == "show" ? dialog->lstNot : dialog->lstIs, selected);
        const QStringList before = entries(dialog->lstIs) + entries(dialog->lstNot);
        QPushButton* button = command == "up"     ? dialog->cmdUp
                              : command == "down" ? dialog->cmdDown
                              : command == "hide" ? dialog->cmdRemove
                                                  : dialog->cmdSelect;
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(fixture->prompts.texts(), QStringList{message});
        QCOMPARE(fixture->prompts.prompts().first().flags, MessageFlags::OkOnly | MessageFlags::Critical);
        QCOMPARE(entries(dialog->lstIs) + entries(dialog->lstNot), before);
        QVERIFY(!dialog->changed());
    }

    void blocksMoveAndOnlyAcceptReachesTheGrid() {
        select(dialog->lstIs, {1, 2});
        QTest::keyClick(dialog->lstIs, Qt::Key_F5);
        QCOMPARE(entries(dialog->lstIs), (QStringList{"003) Titel", "004) Beginn Datum", "002) Ressource"}));
        QVERIFY(dialog->lstIs->item(0)->isSelected() && dialog->lstIs->item(1)->isSelected());
        QVERIFY(dialog->cmdSave->isEnabled());
        QCOMPARE(shown(), (std::vector<int>{1, 2, 3}));
        QTest::keyClick(dialog->lstIs, Qt::Key_F6);
        QCOMPARE(entries(dialog->lstIs), (QStringList{"002) Ressource", "003) Titel", "004) Beginn Datum"}));
        select(dialog->lstIs, {0});
        dialog->cmdDown_Click();
        select(dialog->lstNot, {5});
        QTest::keyClick(dialog->lstNot, Qt::Key_F3);
        QCOMPARE(dialog->lstIs->item(3)->text(), QStringLiteral("009) Text"));
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QCOMPARE(shown(), (std::vector<int>{2, 1, 3, 8}));
        QVERIFY(!dialog->cmdSave->isEnabled());
        // Cancel after Accept keeps what was accepted.
        select(dialog->lstIs, {0});
        dialog->cmdRemove_Click();
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QCOMPARE(shown(), (std::vector<int>{2, 1, 3, 8}));
    }

    void ctrlActsOnAllColumns() {
        QTest::keyClick(dialog->lstIs, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(dialog->lstIs->count(), 0);
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        QVERIFY(shown().empty());

        dialog->Init(*grid);
        QTest::mouseClick(dialog->cmdSelect, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(dialog->lstNot->count(), 0);
        QCOMPARE(entries(dialog->lstIs).first(), QStringLiteral("001) Key"));
        // The flag served one click: the next show, without Ctrl, finds nothing to show.
        QTest::mouseClick(dialog->cmdSelect, Qt::LeftButton);
        QCOMPARE(fixture->prompts.texts(), QStringList{"All colums are allready displayed!"});
    }

    void typingALetterFindsTheNextCaption() {
        dialog->lstNot->setFocus();
        dialog->lstNot->setCurrentRow(0);
        QTest::keyClick(dialog->lstNot, Qt::Key_E);
        QCOMPARE(dialog->lstNot->currentItem()->text(), QStringLiteral("006) Ende Datum"));
        QTest::keyClick(dialog->lstNot, Qt::Key_E);
        QCOMPARE(dialog->lstNot->currentItem()->text(), QStringLiteral("007) Ende Zeit"));
        QCOMPARE(dialog->lstNot->selectedItems().size(), 1);
    }

    void acceptingUnmovedListsOrdersByIndex() {
        GridLayout layout = grid->gridLayout();
        layout.columns[3].displayPosition = 0;
        grid->setGridLayout(layout);
        QCOMPARE(shown(), (std::vector<int>{3, 1, 2}));
        dialog->Init(*grid);
        dialog->cmdSave_Click();
        QCOMPARE(shown(), (std::vector<int>{1, 2, 3}));
    }
};

QTEST_MAIN(TstGridCols)
#include "tst_gridcols.moc"
