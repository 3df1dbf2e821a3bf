#include "BoardDay.h"
#include "app/MessageFlags.h"
#include "app/ui/ColorComboBox.h"
#include "app/ui/ColorItem.h"
#include "app/ui/ctrOSC.h"
#include "board/BoardMenus.h"
#include "board/DetailPanel.h"
#include "editing/ResourceCommands.h"
#include "editing/frmClearUp.h"
#include "editing/frmDateItem.h"
#include "editing/frmSeries.h"
#include "model/iMessenger.h"
#include "settings/frmCalendarColors.h"
#include "settings/frmScheduleAppearance.h"
#include "settings/frmSettings.h"
#include "settings/frmSettingsGeneral.h"
#include "views/ItemGrid.h"
#include "views/frmListview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>

namespace {
QSet<QString> keysIn(const GanttData& data, const QString& rowKey) {
    QSet<QString> keys;
    for (const ChartItem* item : data.itemsInRange(rowKey, TimePoint::minimum(), TimePoint::maximum()))
        keys.insert(item->key());
    return keys;
}

template <typename Dialog> Dialog* openDialog(frmMain& board) {
    const QList<Dialog*> dialogs = board.findChildren<Dialog*>();
    return dialogs.size() == 1 && dialogs.first()->isVisible() ? dialogs.first() : nullptr;
}

// A view that deletes every item it is told has changed, as a view with a rule of its own might.
class DeletingView : public iMessenger {
public:
    explicit DeletingView(clsItems& items)
        : m_items(items) {
        m_items.AddMessenger(*this);
    }
    ~DeletingView() override { m_items.RemoveMessenger(*this); }
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

// The board driven as the user drives it, on rows Room (R1) and Van (R2): mouse gestures on the chart,
// the detail panel, the editor, the item list, the option dialogs and the deletion commands. Run under
// the address sanitizer, a stale pointer to a booking, a row or a position anywhere here is a finding.
class TstBoardEditing : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    frmMain* board = nullptr;

    [[nodiscard]] GanttData& data() const { return fixture->chart(); }
    [[nodiscard]] DetailPanel& panel() const { return *board->detailPanel(); }
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
        return fixture->addItem(key, QStringLiteral("R%1").arg(row), start, end, series);
    }
    void select(const QString& key) { board->setGantItemIndex(fixture->item(key)->position()); }
    void paint() { viewport()->grab(); }

    void fillPanel(const QString& startDate, const QString& startTime, const QString& endDate,
                   const QString& endTime) {
        panel().tx[DetailPanel::StartDate]->setText(startDate);
        panel().tx[DetailPanel::StartTime]->setText(startTime);
        panel().tx[DetailPanel::EndDate]->setText(endDate);
        panel().tx[DetailPanel::EndTime]->setText(endTime);
    }

    frmDateItem* openEditor() {
        board->mViewI_Click(1);
        return frmDateItem::instance();
    }

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>();
        board = fixture->board;
        fixture->openPlan({"Room", "Van"}, {});
        fixture->showHours(at(6));
    }

    void cleanup() {
        QCOMPARE(fixture->prompts.unansweredCount(), 0);
        if (frmDateItem* editor = frmDateItem::instance())
            editor->hide();
        fixture.reset();
        board = nullptr;
    }

    void drawAndMoveWithTheMouse() {
        drag(point(at(8), 1), point(at(10), 1));
        QCOMPARE(fixture->itemCount(), 1);
        const ChartItem* item = data().items().byPosition(1);
        QCOMPARE(item->start(), at(8));
        QCOMPARE(item->end(), at(10));
        QVERIFY(board->Dirty());
        QCOMPARE(fixture->items().Count(), 1);
        QCOMPARE(fixture->items().Record(0).key, item->key());
        // The new item is current, and the click that ended drawing did not clear the panel.
        QCOMPARE(board->GantItemIndex(), 1);
        QVERIFY(panel().isEnabled());
        QCOMPARE(panel().tx[DetailPanel::StartTime]->text(), QString("08:00"));
        QCOMPARE(panel().styleKey(), QString("Date"));
        QCOMPARE(board->statusPanel(6)->text(), QString("1 "));
        drag(point(at(9), 1), point(at(10), 2));
        QCOMPARE(item->start(), at(9));
        QCOMPARE(item->end(), at(11));
        QCOMPARE(item->rowKey(), QString("R2"));
        const ItemRecord record = fixture->items().Record(0);
        QCOMPARE(record.resourceCaption, QString("Van"));
        QCOMPARE(record.startTime, at(9).timePart());
        QCOMPARE(panel().tx[DetailPanel::StartTime]->text(), QString("09:00"));
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, point(at(7), 1));
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!panel().isEnabled());
        QVERIFY(fixture->prompts.prompts().isEmpty());
        SetReadOnly(true);
        drag(point(at(12), 1), point(at(14), 1));
        SetReadOnly(false);
        QCOMPARE(fixture->itemCount(), 1);
    }

    // A series member moved on the board or in the editor takes the others along; the editor stays on
    // its own item while the board announces the members that follow.
    void seriesFollowsTheMember() {
        addItem("S1", 1, at(8), at(9), "SER");
        addItem("S2", 1, at(8).addDays(1), at(9).addDays(1), "SER");
        fixture->prompts.answerMessage(MessageResult::Yes);
        drag(point(at(8, 30), 1), point(at(9, 30), 1));
        QCOMPARE(fixture->prompts.texts(), QStringList{"Change the following items of this series too?"});
        QCOMPARE(fixture->item("S1")->start(), at(9));
        QCOMPARE(fixture->item("S2")->start(), at(9).addDays(1));
        frmDateItem* editor = frmDateItem::open(*board);
        fixture->items().ItemSeledctedById("S1", board->ID());
        editor->setFieldText(frmDateItem::StartTimeField, "07:00");
        fixture->prompts.answerMessage(MessageResult::Yes);
        QVERIFY(editor->Store(false));
        QCOMPARE(fixture->item("S2")->start(), at(7).addDays(1));
        QCOMPARE(editor->itemKey(), QString("S1"));
    }

    void doubleClickOpensEditor_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("on the second row") << 2;
        QTest::newRow("below the last row") << 0;
    }

    void doubleClickOpensEditor() {
        QFETCH(int, row);
        const QPoint where = row > 0 ? point(at(11), row)
                                     : QPoint(board->chart()->xAt(at(11)), board->chart()->rowBottom(2) + 30);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, where);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor && editor->isVisible());
        QVERIFY(editor->itemKey().isEmpty());
        QCOMPARE(editor->resourceKey() == "R2", row == 2);
        QCOMPARE(editor->fieldText(frmDateItem::StartTimeField), QString("11:00"));
        // A double click by accident, then Return: the untouched new item asks nothing and stores nothing.
        QTest::keyClick(editor, Qt::Key_Return);
        editor->cmd_Click(frmDateItem::ReturnCommand);
        QVERIFY(!editor->isVisible());
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(fixture->itemCount(), 0);
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
        // The styles are drawn in their colours.
        const ColorComboBox& styles = *panel().cmbStyle;
        QCOMPARE(styles.itemData(1, ColorItem::EntryTextRole).toString(),
                 "Date Fixed" + QString(QChar(0)) + QString::number(0xFFFFC0));
        QVERIFY(qobject_cast<ColorItem*>(styles.itemDelegate()));
        addItem("A", 1, at(8), at(10), "SER");
        addItem("B", 1, at(8).addDays(7), at(10).addDays(7), "SER");
        select("A");
        QVERIFY(panel().lblSeries->isEnabled());
        fillPanel("02.03.2026", "1130", "2.3.26", "12.5");
        panel().tx[DetailPanel::Caption]->setText("Board meeting");
        panel().chooseStyle("Date Fixed");
        fixture->prompts.answerMessage(MessageResult::No);
        board->cmdDOK_Click();
        const ChartItem* item = fixture->item("A");
        QCOMPARE(item->start(), at(11, 30));
        QCOMPARE(item->end(), at(12, 30));
        QCOMPARE(item->caption(), QString("Board meeting"));
        QCOMPARE(item->styleKey(), QString("Date Fixed"));
        QCOMPARE(item->movementLock(), 2);
        QCOMPARE(fixture->items().Record(0).caption, QString("Board meeting"));
        QVERIFY(board->Dirty());
        // The change reached the series follow-up (the answer No was taken), which kept the other member.
        QCOMPARE(fixture->item("B")->start(), at(8).addDays(7));
        QCOMPARE(panel().tx[DetailPanel::StartTime]->text(), QString("11:30"));
    }

    void panelRefuses_data() {
        QTest::addColumn<QString>("startDate");
        QTest::addColumn<QString>("startTime");
        QTest::addColumn<QString>("endTime");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* startTime, const char* endTime, const char* message,
                            const char* startDate = "02.03.2026") {
            QTest::newRow(name) << startDate << startTime << endTime << message;
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
        select("A");
        board->setDirty(false);
        QFETCH(QString, startDate);
        QFETCH(QString, startTime);
        QFETCH(QString, endTime);
        fillPanel(startDate, startTime, "02.03.2026", endTime);
        board->cmdDOK_Click();
        const ChartItem* item = fixture->item("A");
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

    void deleteCommands() {
        addItem("A", 1, at(8), at(9));
        addItem("B", 1, at(10), at(11));
        addItem("C", 1, at(12), at(13));
        // Another item deleted elsewhere: the panel stays on its own.
        select("C");
        ItemList list;
        list.add(QString("A"));
        fixture->items().DeleteItems(list, "{ITEM-LIST}", false);
        QCOMPARE(board->GantItemIndex(), 2);
        QCOMPARE(panel().caption(), QString("C"));
        QVERIFY(panel().isEnabled());
        select("B");
        fixture->prompts.answerMessage(MessageResult::No);
        board->mEditI_Click(8);
        QCOMPARE(fixture->prompts.texts(), QStringList{"Delete current item?"});
        QCOMPARE(fixture->itemCount(), 2);
        fixture->prompts.answerMessage(MessageResult::Yes);
        board->tbToolBar_ButtonClick("del");
        QVERIFY(!fixture->item("B"));
        QCOMPARE(fixture->items().Count(), 1);
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!panel().isEnabled());
        QVERIFY(board->Dirty());
        // Nothing current: nothing deleted, nothing asked.
        fixture->prompts.clear();
        board->DeleteItem();
        QVERIFY(fixture->prompts.prompts().isEmpty());
        fixture->options().setConfirmDelete(false);
        select("C");
        board->mItemI_Click(0);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(fixture->itemCount(), 0);
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
        select("A");
        DetailPanel& panel = *board->detailPanel();
        QCOMPARE(panel.lblResource->text(), QString("Van"));
        QCOMPARE(panel.styleKey(), QString("Date"));
        QList<QWidget*> tabs;
        for (QWidget* w = panel.tx[DetailPanel::StartDate]->nextInFocusChain();
             w != panel.tx[DetailPanel::StartDate]; w = w->nextInFocusChain()) {
            if (panel.isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
                tabs << w;
        }
        QList<QWidget*> expected;
        for (const int field :
             {DetailPanel::StartTime, DetailPanel::EndDate, DetailPanel::EndTime, DetailPanel::Caption})
            expected << panel.tx[field];
        QCOMPARE(tabs, expected << panel.cmbStyle << panel.cmdDOK);
        fixture->prompts.answerMessage(MessageResult::Yes);
        if (removal == "item") {
            board->mEditI_Click(8);
        } else if (removal == "resource") {
            board->setGantRow(2);
            board->mRowI_Click(ResourceCommands::DeleteResource);
        } else {
            fixture->prompts.clear();
            data().items().remove("A");
            data().redraw();
        }
        QVERIFY(!fixture->item("A"));
        QCOMPARE(board->GantItemIndex(), -1);
        QVERIFY(!panel.isEnabled());
        for (const QLineEdit* field : panel.tx)
            QVERIFY(field->text().isEmpty());
        QVERIFY(panel.lblResource->text().isEmpty());
        QVERIFY(panel.styleKey().isEmpty());
        // The other item is still there and can be shown.
        select("B");
        QCOMPARE(panel.lblResource->text(), QString("Room"));
    }

    // A series and a clean-up tell the board and the editor of every item; each view refreshes once.
    void bulkWorkRefreshesEachViewOnce() {
        addItem("A", 1, at(8), at(9));
        select("A");
        frmDateItem* editor = frmDateItem::open(*board);
        fixture->items().ItemSeledctedById("A", board->ID());
        QSignalSpy panelStarts(panel().tx[DetailPanel::StartDate], &QLineEdit::textChanged);
        QSignalSpy editorStarts(editor->tx[frmDateItem::StartDateField], &QLineEdit::textChanged);
        QSignalSpy redraws(&data(), &GanttData::changed);
        frmSeries series;
        series.ItemID("A");
        series.tx[frmSeries::CountField]->setText("30");
        series.Update();
        QCOMPARE(fixture->items().Count(), 31);
        const QString lastDay = monday.addDays(30).toString("dd.MM.yyyy");
        QCOMPARE(panel().tx[DetailPanel::StartDate]->text(), lastDay);
        QCOMPARE(editor->fieldText(frmDateItem::StartDateField), lastDay);
        for (const QSignalSpy* spy : {&panelStarts, &editorStarts, &redraws})
            QCOMPARE(spy->size(), 1);
        frmClearUp cleanUp;
        cleanUp.tx->setText(lastDay);
        fixture->prompts.answerMessage(MessageResult::Yes);
        QVERIFY(cleanUp.CleanUp());
        QCOMPARE(fixture->items().Count(), 0);
        QVERIFY(panel().tx[DetailPanel::StartDate]->text().isEmpty());
        QVERIFY(editor->itemKey().isEmpty());
        for (const QSignalSpy* spy : {&panelStarts, &editorStarts, &redraws})
            QCOMPARE(spy->size(), 2);
    }

    void newItemCommands() {
        board->setActDate(TimePoint::fromDate(monday));
        board->mEditI_Click(0);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor && editor->isVisible());
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

    // What a new user did on the demo timetable: a booking changed in the panel and in the editor,
    // deleted with Del, the chart painted in between.
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
        addItem("A", 1, at(8), at(9));
        addItem("B", 1, at(10), at(11));
        addItem("C", 2, at(12), at(13));
        select("A");
        paint();
        if (inPanel) {
            panel().tx[DetailPanel::EndTime]->setText("09:30");
            board->cmdDOK_Click();
            QCOMPARE(fixture->item("A")->end(), at(9, 30));
            paint();
        }
        if (inEditor) {
            frmDateItem* editor = openEditor();
            QCOMPARE(editor->itemKey(), QString("A"));
            editor->setFieldText(frmDateItem::EndTimeField, "09:45");
            if (toOtherResource)
                editor->cmbRes->setCurrentIndex(editor->cmbRes->findData("R2"));
            editor->cmd_Click(frmDateItem::OkCommand);
            QCOMPARE(fixture->item("A")->end(), at(9, 45));
            QCOMPARE(fixture->item("A")->rowKey(), QString(toOtherResource ? "R2" : "R1"));
            paint();
        }
        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mEditI_Click(8);
        paint();
        QVERIFY(!fixture->item("A"));
        QCOMPARE(fixture->items().Count(), 2);
        QCOMPARE(keysIn(data(), "R1"), QSet<QString>{"B"});
        QCOMPARE(keysIn(data(), "R2"), QSet<QString>{"C"});
        for (const int row : {1, 2}) {
            QVERIFY(!data().conflicts(at(7), at(9, 50), QStringLiteral("R%1").arg(row)));
            QCOMPARE(board->chart()->hitTest(point(at(8, 20), row)).area, HitArea::EmptyArea);
        }
        // The old resource goes with its own bookings only.
        data().rows().remove("R1");
        fixture->items().ReadItems();
        paint();
        QCOMPARE(fixture->itemCount(), 1);
        QVERIFY(fixture->item("C"));
    }

    // Removing a resource shifts the positions of the items after its own: Del must still delete the
    // booking that is shown, not the one that moved into its position.
    void currentBookingFollowedWhenAResourceGoes() {
        addItem("A", 1, at(8), at(9));
        addItem("C", 2, at(8), at(9));
        addItem("D", 2, at(10), at(11));
        addItem("E", 2, at(12), at(13));
        select("D");
        board->setGantRow(1);
        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mRowI_Click(ResourceCommands::DeleteResource);
        QCOMPARE(panel().caption(), QString("D"));
        fixture->prompts.answerMessage(MessageResult::Yes);
        board->mEditI_Click(8);
        QVERIFY(!fixture->item("D"));
        QVERIFY(fixture->item("E"));
        QVERIFY(fixture->item("C"));
    }

    void viewDeletesTheChangedBooking() {
        addItem("A", 1, at(8), at(9), "SER");
        addItem("B", 1, at(8).addDays(7), at(9).addDays(7), "SER");
        addItem("F", 2, at(8), at(9), "SER2");
        addItem("G", 2, at(8).addDays(7), at(9).addDays(7), "SER2");
        {
            DeletingView view(fixture->items());
            // The panel: the booking is gone before the series question could be asked about it.
            select("A");
            panel().tx[DetailPanel::EndTime]->setText("09:30");
            board->cmdDOK_Click();
            QVERIFY(!fixture->item("A"));
            // The editor: it stores, then shows an empty item.
            select("F");
            frmDateItem* editor = openEditor();
            editor->setFieldText(frmDateItem::EndTimeField, "09:30");
            editor->cmd_Click(frmDateItem::OkCommand);
            QVERIFY(!fixture->item("F"));
            QVERIFY(editor->itemKey().isEmpty());
            QVERIFY(fixture->prompts.prompts().isEmpty());
        }
        paint();
        QCOMPARE(keysIn(data(), "R1"), QSet<QString>{"B"});
        QCOMPARE(keysIn(data(), "R2"), QSet<QString>{"G"});
    }

    void bookingsAndResourcesGoWhileAQuestionIsOpen() {
        addItem("A", 1, at(8), at(9), "SER");
        addItem("B", 1, at(8).addDays(7), at(9).addDays(7), "SER");
        select("A");
        panel().tx[DetailPanel::StartTime]->setText("08:30");
        panel().tx[DetailPanel::EndTime]->setText("09:30");
        // While "Change the following items of this series too?" waits, the booking is deleted.
        fixture->prompts.answerMessage(MessageResult::Yes,
                                       [this] { fixture->items().Delete("A", QString()); });
        board->cmdDOK_Click();
        QVERIFY(!fixture->item("A"));
        QCOMPARE(fixture->item("B")->start(), at(8, 30).addDays(7));
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

    // One item list, whichever command opens it; the board and the editor follow the rows chosen in it,
    // the board scrolling to a booking two months on. The board's own selection does not move it.
    void itemList() {
        addItem("A", 1, at(8), at(9));
        addItem("B", 2, at(10).addDays(60), at(12).addDays(60));
        select("A");
        fixture->items().ItemSeledctedById("B", board->ID());
        QCOMPARE(board->GantItemIndex(), 1);
        QCOMPARE(board->chart()->firstShownTime(), at(6));
        board->mViewI_Click(3);
        board->tbToolBar_ButtonClick("table");
        board->menus()->toolButton("table")->trigger();
        QCOMPARE(board->findChildren<frmListview*>().size(), 1);
        frmListview* list = frmListview::instance();
        QCOMPARE(list->windowTitle(), QStringLiteral("Tableview of Items"));
        frmDateItem* editor = openEditor();
        ItemGrid& grid = *list->grdList;
        const int row = fixture->items().GetItemIndex("B");
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, 2)).center());
        QCOMPARE(board->GantItemIndex(), fixture->item("B")->position());
        QVERIFY(board->isItemShown(*fixture->item("B")));
        QCOMPARE(panel().caption(), QStringLiteral("B"));
        QCOMPARE(editor->itemKey(), QStringLiteral("B"));
        grid.setCurrentRow(fixture->items().GetItemIndex("A"));
        list->mViewI_Click(5);
        QCOMPARE(panel().caption(), QStringLiteral("A"));
        QCOMPARE(editor->itemKey(), QStringLiteral("A"));
        // Closing the board closes the list, which keeps its layout.
        board->Unload();
        QVERIFY(frmListview::instance() == nullptr);
        QVERIFY(QFile::exists(fixture->path("Documents/QUNTAGRDE.LAY")));
    }

    // The general options are the user's, not the timetable's: read-only mode does not keep them.
    void optionsMenuOpensTheDialogs_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("readOnly");
        for (const bool readOnly : {false, true}) {
            for (const int entry : {0, 1, 2})
                QTest::addRow("entry %d%s", entry, readOnly ? ", read-only" : "") << entry << readOnly;
        }
    }

    void optionsMenuOpensTheDialogs() {
        QFETCH(int, entry);
        QFETCH(bool, readOnly);
        SetReadOnly(readOnly);
        board->menus()->mOptI[std::size_t(entry)]->trigger();
        ButtonBarDialog* const dialogs[] = {openDialog<frmSettingsGeneral>(*board),
                                            openDialog<frmScheduleAppearance>(*board),
                                            openDialog<frmSettings>(*board)};
        ButtonBarDialog* dialog = dialogs[entry];
        QCOMPARE(dialog != nullptr, entry == 0 || !readOnly);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(board->Dirty(), entry != 0 && !readOnly);
        if (dialog) {
            QVERIFY(dialog->isModal());
            dialog->bar()->click(ctrOSC::CancelButton);
            QVERIFY(!dialog->isVisible());
        }
        SetReadOnly(false);
    }

    void storedSettingsShowOnTheBoard() {
        QSignalSpy redraws(&data(), &GanttData::changed);
        board->mOptI_Click(2);
        frmSettings* settings = openDialog<frmSettings>(*board);
        QVERIFY(settings);
        settings->cmbGrid->setCurrentIndex(9);
        emit settings->cmbGrid->activated(9);
        settings->bar()->click(ctrOSC::OkButton);
        QCOMPARE(data().settings().gridInterval, QString("1h"));
        QCOMPARE(redraws.size(), 1);
        // Monday's calendar colour reaches the board's upper band at once.
        board->setDirty(false);
        board->mOptI_Click(1);
        frmScheduleAppearance* appearance = openDialog<frmScheduleAppearance>(*board);
        QVERIFY(appearance);
        auto* weekdays = qobject_cast<frmCalendarColors*>(appearance->cmdDateColor_Click(0));
        fixture->prompts.answerColour(0x00FFFF);
        weekdays->cmdBackground[1]->click();
        weekdays->bar()->click(ctrOSC::OkButton);
        QVERIFY(board->Dirty());
        QCOMPARE(redraws.size(), 2);
        QCoreApplication::processEvents();
        const QImage image = viewport()->grab().toImage();
        int yellow = 0;
        for (int x = 0; x < image.width(); ++x)
            yellow += image.pixelColor(x, 4) == QColor(255, 255, 0) ? 1 : 0;
        QVERIFY2(yellow > image.width() / 2, qPrintable(QString::number(yellow)));
        appearance->bar()->click(ctrOSC::CancelButton);
    }
};

QTEST_MAIN(TstBoardEditing)
#include "tst_boardediting.moc"
