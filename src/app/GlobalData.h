#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class clsIniFile;
class clsSettings;
class clsGeneralOptions;
class GanttData;
class clsItems;

// The state every window shares, one per process. Start-up owns the objects and registers them here.
struct GlobalData {
    clsIniFile* profile = nullptr;
    clsSettings* settings = nullptr;
    GanttData* chart = nullptr;
    clsItems* items = nullptr;
    clsGeneralOptions* options = nullptr;
    QString commandLine;
    bool ownsFileLock = false;
};

GlobalData& globals();

QString AppTitle();
QString AppVersion();
void SetAppVersion(const QString& version);

// The message box of the whole program; the caption is AppTitle() when the title is empty.
int ShowMessage(const QString& text, int flags = 0, const QString& title = {});

// Replaces the first remaining "%s" by each argument in turn; surplus placeholders stay.
QString FormatMsg(const QString& format, const QVariantList& arguments);
template <typename... Args> QString FormatMsg(const QString& format, const Args&... arguments) {
    return FormatMsg(format, QVariantList{QVariant::fromValue(arguments)...});
}

// Folder ids: 5 the user's documents folder, 25 the common desktop folder.
// The path ends in a separator; empty when the folder cannot be resolved.
QString GetSpecialFolder(int folderId);

bool IsReadOnly();
// Stores the flag and tells the listener (the board switches editing off or on).
void SetReadOnly(bool readOnly);
void setReadOnlyListener(std::function<void(bool)> listener);
