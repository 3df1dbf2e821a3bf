#pragma once

#include <QWidget>
#include <array>

class QPushButton;

// The OK / Cancel / Accept bar at the bottom of the dialogs. It tracks whether the dialog holds
// changes not yet stored and tells the dialog when to store and when to close.
class ctrOSC : public QWidget {
    Q_OBJECT
public:
    enum Button { OkButton = 0, CancelButton = 1, AcceptButton = 2 };

    explicit ctrOSC(QWidget* parent = nullptr);

    // False while the dialog fills its fields or is read-only.
    [[nodiscard]] bool Dirty() const;
    // Ignored while the dialog fills its fields or is read-only.
    void setDirty(bool dirty);
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    // True while the dialog fills its own fields; setting it False also clears Dirty.
    [[nodiscard]] bool ParentUpdate() const { return m_parentUpdate; }
    void setParentUpdate(bool parentUpdate);
    // Ask "Discard changes?" before Cancel drops changes; off unless the dialog asks for it.
    [[nodiscard]] bool Verbose() const { return m_verbose; }
    void setVerbose(bool verbose) { m_verbose = verbose; }

    // The same as clicking the button with that index; a disabled button does nothing.
    void click(int index);
    [[nodiscard]] QPushButton* button(int index) const { return cmdYesNo.at(index); }

    std::array<QPushButton*, 3> cmdYesNo{};

signals:
    // The dialog stores its fields; setting cancel non-zero refuses, and the dialog stays as it is.
    // The connection must be direct, the handler writes into cancel.
    void Store(bool always, int& cancel);
    void Done();
    // The changes are being dropped.
    void Cancel();

private:
    void onClicked(int index);
    bool store();

    bool m_dirty = false;
    bool m_readOnly = false;
    bool m_parentUpdate = false;
    bool m_verbose = false;
};
