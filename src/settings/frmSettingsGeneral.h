#pragma once

#include "app/ui/ButtonBarDialog.h"

#include <array>

class QCheckBox;

// The general options: confirmations, auto-save and opening the most recent file. Storing writes the
// changed options to the profile file at once.
class frmSettingsGeneral : public ButtonBarDialog {
    Q_OBJECT
public:
    enum Option { UseMostRecent = 0, ConfirmDelete = 1, ConfirmQuit = 2, SaveAuto = 3, ConfirmUndo = 4 };

    explicit frmSettingsGeneral(QWidget* parent = nullptr);

    // The dialog over the owner, modal, deleted when it closes.
    static frmSettingsGeneral* Open(QWidget* owner);

    std::array<QCheckBox*, 5> chk{};

protected:
    void store(int& cancel) override;

private:
    void buildWindow();
    void Form_Load();
};
