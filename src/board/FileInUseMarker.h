#pragma once

#include <QFileDevice>
#include <QString>

// The in-use marker of a timetable file: the file's write permission bits. The first instance that
// opens a writable file takes the write bits away and so owns it; every later instance finds no write
// bits and works read-only.
//
// Testing and taking the bits is one step: both happen under an exclusive flock on a hidden lock file
// beside the timetable (".<name>.lock"), so two instances opening the same file at the same moment
// cannot both become owners. While it owns the file, the owner names itself in the lock file and holds
// a shared flock on the timetable itself, which the system drops when the owner's process ends in any
// way. A file without write bits whose lock file names an owner but whose lock nobody holds was left
// marked by an instance that died: it is reported as abandoned, and the next instance may adopt it. A
// file without write bits that names no owner is read-only by itself.
class FileInUseMarker {
public:
    enum class Claim { Owner, Guest, Abandoned, Failed };

    // Owner: the file had write bits and this call took them; Guest: the file carried no write bits and
    // its owner is alive (or the file is read-only by itself and no lock can be tested); Abandoned: no
    // write bits, but no owner holds the file; Failed: the file could not be looked at or changed.
    [[nodiscard]] Claim claim(const QString& path);
    // Takes over an abandoned file: becomes its owner, and gives the write bits back on release as the
    // user's file creation mask allows them. False when the file is not abandoned (any more).
    bool adopt(const QString& path);
    // Gives back the write bits this marker took; does nothing when it owns nothing. Returns false when
    // the bits could not be restored.
    bool release();

    [[nodiscard]] bool owns() const { return !m_path.isEmpty(); }
    [[nodiscard]] const QString& path() const { return m_path; }

    // True when the file has none of the write bits (the marker is set).
    [[nodiscard]] static bool isMarked(const QString& path);
    [[nodiscard]] static QString lockFilePath(const QString& path);

    // The write bits of the file's mode. (Qt's "User" permissions say what this process may do, which
    // for root is everything; the marker is the mode itself.)
    static constexpr QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

    FileInUseMarker() = default;
    ~FileInUseMarker();
    FileInUseMarker(const FileInUseMarker&) = delete;
    FileInUseMarker& operator=(const FileInUseMarker&) = delete;

private:
    void own(const QString& path, unsigned takenBits);

    QString m_path;
    unsigned m_takenBits = 0;
    int m_ownerLock = -1;
};
