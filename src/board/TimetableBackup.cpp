#include "TimetableBackup.h"

#include "app/AppError.h"
#include "app/bsFileUtil.h"

#include <QFile>
#include <cstdio>

bool TimetableBackup::Make(const QString& timetable) {
    // Copying from a FIFO or a device would wait for ever.
    if (!FileExists(timetable) || !IsRegularOrMissing(timetable))
        return false;
    const QString backup = nameFor(timetable);
    const QString partial = backup + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(timetable, partial))
        return false;
    // The copy carries the timetable's permissions; a backup is an ordinary writable file.
    QFile::setPermissions(partial,
                          QFile::permissions(partial) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    try {
        SyncFile(partial);
    } catch (const AppError&) {
        QFile::remove(partial);
        return false;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(backup).constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}
