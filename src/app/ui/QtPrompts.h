#pragma once

#include "app/UserPrompts.h"

#include <QList>
#include <QMessageBox>

class QAbstractFileIconProvider;
class QFileDialog;

// The prompts of the running program: message and input boxes, file and colour dialogs, the progress
// window and the desktop services, each owned by the active window.
class QtPrompts : public UserPrompts {
public:
    // What a message box shows for the standard flags.
    struct MessageBoxLayout {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QList<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
        // Esc and the close box answer with this one.
        QMessageBox::StandardButton escapeButton = QMessageBox::Ok;
    };
    [[nodiscard]] static MessageBoxLayout messageBoxLayout(int flags);
    [[nodiscard]] static int messageResult(QMessageBox::StandardButton button);
    // Accepts both "Timetable Files (*.qtf)" and "Timetable Files (*.qtf)|*.qtf" forms.
    [[nodiscard]] static QString dialogFilter(const QString& filter);
    // Makes the dialog show folders without reading any file's content: Qt's own dialog, typing its
    // entries with `icons`, which must outlive it.
    static void prepareFileDialog(QFileDialog& dialog, QAbstractFileIconProvider& icons);
    // Widens the box so that its title is not cut, as the window frame shows it.
    static void fitTitle(QMessageBox& box);

    int showMessage(const QString& text, int flags, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& suggestion) override;
    std::optional<quint32> chooseColour(quint32 current) override;
    std::optional<FontDescription> chooseFont(const FontDescription& current) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ProgressView> createProgress() override;
    void setBusy(bool busy) override;
    bool openUrl(const QString& url) override;
    void setClipboardText(const QString& text) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;

private:
    int m_busyDepth = 0;
};
