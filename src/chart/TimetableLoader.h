#pragma once

#include "app/TimePoint.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class GanttData;

// Loads a timetable in stages, so that a board can show its first screen before the whole timetable
// is read. The constructor replaces the chart's content by the file's frame (rows, heading columns,
// styles and settings, no items; views hear loaded()); showFirstScreen adds the items that the shown
// rows and time need; start() reads every item on a thread of its own while the chart stays usable;
// finish() puts them into the chart in one step (changed()). Until finish() has succeeded, destroying
// the loader stops the thread and gives the chart back the content it had before (loaded()).
class TimetableLoader {
public:
    // Throws AppError as GanttData::load does; the chart is then unchanged.
    TimetableLoader(GanttData& chart, const QString& path);
    ~TimetableLoader();
    TimetableLoader(const TimetableLoader&) = delete;
    TimetableLoader& operator=(const TimetableLoader&) = delete;

    [[nodiscard]] const QString& path() const;
    // The number of items the file says it holds.
    [[nodiscard]] qint64 itemCount() const;
    // Adds the items of these rows that reach into [from, to), when the file has a row index; before
    // start() only. A failure here is left to the full read to report.
    void showFirstScreen(const QStringList& rowKeys, TimePoint from, TimePoint to);
    // `whenRead` is called on the thread once reading() has turned false, so that a waiting window
    // can finish at once instead of at its next look.
    void start(std::function<void()> whenRead = {});
    // True until the thread has read everything, failed or stopped.
    [[nodiscard]] bool reading() const;
    // The share of the items read, 0 to 100.
    [[nodiscard]] int percent() const;
    // Waits for the read (or reads now, when not started) and puts the items into the chart. Throws
    // the read's AppError after giving the chart back its content from before the load.
    void finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
