#include "app/clsProgessbar.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/frmProgressbar.h"

#include <QElapsedTimer>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};
} // namespace

class tst_progress : public QObject {
    Q_OBJECT
    QtPrompts m_prompts;

private slots:
    void init() { setPrompts(&m_prompts); }
    void cleanup() { setPrompts(nullptr); }

    void scale_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("barMax");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("valueAtMax"); // what the bar shows after SetValue(max / 2), SetValue(max)
        QTest::newRow("below 1000") << 999 << 999 << 1 << 999;
        QTest::newRow("1000") << 1000 << 1000 << 1 << 1000;
        // 2500 \ 2 = 1250 lies beyond the bar, which keeps its last value 1250 \ 2.
        QTest::newRow("2500") << 2500 << 1000 << 2 << 625;
    }

    void scale() {
        QFETCH(int, max);
        QFETCH(int, barMax);
        QFETCH(int, scale);
        QFETCH(int, valueAtMax);
        clsProgessbar progress;
        auto* window = dynamic_cast<frmProgressbar*>(&progress.view());
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        progress.Caption("Reading items");
        QCOMPARE(window->windowTitle(), QString("Reading items"));
        progress.Max(max);
        QCOMPARE(window->ProgressBar->maximum(), barMax);
        QCOMPARE(progress.scale(), scale);
        QVERIFY(progress.SetValue(max / 2));
        QVERIFY(progress.SetValue(max));
        QCOMPARE(window->ProgressBar->value(), valueAtMax);
    }

    // A long loop sets every value; the screen follows at most every 50 ms, the last value shows.
    void throttledToTheScreen() {
        clsProgessbar progress;
        auto* window = dynamic_cast<frmProgressbar*>(&progress.view());
        constexpr int steps = 200000;
        progress.Max(steps);
        QCoreApplication::processEvents();
        // The first change and the last value show at once, the others wait for their turn.
        PaintCounter paints(window->ProgressBar);
        QElapsedTimer clock;
        clock.start();
        for (int value = 0; value <= steps; ++value)
            QVERIFY(progress.SetValue(value));
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(window->ProgressBar->value(), 1000);
        QVERIFY2(paints.count <= elapsed / frmProgressbar::updateIntervalMs + 2,
                 qPrintable(QString("%1 paints in %2 ms").arg(paints.count).arg(elapsed)));
    }

    // A click on Cancel waits for the next update of the screen, then ends the loop.
    void cancelSeenBetweenUpdates() {
        clsProgessbar progress;
        auto* window = dynamic_cast<frmProgressbar*>(&progress.view());
        progress.Max(1000000);
        QVERIFY(progress.SetValue(0));
        QTimer::singleShot(0, window->cmdCancel, &QPushButton::click);
        QElapsedTimer clock;
        clock.start();
        int value = 1;
        while (progress.SetValue(value) && clock.elapsed() < 10000)
            ++value;
        QVERIFY(window->cancelled());
        QVERIFY(value > 1);
        QVERIFY(!progress.SetValue(value + 1));
    }

    void noCancel() {
        clsProgessbar progress;
        auto* window = dynamic_cast<frmProgressbar*>(&progress.view());
        const int before = window->ProgressBar->width();
        progress.NoCancel();
        QVERIFY(window->cmdCancel->isHidden());
        QVERIFY(window->ProgressBar->width() > before);
        const QRect inner = window->layout()->contentsRect();
        QCOMPARE(window->ProgressBar->geometry().left(), inner.left());
        QCOMPARE(window->ProgressBar->width(), inner.width());
        // With no Cancel offered, closing the window cancels nothing.
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(progress.SetValue(1));
    }
};

QTEST_MAIN(tst_progress)
#include "tst_progress.moc"
