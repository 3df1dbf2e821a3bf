#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/bsInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>

class tst_input : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void filterKeyPress_data();
    void filterKeyPress();
    void isValidInput_data();
    void isValidInput();
    void validateField_data();
    void validateField();
    void normalizeDate_data();
    void normalizeDate();
    void normalizeTime_data();
    void normalizeTime();
    void twoDigitYears_data();
    void twoDigitYears();

    void listTypeAhead_data();
    void listTypeAhead();
    void focusColours();
    void dialogKeys();
    void filterOnDialog();
};

void tst_input::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QStandardPaths::setTestModeEnabled(true);
}

void tst_input::filterKeyPress_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("letter in Integer") << int(InputKind::Integer) << int('a') << false;
    QTest::newRow("minus in Integer") << int(InputKind::Integer) << int('-') << true;
    QTest::newRow("backspace in Integer") << int(InputKind::Integer) << 8 << true;
    QTest::newRow("minus in PositiveInteger") << int(InputKind::PositiveInteger) << int('-') << false;
    QTest::newRow("point in Integer") << int(InputKind::Integer) << int('.') << false;
    QTest::newRow("colon in Time") << int(InputKind::Time) << int(':') << true;
    QTest::newRow("point in Time") << int(InputKind::Time) << int('.') << false;
    QTest::newRow("colon in Date") << int(InputKind::Date) << int(':') << false;
    QTest::newRow("letter, unknown kind") << 7 << int('x') << true;
    QTest::newRow("umlaut in Number") << int(InputKind::Number) << 0xE4 << false;
}

void tst_input::filterKeyPress() {
    QFETCH(int, kind);
    QFETCH(int, key);
    QFETCH(bool, accepted);
    int code = key;
    QCOMPARE(FilterKeyPress(code, kind), accepted);
    QCOMPARE(code, accepted ? key : 0);
}

void tst_input::isValidInput_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << int(InputKind::Integer) << true;
    QTest::newRow("letter among digits") << "12a" << int(InputKind::Integer) << false;
    QTest::newRow("decimal time") << "1.5" << int(InputKind::Time) << false;
    QTest::newRow("no kind") << "xyz" << 0 << true;
}

void tst_input::isValidInput() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, valid);
    QCOMPARE(IsValidInput(text, kind), valid);
}

void tst_input::validateField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("result");
    const int date = InputKind::Date, time = InputKind::Time;
    QTest::newRow("six date digits") << "311299" << date << true << "31.12.1999";
    QTest::newRow("four date digits: day 00") << "3112" << date << false << "";
    QTest::newRow("seven date digits") << "1022004" << date << true << "01.02.2004";
    QTest::newRow("eight digits outside the two-digit years") << "01021925" << date << true << "01.02.1925";
    QTest::newRow("31 February") << "310299" << date << false << "";
    QTest::newRow("date with points") << "31.12.1999" << date << true << "31.12.1999";
    QTest::newRow("short date") << "1.2.04" << date << true << "01.02.2004";
    QTest::newRow("not a date") << "12-" << date << false << "";
    QTest::newRow("one time digit") << "9" << time << true << "09:00";
    QTest::newRow("four time digits") << "1745" << time << true << "17:45";
    QTest::newRow("three time digits: 83:00") << "830" << time << false << "";
    QTest::newRow("24:00") << "2400" << time << false << "";
    QTest::newRow("time text") << "17:45" << time << true << "17:45";
    QTest::newRow("decimal hours, point") << "7.25" << time << true << "07:15";
    QTest::newRow("decimal hours, comma") << "8,5" << time << true << "08:30";
    QTest::newRow("decimal hours past midnight") << "25.5" << time << false << "";
    QTest::newRow("empty time") << "" << time << false << "";
    QTest::newRow("negative PositiveInteger") << "-3" << int(InputKind::PositiveInteger) << false << "";
    QTest::newRow("fraction in Integer") << "12.5" << int(InputKind::Integer) << false << "";
    QTest::newRow("Integer with zero fraction") << "12,0" << int(InputKind::Integer) << true << "12,0";
    QTest::newRow("Integer beyond 32 bits") << "3000000000" << int(InputKind::Integer) << false << "";
    QTest::newRow("Number with comma") << "1,5" << int(InputKind::Number) << true << "1,5";
    QTest::newRow("Number with both separators") << "1.000,5" << int(InputKind::Number) << false << "";
    QTest::newRow("negative PositiveNumber") << "-1.5" << int(InputKind::PositiveNumber) << false << "";
    QTest::newRow("no kind") << "anything" << 0 << true << "anything";
}

void tst_input::validateField() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, valid);
    QFETCH(QString, result);
    QCOMPARE(ValidateField(text, kind), valid);
    QCOMPARE(text, result);
}

void tst_input::normalizeDate_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QString>("result");
    QTest::newRow("digits") << "010204" << true << "01.02.2004";
    // Already a date: left alone, and the caller tests the validity itself.
    QTest::newRow("already a date") << "31.12.1999" << false << "31.12.1999";
    QTest::newRow("no date") << "3112" << false << "3112";
    QTest::newRow("not numeric") << "abc" << false << "abc";
}

void tst_input::normalizeDate() {
    QFETCH(QString, value);
    QFETCH(bool, made);
    QFETCH(QString, result);
    QCOMPARE(NormalizeDate(value), made);
    QCOMPARE(value, result);
}

void tst_input::normalizeTime_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QString>("result");
    QTest::newRow("decimal hours") << "8.5" << true << "08:30";
    QTest::newRow("seconds kept") << "7.999" << true << "07:59:56";
    QTest::newRow("already a time") << "17:45:30" << true << "17:45:30";
    QTest::newRow("no time") << "2460" << false << "2460";
    QTest::newRow("empty") << "" << false << "";
}

void tst_input::normalizeTime() {
    QFETCH(QString, value);
    QFETCH(bool, made);
    QFETCH(QString, result);
    QCOMPARE(NormalizeTime(value), made);
    QCOMPARE(value, result);
    if (made)
        QVERIFY(FieldTime(value).has_value());
}

void tst_input::twoDigitYears_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("29 is 2029") << "01.01.29" << QDate(2029, 1, 1);
    QTest::newRow("30 is 1930") << "01.01.30" << QDate(1930, 1, 1);
    QTest::newRow("00 is 2000") << "29.02.00" << QDate(2000, 2, 29);
    QTest::newRow("four digits kept") << "01.01.1925" << QDate(1925, 1, 1);
    QTest::newRow("four digits beyond the window") << "31.12.2030" << QDate(2030, 12, 31);
}

void tst_input::twoDigitYears() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(FieldDate(text), std::optional(date));
    QCOMPARE(FieldDate(FieldDateText(date)), std::optional(date));
}

void tst_input::listTypeAhead_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected"); // -1: no match, nothing changes
    QTest::newRow("next match below") << 1 << int('b') << 3;
    QTest::newRow("letter case ignored") << 1 << int('B') << 3;
    QTest::newRow("wraps to the top") << 3 << int('b') << 1;
    QTest::newRow("no current entry") << -1 << int('b') << 1;
    QTest::newRow("only the current entry matches") << 2 << int('g') << 2;
    QTest::newRow("no match") << 1 << int('z') << -1;
}

void tst_input::listTypeAhead() {
    QFETCH(int, current);
    QFETCH(int, key);
    QFETCH(int, expected);
    // Captions start after a five-character number column, as the column order lists show them.
    QListWidget list;
    list.addItems({"1    Alpha", "2    Beta", "3    Gamma", "4    beta", "5    Delta"});
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.setCurrentRow(current);
    list.item(4)->setSelected(true);
    int code = key;
    QCOMPARE(ListTypeAhead(&list, code, 5), expected >= 0);
    if (expected < 0) {
        QCOMPARE(code, key);
        QCOMPARE(list.currentRow(), current);
        QVERIFY(list.item(4)->isSelected());
        return;
    }
    QCOMPARE(code, 0);
    QCOMPARE(list.currentRow(), expected);
    QCOMPARE(list.selectedItems(), QList<QListWidgetItem*>{list.item(expected)});
}

void tst_input::focusColours() {
    const QPalette standard = QApplication::palette();
    QLineEdit edit("12:30");
    FieldGotFocus(&edit);
    QCOMPARE(edit.palette().color(QPalette::Base), standard.color(QPalette::ToolTipBase));
    QCOMPARE(edit.palette().color(QPalette::Text), standard.color(QPalette::ToolTipText));
    QCOMPARE(edit.selectedText(), QString("12:30"));
    FieldLostFocus(&edit);
    QCOMPARE(edit.palette().color(QPalette::Base), standard.color(QPalette::Base));
    QCOMPARE(edit.palette().color(QPalette::Text), standard.color(QPalette::Text));

    QCheckBox check("Option");
    FieldGotFocus(&check);
    QCOMPARE(check.palette().color(QPalette::Window), standard.color(QPalette::ToolTipBase));
    FieldLostFocus(&check);
    QCOMPARE(check.palette().color(QPalette::Window), standard.color(QPalette::Button));
    QVERIFY(check.autoFillBackground());
}

void tst_input::dialogKeys() {
    ScriptedPrompts prompts;
    QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    const QString help = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/HELP.TXT";
    QFile::remove(help);

    int key = Qt::Key_F1;
    QVERIFY(HandleDialogKey(key, Qt::NoModifier));
    QCOMPARE(key, 0);
    QVERIFY(prompts.openedUrls.value(0).endsWith("/manual.html"));

    key = Qt::Key_F1;
    QVERIFY(HandleDialogKey(key, Qt::ControlModifier));
    QVERIFY(QFile::exists(help));
    QCOMPARE(prompts.openedUrls.value(1), QUrl::fromLocalFile(help).toString());

    key = Qt::Key_F1;
    QVERIFY(HandleDialogKey(key, Qt::AltModifier));
    QCOMPARE(prompts.prompts().size(), 1);
    QCOMPARE(prompts.prompts()[0].flags, int(MessageFlags::Information));
    QVERIFY(prompts.prompts()[0].text.contains("VELKOR Timeplaner"));

    for (const auto modifiers :
         {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::ControlModifier | Qt::AltModifier}) {
        key = Qt::Key_F1;
        QVERIFY(!HandleDialogKey(key, modifiers));
        QCOMPARE(key, int(Qt::Key_F1));
    }
    key = Qt::Key_F2;
    QVERIFY(!HandleDialogKey(key, Qt::NoModifier));
    QCOMPARE(prompts.openedUrls.size(), 2);
}

void tst_input::filterOnDialog() {
    qRegisterMetaType<QLineEdit*>();
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* date = new QLineEdit(&dialog);
    auto* other = new QLineEdit(&dialog);
    layout->addWidget(date);
    layout->addWidget(other);
    InputFieldFilter* filter = InputFieldFilter::install(&dialog);
    filter->setKind(date, InputKind::Date);
    QSignalSpy validated(filter, &InputFieldFilter::fieldValidated);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    // The first field has the focus from the start.
    QVERIFY(date->hasFocus());
    QCOMPARE(date->palette().color(QPalette::Base), QApplication::palette().color(QPalette::ToolTipBase));
    QTest::keyClicks(date, "31a12x99");
    QCOMPARE(date->text(), QString("311299"));
    other->setFocus(Qt::TabFocusReason);
    QCOMPARE(date->text(), QString("31.12.1999"));
    QCOMPARE(validated.size(), 1);
    QCOMPARE(validated[0][1].toBool(), true);
    QCOMPARE(date->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

    // Enter on the default OK button does not leave the field: the dialog checks its fields before storing.
    date->setText("3112");
    filter->validateFields();
    QCOMPARE(date->text(), QString());
    QCOMPARE(validated.last()[1].toBool(), false);
}

QTEST_MAIN(tst_input)
#include "tst_input.moc"
