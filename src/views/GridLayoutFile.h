#pragma once

#include "GridLayout.h"

#include <QJsonObject>
#include <QString>

// A grid layout file: a JSON document of named layouts (docs/grid-layout-format.md).
class GridLayoutFile {
public:
    static constexpr int version = 1;
    // Larger files are refused unread: a layout takes a few kilobytes.
    static constexpr qint64 largestFile = 4 * 1024 * 1024;

    // The named layout. Throws AppError when the file cannot be read, is no layout file of this
    // version or holds no layout of that name. Values out of range fall back to the built-in ones,
    // columns the grid does not have are passed over.
    [[nodiscard]] static GridLayout read(const QString& path, const QString& name);
    // Stores the layout under the name, keeping the file's other layouts, through a temporary file
    // and a rename. An existing file that is no layout file of this version is kept beside it as
    // path + ".bak". Throws AppError when the file cannot be written.
    static void write(const QString& path, const QString& name, const GridLayout& layout);

    [[nodiscard]] static QJsonObject toJson(const GridLayout& layout);
    [[nodiscard]] static GridLayout fromJson(const QJsonObject& object);

private:
    // The layouts of a readable file; throws AppError otherwise.
    [[nodiscard]] static QJsonObject readLayouts(const QString& path);
};
