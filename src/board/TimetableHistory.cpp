#include "TimetableHistory.h"

#include "app/AppError.h"
#include "chart/GanttData.h"
#include "model/ChartBatch.h"

#include <QScopedValueRollback>

// A stack entry: the step itself is shared, so that trimming the history can hand the steps it keeps
// to fresh entries.
class TimetableHistory::Command : public QUndoCommand {
public:
    Command(TimetableHistory& history, std::shared_ptr<const TimetableStep> step)
        : QUndoCommand(step->caption())
        , m_history(history)
        , m_step(std::move(step))
        , m_bytes(m_step->bytes()) {}

    // Pushing runs redo(): the step has happened already.
    void redo() override {
        if (m_applied) {
            m_applied = false;
            return;
        }
        m_history.apply(*m_step, true);
    }
    void undo() override { m_history.apply(*m_step, false); }

    [[nodiscard]] const std::shared_ptr<const TimetableStep>& step() const { return m_step; }
    [[nodiscard]] std::size_t bytes() const { return m_bytes; }

private:
    TimetableHistory& m_history;
    std::shared_ptr<const TimetableStep> m_step;
    std::size_t m_bytes;
    bool m_applied = true;
};

TimetableHistory::TimetableHistory(GanttData& chart, QObject* parent)
    : QObject(parent)
    , m_chart(chart)
    , m_journal(chart) {
    m_recordTimer.setSingleShot(true);
    connect(&m_recordTimer, &QTimer::timeout, this, [this] {
        if (!m_pending)
            return;
        if (m_busy && m_busy()) {
            m_recordTimer.start(100);
            return;
        }
        record();
    });
    connect(&m_stack, &QUndoStack::indexChanged, this, &TimetableHistory::changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &TimetableHistory::changed);
    reset();
}

void TimetableHistory::reset() {
    m_paused = false;
    m_pending = false;
    m_recordTimer.stop();
    m_stack.clear();
    m_base = TimetableValues::Content::withoutItems(m_chart);
    m_journal.restart();
    m_journal.setListening(true);
    emit changed();
}

void TimetableHistory::pause() {
    if (m_pending)
        record();
    m_paused = true;
    m_journal.setListening(false);
    emit changed();
}

void TimetableHistory::resume() {
    m_paused = false;
    m_journal.setListening(true);
    emit changed();
}

void TimetableHistory::record() {
    if (m_paused)
        return;
    m_pending = false;
    m_recordTimer.stop();
    std::shared_ptr<TimetableStep> step;
    try {
        if (!m_journal.replaced())
            step = std::make_shared<TimetableStep>(TimetableStep::between(m_base, m_journal, m_chart));
    } catch (const AppError&) {
        step.reset();
    }
    if (!step) {
        // What the steps would build on is gone: the history starts over from what is there now.
        reset();
        return;
    }
    m_journal.moveOn();
    if (step->empty()) {
        emit changed();
        return;
    }
    step->applyTo(m_base, m_chart, true);
    push(std::move(step), false);
    trim();
}

void TimetableHistory::recordLater() {
    // The views' answers to a step being applied are no changes of their own.
    if (m_applying || m_paused)
        return;
    m_pending = true;
    if (!m_recordTimer.isActive())
        m_recordTimer.start(0);
}

void TimetableHistory::setClean() {
    record();
    m_stack.setClean();
}

bool TimetableHistory::undo(clsItems& items, const QString& senderId) {
    return step(items, senderId, false);
}

bool TimetableHistory::redo(clsItems& items, const QString& senderId) {
    return step(items, senderId, true);
}

bool TimetableHistory::step(clsItems& items, const QString& senderId, bool forward) {
    if (m_paused)
        return false;
    if (m_pending)
        record();
    if (forward ? !m_stack.canRedo() : !m_stack.canUndo())
        return false;
    const Command* command = commandAt(forward ? m_stack.index() : m_stack.index() - 1);
    if (!command->step()->fits(m_chart, forward)) {
        reset();
        throw AppError(QStringLiteral("The timetable no longer holds what the step '%1' changed; the "
                                      "history starts over.")
                           .arg(command->text()));
    }
    m_items = &items;
    m_senderId = senderId;
    m_lastTouchedStyles = command->step()->touchesStyles();
    try {
        if (forward)
            m_stack.redo();
        else
            m_stack.undo();
    } catch (...) {
        // Cannot happen for a step that fits; should it anyway, the history must not build on it.
        reset();
        throw;
    }
    return true;
}

void TimetableHistory::apply(const TimetableStep& step, bool forward) {
    const QScopedValueRollback applying(m_applying, true);
    {
        const ChartBatch batch(m_chart);
        step.apply(m_chart, *m_items, m_senderId, forward);
    }
    step.applyTo(m_base, m_chart, forward);
    m_journal.moveOn();
}

void TimetableHistory::push(std::shared_ptr<const TimetableStep> step, bool clean) {
    m_stack.push(new Command(*this, std::move(step)));
    if (clean)
        m_stack.setClean();
}

// Drops the oldest steps while there are too many or they hold too much; the newest always stays.
void TimetableHistory::trim() {
    const int count = m_stack.count();
    std::size_t bytes = 0;
    int keep = 0;
    while (keep < count && keep < stepLimit) {
        bytes += commandAt(count - 1 - keep)->bytes();
        if (keep > 0 && bytes > memoryLimit)
            break;
        ++keep;
    }
    if (keep == count)
        return;
    std::vector<std::shared_ptr<const TimetableStep>> kept;
    for (int index = count - keep; index < count; ++index)
        kept.push_back(commandAt(index)->step());
    const int cleanIndex = m_stack.cleanIndex() - (count - keep);
    m_stack.clear();
    for (std::size_t i = 0; i < kept.size(); ++i)
        push(kept[i], int(i) + 1 == cleanIndex);
    // Cleared, the stack is clean at its start, which is right for a clean index of 0.
    if (cleanIndex < 0)
        m_stack.resetClean();
}

const TimetableHistory::Command* TimetableHistory::commandAt(int index) const {
    return static_cast<const Command*>(m_stack.command(index));
}
