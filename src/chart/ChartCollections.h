#pragma once

#include "ChartItem.h"
#include "ChartRow.h"
#include "ChartStyle.h"
#include "HeadingColumn.h"

#include <QString>
#include <utility>
#include <vector>

class GanttData;

// Collections are addressed by key or by 1-based position, also given as decimal text ("1"). A text
// that is all digits is a position, so no key is purely numeric. Lookups answer nullptr when nothing
// is there; the `get` forms throw AppError instead. Positions shift on removal.
class ItemCollection {
public:
    [[nodiscard]] int count() const;
    [[nodiscard]] ChartItem* byPosition(int position) const;
    [[nodiscard]] ChartItem* byKey(const QString& key) const;
    // nullptr once the item is removed, also after the whole content was replaced.
    [[nodiscard]] ChartItem* byHandle(ItemHandle handle) const;
    // The handles of all items in position order, at the cost of one pass over them.
    [[nodiscard]] std::vector<ItemHandle> handles() const;
    [[nodiscard]] ChartItem* find(const QString& keyOrPosition) const;
    ChartItem& get(const QString& keyOrPosition) const;
    // The items of a series (an empty key names none), in position order, without a walk over all
    // items.
    [[nodiscard]] std::vector<ChartItem*> seriesMembers(const QString& seriesKey) const;

    // Adds at the end. Throws AppError for an empty, numeric or duplicate key or an unknown row.
    ChartItem& add(const QString& caption, const QString& rowKey, TimePoint start, TimePoint end,
                   const QString& key, const QString& styleKey, const QString& picture = {},
                   const QString& addTag = {});
    // Throws AppError when nothing is there.
    void remove(const QString& keyOrPosition);
    void clear();
    // Puts each listed item at its 1-based position (the list ascending by position); the others
    // keep their order in the places left. Throws AppError for an unknown key or a position out of
    // range and then changes nothing.
    void placeAt(const std::vector<std::pair<QString, int>>& keysAtPositions);

    // Changes inside a batch are announced once, at the end; batches nest.
    void beginBatch();
    void endBatch();

private:
    friend class GanttData;
    friend class ChartItem;
    explicit ItemCollection(GanttData* owner)
        : m_owner(owner) {}
    GanttData* m_owner;
};

class RowCollection {
public:
    [[nodiscard]] int count() const;
    [[nodiscard]] ChartRow* byPosition(int position) const;
    [[nodiscard]] ChartRow* byKey(const QString& key) const;
    [[nodiscard]] ChartRow* find(const QString& keyOrPosition) const;
    ChartRow& get(const QString& keyOrPosition) const;
    // Throws AppError for an empty, numeric or duplicate key.
    ChartRow& add(const QString& key, const QString& caption, const QString& styleKey = {},
                  const QString& picture = {}, int height = 0);
    // Removing a row also removes its items.
    void remove(const QString& keyOrPosition);
    void clear();
    // Moves the row to the 1-based position (clamped to the collection), the others closing up.
    void move(const QString& key, int position);

private:
    friend class GanttData;
    explicit RowCollection(GanttData* owner)
        : m_owner(owner) {}
    GanttData* m_owner;
};

class StyleCollection {
public:
    [[nodiscard]] int count() const;
    [[nodiscard]] ChartStyle* byPosition(int position) const;
    [[nodiscard]] ChartStyle* byKey(const QString& key) const;
    [[nodiscard]] ChartStyle* find(const QString& keyOrPosition) const;
    ChartStyle& get(const QString& keyOrPosition) const;
    // Throws AppError for an empty, numeric or duplicate key.
    ChartStyle& add(const QString& key);
    // Throws AppError when nothing is there. Rows and items that name the style keep the name.
    void remove(const QString& keyOrPosition);
    void clear();
    // Moves the style to the 1-based position (clamped to the collection), the others closing up.
    void move(const QString& key, int position);

private:
    friend class GanttData;
    explicit StyleCollection(GanttData* owner)
        : m_owner(owner) {}
    GanttData* m_owner;
};

class HeadingColumnCollection {
public:
    [[nodiscard]] int count() const;
    [[nodiscard]] HeadingColumn* byPosition(int position) const;
    HeadingColumn& add(const QString& caption, int width, const QString& styleKey = {});
    // Also drops the column's cell from every row. Throws AppError when nothing is there.
    void remove(int position);
    void clear();

private:
    friend class GanttData;
    explicit HeadingColumnCollection(GanttData* owner)
        : m_owner(owner) {}
    GanttData* m_owner;
};
