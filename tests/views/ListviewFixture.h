#pragma once

#include "ScriptedPrompts.h"
#include "app/GlobalData.h"
#include "app/TimePoint.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "model/clsItems.h"
#include "views/ListviewHost.h"
#include "views/bsGridSupport.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QWidget>

// The board as the item list sees it: counts what the list asks of it.
class TestListHost : public ListviewHost {
public:
    QWidget board;
    int dirtyCalls = 0;
    int newItems = 0;

    QWidget* boardWindow() override { return &board; }
    bool SetDirty() override {
        ++dirtyCalls;
        return !IsReadOnly();
    }
    void NewItemAtCurrentDate() override { ++newItems; }
};

// A timetable registered as the program's chart and item table, a home folder of its own (so the
// user's layout file is temporary) and every prompt scripted. The default layout is the one the
// build ships beside the tests.
struct ListviewFixture {
    QTemporaryDir home;
    ScriptedPrompts prompts;
    GanttData chart;
    clsItems items{chart};
    TestListHost host;

    ListviewFixture() {
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QDir().mkpath(documents());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        CreateDefaultStyles(chart);
        globals().chart = &chart;
        globals().items = &items;
        SetReadOnly(false);
        bsGridSupport::setDefaultLayoutFolder({});
    }
    ~ListviewFixture() {
        globals().chart = nullptr;
        globals().items = nullptr;
        SetReadOnly(false);
        bsGridSupport::setDefaultLayoutFolder({});
    }

    [[nodiscard]] QString documents() const { return home.path() + "/Documents"; }

    static TimePoint at(int day, int hour, int minute = 0) {
        return TimePoint::fromDateTime(QDate(2026, 3, day), QTime(hour, minute));
    }

    void addRow(const QString& key, const QString& caption) {
        chart.rows().add(key, caption, QStringLiteral("Resources"));
    }
    ChartItem& addItem(const QString& key, const QString& rowKey, TimePoint start, TimePoint end,
                       const QString& caption = {}, const QString& text = {}) {
        ChartItem& item = chart.items().add(caption.isEmpty() ? key : caption, rowKey, start, end, key,
                                            QStringLiteral("Date"));
        item.setText(text);
        items.Add(item, QString());
        return item;
    }

    // The keys of the item table in row order.
    [[nodiscard]] QStringList keys() const {
        QStringList result;
        for (int row = 0; row < items.Count(); ++row)
            result << items.Value(row, 0).toString();
        return result;
    }
};
