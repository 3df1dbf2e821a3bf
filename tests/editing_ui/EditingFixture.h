#pragma once

#include "app/GlobalData.h"
#include "app/TimePoint.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "editing/EditorHost.h"
#include "model/clsItems.h"
#include "model/iMessenger.h"

#include <QComboBox>
#include <QLocale>
#include <QStringList>
#include <QWidget>

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

    QString addRow(const QString& key, const QString& caption) {
        chart.rows().add(key, caption, QStringLiteral("Resources"));
        return key;
    }

    ChartItem& addItem(const QString& key, const QString& rowKey, TimePoint start, TimePoint end,
                       const QString& seriesKey = {}) {
        ChartItem& item = chart.items().add(key, rowKey, start, end, key, QStringLiteral("Date"));
        item.setCaption(key);
        item.setSeriesKey(seriesKey);
        items.Add(item, QString());
        return item;
    }
};

// The board as the editing windows see it: records what they ask of it.
class TestHost : public EditorHost {
public:
    QWidget board;
    QString boardId = QStringLiteral("{BOARD}");
    TimePoint firstShown;
    bool dirty = false;
    int gantRow = -1;
    bool itemShown = true;
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
    bool isItemShown(const ChartItem&) const override { return itemShown; }
    void activateBoard() override { ++boardActivations; }
    bool openMonthlyOverview(const QString& rowKey, TimePoint month) override {
        if (overviewAvailable)
            overviewsOpened << rowKey + ' ' + month.isoText();
        return overviewAvailable;
    }
};

// Another view of the item table: records what it is told.
class TestMessenger : public iMessenger {
public:
    explicit TestMessenger(QString id)
        : m_id(std::move(id)) {}
    QStringList heard;

    void ItemDeleteBefore(QString key, bool&, QString) override { heard << "deleteBefore " + key; }
    void ItemDeleteAfter(QString key, QString) override { heard << "deleteAfter " + key; }
    void ItemChanged(QString key, QString sender) override { heard << "changed " + key + ' ' + sender; }
    void ItemAdded(QString key, QString sender) override { heard << "added " + key + ' ' + sender; }
    void ItemsChanged() override { heard << "itemsChanged"; }
    QString ID() const override { return m_id; }
    void ItemSelected(QString key, QString) override { heard << "selected " + key; }
    void RowsChanged() override { heard << "rowsChanged"; }
    void RowStylesChanged() override { heard << "rowStylesChanged"; }
    void ItemStylesChanged() override { heard << "itemStylesChanged"; }

private:
    QString m_id;
};

inline QStringList itemTexts(const QComboBox* list) {
    QStringList texts;
    for (int index = 0; index < list->count(); ++index)
        texts << list->itemText(index);
    return texts;
}

inline TimePoint at(int year, int month, int day, int hour = 0, int minute = 0) {
    return TimePoint::fromDateTime(QDate(year, month, day), QTime(hour, minute));
}

// Dates and times as a German user types and reads them.
inline void pinGermanLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
