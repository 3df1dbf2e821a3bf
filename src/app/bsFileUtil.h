#pragma once

#include <QString>

// True when the path names an existing file (not a directory).
bool FileExists(const QString& path);

// The network form of a path, so that other computers can reach the same file: for a path on a network
// file system the mount's source followed by the rest of the path. A local path is returned unchanged
// when silent, else AppError 5 is thrown.
QString GetUNCPath(const QString& path, bool silent);

// The network form of an absolute path, read from the text of /proc/self/mountinfo; empty when the
// path lies on a local file system.
QString networkPathFromMountInfo(const QString& path, const QString& mountInfo);
