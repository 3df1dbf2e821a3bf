#include "FileInUseMarker.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
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

    // The lock file names the owner while there is one, so that a file an owner left marked can be told
    // from one that is read-only by itself.
    [[nodiscard]] bool ownerRecorded() const {
        char first = 0;
        return m_fd >= 0 && ::pread(m_fd, &first, 1, 0) == 1;
    }
    void recordOwner(bool owned) {
        if (m_fd < 0 || ::ftruncate(m_fd, 0) != 0 || !owned)
            return;
        const QByteArray text = "in use by process " + QByteArray::number(::getpid()) + " on " +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        [[maybe_unused]] const ssize_t written =
            ::pwrite(m_fd, text.constData(), std::size_t(text.size()), 0);
    }

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

// True when nobody holds the owner's lock on the timetable. Where locks cannot be tested the owner is
// taken to be alive: the file then stays read-only, as it always did.
bool ownerLockFree(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    ::close(fd);
    return result == 0;
}

// The write bits a new file of this user gets.
mode_t writeBitsOfNewFiles() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return modeWriteBits & ~mask;
}
} // namespace

FileInUseMarker::~FileInUseMarker() {
    if (m_ownerLock >= 0)
        ::close(m_ownerLock);
}

void FileInUseMarker::own(const QString& path, unsigned takenBits) {
    m_path = path;
    m_takenBits = takenBits;
    // Shared, so that on file systems that map flock to record locks SQLite may still read the file.
    m_ownerLock = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_ownerLock >= 0) {
        while (::flock(m_ownerLock, LOCK_SH) != 0 && errno == EINTR) {
        }
    }
}

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
    ExclusiveLock lock(lockFilePath(path));
    mode_t mode = 0;
    if (!modeOf(path, &mode))
        return Claim::Failed;
    const mode_t present = mode & modeWriteBits;
    if (present == 0)
        return lock.ownerRecorded() && ownerLockFree(path) ? Claim::Abandoned : Claim::Guest;
    lock.recordOwner(true);
    if (!setMode(path, mode & ~modeWriteBits)) {
        lock.recordOwner(false);
        return Claim::Failed;
    }
    own(path, present);
    return Claim::Owner;
}

bool FileInUseMarker::adopt(const QString& path) {
    release();
    ExclusiveLock lock(lockFilePath(path));
    mode_t mode = 0;
    if (!modeOf(path, &mode) || (mode & modeWriteBits) != 0 || !lock.ownerRecorded() || !ownerLockFree(path))
        return false;
    lock.recordOwner(true);
    own(path, writeBitsOfNewFiles());
    return true;
}

bool FileInUseMarker::release() {
    if (m_path.isEmpty())
        return true;
    const QString path = m_path;
    m_path.clear();
    if (m_ownerLock >= 0)
        ::close(m_ownerLock);
    m_ownerLock = -1;
    ExclusiveLock lock(lockFilePath(path));
    lock.recordOwner(false);
    mode_t mode = 0;
    if (!modeOf(path, &mode))
        return true;
    if ((mode & modeWriteBits) != 0)
        return true;
    return setMode(path, mode | mode_t(m_takenBits));
}
