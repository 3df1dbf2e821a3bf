#pragma once

#include "chart/GanttData.h"
#include "chart/widget/GanttChart.h"

#include <QTest>
#include <memory>

// A chart of three rows on Monday 4 March 2024 at scale 8 (15 minutes, 40 pixels): one hour is 160
// pixels. Item "A" on row 1 from 08:00 to 10:00, "B" on row 2 from 09:00 to 09:03 (8 pixels), "C" on
// row 1 from 11:00 to 11:01 (drawn at the narrowest bar width).
struct ChartFixture {
    static TimePoint at(int hour, int minute = 0) {
        return TimePoint::fromDateTime(QDate(2024, 3, 4), QTime(0, 0)).addSeconds(hour * 3600 + minute * 60);
    }

    ChartFixture() {
        ChartSettings& s = data.settings();
        s.scale = 8;
        s.gridInterval = QStringLiteral("15n");
        s.snapToGrid = true;
        s.detectConflicts = true;
        s.showTimeline = false;
        s.firstShownTime = at(6);
        s.defaultItemStyle = QStringLiteral("Date");
        ChartStyle& date = data.styles().add(QStringLiteral("Date"));
        date.backColor = 0x0000FF; // red
        date.clipCaption = true;
        data.styles().add(QStringLiteral("Resources")).kind = ChartStyle::RowKind;
        for (const char* key : {"R1", "R2", "R3"})
            data.rows().add(QString::fromLatin1(key), QStringLiteral("Row ") + key,
                            QStringLiteral("Resources"));
        data.items().add(QStringLiteral("Alpha"), QStringLiteral("R1"), at(8), at(10), QStringLiteral("A"),
                         QStringLiteral("Date"));
        data.items().add(QStringLiteral("Beta"), QStringLiteral("R2"), at(9), at(9, 3), QStringLiteral("B"),
                         QStringLiteral("Date"));
        data.items().add(QString(), QStringLiteral("R1"), at(11), at(11, 1), QStringLiteral("C"),
                         QStringLiteral("Date"));
        chart = std::make_unique<GanttChart>(data);
        chart->resize(1600, 300);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    }

    [[nodiscard]] QWidget* viewport() const { return chart->viewport(); }
    [[nodiscard]] int middleOf(int row) const { return (chart->rowTop(row) + chart->rowBottom(row)) / 2; }
    [[nodiscard]] QPoint point(TimePoint time, int row) const { return {chart->xAt(time), middleOf(row)}; }

    // Rows "R4" up to "R<last>" below the fixture's three.
    void addRows(int last) {
        for (int i = data.rows().count() + 1; i <= last; ++i)
            data.rows().add(QStringLiteral("R%1").arg(i), QStringLiteral("Row %1").arg(i));
    }

    GanttData data;
    std::unique_ptr<GanttChart> chart;
};

inline TimePoint at(int hour, int minute = 0) {
    return ChartFixture::at(hour, minute);
}
