#pragma once

#include <QString>

// True when the path names an existing file (not a directory).
bool FileExists(const QString& path);
