#include "app/ui/WindowPlacement.h"

#include <QTest>

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
};

QTEST_MAIN(tst_windowplacement)
#include "tst_windowplacement.moc"
