#pragma once

#include "../editing_ui/EditingFixture.h"
#include "views/GridLayout.h"
#include "views/ListviewHost.h"
#include "views/bsGridSupport.h"

#include <QDir>
#include <QTemporaryDir>

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

// Every value of a layout away from the built-in one.
inline GridLayout everyFieldChanged() {
    GridLayout layout = GridLayout::builtIn();
    GridOptions& options = layout.options;
    options.multipleLines = GridOptions::FixedLines;
    options.marqueeStyle = GridOptions::FloatingEditor;
    options.tabAction = GridOptions::GridNavigation;
    options.multiSelect = GridOptions::SimpleMultiSelect;
    options.rowDividerStyle = GridOptions::Inset;
    options.alternatingRowStyle = true;
    options.allowSizing = false;
    options.allowRowSizing = true;
    options.allowColMove = false;
    options.allowArrows = false;
    options.tabAcrossSplits = true;
    options.wrapCellPointer = true;
    options.rowHeight = 33;
    options.font = {"Serif", 11, true, true, true, true};
    options.normal = {0x010203, 0x040506};
    options.selected = {0x111111, 0x222222};
    options.highlightRow = {0x333333, 0x444444};
    options.evenRow = {0x555555, 0x666666};
    options.oddRow = {0x777777, 0x888888};
    for (int i = 0; i < GridLayout::columnCount; ++i) {
        GridColumn& column = layout.columns[std::size_t(i)];
        column = {QStringLiteral("C%1").arg(i),
                  i % 2 == 0,
                  GridLayout::columnCount - 1 - i,
                  50 + i,
                  "dd.MM.",
                  {"Mono", 8, i % 3 == 0, false, true, false},
                  quint32(0x10000 * i),
                  quint32(0x100 * i),
                  i % 3 == 1,
                  i % 4 != 0,
                  i % 4};
    }
    return layout;
}

// A timetable registered as the program's chart and item table (the base), a home folder of its own (so the
// user's layout file is temporary) and every prompt scripted. The default layout is the one the
// build ships beside the tests.
struct ListviewFixture : TestTimetable {
    QTemporaryDir home;
    ScriptedPrompts prompts;
    TestListHost host;

    ListviewFixture() {
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QDir().mkpath(documents());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        bsGridSupport::setDefaultLayoutFolder({});
    }
    ~ListviewFixture() { bsGridSupport::setDefaultLayoutFolder({}); }

    [[nodiscard]] QString documents() const { return home.path() + "/Documents"; }

    static TimePoint at(int day, int hour, int minute = 0) {
        return TimePoint::fromDateTime(QDate(2026, 3, day), QTime(hour, minute));
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
