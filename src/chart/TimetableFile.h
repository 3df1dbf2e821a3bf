#pragma once

#include <QString>
#include <QtGlobal>

class GanttData;

// The timetable file: one SQLite database, marked by its application id and schema version.
// docs/timetable-format.md describes the tables.
class TimetableFile {
public:
    static constexpr qint64 applicationId = 0x51544631; // "QTF1"
    static constexpr qint64 schemaVersion = 1;

    // Writes a complete new file beside `path` and renames it into place; on failure the old file
    // stays as it was and AppError is thrown.
    static void write(const GanttData& chart, const QString& path);
    // Fills an empty chart from the file; throws AppError naming the file when it cannot be read.
    // An item whose resource is missing gets a resource of that key (captioned with the key), so
    // nothing is lost; style keys that name no style are kept.
    static void read(const QString& path, GanttData& chart);
};
