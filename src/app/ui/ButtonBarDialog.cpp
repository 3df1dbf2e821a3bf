#include "ButtonBarDialog.h"

#include "ctrOSC.h"

#include <QPushButton>

ButtonBarDialog::ButtonBarDialog(QWidget* parent)
    : QDialog(parent)
    , m_bar(new ctrOSC(this)) {
    m_bar->setVerbose(true);
    connect(
        m_bar, &ctrOSC::Store, this, [this](bool, int& cancel) { store(cancel); }, Qt::DirectConnection);
    connect(m_bar, &ctrOSC::Done, this, [this] { done(Accepted); });
}

void ButtonBarDialog::reject() {
    m_bar->click(ctrOSC::CancelButton);
}

void ButtonBarDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The bar is made before the fields, so the focus would start on OK: it starts on the first field.
    QWidget* last = m_bar->button(ctrOSC::AcceptButton);
    for (QWidget* next = last->nextInFocusChain(); next != last; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(this) &&
            !m_bar->isAncestorOf(next)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
