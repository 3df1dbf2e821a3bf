#include "clsMRU.h"

#include "clsIniFile.h"

namespace {
const QString section = QStringLiteral("RECENT");
const QString keyPrefix = QStringLiteral("FILE");
} // namespace

void clsMRU::Add(const QString& path) {
    Remove(path);
    m_entries.prepend(path);
    while (m_entries.size() > capacity)
        m_entries.removeLast();
}

QString clsMRU::Item(int index) const {
    if (index < 1 || index > m_entries.size())
        return {};
    return m_entries.at(index - 1);
}

void clsMRU::Remove(const QString& path) {
    m_entries.removeIf([&](const QString& entry) { return entry.compare(path, Qt::CaseInsensitive) == 0; });
}

void clsMRU::Load(const clsIniFile& profile) {
    Clear();
    if (profile.filename().isEmpty())
        return;
    const QStringList lines = profile.ReadProfileSection(section);
    // Walking backwards and putting each one first leaves the first line first; keys are not looked at.
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const qsizetype equals = line->indexOf('=');
        Add(equals < 0 ? *line : line->mid(equals + 1));
    }
}

void clsMRU::Save(clsIniFile& profile) const {
    profile.DeleteProfileSection(section);
    for (int i = 1; i <= capacity; ++i) {
        const QString entry = Item(i);
        if (entry.isEmpty())
            break;
        profile.WriteProfileString(section, keyPrefix + QString::number(i), entry);
    }
}
