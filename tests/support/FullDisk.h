#pragma once

#include <QString>
#include <memory>

// A folder whose file system is full. Where the machine allows it (root may mount), the folder is a
// small tmpfs whose free space a filler file takes up, so writes fail with ENOSPC as on a real full
// disk. Elsewhere the process gets a file size limit instead: every write beyond a few bytes of a file
// fails with EFBIG (SIGXFSZ is ignored meanwhile). Either way the failure reaches the program through
// the same write calls. Existing files stay readable; `free()` ends the shortage.
class FullDisk {
public:
    enum class Kind { Tmpfs, SizeLimit };

    // `kind` asks for one way; Tmpfs may be unavailable (see available()).
    FullDisk(const QString& folder, Kind kind);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    [[nodiscard]] bool available() const { return m_available; }
    [[nodiscard]] const QString& folder() const { return m_folder; }
    // Makes the file system full (tmpfs) or sets the size limit.
    void fill();
    // Frees the space again or lifts the limit.
    void free();

private:
    QString m_folder;
    Kind m_kind;
    bool m_available = false;
    bool m_mounted = false;
    bool m_limited = false;
    unsigned long long m_oldLimit = 0;
    void (*m_oldHandler)(int) = nullptr;
};
