#pragma once

#include <QString>
#include <QStringList>

class clsIniFile;

// The recent files list: at most five full paths, most recent first, no two equal when letter case
// is ignored. It lives in the profile file (section RECENT, keys FILE1..FILE5), so every instance
// that uses the same profile sees the files the others opened.
class clsMRU {
public:
    static constexpr int capacity = 5;

    // Puts the path first; an entry equal to it apart from letter case goes away.
    void Add(const QString& path);
    void Clear() { m_entries.clear(); }
    [[nodiscard]] int Count() const { return int(m_entries.size()); }
    // 1-based; an empty text when there is no such entry.
    [[nodiscard]] QString Item(int index) const;
    [[nodiscard]] int Number() const { return capacity; }
    void Remove(const QString& path);

    // Empties the list and fills it from the profile's section; a profile without a file name only
    // empties the list.
    void Load(const clsIniFile& profile);
    // Writes the list to the profile, replacing the whole section.
    void Save(clsIniFile& profile) const;

private:
    QStringList m_entries;
};
