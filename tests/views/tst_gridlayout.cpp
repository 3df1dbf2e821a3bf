#include "../app/DataTable.h"
#include "FileBytes.h"
#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "app/ui/ctrOSC.h"
#include "views/GridLayoutFile.h"
#include "views/ItemGrid.h"
#include "views/ItemGridModel.h"
#include "views/frmGridCols.h"
#include "views/frmGridLayout.h"
#include "views/frmListview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <numeric>

namespace {
constexpr int errorBox = MessageFlags::OkOnly | MessageFlags::Critical;

// A layout file holding one layout.
QByteArray layoutFileOf(const QString& name, const QJsonValue& layout,
                        int version = GridLayoutFile::version) {
    return QJsonDocument(QJsonObject{{"format", "qunta-grid-layouts"},
                                     {"version", version},
                                     {"layouts", QJsonObject{{name, layout}}}})
        .toJson();
}

// A layout file holding one layout, whose column 2 is captioned as given.
QByteArray layoutFile(const QString& name, const QString& caption, int version = GridLayoutFile::version) {
    GridLayout layout = GridLayout::builtIn();
    layout.columns[2].caption = caption;
    layout.columns[10].caption = QStringLiteral("Kunde");
    return layoutFileOf(name, GridLayoutFile::toJson(layout), version);
}

// The option groups of "Layout settings": first button, number of values, the option they set.
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

QStringList entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void select(QListWidget* list, const QList<int>& positions) {
    list->clearSelection();
    for (const int position : positions)
        list->item(position)->setSelected(true);
}
} // namespace

// The list's layout: where it comes from and goes to (the user's file, the default beside the program,
// the built-in columns, and every way these files can be wrong), "Layout settings" and "Column view".
class TstGridLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    std::unique_ptr<ItemGrid> grid;
    std::unique_ptr<frmGridLayout> settings;
    std::unique_ptr<frmGridCols> columns;
    QString userFile;
    QString programFolder;
    QByteArray fileBytes; // what the user's file must still hold at the end

    void useProgramFolderWith(const QByteArray& defaultFile) {
        programFolder = fixture->home.filePath("program");
        QDir().mkpath(programFolder);
        bsGridSupport::setDefaultLayoutFolder(programFolder);
        if (!defaultFile.isNull())
            writeBytes(programFolder + "/QUNTAGRDE.LAY", defaultFile);
    }
    [[nodiscard]] QString caption(int column) const { return live().columns[std::size_t(column)].caption; }
    [[nodiscard]] const GridLayout& live() const { return grid->gridLayout(); }
    [[nodiscard]] std::vector<int> shown() const { return live().shownColumns(); }

    // "Layout settings" over three items and a grid loaded from a user's file with every value changed.
    void openSettings() {
        fixture->addRow("R1", "Room");
        for (int day = 5; day <= 7; ++day)
            fixture->addItem(QStringLiteral("I%1").arg(day), "R1", ListviewFixture::at(day, 8),
                             ListviewFixture::at(day, 9), "Talk");
        GridLayoutFile::write(userFile, "Listview", everyFieldChanged());
        fileBytes = readBytes(userFile);
        grid->ReOpen(0);
        grid->resize(700, 200);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        reopenSettings();
    }
    void reopenSettings() {
        settings = std::make_unique<frmGridLayout>();
        settings->Init(*grid);
        settings->show();
    }
    // "Column view" over a grid showing only columns 1 to 3: Ressource, Titel, Beginn Datum.
    void openColumns() {
        GridLayout layout = GridLayout::builtIn();
        for (int i = 0; i < GridLayout::columnCount; ++i)
            layout.columns[std::size_t(i)].visible = i >= 1 && i <= 3;
        grid->setGridLayout(layout);
        columns = std::make_unique<frmGridCols>();
        columns->Init(*grid);
        columns->show();
    }

private slots:
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        grid = std::make_unique<ItemGrid>(fixture->items);
        userFile = fixture->documents() + "/QUNTAGRDE.LAY";
        QCOMPARE(bsGridSupport::UserLayoutFile(), userFile);
        fileBytes = "<missing>";
    }
    void cleanup() {
        settings.reset();
        columns.reset();
        grid.reset();
        if (!QFileInfo(userFile).isDir())
            QCOMPARE(readBytes(userFile), fileBytes);
        fixture.reset();
    }

    void everyFieldSurvivesTheFile() {
        const GridLayout layout = everyFieldChanged();
        GridLayoutFile::write(userFile, "Listview", layout);
        fileBytes = readBytes(userFile);
        GridLayout expected = layout;
        expected.normalise();
        QCOMPARE(GridLayoutFile::read(userFile, "Listview"), expected);
        grid->setGridLayout(layout);
        QCOMPARE(live(), expected);
        QVERIFY(!grid->horizontalHeader()->sectionsMovable());
        QCOMPARE(grid->selectionMode(), QAbstractItemView::MultiSelection);
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 33);
    }

    void theShippedDefaultIsTheBuiltInLayout() {
        GridLayout expected = GridLayout::builtIn();
        expected.setReservedCaptions();
        QCOMPARE(bsGridSupport::DefaultLayoutFile(),
                 QCoreApplication::applicationDirPath() + "/QUNTAGRDE.LAY");
        QCOMPARE(GridLayoutFile::read(bsGridSupport::DefaultLayoutFile(), "Listview"), expected);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(grid->layoutFileName(), bsGridSupport::DefaultLayoutFile());
    }

    void unusableUserFilesFallBackToTheDefault_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("not JSON") << QByteArray("\x01\x02 layout {");
        QTest::newRow("JSON of another kind") << QByteArray(R"({"layouts": {}})");
        QTest::newRow("another version") << layoutFile("Listview", "Newer", 2);
        QTest::newRow("no layout of that name") << layoutFile("Monthview", "Other");
        QTest::newRow("layout not an object") << layoutFileOf("Listview", 7);
    }
    void unusableUserFilesFallBackToTheDefault() {
        QFETCH(QByteArray, content);
        useProgramFolderWith(layoutFile("Listview", "From default"));
        if (!content.isNull())
            writeBytes(userFile, fileBytes = content);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QCOMPARE(caption(2) + ' ' + caption(10), QStringLiteral("From default Reserved"));
        QCOMPARE(grid->layoutFileName(), programFolder + "/QUNTAGRDE.LAY");
        QVERIFY(fixture->prompts.prompts().isEmpty());
    }

    void withoutAUsableDefaultTheBuiltInColumnsStay_data() {
        const auto row = ::columns<QByteArray, QString>("defaultFile", "message");
        row("missing", QByteArray(), "Layout file is missing! Please reinstall this software!");
        row("damaged", QByteArray("{\"format\""),
            "Default layout failed loading. Please contact the help desk!");
    }
    void withoutAUsableDefaultTheBuiltInColumnsStay() {
        QFETCH(QByteArray, defaultFile);
        QFETCH(QString, message);
        useProgramFolderWith(defaultFile);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QCOMPARE(fixture->prompts.texts(), QStringList{message});
        QCOMPARE(fixture->prompts.prompts().first().flags, errorBox);
        QCOMPARE(caption(1) + ' ' + caption(9) + ' ' + caption(11),
                 QStringLiteral("Ressource Reserved Reserved"));
    }

    void outOfRangeValuesAreMended() {
        QJsonObject layout = GridLayoutFile::toJson(GridLayout::builtIn());
        QJsonArray cols = layout["columns"].toArray();
        const auto change = [&cols](int column, const QJsonObject& values) {
            QJsonObject object = cols[column].toObject();
            for (auto it = values.begin(); it != values.end(); ++it)
                object[it.key()] = it.value();
            cols[column] = object;
        };
        change(1, {{"width", -40}, {"caption", "Resource"}});
        change(2, {{"width", 1e12}, {"font", QJsonObject{{"size", 5000}}}});
        change(3, {{"numberFormat", "dd.mm.yyyy"}}); // minutes, which a date has not
        cols.append(QJsonObject{{"index", 12}, {"caption", "Nowhere"}});
        cols.append(QJsonObject{{"index", -1}, {"width", 5}});
        cols.append(QJsonObject{{"index", "3"}, {"visible", false}});
        layout["columns"] = cols;
        layout["options"] =
            QJsonObject{{"marqueeStyle", 9}, {"rowHeight", -3}, {"alternatingRowStyle", "yes"}};
        writeBytes(userFile, fileBytes = layoutFileOf("Listview", layout));
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QVERIFY(fixture->prompts.prompts().isEmpty());
        // Every value out of range is back at its default, every other value as written.
        GridLayout expected = GridLayout::builtIn();
        expected.setReservedCaptions();
        expected.columns[1].caption = QStringLiteral("Resource");
        expected.columns[1].width = GridLayout::minColumnWidth;
        expected.columns[2].width = GridLayout::maxColumnWidth;
        QCOMPARE(live(), expected);
    }

    void savingKeepsOtherLayoutsAndUnreadableFiles() {
        writeBytes(userFile, layoutFile("Monthview", "Other"));
        GridLayout layout = GridLayout::builtIn();
        layout.columns[2].width = 222;
        grid->setGridLayout(layout);
        bsGridSupport::SaveGridLayout(*grid, "Listview");
        QCOMPARE(GridLayoutFile::read(userFile, "Monthview").columns[2].caption, QStringLiteral("Other"));
        QCOMPARE(GridLayoutFile::read(userFile, "Listview").columns[2].width, 222);
        QCOMPARE(grid->layoutFileName(), userFile);
        writeBytes(userFile, "not a layout");
        bsGridSupport::SaveGridLayout(*grid, "Listview");
        QCOMPARE(readBytes(userFile + ".bak"), QByteArray("not a layout"));
        QCOMPARE(GridLayoutFile::read(userFile, "Listview").columns[2].width, 222);
        QCOMPARE(QDir(fixture->documents()).entryList(QDir::Files).size(), 2);
        fileBytes = readBytes(userFile);
    }

    void aFailedSaveChangesNothing() {
        // A folder where the file should be: neither loadable nor writable, whoever runs the test.
        QDir().mkpath(userFile);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        bsGridSupport::SaveGridLayout(*grid, "Listview");
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QVERIFY(QFileInfo(userFile).isDir());
        QCOMPARE(QDir(fixture->documents()).entryList(QDir::Files), QStringList());
    }

    // The dialog shows the grid's values; no option group starts at its first value, so every click
    // in turn changes the grid at once.
    void settingsShowTheGridAndOptionsWriteAtOnce() {
        openSettings();
        const std::array<bool, 8> checks = {true, false, true, false, false, false, true, true};
        for (const int index : {0, 1, 2, 3, 5, 6, 7})
            QCOMPARE(settings->chk[std::size_t(index)]->isChecked(), checks[std::size_t(index)]);
        QVERIFY(settings->cmd[5]->isEnabled() && settings->cmd[8]->isEnabled());
        QCOMPARE(settings->lsCols->count(), GridLayout::columnCount);
        QCOMPARE(settings->lsCols->item(11)->text(), QStringLiteral("Reserved"));
        QCOMPARE(settings->tx[frmGridLayout::CaptionField]->text(), QStringLiteral("C0"));
        settings->lsCols->setCurrentRow(4);
        QCOMPARE(settings->tx[frmGridLayout::CaptionField]->text(), QStringLiteral("C4"));
        QCOMPARE(settings->tx[frmGridLayout::FormatField]->text(), QStringLiteral("Short Time"));
        QVERIFY(!settings->bar()->Dirty());
        for (const Group& group : groups) {
            for (int value = 0; value < group.count; ++value)
                QCOMPARE(settings->opt[std::size_t(group.first + value)]->isChecked(),
                         value == live().options.*group.setting);
            for (int value = 0; value < group.count; ++value) {
                settings->opt[std::size_t(group.first + value)]->click();
                QCOMPARE(live().options.*group.setting, value);
            }
        }
        QVERIFY(settings->bar()->Dirty());
    }

    // The sizing permissions wait for the store; dropping them is part of settingsDroppedReloadTheFile.
    void settingsCheckBoxes_data() {
        const auto row = ::columns<int, bool>("index", "atOnce");
        row("alternating rows", 0, true);
        row("column sizing", 1, false);
        row("row sizing", 2, false);
        row("column moving", 3, false);
    }
    void settingsCheckBoxes() {
        QFETCH(int, index);
        QFETCH(bool, atOnce);
        openSettings();
        const auto value = [this, index] {
            const GridOptions& options = live().options;
            return std::array{options.alternatingRowStyle, options.allowSizing, options.allowRowSizing,
                              options.allowColMove}[std::size_t(index)];
        };
        const bool before = value();
        settings->chk[std::size_t(index)]->click();
        QCOMPARE(value(), atOnce ? !before : before);
        QCOMPARE(settings->cmd[6]->isEnabled(), index == frmGridLayout::AlternatingRows ? !before : true);
        settings->bar()->click(ctrOSC::AcceptButton);
        QCOMPARE(value(), !before);
        if (index == frmGridLayout::ColumnSizing)
            QCOMPARE(live().columns[5].allowSizing, value());
    }

    // Each font and colour button asks once, changes nothing when the dialog is cancelled and its own
    // targets only when a font or colour is chosen.
    void settingsFontsAndColours_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("changed");
        QList<int> all(GridLayout::columnCount);
        std::iota(all.begin(), all.end(), 0);
        const QList<int> three{3, 5, 8};
        // Buttons 1 to 8 paint the row styles in pairs, background first; 13 and 12 the highlighted row.
        const QStringList styles{"normal", "selected", "evenRow", "oddRow"};
        for (int button : {1, 2, 3, 4, 5, 6, 7, 8, 13, 12}) {
            const QString colour = button % 2 == 1 ? "backColor" : "foreColor";
            const QString style = button > 8 ? "highlightRow" : styles[(button - 1) / 2];
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
    void settingsFontsAndColours() {
        QFETCH(int, index);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, changed);
        openSettings();
        select(settings->lsCols, selected);
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
        settings->cmd[std::size_t(index)]->click();
        QCOMPARE(live(), before);
        answer(true);
        settings->cmd[std::size_t(index)]->click();
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
    void settingsPreviewPaintsTheGrid() {
        openSettings();
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        const QRect cell = grid->visualRect(grid->dataModel().index(1, 2));
        const QPoint inside(cell.right() - 4, cell.center().y());
        fixture->prompts.answerColour(0x0000FF);
        settings->cmd[7]->click();
        fixture->prompts.answerColour(0x00FF00);
        settings->chk[frmGridLayout::AlternatingRows]->click();
        settings->cmd[1]->click();
        QCOMPARE(grid->viewport()->grab().toImage().pixelColor(inside), QColor(0, 0xFF, 0));
        settings->chk[frmGridLayout::AlternatingRows]->click();
        QCOMPARE(grid->viewport()->grab().toImage().pixelColor(inside), QColor(0xFF, 0, 0));
    }

    void settingsCaptionFollowsEveryKeystroke() {
        openSettings();
        settings->lsCols->setCurrentRow(2);
        QLineEdit* field = settings->tx[frmGridLayout::CaptionField];
        field->selectAll();
        QString typed;
        for (const QChar c : QStringLiteral("Was")) {
            QTest::keyClick(field, c.toLatin1());
            typed += c;
            QCOMPARE(live().columns[2].caption, typed);
            QCOMPARE(settings->lsCols->item(2)->text(), typed);
        }
        QVERIFY(settings->bar()->Dirty());
    }

    void settingsFormats_data() {
        // shown: the text of row 0; none when refused
        const auto row = ::columns<int, QString, QString>("column", "format", "shown");
        row("date pattern", 3, "d.M.yy", "5.3.26");
        row("time pattern", 4, "H.mm 'Uhr'", "8.00 Uhr");
        row("empty", 5, "", "05.03.2026");
        row("text ignores it", 2, "dd.MM.", "Talk");
        row("minutes in a date", 3, "dd.mm.yyyy", "");
        row("date format for a time", 4, "Short Date", "");
        row("run too long", 3, "yyyyy", "");
        row("unclosed quote", 6, "HH 'h", "");
        row("no date at all", 5, "Tag", "");
        row("tab", 3, "dd\tMM", "");
        row("1000 characters", 3, QString(1000, 'd'), "");
    }
    void settingsFormats() {
        QFETCH(int, column);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        openSettings();
        const QString before = live().columns[std::size_t(column)].numberFormat;
        const QString beforeText = grid->dataModel().text(0, column);
        settings->lsCols->setCurrentRow(column);
        const auto type = [&](const QString& text) {
            settings->tx[frmGridLayout::FormatField]->setText(text);
            settings->tx_Change(frmGridLayout::FormatField);
        };
        // A usable format typed on the way is shown, and goes again when the text cannot be used.
        type(column == 4 || column == 6 ? "HH" : "yyyy");
        type(format);
        QCOMPARE(settings->lblFormatProblem->text().isEmpty(), !shown.isEmpty());
        QCOMPARE(grid->dataModel().text(0, column), shown.isEmpty() ? beforeText : shown);
        if (!shown.isEmpty()) {
            QCOMPARE(live().columns[std::size_t(column)].numberFormat, format);
            return settings->bar()->click(ctrOSC::OkButton);
        }
        QCOMPARE(live().columns[std::size_t(column)].numberFormat, before);
        fixture->prompts.answerMessage(MessageResult::Ok);
        settings->bar()->click(ctrOSC::OkButton);
        QVERIFY(settings->isVisible());
        const auto& message = fixture->prompts.prompts().last();
        QVERIFY2(message.text.startsWith("The format \"") && message.text.contains("cannot be used: "),
                 qPrintable(message.text));
        QCOMPARE(message.flags, int(MessageFlags::Exclamation));
    }

    void settingsDroppedReloadTheFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("closed without the bar") << "destroy";
        QTest::newRow("cancel after accept") << "accepted";
        QTest::newRow("cancel, file unreadable") << "unreadable";
    }
    void settingsDroppedReloadTheFile() {
        QFETCH(QString, how);
        openSettings();
        const GridLayout opened = live();
        // A change the file does not know, made before the dialog opened: a reload drops it too.
        GridLayout earlier = live();
        earlier.columns[1].width = 333;
        grid->setGridLayout(earlier);
        reopenSettings();
        settings->opt[frmGridLayout::RowDividerFirst]->click();
        settings->chk[frmGridLayout::ColumnMoving]->click();
        if (how == "accepted") {
            settings->bar()->click(ctrOSC::AcceptButton);
            settings->opt[frmGridLayout::MarqueeFirst]->click();
        }
        if (how == "unreadable")
            writeBytes(userFile, fileBytes = "{ no layout");
        if (how == "destroy") {
            settings.reset();
        } else {
            fixture->prompts.answerMessage(MessageResult::Yes);
            settings->bar()->click(ctrOSC::CancelButton);
            QVERIFY(!settings->isVisible());
        }
        QCOMPARE(live(), how == "unreadable" ? earlier : opened);
    }

    // The list's menu opens the dialog over the list's grid; closing the list while it holds unsaved
    // changes keeps the layout without them.
    void settingsFromTheListsMenu() {
        openSettings();
        settings.reset();
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

    void columnRefusals_data() {
        const auto row =
            ::columns<QString, QList<int>, bool, QString>("command", "selected", "emptyLists", "message");
        const char* none = "No items are selected!";
        const char* one = "Please select one item!";
        const char* all = "All items are selected, unable to move one!";
        const char* unable = "Unable to move selected items!";
        row("up, nothing shown", "up", {}, true, none);
        row("up, none selected", "up", {}, false, one);
        row("up, all selected", "up", {0, 1, 2}, false, all);
        row("up, first selected", "up", {0, 2}, false, unable);
        row("down, all selected", "down", {0, 1, 2}, false, all);
        row("down, last selected", "down", {2}, false, unable);
        row("hide, nothing shown", "hide", {}, true, none);
        row("hide, none selected", "hide", {}, false, one);
        row("show, nothing hidden", "show", {}, true, "All colums are allready displayed!");
        row("show, none selected", "show", {}, false, one);
    }
    void columnRefusals() {
        QFETCH(QString, command);
        QFETCH(QList<int>, selected);
        QFETCH(bool, emptyLists);
        QFETCH(QString, message);
        openColumns();
        QListWidget* list = command == "show" ? columns->lstNot : columns->lstIs;
        if (emptyLists)
            list->clear();
        select(list, selected);
        const QStringList before = entries(columns->lstIs) + entries(columns->lstNot);
        QPushButton* button = command == "up"     ? columns->cmdUp
                              : command == "down" ? columns->cmdDown
                              : command == "hide" ? columns->cmdRemove
                                                  : columns->cmdSelect;
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(fixture->prompts.texts(), QStringList{message});
        QCOMPARE(fixture->prompts.prompts().first().flags, errorBox);
        QCOMPARE(entries(columns->lstIs) + entries(columns->lstNot), before);
        QVERIFY(!columns->changed());
    }

    // The lists show numbered captions in index order; blocks move, and only Accept reaches the grid.
    void columnsMoveAndAcceptReachesTheGrid() {
        openColumns();
        QCOMPARE(entries(columns->lstIs), (QStringList{"002) Ressource", "003) Titel", "004) Beginn Datum"}));
        QCOMPARE(columns->lstNot->count(), 9);
        QCOMPARE(columns->lstNot->item(0)->text(), QStringLiteral("001) Key"));
        QVERIFY(!columns->cmdSave->isEnabled());
        select(columns->lstIs, {1, 2});
        QTest::keyClick(columns->lstIs, Qt::Key_F5);
        QCOMPARE(entries(columns->lstIs), (QStringList{"003) Titel", "004) Beginn Datum", "002) Ressource"}));
        QVERIFY(columns->lstIs->item(0)->isSelected() && columns->lstIs->item(1)->isSelected());
        QVERIFY(columns->cmdSave->isEnabled());
        QCOMPARE(shown(), (std::vector<int>{1, 2, 3}));
        QTest::keyClick(columns->lstIs, Qt::Key_F6);
        QCOMPARE(entries(columns->lstIs), (QStringList{"002) Ressource", "003) Titel", "004) Beginn Datum"}));
        select(columns->lstIs, {0});
        columns->cmdDown_Click();
        select(columns->lstNot, {5});
        QTest::keyClick(columns->lstNot, Qt::Key_F3);
        QCOMPARE(columns->lstIs->item(3)->text(), QStringLiteral("009) Text"));
        QTest::mouseClick(columns->cmdSave, Qt::LeftButton);
        QCOMPARE(shown(), (std::vector<int>{2, 1, 3, 8}));
        QVERIFY(!columns->cmdSave->isEnabled());
        // Cancel after Accept keeps what was accepted.
        select(columns->lstIs, {0});
        columns->cmdRemove_Click();
        QTest::mouseClick(columns->cmdCancel, Qt::LeftButton);
        QCOMPARE(shown(), (std::vector<int>{2, 1, 3, 8}));
    }

    // Ctrl acts on all columns; typing a letter finds the next caption; accepting unmoved lists orders
    // by index.
    void columnsCtrlTypingAndIndexOrder() {
        openColumns();
        QTest::keyClick(columns->lstIs, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(columns->lstIs->count(), 0);
        QTest::mouseClick(columns->cmdOK, Qt::LeftButton);
        QVERIFY(shown().empty());
        columns->Init(*grid);
        columns->lstNot->setFocus();
        columns->lstNot->setCurrentRow(0);
        QTest::keyClick(columns->lstNot, Qt::Key_E);
        QCOMPARE(columns->lstNot->currentItem()->text(), QStringLiteral("006) Ende Datum"));
        QTest::keyClick(columns->lstNot, Qt::Key_E);
        QCOMPARE(columns->lstNot->currentItem()->text(), QStringLiteral("007) Ende Zeit"));
        QCOMPARE(columns->lstNot->selectedItems().size(), 1);
        QTest::mouseClick(columns->cmdSelect, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(columns->lstNot->count(), 0);
        QCOMPARE(entries(columns->lstIs).first(), QStringLiteral("001) Key"));
        // The flag served one click: the next show, without Ctrl, finds nothing to show.
        QTest::mouseClick(columns->cmdSelect, Qt::LeftButton);
        QCOMPARE(fixture->prompts.texts(), QStringList{"All colums are allready displayed!"});
        GridLayout layout = GridLayout::builtIn();
        layout.columns[3].displayPosition = 0;
        for (int i = 0; i < GridLayout::columnCount; ++i)
            layout.columns[std::size_t(i)].visible = i >= 1 && i <= 3;
        grid->setGridLayout(layout);
        QCOMPARE(shown(), (std::vector<int>{3, 1, 2}));
        columns->Init(*grid);
        columns->cmdSave_Click();
        QCOMPARE(shown(), (std::vector<int>{1, 2, 3}));
    }
};

QTEST_MAIN(TstGridLayout)
#include "tst_gridlayout.moc"
