#include "FileBytes.h"
#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "app/ui/ctrOSC.h"
#include "views/GridLayoutFile.h"
#include "views/ItemGrid.h"
#include "views/ItemGridModel.h"
#include "views/frmGridLayout.h"
#include "views/frmListview.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {
using Setting = int GridOptions::*;

struct Group {
    int first;
    int count;
    Setting setting;
};

const std::array<Group, 5> groups = {{{frmGridLayout::MultipleLinesFirst, 3, &GridOptions::multipleLines},
                                      {frmGridLayout::MarqueeFirst, 7, &GridOptions::marqueeStyle},
                                      {frmGridLayout::TabActionFirst, 3, &GridOptions::tabAction},
                                      {frmGridLayout::MultiSelectFirst, 3, &GridOptions::multiSelect},
                                      {frmGridLayout::RowDividerFirst, 7, &GridOptions::rowDividerStyle}}};

} // namespace

// "Layout settings" over a grid loaded from the user's layout file: every control reaches the grid at
// once or on store, dropping the changes reloads the file, and the file itself is never written.
class TstGridLayoutSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    std::unique_ptr<ItemGrid> grid;
    std::unique_ptr<frmGridLayout> dialog;
    QString userFile;
    QByteArray fileBytes;

    [[nodiscard]] const GridLayout& live() const { return grid->gridLayout(); }
    [[nodiscard]] GridLayout fromFile() const {
        GridLayout layout = GridLayoutFile::read(userFile, "Listview");
        layout.setReservedCaptions();
        layout.normalise();
        return layout;
    }
    void openDialog() {
        dialog = std::make_unique<frmGridLayout>();
        dialog->Init(*grid);
        dialog->show();
    }

private slots:
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        fixture->addRow("R1", "Room");
        for (int day = 5; day <= 7; ++day)
            fixture->addItem(QStringLiteral("I%1").arg(day), "R1", ListviewFixture::at(day, 8),
                             ListviewFixture::at(day, 9), "Talk");
        userFile = fixture->documents() + "/QUNTAGRDE.LAY";
        GridLayoutFile::write(userFile, "Listview", everyFieldChanged());
        fileBytes = readBytes(userFile);
        grid = std::make_unique<ItemGrid>(fixture->items);
        grid->resize(700, 200);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        openDialog();
    }
    void cleanup() {
        dialog.reset();
        grid.reset();
        QCOMPARE(readBytes(userFile), fileBytes);
        fixture.reset();
    }

    void loadShowsTheGridsValues() {
        const GridLayout& layout = live();
        for (const Group& group : groups) {
            for (int value = 0; value < group.count; ++value)
                QCOMPARE(dialog->opt[std::size_t(group.first + value)]->isChecked(),
                         value == layout.options.*group.setting);
        }
        const std::array<bool, 8> checks = {true, false, true, false, false, false, true, true};
        for (const int index : {0, 1, 2, 3, 5, 6, 7})
            QCOMPARE(dialog->chk[std::size_t(index)]->isChecked(), checks[std::size_t(index)]);
        QVERIFY(dialog->cmd[5]->isEnabled() && dialog->cmd[8]->isEnabled());
        QCOMPARE(dialog->lsCols->count(), GridLayout::columnCount);
        QCOMPARE(dialog->lsCols->item(3)->text(), QStringLiteral("C3"));
        QCOMPARE(dialog->lsCols->item(11)->text(), QStringLiteral("Reserved"));
        QCOMPARE(dialog->tx[frmGridLayout::CaptionField]->text(), QStringLiteral("C0"));
        dialog->lsCols->setCurrentRow(4);
        QCOMPARE(dialog->tx[frmGridLayout::FormatField]->text(), QStringLiteral("Short Time"));
        QVERIFY(!dialog->bar()->Dirty());
    }

    void optionsWriteAtOnce_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("group");
        for (int g = 0; g < int(groups.size()); ++g) {
            for (int value = 0; value < groups[std::size_t(g)].count; ++value) {
                const int index = groups[std::size_t(g)].first + value;
                QTest::addRow("option %d", index) << index << g;
            }
        }
    }
    void optionsWriteAtOnce() {
        QFETCH(int, index);
        QFETCH(int, group);
        const Group& written = groups[std::size_t(group)];
        dialog->opt[std::size_t(index)]->click();
        QCOMPARE(live().options.*written.setting, index - written.first);
        QVERIFY(dialog->bar()->Dirty());
        dialog->bar()->click(ctrOSC::OkButton);
        QVERIFY(!dialog->isVisible());
        openDialog();
        QVERIFY(dialog->opt[std::size_t(index)]->isChecked());
    }

    void checkBoxes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<bool>("accept");
        for (const bool accept : {true, false}) {
            const char* how = accept ? "accepted" : "cancelled";
            QTest::addRow("alternating rows, %s", how) << 0 << true << accept;
            QTest::addRow("column sizing, %s", how) << 1 << false << accept;
            QTest::addRow("row sizing, %s", how) << 2 << false << accept;
            QTest::addRow("column moving, %s", how) << 3 << false << accept;
        }
    }
    void checkBoxes() {
        QFETCH(int, index);
        QFETCH(bool, atOnce);
        QFETCH(bool, accept);
        const auto value = [this, index] {
            const GridOptions& options = live().options;
            const std::array<bool, 4> values = {options.alternatingRowStyle, options.allowSizing,
                                                options.allowRowSizing, options.allowColMove};
            return values[std::size_t(index)];
        };
        const bool before = value();
        dialog->chk[std::size_t(index)]->click();
        QCOMPARE(value(), atOnce ? !before : before);
        if (index == frmGridLayout::AlternatingRows)
            QCOMPARE(dialog->cmd[6]->isEnabled(), !before);
        if (accept) {
            dialog->bar()->click(ctrOSC::AcceptButton);
        } else {
            fixture->prompts.answerMessage(MessageResult::Yes);
            dialog->bar()->click(ctrOSC::CancelButton);
        }
        QCOMPARE(value(), accept ? !before : before);
        if (index == frmGridLayout::ColumnSizing && accept)
            QCOMPARE(live().columns[5].allowSizing, value());
    }

    void colourButtons_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("style"); // all, selected, even, odd and current rows
        QTest::addColumn<bool>("back");
        const std::array<int, 10> buttons = {1, 2, 3, 4, 5, 6, 7, 8, 13, 12};
        for (int n = 0; n < int(buttons.size()); ++n)
            QTest::addRow("button %d", buttons[std::size_t(n)])
                << buttons[std::size_t(n)] << n / 2 << (n % 2 == 0);
    }
    void colourButtons() {
        QFETCH(int, index);
        QFETCH(int, style);
        QFETCH(bool, back);
        static constexpr std::array<GridRowStyle GridOptions::*, 5> styles = {
            &GridOptions::normal, &GridOptions::selected, &GridOptions::evenRow, &GridOptions::oddRow,
            &GridOptions::highlightRow};
        const auto colour = [&](const GridRowStyle& row) { return back ? row.backColor : row.foreColor; };
        const GridLayout before = live();
        fixture->prompts.answerColour(std::nullopt);
        dialog->cmd[std::size_t(index)]->click();
        QCOMPARE(live(), before);
        QVERIFY(!dialog->bar()->Dirty());
        fixture->prompts.answerColour(0x0000FF);
        dialog->cmd[std::size_t(index)]->click();
        QCOMPARE(colour(live().options.*styles[std::size_t(style)]), 0x0000FFu);
        QVERIFY(dialog->bar()->Dirty());
        const GridColumn& column = live().columns[7];
        QCOMPARE((back ? column.backColor : column.foreColor) == 0x0000FF, style == 0);
    }

    // A cell of "all rows" shows the chosen background on the grid behind the dialog.
    void thePreviewPaintsTheGrid() {
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        const QRect cell = grid->visualRect(grid->dataModel().index(1, 2));
        const QPoint inside(cell.right() - 4, cell.center().y());
        fixture->prompts.answerColour(0x0000FF);
        dialog->cmd[7]->click();
        fixture->prompts.answerColour(0x00FF00);
        dialog->chk[frmGridLayout::AlternatingRows]->click();
        dialog->cmd[1]->click();
        QCOMPARE(grid->viewport()->grab().toImage().pixelColor(inside), QColor(0, 0xFF, 0));
        dialog->chk[frmGridLayout::AlternatingRows]->click();
        QCOMPARE(grid->viewport()->grab().toImage().pixelColor(inside), QColor(0xFF, 0, 0));
    }

    void fonts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("selected");
        QTest::addRow("grid font") << int(frmGridLayout::GridFont) << QList<int>{};
        QTest::addRow("column font") << int(frmGridLayout::ColumnFont) << QList<int>{3, 5, 8};
        QTest::addRow("column background") << int(frmGridLayout::ColumnBackColor) << QList<int>{3, 5, 8};
        QTest::addRow("column text colour") << int(frmGridLayout::ColumnForeColor) << QList<int>{3, 5, 8};
        QTest::addRow("no column selected") << int(frmGridLayout::ColumnFont) << QList<int>{};
    }
    void fonts() {
        QFETCH(int, index);
        QFETCH(QList<int>, selected);
        dialog->lsCols->clearSelection();
        for (const int column : selected)
            dialog->lsCols->item(column)->setSelected(true);
        const GridLayout before = live();
        const bool asks = index == frmGridLayout::GridFont || !selected.isEmpty();
        const bool font = index == frmGridLayout::GridFont || index == frmGridLayout::ColumnFont;
        const auto answer = [&](bool given) {
            if (font)
                fixture->prompts.answerFont(given ? std::optional(FontDescription{"Chosen", 14})
                                                  : std::nullopt);
            else
                fixture->prompts.answerColour(given ? std::optional(0x123456u) : std::nullopt);
        };
        if (asks)
            answer(false);
        dialog->cmd[std::size_t(index)]->click();
        QCOMPARE(live(), before);
        if (!asks) {
            QVERIFY(fixture->prompts.prompts().isEmpty());
            return;
        }
        if (font) // preset from the grid, or from the columns
            QCOMPARE(fixture->prompts.prompts().last().text,
                     index == frmGridLayout::GridFont ? "Serif" : "Mono");
        answer(true);
        dialog->cmd[std::size_t(index)]->click();
        QCOMPARE(fixture->prompts.prompts().size(), 2); // one dialog for all columns
        for (int column = 0; column < GridLayout::columnCount; ++column) {
            const GridColumn& now = live().columns[std::size_t(column)];
            const bool changed = index == frmGridLayout::GridFont || selected.contains(column);
            const bool same = index == frmGridLayout::ColumnBackColor   ? now.backColor == 0x123456
                              : index == frmGridLayout::ColumnForeColor ? now.foreColor == 0x123456
                                                                        : now.font.name == "Chosen";
            QCOMPARE(same, changed);
        }
        if (index == frmGridLayout::GridFont)
            QCOMPARE(live().options.font.name, QStringLiteral("Chosen"));
    }

    void captionFollowsEveryKeystroke() {
        dialog->lsCols->setCurrentRow(2);
        QLineEdit* field = dialog->tx[frmGridLayout::CaptionField];
        field->selectAll();
        QString typed;
        for (const QChar c : QStringLiteral("Was")) {
            QTest::keyClick(field, c.toLatin1());
            typed += c;
            QCOMPARE(live().columns[2].caption, typed);
            QCOMPARE(dialog->lsCols->item(2)->text(), typed);
        }
        QVERIFY(dialog->bar()->Dirty());
    }

    void formats_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("formatAndShown"); // the text of row 0; none when refused
        QTest::addRow("date pattern") << 3 << QStringList{"d.M.yy", "5.3.26"};
        QTest::addRow("time pattern") << 4 << QStringList{"H.mm 'Uhr'", "8.00 Uhr"};
        QTest::addRow("empty") << 5 << QStringList{"", "05.03.2026"};
        QTest::addRow("text ignores it") << 2 << QStringList{"dd.MM.", "Talk"};
        QTest::addRow("minutes in a date") << 3 << QStringList{"dd.mm.yyyy"};
        QTest::addRow("date format for a time") << 4 << QStringList{"Short Date"};
        QTest::addRow("run too long") << 3 << QStringList{"yyyyy"};
        QTest::addRow("unclosed quote") << 6 << QStringList{"HH 'h"};
        QTest::addRow("no date at all") << 5 << QStringList{"Tag"};
        QTest::addRow("tab") << 3 << QStringList{"dd\tMM"};
        QTest::addRow("1000 characters") << 3 << QStringList{QString(1000, 'd')};
    }
    void formats() {
        QFETCH(int, column);
        QFETCH(QStringList, formatAndShown);
        const QString format = formatAndShown.first();
        const QString shown = formatAndShown.value(1);
        const QString before = live().columns[std::size_t(column)].numberFormat;
        const QString beforeText = grid->dataModel().text(0, column);
        dialog->lsCols->setCurrentRow(column);
        const auto type = [&](const QString& text) {
            dialog->tx[frmGridLayout::FormatField]->setText(text);
            dialog->tx_Change(frmGridLayout::FormatField);
        };
        // A usable format typed on the way is shown, and goes again when the text cannot be used.
        type(column == 4 || column == 6 ? "HH" : "yyyy");
        type(format);
        QVERIFY(dialog->bar()->Dirty());
        QCOMPARE(dialog->lblFormatProblem->text().isEmpty(), !shown.isEmpty());
        QCOMPARE(grid->dataModel().text(0, column), shown.isEmpty() ? beforeText : shown);
        if (!shown.isEmpty()) {
            QCOMPARE(live().columns[std::size_t(column)].numberFormat, format);
            return dialog->bar()->click(ctrOSC::OkButton);
        }
        QCOMPARE(live().columns[std::size_t(column)].numberFormat, before);
        fixture->prompts.answerMessage(MessageResult::Ok);
        dialog->bar()->click(ctrOSC::OkButton);
        QVERIFY(dialog->isVisible());
        const auto& message = fixture->prompts.prompts().last();
        QVERIFY2(message.text.startsWith("The format \"") && message.text.contains("cannot be used: "),
                 qPrintable(message.text));
        QCOMPARE(message.flags, int(MessageFlags::Exclamation));
    }

    void droppingChangesReloadsTheFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("cancel answered No") << "keep";
        QTest::newRow("closed without the bar") << "destroy";
        QTest::newRow("cancel after accept") << "accepted";
        QTest::newRow("cancel, file unreadable") << "unreadable";
    }
    void droppingChangesReloadsTheFile() {
        QFETCH(QString, how);
        const GridLayout opened = live();
        // A change the file does not know, made before the dialog opened: a reload drops it too.
        GridLayout earlier = live();
        earlier.columns[1].width = 333;
        grid->setGridLayout(earlier);
        openDialog();
        dialog->opt[frmGridLayout::RowDividerFirst]->click();
        dialog->chk[frmGridLayout::ColumnMoving]->click();
        if (how == "accepted") {
            dialog->bar()->click(ctrOSC::AcceptButton);
            dialog->opt[frmGridLayout::MarqueeFirst]->click();
        }
        if (how == "unreadable") {
            fileBytes = "{ no layout";
            writeBytes(userFile, fileBytes);
        }
        const GridLayout changed = live();
        if (how == "destroy") {
            dialog.reset();
        } else {
            fixture->prompts.answerMessage(how == "keep" ? MessageResult::No : MessageResult::Yes);
            dialog->bar()->click(ctrOSC::CancelButton);
            QCOMPARE(fixture->prompts.prompts().last().text, QStringLiteral("Discard changes?"));
            QCOMPARE(dialog->isVisible(), how == "keep");
        }
        if (how == "keep")
            QCOMPARE(live(), changed);
        else
            QCOMPARE(live(), how == "unreadable" ? earlier : fromFile());
        QCOMPARE(live() == opened, how == "cancel" || how == "destroy" || how == "accepted");
    }

    // The list's menu opens the dialog over the list's grid; closing the list while it holds unsaved
    // changes keeps the layout without them.
    void theListsMenuOpensTheDialog() {
        auto* list = new frmListview(fixture->host, fixture->items);
        list->mLayoutI_Click(0);
        auto* opened = list->findChild<frmGridLayout*>();
        QVERIFY(opened && opened->isVisible() && opened->isModal());
        QCOMPARE(opened->lsCols->item(1)->text(), QStringLiteral("C1"));
        opened->opt[frmGridLayout::RowDividerFirst + 1]->click();
        QCOMPARE(list->grdList->gridLayout().options.rowDividerStyle, int(GridOptions::BlackLine));
        list->mFileI_Click(4);
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QVERIFY(!list->findChild<frmGridLayout*>());
        delete list;
        fileBytes = readBytes(userFile);
        QCOMPARE(GridLayoutFile::read(userFile, "Listview").options.rowDividerStyle, int(GridOptions::Inset));
    }
};

QTEST_MAIN(TstGridLayoutSettings)
#include "tst_gridlayoutsettings.moc"
