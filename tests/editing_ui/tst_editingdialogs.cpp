#include "../app/DataTable.h"
#include "EditingFixture.h"
#include "app/MessageFlags.h"
#include "app/ui/ColorComboBox.h"
#include "chart/widget/GanttChart.h"
#include "editing/ResourceCommands.h"
#include "editing/frmClearUp.h"
#include "editing/frmDateItem.h"
#include "editing/frmResource.h"
#include "editing/frmSeries.h"
#include "editing/frmStyles.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
const QString master = QStringLiteral("MASTER");

// The keys of a chart's styles or items, in order.
template <typename Collection> QStringList keysOf(const Collection& collection) {
    QStringList keys;
    for (int position = 1; position <= collection.count(); ++position)
        keys << collection.byPosition(position)->key();
    return keys;
}

// A view that may keep one item, and runs `onAsked` whenever it is asked about a deletion.
class KeepingView : public TestMessenger {
public:
    using TestMessenger::TestMessenger;
    QString keep;
    std::function<void()> onAsked;

    void ItemDeleteBefore(QString key, bool& cancel, QString senderId) override {
        TestMessenger::ItemDeleteBefore(key, cancel, senderId);
        cancel = key == keep;
        if (onAsked)
            onAsked();
    }
};
} // namespace

// The editing dialogs over a timetable of Alice and Bob: resources, styles, series and clean-up.
class TstEditingDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<EditingFixture> f;
    std::unique_ptr<KeepingView> m_view;
    std::unique_ptr<frmStyles> m_styles;

    TestTimetable& timetable() { return f->timetable; }
    GanttData& chart() { return f->timetable.chart; }
    RowCollection& rows() { return f->timetable.chart.rows(); }

    frmStyles& openStyles(int mode) {
        m_styles = std::make_unique<frmStyles>();
        m_styles->SetMode(mode);
        m_styles->show();
        return *m_styles;
    }
    void chooseStyle(const QString& key) { m_styles->cmbStyles->setCurrentText(key); }

    // Master on Alice from `start` for 90 minutes with its own caption, text, style and picture.
    void addMaster(TimePoint start) {
        ChartItem& item = timetable().addItem(master, alice, start, start.addSeconds(5400));
        item.setText(QStringLiteral("Weekly review"));
        item.setStyleKey(QStringLiteral("Date Fixed"));
        item.setPicture(QStringLiteral("/pictures/review.png"));
        item.setMovementLock(2);
    }
    // Fills the series dialog's fields as typed or pasted and presses "&OK"; true when it closed.
    static bool runSeries(int type, const QStringList& fields, const QString& itemKey = master) {
        frmSeries dialog;
        dialog.ItemID(itemKey);
        dialog.show();
        dialog.cmbType->setCurrentIndex(type);
        for (int field = 0; field < frmSeries::fieldCount; ++field)
            dialog.tx[size_t(field)]->setText(fields[field]);
        click(dialog.cmd[frmSeries::OkCommand]);
        return !dialog.isVisible();
    }
    // The days of every item of the series but the master, in time order; "x" where a member differs
    // from the master in more than its day.
    QString memberDays() {
        const ChartItem& first = *chart().items().byKey(master);
        QStringList days;
        for (const ChartItem* item : chart().itemsInRange(alice, at(1900, 1, 1), at(2300, 1, 1))) {
            if (item->key() == master || item->seriesKey() != first.seriesKey())
                continue;
            const bool same = item->start().toDateTime().time() == first.start().toDateTime().time() &&
                              item->end() - item->start() == 5400 && item->text() == first.text() &&
                              item->styleKey() == first.styleKey() && item->picture() == first.picture() &&
                              item->movementLock() == 2 && timetable().items.GetItemIndex(item->key()) >= 0;
            days << (same ? item->start().toDateTime().toString("dd.MM.yy") : "x");
        }
        return days.join(' ');
    }

    // Five items on Alice around 10 March, a view that may keep one, and the clean-up dialog.
    std::unique_ptr<frmClearUp> openClearUp() {
        for (const auto& [key, start, end] : {std::tuple{"OLD", at(2024, 3, 1, 8), at(2024, 3, 1, 9)},
                                              std::tuple{"LATE", at(2024, 3, 9, 22), at(2024, 3, 10, 23, 59)},
                                              std::tuple{"MIDNIGHT", at(2024, 3, 11, 0), at(2024, 3, 12, 0)},
                                              std::tuple{"SPANNING", at(2024, 3, 1, 10), at(2024, 3, 13, 0)},
                                              std::tuple{"NEW", at(2024, 3, 20, 8), at(2024, 3, 20, 9)}})
            timetable().addItem(key, alice, start, end);
        auto dialog = std::make_unique<frmClearUp>();
        dialog->show();
        return dialog;
    }
    static void enterLimit(frmClearUp& dialog, const QString& text) {
        dialog.tx->setText(text);
        click(dialog.cmd[frmClearUp::OkCommand]);
    }
private slots:
    void init() {
        f = std::make_unique<EditingFixture>();
        chart().styles().add("Rooms").kind = ChartStyle::RowKind;
        m_view = std::make_unique<KeepingView>(QStringLiteral("{VIEW}"));
        timetable().items.AddMessenger(*m_view);
    }

    void cleanup() {
        m_styles.reset();
        timetable().items.RemoveMessenger(*m_view);
        QCOMPARE(f->prompts.unansweredCount(), 0);
        f.reset();
    }

    void addsEachResourceNameOnce() {
        frmResource dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("New resources"));
        QCOMPARE(dialog.cmbStyle->currentText(), QString("Resources"));
        // OK on the fresh, empty dialog adds nothing.
        click(dialog.cmd[frmResource::OkCommand]);
        QCOMPARE(rows().count(), 2);
        dialog.txName->setText("Carol");
        f->prompts.answerFile("/pictures/carol.jpg");
        click(dialog.cmdPicture);
        QCOMPARE(f->prompts.prompts().constFirst().title, QString("Choose picture"));
        click(dialog.cmd[frmResource::OkCommand]);
        click(dialog.cmd[frmResource::OkCommand]);
        QCOMPARE(rows().count(), 3);
        const ChartRow& carol = *rows().byPosition(3);
        QCOMPARE(carol.caption + ' ' + carol.picture + ' ' + carol.styleKey,
                 "Carol /pictures/carol.jpg Resources");
        QVERIFY(dialog.isVisible());
        dialog.txName->setText("Dave");
        dialog.cmbStyle->setCurrentIndex(dialog.cmbStyle->findText("Rooms"));
        click(dialog.cmd[frmResource::ReturnCommand]);
        QCOMPARE(rows().count(), 4);
        QCOMPARE(rows().byPosition(4)->styleKey, QString("Rooms"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_view->heard.count("rowsChanged"), 4);
        // Captions of any kind are kept as typed; the editor lists them and keeps a usable width.
        const QStringList odd{QString::fromUtf8("Zoë – 東京 🚀 שלום <b>Room</b>\r\n\t2"),
                              QString(20000, QChar('W'))};
        for (const QString& caption : odd) {
            frmResource adding;
            adding.show();
            adding.txName->setText(caption);
            click(adding.cmd[frmResource::ReturnCommand]);
        }
        frmDateItem editor(f->host);
        QCOMPARE(itemTexts(editor.cmbRes).mid(4), odd);
        QVERIFY(editor.sizeHint().width() < 1000);
    }

    void editsTheResource() {
        timetable().addItem("{A}", bob, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        frmDateItem editor(f->host);
        timetable().items.ItemSeledctedById("{A}", "{LIST}");
        rows().byKey(bob)->picture = "/pictures/bob.png";
        rows().byKey(bob)->styleKey = "Rooms";
        frmResource dialog;
        dialog.LetGantRow(*rows().byKey(bob));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Resource"));
        QCOMPARE(dialog.txName->text() + ' ' + dialog.txPicture->text() + ' ' +
                     dialog.cmbStyle->currentText(),
                 "Bob /pictures/bob.png Rooms");
        dialog.txName->setText("Robert");
        dialog.cmbStyle->setCurrentIndex(dialog.cmbStyle->findText("Resources"));
        click(dialog.cmd[frmResource::OkCommand]);
        QCOMPARE(rows().byKey(bob)->caption + ' ' + rows().byKey(bob)->styleKey, "Robert Resources");
        // Every view hears of it: the editor lists the new caption and still shows the item's resource.
        QCOMPARE(editor.cmbRes->itemText(1), QString("Robert"));
        QCOMPARE(editor.resourceKey(), bob);
        QVERIFY(!editor.isChanged());
        // Editing may empty the caption; only adding skips an unchanged name.
        dialog.txName->clear();
        click(dialog.cmd[frmResource::ReturnCommand]);
        QCOMPARE(rows().byKey(bob)->caption, QString());
        QCOMPARE(rows().count(), 2);
    }

    void resourceMenuWithoutARowOrReadOnly() {
        ResourceCommands commands(f->host);
        for (const int index : {0, 2, 4, 6})
            commands.mRowI_Click(index);
        QCOMPARE(rows().count(), 2);
        QVERIFY(!f->host.dirty);
        SetReadOnly(true);
        f->host.gantRow = 1;
        rows().byKey(alice)->height = 42;
        commands.mRowI_Click(ResourceCommands::DeleteResource);
        commands.mRowI_Click(ResourceCommands::Settings);
        QVERIFY(f->prompts.prompts().isEmpty());
        QCOMPARE(rows().count(), 2);
        // The height is no edit of the timetable's content and works in read-only mode too.
        commands.mRowI_Click(ResourceCommands::HeightForEverything);
        QCOMPARE(rows().byKey(bob)->height, 42);
        QVERIFY(!f->host.dirty);
        SetReadOnly(false);
        timetable().addRow("{R-CAROL}", "Carol");
        f->host.gantRow = 2;
        rows().byKey(bob)->height = 35;
        commands.mRowI_Click(ResourceCommands::HeightForEverything);
        for (int position = 1; position <= rows().count(); ++position)
            QCOMPARE(rows().byPosition(position)->height, 35);
        QVERIFY(f->host.dirty);
    }

    void deleteResource_data() {
        const auto row = columns<QString, int, QString>("caption", "answer", "question");
        row("named, yes", "Bob", int(MessageResult::Yes), "Delete resource 'Bob'?");
        row("named, no", "Bob", int(MessageResult::No), "Delete resource 'Bob'?");
        row("blanks", "   ", int(MessageResult::Yes), "Delete resource [Caption missing]?");
    }
    void deleteResource() {
        QFETCH(QString, caption);
        QFETCH(int, answer);
        QFETCH(QString, question);
        rows().byKey(bob)->caption = caption;
        timetable().addItem("{A}", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        timetable().addItem("{B1}", bob, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        timetable().addItem("{B2}", bob, at(2024, 3, 2, 8), at(2024, 3, 2, 9));
        frmDateItem editor(f->host);
        timetable().items.ItemSeledctedById("{B2}", "{LIST}");
        m_view->heard.clear();
        f->host.gantRow = 2;
        f->prompts.answerMessage(answer);
        ResourceCommands(f->host).mRowI_Click(ResourceCommands::DeleteResource);
        QCOMPARE(f->prompts.texts(), QStringList{question});
        QCOMPARE(f->prompts.prompts().constFirst().flags,
                 MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2);
        QVERIFY(f->host.dirty);
        QCOMPARE(f->prompts.busyDepth, 0);
        if (answer == MessageResult::No) {
            QCOMPARE(rows().count(), 2);
            QCOMPARE(timetable().items.Count(), 3);
            QCOMPARE(editor.itemKey(), QString("{B2}"));
            return;
        }
        // The row goes with its bookings, from the chart, the item table and every view.
        QCOMPARE(rows().count(), 1);
        QVERIFY(rows().byKey(bob) == nullptr);
        QCOMPARE(f->itemCount(), 1);
        QCOMPARE(timetable().items.Count(), 1);
        QCOMPARE(timetable().items.GetItemIndex("{B1}"), -1);
        QCOMPARE(m_view->heard, QStringList({"itemsChanged", "rowsChanged"}));
        QVERIFY(editor.itemKey().isEmpty());
        QCOMPARE(editor.cmbRes->count(), 1);
        QCOMPARE(f->host.gantRow, -1);
    }

    void resourceMonthlyOverviewAndSettings() {
        f->host.gantRow = 1;
        f->host.firstShown = at(2024, 5, 17, 6);
        ResourceCommands commands(f->host);
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        QCOMPARE(f->prompts.texts(), QStringList{"The monthly overview is not available yet."});
        QCOMPARE(f->prompts.prompts().constFirst().flags, int(MessageFlags::Information));
        f->host.overviewAvailable = true;
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        commands.mRowI_Click(ResourceCommands::MonthlyOverview);
        QCOMPARE(f->host.overviewsOpened, QStringList(2, alice + " 2024-05-17 06:00:00"));
        // The settings open the dialog for the row.
        f->host.gantRow = 2;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmResource*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            shown = dialog->windowTitle() + ' ' + dialog->txName->text();
            dialog->txName->setText("Bobby");
            click(dialog->cmd[frmResource::ReturnCommand]);
        });
        commands.mRowI_Click(ResourceCommands::Settings);
        QCOMPARE(shown, QString("Resource Bob"));
        QCOMPARE(rows().byKey(bob)->caption, QString("Bobby"));
        QVERIFY(f->host.dirty);
    }

    void styleModes() {
        timetable().addItem("A", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        QCOMPARE(itemTexts(openStyles(ChartStyle::ItemKind).cmbStyles),
                 (QStringList{"Date", "Date Fixed", "Break"}));
        QCOMPARE(m_styles->windowTitle(), QString("Styles (Date items)"));
        QVERIFY(m_styles->chk[frmStyles::FixedCheck]->isVisible());
        QCOMPARE(itemTexts(openStyles(ChartStyle::RowKind).cmbStyles), (QStringList{"Resources", "Rooms"}));
        QCOMPARE(m_styles->windowTitle(), QString("Styles (Resources)"));
        QVERIFY(m_styles->chk[frmStyles::DefaultCheck]->isHidden());
        // A resource style shows on the sample's row heading, a date item style on its bar.
        QCOMPARE(m_styles->sampleData().rows().byPosition(1)->styleKey, frmStyles::sampleKey);
        m_styles->SetMode(3);
        QCOMPARE(f->prompts.texts(), QStringList{"Wrong invocation for 'SetMode'!"});
        QCOMPARE(m_styles->mode(), int(ChartStyle::RowKind));
        // The sample chart shows the chosen style, and cannot be edited.
        openStyles(ChartStyle::ItemKind);
        chooseStyle("Break");
        const GanttData& sample = m_styles->sampleData();
        QVERIFY(
            sample.styles().byKey(frmStyles::sampleKey)->sameProperties(*chart().styles().byKey("Break")));
        QCOMPARE(sample.items().byKey(frmStyles::sampleKey)->movementLock(), 2);
        QVERIFY(!sample.settings().allowAdd && !sample.settings().allowEdit &&
                !sample.settings().allowRowSize);
        QCOMPARE(m_styles->gntSample->firstShownTime(), TimePoint::today());
    }

    void styleOptions_data() {
        // values: border shown, appearance, horizontal, vertical
        const auto row = columns<QString, int, QList<int>>("group", "option", "values");
        row("Flat", "BS", 1, QList{1, 2, 1, 2});
        row("3D", "BS", 2, QList{1, 0, 1, 2});
        row("No border", "BS", 0, QList{0, 2, 1, 2});
        row("Center", "AH", 1, QList{1, 0, 2, 2});
        row("Right", "AH", 2, QList{1, 0, 3, 2});
        row("Top", "AV", 0, QList{1, 0, 1, 1});
        row("Bottom", "AV", 2, QList{1, 0, 1, 3});
    }
    void styleOptions() {
        QFETCH(QString, group);
        QFETCH(int, option);
        openStyles(ChartStyle::ItemKind);
        auto& options = group == "BS" ? m_styles->optBS : group == "AH" ? m_styles->optAH : m_styles->optAV;
        // The flat border first, so that every click changes something.
        m_styles->optBS[frmStyles::FlatOption]->click();
        m_styles->optBS[frmStyles::RaisedOption]->click();
        options[size_t(option)]->click();
        const ChartStyle& date = *chart().styles().byKey("Date");
        QTEST((QList{date.borderShown, date.borderAppearance, date.horizontalAlignment,
                     date.verticalAlignment}),
              "values");
        QCOMPARE(m_styles->sampleData().styles().byKey(frmStyles::sampleKey)->borderShown, date.borderShown);
    }

    void styleValuesShownInReverse() {
        ChartStyle& odd = chart().styles().get("Date Fixed");
        odd.borderAppearance = 7;
        odd.horizontalAlignment = 9;
        odd.verticalAlignment = 0;
        openStyles(ChartStyle::ItemKind);
        chooseStyle("Date Fixed");
        QVERIFY(m_styles->optBS[frmStyles::RaisedOption]->isChecked());
        QVERIFY(m_styles->optAH[frmStyles::LastOption]->isChecked());
        QVERIFY(m_styles->optAV[frmStyles::FirstOption]->isChecked());
        // Showing a style writes nothing back.
        QCOMPARE(odd.borderAppearance, 7);
        QCOMPARE(odd.verticalAlignment, 0);
    }

    void styleChecksFontAndColours() {
        timetable().addItem("A", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        openStyles(ChartStyle::ItemKind);
        chooseStyle("Break");
        ChartStyle& pause = chart().styles().get("Break");
        m_styles->chk[frmStyles::ShowFocusCheck]->click();
        QVERIFY(!pause.focusShown);
        QCOMPARE(pause.focusDistanceX + pause.focusDistanceY, 0);
        m_styles->chk[frmStyles::ShowFocusCheck]->click();
        QVERIFY(pause.focusShown);
        QCOMPARE(pause.focusDistanceX * 10 + pause.focusDistanceY, 33);
        m_styles->chk[frmStyles::DefaultCheck]->click();
        QCOMPARE(chart().settings().defaultItemStyle, QString("Break"));
        chooseStyle("Date");
        QVERIFY(!m_styles->chk[frmStyles::DefaultCheck]->isChecked());
        m_styles->chk[frmStyles::DefaultCheck]->click();
        m_styles->chk[frmStyles::DefaultCheck]->click();
        QVERIFY(chart().settings().defaultItemStyle.isEmpty());
        // A fixing style locks its items once the views are told on "&Return".
        m_view->heard.clear();
        m_styles->chk[frmStyles::FixedCheck]->click();
        QVERIFY(chart().styles().byKey("Date")->fixedItem);
        QCOMPARE(chart().items().byKey("A")->movementLock(), 0);
        m_styles->cmdOK[frmStyles::ReturnCommand]->click();
        QCOMPARE(chart().items().byKey("A")->movementLock(), 2);
        QCOMPARE(m_view->heard, QStringList{"itemStylesChanged"});
        QVERIFY(!m_styles->isVisible());
        // Font and colours of a resource style; a cancelled dialog keeps the value.
        openStyles(ChartStyle::RowKind);
        const FontDescription font{"DejaVu Serif", 14, false, true};
        f->prompts.answerFont(font);
        f->prompts.answerFont(std::nullopt);
        f->prompts.answerColour(0x0000FF);
        f->prompts.answerColour(std::nullopt);
        for (const int button : {0, 0, 1, 2})
            m_styles->cmd[size_t(button)]->click();
        const ChartStyle& resources = *chart().styles().byKey("Resources");
        QCOMPARE(resources.font, font);
        QCOMPARE(resources.backColor, 0x0000FFu);
        QCOMPARE(resources.foreColor, 0u);
        QVERIFY(m_styles->sampleData().styles().byKey(frmStyles::sampleKey)->sameProperties(resources));
    }

    void styleNames_data() {
        // message: empty: created, "-": refused silently
        const auto row = columns<int, QString, QString>("mode", "name", "message");
        const int item = ChartStyle::ItemKind, resource = ChartStyle::RowKind;
        const QString number = "A style name must not be a number!";
        row("room style", resource, "Halls", "");
        row("Unicode", item, "Besprechung ☕ 会議", "");
        row("1000 characters", item, QString(1000, QChar(u'ä')), "");
        row("other letter case", item, "date", "'date' is allready in use!");
        row("name of the other kind", item, "RESOURCES", "'RESOURCES' is allready in use!");
        row("settings carrier", item, "addon", "'addon' is allready in use!");
        row("numeric", item, "42", number);
        row("decimal", resource, "-1,5", number);
        row("blanks only", resource, "   ", "-");
    }
    void styleNames() {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, message);
        openStyles(mode);
        const QStringList before = keysOf(chart().styles());
        f->prompts.answerInput(name);
        m_styles->cmdOK[frmStyles::NewCommand]->click();
        QCOMPARE(f->prompts.prompts().constFirst().text, QString("Name of style"));
        if (!message.isEmpty()) {
            QCOMPARE(keysOf(chart().styles()), before);
            QCOMPARE(f->prompts.texts().mid(1), message == "-" ? QStringList() : QStringList{message});
            return;
        }
        const ChartStyle* style = chart().styles().byKey(name);
        QVERIFY(style != nullptr);
        QCOMPARE(style->kind, mode);
        QCOMPARE(m_styles->cmbStyles->currentText(), name);
        if (mode == ChartStyle::RowKind)
            QCOMPARE(style->font.name, QString("Arial"));
        else
            QVERIFY(style->focusShown && style->clipCaption && style->verticalAlignment == 2);
    }

    void styleDeletion() {
        timetable().addItem("A", alice, at(2024, 3, 1, 8), at(2024, 3, 1, 9));
        chart().styles().remove("Rooms");
        openStyles(ChartStyle::RowKind);
        m_styles->cmdOK[frmStyles::DeleteCommand]->click();
        QCOMPARE(f->prompts.texts(), QStringList{"Style 'Resources' is in use and can't be deleted!"});
        // The last style of a kind is replaced at once; the name may be taken by the other kind.
        chart().styles().add("new style");
        rows().get(alice).styleKey.clear();
        rows().get(bob).styleKey.clear();
        f->prompts.answerMessage(MessageResult::Yes);
        m_styles->cmdOK[frmStyles::DeleteCommand]->click();
        QCOMPARE(itemTexts(m_styles->cmbStyles), QStringList{"new style 2"});
        QCOMPARE(chart().styles().byKey("new style 2")->kind, int(ChartStyle::RowKind));
        // A date item style goes also while items use it, and takes the default along; No keeps it.
        openStyles(ChartStyle::ItemKind);
        f->prompts.clear();
        f->prompts.answerMessage(MessageResult::No);
        f->prompts.answerMessage(MessageResult::Yes);
        m_styles->cmdOK[frmStyles::DeleteCommand]->click();
        QVERIFY(chart().styles().byKey("Date"));
        m_styles->cmdOK[frmStyles::DeleteCommand]->click();
        QCOMPARE(f->prompts.texts(), QStringList(2, "Delete style 'Date'?"));
        QVERIFY(!chart().styles().byKey("Date"));
        QVERIFY(chart().settings().defaultItemStyle.isEmpty());
        QCOMPARE(m_styles->cmbStyles->currentText(), QString("Date Fixed"));
    }

    void seriesMembers_data() {
        // fields: interval, count, last date
        const auto row = columns<TimePoint, int, QStringList, QString>("start", "type", "fields", "days");
        using S = ItemSeries;
        row("daily over a leap day", at(2024, 2, 27, 9, 30), S::Daily, {"1", "3", ""},
            "28.02.24 29.02.24 01.03.24");
        row("daily over the year end, typed digits", at(2024, 12, 30, 9, 30), S::Daily, {"1", "", "020125"},
            "31.12.24 01.01.25 02.01.25");
        row("Mo-Fr from a Friday", at(2024, 3, 1, 9, 30), S::MondayToFriday, {"1", "5", ""},
            "04.03.24 05.03.24 06.03.24 07.03.24 08.03.24");
        row("Mo-Sa skips Sundays", at(2024, 3, 1, 9, 30), S::MondayToSaturday, {"1", "3", ""},
            "02.03.24 04.03.24 05.03.24");
        row("Sa-Su up to 14 days after a Wednesday", at(2024, 3, 6, 9, 30), S::Weekend,
            {"1", "", "20.03.2024"}, "09.03.24 10.03.24 16.03.24 17.03.24");
        row("filter that never matches", at(2024, 3, 6, 9, 30), S::Weekend, {"7", "3", "30.06.2024"}, "");
        row("weekly every second week", at(2024, 3, 6, 9, 30), S::Weekly, {"2", "3", ""},
            "20.03.24 03.04.24 17.04.24");
        row("monthly from the 31st stays clamped", at(2024, 1, 31, 9, 30), S::Monthly, {"1", "3", ""},
            "29.02.24 29.03.24 29.04.24");
        row("quarterly into a leap February", at(2023, 11, 30, 9, 30), S::Quarterly, {"1", "2", ""},
            "29.02.24 29.05.24");
        row("yearly from a leap day", at(2024, 2, 29, 9, 30), S::Yearly, {"1", "2", ""}, "28.02.25 28.02.26");
        row("count beyond the last date", at(2024, 3, 6, 9, 30), S::Daily, {"1", "3", "08.03.2024"},
            "07.03.24 08.03.24");
        row("no last date ends in 2199", at(2199, 12, 28, 9, 30), S::Daily, {"001", "5", ""},
            "29.12.99 30.12.99 31.12.99");
    }
    void seriesMembers() {
        QFETCH(TimePoint, start);
        QFETCH(int, type);
        QFETCH(QStringList, fields);
        addMaster(start);
        m_view->heard.clear();
        QSignalSpy redraws(&chart(), &GanttData::changed);
        QVERIFY(runSeries(type, fields));
        QTEST(memberDays(), "days");
        QCOMPARE(chart().items().byKey(master)->seriesKey().size(), 38);
        QCOMPARE(m_view->heard.first(), "changed " + master + ' ');
        QCOMPARE(m_view->heard.size(), 1 + memberDays().split(' ', Qt::SkipEmptyParts).size());
        QCOMPARE(redraws.size(), 1);
        QVERIFY(f->prompts.prompts().isEmpty());
    }

    void seriesRefusals_data() {
        // fields: interval, count, last date
        const auto row = columns<QStringList, QString, int>("fields", "message", "focus");
        const QString noAmount = "Please enter amount or end date!",
                      tooSmall = "The interval must be 1 at minimum!";
        row("interval 0", {"0", "3", ""}, tooSmall, frmSeries::IntervalField);
        row("pasted negative interval", {"-5", "3", ""}, tooSmall, frmSeries::IntervalField);
        row("pasted endless digits", {QString(100000, '7'), "3", ""}, tooSmall, frmSeries::IntervalField);
        row("interval too large", {"10000", "3", ""}, "The interval must be 9999 at maximum!",
            frmSeries::IntervalField);
        row("neither count nor date", {"1", "", ""}, noAmount, frmSeries::CountField);
        row("pasted text as count", {"1", "lots", ""}, noAmount, frmSeries::CountField);
        row("31 February", {"1", "", "31.02.2026"}, noAmount, frmSeries::CountField);
        row("count too large", {"1", "10000", ""}, "The count must be 9999 at maximum!",
            frmSeries::CountField);
        row("after 2199", {"1", "", "01.01.2200"}, "The last date must be 31.12.2199 at the latest!",
            frmSeries::LastDateField);
        row("before the master", {"1", "5", "01.03.2024"}, "The last date must be after the day of the item!",
            frmSeries::LastDateField);
    }
    void seriesRefusals() {
        QFETCH(QStringList, fields);
        QFETCH(int, focus);
        addMaster(at(2024, 3, 6, 9, 30));
        frmSeries dialog;
        dialog.ItemID(master);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int field = 0; field < frmSeries::fieldCount; ++field)
            dialog.tx[size_t(field)]->setText(fields[field]);
        dialog.Update();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.tx[size_t(focus)]);
        QCOMPARE(f->prompts.texts().size(), 1);
        QTEST(f->prompts.texts().value(0), "message");
        QCOMPARE(f->prompts.prompts().constFirst().flags, int(MessageFlags::Critical));
        QCOMPARE(f->itemCount(), 1);
        QVERIFY(chart().items().byKey(master)->seriesKey().isEmpty());
    }

    // A missing master is refused; a refused candidate still counts; Cancel keeps the members made so
    // far; a second run on the same master collides with every member of the first.
    void seriesConflicts() {
        QVERIFY(runSeries(ItemSeries::Daily, {"1", "3", ""}, QStringLiteral("GONE")));
        QCOMPARE(f->prompts.texts(), QStringList{"Master item not found!"});
        f->prompts.clear();
        addMaster(at(2024, 3, 6, 9, 30));
        timetable().addItem(QStringLiteral("BUSY"), alice, at(2024, 3, 8, 10), at(2024, 3, 8, 11));
        f->prompts.answerMessage(MessageResult::Ok);
        QVERIFY(runSeries(ItemSeries::Daily, {"1", "3", ""}));
        QCOMPARE(memberDays(), QString("07.03.24 09.03.24"));
        QCOMPARE(f->prompts.texts(),
                 QStringList{"The item for 08.03.2024 09:30:00 cannot be stored because of "
                             "other items allready existing!"});
        QCOMPARE(f->prompts.prompts().constFirst().flags, MessageFlags::OkCancel | MessageFlags::Information);
        const QString seriesKey = chart().items().byKey(master)->seriesKey();
        f->prompts.clear();
        f->prompts.answerMessage(MessageResult::Ok);
        f->prompts.answerMessage(MessageResult::Cancel);
        QVERIFY(runSeries(ItemSeries::Daily, {"1", "5", ""}));
        QCOMPARE(f->prompts.texts().size(), 2);
        QCOMPARE(memberDays(), QString("07.03.24 09.03.24"));
        f->prompts.clear();
        for (int answer = 0; answer < 3; ++answer)
            f->prompts.answerMessage(MessageResult::Ok);
        QVERIFY(runSeries(ItemSeries::Daily, {"1", "4", ""}));
        QCOMPARE(f->prompts.texts().size(), 3);
        QCOMPARE(memberDays(), QString("07.03.24 09.03.24 10.03.24"));
        QCOMPARE(chart().items().byKey(master)->seriesKey(), seriesKey);
    }

    void clearUpLimits_data() {
        // keep: the item a view keeps
        // answer: 0: refused, no question
        const auto row = columns<QString, QString, int, QStringList>("limit", "keep", "answer", "remaining");
        const QStringList all{"OLD", "LATE", "MIDNIGHT", "SPANNING", "NEW"};
        const QStringList afterLimitDay{"MIDNIGHT", "SPANNING", "NEW"};
        const int yes = MessageResult::Yes;
        row("23:59 goes, next day's 00:00 stays", "10.03.2024", "", yes, afterLimitDay);
        row("typed digits", "100324", "", yes, afterLimitDay);
        row("before every item", "29.02.2024", "", yes, all);
        row("after every item", "31.12.2024", "", yes, {});
        row("a view keeps one", "10.03.2024", "LATE", yes, QStringList{"LATE"} + afterLimitDay);
        row("declined", "31.12.2024", "", MessageResult::No, all);
        row("empty", "", "", 0, all);
        row("31 February", "31.02.2024", "", 0, all);
        row("pasted text", "next Monday", "", 0, all);
    }
    void clearUpLimits() {
        QFETCH(QString, limit);
        QFETCH(int, answer);
        QFETCH(QStringList, remaining);
        const auto dialog = openClearUp();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QFETCH(QString, keep);
        m_view->keep = keep;
        QSignalSpy redraws(&chart(), &GanttData::changed);
        if (answer != 0)
            f->prompts.answerMessage(answer);
        enterLimit(*dialog, limit);
        QCOMPARE(keysOf(chart().items()), remaining);
        QCOMPARE(timetable().items.Count(), remaining.size());
        QCOMPARE(m_view->heard.filter("deleteAfter").size(), 5 - remaining.size());
        QCOMPARE(dialog->isVisible(), answer != MessageResult::Yes);
        if (answer == 0) {
            QCOMPARE(f->prompts.texts(), QStringList{"You must input a date!"});
            QCOMPARE(dialog->focusWidget(), dialog->tx);
            return;
        }
        QCOMPARE(f->prompts.texts(),
                 QStringList{"Delete all items upto and uncluding " + dialog->tx->text() + " ?"});
        QCOMPARE(f->prompts.prompts().constFirst().flags,
                 MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2);
        QCOMPARE(redraws.size(), answer == MessageResult::Yes ? 1 : 0);
        QVERIFY(dialog->lblStatus->text().isEmpty());
    }

    // Closing the window during a long run stops it at the next message pause; the dialog then closes.
    void clearUpClosedDuringRun() {
        const auto dialog = openClearUp();
        for (int n = 0; n < 40; ++n)
            timetable().addItem(QStringLiteral("EARLY%1").arg(n), alice, at(2023, 1, 1).addDays(n),
                                at(2023, 1, 1, 1).addDays(n));
        int asked = 0;
        m_view->onAsked = [&] {
            QThread::msleep(25);
            if (++asked == 3)
                QTimer::singleShot(0, dialog.get(), &QWidget::close);
        };
        f->prompts.answerMessage(MessageResult::Yes);
        enterLimit(*dialog, "31.12.2023");
        m_view->onAsked = nullptr;
        QVERIFY(dialog->stopRequested());
        QVERIFY(asked >= 3 && asked <= 6);
        QCOMPARE(f->itemCount(), 45 - asked);
        QVERIFY(!dialog->isVisible());
    }
};

QTEST_MAIN(TstEditingDialogs)
#include "tst_editingdialogs.moc"
