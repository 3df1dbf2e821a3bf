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

    QString caption;
    QString text;
    QString styleKey;
    QString picture;
    QString addOnData;
    QString seriesKey;
    int movementLock = 0; // 0 free, 2 fixed in place
    QString addTag;       // the last value given to the item-add operation ("0" from the editor)
    QString tag;          // one more free value that series copy unchanged

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
};
