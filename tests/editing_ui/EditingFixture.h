#pragma once

#include "../editing/TestMessenger.h"
#include "ScriptedPrompts.h"
#include "app/GlobalData.h"
#include "app/TimePoint.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "editing/EditorHost.h"
#include "model/clsItems.h"

#include <QComboBox>
#include <QLocale>
#include <QTest>
#include <QWidget>

const QString alice = QStringLiteral("{R-ALICE}");
const QString bob = QStringLiteral("{R-BOB}");

inline TimePoint at(int year, int month, int day, int hour = 0, int minute = 0) {
    return TimePoint::fromDateTime(QDate(year, month, day), QTime(hour, minute));
}

inline void click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

inline QStringList itemTexts(const QComboBox* list) {
    QStringList texts;
    for (int index = 0; index < list->count(); ++index)
        texts << list->itemText(index);
    return texts;
}

// A timetable with the standard styles, registered as the program's chart and item table for the
// lifetime of the object.
struct TestTimetable {
    GanttData chart;
    clsItems items{chart};

    TestTimetable() {
        CreateDefaultStyles(chart);
        globals().chart = &chart;
        globals().items = &items;
        SetReadOnly(false);
    }
    ~TestTimetable() {
        globals().chart = nullptr;
        globals().items = nullptr;
        SetReadOnly(false);
    }
    void addRow(const QString& key, const QString& caption) { chart.rows().add(key, caption, "Resources"); }
    ChartItem& addItem(const QString& key, const QString& rowKey, TimePoint start, TimePoint end,
                       const QString& seriesKey = {}) {
        ChartItem& item = chart.items().add(key, rowKey, start, end, key, QStringLiteral("Date"));
        item.setSeriesKey(seriesKey);
        items.Add(item, QString());
        return item;
    }
};

// The board as the editing windows see it: records what they ask of it.
class TestHost : public EditorHost {
public:
    QWidget board;
    TimePoint firstShown;
    bool dirty = false;
    int gantRow = -1;
    int boardActivations = 0;
    bool overviewAvailable = false;
    QStringList overviewsOpened;

    QWidget* boardWindow() override { return &board; }
    bool SetDirty() override {
        if (IsReadOnly())
            return false;
        dirty = true;
        return true;
    }
    void setDirty(bool value) override {
        if (!IsReadOnly())
            dirty = value;
    }
    int GantRow() const override { return gantRow; }
    void setGantRow(int position) override { gantRow = position; }
    TimePoint firstShownTime() const override { return firstShown; }
    bool isItemShown(const ChartItem&) const override { return true; }
    void activateBoard() override { ++boardActivations; }
    bool openMonthlyOverview(const QString& rowKey, TimePoint month) override {
        if (overviewAvailable)
            overviewsOpened << rowKey + ' ' + month.isoText();
        return overviewAvailable;
    }
};

// Dates and times as a German user types and reads them, every prompt scripted (none may be left
// unanswered), the resources Alice and Bob, and the board.
struct EditingFixture {
    ScriptedPrompts prompts;
    TestTimetable timetable;
    TestHost host;

    EditingFixture() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        timetable.addRow(alice, "Alice");
        timetable.addRow(bob, "Bob");
    }
    [[nodiscard]] int itemCount() const { return timetable.chart.items().count(); }
};
