#pragma once

#include "ScriptedPrompts.h"
#include "app/GlobalData.h"
#include "app/TimePoint.h"
#include "app/clsGeneralOptions.h"
#include "app/clsSettings.h"
#include "board/FileInUseMarker.h"
#include "board/bsMain.h"
#include "board/frmMain.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "chart/widget/GanttChart.h"
#include "model/clsItems.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The whole program as start-up builds it, on a home folder of its own (so the profile file and the
// timetables are temporary), with every prompt scripted.
struct BoardFixture {
    enum Start { Inactive, Activated };

    explicit BoardFixture(const QString& commandLine = {}, Start start = Inactive) {
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        QDir().mkpath(home.path() + "/Documents");
        SetAppVersion(QStringLiteral("1.2.3"));
        SetReadOnly(false);
        globals().ownsFileLock = false;
        globals().commandLine = commandLine;
        program = std::make_unique<bsMain>();
        program->InitGlobalData();
        board = program->board();
        options().setSaveAuto(false);
        options().setConfirmQuit(false);
        if (start == Activated)
            activate();
    }

    ~BoardFixture() {
        program.reset();
        SetReadOnly(false);
        globals().ownsFileLock = false;
    }

    [[nodiscard]] GanttData& chart() const { return board->data(); }
    [[nodiscard]] GanttChart& view() const { return *board->chart(); }
    [[nodiscard]] clsItems& items() const { return *globals().items; }
    [[nodiscard]] clsGeneralOptions& options() const { return *globals().options; }
    [[nodiscard]] QString path(const QString& name) const { return home.filePath(name); }
    [[nodiscard]] ChartItem* item(const QString& key) const { return chart().items().byKey(key); }
    [[nodiscard]] int itemCount() const { return chart().items().count(); }

    void activate() { board->FirstActivation(); }

    // An unsaved change: a booking on the first row for an hour.
    void addUnsaved(const QString& key, TimePoint start) {
        addItem(key, chart().rows().byPosition(1)->key(), start, start.addSeconds(3600));
        board->setDirty(true);
    }

    // A booking in the chart and the item table, as the board's own commands add one.
    ChartItem& addItem(const QString& key, const QString& rowKey, TimePoint start, TimePoint end,
                       const QString& seriesKey = {}) {
        ChartItem& item = chart().items().add(key, rowKey, start, end, key, QStringLiteral("Date"));
        item.setSeriesKey(seriesKey);
        items().Add(item, QString());
        return item;
    }

    void showBoard() {
        board->resize(1400, 700);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
    }

    // The board shown on the hour scale from the given time, unchanged.
    void showHours(TimePoint firstShown) {
        showBoard();
        board->mZoomI_Click(8);
        view().scrollTo(firstShown);
        board->setDirty(false);
    }

    // A timetable file with the default styles, one row per caption (keys "R1", "R2", ...) and the
    // given items (key, row key, start, end), and the planner setting DeleteAfterDays.
    struct Booking {
        QString key;
        QString rowKey;
        TimePoint start;
        TimePoint end;
        QString seriesKey = {};
    };
    static void writeTimetable(const QString& file, const QStringList& rows, const QList<Booking>& bookings,
                               int deleteAfterDays = 0) {
        GanttData data;
        CreateDefaultStyles(data);
        for (qsizetype i = 0; i < rows.size(); ++i)
            data.rows().add(QStringLiteral("R%1").arg(i + 1), rows[i], QStringLiteral("Resources"));
        for (const Booking& booking : bookings) {
            ChartItem& item = data.items().add(booking.key, booking.rowKey, booking.start, booking.end,
                                               booking.key, QStringLiteral("Date"));
            item.setSeriesKey(booking.seriesKey);
        }
        clsSettings settings(data);
        settings.setDeleteAfterDays(deleteAfterDays);
        settings.WriteData();
        data.save(file);
    }

    static int itemCountOf(const QString& file) {
        GanttData data;
        data.load(file);
        return data.items().count();
    }

    static TimePoint at(const QDate& date, int hour, int minute = 0) {
        return TimePoint::fromDateTime(date, QTime(hour, minute));
    }

    // Writes a timetable into the home folder, starts the board and opens the timetable; by default
    // one room with item "A" on 2 March 2026, 08:00-09:00.
    QString openPlan() {
        const QDate day(2026, 3, 2);
        return openPlan({QStringLiteral("Room")},
                        {{QStringLiteral("A"), QStringLiteral("R1"), at(day, 8), at(day, 9)}});
    }
    QString openPlan(const QStringList& rows, const QList<Booking>& bookings, int deleteAfterDays = 0,
                     const QString& name = QStringLiteral("plan.qtf")) {
        const QString plan = path(name);
        writeTimetable(plan, rows, bookings, deleteAfterDays);
        activate();
        board->Loadfile(plan);
        return plan;
    }

    QTemporaryDir home;
    ScriptedPrompts prompts;
    std::unique_ptr<bsMain> program;
    frmMain* board = nullptr;
};

// False while a planner holds the file: the owner takes the write permissions away.
inline bool writable(const QString& file) {
    return (QFile::permissions(file) & FileInUseMarker::writeBits) != 0;
}

inline void pinLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
