#include "FullDisk.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
const char* const fillerName = ".filler";
// Big enough for the test's own files, small enough to fill at once.
const char* const tmpfsOptions = "size=256k,mode=0777";
// Files a test prepares before the shortage are smaller; anything new beyond this fails.
constexpr rlim_t sizeLimit = 16;
} // namespace

FullDisk::FullDisk(const QString& folder, Kind kind)
    : m_folder(folder)
    , m_kind(kind) {
    QDir().mkpath(folder);
    if (kind == Kind::SizeLimit) {
        m_available = true;
        return;
    }
    m_mounted = ::geteuid() == 0 &&
                ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, tmpfsOptions) == 0;
    m_available = m_mounted;
}

FullDisk::~FullDisk() {
    free();
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

void FullDisk::fill() {
    if (m_kind == Kind::SizeLimit) {
        if (m_limited)
            return;
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        m_oldLimit = limit.rlim_cur;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = sizeLimit;
        m_limited = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        return;
    }
    if (!m_mounted)
        return;
    const int fd = ::open(QFile::encodeName(m_folder + '/' + fillerName).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // Byte by byte at the end, so that not even a small file fits afterwards.
    static const char block[4096] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    while (::write(fd, block, 1) > 0) {
    }
    ::close(fd);
}

void FullDisk::free() {
    if (m_limited) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = m_oldLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, m_oldHandler);
        m_limited = false;
    }
    if (m_mounted)
        QFile::remove(m_folder + '/' + fillerName);
}
