#include "app/clsProgessbar.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/frmProgressbar.h"

#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

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

    void cancel() {
        clsProgessbar progress;
        auto* window = dynamic_cast<frmProgressbar*>(&progress.view());
        progress.Max(10);
        QVERIFY(progress.SetValue(1));
        window->cmdCancel->click();
        QVERIFY(!progress.SetValue(2));
        QCOMPARE(window->ProgressBar->value(), 2);
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
