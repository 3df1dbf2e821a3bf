#include "frmProgressbar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

frmProgressbar::frmProgressbar(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ProgressBar(new QProgressBar(this))
    , cmdCancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ProgressBar, 1);
    layout->addWidget(cmdCancel);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    setMinimumWidth(360);
    resize(420, sizeHint().height());
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
}

void frmProgressbar::showOver(QWidget* window) {
    QRect area;
    if (window) {
        area = window->frameGeometry();
        // Stays above the window without becoming its child, so that the caller alone decides its lifetime.
        winId();
        if (window->windowHandle())
            windowHandle()->setTransientParent(window->windowHandle());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid())
        move(area.center() - rect().center());
    show();
    repaint();
    QCoreApplication::processEvents();
}

void frmProgressbar::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void frmProgressbar::setMaximum(int maximum) {
    ProgressBar->setMaximum(maximum);
    m_pending = ProgressBar->value();
}

void frmProgressbar::setValue(int value) {
    if (value >= ProgressBar->minimum() && value <= ProgressBar->maximum())
        m_pending = value;
    const auto due = [](const QElapsedTimer& since) {
        return !since.isValid() || since.elapsed() >= updateIntervalMs;
    };
    const bool changed = m_pending != ProgressBar->value();
    const bool repaintNow = changed && (m_pending == ProgressBar->maximum() || due(m_sinceRepaint));
    if (repaintNow) {
        m_sinceRepaint.start();
        // The bar repaints at once or asks for a paint that the events below deliver.
        ProgressBar->setValue(m_pending);
    }
    if (repaintNow || due(m_sinceEvents)) {
        m_sinceEvents.start();
        QCoreApplication::processEvents();
    }
}

int frmProgressbar::value() const {
    return ProgressBar->value();
}

int frmProgressbar::maximum() const {
    return ProgressBar->maximum();
}

void frmProgressbar::hideCancel() {
    // The layout hands the button's room to the bar; activating it now widens the bar at once.
    cmdCancel->hide();
    layout()->activate();
}

void frmProgressbar::closeEvent(QCloseEvent* event) {
    // The window lives as long as its operation; closing it is a request to cancel, where that is offered.
    event->ignore();
    if (!cmdCancel->isHidden())
        m_cancelled = true;
}
