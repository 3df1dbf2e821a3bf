#include "frmSettingsGeneral.h"

#include "app/GlobalData.h"
#include "app/clsGeneralOptions.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/ctrOSC.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

frmSettingsGeneral::frmSettingsGeneral(QWidget* parent)
    : ButtonBarDialog(parent) {
    setWindowTitle(QStringLiteral("General settings"));
    buildWindow();
    InputFieldFilter::install(this);
    Form_Load();
}

frmSettingsGeneral* frmSettingsGeneral::Open(QWidget* owner) {
    return openModal(new frmSettingsGeneral(owner));
}

void frmSettingsGeneral::buildWindow() {
    const std::array<const char*, 5> captions = {"Load last file on start", "Ask before delete",
                                                 "Ask before terminating", "Autosave changes",
                                                 "Ask before 'undo'?"};
    auto* frame = new QGroupBox(this);
    auto* options = new QVBoxLayout(frame);
    for (std::size_t index = 0; index < chk.size(); ++index) {
        chk[index] = new QCheckBox(QString::fromLatin1(captions[index]), frame);
        options->addWidget(chk[index]);
        connect(chk[index], &QCheckBox::clicked, bar(), [this] { bar()->setDirty(true); });
    }
    auto* window = new QVBoxLayout(this);
    window->addWidget(frame);
    window->addStretch();
    window->addWidget(bar());
    setMinimumWidth(360);
}

void frmSettingsGeneral::Form_Load() {
    const clsGeneralOptions& options = *globals().options;
    chk[UseMostRecent]->setChecked(options.UseMostRecent());
    chk[ConfirmDelete]->setChecked(options.ConfirmDelete());
    chk[ConfirmQuit]->setChecked(options.ConfirmQuit());
    chk[SaveAuto]->setChecked(options.SaveAuto());
    chk[ConfirmUndo]->setChecked(options.ConfirmUndo());
    bar()->setDirty(false);
}

void frmSettingsGeneral::store(int&) {
    clsGeneralOptions& options = *globals().options;
    options.setUseMostRecent(chk[UseMostRecent]->isChecked());
    options.setConfirmDelete(chk[ConfirmDelete]->isChecked());
    options.setConfirmQuit(chk[ConfirmQuit]->isChecked());
    options.setSaveAuto(chk[SaveAuto]->isChecked());
    options.setConfirmUndo(chk[ConfirmUndo]->isChecked());
}
