#pragma once

#include "ItemHandle.h"
#include "ItemKey.h"
#include "app/TimePoint.h"

#include <QString>

class ChartRow;
class GanttData;

// One booking: a bar on one row. Key, row and span are indexed by the chart, so they change only
// through the setters, which keep the chart's indexes right. The texts are kept among the chart's
// shared texts, as numbers.
class ChartItem {
public:
    // Items live in their chart only: a copy would carry the chart's index bookkeeping along.
    ChartItem(const ChartItem&) = delete;
    ChartItem& operator=(const ChartItem&) = delete;

    [[nodiscard]] QString key() const;
    // The same as key() == key, without making the key's text.
    [[nodiscard]] bool hasKey(const QString& key) const;
    [[nodiscard]] const QString& rowKey() const;
    [[nodiscard]] ChartRow& row() const { return *m_row; }
    [[nodiscard]] TimePoint start() const { return m_start; }
    [[nodiscard]] TimePoint end() const { return m_end; }
    void setRowKey(const QString& rowKey);
    void setStart(TimePoint start);
    void setEnd(TimePoint end);
    void setSpan(TimePoint start, TimePoint end);

    // 1-based position in the chart's item collection; it shifts when earlier items are removed.
    [[nodiscard]] int position() const;
    [[nodiscard]] ItemHandle handle() const { return {m_id, m_generation}; }

    [[nodiscard]] QString caption() const;
    [[nodiscard]] QString text() const;
    [[nodiscard]] QString styleKey() const;
    [[nodiscard]] QString picture() const;
    [[nodiscard]] QString addOnData() const;
    [[nodiscard]] QString seriesKey() const;
    // 0 free, 2 fixed in place
    [[nodiscard]] int movementLock() const { return m_movementLock; }
    // The last value given to the item-add operation ("0" from the editor).
    [[nodiscard]] QString addTag() const;
    // One more free value that series copy unchanged.
    [[nodiscard]] QString tag() const;
    void setCaption(const QString& caption);
    void setText(const QString& text);
    void setStyleKey(const QString& styleKey);
    void setPicture(const QString& picture);
    void setAddOnData(const QString& addOnData);
    void setSeriesKey(const QString& seriesKey);
    void setMovementLock(int movementLock);
    void setAddTag(const QString& addTag);
    void setTag(const QString& tag);

private:
    friend class GanttContent;
    friend class GanttData;
    friend class ItemCollection;
    friend class ItemPool;
    friend class KeyIndex;
    ChartItem() = default;

    // The texts that most items leave empty, kept beside the items.
    enum class RareText { Picture, AddOnData, AddTag, Tag };
    [[nodiscard]] QString rareText(RareText which) const;
    void setRareText(RareText which, const QString& text);
    [[nodiscard]] QString sharedText(quint32 number) const;
    [[nodiscard]] quint32 share(const QString& text) const;

    // The fields a query touches come first; texts are numbers among the chart's shared texts.
    TimePoint m_start;
    TimePoint m_end;
    ChartRow* m_row = nullptr;
    quint64 m_sequence = 0; // orders items of equal start in the row index
    GanttData* m_owner = nullptr;
    int m_slot = -1; // index in the collection's storage, kept by the collection
    quint32 m_id = 0;
    quint32 m_generation = 0;
    quint32 m_caption = 0;
    quint32 m_text = 0;
    quint32 m_styleKey = 0;
    quint32 m_seriesKey = 0;
    quint32 m_rare = 0; // 0: picture, add-on data and tags are all empty; else 1 + their entry
    ItemKey m_key;
    qint8 m_movementLock = 0;
};
