#pragma once

#include <QString>

// Runs SQL on a file the way another program (or a damaged disk) might change it; an SQL error fails
// the calling test.
void execute(const QString& path, const char* sql);
