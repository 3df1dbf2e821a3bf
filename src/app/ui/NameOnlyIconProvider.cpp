#include "NameOnlyIconProvider.h"

#include <QFileInfo>

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot())
        return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    // Folders, drives, links and special files are typed from their status, which reads no content.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType mimeType = m_mimeTypes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
}
