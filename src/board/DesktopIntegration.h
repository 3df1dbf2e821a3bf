#pragma once

#include <QString>
#include <QStringList>

// Makes the desktop know timetable files and the program: a MIME type for *.qtf, a .desktop entry
// that opens such files, an icon, and a launcher in the desktop folder when that folder exists.
// Written at every start; the callers ignore failures.
class DesktopIntegration {
public:
    static constexpr const char* mimeType = "application/x-qunta-timetable";
    static constexpr const char* entryName = "qunta.desktop";
    static constexpr const char* iconName = "qunta";

    struct Places {
        QString program;       // the executable's full path
        QString dataHome;      // the user's XDG data folder
        QString desktopFolder; // empty when there is none
    };

    // The places of this process: the running executable, XDG data home and the desktop folder.
    [[nodiscard]] static Places currentPlaces();

    // Writes every file; true when all of them were written. The desktop databases are brought up to
    // date through the prompt service when a file's content changed.
    static bool RegisterFileType(const Places& places);
    static bool CreateShortcut(const Places& places);

    [[nodiscard]] static QString mimeTypeXml();
    [[nodiscard]] static QString desktopEntry(const QString& program, bool launcher);
    // The Exec= form of one argument: quoted and escaped when it holds reserved characters.
    [[nodiscard]] static QString execQuote(const QString& argument);
    [[nodiscard]] static QString launcherPath(const Places& places);

private:
    // Writes the text unless the file already holds exactly it; `changed` tells which happened.
    static bool writeIfChanged(const QString& path, const QByteArray& content, bool* changed);
};
