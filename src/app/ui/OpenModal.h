#pragma once

#include <QDialog>

// Shows a dialog modal over its owner and returns at once, so that no caller (and no test) waits on
// it; the dialog is deleted when it closes.
template <typename Dialog> Dialog* openModal(Dialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}
