#pragma once

#include "ChartCollections.h"
#include "ChartSettings.h"
#include "app/AddonStore.h"
#include "app/TimePoint.h"

#include <QObject>
#include <QString>
#include <memory>

class ItemWatcher;

// The single owner of a timetable's content: rows, items, styles, row-heading columns and every
// setting. Any number of chart widgets show one GanttData. The add-on data is the free text of the
// style "Addon".
class GanttData : public QObject, public AddonStore {
    Q_OBJECT
public:
    explicit GanttData(QObject* parent = nullptr);
    ~GanttData() override;

    RowCollection& rows();
    ItemCollection& items();
    StyleCollection& styles();
    HeadingColumnCollection& headingColumns();
    [[nodiscard]] const RowCollection& rows() const;
    [[nodiscard]] const ItemCollection& items() const;
    [[nodiscard]] const StyleCollection& styles() const;
    [[nodiscard]] const HeadingColumnCollection& headingColumns() const;
    ChartSettings& settings();
    const ChartSettings& settings() const;

    // True when the span collides with another item of the row. Two spans collide when each starts
    // before the other ends; touching spans do not; a span whose end is not after its start always
    // collides. `ignore` does not count against itself.
    [[nodiscard]] bool conflicts(TimePoint start, TimePoint end, const QString& rowKey,
                                 const ChartItem* ignore = nullptr) const;
    // The same with the item given by its 1-based position (0 or an unknown position: nothing ignored).
    [[nodiscard]] bool conflictsExcept(TimePoint start, TimePoint end, const QString& rowKey,
                                       int position) const;
    // Items of a row whose spans reach into [from, to) (start before `to`, end after `from`), ordered
    // by start.
    [[nodiscard]] std::vector<ChartItem*> itemsInRange(const QString& rowKey, TimePoint from,
                                                       TimePoint to) const;

    // At most one; it hears of every change of the items' values and of every removal, made in any
    // way, before it happens (nullptr: none).
    void setItemWatcher(ItemWatcher* watcher);

    // While off, no change notification is sent; switching it on again does not notify by itself.
    void setBulkChange(bool on);
    [[nodiscard]] bool bulkChange() const;
    // Asks every widget to recalculate and repaint; inside a batch at its end, never while bulk change
    // is off.
    void redraw();

    // Replaces the whole content by the file's, or throws AppError and leaves everything as it was.
    // The file format is described in docs/timetable-format.md.
    void load(const QString& path);
    // Writes a complete new file beside the target and renames it into place; throws AppError.
    void save(const QString& path) const;
    // Empties rows, items, styles, columns and resets the settings to their defaults.
    void clear();

    [[nodiscard]] QString addonText() const override;
    void setAddonText(const QString& text) override;

signals:
    // Content or settings changed; sent once at the end of a batch, never while bulk change is off.
    void changed();
    // load() or clear() replaced the whole content, settings included. Sent at once, also inside a
    // batch and while bulk change is off, so that views can show the new content from its saved place.
    void loaded();

private:
    friend class ItemCollection;
    friend class RowCollection;
    friend class StyleCollection;
    friend class HeadingColumnCollection;
    friend class ChartItem;
    friend class TimetableFile;
    friend class TimetableLoader;
    friend class TimetableValueCheck;
    struct Private;
    std::unique_ptr<Private> d;
};
