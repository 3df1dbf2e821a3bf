#include "BoardDay.h"
#include "app/MessageFlags.h"
#include "board/BoardMenus.h"
#include "editing/frmDateItem.h"

#include <QAccessible>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

namespace {
// Every mouse event the program sees: a keyboard-only run must see none.
class MouseCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
            t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove)
            ++count;
        return false;
    }
};

void addSelection(const char* name, const char* keys, const char* selected, int row) {
    QTest::newRow(name) << QString(keys) << QString(selected) << row;
}

void addChange(const char* name, const char* keys, const char* row, int startHour, int endHour,
               bool readOnly = false) {
    QTest::newRow(name) << QString(keys) << readOnly << QString(row) << startHour << endHour;
}
} // namespace

// The board driven by keys alone, with the chart focused: rows Room (A 8-9, B 10-11, C 13-14 and F
// the next day), Van (D 10:30-11:30) and Bus (empty), the view from 06:00, a grid of hours.
class TstBoardKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    frmMain* board = nullptr;

    [[nodiscard]] GanttChart* chart() const { return board->chart(); }
    [[nodiscard]] ChartItem* item(const QString& key) const { return fixture->item(key); }
    // Keys as QKeySequence writes them, separated by blanks: "Home Ctrl+Right".
    void press(const QString& keys) {
        for (const QString& key : keys.split(' ', Qt::SkipEmptyParts)) {
            const QKeyCombination combination = QKeySequence(key)[0];
            QTest::keyClick(chart(), combination.key(), combination.keyboardModifiers());
        }
    }
    void focusTheChart() {
        board->activateWindow();
        chart()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(board));
        QVERIFY(chart()->hasFocus());
    }

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>();
        board = fixture->board;
        const TimePoint tuesday = at(8).addDays(1);
        fixture->openPlan({"Room", "Van", "Bus"}, {{"A", "R1", at(8), at(9)},
                                                   {"B", "R1", at(10), at(11)},
                                                   {"C", "R1", at(13), at(14)},
                                                   {"F", "R1", tuesday, tuesday.addSeconds(3600)},
                                                   {"D", "R2", at(10, 30), at(11, 30)}});
        fixture->chart().settings().gridInterval = "1h";
        fixture->showHours(at(6));
        chart()->setCurrentRow(1);
        focusTheChart();
    }

    void cleanup() {
        fixture.reset();
        board = nullptr;
    }

    void selection_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("row");
        addSelection("first from the left edge", "Right", "A", 1);
        addSelection("along the row", "Right Right Right", "C", 1);
        addSelection("back along the row", "Right Right Left", "A", 1);
        addSelection("first of the row", "End Home", "A", 1);
        addSelection("last of the row, beyond the view", "End", "F", 1);
        addSelection("stays at the last", "End Right", "F", 1);
        addSelection("stays at the first", "Home Left", "A", 1);
        addSelection("nearest on the next row", "Right Right Down", "D", 2);
        addSelection("empty row leaves nothing selected", "Right Down Down", "", 3);
        addSelection("back over the empty row", "Right Right Down Down Up", "D", 2);
        addSelection("no row above the first", "Right Up", "A", 1);
        addSelection("no row below the last", "Down Down Down", "", 3);
        addSelection("arrows on the empty row", "Down Down Left Right Left Right", "", 3);
    }

    void selection() {
        QFETCH(QString, keys);
        press(keys);
        QFETCH(QString, selected);
        QFETCH(int, row);
        const ChartItem* shown = chart()->currentItem();
        QCOMPARE(shown ? shown->key() : QString(), selected);
        QCOMPARE(board->GantItemIndex(), shown ? shown->position() : -1);
        QCOMPARE(board->GantRow(), row);
        QCOMPARE(chart()->currentRow(), row);
        if (shown)
            QVERIFY(shown->start() >= chart()->firstShownTime() && shown->end() <= chart()->lastShownTime());
        // Arrows that select nothing scroll nothing, neither in time nor up or down.
        if (selected.isEmpty())
            QCOMPARE(chart()->firstShownTime(), at(6));
        QCOMPARE(chart()->verticalScrollBar()->value(), 0);
        // The selection is what assistive technology is told about.
        QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(chart())->focusChild();
        QVERIFY(focus);
        QVERIFY(focus->text(QAccessible::Name).startsWith(selected.isEmpty() ? "Bus" : selected + ", "));
    }

    void changes_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("startHour");
        QTest::addColumn<int>("endHour");
        addChange("move later", "Right Ctrl+Right", "R1", 9, 10);
        addChange("move earlier", "Right Ctrl+Left Ctrl+Left", "R1", 6, 7);
        addChange("move into a booking refused", "Right Ctrl+Right Ctrl+Right", "R1", 9, 10);
        addChange("stretch up to the next", "Right Ctrl+Shift+Right", "R1", 8, 10);
        addChange("stretch into a booking refused", "Right Ctrl+Shift+Right Ctrl+Shift+Right", "R1", 8, 10);
        addChange("never below one step", "Right Ctrl+Shift+Left", "R1", 8, 9);
        addChange("to the next row", "Right Ctrl+Down", "R2", 8, 9);
        addChange("to the next row refused", "Right Right Ctrl+Down", "R1", 10, 11);
        addChange("no row above", "Right Ctrl+Up", "R1", 8, 9);
        addChange("read-only move", "Right Ctrl+Right", "R1", 8, 9, true);
        addChange("read-only stretch", "Right Ctrl+Shift+Right", "R1", 8, 9, true);
        addChange("read-only row", "Right Ctrl+Down", "R1", 8, 9, true);
    }

    void changes() {
        QFETCH(QString, keys);
        QFETCH(bool, readOnly);
        SetReadOnly(readOnly);
        press(keys);
        SetReadOnly(false);
        const ChartItem* moved = chart()->currentItem();
        QVERIFY(moved);
        QFETCH(QString, row);
        QFETCH(int, startHour);
        QFETCH(int, endHour);
        QCOMPARE(moved->rowKey(), row);
        QCOMPARE(moved->start(), at(startHour));
        QCOMPARE(moved->end(), at(endHour));
        // The item table follows; read-only mode leaves the timetable unchanged.
        const ItemRecord record = fixture->items().Record(fixture->items().GetItemIndex(moved->key()));
        QCOMPARE(record.startTime, moved->start().timePart());
        QCOMPARE(record.resourceCaption, fixture->chart().rows().byKey(row)->caption);
        if (readOnly)
            QVERIFY(!board->Dirty());
        QVERIFY(fixture->prompts.prompts().isEmpty());
    }

    void seriesFollowsAKeyMove() {
        item("A")->setSeriesKey("SER");
        item("F")->setSeriesKey("SER");
        fixture->prompts.answerMessage(MessageResult::Yes);
        press("Right Ctrl+Right");
        QCOMPARE(fixture->prompts.texts(), QStringList{"Change the following items of this series too?"});
        QCOMPARE(item("F")->start(), at(9).addDays(1));
    }

    void enterOpensTheEditor_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("itemKey");
        QTest::addColumn<QString>("resourceKey");
        QTest::addColumn<QString>("startTime");
        const auto row = [](const char* name, const char* keys, const char* item, const char* resource,
                            const char* start) {
            QTest::newRow(name) << QString(keys) << item << resource << start;
        };
        row("on a booking", "Right Right Return", "B", "R1", "10:00");
        row("on an empty row", "Down Down Return", "", "R3", "06:00");
    }

    void enterOpensTheEditor() {
        chart()->scrollTo(at(5, 40));
        QFETCH(QString, keys);
        press(keys);
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor && editor->isVisible());
        QTEST(editor->itemKey(), "itemKey");
        QTEST(editor->resourceKey(), "resourceKey");
        QTEST(editor->fieldText(frmDateItem::StartTimeField), "startTime");
    }

    void menuKeysOpenTheRowMenu_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("menu key") << "Down Menu";
        QTest::newRow("Shift+F10") << "Down Shift+F10";
    }

    void menuKeysOpenTheRowMenu() {
        QFETCH(QString, keys);
        press(keys);
        QCOMPARE(board->GantRow(), 2);
        QVERIFY(board->menus()->mRow->isVisible());
        board->menus()->mRow->close();
    }

    void accessibleTreeFollowsTheKeys() {
        press("Right Right Down");
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(chart());
        QCOMPARE(tree->childCount(), 3);
        QAccessibleInterface* van = tree->child(1);
        QCOMPARE(van->text(QAccessible::Name), QString("Van"));
        QVERIFY(van->state().selected);
        QAccessibleInterface* booking = tree->focusChild();
        QCOMPARE(booking->text(QAccessible::Name), QString("D, Van, 02.03.2026 10:30 - 11:30"));
        QVERIFY(booking->state().focused && booking->state().selected);
        QCOMPARE(booking->parent(), van);
        QCOMPARE(van->indexOfChild(booking), 0);
        QCOMPARE(tree->child(0)->child(1)->text(QAccessible::Name),
                 QString("B, Room, 02.03.2026 10:00 - 11:00"));
    }

    // A booking created, moved, stretched, opened and deleted without a single mouse event.
    void wholeLifeByKeys() {
        MouseCounter mouse;
        qApp->installEventFilter(&mouse);
        press("Down Down Return");
        frmDateItem* editor = frmDateItem::instance();
        QVERIFY(editor);
        QLineEdit* caption = editor->tx[frmDateItem::CaptionField];
        QTest::keyClicks(caption, "Visit");
        QTest::keyClicks(editor->tx[frmDateItem::EndDateField], "02.03.2026");
        QTest::keyClicks(editor->tx[frmDateItem::EndTimeField], "08:00");
        QTest::keyClick(caption, Qt::Key_Return);
        QCOMPARE(fixture->itemCount(), 6);
        focusTheChart();
        press("Home Ctrl+Right Ctrl+Shift+Right");
        ChartItem* visit = chart()->currentItem();
        QVERIFY(visit);
        QCOMPARE(visit->caption(), QString("Visit"));
        QCOMPARE(visit->start(), at(7));
        QCOMPARE(visit->end(), at(10));
        press("Return");
        QCOMPARE(frmDateItem::instance()->itemKey(), visit->key());
        focusTheChart();
        fixture->prompts.answerMessage(MessageResult::Yes);
        press("Del");
        QCOMPARE(fixture->prompts.texts(), QStringList{"Delete current item?"});
        QCOMPARE(fixture->itemCount(), 5);
        qApp->removeEventFilter(&mouse);
        QCOMPARE(mouse.count, 0);
    }
};

QTEST_MAIN(TstBoardKeys)
#include "tst_boardkeys.moc"
