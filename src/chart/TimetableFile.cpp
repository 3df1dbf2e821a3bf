#include "TimetableFile.h"

#include "GanttData.h"
#include "SqliteConnection.h"
#include "TimetableSchema.h"
#include "TimetableValueCheck.h"
#include "app/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <type_traits>
#include <unistd.h>

namespace {
qint64 flag(bool value) {
    return value ? 1 : 0;
}

void writeContent(SqliteConnection& db, const GanttData& chart) {
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

    SqliteConnection::Statement items(db.handle(),
                                      "INSERT INTO items VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    std::int64_t longest = 0;
    for (int position = 1; position <= chart.items().count(); ++position) {
        const ChartItem& item = *chart.items().byPosition(position);
        longest = std::max(longest, item.end() - item.start());
        int p = 0;
        items.bind(++p, qint64(position));
        items.bind(++p, item.key());
        items.bind(++p, item.rowKey());
        items.bind(++p, item.caption());
        items.bind(++p, item.text());
        items.bind(++p, qint64(item.start().seconds()));
        items.bind(++p, qint64(item.end().seconds()));
        items.bind(++p, item.styleKey());
        items.bind(++p, item.picture());
        items.bind(++p, item.addOnData());
        items.bind(++p, item.seriesKey());
        items.bind(++p, qint64(item.movementLock()));
        items.bind(++p, item.addTag());
        items.bind(++p, item.tag());
        items.step();
        items.reset();
    }
    db.execute(TimetableSchema::rowIndex);
    SqliteConnection::Statement extent(db.handle(), "INSERT INTO item_extent VALUES (?, ?)");
    extent.bind(1, qint64(chart.items().count()));
    extent.bind(2, qint64(longest));
    extent.step();

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

// Makes the data of an open file durable before it is renamed into place.
void syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw AppError(QString::fromLocal8Bit(std::strerror(error)));
    }
    ::close(fd);
}

// Creates an empty file with a fresh name beside the target.
QString createTemporaryFile(const QString& path) {
    for (int attempt = 0;; ++attempt) {
        const QString candidate =
            path + QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16,
                                                 QChar(u'0'));
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST || attempt > 100)
            throw AppError(QString::fromLocal8Bit(std::strerror(errno)));
    }
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
        TimetableValueCheck::checkForSave(chart);
        temporary = createTemporaryFile(target);
        {
            SqliteConnection db(temporary, SQLITE_OPEN_READWRITE);
            // Nothing points at the temporary file before the rename, so it needs no journal.
            db.execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
            db.execute(QByteArray("PRAGMA application_id = " + QByteArray::number(applicationId) +
                                  "; PRAGMA user_version = " + QByteArray::number(schemaVersion) + ";")
                           .constData());
            db.execute("BEGIN");
            writeContent(db, chart);
            db.execute("COMMIT");
            db.close();
        }
        syncFile(temporary);
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
    // The rename itself becomes durable with the folder; a failure here loses nothing already written.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}
