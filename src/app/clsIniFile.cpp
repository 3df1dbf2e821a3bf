#include "clsIniFile.h"

#include "GlobalData.h"
#include "MessageFlags.h"
#include "NumericText.h"
#include "bsFileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// One advisory lock on the lock file; closing the descriptor releases it.
class clsIniFile::Lock {
public:
    Lock() = default;
    ~Lock() { close(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Opens (creating when it can) the lock file; false when it can be neither created nor opened.
    bool open(const QString& path) {
        close();
        const QByteArray native = QFile::encodeName(path);
        m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            m_fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
        m_supported = m_fd >= 0;
        return m_fd >= 0;
    }

    enum class Result { Locked, Busy };

    // One non-blocking attempt. A file system without flock support counts as locked: the profile
    // stays usable there, only without protection between processes.
    Result tryLock(bool exclusive) {
        if (!m_supported)
            return Result::Locked;
        int rc;
        do {
            rc = ::flock(m_fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc == 0)
            return Result::Locked;
        if (errno == EWOULDBLOCK)
            return Result::Busy;
        m_supported = false;
        return Result::Locked;
    }

    void unlock() {
        if (m_supported)
            ::flock(m_fd, LOCK_UN);
    }

private:
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    int m_fd = -1;
    bool m_supported = false;
};

struct clsIniFile::Opened {
    Lock lock;
    QByteArray content;
};

namespace {
const QByteArray crlf = QByteArrayLiteral("\r\n");

// Lines end in CR LF; a lone LF or a lone CR ends a line too (files edited by hand on Linux). A last
// line without a line break still counts; text after the last break is the last line.
QByteArrayList splitLines(const QByteArray& content) {
    QByteArrayList lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    for (qsizetype at = 0; at < size; ++at) {
        const char c = content.at(at);
        if (c != '\r' && c != '\n')
            continue;
        lines << content.mid(start, at - start);
        if (c == '\r' && at + 1 < size && content.at(at + 1) == '\n')
            ++at;
        start = at + 1;
    }
    if (start < size)
        lines << content.mid(start);
    return lines;
}

// UTF-8 when the line is valid UTF-8 (a byte order mark at the start is dropped), else Latin-1, so
// that no byte sequence is ever lost or fails.
QString decodeLine(const QByteArray& line) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(line);
    if (decoder.hasError())
        return QString::fromLatin1(line);
    return text;
}

bool isBlankChar(QChar c) {
    return c == u' ' || c == u'\t';
}

QString trimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlankChar(text.at(start)))
        ++start;
    while (end > start && isBlankChar(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

bool isBlank(const QString& text) {
    return trimBlanks(text).isEmpty();
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

QString sectionHeader(const QString& section) {
    return u'[' + section.toUpper() + u']';
}

// "The upper-cased line begins with the upper-cased name": compared character by character without
// regard to case, so that the rest of the line keeps its own offset and letter case.
bool beginsWith(const QString& line, const QString& upperPrefix) {
    return line.startsWith(upperPrefix, Qt::CaseInsensitive);
}

bool beginsSection(const QString& line) {
    return line.startsWith(u'[');
}

bool isComment(const QString& text) {
    return text.startsWith(u';');
}

// A comment line is never a value line, also for a key that itself begins with ";".
bool isValueLine(const QString& line, const QString& upperPrefix) {
    return !isComment(line) && beginsWith(line, upperPrefix);
}
} // namespace

clsIniFile::clsIniFile() {
    setWaitFunction({});
}

void clsIniFile::setWaitFunction(WaitFunction wait) {
    if (wait)
        m_wait = std::move(wait);
    else
        m_wait = [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); };
}

clsIniFile::OpenStatus clsIniFile::OpenProfile(ProfileOpenMode mode, Opened& opened) const {
    const bool exclusive = mode == ProfileOpenMode::ReadExclusive;
    if (m_filename.isEmpty()) // no profile named: never a lock file in the working folder
        return exclusive ? OpenStatus::CannotLock : OpenStatus::NoFile;
    if (!exclusive && !FileExists(m_filename))
        return OpenStatus::NoFile;
    // A reader that can neither create nor open the lock file (a read-only folder) reads unlocked:
    // nobody can rewrite a profile there either. A writer without its lock does not write.
    if (!opened.lock.open(lockFilename()) && exclusive)
        return OpenStatus::CannotLock;

    for (int attempt = 1;; ++attempt) {
        if (opened.lock.tryLock(exclusive) == Lock::Result::Locked) {
            if (!FileExists(m_filename))
                return OpenStatus::NoFile;
            // A FIFO or a device would block the program or hold no profile: it is never opened.
            if (!IsRegularOrMissing(m_filename))
                return OpenStatus::NotRegular;
            if (ReadRegularFile(m_filename, &opened.content))
                return OpenStatus::Opened;
            opened.content.clear();
            if (!FileExists(m_filename))
                return OpenStatus::NoFile;
            // Present but not readable (access denied): retried like a held file.
            opened.lock.unlock();
        }
        if (attempt >= openAttempts)
            break;
        m_wait(attemptDelayMs);
    }
    ShowMessage(QStringLiteral("Timeout accessing file: ") + m_filename, MessageFlags::Critical);
    return OpenStatus::Failed;
}

void clsIniFile::reportRecreateFailure(int flags) const {
    ShowMessage(QStringLiteral("Error recreating file: ") + m_filename, flags);
}

bool clsIniFile::rewrite(const QByteArrayList& lines) const {
    const QFileInfo info(m_filename);
    if (info.exists()) {
        // A profile without write permission (no write bits, as a read-only attribute) is not
        // replaced, even by a user such as root whom the permissions would not stop.
        // (The "User" permission flags reflect the caller's access, not the file's bits.)
        constexpr QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (info.isDir() || !info.isWritable() || !(info.permissions() & writeBits))
            return false;
    }
    QByteArray text;
    for (const QByteArray& line : lines) {
        text += line;
        text += crlf;
    }
    return WriteFileAtomically(m_filename, text);
}

QString clsIniFile::ReadProfileString(const QString& section, const QString& key,
                                      const QString& defaultValue) const {
    if (isBlank(section) || isBlank(key))
        return {};
    QString result = defaultValue;
    try {
        Opened opened;
        if (OpenProfile(ProfileOpenMode::ReadShared, opened) != OpenStatus::Opened)
            return result;
        const QString header = sectionHeader(section);
        const QString prefix = key.toUpper() + u'=';
        bool inSection = false;
        for (const QByteArray& raw : splitLines(opened.content)) {
            const QString line = decodeLine(raw);
            if (!inSection) {
                inSection = beginsWith(line, header);
            } else if (beginsSection(line)) {
                break;
            } else if (isValueLine(line, prefix)) {
                result = line.mid(prefix.size());
                break;
            }
        }
    } catch (...) {
        // Errors inside the class are ignored: the result is what was found so far.
    }
    return result;
}

int clsIniFile::ReadProfileInt(const QString& section, const QString& key, int defaultValue) const {
    return roundToInt(leadingNumber(ReadProfileString(section, key, QString::number(defaultValue))));
}

bool clsIniFile::ReadProfileBol(const QString& section, const QString& key, bool defaultValue) const {
    return ReadProfileInt(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList clsIniFile::ReadProfileSection(const QString& section) const {
    QStringList result;
    if (isBlank(section))
        return result;
    try {
        Opened opened;
        if (OpenProfile(ProfileOpenMode::ReadShared, opened) != OpenStatus::Opened)
            return result;
        const QString header = sectionHeader(section);
        bool inSection = false;
        for (const QByteArray& raw : splitLines(opened.content)) {
            const QString line = trimBlanks(decodeLine(raw));
            if (!inSection) {
                inSection = beginsWith(line, header);
                continue;
            }
            if (line.isEmpty())
                continue;
            if (beginsSection(line))
                break;
            if (isComment(line))
                continue;
            result << line;
        }
    } catch (...) {
    }
    return result;
}

bool clsIniFile::WriteProfileString(const QString& section, const QString& key, const QString& value) {
    if (isBlank(section))
        return true;
    // A line break inside a name or value would split the line and could forge a section, and a key
    // that begins with ";" would make a comment of its line: such a value cannot be stored in this
    // format, and the file is left as it is.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || isComment(key))
        return false;
    try {
        const QString header = sectionHeader(section);
        const QString prefix = key.toUpper() + u'=';
        const QByteArray newLine = (prefix + value).toUtf8();

        Opened opened;
        QByteArrayList lines;
        switch (OpenProfile(ProfileOpenMode::ReadExclusive, opened)) {
        case OpenStatus::Failed:
            return false;
        case OpenStatus::CannotLock:
        case OpenStatus::NotRegular:
            reportRecreateFailure(MessageFlags::OkOnly);
            return false;
        case OpenStatus::NoFile:
            lines << QByteArray(); // a new file starts with one empty line
            break;
        case OpenStatus::Opened:
            lines = splitLines(opened.content);
            break;
        }

        QByteArrayList out;
        out.reserve(lines.size() + 2);
        bool inSection = false;
        bool sectionEnded = false;
        bool written = false;
        for (const QByteArray& raw : lines) {
            const QString line = decodeLine(raw);
            if (!inSection)
                inSection = beginsWith(line, header);
            else if (beginsSection(line))
                sectionEnded = true;
            if (sectionEnded && !written) {
                out << newLine;
                written = true;
                out << raw;
            } else if (inSection && !written && isValueLine(line, prefix)) {
                out << newLine;
                written = true;
            } else {
                out << raw;
            }
        }
        if (!written) {
            if (!inSection)
                out << header.toUtf8();
            out << newLine;
        }

        if (!rewrite(out)) {
            reportRecreateFailure(MessageFlags::OkOnly);
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool clsIniFile::WriteProfileInt(const QString& section, const QString& key, int value) {
    return WriteProfileString(section, key, QString::number(value));
}

bool clsIniFile::WriteProfileBol(const QString& section, const QString& key, bool value) {
    return WriteProfileInt(section, key, value ? 1 : 0);
}

bool clsIniFile::DeleteProfileSection(const QString& section) {
    if (isBlank(section) || !FileExists(m_filename))
        return true;
    try {
        Opened opened;
        switch (OpenProfile(ProfileOpenMode::ReadExclusive, opened)) {
        case OpenStatus::NoFile:
        case OpenStatus::Failed:
            return true;
        case OpenStatus::CannotLock:
        case OpenStatus::NotRegular:
            reportRecreateFailure(MessageFlags::Critical);
            return false;
        case OpenStatus::Opened:
            break;
        }

        const QString header = sectionHeader(section);
        QByteArrayList kept;
        bool deleting = false;
        for (const QByteArray& raw : splitLines(opened.content)) {
            const QString line = decodeLine(raw);
            if (beginsWith(line, header))
                deleting = true;
            else if (deleting && beginsSection(line))
                deleting = false;
            if (!deleting)
                kept << raw;
        }

        if (!rewrite(kept)) {
            reportRecreateFailure(MessageFlags::Critical);
            return false;
        }
        return true;
    } catch (...) {
        return true;
    }
}
