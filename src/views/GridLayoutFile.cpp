#include "GridLayoutFile.h"

#include "app/AppError.h"
#include "app/bsFileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString formatName = QStringLiteral("qunta-grid-layouts");

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw AppError(QStringLiteral("The grid layout file '%1' %2").arg(path, reason), 5,
                   QStringLiteral("GridLayoutFile"));
}

// Values of the wrong type leave the built-in value in place.
void readInt(const QJsonObject& object, const char* name, int& value) {
    const QJsonValue field = object.value(QLatin1String(name));
    if (field.isDouble())
        value = int(std::clamp(field.toDouble(), -1e9, 1e9));
}

void readBool(const QJsonObject& object, const char* name, bool& value) {
    const QJsonValue field = object.value(QLatin1String(name));
    if (field.isBool())
        value = field.toBool();
}

void readText(const QJsonObject& object, const char* name, QString& value) {
    const QJsonValue field = object.value(QLatin1String(name));
    if (field.isString())
        value = field.toString();
}

void readColour(const QJsonObject& object, const char* name, quint32& value) {
    const QJsonValue field = object.value(QLatin1String(name));
    if (field.isDouble() && field.toDouble() >= 0 && field.toDouble() <= 0xFFFFFF)
        value = quint32(field.toDouble());
}

QJsonObject fontToJson(const FontDescription& font) {
    return {{"name", font.name},     {"size", font.size},           {"bold", font.bold},
            {"italic", font.italic}, {"underline", font.underline}, {"strikethrough", font.strikethrough}};
}

void readFont(const QJsonObject& object, const char* name, FontDescription& font) {
    const QJsonObject source = object.value(QLatin1String(name)).toObject();
    readText(source, "name", font.name);
    if (source.value("size").isDouble())
        font.size = source.value("size").toDouble();
    readBool(source, "bold", font.bold);
    readBool(source, "italic", font.italic);
    readBool(source, "underline", font.underline);
    readBool(source, "strikethrough", font.strikethrough);
}

QJsonObject styleToJson(const GridRowStyle& style) {
    return {{"backColor", qint64(style.backColor)}, {"foreColor", qint64(style.foreColor)}};
}

void readStyle(const QJsonObject& styles, const char* name, GridRowStyle& style) {
    const QJsonObject source = styles.value(QLatin1String(name)).toObject();
    readColour(source, "backColor", style.backColor);
    readColour(source, "foreColor", style.foreColor);
}

QJsonObject columnToJson(int index, const GridColumn& column) {
    return {{"index", index},
            {"caption", column.caption},
            {"visible", column.visible},
            {"displayPosition", column.displayPosition},
            {"width", column.width},
            {"numberFormat", column.numberFormat},
            {"font", fontToJson(column.font)},
            {"backColor", qint64(column.backColor)},
            {"foreColor", qint64(column.foreColor)},
            {"merge", column.merge},
            {"allowSizing", column.allowSizing},
            {"alignment", column.alignment}};
}

void readColumn(const QJsonObject& source, GridColumn& column) {
    readText(source, "caption", column.caption);
    readBool(source, "visible", column.visible);
    readInt(source, "displayPosition", column.displayPosition);
    readInt(source, "width", column.width);
    readText(source, "numberFormat", column.numberFormat);
    readFont(source, "font", column.font);
    readColour(source, "backColor", column.backColor);
    readColour(source, "foreColor", column.foreColor);
    readBool(source, "merge", column.merge);
    readBool(source, "allowSizing", column.allowSizing);
    readInt(source, "alignment", column.alignment);
}

QJsonObject optionsToJson(const GridOptions& options) {
    return {{"multipleLines", options.multipleLines},
            {"marqueeStyle", options.marqueeStyle},
            {"tabAction", options.tabAction},
            {"multiSelect", options.multiSelect},
            {"rowDividerStyle", options.rowDividerStyle},
            {"alternatingRowStyle", options.alternatingRowStyle},
            {"allowSizing", options.allowSizing},
            {"allowRowSizing", options.allowRowSizing},
            {"allowColMove", options.allowColMove},
            {"allowArrows", options.allowArrows},
            {"tabAcrossSplits", options.tabAcrossSplits},
            {"wrapCellPointer", options.wrapCellPointer},
            {"rowHeight", options.rowHeight},
            {"font", fontToJson(options.font)},
            {"styles", QJsonObject{{"normal", styleToJson(options.normal)},
                                   {"selected", styleToJson(options.selected)},
                                   {"highlightRow", styleToJson(options.highlightRow)},
                                   {"evenRow", styleToJson(options.evenRow)},
                                   {"oddRow", styleToJson(options.oddRow)}}}};
}

void readOptions(const QJsonObject& source, GridOptions& options) {
    readInt(source, "multipleLines", options.multipleLines);
    readInt(source, "marqueeStyle", options.marqueeStyle);
    readInt(source, "tabAction", options.tabAction);
    readInt(source, "multiSelect", options.multiSelect);
    readInt(source, "rowDividerStyle", options.rowDividerStyle);
    readBool(source, "alternatingRowStyle", options.alternatingRowStyle);
    readBool(source, "allowSizing", options.allowSizing);
    readBool(source, "allowRowSizing", options.allowRowSizing);
    readBool(source, "allowColMove", options.allowColMove);
    readBool(source, "allowArrows", options.allowArrows);
    readBool(source, "tabAcrossSplits", options.tabAcrossSplits);
    readBool(source, "wrapCellPointer", options.wrapCellPointer);
    readInt(source, "rowHeight", options.rowHeight);
    readFont(source, "font", options.font);
    const QJsonObject styles = source.value("styles").toObject();
    readStyle(styles, "normal", options.normal);
    readStyle(styles, "selected", options.selected);
    readStyle(styles, "highlightRow", options.highlightRow);
    readStyle(styles, "evenRow", options.evenRow);
    readStyle(styles, "oddRow", options.oddRow);
}

QByteArray readBytes(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        fail(path, QStringLiteral("does not exist."));
    if (info.size() > GridLayoutFile::largestFile)
        fail(path, QStringLiteral("is too large to be a layout file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("cannot be read: ") + file.errorString());
    return file.read(GridLayoutFile::largestFile + 1);
}
} // namespace

QJsonObject GridLayoutFile::toJson(const GridLayout& layout) {
    QJsonArray columns;
    for (int i = 0; i < GridLayout::columnCount; ++i)
        columns.append(columnToJson(i, layout.columns[std::size_t(i)]));
    return {{"options", optionsToJson(layout.options)}, {"columns", columns}};
}

GridLayout GridLayoutFile::fromJson(const QJsonObject& object) {
    GridLayout layout = GridLayout::builtIn();
    readOptions(object.value("options").toObject(), layout.options);
    const QJsonArray columns = object.value("columns").toArray();
    for (const QJsonValue& entry : columns) {
        const QJsonValue index = entry.toObject().value("index");
        if (!index.isDouble() || index.toDouble() < 0 || index.toDouble() >= GridLayout::columnCount ||
            index.toDouble() != double(index.toInt()))
            continue;
        readColumn(entry.toObject(), layout.columns[std::size_t(index.toInt())]);
    }
    layout.normalise();
    return layout;
}

QJsonObject GridLayoutFile::readLayouts(const QString& path) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(readBytes(path), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        fail(path, QStringLiteral("is not a layout file."));
    const QJsonObject root = document.object();
    if (root.value("format").toString() != formatName)
        fail(path, QStringLiteral("is not a layout file."));
    if (root.value("version").toInt() != version)
        fail(path, QStringLiteral("has the format version %1; this program reads version %2.")
                       .arg(root.value("version").toInt())
                       .arg(version));
    return root.value("layouts").toObject();
}

GridLayout GridLayoutFile::read(const QString& path, const QString& name) {
    const QJsonValue layout = readLayouts(path).value(name);
    if (!layout.isObject())
        fail(path, QStringLiteral("holds no layout '%1'.").arg(name));
    return fromJson(layout.toObject());
}

void GridLayoutFile::write(const QString& path, const QString& name, const GridLayout& layout) {
    QJsonObject layouts;
    if (QFileInfo(path).size() > 0) {
        try {
            layouts = readLayouts(path);
        } catch (const AppError&) {
            // What the file held cannot be read here; it stays beside the new file.
            QFile::remove(path + ".bak");
            if (!QFile::copy(path, path + ".bak"))
                fail(path, QStringLiteral("cannot be kept as '%1.bak'.").arg(path));
        }
    }
    layouts.insert(name, toJson(layout));
    const QJsonObject root{{"format", formatName}, {"version", version}, {"layouts", layouts}};
    QString reason;
    if (!WriteFileAtomically(path, QJsonDocument(root).toJson(), &reason))
        fail(path, QStringLiteral("cannot be written: ") + reason);
}
