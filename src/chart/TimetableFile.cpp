#include "TimetableFile.h"

#include "GanttData.h"
#include "GanttData_p.h"
#include "SqliteConnection.h"
#include "TimetableSchema.h"
#include "TimetableValueCheck.h"
#include "app/AppError.h"
#include "app/bsFileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QVariant>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <type_traits>

namespace {
// From this many items on, a timetable is written in large pages.
constexpr int largePageItems = 10000;

qint64 flag(bool value) {
    return value ? 1 : 0;
}

// One text column of the items as the save binds it: the UTF-8 form of each shared text is made once
// for a run of items that share it, and a value equal to the one bound before stays bound. One
// column's texts never replace each other within an item, so a bound text lives until the step.
class Utf8Column {
public:
    Utf8Column(const SharedTexts& texts, int parameter)
        : m_texts(texts)
        , m_parameter(parameter)
        , m_slots(1024) {}

    void bind(SqliteConnection::Statement& statement, quint32 number) {
        if (number == m_bound)
            return;
        m_bound = number;
        statement.bindUtf8(m_parameter, of(number));
    }

private:
    QByteArrayView of(quint32 number) {
        if (number == 0)
            return QByteArrayView("", 0);
        if (const std::optional<QByteArrayView> packed = m_texts.packedUtf8(number))
            return *packed;
        Slot& slot = m_slots[number % m_slots.size()];
        if (slot.number != number) {
            slot.number = number;
            slot.bytes = m_texts.utf8(number);
        }
        return slot.bytes;
    }

    struct Slot {
        quint32 number = 0;
        QByteArray bytes;
    };
    const SharedTexts& m_texts;
    int m_parameter;
    quint32 m_bound = std::numeric_limits<quint32>::max();
    std::vector<Slot> m_slots;
};

void writeItems(SqliteConnection& db, const GanttContent& c) {
    SqliteConnection::Statement items(db.handle(),
                                      "INSERT INTO items VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    std::vector<QByteArray> rowKeys;
    for (const auto& row : c.rows)
        rowKeys.push_back(row->key().toUtf8());
    enum Parameter {
        Position = 1,
        Key,
        Row,
        Caption,
        Text,
        Start,
        End,
        Style,
        Picture,
        AddOn,
        Series,
        Lock,
        AddTag,
        Tag
    };
    Utf8Column textKeys(c.texts, Key);
    Utf8Column captions(c.texts, Caption);
    Utf8Column notes(c.texts, Text);
    Utf8Column styles(c.texts, Style);
    Utf8Column pictures(c.texts, Picture);
    Utf8Column addOns(c.texts, AddOn);
    Utf8Column series(c.texts, Series);
    Utf8Column addTags(c.texts, AddTag);
    Utf8Column tags(c.texts, Tag);
    std::array<char, ItemKey::guidLength> guid{};
    qint64 position = 0;
    int boundRow = -1;
    for (const ChartItem* item : c.itemSlots) {
        if (item == nullptr)
            continue;
        const GanttContent::ItemTexts texts = c.itemTexts(*item);
        const ItemKey& key = c.keyOf(*item);
        items.bind(Position, ++position);
        if (key.isGuid()) {
            key.writeGuid(guid.data());
            items.bindUtf8(Key, QByteArrayView(guid.data(), qsizetype(guid.size())));
        } else {
            textKeys.bind(items, key.textNumber());
        }
        const int row = item->row().position() - 1;
        if (row != boundRow) {
            boundRow = row;
            items.bindUtf8(Row, rowKeys[std::size_t(row)]);
        }
        captions.bind(items, texts.caption);
        notes.bind(items, texts.text);
        items.bind(Start, qint64(item->start().seconds()));
        items.bind(End, qint64(item->end().seconds()));
        styles.bind(items, texts.styleKey);
        pictures.bind(items, texts.rare[0]);
        addOns.bind(items, texts.rare[1]);
        series.bind(items, texts.seriesKey);
        items.bind(Lock, qint64(item->movementLock()));
        addTags.bind(items, texts.rare[2]);
        tags.bind(items, texts.rare[3]);
        items.step();
        items.reset();
    }
}

// Items of equal start in the order a load gives them, that of their positions: the chart's own
// order follows insertion, which items placed since (an undone removal) no longer match.
void orderEqualStartsByPosition(std::vector<ChartItem*>& items) {
    for (auto first = items.begin(); first != items.end();) {
        const TimePoint start = (*first)->start();
        const auto last =
            std::find_if(first, items.end(), [&](const ChartItem* item) { return item->start() != start; });
        if (last - first > 1)
            std::sort(first, last,
                      [](const ChartItem* a, const ChartItem* b) { return a->position() < b->position(); });
        first = last;
    }
}

// Every row's items in the order of their starts, so that a board can read the first screen's items
// without reading all.
void writeRowIndex(SqliteConnection& db, const GanttContent& c) {
    SqliteConnection::Statement spans(db.handle(), "INSERT INTO row_items VALUES (?, ?)");
    QByteArray bytes;
    for (const auto& row : c.rows) {
        std::vector<ChartItem*> items = c.itemsOf(*row).items();
        orderEqualStartsByPosition(items);
        bytes.resize(qsizetype(items.size()) * TimetableSchema::rowSpanBytes);
        char* out = bytes.data();
        for (const ChartItem* item : items) {
            for (const qint64 value :
                 {qint64(item->start().seconds()), qint64(item->end().seconds()), qint64(item->position())}) {
                qToLittleEndian(value, out);
                out += 8;
            }
        }
        spans.bind(1, row->key());
        spans.bindBlob(2, bytes);
        spans.step();
        spans.reset();
    }
}

void writeContent(SqliteConnection& db, const GanttData& chart, const GanttContent& content) {
    db.execute(TimetableSchema::tables);

    SqliteConnection::Statement rows(db.handle(), "INSERT INTO rows VALUES (?, ?, ?, ?, ?, ?)");
    SqliteConnection::Statement cells(db.handle(), "INSERT INTO heading_cells VALUES (?, ?, ?, ?)");
    for (int position = 1; position <= chart.rows().count(); ++position) {
        const ChartRow& row = *chart.rows().byPosition(position);
        rows.bind(1, qint64(position));
        rows.bind(2, row.key());
        rows.bind(3, row.caption);
        rows.bind(4, row.styleKey);
        rows.bind(5, row.picture);
        rows.bind(6, qint64(row.height));
        rows.step();
        rows.reset();
        for (int column = 1; column <= int(row.cells.size()); ++column) {
            const ChartRow::Cell cell = row.cell(column);
            if (cell.text.isEmpty() && cell.styleKey.isEmpty())
                continue;
            cells.bind(1, row.key());
            cells.bind(2, qint64(column));
            cells.bind(3, cell.text);
            cells.bind(4, cell.styleKey);
            cells.step();
            cells.reset();
        }
    }

    SqliteConnection::Statement columns(db.handle(), "INSERT INTO heading_columns VALUES (?, ?, ?, ?)");
    for (int position = 1; position <= chart.headingColumns().count(); ++position) {
        const HeadingColumn& column = *chart.headingColumns().byPosition(position);
        columns.bind(1, qint64(position));
        columns.bind(2, column.caption);
        columns.bind(3, qint64(column.width));
        columns.bind(4, column.styleKey);
        columns.step();
        columns.reset();
    }

    SqliteConnection::Statement styles(db.handle(),
                                       "INSERT INTO styles VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int position = 1; position <= chart.styles().count(); ++position) {
        const ChartStyle& style = *chart.styles().byPosition(position);
        int p = 0;
        styles.bind(++p, qint64(position));
        styles.bind(++p, style.key());
        styles.bind(++p, qint64(style.kind));
        styles.bind(++p, flag(style.fixedItem));
        styles.bind(++p, qint64(style.backColor));
        styles.bind(++p, qint64(style.foreColor));
        styles.bind(++p, style.font.name);
        styles.bind(++p, style.font.size);
        styles.bind(++p, flag(style.font.bold));
        styles.bind(++p, flag(style.font.italic));
        styles.bind(++p, flag(style.font.underline));
        styles.bind(++p, flag(style.font.strikethrough));
        styles.bind(++p, qint64(style.borderShown));
        styles.bind(++p, qint64(style.borderAppearance));
        styles.bind(++p, qint64(style.horizontalAlignment));
        styles.bind(++p, qint64(style.verticalAlignment));
        styles.bind(++p, flag(style.focusShown));
        styles.bind(++p, qint64(style.focusDistanceX));
        styles.bind(++p, qint64(style.focusDistanceY));
        styles.bind(++p, flag(style.clipCaption));
        styles.bind(++p, qint64(style.captionIndent));
        styles.bind(++p, style.freeText);
        styles.step();
        styles.reset();
    }

    writeItems(db, content);
    writeRowIndex(db, content);

    SqliteConnection::Statement settings(db.handle(), "INSERT INTO settings VALUES (?, ?)");
    TimetableSchema::forEachSetting(chart.settings(), [&settings](const QString& name, const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        settings.bind(1, name);
        if constexpr (std::is_same_v<T, bool>)
            settings.bind(2, flag(value));
        else if constexpr (std::is_same_v<T, TimePoint>)
            settings.bind(2, qint64(value.seconds()));
        else if constexpr (std::is_same_v<T, QString> || std::is_same_v<T, double>)
            settings.bind(2, value);
        else
            settings.bind(2, qint64(value));
        settings.step();
        settings.reset();
    });
}

} // namespace

void TimetableFile::write(const GanttData& chart, const QString& path) {
    // A link stays a link: the file it points to is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const auto failed = [&path](const QString& reason) {
        return AppError(QStringLiteral("The timetable '%1' could not be saved: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
    };
    QString temporary;
    try {
        // A FIFO or a device in the way is never opened, nor replaced.
        if (!IsRegularOrMissing(target))
            throw AppError(QStringLiteral("it is not a regular file."));
        TimetableValueCheck::checkForSave(chart);
        temporary = CreateTemporaryBeside(target);
        {
            // Only this thread knows the new file: SQLite need not lock the connection for each call.
            SqliteConnection db(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
            // Nothing points at the temporary file before the rename, so it needs no journal; larger
            // pages make fewer, fuller pages of a large timetable, while a small one keeps small pages
            // and stays a small file.
            db.execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
            if (chart.items().count() >= largePageItems)
                db.execute("PRAGMA page_size = 16384;");
            db.execute(QByteArray("PRAGMA application_id = " + QByteArray::number(applicationId) +
                                  "; PRAGMA user_version = " + QByteArray::number(schemaVersion) + ";")
                           .constData());
            db.execute("BEGIN");
            writeContent(db, chart, chart.d->c);
            db.execute("COMMIT");
            db.close();
        }
        SyncFile(temporary);
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
            throw AppError(QString::fromLocal8Bit(std::strerror(errno)));
    } catch (const AppError& error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw failed(error.description());
    } catch (const std::exception& error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw failed(QString::fromLocal8Bit(error.what()));
    }
    SyncFolder(QFileInfo(target).absolutePath());
}
