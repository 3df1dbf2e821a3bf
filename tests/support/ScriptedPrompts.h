#pragma once

#include "app/UserPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// Records every prompt and answers from a queue. A prompt with no scripted answer fails the test:
// nothing may ask the user unless the test expects it.
class ScriptedPrompts : public UserPrompts {
public:
    struct Prompt {
        QString kind; // "message", "input", "open", "save", "colour", "font", "printer"
        QString text;
        int flags = 0;
        QString title;
    };

    ScriptedPrompts();           // installs itself
    ~ScriptedPrompts() override; // restores the default

    // Queue answers: message results (MessageResult), input texts (nullopt = Cancel), file names
    // ("" = cancel), colours, fonts (nullopt = Cancel).
    // `meanwhile` runs while the message is shown, as window messages do while a modal box waits.
    void answerMessage(int result, std::function<void()> meanwhile = {}) {
        m_messageAnswers.push_back({result, std::move(meanwhile)});
    }
    void answerInput(std::optional<QString> text) {
        m_inputAnswers.push_back({text.has_value(), text.value_or(QString())});
    }
    void answerFile(const QString& path) { m_fileAnswers.push_back(path); }
    void answerColour(std::optional<quint32> colour) { m_colourAnswers.push_back(colour); }
    void answerFont(std::optional<FontDescription> font) {
        m_fontAnswers.push_back({font.has_value(), font.value_or(FontDescription())});
    }
    // The print dialog: the answer sets the printer up (a PDF file) and returns true, or returns false
    // for Cancel.
    void answerPrinter(std::function<bool(QPrinter&)> answer) {
        m_printerAnswers.push_back(std::move(answer));
    }
    // Progress windows report a cancel once their value reaches this number (-1: never).
    void cancelProgressAt(int value) { m_cancelProgressAt = value; }

    [[nodiscard]] const QList<Prompt>& prompts() const { return m_prompts; }
    [[nodiscard]] QStringList texts() const;
    [[nodiscard]] int unansweredCount() const;
    void clear();

    QStringList openedUrls;
    QStringList clipboard;
    QList<QStringList> detachedStarts;
    int busyDepth = 0;
    QList<int> progressValues;
    QStringList progressCaptions;

    int showMessage(const QString& text, int flags, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& suggestion) override;
    std::optional<quint32> chooseColour(quint32 current) override;
    std::optional<FontDescription> chooseFont(const FontDescription& current) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ProgressView> createProgress() override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    bool openUrl(const QString& url) override;
    void setClipboardText(const QString& text) override { clipboard << text; }
    bool startDetached(const QString& program, const QStringList& arguments) override;

private:
    void record(const QString& kind, const QString& text, int flags, const QString& title);
    void unexpected(const QString& kind, const QString& text);
    template <typename Answer>
    std::optional<Answer> next(std::deque<Answer>& answers, const QString& kind, const QString& text);

    QList<Prompt> m_prompts;
    std::deque<std::pair<int, std::function<void()>>> m_messageAnswers;
    std::deque<std::pair<bool, QString>> m_inputAnswers; // (given, text); not given = Cancel
    std::deque<QString> m_fileAnswers;
    std::deque<std::optional<quint32>> m_colourAnswers;
    std::deque<std::pair<bool, FontDescription>> m_fontAnswers; // (given, font); not given = Cancel
    std::deque<std::function<bool(QPrinter&)>> m_printerAnswers;
    int m_cancelProgressAt = -1;
};
