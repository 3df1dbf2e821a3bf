#include "StepStatus.h"

#include <QLabel>

namespace {
constexpr qint64 repaintIntervalMs = 50;
}

StepStatus::StepStatus(QLabel* label, QString prefix)
    : m_label(label)
    , m_prefix(std::move(prefix)) {}

void StepStatus::show(TimePoint date) {
    if (m_sinceShown.isValid() && m_sinceShown.elapsed() < repaintIntervalMs)
        return;
    m_sinceShown.start();
    m_label->setText(m_prefix + date.shortDate());
    m_label->repaint();
}
