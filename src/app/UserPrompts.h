#pragma once

#include "FontDescription.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPrinter;

// A progress window as the operations see it; the Qt side shows a real window, tests script it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setMaximum(int maximum) = 0;
    // Shows the value, repaints and lets pending window messages run; a window on the screen does so
    // at most every 50 ms and at once when the value reaches the maximum, so that a loop never waits
    // for the screen while a Cancel is still seen within 100 ms.
    virtual void setValue(int value) = 0;
    [[nodiscard]] virtual int value() const = 0;
    [[nodiscard]] virtual int maximum() const = 0;
    virtual void hideCancel() = 0;
    [[nodiscard]] virtual bool cancelled() const = 0;
};

// Everything that asks or tells the user, or reaches outside the program, goes through this one
// replaceable object: the application installs the Qt implementation, tests a scripted one.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Message box flags and results as the standard message box values (see MessageFlags).
    virtual int showMessage(const QString& text, int flags, const QString& title) = 0;
    // Empty optional on Cancel.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // Empty text on cancel.
    virtual QString openFileName(const QString& title, const QString& filter, const QString& folder) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& suggestion) = 0;
    // Colours are BGR values; empty optional on cancel.
    virtual std::optional<quint32> chooseColour(quint32 current) = 0;
    // Empty optional on cancel.
    virtual std::optional<FontDescription> chooseFont(const FontDescription& current) = 0;
    virtual std::unique_ptr<ProgressView> createProgress() = 0;
    // The print dialog: printer, page range or a PDF file, set on the printer; false on cancel. Nothing
    // prints unless a service asks the user.
    virtual bool choosePrinter(QPrinter& printer);
    // The hourglass pointer; calls nest.
    virtual void setBusy(bool busy) = 0;
    virtual bool openUrl(const QString& url) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

UserPrompts& prompts();
// Installs the service object; the caller keeps ownership. Passing nullptr restores the silent default.
void setPrompts(UserPrompts* service);

// Shows the hourglass for the lifetime of the object, so that every exit path restores the pointer.
class BusyCursor {
public:
    BusyCursor() { prompts().setBusy(true); }
    ~BusyCursor() { prompts().setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
