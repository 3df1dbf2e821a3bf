#include "../app/DataTable.h"
#include "../board/BoardFixture.h"
#include "FileBytes.h"
#include "FullDisk.h"
#include "app/AppError.h"
#include "app/bsFileUtil.h"
#include "app/clsIniFile.h"
#include "board/DesktopIntegration.h"
#include "views/GridExport.h"
#include "views/GridLayoutFile.h"

#include <QDir>

namespace {
const QDate monday(2026, 3, 2);

QStringList temporaries(const QString& folder) {
    return QDir(folder).entryList({"*.tmp-*", "*.part"}, QDir::Files | QDir::Hidden);
}

template <typename Write> bool refused(Write write) {
    try {
        write();
    } catch (const AppError&) {
        return true;
    }
    return false;
}
} // namespace

// Every file the planner writes, on a file system that is full: the write is refused and reported,
// the old file keeps every byte, no temporary file stays behind, and the same write succeeds once
// there is room again.
class TstFullDisk : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardFixture> fixture;
    std::unique_ptr<FullDisk> disk;

    [[nodiscard]] QString documents() const { return fixture->path("Documents"); }

    template <typename Write> auto whileFull(Write write) {
        disk->fill();
        const auto result = write();
        disk->free();
        return result;
    }

    QString openPlan() {
        return fixture->openPlan({"Room"},
                                 {{"A", "R1", BoardFixture::at(monday, 8), BoardFixture::at(monday, 9)}}, 0,
                                 "Documents/plan.qtf");
    }

private slots:
    void initTestCase() { pinLocale(); }

    void initTestCase_data() {
        const auto row = columns<int>("kind");
        row("full tmpfs", int(FullDisk::Kind::Tmpfs));
        row("file size limit", int(FullDisk::Kind::SizeLimit));
    }

    void init() {
        QFETCH_GLOBAL(int, kind);
        fixture = std::make_unique<BoardFixture>();
        disk = std::make_unique<FullDisk>(documents(), FullDisk::Kind(kind));
        if (!disk->available())
            QSKIP("no tmpfs can be mounted here (root only); the file size limit rows stand in");
    }

    void cleanup() {
        disk.reset();
        fixture.reset();
    }

    void profileWrite() {
        clsIniFile& profile = *globals().profile;
        for (int i = 0; i < 20; ++i)
            QVERIFY(profile.WriteProfileString("RECENT", QString("FILE%1").arg(i), "/home/user/plan.qtf"));
        const QByteArray before = readBytes(profile.filename());
        QVERIFY(!whileFull(
            [&] { return profile.WriteProfileString("RECENT", "FILE1", "/home/user/other.qtf"); }));
        QVERIFY(!whileFull([&] { return profile.DeleteProfileSection("RECENT"); }));
        QCOMPARE(fixture->prompts.texts(), QStringList(2, "Error recreating file: " + profile.filename()));
        QCOMPARE(readBytes(profile.filename()), before);
        QCOMPARE(temporaries(documents()), QStringList());
        QVERIFY(profile.WriteProfileString("RECENT", "FILE1", "/home/user/other.qtf"));
        QCOMPARE(profile.ReadProfileString("RECENT", "FILE1", ""), QString("/home/user/other.qtf"));
    }

    void timetableSave() {
        const QString plan = openPlan();
        fixture->chart().items().remove("A");
        fixture->board->setDirty(true);
        QVERIFY(fixture->board->DoSave(false));
        const QByteArray saved = readBytes(plan);
        const QByteArray backup = readBytes(plan + ".BAK");
        fixture->chart().items().add("B", "R1", BoardFixture::at(monday, 10), BoardFixture::at(monday, 11),
                                     "B", "Date");
        fixture->board->setDirty(true);
        fixture->prompts.clear();
        QVERIFY(!whileFull([&] { return fixture->board->DoSave(false); }));
        QCOMPARE(fixture->prompts.prompts().size(), 1);
        QVERIFY2(fixture->prompts.texts().first().contains("could not be saved"),
                 qPrintable(fixture->prompts.texts().first()));
        QVERIFY(fixture->board->Dirty());
        QCOMPARE(readBytes(plan), saved);
        QCOMPARE(readBytes(plan + ".BAK"), backup);
        QCOMPARE(temporaries(documents()), QStringList());
        QVERIFY(!IsReadOnly());
        QVERIFY(fixture->board->DoSave(false));
        QCOMPARE(BoardFixture::itemCountOf(plan), 1);
    }

    void gridLayoutAndExport() {
        openPlan();
        const QString layouts = documents() + "/QUNTAGRDE.LAY";
        const QString exported = documents() + "/items.csv";
        const GridLayout layout = GridLayout::builtIn();
        const GridExport exporter(fixture->items(), layout);
        GridLayoutFile::write(layouts, "First", layout);
        exporter.writeFile(exported, GridExport::allRows(fixture->items().Count()), "Items");
        const QByteArray layoutsBefore = readBytes(layouts);
        const QByteArray exportedBefore = readBytes(exported);
        const QStringList before = QDir(documents()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(
            whileFull([&] { return refused([&] { GridLayoutFile::write(layouts, "Second", layout); }); }));
        QVERIFY(whileFull([&] { return refused([&] { exporter.writeFile(exported, {0}, "Items"); }); }));
        QCOMPARE(readBytes(layouts), layoutsBefore);
        QCOMPARE(readBytes(exported), exportedBefore);
        QCOMPARE(QDir(documents()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void desktopFiles() {
        DesktopIntegration::Places places{"/opt/old/qunta", documents() + "/share", QString()};
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        const QString entry = places.dataHome + "/applications/" + DesktopIntegration::entryName;
        const QByteArray before = readBytes(entry);
        places.program = "/opt/new/qunta";
        QVERIFY(!whileFull([&] { return DesktopIntegration::RegisterFileType(places); }));
        QCOMPARE(readBytes(entry), before);
        QCOMPARE(temporaries(places.dataHome + "/applications"), QStringList());
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        QVERIFY(readBytes(entry).contains("/opt/new/qunta"));
    }
};

QTEST_MAIN(TstFullDisk)
#include "tst_fulldisk.moc"
