#include "clsProgessbar.h"

clsProgessbar::clsProgessbar()
    : m_view(prompts().createProgress()) {}

clsProgessbar::~clsProgessbar() = default;

void clsProgessbar::Caption(const QString& text) {
    m_view->setCaption(text);
}

void clsProgessbar::Max(int n) {
    if (n <= 0)
        return;
    m_maximum = n;
    m_scale = n >= 1000 ? n / 1000 : 1;
    m_view->setMaximum(n >= 1000 ? 1000 : n);
    m_view->setValue(0);
}

bool clsProgessbar::SetValue(int value) {
    m_view->setValue(value / m_scale);
    return !m_view->cancelled();
}

void clsProgessbar::NoCancel() {
    m_view->hideCancel();
}
