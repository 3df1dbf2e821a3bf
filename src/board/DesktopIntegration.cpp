#include "DesktopIntegration.h"

#include "BoardIcons.h"
#include "app/GlobalData.h"
#include "app/UserPrompts.h"
#include "app/bsFileUtil.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QStandardPaths>

DesktopIntegration::Places DesktopIntegration::currentPlaces() {
    Places places;
    places.program = QCoreApplication::applicationFilePath();
    places.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString desktop = GetSpecialFolder(25);
    if (!desktop.isEmpty())
        places.desktopFolder = QDir::cleanPath(desktop);
    return places;
}

QString DesktopIntegration::mimeTypeXml() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="%1">
    <comment>VELKOR resource file</comment>
    <glob pattern="*.qtf"/>
    <generic-icon name="x-office-calendar"/>
  </mime-type>
</mime-info>
)")
        .arg(mimeType);
}

QString DesktopIntegration::execQuote(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // Inside a desktop entry value every backslash is itself escaped once more.
    return quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
}

QString DesktopIntegration::desktopEntry(const QString& program, bool launcher) {
    QStringList lines = {
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Version=1.0"),
        "Name=" + AppTitle(),
        QStringLiteral("GenericName=Resource planner"),
        launcher ? QStringLiteral("Comment=Start VELKOR timeplaner")
                 : QStringLiteral("Comment=Plan people, rooms and vehicles on a timetable"),
        "Exec=" + execQuote(program) + (launcher ? QString() : QStringLiteral(" %f")),
        "Path=" + QFileInfo(program).absolutePath(),
        QStringLiteral("Icon=%1").arg(iconName),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Categories=Office;ProjectManagement;"),
        QStringLiteral("StartupNotify=true"),
    };
    if (!launcher)
        lines << QStringLiteral("MimeType=%1;").arg(mimeType);
    return lines.join('\n') + '\n';
}

QString DesktopIntegration::launcherPath(const Places& places) {
    if (places.desktopFolder.isEmpty())
        return {};
    return places.desktopFolder + '/' + AppTitle() + ".desktop";
}

bool DesktopIntegration::writeIfChanged(const QString& path, const QByteArray& content, bool* changed) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) {
        *changed = false;
        return true;
    }
    existing.close();
    *changed = true;
    return QDir().mkpath(QFileInfo(path).absolutePath()) && WriteFileAtomically(path, content);
}

bool DesktopIntegration::RegisterFileType(const Places& places) {
    if (places.dataHome.isEmpty())
        return false;
    const QString mimeFolder = places.dataHome + "/mime";
    const QString applications = places.dataHome + "/applications";
    bool mimeChanged = false;
    bool entryChanged = false;
    bool ok =
        writeIfChanged(mimeFolder + "/packages/qunta-timetable.xml", mimeTypeXml().toUtf8(), &mimeChanged);
    ok = writeIfChanged(applications + '/' + entryName, desktopEntry(places.program, false).toUtf8(),
                        &entryChanged) &&
         ok;

    const QString iconPath = places.dataHome + "/icons/hicolor/64x64/apps/" + iconName + ".png";
    if (!QFileInfo::exists(iconPath)) {
        QByteArray png;
        QBuffer buffer(&png);
        bool changed = false;
        ok = buffer.open(QIODevice::WriteOnly) && BoardIcons::appIcon().pixmap(64, 64).save(&buffer, "PNG") &&
             writeIfChanged(iconPath, png, &changed) && ok;
    }

    // The databases are what file managers and xdg-mime read; rebuild them only when something changed.
    const QString updateMime = QStandardPaths::findExecutable("update-mime-database");
    if ((mimeChanged || !QFileInfo::exists(mimeFolder + "/mime.cache")) && !updateMime.isEmpty())
        prompts().startDetached(updateMime, {mimeFolder});
    const QString updateDesktop = QStandardPaths::findExecutable("update-desktop-database");
    if ((entryChanged || !QFileInfo::exists(applications + "/mimeinfo.cache")) && !updateDesktop.isEmpty())
        prompts().startDetached(updateDesktop, {applications});
    return ok;
}

bool DesktopIntegration::CreateShortcut(const Places& places) {
    const QString path = launcherPath(places);
    if (path.isEmpty())
        return false;
    bool changed = false;
    if (!writeIfChanged(path, desktopEntry(places.program, true).toUtf8(), &changed))
        return false;
    // Desktops start only launchers marked as executable.
    return QFile::setPermissions(path,
                                 QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}
