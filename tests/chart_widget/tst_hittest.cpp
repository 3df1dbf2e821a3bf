#include "ChartFixture.h"

#include <QScrollBar>

Q_DECLARE_METATYPE(HitArea)

class HitTestTest : public QObject {
    Q_OBJECT
private slots:
    void areas_data();
    void areas();
    void edgeZoneShrinksWithTheBar_data();
    void edgeZoneShrinksWithTheBar();
    void afterScrollingInTime();
    void afterScrollingRows();
    void rowEdgesAndShownRows();
    void overlappingBarsPreferTheCurrent();
};

void HitTestTest::areas_data() {
    QTest::addColumn<int>("xMinutes"); // minutes after 06:00; negative: pixels into the heading
    QTest::addColumn<int>("row");      // 1-based; 0 above the rows (in the bands); 9 below them
    QTest::addColumn<HitArea>("area");
    QTest::addColumn<QString>("item");

    QTest::newRow("bar body") << 180 << 1 << HitArea::BarBody << "A";
    QTest::newRow("left edge") << 120 << 1 << HitArea::BarLeftEdge << "A";
    QTest::newRow("right end") << 239 << 1 << HitArea::BarRightEdge << "A";
    QTest::newRow("just before the bar") << 119 << 1 << HitArea::EmptyArea << "";
    QTest::newRow("just after the bar") << 241 << 1 << HitArea::EmptyArea << "";
    QTest::newRow("same time, other row") << 200 << 2 << HitArea::EmptyArea << "";
    QTest::newRow("empty row") << 180 << 3 << HitArea::EmptyArea << "";
    QTest::newRow("below the rows") << 180 << 9 << HitArea::EmptyArea << "";
    QTest::newRow("time band") << 180 << 0 << HitArea::TimeBand << "";
    QTest::newRow("heading") << -40 << 2 << HitArea::RowHeading << "";
    QTest::newRow("heading below the rows") << -40 << 9 << HitArea::Nothing << "";
}

void HitTestTest::areas() {
    QFETCH(int, xMinutes);
    QFETCH(int, row);
    QFETCH(HitArea, area);
    QFETCH(QString, item);
    ChartFixture f;
    const int x = xMinutes >= 0 ? f.chart->xAt(ChartFixture::at(6, xMinutes))
                                : f.chart->xAt(ChartFixture::at(6)) + xMinutes;
    const int y = row == 0 ? 5 : row == 9 ? f.chart->rowBottom(3) + 20 : f.middleOf(row);
    const ChartHit hit = f.chart->hitTest(QPoint(x, y));
    QCOMPARE(hit.area, area);
    QCOMPARE(hit.item ? hit.item->key() : QString(), item);
    QCOMPARE(hit.row, row >= 1 && row <= 3 ? row - 1 : -1);
    if (area == HitArea::EmptyArea || area == HitArea::TimeBand) {
        // A pixel spans 22.5 seconds here: the time lies in the pixel column that was hit.
        const TimePoint time = ChartFixture::at(6, xMinutes);
        QVERIFY(hit.time <= time && time < f.chart->timeAt(x + 1));
    }
}

void HitTestTest::edgeZoneShrinksWithTheBar_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("offset"); // pixels from the bar's left end
    QTest::addColumn<HitArea>("area");

    // "A" is 320 pixels wide: five pixels at each end stretch it.
    QTest::newRow("wide, first pixel") << "A" << 0 << HitArea::BarLeftEdge;
    QTest::newRow("wide, fifth pixel") << "A" << 4 << HitArea::BarLeftEdge;
    QTest::newRow("wide, sixth pixel") << "A" << 5 << HitArea::BarBody;
    QTest::newRow("wide, last but five") << "A" << 314 << HitArea::BarBody;
    QTest::newRow("wide, last but four") << "A" << 315 << HitArea::BarRightEdge;
    // "B" is 8 pixels wide: two at each end, four in the middle still move it.
    QTest::newRow("narrow, second pixel") << "B" << 1 << HitArea::BarLeftEdge;
    QTest::newRow("narrow, third pixel") << "B" << 2 << HitArea::BarBody;
    QTest::newRow("narrow, sixth pixel") << "B" << 5 << HitArea::BarBody;
    QTest::newRow("narrow, seventh pixel") << "B" << 6 << HitArea::BarRightEdge;
    QTest::newRow("narrow, past the end") << "B" << 8 << HitArea::EmptyArea;
    // "C" lasts a minute, less than three pixels: drawn three wide, one pixel for each purpose.
    QTest::newRow("tiny, left") << "C" << 0 << HitArea::BarLeftEdge;
    QTest::newRow("tiny, middle") << "C" << 1 << HitArea::BarBody;
    QTest::newRow("tiny, right") << "C" << 2 << HitArea::BarRightEdge;
    QTest::newRow("tiny, past the end") << "C" << 3 << HitArea::EmptyArea;
}

void HitTestTest::edgeZoneShrinksWithTheBar() {
    QFETCH(QString, key);
    QFETCH(int, offset);
    QFETCH(HitArea, area);
    ChartFixture f;
    const ChartItem* item = f.data.items().byKey(key);
    const int row = f.data.rows().byKey(item->rowKey())->position();
    const ChartHit hit = f.chart->hitTest(QPoint(f.chart->xAt(item->start()) + offset, f.middleOf(row)));
    QCOMPARE(hit.area, area);
    if (area != HitArea::EmptyArea)
        QCOMPARE(hit.item, item);
}

void HitTestTest::afterScrollingInTime() {
    ChartFixture f;
    const QPoint before = f.point(ChartFixture::at(9), 1);
    f.chart->scrollTo(ChartFixture::at(8, 30));
    QCOMPARE(f.chart->firstShownTime(), ChartFixture::at(8, 30));
    const QPoint after = f.point(ChartFixture::at(9), 1);
    QCOMPARE(before.x() - after.x(), 2.5 * 160);
    QCOMPARE(f.chart->hitTest(after).item, f.data.items().byKey("A"));
    QCOMPARE(f.chart->hitTest(after).area, HitArea::BarBody);
    // The bar's old place now shows what comes later.
    QCOMPARE(f.chart->hitTest(before).area, HitArea::EmptyArea);
    QCOMPARE(f.chart->hitTest(before).time, ChartFixture::at(11, 30));

    f.chart->scrollBy("h", -3);
    QCOMPARE(f.chart->firstShownTime(), ChartFixture::at(5, 30));
    QCOMPARE(f.chart->hitTest(f.point(ChartFixture::at(8, 1), 1)).item, f.data.items().byKey("A"));
}

void HitTestTest::afterScrollingRows() {
    ChartFixture f;
    for (int i = 4; i <= 40; ++i)
        f.data.rows().add(QStringLiteral("R%1").arg(i), QStringLiteral("Row %1").arg(i));
    f.data.items().add(QStringLiteral("Far"), QStringLiteral("R30"), ChartFixture::at(7), ChartFixture::at(8),
                       QStringLiteral("F"), QStringLiteral("Date"));
    f.chart->scrollToRow(25);
    QCOMPARE(f.chart->firstShownRow(), 25);
    QCOMPARE(f.chart->rowAt(QPoint(10, f.middleOf(30))), 30);
    const ChartHit hit = f.chart->hitTest(f.point(ChartFixture::at(7, 30), 30));
    QCOMPARE(hit.item, f.data.items().byKey("F"));
    QCOMPARE(hit.row, 29);
    QCOMPARE(f.chart->hitTest(QPoint(10, f.middleOf(26))).area, HitArea::RowHeading);
    QCOMPARE(f.chart->hitTest(QPoint(10, f.middleOf(26))).row, 25);
    // Rows scrolled out above are not under any point.
    QVERIFY(f.chart->rowTop(1) < 0);
}

void HitTestTest::rowEdgesAndShownRows() {
    ChartFixture f;
    f.data.rows().byKey("R2")->height = 35;
    f.data.redraw();
    QCOMPARE(f.chart->rowBottom(1) + 1, f.chart->rowTop(2));
    QCOMPARE(f.chart->rowBottom(2) - f.chart->rowTop(2) + 1, 35);
    QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowTop(2))), 2);
    QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowBottom(2))), 2);
    QCOMPARE(f.chart->rowAt(QPoint(500, f.chart->rowBottom(3) + 1)), 0);
    QCOMPARE(f.chart->hitTest(QPoint(10, f.chart->rowBottom(2))).area, HitArea::RowDivider);
    QCOMPARE(f.chart->hitTest(QPoint(10, f.chart->rowBottom(2) - 3)).area, HitArea::RowHeading);
    QCOMPARE(f.chart->firstShownRow(), 1);
    QCOMPARE(f.chart->lastShownRow(), 3);
}

void HitTestTest::overlappingBarsPreferTheCurrent() {
    ChartFixture f;
    f.data.items().add(QStringLiteral("Over"), QStringLiteral("R1"), ChartFixture::at(9),
                       ChartFixture::at(12), QStringLiteral("O"), QStringLiteral("Date"));
    const QPoint both = f.point(ChartFixture::at(9, 30), 1);
    // The later bar is painted over the earlier one, and is hit.
    QCOMPARE(f.chart->hitTest(both).item, f.data.items().byKey("O"));
    f.chart->setCurrentItem("A");
    QCOMPARE(f.chart->hitTest(both).item, f.data.items().byKey("A"));
}

QTEST_MAIN(HitTestTest)
#include "tst_hittest.moc"
