#include "GlobalData.h"

#include "UserPrompts.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString appVersion;
bool readOnly = false;
std::function<void(bool)> readOnlyListener;

QString withTrailingSeparator(const QString& path) {
    return path.endsWith('/') ? path : path + '/';
}
} // namespace

GlobalData& globals() {
    static GlobalData data;
    return data;
}

QString AppTitle() {
    return QStringLiteral("VELKOR Timeplaner");
}

QString AppVersion() {
    return appVersion;
}

void SetAppVersion(const QString& version) {
    appVersion = version;
}

int ShowMessage(const QString& text, int flags, const QString& title) {
    return prompts().showMessage(text, flags, title.isEmpty() ? AppTitle() : title);
}

QString FormatMsg(const QString& format, const QVariantList& arguments) {
    QString result = format;
    qsizetype from = 0;
    for (const QVariant& argument : arguments) {
        const qsizetype at = result.indexOf("%s", from);
        if (at < 0)
            break;
        const QString text = argument.toString();
        result.replace(at, 2, text);
        from = at + text.size();
    }
    return result;
}

QString GetSpecialFolder(int folderId) {
    QString path;
    if (folderId == 5)
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    else if (folderId == 25)
        path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (path.isEmpty() || !QDir(path).exists())
        return {};
    return withTrailingSeparator(path);
}

bool IsReadOnly() {
    return readOnly;
}

void SetReadOnly(bool flag) {
    readOnly = flag;
    if (readOnlyListener)
        readOnlyListener(flag);
}

void setReadOnlyListener(std::function<void(bool)> listener) {
    readOnlyListener = std::move(listener);
}
