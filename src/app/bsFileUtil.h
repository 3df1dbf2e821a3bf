#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

// True when the path names an existing file (not a directory).
bool FileExists(const QString& path);

// True when the path names nothing or a regular file (also through a link), false for a folder, a
// FIFO, a device or a socket: opening those could block the program or make no sense as a file.
bool IsRegularOrMissing(const QString& path);

// Reads a whole regular file without ever blocking on a FIFO or a device; false when the file is
// missing, not regular or cannot be read.
bool ReadRegularFile(const QString& path, QByteArray* content);

// Creates an empty file with a fresh name beside `path`: the name followed by ".tmp-" and six
// hexadecimal digits. Throws AppError with the reason.
QString CreateTemporaryBeside(const QString& path);
// Makes a written file durable; throws AppError with the reason.
void SyncFile(const QString& path);
// Makes a rename inside the folder durable; failures are ignored (nothing written is lost by them).
void SyncFolder(const QString& folder);

// Replaces the file (the target of a link) by a new one with the content: written beside it under a
// temporary name with the old file's permissions, every write checked, flushed to the disk and renamed
// into place. On any failure (a full disk, no permission, a target that is not a regular file) the old
// file stays exactly as it was, the temporary file is removed and `reason` says why.
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* reason = nullptr);

// Commits a file written through QSaveFile, for content too large to hold in memory. QSaveFile's
// own commit renames the file into place even when writing out its last buffered bytes failed (a full
// disk); here a failed flush discards the new file, and the old one stays. False on any failure.
bool CommitSaveFile(QSaveFile& file);

// Removes the temporary files of `path` (see CreateTemporaryBeside) that were last changed before
// this process started: a save or rewrite that was killed left them. Newer ones may belong to a save
// in progress in another process and are kept. Returns how many were removed.
int RemoveStaleTemporaries(const QString& path);

// The network form of a path, so that other computers can reach the same file: for a path on a network
// file system the mount's source followed by the rest of the path. A local path is returned unchanged
// when silent, else AppError 5 is thrown.
QString GetUNCPath(const QString& path, bool silent);

// The network form of an absolute path, read from the text of /proc/self/mountinfo; empty when the
// path lies on a local file system.
QString networkPathFromMountInfo(const QString& path, const QString& mountInfo);
