#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>

class InputFieldFilter;
class QLabel;
class QLineEdit;
class QPushButton;

// Deletes, in one run, every date item that ends on or before a date the user enters. Closing the
// window during a run stops the run; the dialog closes when the run has ended.
class frmClearUp : public QDialog {
    Q_OBJECT
public:
    enum Command { OkCommand = 0, ReturnCommand = 1 };

    explicit frmClearUp(QWidget* parent = nullptr);

    // Shows a new dialog modal over its owner and returns at once; it is deleted when it closes.
    static frmClearUp* showModal(QWidget* owner);

    // The run: true when it walked every item or was stopped by the user, false when the date was
    // refused or the user declined.
    bool CleanUp();
    void cmd_Click(int index);

    [[nodiscard]] bool running() const { return m_running; }
    [[nodiscard]] bool stopRequested() const { return m_stop; }

    QLineEdit* tx = nullptr;
    QLabel* lblStatus = nullptr;
    std::array<QPushButton*, 2> cmd{};

    // Esc closes like the close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    bool cleanUp();
    // Lets pending window messages run now and then; false once the user asked to close.
    bool letMessagesRun();

    InputFieldFilter* m_filter = nullptr;
    bool m_running = false;
    bool m_stop = false;
    QElapsedTimer m_sincePause;
};
