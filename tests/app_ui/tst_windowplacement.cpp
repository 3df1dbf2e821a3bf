#include "app/ui/WindowPlacement.h"

#include <QTest>
#include <QWidget>

class tst_windowplacement : public QObject {
    Q_OBJECT
private slots:
    void onScreen_data() {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRect>("placed");
        const QRect left(0, 0, 1280, 1024);
        const QRect right(1280, 0, 1920, 1080);
        QTest::newRow("inside stays") << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
        QTest::newRow("beyond the right edge") << QRect(3000, 100, 400, 300) << QRect(2800, 100, 400, 300);
        QTest::newRow("above the top") << QRect(100, -50, 400, 300) << QRect(100, 0, 400, 300);
        QTest::newRow("on no screen goes to the first")
            << QRect(-5000, -5000, 400, 300) << QRect(0, 0, 400, 300);
        QTest::newRow("larger than its screen shrinks") << QRect(1300, 10, 2500, 1500) << right;
        QTest::newRow("across two screens: the one it overlaps most")
            << QRect(1200, 100, 400, 300) << QRect(1280, 100, 400, 300);
    }

    void onScreen() {
        QFETCH(QRect, rect);
        const QList<QRect> areas{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
        QTEST(WindowPlacement::onScreen(rect, areas), "placed");
    }

    // Opened, moved, closed and opened again, a window comes back exactly where it was.
    void reopenedWhereItWasClosed() {
        WindowLayout layout;
        QPoint first;
        for (int round = 0; round < 3; ++round) {
            QWidget window;
            window.resize(300, 200);
            if (round > 0)
                QVERIFY(WindowPlacement::apply(window, layout, true));
            else
                window.move(120, 90);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            if (round == 0)
                first = window.geometry().topLeft();
            QCOMPARE(window.geometry().topLeft(), first);
            layout = WindowPlacement::capture(window);
        }
    }
};

QTEST_MAIN(tst_windowplacement)
#include "tst_windowplacement.moc"
