#pragma once

#include "app/UserPrompts.h"

#include <QElapsedTimer>
#include <QWidget>

class QProgressBar;
class QPushButton;

// The window of a long operation: a bar and an optional Cancel button. Not modal; the operation
// polls cancelled() between its steps.
class frmProgressbar : public QWidget, public ProgressView {
    Q_OBJECT
public:
    explicit frmProgressbar(QWidget* parent = nullptr);

    // Shows the window centred over the given window (or the screen) and paints it at once.
    void showOver(QWidget* window);

    void setCaption(const QString& caption) override;
    void setMaximum(int maximum) override;
    static constexpr int updateIntervalMs = 50;

    // Values outside the bar's range are ignored, the bar keeps its last value. Between updates of
    // the screen, values are only noted; the last one noted shows at the next update.
    void setValue(int value) override;
    [[nodiscard]] int value() const override;
    [[nodiscard]] int maximum() const override;
    void hideCancel() override;
    [[nodiscard]] bool cancelled() const override { return m_cancelled; }

    QProgressBar* ProgressBar;
    QPushButton* cmdCancel;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QElapsedTimer m_sinceRepaint;
    QElapsedTimer m_sinceEvents;
    int m_pending = 0;
    bool m_cancelled = false;
};
