#include "../app/DataTable.h"
#include "EditingFixture.h"
#include "app/MessageFlags.h"
#include "app/clsIniFile.h"
#include "app/ui/ColorComboBox.h"
#include "editing/frmDateItem.h"
#include "editing/frmDatePicker.h"
#include "editing/frmSeries.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace {
const QString otherView = QStringLiteral("{ITEM-LIST}");
constexpr int errorFlags = MessageFlags::OkOnly | MessageFlags::Critical;

// The cell of a day of the shown month in the picker's calendar grid.
QPoint dayCell(QAbstractItemView* view, int day) {
    const QAbstractItemModel* model = view->model();
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            if (model->index(row, column).data().toInt() == day)
                return view->visualRect(model->index(row, column)).center();
        }
    }
    return {};
}
QAbstractItemView* grid(frmDatePicker& picker) {
    return picker.calendar()->findChild<QAbstractItemView*>();
}
} // namespace

// The date item editor over a timetable of Alice and Bob, and the date picker it opens.
class TstDateItemEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<EditingFixture> f;
    QPointer<frmDateItem> m_editor;

    frmDateItem& editor() { return *m_editor; }
    TestTimetable& timetable() { return f->timetable; }
    void select(const QString& key) { timetable().items.ItemSeledctedById(key, otherView); }
    void clickOk() { click(editor().cmd[frmDateItem::OkCommand]); }
    void setField(int field, const QString& text) { editor().setFieldText(frmDateItem::Field(field), text); }
    [[nodiscard]] QString field(int field) { return editor().fieldText(frmDateItem::Field(field)); }

    // The span as "start date, start time, end date, end time", a "-" for a field left empty.
    void enter(const QString& rowKey, const QString& span, const QString& caption = QStringLiteral("Visit")) {
        editor().cmbRes->setCurrentIndex(editor().cmbRes->findData(rowKey));
        const QStringList fields = span.split(' ');
        for (int field = frmDateItem::StartDateField; field <= frmDateItem::EndTimeField; ++field)
            setField(field, fields[field] == "-" ? QString() : fields[field]);
        setField(frmDateItem::CaptionField, caption);
    }

private slots:
    void init() {
        f = std::make_unique<EditingFixture>();
        m_editor = new frmDateItem(f->host);
        editor().show();
        QVERIFY(QTest::qWaitForWindowActive(m_editor));
    }

    void cleanup() {
        delete m_editor;
        QCOMPARE(f->prompts.unansweredCount(), 0);
        f.reset();
    }

    void newItemSpan_data() {
        const auto row = columns<QString, TimePoint, TimePoint>("span", "start", "end");
        row("with end time", "01.03.24 08:00 01.03.24 10:00", at(2024, 3, 1, 8), at(2024, 3, 1, 10));
        row("no end time ends at midnight", "01.03.24 08:00 01.03.24 -", at(2024, 3, 1, 8), at(2024, 3, 2));
        row("whole days", "01.03.24 - 03.03.24 -", at(2024, 3, 1), at(2024, 3, 4));
        row("digits not yet left", "010324 8 010324 1745", at(2024, 3, 1, 8), at(2024, 3, 1, 17, 45));
        row("pasted decimal hours", "01.03.2024 7.25 01.03.2024 9.5", at(2024, 3, 1, 7, 15),
            at(2024, 3, 1, 9, 30));
    }
    void newItemSpan() {
        QFETCH(QString, span);
        TestMessenger list(otherView);
        timetable().items.AddMessenger(list);
        enter(bob, span);
        clickOk();
        QVERIFY(f->prompts.prompts().isEmpty());
        QCOMPARE(f->itemCount(), 1);
        const ChartItem& item = *timetable().chart.items().byPosition(1);
        QTEST(item.start(), "start");
        QTEST(item.end(), "end");
        QCOMPARE(item.rowKey() + ' ' + item.caption() + ' ' + item.styleKey(), bob + " Visit Date");
        QCOMPARE(editor().itemKey(), item.key());
        QVERIFY(!editor().isChanged());
        QCOMPARE(list.heard, QStringList({"added " + item.key() + ' ' + editor().ID(),
                                          "changed " + item.key() + ' ' + editor().ID()}));
        timetable().items.RemoveMessenger(list);
    }

    void refusals_data() {
        // focus: -1: not checked, -2: the style list
        const auto row = columns<QString, QString, QString, int>("row", "span", "message", "focus");
        const QString start = "Start timepoint is missing!", check = "Check start and end timepoint!";
        row("no resource", "", "01.03.24 08:00 01.03.24 09:00", "Please select one resource!", -1);
        row("no start", alice, "- 08:00 01.03.24 09:00", start, -1);
        row("impossible start", alice, "31.02.24 08:00 01.03.24 09:00", start, -1);
        row("pasted junk start", alice, QString(100000, QChar('7')) + "\n<b>x</b> 08:00 01.03.24 09:00",
            start, -1);
        row("no end", alice, "01.03.24 08:00 - 09:00", "End timepoint is missing!",
            frmDateItem::EndDateField);
        row("end before start", alice, "02.03.24 08:00 01.03.24 09:00", check, frmDateItem::EndTimeField);
        row("start equals end", alice, "01.03.24 10:00 01.03.24 10:00", check, frmDateItem::EndTimeField);
        row("impossible end time is no end time, no style", alice, "01.03.24 10:00 01.03.24 25:00",
            "Please select a style!", -2);
    }
    void refusals() {
        QFETCH(QString, row);
        QFETCH(QString, span);
        QFETCH(QString, message);
        QFETCH(int, focus);
        enter(row, span);
        if (focus == -2)
            editor().cmbStyleEx->setCurrentIndex(-1);
        editor().tx[frmDateItem::CaptionField]->setFocus();
        clickOk();
        QCOMPARE(f->prompts.texts(), QStringList{message});
        QCOMPARE(f->prompts.prompts().constFirst().flags, errorFlags);
        QCOMPARE(f->itemCount(), 0);
        QVERIFY(editor().isVisible() && editor().isChanged());
        if (focus != -1)
            QVERIFY((focus == -2 ? static_cast<QWidget*>(editor().cmbStyleEx) : editor().tx[size_t(focus)])
                        ->hasFocus());
    }

    void conflicts() {
        const TimePoint withSeconds = at(2024, 3, 1, 9).addSeconds(17);
        ChartItem& existing = timetable().addItem("{E}", alice, withSeconds, at(2024, 3, 1, 11));
        timetable().addItem("{F}", alice, at(2024, 3, 1, 13), at(2024, 3, 1, 14));
        enter(alice, "01.03.24 10:00 01.03.24 12:00");
        clickOk();
        QCOMPARE(f->prompts.texts(),
                 QStringList{"Item is in conflict with already existing one and cannot be saved!"});
        QCOMPARE(f->itemCount(), 2);
        QVERIFY(editor().itemKey().isEmpty());
        // The editor still follows selections, and an existing item may not be stretched over another.
        select("{E}");
        QCOMPARE(editor().itemKey(), QString("{E}"));
        setField(frmDateItem::EndTimeField, "13:30");
        clickOk();
        QCOMPARE(f->prompts.texts().size(), 2);
        QCOMPARE(existing.end(), at(2024, 3, 1, 11));
        // The item does not collide with itself, and keeps the seconds its fields do not show.
        setField(frmDateItem::EndTimeField, "12:00");
        clickOk();
        QCOMPARE(existing.end(), at(2024, 3, 1, 12));
        QCOMPARE(existing.start(), withSeconds);
        QCOMPARE(f->prompts.texts().size(), 2);
        // Stored, the editor closes on Esc without a question.
        QTest::keyClick(editor().tx[frmDateItem::CaptionField], Qt::Key_Escape);
        QVERIFY(!editor().isVisible());
    }

    void listsFollowTheChart() {
        QCOMPARE(itemTexts(editor().cmbRes), QStringList({"Alice", "Bob"}));
        QCOMPARE(editor().cmbRes->currentIndex(), -1);
        // The item styles only: neither the resource styles nor the carrier of the timetable's settings.
        QCOMPARE(itemTexts(editor().cmbStyleEx), QStringList({"Date", "Date Fixed", "Break"}));
        QCOMPARE(editor().styleKey(), QString("Date"));
        // A fixing style locks the item in place.
        enter(bob, "01.03.24 08:00 01.03.24 09:00");
        editor().cmbStyleEx->setCurrentIndex(editor().cmbStyleEx->findData("Date Fixed"));
        clickOk();
        QCOMPARE(timetable().chart.items().byKey(editor().itemKey())->movementLock(), 2);
        // Resources renamed and added elsewhere: the list is filled again, the choice kept by key,
        // and nothing counts as an edit.
        timetable().chart.rows().byKey(alice)->caption = "Bob";
        timetable().addRow("{R-CAROL}", "Carol");
        timetable().items.RowsChanged();
        QCOMPARE(itemTexts(editor().cmbRes), QStringList({"Bob", "Bob", "Carol"}));
        QCOMPARE(editor().resourceKey(), bob);
        timetable().chart.styles().add("Meeting").kind = ChartStyle::ItemKind;
        timetable().items.ItemStylesChanged();
        QCOMPARE(editor().cmbStyleEx->count(), 4);
        QCOMPARE(editor().styleKey(), QString("Date Fixed"));
        QVERIFY(!editor().isChanged());
        // A full read, as after loading a timetable, brings the lists up to date as well.
        timetable().addRow("{R-DORA}", "Dora");
        timetable().chart.styles().add("Late").kind = ChartStyle::ItemKind;
        QVERIFY(timetable().items.ReadItems());
        QCOMPARE(editor().cmbRes->count(), 4);
        QCOMPARE(editor().cmbStyleEx->count(), 5);
        QCOMPARE(editor().resourceKey(), bob);
    }

    void leavingStartTimeFillsEnd_data() {
        const auto row = columns<QString, QString, QString, QString>("grid", "typed", "endDate", "endTime");
        row("15 minutes", "15n", "0800", "01.03.2024", "08:15");
        row("hour over midnight", "1h", "2330", "02.03.2024", "00:30");
        row("one day", "1d", "8", "02.03.2024", "08:00");
        row("no usable grid", "n", "0800", "", "");
        row("invalid time", "15n", "2599", "", "");
    }
    void leavingStartTimeFillsEnd() {
        QFETCH(QString, grid);
        QFETCH(QString, typed);
        QLineEdit* startTime = editor().tx[frmDateItem::StartTimeField];
        timetable().chart.settings().gridInterval = grid;
        setField(frmDateItem::StartDateField, "01.03.24");
        startTime->setFocus();
        QTest::keyClicks(startTime, typed);
        editor().tx[frmDateItem::CaptionField]->setFocus();
        QTEST(field(frmDateItem::EndDateField), "endDate");
        QTEST(field(frmDateItem::EndTimeField), "endTime");
        // An end entered already stays as it is.
        setField(frmDateItem::EndDateField, "05.03.24");
        setField(frmDateItem::EndTimeField, "");
        startTime->setFocus();
        editor().tx[frmDateItem::CaptionField]->setFocus();
        QCOMPARE(field(frmDateItem::EndDateField) + '|' + field(frmDateItem::EndTimeField),
                 QString("05.03.24|"));
    }

    void seriesMembership() {
        ChartItem& first =
            timetable().addItem("{S1}", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9), "{SERIES}");
        ChartItem& second =
            timetable().addItem("{S2}", alice, at(2024, 3, 2, 8), at(2024, 3, 2, 9), "{SERIES}");
        timetable().addItem("{LONE}", bob, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        select("{LONE}");
        QVERIFY(editor().chkSeries->isHidden());
        select("{S1}");
        QVERIFY(editor().chkSeries->isVisible() && editor().chkSeries->isChecked());
        // A moved member offers to move the following ones; No leaves them.
        setField(frmDateItem::StartTimeField, "09:00");
        setField(frmDateItem::EndTimeField, "10:00");
        f->prompts.answerMessage(MessageResult::No);
        clickOk();
        QCOMPARE(f->prompts.texts(), QStringList{"Change the following items of this series too?"});
        QCOMPARE(first.start(), at(2024, 3, 1, 9));
        QCOMPARE(second.start(), at(2024, 3, 2, 8));
        // Clearing "is series" takes the item out of its series and asks nothing.
        editor().chkSeries->setChecked(false);
        clickOk();
        QCOMPARE(f->prompts.texts().size(), 1);
        QVERIFY(first.seriesKey().isEmpty());
        QCOMPARE(second.seriesKey(), QString("{SERIES}"));
    }

    void closeQuestion_data() {
        const auto row =
            columns<int, bool, bool, int, QStringList>("answer", "complete", "closes", "stored", "messages");
        const QString question = "Save changes?";
        row("yes stores", int(MessageResult::Yes), true, true, 1, QStringList{question});
        row("yes with a refusal stays", int(MessageResult::Yes), false, false, 0,
            QStringList{question, "Please select one resource!"});
        row("no drops", int(MessageResult::No), true, true, 0, QStringList{question});
        row("cancel stays", int(MessageResult::Cancel), true, false, 0, QStringList{question});
    }
    void closeQuestion() {
        QFETCH(bool, complete);
        QFETCH(bool, closes);
        enter(complete ? alice : QString(), "01.03.24 08:00 01.03.24 09:00");
        QFETCH(int, answer);
        f->prompts.answerMessage(answer);
        QCOMPARE(editor().close(), closes);
        QTEST(f->prompts.texts(), "messages");
        QCOMPARE(f->prompts.prompts().constFirst().flags, MessageFlags::YesNoCancel | MessageFlags::Question);
        QCOMPARE(f->prompts.prompts().constFirst().title, editor().windowTitle());
        QCOMPARE(editor().isVisible(), !closes);
        QTEST(f->itemCount(), "stored");
        // Once the editor is gone and no other window is open, the board takes the keyboard back.
        QCOMPARE(f->host.boardActivations, closes ? 1 : 0);
    }

    void readOnlyTimetable() {
        timetable().addItem("{A}", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        SetReadOnly(true);
        editor().hide();
        editor().show();
        for (const int command :
             {frmDateItem::OkCommand, frmDateItem::DeleteCommand, frmDateItem::NewCommand})
            QVERIFY(!editor().cmd[size_t(command)]->isEnabled());
        QVERIFY(!editor().cmdSeries->isEnabled());
        QVERIFY(editor().cmd[frmDateItem::ReturnCommand]->isEnabled());
        select("{A}");
        setField(frmDateItem::CaptionField, "changed");
        QVERIFY(editor().Store(false));
        QVERIFY(editor().close());
        QVERIFY(f->prompts.prompts().isEmpty());
        QCOMPARE(timetable().chart.items().byKey("{A}")->caption(), QString("{A}"));
    }

    void followsSelections() {
        timetable().addItem("{A}", alice, at(2024, 3, 1, 8, 30), at(2024, 3, 1, 9));
        ChartItem& b = timetable().addItem("{B}", bob, at(2024, 3, 4, 14), at(2024, 3, 5, 16));
        b.setText("line one\nline two");
        b.setPicture("/nowhere/b.jpg");
        // Unsaved edits give way to a selection made elsewhere, without a question.
        select("{A}");
        setField(frmDateItem::CaptionField, "not stored");
        timetable().items.ItemSeledctedById("{B}", "{BOARD}");
        QCOMPARE(editor().itemKey(), QString("{B}"));
        QCOMPARE(editor().resourceKey(), bob);
        QStringList fields;
        for (int n = frmDateItem::StartDateField; n <= frmDateItem::PictureField; ++n)
            fields << field(n);
        QCOMPARE(fields,
                 QStringList({"04.03.2024", "14:00", "05.03.2024", "16:00", "{B}", b.text(), b.picture()}));
        QVERIFY(!editor().isChanged());
        QCOMPARE(timetable().chart.items().byKey("{A}")->caption(), QString("{A}"));
        // Its own announcements are no news to the editor.
        timetable().items.ItemSeledctedById("{A}", editor().ID());
        QCOMPARE(editor().itemKey(), QString("{B}"));
        b.setCaption("renamed on the board");
        timetable().items.UpdateItem(b, "{BOARD}");
        QCOMPARE(field(frmDateItem::CaptionField), QString("renamed on the board"));
        ItemList gone;
        gone.add(b);
        timetable().items.DeleteItems(gone, otherView, false);
        QVERIFY(editor().itemKey().isEmpty());
        QVERIFY(field(frmDateItem::CaptionField).isEmpty());
        QVERIFY(f->prompts.prompts().isEmpty());
    }

    void commands() {
        ChartItem& a = timetable().addItem("{A}", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        select("{A}");
        setField(frmDateItem::CaptionField, "first");
        // "New" stores the item shown and starts a fresh one; the next entry leaves the first as it is.
        click(editor().cmd[frmDateItem::NewCommand]);
        QCOMPARE(a.caption(), QString("first"));
        QVERIFY(editor().itemKey().isEmpty());
        QVERIFY(field(frmDateItem::CaptionField).isEmpty());
        QVERIFY(editor().cmbRes->hasFocus());
        enter(alice, "01.03.24 10:00 01.03.24 11:00", "second");
        clickOk();
        QCOMPARE(f->itemCount(), 2);
        QCOMPARE(a.caption() + ' ' + a.end().isoText(), "first 2024-03-01 09:00:00");
        // "Delete" asks; nothing shown, nothing to delete.
        f->prompts.answerMessage(MessageResult::No);
        click(editor().cmd[frmDateItem::DeleteCommand]);
        QCOMPARE(f->itemCount(), 2);
        f->prompts.answerMessage(MessageResult::Yes);
        click(editor().cmd[frmDateItem::DeleteCommand]);
        QCOMPARE(f->prompts.texts(), QStringList(2, "Delete current item?"));
        QCOMPARE(f->itemCount(), 1);
        QCOMPARE(timetable().items.Count(), 1);
        QVERIFY(editor().itemKey().isEmpty());
        click(editor().cmd[frmDateItem::DeleteCommand]);
        QCOMPARE(f->prompts.texts().size(), 2);
        // "Series" stores the item first and opens the series dialog for it; a refused entry opens nothing.
        enter(bob, "01.03.24 08:00 01.03.24 09:00");
        click(editor().cmdSeries);
        auto* series = qobject_cast<frmSeries*>(QApplication::activeModalWidget());
        QVERIFY(series != nullptr);
        QCOMPARE(series->itemId(), editor().itemKey());
        series->tx[frmSeries::CountField]->setText("2");
        click(series->cmd[frmSeries::OkCommand]);
        QCOMPARE(f->itemCount(), 4);
        setField(frmDateItem::StartDateField, "");
        click(editor().cmdSeries);
        QCOMPARE(f->prompts.texts().last(), QString("Start timepoint is missing!"));
    }

    void picturePreview() {
        QTemporaryDir folder;
        const QString picture = folder.filePath("room.png");
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(picture));
        const QString notAPicture = folder.filePath("notes.png");
        QFile text(notAPicture);
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("no picture at all") > 0);
        text.close();
        const auto shows = [&] { return !editor().picPicture->pixmap().isNull(); };
        setField(frmDateItem::PictureField, "  " + picture + " ");
        QVERIFY(shows());
        for (const QString& path : {folder.filePath("missing.jpg"), notAPicture, folder.path(),
                                    QString("/dev/zero"), QString(5000, QChar(0x00E9))}) {
            setField(frmDateItem::PictureField, picture);
            setField(frmDateItem::PictureField, path);
            QVERIFY2(!shows(), qPrintable(path.left(40)));
        }
        // The chooser: cancelled leaves the field, a chosen local file is taken as it is.
        f->prompts.answerFile(QString());
        f->prompts.answerFile(picture);
        click(editor().cmdSearchPicture);
        QCOMPARE(field(frmDateItem::PictureField), QString(5000, QChar(0x00E9)));
        click(editor().cmdSearchPicture);
        QCOMPARE(field(frmDateItem::PictureField), picture);
        QVERIFY(shows());
        QCOMPARE(f->prompts.prompts().constFirst().title, QString("Choose picture"));
        for (const char* pattern : {"*.jpg", "*.bmp", "*.png"})
            QVERIFY(f->prompts.prompts().constFirst().text.contains(pattern));
    }

    void calendarButtons_data() {
        // text: in the field before; the date picked is 02.04.2024
        const auto row = columns<bool, bool, QString, bool>("startField", "viaKeys", "text", "cancel");
        row("start button", true, false, "15.03.24", false);
        row("end Ctrl+K", false, true, "15.03.24", false);
        row("start Ctrl+K, Esc", true, true, "15.03.24", true);
        row("empty end field presets today, Esc", false, false, "", true);
    }
    void calendarButtons() {
        QFETCH(bool, startField);
        QFETCH(bool, viaKeys);
        QFETCH(QString, text);
        QFETCH(bool, cancel);
        const int dateField = startField ? frmDateItem::StartDateField : frmDateItem::EndDateField;
        QLineEdit* field = editor().tx[size_t(dateField)];
        field->setText(text);
        QDate preset;
        QPoint placed;
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<frmDatePicker*>(QApplication::activeModalWidget());
            QVERIFY(picker != nullptr);
            preset = picker->calendar()->selectedDate();
            placed = picker->pos();
            picker->calendar()->setSelectedDate(QDate(2024, 4, 2));
            QTest::keyClick(picker, cancel ? Qt::Key_Escape : Qt::Key_Return);
        });
        if (viaKeys) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_K, Qt::ControlModifier);
        } else {
            click(startField ? editor().cmdSearchStart : editor().cmdSearchEnd);
        }
        QCOMPARE(preset, text.isEmpty() ? QDate::currentDate() : QDate(2024, 3, 15));
        QCOMPARE(placed, field->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(field->text(), cancel ? text : QString("02.04.2024"));
        if (!cancel)
            QCOMPARE(editor().focusWidget(), editor().tx[size_t(dateField + 1)]);
    }

    void windowPositionIsKept() {
        QTemporaryDir folder;
        clsIniFile profile;
        profile.setFilename(folder.filePath("QUNTA.INI"));
        globals().profile = &profile;
        QRect closedAt;
        // Opened again, it stands exactly where it was closed, however often that is done.
        for (int round = 0; round < 3; ++round) {
            auto window = std::make_unique<frmDateItem>(f->host);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            if (round == 0) {
                window->move(200, 150);
                closedAt = window->geometry();
            }
            QCOMPARE(window->geometry(), closedAt);
            QVERIFY(window->close());
            const QString record =
                QStringLiteral("0|%1|%2|").arg(closedAt.left() * 15).arg(closedAt.top() * 15);
            QVERIFY(profile.ReadProfileString("ScreenLayout", "DateItem", {}).startsWith(record));
        }
        globals().profile = nullptr;
    }

    // Return and Esc, as the editor's calendar buttons use them, are in calendarButtons.
    void datePickerKeys_data() {
        const auto row =
            columns<int, int, bool, bool, bool>("key", "modifiers", "closes", "cancelled", "manual");
        row("keypad Enter picks", Qt::Key_Enter, Qt::KeypadModifier, true, false, false);
        row("Shift+Enter does nothing", Qt::Key_Return, Qt::ShiftModifier, false, false, false);
        row("Alt+Enter does nothing", Qt::Key_Return, Qt::AltModifier, false, false, false);
        row("Ctrl+Esc does nothing", Qt::Key_Escape, Qt::ControlModifier, false, false, false);
        row("F1 opens the manual", Qt::Key_F1, Qt::NoModifier, false, false, true);
    }
    void datePickerKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        QFETCH(bool, cancelled);
        QFETCH(bool, manual);
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
        QVERIFY(f->prompts.prompts().isEmpty());
        QCOMPARE(f->prompts.openedUrls.size(), manual ? 1 : 0);
    }

    // A preset shows its month: across a year, a 29 February over a 31 January, a 31 March over February.
    void datePickerPresetsAndClicks() {
        frmDatePicker picker;
        const QCalendarWidget* calendar = picker.calendar();
        for (const QDate date : {QDate(2023, 12, 31), QDate(2024, 1, 31), QDate(2024, 2, 29),
                                 QDate(2024, 3, 31), QDate(2024, 3, 1)}) {
            picker.setThisDate(date);
            QCOMPARE(picker.ThisDate(), date);
            QCOMPARE(calendar->selectedDate(), date);
            QCOMPARE(QDate(calendar->yearShown(), calendar->monthShown(), date.day()), date);
        }
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QAbstractItemView* view = grid(picker);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, dayCell(view, 15));
        QCOMPARE(picker.calendar()->selectedDate(), QDate(2024, 3, 15));
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.ThisDate(), QDate(2024, 3, 1));
        // A double click: the first click selects, the second activates.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, dayCell(view, 20));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, dayCell(view, 20));
        QVERIFY(!picker.isVisible() && !picker.cancelled());
        QCOMPARE(picker.ThisDate(), QDate(2024, 3, 20));
        // The close box cancels.
        picker.show();
        picker.close();
        QVERIFY(picker.cancelled());
    }
};

QTEST_MAIN(TstDateItemEditor)
#include "tst_dateitemeditor.moc"
