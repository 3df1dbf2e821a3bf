#pragma once

#include "app/TimePoint.h"

#include <QElapsedTimer>
#include <QString>

class QLabel;

// The status text of a long loop, a fixed text followed by the date of the current step. The label is
// repainted at once, but at most every 50 ms: the text is made only then, so the work never waits
// for the screen.
class StepStatus {
public:
    explicit StepStatus(QLabel* label, QString prefix);

    void show(TimePoint date);

private:
    QLabel* m_label;
    QString m_prefix;
    QElapsedTimer m_sinceShown;
};
