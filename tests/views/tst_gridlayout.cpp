#include "FileBytes.h"
#include "ListviewFixture.h"
#include "app/MessageFlags.h"
#include "views/GridLayoutFile.h"
#include "views/ItemGrid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <memory>

namespace {
constexpr int errorBox = MessageFlags::OkOnly | MessageFlags::Critical;
const QString missingText = QStringLiteral("Layout file is missing! Please reinstall this software!");
const QString failedText = QStringLiteral("Default layout failed loading. Please contact the help desk!");

// A layout file holding one layout, whose column 2 is captioned as given.
QByteArray layoutFile(const QString& name, const QString& caption, int version = GridLayoutFile::version) {
    GridLayout layout = GridLayout::builtIn();
    layout.columns[2].caption = caption;
    layout.columns[10].caption = QStringLiteral("Kunde");
    const QJsonObject root{{"format", "qunta-grid-layouts"},
                           {"version", version},
                           {"layouts", QJsonObject{{name, GridLayoutFile::toJson(layout)}}}};
    return QJsonDocument(root).toJson();
}

} // namespace

// Where the list's layout comes from and where it goes: the user's file, the default beside the
// program, the built-in columns, and every way these files can be wrong.
class TstGridLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<ListviewFixture> fixture;
    std::unique_ptr<ItemGrid> grid;
    QString userFile;
    QString programFolder;

    void useProgramFolderWith(const QByteArray& defaultFile) {
        programFolder = fixture->home.filePath("program");
        QDir().mkpath(programFolder);
        bsGridSupport::setDefaultLayoutFolder(programFolder);
        if (!defaultFile.isNull())
            writeBytes(programFolder + "/QUNTAGRDE.LAY", defaultFile);
    }
    [[nodiscard]] QString caption(int column) const {
        return grid->gridLayout().columns[std::size_t(column)].caption;
    }

private slots:
    void init() {
        fixture = std::make_unique<ListviewFixture>();
        grid = std::make_unique<ItemGrid>(fixture->items);
        userFile = fixture->documents() + "/QUNTAGRDE.LAY";
        QCOMPARE(bsGridSupport::UserLayoutFile(), userFile);
    }
    void cleanup() {
        grid.reset();
        fixture.reset();
    }

    void everyFieldSurvivesTheFile() {
        const GridLayout layout = everyFieldChanged();
        GridLayoutFile::write(userFile, "Listview", layout);
        GridLayout expected = layout;
        expected.normalise();
        QCOMPARE(GridLayoutFile::read(userFile, "Listview"), expected);
        grid->setGridLayout(layout);
        QCOMPARE(grid->gridLayout(), expected);
        QVERIFY(grid->horizontalHeader()->sectionsMovable() == false);
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
        QTest::newRow("layout not an object")
            << QByteArray(R"({"format":"qunta-grid-layouts","version":1,"layouts":{"Listview":7}})");
    }
    void unusableUserFilesFallBackToTheDefault() {
        QFETCH(QByteArray, content);
        useProgramFolderWith(layoutFile("Listview", "From default"));
        if (!content.isNull())
            writeBytes(userFile, content);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QCOMPARE(caption(2), QStringLiteral("From default"));
        QCOMPARE(caption(10), QStringLiteral("Reserved"));
        QCOMPARE(grid->layoutFileName(), programFolder + "/QUNTAGRDE.LAY");
        QVERIFY(fixture->prompts.prompts().isEmpty());
        QCOMPARE(readBytes(userFile), content.isNull() ? QByteArray("<missing>") : content);
    }

    void withoutAUsableDefaultTheBuiltInColumnsStay_data() {
        QTest::addColumn<QByteArray>("defaultFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << missingText;
        QTest::newRow("damaged") << QByteArray("{\"format\"") << failedText;
    }
    void withoutAUsableDefaultTheBuiltInColumnsStay() {
        QFETCH(QByteArray, defaultFile);
        QFETCH(QString, message);
        useProgramFolderWith(defaultFile);
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QCOMPARE(fixture->prompts.texts(), QStringList{message});
        QCOMPARE(fixture->prompts.prompts().first().flags, errorBox);
        QCOMPARE(caption(1), QStringLiteral("Ressource"));
        QCOMPARE(caption(9), QStringLiteral("Reserved"));
        QCOMPARE(caption(11), QStringLiteral("Reserved"));
    }

    void outOfRangeValuesAreMended() {
        QJsonObject layout = GridLayoutFile::toJson(GridLayout::builtIn());
        QJsonArray columns = layout["columns"].toArray();
        QJsonObject first = columns[1].toObject();
        first["width"] = -40;
        first["caption"] = "Resource";
        columns[1] = first;
        QJsonObject second = columns[2].toObject();
        second["width"] = 1e12;
        second["font"] = QJsonObject{{"size", 5000}};
        columns[2] = second;
        QJsonObject third = columns[3].toObject();
        third["numberFormat"] = "dd.mm.yyyy"; // minutes, which a date has not
        columns[3] = third;
        columns.append(QJsonObject{{"index", 12}, {"caption", "Nowhere"}});
        columns.append(QJsonObject{{"index", -1}, {"width", 5}});
        columns.append(QJsonObject{{"index", "3"}, {"visible", false}});
        layout["columns"] = columns;
        QJsonObject options = layout["options"].toObject();
        options["marqueeStyle"] = 9;
        options["rowHeight"] = -3;
        options["alternatingRowStyle"] = "yes";
        layout["options"] = options;
        writeBytes(userFile, QJsonDocument(QJsonObject{{"format", "qunta-grid-layouts"},
                                                       {"version", 1},
                                                       {"layouts", QJsonObject{{"Listview", layout}}}})
                                 .toJson());
        bsGridSupport::LoadGridLayout(*grid, "Listview");
        QVERIFY(fixture->prompts.prompts().isEmpty());
        const GridLayout& loaded = grid->gridLayout();
        QCOMPARE(loaded.columns[1].caption, QStringLiteral("Resource"));
        QCOMPARE(loaded.columns[1].width, GridLayout::minColumnWidth);
        QCOMPARE(loaded.columns[2].width, GridLayout::maxColumnWidth);
        QCOMPARE(loaded.columns[2].font.size, FontDescription().size);
        QVERIFY(loaded.columns[3].visible);
        QCOMPARE(loaded.columns[3].numberFormat, QStringLiteral("Short Date"));
        QCOMPARE(loaded.options.marqueeStyle, GridOptions().marqueeStyle);
        QCOMPARE(loaded.options.rowHeight, 0);
        QCOMPARE(loaded.options.alternatingRowStyle, false);
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
        QVERIFY(QDir(fixture->documents()).entryList(QDir::Files).size() == 2);
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
};

QTEST_MAIN(TstGridLayout)
#include "tst_gridlayout.moc"
