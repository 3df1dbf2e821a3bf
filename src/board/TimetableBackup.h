#pragma once

#include <QString>

// The backup copy of a timetable: the full file name with ".BAK" appended.
class TimetableBackup {
public:
    [[nodiscard]] static QString nameFor(const QString& timetable) {
        return timetable + QStringLiteral(".BAK");
    }

    // Copies the timetable over its backup. The copy goes to a temporary file first and is renamed over
    // the old backup, so the old backup stays until a complete new one is there, and the timetable
    // itself is never moved away: a save that fails afterwards still finds it in place. False when no
    // backup could be made; the save goes on without one.
    static bool Make(const QString& timetable);
};
