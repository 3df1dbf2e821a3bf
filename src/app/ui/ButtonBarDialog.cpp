#include "ButtonBarDialog.h"

#include "ctrOSC.h"

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
