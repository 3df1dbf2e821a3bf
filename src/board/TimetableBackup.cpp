#include "TimetableBackup.h"

#include <QFile>
#include <cstdio>

bool TimetableBackup::Make(const QString& timetable) {
    const QString backup = nameFor(timetable);
    const QString partial = backup + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(timetable, partial))
        return false;
    // The copy carries the timetable's permissions; a backup is an ordinary writable file.
    QFile::setPermissions(partial,
                          QFile::permissions(partial) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(backup).constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}
