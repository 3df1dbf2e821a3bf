#pragma once

#include <QDialog>

class ctrOSC;

// A dialog closed through its OK / Cancel / Accept bar: the bar's Store runs store(), its Done closes
// the dialog, and Esc or the close box act as the bar's Cancel, so that unsaved changes are asked
// about in one place.
class ButtonBarDialog : public QDialog {
    Q_OBJECT
public:
    explicit ButtonBarDialog(QWidget* parent = nullptr);

    [[nodiscard]] ctrOSC* bar() const { return m_bar; }

protected:
    // Writes every field back; setting cancel non-zero refuses, and the dialog stays open and changed.
    virtual void store(int& cancel) = 0;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    ctrOSC* m_bar;
    bool m_shown = false;
};
