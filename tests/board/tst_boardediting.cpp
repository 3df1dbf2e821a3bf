#include "BoardFixture.h"
#include "app/MessageFlags.h"
#include "app/ui/ColorComboBox.h"
#include "app/ui/ColorItem.h"
#include "app/ui/bsInput.h"
#include "board/BoardMenus.h"
#include "board/DetailPanel.h"
#include "editing/frmClearUp.h"
#include "editing/frmDateItem.h"
#include "editing/frmSeries.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

namespace {
const QDate monday(2026, 3, 2);

TimePoint at(int hour, int minute = 0) {
    return BoardFixture::at(monday, hour, minute);
}
} // namespace

// The board driven as the user drives it: mouse gestures on the chart, the detail panel, the
// deletion commands.
class TstBoardEditing : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    frmMain* board = nullptr;

    [[nodiscard]] QWidget* viewport() const { return board->chart()->viewport(); }
    [[nodiscard]] int middleOf(int row) const {
        return (board->chart()->rowTop(row) + board->chart()->rowBottom(row)) / 2;
    }
    [[nodiscard]] QPoint point(TimePoint time, int row) const {
        return {board->chart()->xAt(time), middleOf(row)};
    }

    void drag(const QPoint& from, const QPoint& to) {
        QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport(), from + (to - from) / 2);
        QTest::mouseMove(viewport(), to);
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, to);
    }

    ChartItem& addItem(const QString& key, int row, TimePoint start, TimePoint end,
                       const QString& series = {}) {
        return fixture->addItem(key, fixture->chart().rows().byPosition(row)->key(), start, end, series);
    }

    void fillPanel(const QString& startDate, const QString& startTime, const QString& endDate,
                   const QString& endTime) {
        DetailPanel& panel = *board->detailPanel();
        panel.tx[DetailPanel::StartDate]->setText(startDate);
        panel.tx[DetailPanel::StartTime]->setText(startTime);
        panel.tx[DetailPanel::EndDate]->setText(endDate);
        panel.tx[DetailPanel::EndTime]->setText(endTime);
    }

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>("/newfile");
        board = fixture->board;
        fixture->activate();
        fixture->chart().rows().add("R2", "Van", "Resources");
        fixture->chart().redraw();
        fixture->showBoard();
        board->mZoomI_Click(8);
        board->setDirty(false);
        board->chart()->scrollTo(at(6));
    }

    void cleanup() {
        fixture.reset();
        board = nullptr;
    }

    void drawAndMoveWithTheMouse() {
        drag(point(at(8), 1), point(at(10), 1));
        GanttData& data = fixture->chart();
        QCOMPARE(data.items().count(), 1);
        const ChartItem* item = data.items().byPosition(1);
        QCOMPARE(item->start(), at(8));
        QCOMPARE(item->end(), at(10));
        QCOMPARE(item->styleKey(), QString("Date"));
        QVERIFY(board->Dirty());
        QCOMPARE(fixture->items().Count(), 1);
        QCOMPARE(fixture->items().Record(0).key, item->key());
        // The new item is current, and the click that ended drawing did not clear the panel.
        QCOMPARE(board->GantItemIndex(), 1);
        const DetailPanel& panel = *board->detailPanel();
        QVERIFY(panel.isEnabled());
        QCOMPARE(panel.tx[DetailPanel::StartDate]->text(), FieldDateText(monday));
        QCOMPARE(panel.tx[DetailPanel::StartTime]->text(), QString("08:00"));
        QCOMPARE(panel.tx[DetailPanel::EndTime]->text(), QString("10:00"));
        QCOMPARE(panel.styleKey(), QString("Date"));
        QCOMPARE(board->statusPanel(6)->text(), QString("1 "));

        // Move it one hour later onto the second row.
        drag(point(at(9), 1), point(at(10), 2));
        QCOMPARE(item->start(), at(9));
        QCOMPARE(item->end(), at(11));
        QCOMPARE(item->rowKey(), QString("R2"));
        const ItemRecord record = fixture->items().Record(0);
        QCOMPARE(record.resourceCaption, QString("Van"));
        QCOMPARE(record.startTime, at(9).timePart());
        QCOMPARE(panel.tx[DetailPanel::StartTime]->text(), QString("09:00"));

        // A click on the empty area clears the panel.
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, point(at(7), 1));
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!panel.isEnabled());
        QVERIFY(fixture->prompts.prompts().isEmpty());
    }

    void drawingRefusedInReadOnlyMode() {
        SetReadOnly(true);
        drag(point(at(8), 1), point(at(10), 1));
        QCOMPARE(fixture->chart().items().count(), 0);
        QVERIFY(!board->Dirty());
        SetReadOnly(false);
    }

    void seriesMemberMovedOnTheBoard() {
        addItem("S1", 1, at(8), at(9), "SER");
        addItem("S2", 1, at(8).addDays(1), at(9).addDays(1), "SER");
        fixture->prompts.answerMessage(MessageResult::Yes);
        drag(point(at(8, 30), 1), point(at(9, 30), 1));
        QCOMPARE(fixture->prompts.texts(), QStringList{"Change the following items of this series too?"});
        QCOMPARE(fixture->chart().items().byKey("S1")->start(), at(9));
        QCOMPARE(fixture->chart().items().byKey("S2")->start(), at(9).addDays(1));
    }

    // The members the follow-up moves are announced by the board, yet the editor stays on its item.
    void editorKeepsItsItemWhenMembersFollow() {
        addItem("S1", 1, at(8), at(9), "SER");
        addItem("S2", 1, at(8).addDays(1), at(9).addDays(1), "SER");
        frmDateItem* editor = frmDateItem::open(*board);
        fixture->items().ItemSeledctedById("S1", board->ID());
        editor->setFieldText(frmDateItem::StartTimeField, "07:00");
        fixture->prompts.answerMessage(MessageResult::Yes);
        QVERIFY(editor->Store(false));
        QCOMPARE(fixture->chart().items().byKey("S2")->start(), at(7).addDays(1));
        QCOMPARE(editor->itemKey(), QString("S1"));
        editor->close();
    }

    void doubleClickOpensEditor_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("resourceKey");
        QTest::newRow("on the second row") << 2 << "R2";
        QTest::newRow("below the last row") << 0 << "";
    }

    void doubleClickOpensEditor() {
        QFETCH(int, row);
        const QPoint where = row > 0 ? point(at(11), row)
                                     : QPoint(board->chart()->xAt(at(11)), board->chart()->rowBottom(2) + 30);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, where);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QVERIFY(editor->itemKey().isEmpty());
        QFETCH(QString, resourceKey);
        if (resourceKey.isEmpty())
            QVERIFY(editor->resourceKey() != "R2");
        else
            QCOMPARE(editor->resourceKey(), resourceKey);
        QCOMPARE(editor->fieldText(frmDateItem::StartTimeField), QString("11:00"));
        // A double click by accident, then Return: the untouched new item asks nothing and stores nothing.
        QTest::keyClick(editor, Qt::Key_Return);
        editor->cmd_Click(frmDateItem::ReturnCommand);
        QVERIFY(!editor->isVisible());
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(fixture->chart().items().count(), 0);
    }

    void rightClicksOpenTheMenus() {
        addItem("A", 1, at(8), at(10));
        QTest::mouseClick(viewport(), Qt::RightButton, {}, point(at(9), 1));
        QCOMPARE(board->GantItemIndex(), 1);
        QVERIFY(board->menus()->mItem->isVisible());
        board->menus()->mItem->close();

        QTest::mouseClick(viewport(), Qt::RightButton, {}, QPoint(10, middleOf(2)));
        QCOMPARE(board->GantRow(), 2);
        QVERIFY(board->menus()->mRow->isVisible());
        board->menus()->mRow->close();
    }

    void tipText_data() {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char* name, QTime start, QDateTime end, const char* caption,
                            const char* text, const char* series, const char* tip) {
            QTest::newRow(name) << QDateTime(monday, start) << end << caption << text << series << tip;
        };
        const QDate next = monday.addDays(1);
        row("one day", QTime(8, 0), QDateTime(monday, QTime(10, 0)), "", "", "", "{M}\r\n08:00 - 10:00");
        row("whole days", QTime(0, 0), QDateTime(next.addDays(1), QTime(0, 0)), "", "", "", "{M} - {W}");
        row("over midnight", QTime(22, 0), QDateTime(next, QTime(6, 0)), "Night", "", "",
            "{M} - 22:00\r\n{T} - 06:00\r\nNight");
        row("series member", QTime(8, 0), QDateTime(monday, QTime(9, 0)), "Weekly", "Bring the keys", "SER",
            "(S) {M}\r\n08:00 - 09:00\r\nWeekly\r\nBring the keys");
    }

    void tipText() {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(QString, series);
        ChartItem& item =
            addItem("T", 1, TimePoint::fromDateTime(start), TimePoint::fromDateTime(end), series);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        item.setCaption(caption);
        item.setText(text);
        // {M}, {T} and {W}: Monday, Tuesday and Wednesday in the medium date form.
        QFETCH(QString, tip);
        tip.replace("{M}", TimePoint::fromDate(monday).mediumDate())
            .replace("{T}", TimePoint::fromDate(monday.addDays(1)).mediumDate())
            .replace("{W}", TimePoint::fromDate(monday.addDays(2)).mediumDate());
        QCOMPARE(frmMain::ItemTipText(item), tip);
    }

    void panelApplies() {
        addItem("A", 1, at(8), at(10), "SER");
        addItem("B", 1, at(8).addDays(7), at(10).addDays(7), "SER");
        board->setGantItemIndex(1);
        const DetailPanel& panel = *board->detailPanel();
        QVERIFY(panel.lblSeries->isEnabled());
        fillPanel("02.03.2026", "1130", "2.3.26", "12.5");
        board->detailPanel()->tx[DetailPanel::Caption]->setText("Board meeting");
        board->detailPanel()->chooseStyle("Date Fixed");
        fixture->prompts.answerMessage(MessageResult::No);
        board->cmdDOK_Click();

        const ChartItem* item = fixture->chart().items().byKey("A");
        QCOMPARE(item->start(), at(11, 30));
        QCOMPARE(item->end(), at(12, 30));
        QCOMPARE(item->caption(), QString("Board meeting"));
        QCOMPARE(item->styleKey(), QString("Date Fixed"));
        QCOMPARE(item->movementLock(), 2);
        QCOMPARE(fixture->items().Record(0).caption, QString("Board meeting"));
        QVERIFY(board->Dirty());
        // The change reached the series follow-up, which was answered No.
        QCOMPARE(fixture->prompts.texts(), QStringList{"Change the following items of this series too?"});
        QCOMPARE(fixture->chart().items().byKey("B")->start(), at(8).addDays(7));
        QCOMPARE(panel.tx[DetailPanel::StartTime]->text(), QString("11:30"));
    }

    void panelRefuses_data() {
        QTest::addColumn<QString>("startDate");
        QTest::addColumn<QString>("startTime");
        QTest::addColumn<QString>("endDate");
        QTest::addColumn<QString>("endTime");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* startTime, const char* endTime, const char* message,
                            const char* startDate = "02.03.2026") {
            QTest::newRow(name) << startDate << startTime << "02.03.2026" << endTime << message;
        };
        const char* missing = "Please input start and end time!";
        const char* check = "Check start and end timepoint!";
        row("no end time", "08:00", "", missing);
        row("no date", "08:00", "09:00", missing, "31.02.2026");
        row("end before start", "10:00", "09:00", check);
        row("end at start", "09:00", "09:00", check);
        row("conflict", "09:30", "12:30", "Change is impossible! Conflict with existing item!");
        row("touching is fine", "07:00", "12:00", "");
    }

    void panelRefuses() {
        QFETCH(QString, message);
        addItem("A", 1, at(8), at(9));
        addItem("Other", 1, at(12), at(13));
        board->setGantItemIndex(1);
        board->setDirty(false);
        QFETCH(QString, startDate);
        QFETCH(QString, startTime);
        QFETCH(QString, endDate);
        QFETCH(QString, endTime);
        fillPanel(startDate, startTime, endDate, endTime);
        board->cmdDOK_Click();
        const ChartItem* item = fixture->chart().items().byKey("A");
        if (message.isEmpty()) {
            QVERIFY(fixture->prompts.prompts().isEmpty());
            QCOMPARE(item->start(), at(7));
            return;
        }
        QCOMPARE(fixture->prompts.texts(), QStringList{message});
        QCOMPARE(fixture->prompts.prompts().first().flags, int(MessageFlags::Critical));
        QCOMPARE(item->start(), at(8));
        QCOMPARE(item->end(), at(9));
        QVERIFY(!board->Dirty());
    }

    void panelStylesDrawnWithColours() {
        const ColorComboBox& styles = *board->detailPanel()->cmbStyle;
        QCOMPARE(styles.count(), 3);
        QCOMPARE(styles.itemData(1, ColorItem::EntryTextRole).toString(),
                 "Date Fixed" + QString(QChar(0)) + QString::number(0xFFFFC0));
        QVERIFY(qobject_cast<ColorItem*>(styles.itemDelegate()));
    }

    void deleteWithAndWithoutConfirmation() {
        addItem("A", 1, at(8), at(9));
        addItem("B", 1, at(10), at(11));
        board->setGantItemIndex(1);
        fixture->prompts.answerMessage(MessageResult::No);
        board->mEditI_Click(8);
        QCOMPARE(fixture->prompts.texts(), QStringList{"Delete current item?"});
        QCOMPARE(fixture->chart().items().count(), 2);

        fixture->prompts.answerMessage(MessageResult::Yes);
        board->tbToolBar_ButtonClick("del");
        QCOMPARE(fixture->chart().items().count(), 1);
        QVERIFY(!fixture->chart().items().byKey("A"));
        QCOMPARE(fixture->items().Count(), 1);
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!board->detailPanel()->isEnabled());
        QVERIFY(board->Dirty());

        // Nothing current: nothing deleted, nothing asked.
        fixture->prompts.clear();
        board->DeleteItem();
        QVERIFY(fixture->prompts.prompts().isEmpty());

        fixture->options().setConfirmDelete(false);
        board->setGantItemIndex(1);
        board->mItemI_Click(0);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(fixture->chart().items().count(), 0);
    }

    void deletingAnotherItemKeepsThePanel() {
        addItem("A", 1, at(8), at(9));
        addItem("B", 1, at(10), at(11));
        board->setGantItemIndex(2);
        ItemList list;
        list.add(QString("A"));
        fixture->items().DeleteItems(list, "{ITEM-LIST}", false);
        QCOMPARE(board->GantItemIndex(), 1);
        QCOMPARE(board->detailPanel()->caption(), QString("B"));
        QVERIFY(board->detailPanel()->isEnabled());
    }

    // The panel names the item's resource, takes Tab from top to bottom, and is emptied completely when
    // its item goes, however it goes.
    void panelFollowsItsItem_data() {
        QTest::addColumn<QString>("removal");
        QTest::newRow("item deleted") << "item";
        QTest::newRow("resource deleted") << "resource";
        QTest::newRow("removed from the chart alone") << "chart";
    }

    void panelFollowsItsItem() {
        QFETCH(QString, removal);
        addItem("A", 2, at(8), at(9));
        addItem("B", 1, at(10), at(11));
        board->setGantItemIndex(1);
        DetailPanel& panel = *board->detailPanel();
        QCOMPARE(panel.lblResource->text(), QString("Van"));
        QCOMPARE(panel.styleKey(), QString("Date"));
        QList<QWidget*> tabs;
        for (QWidget* w = panel.tx[DetailPanel::StartDate]->nextInFocusChain();
             w != panel.tx[DetailPanel::StartDate]; w = w->nextInFocusChain()) {
            if (panel.isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
                tabs << w;
        }
        const QList<QWidget*> expected = {panel.tx[DetailPanel::StartTime],
                                          panel.tx[DetailPanel::EndDate],
                                          panel.tx[DetailPanel::EndTime],
                                          panel.tx[DetailPanel::Caption],
                                          panel.cmbStyle,
                                          panel.cmdDOK};
        QCOMPARE(tabs, expected);

        fixture->prompts.answerMessage(MessageResult::Yes);
        if (removal == "item") {
            board->mEditI_Click(8);
        } else if (removal == "resource") {
            board->setGantRow(2);
            board->mRowI_Click(4);
        } else {
            fixture->chart().items().remove("A");
            fixture->chart().redraw();
        }
        QVERIFY(!fixture->chart().items().byKey("A"));
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!panel.isEnabled());
        for (const QLineEdit* field : panel.tx)
            QVERIFY(field->text().isEmpty());
        QVERIFY(panel.lblResource->text().isEmpty());
        QVERIFY(panel.styleKey().isEmpty());
        // The other item is still there and can be shown.
        board->setGantItemIndex(fixture->chart().items().byKey("B")->position());
        QCOMPARE(panel.lblResource->text(), QString("Resource"));
    }

    // A series and a clean-up tell the board and the editor of every item; each view refreshes once.
    void bulkWorkRefreshesEachViewOnce() {
        addItem("A", 1, at(8), at(9));
        board->setGantItemIndex(1);
        frmDateItem* editor = frmDateItem::open(*board);
        fixture->items().ItemSeledctedById("A", board->ID());
        QSignalSpy panelStarts(board->detailPanel()->tx[DetailPanel::StartDate], &QLineEdit::textChanged);
        QSignalSpy editorStarts(editor->tx[frmDateItem::StartDateField], &QLineEdit::textChanged);
        QSignalSpy redraws(&fixture->chart(), &GanttData::changed);
        frmSeries series;
        series.ItemID("A");
        series.tx[frmSeries::CountField]->setText("30");
        series.Update();
        QCOMPARE(fixture->items().Count(), 31);
        const QString lastDay = monday.addDays(30).toString("dd.MM.yyyy");
        QCOMPARE(board->detailPanel()->tx[DetailPanel::StartDate]->text(), lastDay);
        QCOMPARE(editor->fieldText(frmDateItem::StartDateField), lastDay);
        QCOMPARE(panelStarts.size(), 1);
        QCOMPARE(editorStarts.size(), 1);
        QCOMPARE(redraws.size(), 1);

        frmClearUp cleanUp;
        cleanUp.tx->setText(lastDay);
        fixture->prompts.answerMessage(MessageResult::Yes);
        QVERIFY(cleanUp.CleanUp());
        QCOMPARE(fixture->items().Count(), 0);
        QVERIFY(board->detailPanel()->tx[DetailPanel::StartDate]->text().isEmpty());
        QVERIFY(editor->itemKey().isEmpty());
        QCOMPARE(panelStarts.size(), 2);
        QCOMPARE(editorStarts.size(), 2);
        QCOMPARE(redraws.size(), 2);
        editor->close();
    }

    void newItemCommands() {
        board->setActDate(TimePoint::fromDate(monday));
        board->mEditI_Click(0);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->fieldText(frmDateItem::StartDateField), TimePoint::fromDate(monday).shortDate());
        QVERIFY(board->Dirty());
        editor->hide();

        // The toolbar button opens the same editor without the gate.
        board->setDirty(false);
        board->tbToolBar_ButtonClick("new");
        QCOMPARE(frmDateItem::instance(), editor);
        QVERIFY(editor->isVisible());
        QVERIFY(!board->Dirty());
    }
};

QTEST_MAIN(TstBoardEditing)
#include "tst_boardediting.moc"
