#include "UserPrompts.h"

#include "MessageFlags.h"

namespace {
// Used before the application installs its service and by tools without a display: it never waits
// for an answer, cancels every choice and takes the default button of every message.
class SilentProgress : public ProgressView {
public:
    void setCaption(const QString&) override {}
    void setMaximum(int maximum) override { m_maximum = maximum; }
    void setValue(int value) override {
        if (value <= m_maximum)
            m_value = value;
    }
    int value() const override { return m_value; }
    int maximum() const override { return m_maximum; }
    void hideCancel() override {}
    bool cancelled() const override { return false; }

private:
    int m_maximum = 100;
    int m_value = 0;
};

class SilentPrompts : public UserPrompts {
public:
    int showMessage(const QString&, int flags, const QString&) override { return defaultResult(flags); }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<quint32> chooseColour(quint32) override { return {}; }
    std::optional<FontDescription> chooseFont(const FontDescription&) override { return {}; }
    std::unique_ptr<ProgressView> createProgress() override { return std::make_unique<SilentProgress>(); }
    void setBusy(bool) override {}
    bool openUrl(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    bool startDetached(const QString&, const QStringList&) override { return false; }
};

SilentPrompts silentPrompts;
UserPrompts* current = &silentPrompts;
} // namespace

bool UserPrompts::choosePrinter(QPrinter&) {
    return false;
}

UserPrompts& prompts() {
    return *current;
}

void setPrompts(UserPrompts* service) {
    current = service ? service : &silentPrompts;
}
