#pragma once

#include <QString>
#include <QtGlobal>

class GanttData;

// The timetable file: one SQLite database, marked by its application id and schema version.
// docs/timetable-format.md describes the tables; TimetableReader reads them.
class TimetableFile {
public:
    static constexpr qint64 applicationId = 0x51544631; // "QTF1"
    // Version 2 added the row index and the extents of the items; version 1 files are still read.
    static constexpr qint64 schemaVersion = 2;

    // Writes a complete new file beside `path` and renames it into place; on failure the old file
    // stays as it was and AppError is thrown.
    static void write(const GanttData& chart, const QString& path);
};
