#pragma once

class clsIniFile;

// The user's general options, read from the profile file when created and written back at once on
// every change.
class clsGeneralOptions {
public:
    explicit clsGeneralOptions(clsIniFile& profile);

    [[nodiscard]] bool ConfirmUndo() const { return m_confirmUndo; }
    [[nodiscard]] bool ConfirmDelete() const { return m_confirmDelete; }
    [[nodiscard]] bool ConfirmQuit() const { return m_confirmQuit; }
    [[nodiscard]] bool UseMostRecent() const { return m_useMostRecent; }
    [[nodiscard]] bool SaveAuto() const { return m_saveAuto; }
    void setConfirmUndo(bool value);
    void setConfirmDelete(bool value);
    void setConfirmQuit(bool value);
    void setUseMostRecent(bool value);
    void setSaveAuto(bool value);

private:
    void store(bool& field, bool value, const char* section, const char* key);

    clsIniFile& m_profile;
    bool m_confirmUndo = true;
    bool m_confirmDelete = true;
    bool m_confirmQuit = true;
    bool m_useMostRecent = false;
    bool m_saveAuto = true;
};
