#include "ctrOSC.h"

#include "app/GlobalData.h"
#include "app/MessageFlags.h"

#include <QHBoxLayout>
#include <QPushButton>

ctrOSC::ctrOSC(QWidget* parent)
    : QWidget(parent) {
    const std::array<std::pair<const char*, const char*>, 3> captions = {{
        {"OK", "Save data and close window"},
        {"Cancel", "Discard data and close window"},
        {"A&ccept", "Accept changes"},
    }};
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    for (int index = 0; index < int(cmdYesNo.size()); ++index) {
        auto* button = new QPushButton(QString::fromLatin1(captions[index].first), this);
        button->setToolTip(QString::fromLatin1(captions[index].second));
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, index] { onClicked(index); });
        cmdYesNo[index] = button;
    }
    cmdYesNo[OkButton]->setDefault(true);
    cmdYesNo[CancelButton]->setShortcut(Qt::Key_Escape);
    cmdYesNo[AcceptButton]->setEnabled(false);
}

bool ctrOSC::Dirty() const {
    return !m_parentUpdate && !m_readOnly && m_dirty;
}

void ctrOSC::setDirty(bool dirty) {
    if (m_parentUpdate || m_readOnly || dirty == m_dirty)
        return;
    m_dirty = dirty;
    cmdYesNo[AcceptButton]->setEnabled(dirty);
}

void ctrOSC::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    cmdYesNo[AcceptButton]->setEnabled(!readOnly && m_dirty);
}

void ctrOSC::setParentUpdate(bool parentUpdate) {
    m_parentUpdate = parentUpdate;
    if (!parentUpdate) {
        m_dirty = false;
        cmdYesNo[AcceptButton]->setEnabled(false);
    }
}

void ctrOSC::click(int index) {
    if (index >= 0 && index < int(cmdYesNo.size()))
        cmdYesNo[index]->click();
}

bool ctrOSC::store() {
    int cancel = 0;
    emit Store(true, cancel);
    return cancel == 0;
}

void ctrOSC::onClicked(int index) {
    switch (index) {
    case OkButton:
        if (Dirty()) {
            if (!store())
                return;
            setDirty(false);
        }
        emit Done();
        break;
    case CancelButton:
        if (Dirty()) {
            if (m_verbose && ShowMessage("Discard changes?", MessageFlags::YesNo | MessageFlags::Question) !=
                                 MessageResult::Yes)
                return;
            // Directly: the read-only guard of setDirty must not keep the changes alive.
            m_dirty = false;
            cmdYesNo[AcceptButton]->setEnabled(false);
            emit Cancel();
        }
        emit Done();
        break;
    case AcceptButton:
        if (!store())
            return;
        setDirty(false);
        if (cmdYesNo[OkButton]->isVisible())
            cmdYesNo[OkButton]->setFocus();
        break;
    default:
        break;
    }
}
