#include "TimetableReader.h"

#include "GanttContent.h"
#include "KeyRules.h"
#include "SqliteConnection.h"
#include "TimetableFile.h"
#include "TimetableSchema.h"
#include "TimetableValueCheck.h"
#include "app/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QVariant>
#include <QtEndian>
#include <algorithm>
#include <deque>
#include <limits>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace {
using Check = TimetableValueCheck;

// A heading cell beyond this column is ignored when reading: it cannot be a real column.
constexpr int maximumCellColumn = 4096;
// The texts of one column are remembered by their bytes, so that a repeated text is neither converted
// nor checked again. A column whose first texts hardly repeat (notes with a phone number) keeps its
// texts as they come instead: looking for equal ones would cost more than it saves.
constexpr qsizetype rememberedTexts = 1 << 16;
constexpr int sampledTexts = 4096;
// A stored item takes at least this many bytes of the file: room is never reserved beyond that.
constexpr qint64 smallestItemBytes = 32;
constexpr qint64 progressStep = 1024;

// Values remembered by the bytes of a text, looked up without making a QByteArray or QString: a flat
// table of hashes, compared byte by byte only where a hash agrees.
template <typename Value> class ByBytes {
public:
    [[nodiscard]] const Value* find(QByteArrayView bytes) const {
        const std::string_view wanted = view(bytes);
        const std::uint64_t hash = hashOf(wanted);
        for (std::size_t at = hash & m_mask; m_places[at].kept != 0; at = (at + 1) & m_mask) {
            const Place& place = m_places[at];
            if (place.hash == hash && m_kept[place.kept - 1] == wanted)
                return &place.value;
        }
        return nullptr;
    }
    // The bytes must not be there yet.
    void insert(QByteArrayView bytes, Value value) {
        if ((m_kept.size() + 1) * 2 > m_places.size())
            grow();
        const std::string_view kept = m_kept.emplace_back(view(bytes));
        place({hashOf(kept), quint32(m_kept.size()), value});
    }
    [[nodiscard]] qsizetype size() const { return qsizetype(m_kept.size()); }
    void clear() { *this = ByBytes(); }

private:
    struct Place {
        std::uint64_t hash = 0;
        quint32 kept = 0; // 1 + the index of the bytes; 0 for a free place
        Value value{};
    };

    static std::string_view view(QByteArrayView bytes) { return {bytes.data(), std::size_t(bytes.size())}; }
    static std::uint64_t hashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

    void place(const Place& entry) {
        std::size_t at = entry.hash & m_mask;
        while (m_places[at].kept != 0)
            at = (at + 1) & m_mask;
        m_places[at] = entry;
    }
    void grow() {
        std::vector<Place> old(m_places.size() * 2);
        old.swap(m_places);
        m_mask = m_places.size() - 1;
        for (const Place& entry : old) {
            if (entry.kept != 0)
                place(entry);
        }
    }

    std::vector<Place> m_places = std::vector<Place>(16);
    std::size_t m_mask = 15;
    std::deque<std::string> m_kept;
};

const char* const itemColumns = "key, row_key, caption, text, start_time, end_time, style_key, picture, "
                                "addon_data, series_key, movement_lock, add_tag, tag";

// One text column of the items, checked as the file's limits say and shared among the items.
class TextColumn {
public:
    TextColumn(int column, qsizetype columnLimit, const char* columnWhat, Check::Text kind,
               const QString& objectWhat, bool alwaysShared = false)
        : m_column(column)
        , m_columnLimit(columnLimit)
        , m_columnWhat(columnWhat)
        , m_kind(kind)
        , m_objectWhat(objectWhat)
        , m_alwaysShared(alwaysShared) {}

    quint32 read(const SqliteConnection::Statement& row, SharedTexts& texts) {
        const QByteArrayView bytes = Check::utf8(row, m_column, m_columnLimit, m_columnWhat);
        if (bytes.isEmpty())
            return 0;
        if (m_sharing) {
            if (const quint32* seen = m_seen.find(bytes)) {
                ++m_repeats;
                return *seen;
            }
        }
        const QString text = QString::fromUtf8(bytes);
        Check::checkText(text, m_kind, m_objectWhat);
        if (!m_sharing)
            return texts.addUtf8(bytes);
        const quint32 number = texts.intern(text);
        if (m_seen.size() < rememberedTexts)
            m_seen.insert(bytes, number);
        if (!m_alwaysShared && m_seen.size() == sampledTexts && m_repeats < sampledTexts) {
            m_sharing = false;
            m_seen.clear();
        }
        return number;
    }

private:
    int m_column;
    qsizetype m_columnLimit;
    const char* m_columnWhat;
    Check::Text m_kind;
    QString m_objectWhat;
    ByBytes<quint32> m_seen;
    qint64 m_repeats = 0;
    bool m_alwaysShared;
    bool m_sharing = true;
};

// Turns result rows of `itemColumns` into items of one content.
class ItemRows {
public:
    explicit ItemRows(GanttContent& content)
        : m_content(content) {}

    // nullptr when the key is there already and `duplicates` says to skip it; else a duplicate throws.
    ChartItem* add(const SqliteConnection::Statement& row, bool deferOrder, bool skipDuplicates) {
        const ItemKey key = readKey(row);
        ChartRow& chartRow = readRow(row);
        const TimePoint start = Check::time(row, 4, "the start of an item");
        const TimePoint end = Check::time(row, 5, "the end of an item");
        GanttContent::ItemFields fields;
        SharedTexts& texts = m_content.texts;
        fields.caption = m_caption.read(row, texts);
        fields.text = m_text.read(row, texts);
        fields.styleKey = m_styleKey.read(row, texts);
        fields.rare[0] = m_picture.read(row, texts);
        fields.rare[1] = m_addOnData.read(row, texts);
        fields.seriesKey = m_seriesKey.read(row, texts);
        fields.movementLock = Check::integer(row, 10, "a movement lock");
        Check::checkRange(fields.movementLock, 0, 2, QStringLiteral("the movement lock"));
        fields.rare[2] = m_addTag.read(row, texts);
        fields.rare[3] = m_tag.read(row, texts);
        ChartItem* item = m_content.addItem(chartRow, start, end, key, deferOrder);
        if (item == nullptr) {
            if (skipDuplicates)
                return nullptr;
            KeyRules::checkNewKey(m_content.keyText(key), QStringLiteral("item"), true);
        }
        m_content.setFields(*item, fields);
        return item;
    }

private:
    ItemKey readKey(const SqliteConnection::Statement& row) {
        const QByteArrayView bytes = Check::utf8(row, 0, Check::keyBytes, "an item key");
        if (const auto guid = ItemKey::fromGuidUtf8(bytes.data(), bytes.size()))
            return *guid;
        const QString key = QString::fromUtf8(bytes);
        Check::checkText(key, Check::Text::Key, QStringLiteral("the key of an item"));
        KeyRules::checkNewKey(key, QStringLiteral("item"), false);
        return m_content.keyFor(key);
    }

    ChartRow& readRow(const SqliteConnection::Statement& row) {
        const QByteArrayView bytes = Check::utf8(row, 1, Check::keyBytes, "the resource of an item");
        if (ChartRow* const* seen = m_rows.find(bytes))
            return **seen;
        const QString key = QString::fromUtf8(bytes);
        Check::checkText(key, Check::Text::Key, QStringLiteral("the resource of an item"));
        ChartRow* found = m_content.rowByKey.value(key);
        if (found == nullptr) {
            KeyRules::checkNewKey(key, QStringLiteral("resource"), false);
            found = &m_content.addRow(key, key, QString(), QString(), 0);
        }
        m_rows.insert(bytes, found);
        return *found;
    }

    GanttContent& m_content;
    ByBytes<ChartRow*> m_rows;
    TextColumn m_caption{2, Check::textBytes, "a caption", Check::Text::Line,
                         QStringLiteral("the caption of an item")};
    TextColumn m_text{3, Check::textBytes, "an item's text", Check::Text::Long,
                      QStringLiteral("the text of an item")};
    TextColumn m_styleKey{6, Check::keyBytes, "a style key", Check::Text::Key,
                          QStringLiteral("the style of an item")};
    TextColumn m_picture{7, Check::textBytes, "a picture", Check::Text::Line,
                         QStringLiteral("the picture of an item")};
    TextColumn m_addOnData{8, Check::textBytes, "an item's add-on data", Check::Text::Long,
                           QStringLiteral("the add-on data of an item")};
    TextColumn m_seriesKey{
        9, Check::keyBytes, "a series key", Check::Text::Key, QStringLiteral("the series of an item"), true};
    TextColumn m_addTag{11, Check::textBytes, "a tag", Check::Text::Line,
                        QStringLiteral("the add tag of an item")};
    TextColumn m_tag{12, Check::textBytes, "a tag", Check::Text::Line, QStringLiteral("the tag of an item")};
};

void readRows(SqliteConnection& db, GanttContent& c) {
    SqliteConnection::Statement s(
        db.handle(), "SELECT key, caption, style_key, picture, height FROM rows ORDER BY position");
    while (s.step()) {
        const QString key = Check::key(s, 0, "a resource key");
        KeyRules::checkNewKey(key, QStringLiteral("resource"), c.rowByKey.contains(key));
        Check::checkRow(c.addRow(key, Check::text(s, 1, "a caption"), Check::key(s, 2, "a style key"),
                                 Check::text(s, 3, "a picture"), Check::integer(s, 4, "a row height")));
    }
}

void readColumns(SqliteConnection& db, GanttContent& c) {
    SqliteConnection::Statement s(db.handle(),
                                  "SELECT caption, width, style_key FROM heading_columns ORDER BY position");
    while (s.step()) {
        if (int(c.columns.size()) == Check::maximumHeadingColumns)
            throw AppError(
                QStringLiteral("there are more than %1 heading columns.").arg(Check::maximumHeadingColumns));
        c.columns.push_back(std::make_unique<HeadingColumn>(
            HeadingColumn{Check::text(s, 0, "a caption"), Check::integer(s, 1, "a column width"),
                          Check::key(s, 2, "a style key")}));
        Check::checkColumn(*c.columns.back());
    }
}

void readCells(SqliteConnection& db, GanttContent& c) {
    SqliteConnection::Statement s(db.handle(),
                                  "SELECT row_key, column_position, text, style_key FROM heading_cells");
    while (s.step()) {
        ChartRow* row = c.rowByKey.value(Check::key(s, 0, "a resource key"));
        const int column = Check::integer(s, 1, "a heading column");
        const QString text = Check::text(s, 2, "a cell text");
        const QString styleKey = Check::key(s, 3, "a style key");
        Check::checkText(text, Check::Text::Line, QStringLiteral("the text of a heading cell"));
        if (row && column >= 1 && column <= maximumCellColumn)
            row->setCell(column, text, styleKey);
    }
}

void readStyles(SqliteConnection& db, GanttContent& c) {
    SqliteConnection::Statement s(
        db.handle(),
        "SELECT key, kind, fixed_item, back_color, fore_color, font_name, font_size, font_bold, "
        "font_italic, font_underline, font_strikethrough, border_shown, border_appearance, "
        "horizontal_alignment, vertical_alignment, focus_shown, focus_distance_x, "
        "focus_distance_y, clip_caption, caption_indent, free_text FROM styles ORDER BY position");
    while (s.step()) {
        const QString key = Check::key(s, 0, "a style key");
        KeyRules::checkNewKey(key, QStringLiteral("style"), c.styleByKey.contains(key));
        ChartStyle& style = c.addStyle(key);
        int column = 0;
        style.kind = Check::integer(s, ++column, "a style kind");
        style.fixedItem = Check::flag(s, ++column, "a style's fixing");
        style.backColor = Check::colour(s, ++column, "a style's colour");
        style.foreColor = Check::colour(s, ++column, "a style's colour");
        style.font.name = Check::text(s, ++column, "a font name");
        style.font.size = Check::real(s, ++column, "a font size");
        style.font.bold = Check::flag(s, ++column, "a font switch");
        style.font.italic = Check::flag(s, ++column, "a font switch");
        style.font.underline = Check::flag(s, ++column, "a font switch");
        style.font.strikethrough = Check::flag(s, ++column, "a font switch");
        style.borderShown = Check::integer(s, ++column, "a style's border");
        style.borderAppearance = Check::integer(s, ++column, "a style's border");
        style.horizontalAlignment = Check::integer(s, ++column, "a style's alignment");
        style.verticalAlignment = Check::integer(s, ++column, "a style's alignment");
        style.focusShown = Check::flag(s, ++column, "a style's focus switch");
        style.focusDistanceX = Check::integer(s, ++column, "a style's focus distance");
        style.focusDistanceY = Check::integer(s, ++column, "a style's focus distance");
        style.clipCaption = Check::flag(s, ++column, "a style's clipping");
        style.captionIndent = Check::integer(s, ++column, "a style's caption indent");
        style.freeText = Check::text(s, ++column, "a style's free text");
        Check::checkStyle(style);
    }
}

void readSettings(SqliteConnection& db, ChartSettings& settings) {
    SqliteConnection::Statement s(db.handle(), "SELECT name, value FROM settings");
    QHash<QString, std::pair<int, QVariant>> stored;
    while (s.step()) {
        const int type = s.type(1);
        QVariant value;
        if (type == SQLITE_INTEGER)
            value = s.integer(1);
        else if (type == SQLITE_FLOAT)
            value = Check::real(s, 1, "a setting");
        else if (type == SQLITE_TEXT)
            value = Check::text(s, 1, "a setting");
        stored.insert(Check::key(s, 0, "the name of a setting"), {type, value});
    }
    TimetableSchema::forEachSetting(settings, [&stored](const QString& name, auto& target) {
        using T = std::remove_cvref_t<decltype(target)>;
        const auto found = stored.constFind(name);
        if (found == stored.cend())
            return;
        const auto& [type, value] = *found;
        const QString what = QStringLiteral("the setting '%1'").arg(name);
        if constexpr (std::is_same_v<T, QString>) {
            Check::checkType(type == SQLITE_TEXT, what);
            target = value.toString();
        } else if constexpr (std::is_same_v<T, double>) {
            Check::checkType(type == SQLITE_FLOAT || type == SQLITE_INTEGER, what);
            target = value.toDouble();
        } else {
            Check::checkType(type == SQLITE_INTEGER, what);
            const qint64 number = value.toLongLong();
            if constexpr (std::is_same_v<T, bool>) {
                Check::checkRange(number, 0, 1, what);
                target = number != 0;
            } else if constexpr (std::is_same_v<T, TimePoint>) {
                Check::checkRange(number, TimePoint::minimumSeconds, TimePoint::maximumSeconds, what);
                target = TimePoint::fromSeconds(number);
            } else if constexpr (std::is_same_v<T, quint32>) {
                Check::checkRange(number, 0, 0xFFFFFFFF, what);
                target = quint32(number);
            } else {
                Check::checkRange(number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                  what);
                target = int(number);
            }
        }
    });
    Check::checkSettings(settings);
}
} // namespace

TimetableReader::TimetableReader(const QString& path)
    : m_shown(QDir::toNativeSeparators(path)) {
    const AppError notTimetable(QStringLiteral("'%1' is not a timetable file.").arg(m_shown));
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(QStringLiteral("The timetable '%1' does not exist.").arg(m_shown));
    if (!info.isFile())
        throw notTimetable;

    qint64 id = 0;
    qint64 version = 0;
    try {
        // One thread at a time uses the connection, also when a load hands it to another thread:
        // SQLite need not lock it for each of the many calls per item.
        m_db = std::make_unique<SqliteConnection>(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
        // One snapshot from here on: the shared lock taken by the first read stays until the end. The
        // items are read once, front to back: a large page cache would only hold memory.
        m_db->execute("PRAGMA cache_size = -256; BEGIN");
        id = m_db->queryInteger("PRAGMA application_id");
        version = m_db->queryInteger("PRAGMA user_version");
    } catch (const SqliteConnection::Error& error) {
        if (error.code() == SQLITE_NOTADB)
            throw notTimetable;
        throw damaged(error.description());
    }
    if (id != TimetableFile::applicationId || version < 1)
        throw notTimetable;
    if (version > TimetableFile::schemaVersion)
        throw AppError(
            QStringLiteral("'%1' was written by a newer version of the program and cannot be read.")
                .arg(m_shown));
    try {
        m_itemCount = std::max<qint64>(0, m_db->queryInteger("SELECT ifnull(max(position), 0) FROM items"));
        if (version >= 2)
            findRowIndex();
    } catch (const AppError& error) {
        throw damaged(error.description());
    }
}

TimetableReader::~TimetableReader() = default;

void TimetableReader::findRowIndex() {
    // The row index only speeds up the first screen: without it the file is read whole all the same.
    try {
        m_rowIndex =
            m_db->queryInteger(
                "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'row_items'") > 0;
    } catch (const SqliteConnection::Error&) {
        m_rowIndex = false;
    }
}

AppError TimetableReader::damaged(const QString& reason) const {
    return AppError(QStringLiteral("'%1' is damaged: %2").arg(m_shown, reason));
}

void TimetableReader::readFrame(GanttContent& content) {
    try {
        readRows(*m_db, content);
        readColumns(*m_db, content);
        readCells(*m_db, content);
        readStyles(*m_db, content);
        readSettings(*m_db, content.settings);
    } catch (const AppError& error) {
        throw damaged(error.description());
    }
}

void TimetableReader::readWindow(GanttContent& content, const std::vector<ChartRow*>& rows, TimePoint from,
                                 TimePoint to) {
    if (!m_rowIndex || from >= to)
        return;
    try {
        SqliteConnection::Statement spans(m_db->handle(), "SELECT spans FROM row_items WHERE row_key = ?");
        SqliteConnection::Statement item(
            m_db->handle(),
            (QByteArray("SELECT ") + itemColumns + " FROM items WHERE position = ?").constData());
        ItemRows items(content);
        for (const ChartRow* row : rows) {
            const QByteArray rowKey = row->key().toUtf8();
            spans.bind(1, row->key());
            const std::vector<qint64> positions =
                spans.step() ? positionsIn(spans.blob(0), from, to) : std::vector<qint64>();
            spans.reset();
            for (const qint64 position : positions) {
                item.bind(1, position);
                // An index that names an item of another row is not trusted; the full read puts it right.
                if (item.step() && item.utf8(1) == QByteArrayView(rowKey))
                    items.add(item, false, true);
                item.reset();
            }
        }
    } catch (const AppError& error) {
        throw damaged(error.description());
    }
}

std::vector<qint64> TimetableReader::positionsIn(QByteArrayView spans, TimePoint from, TimePoint to) const {
    std::vector<qint64> positions;
    if (spans.size() % TimetableSchema::rowSpanBytes != 0)
        return positions;
    for (qsizetype at = 0; at < spans.size(); at += TimetableSchema::rowSpanBytes) {
        const char* span = spans.data() + at;
        const qint64 start = qFromLittleEndian<qint64>(span);
        const qint64 end = qFromLittleEndian<qint64>(span + 8);
        const qint64 position = qFromLittleEndian<qint64>(span + 16);
        if (start < to.seconds() && end > from.seconds() && position >= 1 && position <= m_itemCount)
            positions.push_back(position);
    }
    return positions;
}

bool TimetableReader::readItems(GanttContent& content, Control* control) {
    try {
        // A file says how many items it holds; the room is bounded by its size all the same.
        const qint64 bytes = m_db->queryInteger("PRAGMA page_count") * m_db->queryInteger("PRAGMA page_size");
        const qint64 room = std::min(m_itemCount, bytes / smallestItemBytes);
        content.itemByKey.reserve(room, content.itemPool);
        content.itemSlots.reserve(std::size_t(room));
        SqliteConnection::Statement s(m_db->handle(),
                                      QByteArray("SELECT ") + itemColumns + " FROM items ORDER BY position");
        ItemRows items(content);
        qint64 read = 0;
        while (s.step()) {
            items.add(s, true, false);
            if (++read % progressStep == 0 && control != nullptr) {
                control->itemsRead = read;
                if (control->cancel)
                    return false;
            }
        }
        content.finishOrders();
        if (control != nullptr)
            control->itemsRead = read;
        return true;
    } catch (const AppError& error) {
        throw damaged(error.description());
    }
}
