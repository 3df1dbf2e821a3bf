#include "bsFileUtil.h"

#include "AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {
bool isNetworkFileSystem(const QString& type) {
    static const QStringList types = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p"};
    return types.contains(type);
}

// mountinfo writes blanks, tabs, line breaks and backslashes in paths as three-digit octal escapes.
QString unescapeMountField(const QString& field) {
    QString result;
    result.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                result += QChar(code);
                i += 3;
                continue;
            }
        }
        result += field[i];
    }
    return result;
}

bool liesUnder(const QString& path, const QString& mountPoint) {
    if (mountPoint == "/")
        return true;
    return path == mountPoint || path.startsWith(mountPoint + '/');
}
} // namespace

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString networkPathFromMountInfo(const QString& path, const QString& mountInfo) {
    QString bestMountPoint;
    QString bestRoot;
    QString bestType;
    QString bestSource;
    bool found = false;
    const QStringList lines = mountInfo.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        const qsizetype dash = fields.indexOf("-", 6);
        if (fields.size() < 6 || dash < 0 || dash + 2 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountField(fields[4]);
        // Later mounts on the same point hide the earlier ones.
        if (!liesUnder(path, mountPoint) || (found && mountPoint.size() < bestMountPoint.size()))
            continue;
        found = true;
        bestMountPoint = mountPoint;
        bestRoot = unescapeMountField(fields[3]);
        bestType = fields[dash + 1];
        bestSource = unescapeMountField(fields[dash + 2]);
    }
    if (!found || !isNetworkFileSystem(bestType))
        return {};
    QString rest = bestMountPoint == "/" ? path : path.mid(bestMountPoint.size());
    if (bestRoot != "/")
        rest = bestRoot + rest;
    if (bestSource.endsWith('/') && rest.startsWith('/'))
        rest.remove(0, 1);
    return bestSource + rest;
}

QString GetUNCPath(const QString& path, bool silent) {
    const QFileInfo info(path);
    QString absolute = info.canonicalFilePath();
    if (absolute.isEmpty())
        absolute = QDir::cleanPath(info.absoluteFilePath());
    QString network;
    QFile mountInfo("/proc/self/mountinfo");
    if (mountInfo.open(QIODevice::ReadOnly | QIODevice::Text))
        network = networkPathFromMountInfo(absolute, QString::fromUtf8(mountInfo.readAll()));
    if (!network.isEmpty())
        return network;
    if (!silent)
        throw AppError("Invalid procedure call or argument", 5, "bsFileUtil.GetUNCPath");
    return path;
}
