#pragma once

#include "ItemJournal.h"
#include "TimetableStep.h"
#include "TimetableValues.h"

#include <QObject>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <memory>

class clsItems;
class GanttData;

// The history of the open timetable's changes: one step per user action, on a QUndoStack. It keeps
// the content as the last step left it (the bookings through a journal of those that changed), and a
// step is what differs from that when the action is complete, so every window's change is covered
// without the windows knowing of it.
// Bounded by a number of steps and by memory: the oldest steps are dropped whole.
class TimetableHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int stepLimit = 1000;
    static constexpr std::size_t memoryLimit = std::size_t(256) << 20;

    explicit TimetableHistory(GanttData& chart, QObject* parent = nullptr);

    // Starts over from the chart's present content: nothing to undo or redo, and clean. Ends a pause.
    void reset();
    // While a timetable loads the chart holds only part of it: records what is pending, then
    // records and steps nothing until resume() (the content from before is back) or reset().
    void pause();
    void resume();
    [[nodiscard]] bool paused() const { return m_paused; }
    // Makes what changed since the last step one step; nothing when nothing changed.
    void record();
    // Records at the next turn of the event loop, waiting while `busy` answers true (a drag or a
    // question still belongs to the action).
    void recordLater();
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }
    [[nodiscard]] bool recordPending() const { return m_pending; }

    // Record what is pending, then take one step back or forward through the item table with the
    // sender ID. False when there was none, or when the chart no longer holds what the step expects
    // (then nothing is applied and the history starts over).
    bool undo(clsItems& items, const QString& senderId);
    bool redo(clsItems& items, const QString& senderId);

    [[nodiscard]] bool canUndo() const { return !m_paused && m_stack.canUndo(); }
    [[nodiscard]] bool canRedo() const { return !m_paused && m_stack.canRedo(); }
    [[nodiscard]] QString undoCaption() const { return m_stack.undoText(); }
    [[nodiscard]] QString redoCaption() const { return m_stack.redoText(); }
    [[nodiscard]] bool isClean() const { return m_stack.isClean(); }
    // The present content is the saved one.
    void setClean();
    [[nodiscard]] int count() const { return m_stack.count(); }
    // Whether the last step taken back or forward touched the styles.
    [[nodiscard]] bool lastTouchedStyles() const { return m_lastTouchedStyles; }

signals:
    // What can be undone or redone, their captions or the clean state may have changed.
    void changed();

private:
    class Command;
    friend class Command;

    bool step(clsItems& items, const QString& senderId, bool forward);
    void apply(const TimetableStep& step, bool forward);
    void push(std::shared_ptr<const TimetableStep> step, bool clean);
    void trim();
    [[nodiscard]] const Command* commandAt(int index) const;

    GanttData& m_chart;
    QUndoStack m_stack;
    TimetableValues::Content m_base; // without the bookings: the journal knows them
    ItemJournal m_journal;
    QTimer m_recordTimer;
    std::function<bool()> m_busy;
    bool m_pending = false;
    bool m_paused = false;
    bool m_applying = false;
    bool m_lastTouchedStyles = false;
    clsItems* m_items = nullptr;
    QString m_senderId;
};
