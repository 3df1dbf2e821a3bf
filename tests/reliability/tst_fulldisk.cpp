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
#include <functional>

namespace {
const QDate monday(2026, 3, 2);

QStringList temporaries(const QString& folder) {
    return QDir(folder).entryList({"*.tmp-*", "*.part"}, QDir::Files | QDir::Hidden);
}

void addKindRows() {
    QTest::addColumn<int>("kind");
    QTest::newRow("full tmpfs") << int(FullDisk::Kind::Tmpfs);
    QTest::newRow("file size limit") << int(FullDisk::Kind::SizeLimit);
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

private slots:
    void initTestCase() { pinLocale(); }

    void init() {
        fixture = std::make_unique<BoardFixture>();
        QFETCH(int, kind);
        disk = std::make_unique<FullDisk>(documents(), FullDisk::Kind(kind));
        if (!disk->available())
            QSKIP("no tmpfs can be mounted here (root only); the file size limit rows stand in");
    }

    void cleanup() {
        disk.reset();
        fixture.reset();
    }

    void profileWrite_data() { addKindRows(); }

    void profileWrite() {
        clsIniFile& profile = *globals().profile;
        for (int i = 0; i < 20; ++i)
            QVERIFY(profile.WriteProfileString("RECENT", QString("FILE%1").arg(i), "/home/user/plan.qtf"));
        const QByteArray before = readBytes(profile.filename());

        disk->fill();
        const bool written = profile.WriteProfileString("RECENT", "FILE1", "/home/user/other.qtf");
        const bool deleted = profile.DeleteProfileSection("RECENT");
        disk->free();

        QVERIFY(!written);
        QVERIFY(!deleted);
        QCOMPARE(fixture->prompts.texts(), QStringList(2, "Error recreating file: " + profile.filename()));
        QCOMPARE(readBytes(profile.filename()), before);
        QCOMPARE(temporaries(documents()), QStringList());
        QVERIFY(profile.WriteProfileString("RECENT", "FILE1", "/home/user/other.qtf"));
        QCOMPARE(profile.ReadProfileString("RECENT", "FILE1", ""), QString("/home/user/other.qtf"));
    }

    void timetableSave_data() { addKindRows(); }

    void timetableSave() {
        const QString plan = fixture->openPlan(
            {"Room"}, {{"A", "R1", BoardFixture::at(monday, 8), BoardFixture::at(monday, 9)}}, 0,
            "Documents/plan.qtf");
        fixture->chart().items().remove("A");
        fixture->board->setDirty(true);
        QVERIFY(fixture->board->DoSave(false));
        const QByteArray saved = readBytes(plan);
        const QByteArray backup = readBytes(plan + ".BAK");
        fixture->chart().items().add("B", "R1", BoardFixture::at(monday, 10), BoardFixture::at(monday, 11),
                                     "B", "Date");
        fixture->board->setDirty(true);
        fixture->prompts.clear();

        disk->fill();
        const bool ok = fixture->board->DoSave(false);
        disk->free();

        QVERIFY(!ok);
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

    void gridLayoutAndExport_data() { addKindRows(); }

    void gridLayoutAndExport() {
        fixture->openPlan({"Room"}, {{"A", "R1", BoardFixture::at(monday, 8), BoardFixture::at(monday, 9)}},
                          0, "Documents/plan.qtf");
        const QString layouts = documents() + "/QUNTAGRDE.LAY";
        const QString exported = documents() + "/items.csv";
        const GridLayout layout = GridLayout::builtIn();
        const GridExport exporter(fixture->items(), layout);
        GridLayoutFile::write(layouts, "First", layout);
        exporter.writeFile(exported, GridExport::allRows(fixture->items().Count()), "Items");
        const QByteArray layoutsBefore = readBytes(layouts);
        const QByteArray exportedBefore = readBytes(exported);
        const QStringList before = QDir(documents()).entryList(QDir::Files | QDir::Hidden);

        disk->fill();
        const auto refused = [](const std::function<void()>& write) {
            try {
                write();
            } catch (const AppError&) {
                return true;
            }
            return false;
        };
        const bool layoutRefused = refused([&] { GridLayoutFile::write(layouts, "Second", layout); });
        const bool exportRefused = refused([&] { exporter.writeFile(exported, {0}, "Items"); });
        disk->free();

        QVERIFY(layoutRefused);
        QVERIFY(exportRefused);
        QCOMPARE(readBytes(layouts), layoutsBefore);
        QCOMPARE(readBytes(exported), exportedBefore);
        QCOMPARE(QDir(documents()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void desktopFiles_data() { addKindRows(); }

    void desktopFiles() {
        DesktopIntegration::Places places{"/opt/old/qunta", documents() + "/share", QString()};
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        const QString entry = places.dataHome + "/applications/" + DesktopIntegration::entryName;
        const QByteArray before = readBytes(entry);

        places.program = "/opt/new/qunta";
        disk->fill();
        const bool ok = DesktopIntegration::RegisterFileType(places);
        disk->free();

        QVERIFY(!ok);
        QCOMPARE(readBytes(entry), before);
        QCOMPARE(temporaries(places.dataHome + "/applications"), QStringList());
        QVERIFY(DesktopIntegration::RegisterFileType(places));
        QVERIFY(readBytes(entry).contains("/opt/new/qunta"));
    }
};

QTEST_MAIN(TstFullDisk)
#include "tst_fulldisk.moc"
