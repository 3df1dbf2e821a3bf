#include "frmCalendar.h"

#include "app/GlobalData.h"
#include "app/clsIniFile.h"
#include "app/ui/WindowPlacement.h"
#include "app/ui/bsInput.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QVBoxLayout>

frmCalendar::frmCalendar(QWidget* board)
    : QWidget(board, Qt::Tool)
    , m_monthView(new QCalendarWidget(this)) {
    setWindowTitle(tr("Calendar"));
    m_monthView->setGridVisible(true);
    m_monthView->setFirstDayOfWeek(Qt::Monday);
    m_monthView->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_monthView);
    connect(m_monthView, &QCalendarWidget::clicked, this, &frmCalendar::ChangedTo);
    connect(m_monthView, &QCalendarWidget::activated, this, &frmCalendar::ChangedTo);
    adjustSize();
    const bool restored =
        globals().profile && WindowPlacement::restoreLayout(*this, layoutName, *globals().profile);
    if (!restored && board) {
        // The first time it opens at the top right of the board, clear of the menus and the toolbar.
        const QRect area = board->geometry();
        move(area.right() - width() - 24, area.top() + 80);
    }
}

void frmCalendar::setThisDate(const QDate& date) {
    m_monthView->setCurrentPage(date.year(), date.month());
    m_monthView->setSelectedDate(date);
    m_monthView->update();
}

QDate frmCalendar::ThisDate() const {
    return m_monthView->selectedDate();
}

void frmCalendar::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (HandleDialogKey(key, event->modifiers()))
        return;
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_Escape && held == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmCalendar::closeEvent(QCloseEvent* event) {
    if (globals().profile)
        WindowPlacement::saveLayout(*this, layoutName, *globals().profile);
    QWidget::closeEvent(event);
}
