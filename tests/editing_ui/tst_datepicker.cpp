#include "EditingFixture.h"
#include "ScriptedPrompts.h"
#include "editing/frmDatePicker.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QTest>

class TstDatePicker : public QObject {
    Q_OBJECT

    // The cell of a day of the shown month in the calendar's grid.
    static QModelIndex dayCell(QAbstractItemView* view, int day) {
        const QAbstractItemModel* model = view->model();
        for (int row = 1; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex cell = model->index(row, column);
                if (cell.data().toInt() == day)
                    return cell;
            }
        }
        return {};
    }

    static QAbstractItemView* grid(frmDatePicker& picker) {
        return picker.calendar()->findChild<QAbstractItemView*>();
    }

private slots:
    void initTestCase() { pinGermanLocale(); }

    void presetShowsTheDate_data() {
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QDate>("preset");
        QTest::newRow("31 March over February") << QDate(2024, 2, 10) << QDate(2024, 3, 31);
        QTest::newRow("29 February over January 31") << QDate(2024, 1, 31) << QDate(2024, 2, 29);
        QTest::newRow("year change") << QDate(2023, 12, 31) << QDate(2024, 1, 1);
    }

    void presetShowsTheDate() {
        QFETCH(QDate, shown);
        QFETCH(QDate, preset);
        frmDatePicker picker;
        picker.setThisDate(shown);
        picker.setThisDate(preset);
        QCOMPARE(picker.ThisDate(), preset);
        QCOMPARE(picker.calendar()->selectedDate(), preset);
        QCOMPARE(picker.calendar()->monthShown(), preset.month());
        QCOMPARE(picker.calendar()->yearShown(), preset.year());
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("manual");
        const auto row = [](const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers, bool closes,
                            bool cancelled, bool manual) {
            QTest::newRow(name) << int(key) << int(modifiers) << closes << cancelled << manual;
        };
        row("Enter picks", Qt::Key_Return, Qt::NoModifier, true, false, false);
        row("keypad Enter picks", Qt::Key_Enter, Qt::KeypadModifier, true, false, false);
        row("Esc cancels", Qt::Key_Escape, Qt::NoModifier, true, true, false);
        row("Shift+Enter does nothing", Qt::Key_Return, Qt::ShiftModifier, false, false, false);
        row("Alt+Enter does nothing", Qt::Key_Return, Qt::AltModifier, false, false, false);
        row("Ctrl+Esc does nothing", Qt::Key_Escape, Qt::ControlModifier, false, false, false);
        row("F1 opens the manual", Qt::Key_F1, Qt::NoModifier, false, false, true);
    }

    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        QFETCH(bool, cancelled);
        QFETCH(bool, manual);
        ScriptedPrompts prompts;
        frmDatePicker picker;
        picker.setThisDate(QDate(2024, 3, 15));
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        // The user moves the selection with the arrow keys first; the picked date is the selection.
        QTest::keyClick(grid(picker), Qt::Key_Right);
        QCOMPARE(picker.calendar()->selectedDate(), QDate(2024, 3, 16));

        QTest::keyClick(grid(picker), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(picker.isVisible(), !closes);
        QCOMPARE(picker.cancelled(), cancelled);
        QCOMPARE(picker.ThisDate(), closes && !cancelled ? QDate(2024, 3, 16) : QDate(2024, 3, 15));
        QVERIFY(prompts.prompts().isEmpty());
        QCOMPARE(prompts.openedUrls.size(), manual ? 1 : 0);
    }

    void clicks() {
        frmDatePicker picker;
        picker.setThisDate(QDate(2024, 3, 1));
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QAbstractItemView* view = grid(picker);
        const QModelIndex fifteenth = dayCell(view, 15);
        QVERIFY(fifteenth.isValid());

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(fifteenth).center());
        QCOMPARE(picker.calendar()->selectedDate(), QDate(2024, 3, 15));
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.ThisDate(), QDate(2024, 3, 1));

        // A double click: the first click selects, the second activates.
        const QPoint twentieth = view->visualRect(dayCell(view, 20)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, twentieth);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, twentieth);
        QVERIFY(!picker.isVisible());
        QVERIFY(!picker.cancelled());
        QCOMPARE(picker.ThisDate(), QDate(2024, 3, 20));

        // The close box cancels.
        picker.show();
        picker.close();
        QVERIFY(picker.cancelled());
    }
};

QTEST_MAIN(TstDatePicker)
#include "tst_datepicker.moc"
