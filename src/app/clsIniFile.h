#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <functional>

// The profile file QUNTA.INI: sections and KEY=value lines with CR LF line ends, read and written
// line by line on every call, never cached, so that several instances always see each other's values.
//
// Access between processes goes through advisory locks (flock) on a lock file beside the profile
// (the profile's path followed by ".lock"): readers share it, writers and deleters hold it
// exclusively for the whole read-change-rewrite. A rewrite goes to a temporary file beside the
// profile that is renamed over it, so a crash or a full disk never leaves a half-written profile.
//
// Text is UTF-8. A line that is not valid UTF-8 is read as Latin-1, and every line a write does not
// change is written back with exactly its original bytes.
class clsIniFile {
public:
    enum class ProfileOpenMode { ReadShared = 0, ReadExclusive = 1 };
    using WaitFunction = std::function<void(int milliseconds)>;

    static constexpr int openAttempts = 51;
    static constexpr int attemptDelayMs = 200;

    clsIniFile();

    // Set once, before the first read or write.
    void setFilename(const QString& path) { m_filename = path; }
    [[nodiscard]] const QString& filename() const { return m_filename; }
    [[nodiscard]] QString lockFilename() const { return m_filename + QStringLiteral(".lock"); }

    // How the thread waits between two attempts to get the file (default: QThread::msleep).
    void setWaitFunction(WaitFunction wait);

    [[nodiscard]] QString ReadProfileString(const QString& section, const QString& key,
                                            const QString& defaultValue) const;
    [[nodiscard]] int ReadProfileInt(const QString& section, const QString& key, int defaultValue) const;
    [[nodiscard]] bool ReadProfileBol(const QString& section, const QString& key, bool defaultValue) const;
    [[nodiscard]] QStringList ReadProfileSection(const QString& section) const;

    bool WriteProfileString(const QString& section, const QString& key, const QString& value);
    bool WriteProfileInt(const QString& section, const QString& key, int value);
    bool WriteProfileBol(const QString& section, const QString& key, bool value);
    bool DeleteProfileSection(const QString& section);

private:
    class Lock;
    struct Opened;
    enum class OpenStatus { Opened, NoFile, Failed, CannotLock, NotRegular };

    // Takes the lock in the given mode and reads the whole file, retrying a held lock or a file
    // that cannot be opened 51 times, 200 ms apart. For ReadExclusive the lock is kept in `opened`
    // even when the file does not exist, so that the caller can create it under the lock.
    OpenStatus OpenProfile(ProfileOpenMode mode, Opened& opened) const;
    // Writes the lines, each followed by CR LF, to a temporary file and renames it over the profile;
    // a failed write (a full disk) leaves the profile as it was.
    bool rewrite(const QByteArrayList& lines) const;
    // Writing (flags 0) and deleting (flags 16) report a failed rewrite with different icons.
    void reportRecreateFailure(int flags) const;

    QString m_filename;
    WaitFunction m_wait;
};
