#include "bsFileUtil.h"

#include <QFileInfo>

bool FileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
