#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

// Icons and types of a file dialog's entries from their names and kinds alone. The standard provider
// reads a file's first bytes to type it, and a read from a pipe, a device or a file of /proc may never
// return: the dialog, and the program with it, would hang on the folder.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    [[nodiscard]] QIcon icon(const QFileInfo& info) const override;
    [[nodiscard]] QString type(const QFileInfo& info) const override;

private:
    QMimeDatabase m_mimeTypes;
};
