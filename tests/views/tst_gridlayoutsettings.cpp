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
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <numeric>

namespace {
struct Group {
    int first;
    int count;
    int GridOptions::*setting;
};

const std::array<Group, 5> groups = {{{frmGridLayout::MultipleLinesFirst, 3, &GridOptions::multipleLines},
                                      {frmGridLayout::MarqueeFirst, 7, &GridOptions::marqueeStyle},
                                      {frmGridLayout::TabActionFirst, 3, &GridOptions::tabAction},
                                      {frmGridLayout::MultiSelectFirst, 3, &GridOptions::multiSelect},
                                      {frmGridLayout::RowDividerFirst, 7, &GridOptions::rowDividerStyle}}};

// Where two layouts differ, as paths into the layout's JSON; a font counts as one value.
void differences(const QJsonValue& a, const QJsonValue& b, const QString& path, QStringList& out) {
    if (a == b)
        return;
    if (a.isArray()) {
        for (qsizetype i = 0; i < a.toArray().size(); ++i)
            differences(a[i], b[i], path + '/' + QString::number(i), out);
    } else if (a.isObject() && !path.endsWith("/font")) {
        for (const QString& key : a.toObject().keys())
            differences(a[key], b[key], path + '/' + key, out);
    } else {
        out << path;
    }
}

QStringList onColumns(const QString& field, const QList<int>& columns) {
    QStringList paths;
    for (const int column : columns)
        paths << QStringLiteral("/columns/%1/%2").arg(column).arg(field);
    return paths;
}
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
        for (const Group& group : groups) {
            for (int value = 0; value < group.count; ++value)
                QCOMPARE(dialog->opt[std::size_t(group.first + value)]->isChecked(),
                         value == live().options.*group.setting);
        }
        const std::array<bool, 8> checks = {true, false, true, false, false, false, true, true};
        for (const int index : {0, 1, 2, 3, 5, 6, 7})
            QCOMPARE(dialog->chk[std::size_t(index)]->isChecked(), checks[std::size_t(index)]);
        QVERIFY(dialog->cmd[5]->isEnabled() && dialog->cmd[8]->isEnabled());
        QCOMPARE(dialog->lsCols->count(), GridLayout::columnCount);
        QCOMPARE(dialog->lsCols->item(11)->text(), QStringLiteral("Reserved"));
        QCOMPARE(dialog->tx[frmGridLayout::CaptionField]->text(), QStringLiteral("C0"));
        dialog->lsCols->setCurrentRow(4);
        QCOMPARE(dialog->tx[frmGridLayout::CaptionField]->text(), QStringLiteral("C4"));
        QCOMPARE(dialog->tx[frmGridLayout::FormatField]->text(), QStringLiteral("Short Time"));
        QVERIFY(!dialog->bar()->Dirty());
    }

    // No group starts at its first value, so every click in turn changes the grid.
    void optionsWriteAtOnce() {
        for (const Group& group : groups) {
            for (int value = 0; value < group.count; ++value) {
                dialog->opt[std::size_t(group.first + value)]->click();
                QCOMPARE(live().options.*group.setting, value);
            }
        }
        QVERIFY(dialog->bar()->Dirty());
    }

    // The sizing permissions wait for the store; dropping them is part of droppingChangesReloadsTheFile.
    void checkBoxes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("alternating rows") << 0 << true;
        QTest::newRow("column sizing") << 1 << false;
        QTest::newRow("row sizing") << 2 << false;
        QTest::newRow("column moving") << 3 << false;
    }
    void checkBoxes() {
        QFETCH(int, index);
        QFETCH(bool, atOnce);
        const auto value = [this, index] {
            const GridOptions& options = live().options;
            return std::array{options.alternatingRowStyle, options.allowSizing, options.allowRowSizing,
                              options.allowColMove}[std::size_t(index)];
        };
        const bool before = value();
        dialog->chk[std::size_t(index)]->click();
        QCOMPARE(value(), atOnce ? !before : before);
        QCOMPARE(dialog->cmd[6]->isEnabled(), index == frmGridLayout::AlternatingRows ? !before : true);
        dialog->bar()->click(ctrOSC::AcceptButton);
        QCOMPARE(value(), !before);
        if (index == frmGridLayout::ColumnSizing)
            QCOMPARE(live().columns[5].allowSizing, value());
    }

    // Each font and colour button asks once, changes nothing when the dialog is cancelled and its own
    // targets only when a font or colour is chosen.
    void fontsAndColours_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("changed");
        QList<int> all(GridLayout::columnCount);
        std::iota(all.begin(), all.end(), 0);
        const QList<int> three{3, 5, 8};
        const std::array<std::tuple<int, const char*, const char*>, 10> rowColours = {
            {{1, "normal", "backColor"},
             {2, "normal", "foreColor"},
             {3, "selected", "backColor"},
             {4, "selected", "foreColor"},
             {5, "evenRow", "backColor"},
             {6, "evenRow", "foreColor"},
             {7, "oddRow", "backColor"},
             {8, "oddRow", "foreColor"},
             {13, "highlightRow", "backColor"},
             {12, "highlightRow", "foreColor"}}};
        for (const auto& [button, style, colour] : rowColours) {
            QStringList changed{QStringLiteral("/options/styles/%1/%2").arg(style, colour)};
            if (button <= 2) // "all rows" paints every column too
                changed += onColumns(colour, all);
            QTest::addRow("button %d", button) << button << three << changed;
        }
        QTest::newRow("grid font") << 0 << three << QStringList{"/options/font"} + onColumns("font", all);
        QTest::newRow("column font") << 9 << three << onColumns("font", three);
        QTest::newRow("column background") << 10 << three << onColumns("backColor", three);
        QTest::newRow("column text colour") << 11 << three << onColumns("foreColor", three);
        QTest::newRow("no column selected") << 9 << QList<int>{} << QStringList{};
    }
    void fontsAndColours() {
        QFETCH(int, index);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, changed);
        dialog->lsCols->clearSelection();
        for (const int column : selected)
            dialog->lsCols->item(column)->setSelected(true);
        const bool font = index == frmGridLayout::GridFont || index == frmGridLayout::ColumnFont;
        const bool asks = !changed.isEmpty();
        const auto answer = [&](bool given) {
            if (asks && font)
                fixture->prompts.answerFont(given ? std::optional(FontDescription{"Chosen", 14})
                                                  : std::nullopt);
            else if (asks)
                fixture->prompts.answerColour(given ? std::optional(0x123456u) : std::nullopt);
        };
        const GridLayout before = live();
        answer(false);
        dialog->cmd[std::size_t(index)]->click();
        QCOMPARE(live(), before);
        answer(true);
        dialog->cmd[std::size_t(index)]->click();
        QStringList found;
        differences(GridLayoutFile::toJson(before), GridLayoutFile::toJson(live()), {}, found);
        found.sort();
        changed.sort();
        QCOMPARE(found, changed);
        QCOMPARE(fixture->prompts.prompts().size(), asks ? 2 : 0);
        if (font && asks) // preset from the grid's font, or the first selected column's
            QCOMPARE(fixture->prompts.prompts().last().text,
                     index == frmGridLayout::GridFont ? "Serif" : "Mono");
    }

    // A cell of "all rows" shows the chosen background on the grid behind the dialog, in place of the
    // odd rows' colour once alternating colours are off.
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
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown"); // the text of row 0; none when refused
        QTest::newRow("date pattern") << 3 << "d.M.yy"
                                      << "5.3.26";
        QTest::newRow("time pattern") << 4 << "H.mm 'Uhr'"
                                      << "8.00 Uhr";
        QTest::newRow("empty") << 5 << ""
                               << "05.03.2026";
        QTest::newRow("text ignores it") << 2 << "dd.MM."
                                         << "Talk";
        QTest::newRow("minutes in a date") << 3 << "dd.mm.yyyy"
                                           << "";
        QTest::newRow("date format for a time") << 4 << "Short Date"
                                                << "";
        QTest::newRow("run too long") << 3 << "yyyyy"
                                      << "";
        QTest::newRow("unclosed quote") << 6 << "HH 'h"
                                        << "";
        QTest::newRow("no date at all") << 5 << "Tag"
                                        << "";
        QTest::newRow("tab") << 3 << "dd\tMM"
                             << "";
        QTest::newRow("1000 characters") << 3 << QString(1000, 'd') << "";
    }
    void formats() {
        QFETCH(int, column);
        QFETCH(QString, format);
        QFETCH(QString, shown);
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
        if (how == "destroy") {
            dialog.reset();
        } else {
            fixture->prompts.answerMessage(MessageResult::Yes);
            dialog->bar()->click(ctrOSC::CancelButton);
            QVERIFY(!dialog->isVisible());
        }
        QCOMPARE(live(), how == "unreadable" ? earlier : opened);
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
