#include "clsGeneralOptions.h"

#include "clsIniFile.h"

namespace {
const char* const confirmations = "Confirmations";
const char* const general = "General";
} // namespace

clsGeneralOptions::clsGeneralOptions(clsIniFile& profile)
    : m_profile(profile) {
    m_confirmUndo = m_profile.ReadProfileBol(confirmations, "Undo", true);
    m_confirmDelete = m_profile.ReadProfileBol(confirmations, "DeleteData", true);
    m_confirmQuit = m_profile.ReadProfileBol(confirmations, "Quit", true);
    m_useMostRecent = m_profile.ReadProfileBol(general, "UseMostRecent", false);
    m_saveAuto = m_profile.ReadProfileBol(general, "SaveAuto", true);
}

void clsGeneralOptions::setConfirmUndo(bool value) {
    store(m_confirmUndo, value, confirmations, "Undo");
}

void clsGeneralOptions::setConfirmDelete(bool value) {
    store(m_confirmDelete, value, confirmations, "DeleteData");
}

void clsGeneralOptions::setConfirmQuit(bool value) {
    store(m_confirmQuit, value, confirmations, "Quit");
}

void clsGeneralOptions::setUseMostRecent(bool value) {
    store(m_useMostRecent, value, general, "UseMostRecent");
}

void clsGeneralOptions::setSaveAuto(bool value) {
    store(m_saveAuto, value, general, "SaveAuto");
}

void clsGeneralOptions::store(bool& field, bool value, const char* section, const char* key) {
    if (field == value)
        return;
    field = value;
    // A failed write (already reported by the profile file) leaves the option changed in memory.
    m_profile.WriteProfileBol(QString::fromLatin1(section), QString::fromLatin1(key), value);
}
