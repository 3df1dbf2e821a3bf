#pragma once

#include <QFileDevice>
#include <QString>

// The in-use marker of a timetable file: the file's write permission bits. The first instance that
// opens a writable file takes the write bits away and so owns it; every later instance finds no write
// bits and works read-only. A crashed owner leaves the file without write bits, and every later
// instance then opens it read-only until the bits are given back by hand.
//
// Testing and taking the bits is one step: both happen under an exclusive flock on a hidden lock file
// beside the timetable (".<name>.lock"), so two instances opening the same file at the same moment
// cannot both become owners.
class FileInUseMarker {
public:
    enum class Claim { Owner, Guest, Failed };

    // Owner: the file had write bits and this call took them; Guest: the file carried no write bits;
    // Failed: the file could not be looked at or changed.
    [[nodiscard]] Claim claim(const QString& path);
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

private:
    QString m_path;
    unsigned m_takenBits = 0;
};
