#include "../app/DataTable.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/TimePoint.h"
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
#include <QUrl>
#include <QVBoxLayout>

class tst_input : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QStandardPaths::setTestModeEnabled(true);
    }

    // Per kind, characters it takes and characters it drops; control keys always pass.
    void filterKeyPress_data() {
        const auto row = columns<int, QString, QString>("kind", "taken", "dropped");
        row("Integer", int(InputKind::Integer), "-7\b", "a.");
        row("PositiveInteger", int(InputKind::PositiveInteger), "7", "-");
        row("Number", int(InputKind::Number), "-,.", "\u00E4");
        row("Time", int(InputKind::Time), ":", ".");
        row("Date, with month names", int(InputKind::Date), "D .", ":");
        row("unknown kind", 7, "x", "");
    }

    void filterKeyPress() {
        QFETCH(int, kind);
        QFETCH(QString, taken);
        QFETCH(QString, dropped);
        for (const QChar c : taken + dropped) {
            int code = c.unicode();
            QCOMPARE(FilterKeyPress(code, kind), taken.contains(c));
            QCOMPARE(code, taken.contains(c) ? c.unicode() : 0);
        }
    }

    void validateField_data() {
        const auto row = columns<QString, int, QString>("text", "kind", "result"); // result empty: refused
        const int date = InputKind::Date, time = InputKind::Time, integer = InputKind::Integer;
        row("six date digits", "311299", date, "31.12.1999");
        row("four date digits: day 00, kept for mending", "3112", date, "");
        row("not a date, kept for mending", "morgen", date, "");
        row("ISO date", "2026-12-01", date, "01.12.2026");
        row("seven date digits", "1022004", date, "01.02.2004");
        row("eight digits outside the two-digit years", "01021925", date, "01.02.1925");
        row("31 February", "310299", date, "");
        row("short date", "1.2.04", date, "01.02.2004");
        row("one time digit", "9", time, "09:00");
        row("four time digits", "1745", time, "17:45");
        row("three time digits: 83:00", "830", time, "");
        row("24:00", "2400", time, "");
        row("seconds kept", "7:15:30", time, "07:15:30");
        row("decimal hours, comma", "8,5", time, "08:30");
        row("decimal hours past midnight", "25.5", time, "");
        row("empty time", "", time, "");
        row("negative PositiveInteger", "-3", InputKind::PositiveInteger, "");
        row("fraction in Integer", "12.5", integer, "");
        row("Integer with zero fraction", "12,0", integer, "12,0");
        row("Integer beyond 32 bits", "3000000000", integer, "");
        row("Number with comma", "1,5", InputKind::Number, "1,5");
        row("Number with both separators", "1.000,5", InputKind::Number, "");
        row("negative PositiveNumber", "-1.5", InputKind::PositiveNumber, "");
        row("no kind", "anything", 0, "anything");
    }

    void validateField() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, result);
        const QString typed = text;
        QCOMPARE(ValidateField(text, kind), !result.isEmpty());
        const bool keptWhenRefused = kind == InputKind::Date || kind == InputKind::Time;
        QCOMPARE(text, result.isEmpty() && keptWhenRefused ? typed : result);
    }

    void normalize_data() {
        const auto row = columns<bool, QString, bool, QString>("time", "value", "made", "result");
        row("date digits", false, "010204", true, "01.02.2004");
        // Already a date: left alone, and the caller tests the validity itself.
        row("already a date", false, "31.12.1999", false, "31.12.1999");
        row("no date", false, "3112", false, "3112");
        row("not numeric", false, "abc", false, "abc");
        row("decimal hours", true, "8.5", true, "08:30");
        row("seconds kept", true, "7.999", true, "07:59:56");
        row("already a time", true, "17:45:30", true, "17:45:30");
        row("no time", true, "2460", false, "2460");
        row("empty", true, "", false, "");
    }

    void normalize() {
        QFETCH(bool, time);
        QFETCH(QString, value);
        QFETCH(bool, made);
        QCOMPARE(time ? NormalizeTime(value) : NormalizeDate(value), made);
        QTEST(value, "result");
        if (time && made)
            QVERIFY(FieldTime(value).has_value());
    }

    void dateForms_data() {
        const auto row = columns<QString, QString, QDate>("locale", "text", "date"); // date invalid: refused
        row("29 is 2029", "de_DE", "01.01.29", QDate(2029, 1, 1));
        row("30 is 1930", "de_DE", "01.01.30", QDate(1930, 1, 1));
        row("00 is 2000", "de_DE", "29.02.00", QDate(2000, 2, 29));
        row("four digits kept", "de_DE", "01.01.1925", QDate(1925, 1, 1));
        row("four digits beyond the window", "de_DE", "31.12.2030", QDate(2030, 12, 31));
        row("ISO", "de_DE", "2026-12-01", QDate(2026, 12, 1));
        row("shown form of the C locale", "C", "1 Dec 2026", QDate(2026, 12, 1));
        row("C locale, ISO", "C", "2026-12-01", QDate(2026, 12, 1));
        row("C locale, day.month.year", "C", "1.12.2026", QDate(2026, 12, 1));
        row("medium date", "C", "01-Dec-2026", QDate(2026, 12, 1));
        row("British numeric form", "en_GB", "01/12/2026", QDate(2026, 12, 1));
        row("US numeric form, month first", "en_US", "12/1/26", QDate(2026, 12, 1));
        row("US form with four-digit year", "en_US", "12/1/2026", QDate(2026, 12, 1));
        row("a word", "C", "tomorrow", QDate());
        row("month 13 in ISO", "C", "2026-13-01", QDate());
        row("32nd of a month", "de_DE", "32.12.2026", QDate());
    }

    void dateForms() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QLocale::setDefault(QLocale(locale));
        const auto read = FieldDate(text);
        const bool shownFormReadBack =
            date.isValid() && FieldDate(FieldDateText(date)) == std::optional(date);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(read, date.isValid() ? std::optional(date) : std::nullopt);
        QCOMPARE(shownFormReadBack, date.isValid());
    }

    void timesOfDayShowNoSecondsUnlessTheyHaveThem() {
        // The C locale's short time has seconds; a time of day is still shown without them.
        QLocale::setDefault(QLocale::c());
        const QString whole = FieldTimeText(QTime(8, 0));
        const QString exact = FieldTimeText(QTime(8, 0, 30));
        const QString shortTime = TimePoint::fromDateTime(QDate(2026, 12, 1), QTime(17, 45, 10)).shortTime();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(whole, QString("08:00"));
        QCOMPARE(exact, QString("08:00:30"));
        QCOMPARE(shortTime, QString("17:45"));
    }

    void listTypeAhead_data() {
        const auto row =
            columns<int, int, int>("current", "key", "expected"); // expected -1: no match, nothing changes
        row("next match below, letter case ignored", 1, int('B'), 3);
        row("wraps to the top", 3, int('b'), 1);
        row("no current entry", -1, int('b'), 1);
        row("only the current entry matches", 2, int('g'), 2);
        row("no match", 1, int('z'), -1);
    }

    void listTypeAhead() {
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
        QCOMPARE(code, expected >= 0 ? 0 : key);
        QCOMPARE(list.currentRow(), expected >= 0 ? expected : current);
        QCOMPARE(list.item(4)->isSelected(), expected < 0);
        if (expected >= 0)
            QCOMPARE(list.selectedItems(), QList<QListWidgetItem*>{list.item(expected)});
    }

    void focusColours() {
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

    void dialogKeys() {
        ScriptedPrompts prompts;
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        const QString help = documents + "/HELP.TXT";
        // 1: handled and the key dropped, 0: left alone with the key, -1: anything else.
        const auto handled = [](int key, Qt::KeyboardModifiers modifiers) {
            int code = key;
            const bool result = HandleDialogKey(code, modifiers);
            return result && code == 0 ? 1 : !result && code == key ? 0 : -1;
        };

        QCOMPARE(handled(Qt::Key_F1, Qt::NoModifier), 1);
        QVERIFY(prompts.openedUrls.value(0).endsWith("/manual.html"));
        QCOMPARE(handled(Qt::Key_F1, Qt::ControlModifier), 1);
        QCOMPARE(prompts.openedUrls.value(1), QUrl::fromLocalFile(help).toString());
        QCOMPARE(handled(Qt::Key_F1, Qt::AltModifier), 1);
        QCOMPARE(prompts.prompts().size(), 1);
        QCOMPARE(prompts.prompts()[0].flags, int(MessageFlags::Information));
        QVERIFY(prompts.prompts()[0].text.contains("VELKOR Timeplaner"));

        QCOMPARE(handled(Qt::Key_F1, Qt::ShiftModifier), 0);
        QCOMPARE(handled(Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier), 0);
        QCOMPARE(handled(Qt::Key_F2, Qt::NoModifier), 0);
        QCOMPARE(prompts.openedUrls.size(), 2);
    }

    void filterOnDialog() {
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
        QTest::keyClicks(date, "31:12#99");
        QCOMPARE(date->text(), QString("311299"));
        // Editing keys work as in any field.
        QTest::keyClick(date, Qt::Key_Home);
        QTest::keyClick(date, Qt::Key_Delete);
        QTest::keyClick(date, Qt::Key_End);
        QTest::keyClick(date, Qt::Key_Backspace);
        QCOMPARE(date->text(), QString("1129"));
        date->setText("311299");
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(date->text(), QString("31.12.1999"));
        QCOMPARE(validated.size(), 1);
        QCOMPARE(validated[0][1].toBool(), true);
        QCOMPARE(date->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

        // Enter on the default OK button does not leave the field: the dialog checks its fields before
        // storing. A text that is no date stays, marked, until it is mended.
        date->setText("3112");
        filter->validateFields();
        QCOMPARE(date->text(), QString("3112"));
        QCOMPARE(validated.last()[1].toBool(), false);
        const QColor refused = date->palette().color(QPalette::Base);
        QVERIFY(refused != QApplication::palette().color(QPalette::Base));
        QVERIFY(refused != QApplication::palette().color(QPalette::ToolTipBase));
        QTest::keyClick(date, Qt::Key_End);
        QTest::keyClicks(date, "26");
        QVERIFY(date->palette().color(QPalette::Base) != refused);
        filter->validateFields();
        QCOMPARE(date->text(), QString("31.12.2026"));
        QVERIFY(date->palette().color(QPalette::Base) != refused);
    }
};

QTEST_MAIN(tst_input)
#include "tst_input.moc"
