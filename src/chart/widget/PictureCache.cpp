#include "PictureCache.h"

#include <QFileInfo>

QImage PictureCache::scaled(const QString& path, int height) {
    if (path.isEmpty() || height <= 0)
        return {};
    const QPair<QString, int> key(path, height);
    const auto found = m_scaled.constFind(key);
    if (found != m_scaled.constEnd())
        return *found;

    auto original = m_originals.constFind(path);
    if (original == m_originals.constEnd()) {
        if (m_originals.size() >= maxEntries)
            m_originals.clear();
        // A file that cannot be read is remembered as a null image, so that it is not read again. Only
        // regular files are read: a device or a pipe named by a booking would stall the painting.
        original = m_originals.insert(path, QFileInfo(path).isFile() ? QImage(path) : QImage());
    }
    QImage image;
    if (!original->isNull())
        image = original->scaledToHeight(height, Qt::SmoothTransformation);
    if (m_scaled.size() >= maxEntries)
        m_scaled.clear();
    m_scaled.insert(key, image);
    return image;
}

void PictureCache::clear() {
    m_originals.clear();
    m_scaled.clear();
}
