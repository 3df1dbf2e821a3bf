#include "bsFileUtil.h"

#include "AppError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Taken while the program loads, before anything it does could have made a temporary file.
const QDateTime processStart = QDateTime::currentDateTimeUtc();

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A descriptor that closes itself.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }
    // Closes now, so that an error of the close itself is seen; false with errno set on failure.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& content) {
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// The file a path names, through a link; the path itself when it is none.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}
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

bool IsRegularOrMissing(const QString& path) {
    // What cannot be looked at cannot block either: writing there fails with its own reason.
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode);
}

bool ReadRegularFile(const QString& path, QByteArray* content) {
    // Non-blocking, so that opening a FIFO without a writer returns at once; it is refused below.
    FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.append(buffer, got);
    }
    *content = bytes;
    return true;
}

QString CreateTemporaryBeside(const QString& path) {
    for (int attempt = 0;; ++attempt) {
        const QString candidate =
            path + QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16,
                                                 QChar(u'0'));
        const int fd =
            ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST || attempt > 100)
            throw AppError(systemError(errno));
    }
}

void SyncFile(const QString& path) {
    FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0)
        throw AppError(systemError(errno));
}

void SyncFolder(const QString& folder) {
    FileDescriptor fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* reason) {
    const QString target = resolvedTarget(path);
    QString temporary;
    try {
        struct stat old {};
        const bool exists = ::stat(QFile::encodeName(target).constData(), &old) == 0;
        if (exists && !S_ISREG(old.st_mode))
            throw AppError(QStringLiteral("it is not a regular file"));
        temporary = CreateTemporaryBeside(target);
        FileDescriptor fd(::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        // Every write is checked here, none is left in a buffer for a close that nobody checks.
        if (fd.get() < 0 || (exists && ::fchmod(fd.get(), old.st_mode & 07777) != 0) ||
            !writeAll(fd.get(), content) || ::fsync(fd.get()) != 0 || !fd.close())
            throw AppError(systemError(errno));
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
            throw AppError(systemError(errno));
    } catch (const AppError& error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        if (reason)
            *reason = error.description();
        return false;
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return true;
}

bool CommitSaveFile(QSaveFile& file) {
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int RemoveStaleTemporaries(const QString& path) {
    const QFileInfo info(resolvedTarget(path));
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.tmp-[0-9a-f]{6}")));
    // No name filter: its wildcards would also read brackets in the timetable's own name.
    const QFileInfoList candidates = QDir(info.absolutePath()).entryInfoList(QDir::Files | QDir::Hidden);
    int removed = 0;
    for (const QFileInfo& candidate : candidates) {
        if (pattern.match(candidate.fileName()).hasMatch() &&
            candidate.lastModified().toUTC() < processStart && QFile::remove(candidate.absoluteFilePath()))
            ++removed;
    }
    return removed;
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
