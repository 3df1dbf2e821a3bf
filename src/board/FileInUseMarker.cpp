#include "FileInUseMarker.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Holds an exclusive flock on the lock file for its lifetime. Where no lock file can be made (a folder
// this user may not write to) the test and the change still happen, only without that guard.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const QString& lockPath) {
        const QByteArray native = QFile::encodeName(lockPath);
        m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ExclusiveLock() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    int m_fd = -1;
};

constexpr mode_t modeWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool modeOf(const QString& path, mode_t* mode) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    *mode = status.st_mode & 07777;
    return true;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}
} // namespace

QString FileInUseMarker::lockFilePath(const QString& path) {
    const QFileInfo info(path);
    return info.absolutePath() + "/." + info.fileName() + ".lock";
}

bool FileInUseMarker::isMarked(const QString& path) {
    mode_t mode = 0;
    return modeOf(path, &mode) && (mode & modeWriteBits) == 0;
}

FileInUseMarker::Claim FileInUseMarker::claim(const QString& path) {
    release();
    const ExclusiveLock lock(lockFilePath(path));
    mode_t mode = 0;
    if (!modeOf(path, &mode))
        return Claim::Failed;
    const mode_t present = mode & modeWriteBits;
    if (present == 0)
        return Claim::Guest;
    if (!setMode(path, mode & ~modeWriteBits))
        return Claim::Failed;
    m_path = path;
    m_takenBits = present;
    return Claim::Owner;
}

bool FileInUseMarker::release() {
    if (m_path.isEmpty())
        return true;
    const QString path = m_path;
    m_path.clear();
    const ExclusiveLock lock(lockFilePath(path));
    mode_t mode = 0;
    if (!modeOf(path, &mode))
        return true;
    if ((mode & modeWriteBits) != 0)
        return true;
    return setMode(path, mode | mode_t(m_takenBits));
}
