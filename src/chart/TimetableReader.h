#pragma once

#include "app/TimePoint.h"

#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

class AppError;
class ChartRow;
class GanttContent;
class SqliteConnection;

// Reads a timetable file in parts: what frames the items (rows, heading columns, styles, settings),
// the items of a few rows in a time range (the first screen of a board), and all items. The file is
// read as one snapshot from opening to destruction, so that a save or a replacement of the file on
// disk meanwhile changes nothing of what is read. Every failure throws AppError naming the file.
class TimetableReader {
public:
    // Shared with a thread that waits for a read of all items.
    struct Control {
        std::atomic<bool> cancel{false};
        std::atomic<qint64> itemsRead{0};
    };

    // Opens and checks the file: missing, not a timetable, written by a newer version, damaged.
    explicit TimetableReader(const QString& path);
    ~TimetableReader();
    TimetableReader(const TimetableReader&) = delete;
    TimetableReader& operator=(const TimetableReader&) = delete;

    // Rows, heading columns and their cells, styles and settings into empty content.
    void readFrame(GanttContent& content);
    // Whether the file has the row index that readWindow needs (version 2 on).
    [[nodiscard]] bool hasRowIndex() const { return m_rowIndex; }
    // The items of these rows of the content that reach into [from, to), as the full read makes them;
    // only with a row index. Items whose key is already there are skipped.
    void readWindow(GanttContent& content, const std::vector<ChartRow*>& rows, TimePoint from, TimePoint to);
    // The number of items the file says it holds, for progress and room.
    [[nodiscard]] qint64 itemCount() const { return m_itemCount; }
    // Every item in position order; false when cancelled through `control`. Resources that items name
    // but the file lacks are added, captioned with their key, so that nothing is lost.
    bool readItems(GanttContent& content, Control* control = nullptr);

private:
    [[nodiscard]] AppError damaged(const QString& reason) const;
    void findRowIndex();
    // The positions of the items of one row's index entry that reach into [from, to); none for an
    // entry of the wrong size.
    [[nodiscard]] std::vector<qint64> positionsIn(QByteArrayView spans, TimePoint from, TimePoint to) const;

    QString m_shown;
    std::unique_ptr<SqliteConnection> m_db;
    bool m_rowIndex = false;
    qint64 m_itemCount = 0;
};
