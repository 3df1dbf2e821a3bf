#pragma once

#include "UserPrompts.h"

#include <QString>
#include <memory>

// A progress window for long loops: shown from creation to destruction. Values above 1000 are
// scaled down so that the bar moves in at most 1000 steps.
class clsProgessbar {
public:
    clsProgessbar();
    ~clsProgessbar();

    void Caption(const QString& text);
    // Ignored unless n > 0.
    void Max(int n);
    // Shows value / scale and lets pending window messages run; false once the user pressed Cancel.
    bool SetValue(int value);
    void NoCancel();

    [[nodiscard]] int scale() const { return m_scale; }
    [[nodiscard]] ProgressView& view() { return *m_view; }

private:
    std::unique_ptr<ProgressView> m_view;
    int m_maximum = 0;
    int m_scale = 1;
};
