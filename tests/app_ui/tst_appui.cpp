#include "../app/DataTable.h"
#include "ScriptedPrompts.h"
#include "app/MessageFlags.h"
#include "app/TimePoint.h"
#include "app/clsProgessbar.h"
#include "app/ui/ColorItem.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/NameOnlyIconProvider.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/bsInput.h"
#include "app/ui/ctrOSC.h"
#include "app/ui/frmProgressbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <sys/stat.h>

namespace {
// A dialog's side of the button bar: counts the store requests and refuses them on demand.
struct StoreHandler : QObject {
    explicit StoreHandler(ctrOSC& bar) {
        connect(&bar, &ctrOSC::Store, this, [this](bool always, int& cancel) {
            ++stores;
            QVERIFY(always);
            if (refuse)
                cancel = 1;
        });
    }
    int stores = 0;
    bool refuse = false;
};

struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

frmProgressbar& windowOf(clsProgessbar& progress) {
    return dynamic_cast<frmProgressbar&>(progress.view());
}

using Buttons = QList<QMessageBox::StandardButton>;
} // namespace

// What every dialog shares: input fields and their keys, the button bar, the progress window, message
// boxes and file dialogs, coloured list entries and the placement of windows on the screens.
class tst_appui : public QObject {
    Q_OBJECT
    QtPrompts m_qtPrompts; // the progress window is the real one

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QStandardPaths::setTestModeEnabled(true);
    }

    void cleanup() { setPrompts(nullptr); }

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
        row("no date, kept for mending", "310299", date, "");
        row("seven date digits", "1022004", date, "01.02.2004");
        row("eight digits outside the two-digit years", "01021925", date, "01.02.1925");
        row("short date", "1.2.04", date, "01.02.2004");
        row("one time digit", "9", time, "09:00");
        row("four time digits", "1745", time, "17:45");
        row("three time digits: 83:00", "830", time, "");
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

    void buttonBarDirtyRules() {
        ScriptedPrompts prompts;
        ctrOSC bar;
        StoreHandler handler(bar);
        QSignalSpy done(&bar, &ctrOSC::Done);
        QPushButton* accept = bar.button(ctrOSC::AcceptButton);
        QVERIFY(bar.button(ctrOSC::OkButton)->isDefault());
        bar.setDirty(true);
        // While the dialog fills its fields nothing counts as a change, and finishing clears the flag.
        bar.setParentUpdate(true);
        QVERIFY(!bar.Dirty());
        bar.setDirty(false);
        bar.setParentUpdate(false);
        QVERIFY(!bar.Dirty());
        QVERIFY(!accept->isEnabled());
        bar.setDirty(true);
        QVERIFY(bar.Dirty());
        // Read-only: nothing is ever changed or stored, OK just closes.
        bar.setReadOnly(true);
        QVERIFY(!bar.Dirty());
        bar.setDirty(true);
        QVERIFY(!accept->isEnabled());
        bar.click(ctrOSC::AcceptButton);
        bar.click(ctrOSC::OkButton);
        QCOMPARE(handler.stores, 0);
        QCOMPARE(done.size(), 1);
    }

    void buttonBarStore_data() {
        const auto row = columns<int, bool, bool, bool>("button", "dirty", "refuse", "closes");
        const int ok = ctrOSC::OkButton, accept = ctrOSC::AcceptButton;
        row("OK, unchanged closes without storing", ok, false, false, true);
        row("OK, changed stores and closes", ok, true, false, true);
        row("OK, refused store keeps the dialog open", ok, true, true, false);
        row("Accept stores and stays", accept, true, false, false);
        row("Accept, refused store keeps the changes", accept, true, true, false);
    }
    void buttonBarStore() {
        QFETCH(int, button);
        QFETCH(bool, dirty);
        QFETCH(bool, refuse);
        ctrOSC bar;
        StoreHandler handler(bar);
        handler.refuse = refuse;
        QSignalSpy done(&bar, &ctrOSC::Done);
        bar.setDirty(dirty);
        bar.click(button);
        QCOMPARE(handler.stores, dirty ? 1 : 0);
        QTEST(done.size() == 1, "closes");
        QCOMPARE(bar.Dirty(), refuse);
        QCOMPARE(bar.button(ctrOSC::AcceptButton)->isEnabled(), refuse);
    }

    void buttonBarCancel_data() {
        const auto row =
            columns<bool, int, bool>("verbose", "answer", "closes"); // answer 0: no question expected
        row("verbose, No keeps the changes", true, int(MessageResult::No), false);
        row("verbose, Yes drops them", true, int(MessageResult::Yes), true);
        row("quiet drops them", false, 0, true);
    }
    void buttonBarCancel() {
        QFETCH(bool, verbose);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        ScriptedPrompts prompts;
        if (answer)
            prompts.answerMessage(answer);
        ctrOSC bar;
        StoreHandler handler(bar);
        QSignalSpy done(&bar, &ctrOSC::Done);
        QSignalSpy cancelled(&bar, &ctrOSC::Cancel);
        bar.setVerbose(verbose);
        bar.setDirty(true);
        bar.click(ctrOSC::CancelButton);
        QCOMPARE(prompts.texts(), answer ? QStringList{"Discard changes?"} : QStringList());
        if (answer)
            QCOMPARE(prompts.prompts()[0].flags, 36);
        QCOMPARE(handler.stores, 0);
        QCOMPARE(done.size(), closes ? 1 : 0);
        QCOMPARE(cancelled.size(), closes ? 1 : 0);
        QCOMPARE(bar.Dirty(), !closes);
        // An unchanged dialog closes without a question and without dropping anything.
        bar.setDirty(false);
        bar.click(ctrOSC::CancelButton);
        QCOMPARE(done.size(), closes ? 2 : 1);
        QCOMPARE(cancelled.size(), closes ? 1 : 0);
    }

    void escapeCancels() {
        QWidget window;
        auto* bar = new ctrOSC(&window);
        QSignalSpy done(bar, &ctrOSC::Done);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_COMPARE(done.size(), 1);
    }

    void progressScale_data() {
        // valueAtMax: what the bar shows after SetValue(max / 2), SetValue(max)
        const auto row = columns<int, int, int, int>("max", "barMax", "scale", "valueAtMax");
        row("below 1000", 999, 999, 1, 999);
        row("1000", 1000, 1000, 1, 1000);
        // 2500 \ 2 = 1250 lies beyond the bar, which keeps its last value 1250 \ 2.
        row("2500", 2500, 1000, 2, 625);
    }
    void progressScale() {
        QFETCH(int, max);
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isModal());
        progress.Max(max);
        QTEST(window.ProgressBar->maximum(), "barMax");
        QTEST(progress.scale(), "scale");
        QVERIFY(progress.SetValue(max / 2));
        QVERIFY(progress.SetValue(max));
        QTEST(window.ProgressBar->value(), "valueAtMax");
    }

    // A long loop sets every value; the screen follows at most every 50 ms, the last value shows.
    void progressThrottledToTheScreen() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        constexpr int steps = 200000;
        progress.Max(steps);
        QCoreApplication::processEvents();
        PaintCounter paints(window.ProgressBar);
        QElapsedTimer clock;
        clock.start();
        for (int value = 0; value <= steps; ++value)
            QVERIFY(progress.SetValue(value));
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(window.ProgressBar->value(), 1000);
        QVERIFY2(paints.count <= elapsed / frmProgressbar::updateIntervalMs + 2,
                 qPrintable(QString("%1 paints in %2 ms").arg(paints.count).arg(elapsed)));
    }

    // A click on Cancel waits for the next update of the screen, then ends the loop.
    void progressCancelSeenBetweenUpdates() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        progress.Max(1000000);
        QVERIFY(progress.SetValue(0));
        QTimer::singleShot(0, window.cmdCancel, &QPushButton::click);
        QElapsedTimer clock;
        clock.start();
        int value = 1;
        while (progress.SetValue(value) && clock.elapsed() < 10000)
            ++value;
        QVERIFY(window.cancelled());
        QVERIFY(value > 1);
        QVERIFY(!progress.SetValue(value + 1));
    }

    void progressWithoutCancel() {
        setPrompts(&m_qtPrompts);
        clsProgessbar progress;
        frmProgressbar& window = windowOf(progress);
        progress.NoCancel();
        QVERIFY(window.cmdCancel->isHidden());
        const QRect inner = window.layout()->contentsRect();
        QCOMPARE(window.ProgressBar->geometry().left(), inner.left());
        QCOMPARE(window.ProgressBar->width(), inner.width());
        // With no Cancel offered, closing the window cancels nothing.
        window.close();
        QVERIFY(window.isVisible());
        QVERIFY(progress.SetValue(1));
    }

    void messageBoxLayout_data() {
        const auto row =
            columns<int, Buttons, QMessageBox::Icon, QMessageBox::StandardButton,
                    QMessageBox::StandardButton>("flags", "buttons", "icon", "defaultButton", "escapeButton");
        using B = QMessageBox;
        row("0+64: OK, information", 64, {B::Ok}, B::Information, B::Ok, B::Ok);
        row("1+16: OK/Cancel, error", 17, {B::Ok, B::Cancel}, B::Critical, B::Ok, B::Cancel);
        row("2+48: abort/retry/ignore, warning", 50, {B::Abort, B::Retry, B::Ignore}, B::Warning, B::Abort,
            B::Abort);
        row("4+32+256: No is the default", 292, {B::Yes, B::No}, B::Question, B::No, B::No);
        row("3+512: Cancel is the default", 515, {B::Yes, B::No, B::Cancel}, B::NoIcon, B::Cancel, B::Cancel);
        row("4+512: beyond the buttons, the last", 516, {B::Yes, B::No}, B::NoIcon, B::No, B::No);
    }
    void messageBoxLayout() {
        QFETCH(int, flags);
        const QtPrompts::MessageBoxLayout layout = QtPrompts::messageBoxLayout(flags);
        QTEST(layout.buttons, "buttons");
        QTEST(layout.icon, "icon");
        QTEST(layout.defaultButton, "defaultButton");
        QTEST(layout.escapeButton, "escapeButton");
        // The silent default of the seam takes the same default button.
        QCOMPARE(QtPrompts::messageResult(layout.defaultButton), defaultResult(flags));
    }

    // A Yes/No box is at least as wide as its title needs in the window frame.
    void messageBoxShowsItsTitle() {
        const QString title = QStringLiteral("VELKOR Timeplaner");
        QMessageBox box(QMessageBox::Question, title, "Save changes?", QMessageBox::Yes | QMessageBox::No);
        QFont bold = box.font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(title) + 140;
        box.show();
        QVERIFY2(box.width() < needed, "the box alone is narrower than its title");
        box.hide();
        QtPrompts::fitTitle(box);
        box.show();
        QVERIFY(box.width() >= needed);
    }

    void dialogFilter_data() {
        const auto row = columns<QString, QString>("filter", "expected");
        row("Qt form", "Timetable (*.qtf)", "Timetable (*.qtf)");
        row("pattern after a bar", "Timetable Files (*.qtf)|*.qtf", "Timetable Files (*.qtf)");
        row("several patterns", "Pictures (*.jpg;*.bmp)|*.jpg;*.bmp", "Pictures (*.jpg *.bmp)");
        row("several filters", "HTML|*.htm;*.html|Text|*.txt", "HTML (*.htm *.html);;Text (*.txt)");
    }
    void dialogFilter() {
        QFETCH(QString, filter);
        QTEST(QtPrompts::dialogFilter(filter), "expected");
    }

    // A folder with a pipe nobody writes to and a file whose name says nothing but whose first bytes
    // say PDF: the dialog lists both, and types the file by its name alone.
    void fileDialogReadsNoContent() {
        QTemporaryDir folder;
        QCOMPARE(mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);
        const QString notes = folder.filePath("notes");
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n");
        file.close();
        QVERIFY2(QFileIconProvider().type(QFileInfo(notes)).contains("PDF"),
                 "the standard way reads content");
        NameOnlyIconProvider icons;
        QFileDialog dialog(nullptr, "Save Timetable", folder.path());
        QtPrompts::prepareFileDialog(dialog, icons);
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        dialog.show();
        const auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QTRY_VERIFY(model->index(folder.filePath("pipe")).isValid() &&
                    !model->type(model->index(notes)).isEmpty());
        QVERIFY2(!model->type(model->index(notes)).contains("PDF"),
                 qPrintable(model->type(model->index(notes))));
    }

    void colourEntries_data() {
        const auto row = columns<QString, QString, quint32>("text", "name", "colour");
        row("red", ColorItem::entryText("Date", 255), "Date", quint32(255));
        row("blue-green", ColorItem::entryText("Date Fixed", 0xFFFFC0), "Date Fixed", quint32(0xFFFFC0));
        row("no colour part", "Break", "Break", quint32(0));
        row("colour not a number", QString("X") + QChar(0) + "blue", "X", quint32(0));
    }
    void colourEntries() {
        QFETCH(QString, text);
        const ColorItem::Entry entry = ColorItem::split(text);
        QTEST(entry.name, "name");
        QTEST(entry.colour, "colour");
    }

    void colourEntryDrawing() {
        QStandardItemModel model;
        auto* date = new QStandardItem("Date");
        date->setData(ColorItem::entryText("Date", 255), ColorItem::EntryTextRole);
        model.appendRow(date);
        ColorItem delegate;
        QStyleOptionViewItem option;
        option.font = QFont("DejaVu Sans", 10);
        option.palette = QPalette(Qt::white);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.palette.setColor(QPalette::Button, QColor(200, 200, 200));
        const int h = delegate.sizeHint(option, model.index(0, 0)).height();
        QCOMPARE(h, QFontMetrics(option.font).height() + 4);
        const auto draw = [&](bool selected) {
            QImage image(160, h, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            option.rect = image.rect();
            option.state = selected ? QStyle::State_Selected : QStyle::State_None;
            delegate.paint(&painter, option, model.index(0, 0));
            return image;
        };
        const QImage plain = draw(false);
        // A red square three pixels in from the top left corner, the name after it.
        QCOMPARE(plain.pixelColor(4, 4), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(h - 5, h - 5), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(1, 1), QColor(Qt::white));
        QCOMPARE(plain.pixelColor(h + 1, 1), QColor(Qt::white));
        bool textDrawn = false;
        for (int x = h; x < plain.width(); ++x) {
            for (int y = 0; y < h; ++y)
                textDrawn = textDrawn || plain.pixelColor(x, y) == QColor(Qt::black);
        }
        QVERIFY(textDrawn);
        const QImage selected = draw(true);
        QCOMPARE(selected.pixelColor(plain.width() - 2, 1), QColor(200, 200, 200));
        QCOMPARE(selected.pixelColor(4, 4), QColor(Qt::red));
    }

    void windowOnScreen_data() {
        const auto row = columns<QRect, QRect>("rect", "placed");
        row("inside stays", QRect(100, 100, 400, 300), QRect(100, 100, 400, 300));
        row("beyond the right edge", QRect(3000, 100, 400, 300), QRect(2800, 100, 400, 300));
        row("above the top", QRect(100, -50, 400, 300), QRect(100, 0, 400, 300));
        row("on no screen goes to the first", QRect(-5000, -5000, 400, 300), QRect(0, 0, 400, 300));
        row("larger than its screen shrinks", QRect(1300, 10, 2500, 1500), QRect(1280, 0, 1920, 1080));
        row("across two screens: the one it overlaps most", QRect(1200, 100, 400, 300),
            QRect(1280, 100, 400, 300));
    }
    void windowOnScreen() {
        QFETCH(QRect, rect);
        QTEST(WindowPlacement::onScreen(rect, {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}),
              "placed");
    }
};

QTEST_MAIN(tst_appui)
#include "tst_appui.moc"
