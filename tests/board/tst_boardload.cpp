#include "BoardFixture.h"
#include "FileBytes.h"
#include "SqlScript.h"
#include "app/MessageFlags.h"
#include "board/BoardMenus.h"
#include "board/TimetableHistory.h"

#include <QLabel>
#include <QMenu>

// A timetable loaded in the background: first screen, waiting edits, and a load that meets a close,
// another file or a damaged item.
namespace {
constexpr int bookings = 3000;

// Bookings on every row for a fortnight around today, so that the board opens on a full screen.
QList<BoardFixture::Booking> fortnight(int count, int rows) {
    QList<BoardFixture::Booking> list;
    const QDate first = QDate::currentDate().addDays(-7);
    for (int n = 0; n < count; ++n) {
        const QDate day = first.addDays(n / rows % 14);
        const int hour = 6 + n / (rows * 14) % 16;
        list.append({QStringLiteral("B%1").arg(n), QStringLiteral("R%1").arg(n % rows + 1),
                     BoardFixture::at(day, hour), BoardFixture::at(day, hour, 45)});
    }
    return list;
}

QStringList captions(int rows) {
    QStringList list;
    for (int r = 0; r < rows; ++r)
        list << QStringLiteral("Resource %1").arg(r + 1);
    return list;
}

// A timetable large enough for the background, written beside the fixture's files.
QString writeLarge(BoardFixture& fixture) {
    const QString plan = fixture.path("large.qtf");
    BoardFixture::writeTimetable(plan, captions(20), fortnight(bookings, 20));
    fixture.board->setBackgroundLoadFrom(1);
    return plan;
}

// Lengthens the one item of the fixture's plan by an hour, as a step of the history.
TimePoint lengthenFirstItem(BoardFixture& fixture) {
    ChartItem& item = *fixture.chart().items().byPosition(1);
    const TimePoint end = item.end();
    item.setEnd(end.addSeconds(3600));
    fixture.board->history().record();
    return end;
}
} // namespace

class TstBoardLoad : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void firstScreenThenEverything() {
        BoardFixture fixture;
        fixture.showBoard();
        fixture.activate();
        const QString plan = writeLarge(fixture);
        const QByteArray saved = readBytes(plan);

        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        const int firstScreen = fixture.itemCount();
        QVERIFY2(firstScreen > 0 && firstScreen < bookings, qPrintable(QString::number(firstScreen)));
        QCOMPARE(fixture.chart().rows().count(), 20);
        QVERIFY(fixture.board->statusPanel(3)->text().startsWith("Loading "));
        // Nothing can change the timetable, nor can half of it be saved.
        QVERIFY(!fixture.board->menus()->mEdit->menuAction()->isEnabled());
        QVERIFY(!fixture.chart().settings().allowEdit);
        QVERIFY(!fixture.board->SetDirty());
        QVERIFY(!fixture.board->DoSave(false));
        QCOMPARE(readBytes(plan), saved);

        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.itemCount(), bookings);
        QCOMPARE(fixture.items().Count(), bookings);
        QCOMPARE(fixture.board->fileName(), plan);
        QCOMPARE(fixture.board->statusPanel(3)->text().trimmed(), plan);
        QVERIFY(fixture.board->menus()->mEdit->menuAction()->isEnabled());
        QVERIFY(fixture.chart().settings().allowEdit);
        QVERIFY(!writable(plan));
        QVERIFY(fixture.prompts.prompts().isEmpty());
    }

    // Undo and redo wait for the whole timetable; the loaded one starts a history of its own.
    void historyWaitsForTheLoad() {
        BoardFixture fixture;
        fixture.showBoard();
        fixture.openPlan();
        lengthenFirstItem(fixture);
        QVERIFY(fixture.board->menus()->mUndoStep->isEnabled());
        const QString plan = writeLarge(fixture);

        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        QVERIFY(!fixture.board->menus()->mUndoStep->isEnabled());
        QVERIFY(!fixture.board->menus()->toolButton(QStringLiteral("undostep"))->isEnabled());
        const int firstScreen = fixture.itemCount();
        fixture.board->UndoStep();
        fixture.board->history().record();
        QCOMPARE(fixture.itemCount(), firstScreen);

        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.itemCount(), bookings);
        QCOMPARE(fixture.board->history().count(), 0);
        QVERIFY(!fixture.board->menus()->mUndoStep->isEnabled());
        QVERIFY(!fixture.board->isWindowModified());
        lengthenFirstItem(fixture);
        QVERIFY(fixture.board->history().canUndo());
    }

    // A close, or a logout that allows no questions: the timetable from before the load is what the
    // board held at the end, and what the recovery copy holds of its unsaved changes.
    void endedDuringTheLoad_data() {
        QTest::addColumn<bool>("withoutQuestions");
        QTest::newRow("closed") << false;
        QTest::newRow("ended without questions") << true;
    }

    void endedDuringTheLoad() {
        QFETCH(bool, withoutQuestions);
        BoardFixture fixture;
        fixture.showBoard();
        const QString first = fixture.openPlan();
        const QString plan = writeLarge(fixture);
        fixture.board->setDirty(withoutQuestions);

        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        if (withoutQuestions) {
            QCOMPARE(BoardFixture::itemCountOf(fixture.board->EndWithoutQuestions()), 1);
        } else {
            fixture.board->Unload();
            QCOMPARE(fixture.itemCount(), 1);
            QCOMPARE(fixture.board->fileName(), first);
        }
        QVERIFY(!fixture.board->loading());
        QVERIFY(writable(plan));
        QVERIFY(writable(first));
    }

    void anotherFileDuringTheLoad() {
        BoardFixture fixture;
        fixture.showBoard();
        fixture.activate();
        const QString large = writeLarge(fixture);
        const QString other = fixture.path("other.qtf");
        BoardFixture::writeTimetable(other, captions(3), fortnight(40, 3));

        fixture.board->Loadfile(large);
        fixture.board->Loadfile(other);
        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.board->fileName(), other);
        QCOMPARE(fixture.chart().rows().count(), 3);
        QCOMPARE(fixture.itemCount(), 40);
        QCOMPARE(fixture.items().Count(), 40);
        QVERIFY(writable(large));
        QVERIFY(!writable(other));
    }

    // A fault far into the file shows only after the first screen: the open timetable comes back.
    void damagedItemAfterTheFirstScreen() {
        BoardFixture fixture;
        fixture.showBoard();
        const QString first = fixture.openPlan();
        const TimePoint end = lengthenFirstItem(fixture);
        const QString plan = writeLarge(fixture);
        execute(plan, QByteArray("UPDATE items SET movement_lock = 9 WHERE position = " +
                                 QByteArray::number(bookings - 5))
                          .constData());
        fixture.prompts.clear();

        fixture.board->Loadfile(plan);
        QVERIFY(fixture.board->loading());
        QTRY_VERIFY(!fixture.board->loading());
        QCOMPARE(fixture.prompts.prompts().size(), 1);
        QVERIFY(fixture.prompts.texts().first().contains("is damaged: the movement lock 9"));
        QVERIFY(fixture.prompts.texts().first().contains("(Sub:Main:Loadfile)"));
        QCOMPARE(fixture.board->fileName(), first);
        QCOMPARE(fixture.itemCount(), 1);
        QCOMPARE(fixture.items().Count(), 1);
        QVERIFY(fixture.chart().settings().allowEdit);
        QVERIFY(!writable(first));
        QVERIFY(writable(plan));
        // The timetable came back with its history.
        fixture.board->UndoStep();
        QCOMPARE(fixture.chart().items().byPosition(1)->end(), end);
    }
};

QTEST_MAIN(TstBoardLoad)
#include "tst_boardload.moc"
