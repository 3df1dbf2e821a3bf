#pragma once

#include "app/TimePoint.h"

#include <QString>

class GanttData;

// One booking: a bar on one row. Key, row and span are indexed by the chart, so they change only
// through the setters, which keep the chart's indexes right.
class ChartItem {
public:
    // Items live in their chart only: a copy would carry the chart's index bookkeeping along.
    ChartItem(const ChartItem&) = delete;
    ChartItem& operator=(const ChartItem&) = delete;

    [[nodiscard]] const QString& key() const { return m_key; }
    [[nodiscard]] const QString& rowKey() const { return m_rowKey; }
    [[nodiscard]] TimePoint start() const { return m_start; }
    [[nodiscard]] TimePoint end() const { return m_end; }
    void setRowKey(const QString& rowKey);
    void setStart(TimePoint start);
    void setEnd(TimePoint end);
    void setSpan(TimePoint start, TimePoint end);

    // 1-based position in the chart's item collection; it shifts when earlier items are removed.
    [[nodiscard]] int position() const;

    [[nodiscard]] const QString& caption() const { return m_caption; }
    [[nodiscard]] const QString& text() const { return m_text; }
    [[nodiscard]] const QString& styleKey() const { return m_styleKey; }
    [[nodiscard]] const QString& picture() const { return m_picture; }
    [[nodiscard]] const QString& addOnData() const { return m_addOnData; }
    [[nodiscard]] const QString& seriesKey() const { return m_seriesKey; }
    // 0 free, 2 fixed in place
    [[nodiscard]] int movementLock() const { return m_movementLock; }
    // The last value given to the item-add operation ("0" from the editor).
    [[nodiscard]] const QString& addTag() const { return m_addTag; }
    // One more free value that series copy unchanged.
    [[nodiscard]] const QString& tag() const { return m_tag; }
    void setCaption(const QString& caption) { m_caption = caption; }
    void setText(const QString& text) { m_text = text; }
    void setStyleKey(const QString& styleKey) { m_styleKey = styleKey; }
    void setPicture(const QString& picture) { m_picture = picture; }
    void setAddOnData(const QString& addOnData) { m_addOnData = addOnData; }
    void setSeriesKey(const QString& seriesKey) { m_seriesKey = seriesKey; }
    void setMovementLock(int movementLock) { m_movementLock = movementLock; }
    void setAddTag(const QString& addTag) { m_addTag = addTag; }
    void setTag(const QString& tag) { m_tag = tag; }

private:
    friend class GanttData;
    friend class ItemCollection;
    ChartItem() = default;
    GanttData* m_owner = nullptr;
    QString m_key;
    QString m_rowKey;
    TimePoint m_start;
    TimePoint m_end;
    int m_slot = -1;        // index in the collection's storage, kept by the collection
    quint64 m_sequence = 0; // orders items of equal start in the row index
    QString m_caption;
    QString m_text;
    QString m_styleKey;
    QString m_picture;
    QString m_addOnData;
    QString m_seriesKey;
    int m_movementLock = 0;
    QString m_addTag;
    QString m_tag;
};
