#pragma once

#include <QHash>
#include <QImage>
#include <QString>

// Pictures of rows and bars, loaded once and kept scaled to the heights they are drawn at. Images
// rather than pixmaps, so that rendering works without a display.
class PictureCache {
public:
    // The picture of the file scaled to the height, keeping its proportions; a null image when the
    // file cannot be read.
    [[nodiscard]] QImage scaled(const QString& path, int height);
    void clear();

private:
    static constexpr int maxEntries = 512;
    QHash<QString, QImage> m_originals;
    QHash<QPair<QString, int>, QImage> m_scaled;
};
