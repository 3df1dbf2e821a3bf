#include "ScriptedPrompts.h"

#include "app/MessageFlags.h"

#include <QTest>

namespace {
class ScriptedProgress : public ProgressView {
public:
    ScriptedProgress(ScriptedPrompts* owner, int cancelAt)
        : m_owner(owner)
        , m_cancelAt(cancelAt) {}
    void setCaption(const QString& caption) override { m_owner->progressCaptions << caption; }
    void setMaximum(int maximum) override { m_maximum = maximum; }
    void setValue(int value) override {
        m_owner->progressValues << value;
        if (value <= m_maximum)
            m_value = value;
        if (m_cancelAt >= 0 && value >= m_cancelAt)
            m_cancelled = true;
    }
    int value() const override { return m_value; }
    int maximum() const override { return m_maximum; }
    void hideCancel() override {}
    bool cancelled() const override { return m_cancelled; }

private:
    ScriptedPrompts* m_owner;
    int m_cancelAt;
    int m_maximum = 100;
    int m_value = 0;
    bool m_cancelled = false;
};
} // namespace

ScriptedPrompts::ScriptedPrompts() {
    setPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts() {
    setPrompts(nullptr);
}

QStringList ScriptedPrompts::texts() const {
    QStringList result;
    for (const Prompt& prompt : m_prompts)
        result << prompt.text;
    return result;
}

int ScriptedPrompts::unansweredCount() const {
    return int(m_messageAnswers.size() + m_inputAnswers.size() + m_fileAnswers.size() +
               m_colourAnswers.size() + m_fontAnswers.size() + m_printerAnswers.size());
}

void ScriptedPrompts::clear() {
    m_prompts.clear();
    m_messageAnswers.clear();
    m_inputAnswers.clear();
    m_fileAnswers.clear();
    m_colourAnswers.clear();
    m_fontAnswers.clear();
    m_printerAnswers.clear();
    openedUrls.clear();
    clipboard.clear();
    detachedStarts.clear();
    progressValues.clear();
    progressCaptions.clear();
}

void ScriptedPrompts::record(const QString& kind, const QString& text, int flags, const QString& title) {
    m_prompts << Prompt{kind, text, flags, title};
}

void ScriptedPrompts::unexpected(const QString& kind, const QString& text) {
    QTest::qFail(qPrintable(QString("unexpected %1: %2").arg(kind, text)), __FILE__, __LINE__);
}

int ScriptedPrompts::showMessage(const QString& text, int flags, const QString& title) {
    record("message", text, flags, title);
    if (m_messageAnswers.empty()) {
        // A plain OK message needs no answer; anything that asks does.
        if ((flags & MessageFlags::buttonMask) == MessageFlags::OkOnly)
            return MessageResult::Ok;
        unexpected("message", text);
        return defaultResult(flags);
    }
    const auto [answer, meanwhile] = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    if (meanwhile)
        meanwhile();
    return answer;
}

// The next scripted answer of a kind; none left fails the test.
template <typename Answer>
std::optional<Answer> ScriptedPrompts::next(std::deque<Answer>& answers, const QString& kind,
                                            const QString& text) {
    if (answers.empty()) {
        unexpected(kind, text);
        return std::nullopt;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::inputBox(const QString& prompt, const QString& title,
                                                 const QString&) {
    record("input", prompt, 0, title);
    const auto answer = next(m_inputAnswers, "input box", prompt);
    return answer && answer->first ? std::optional(answer->second) : std::nullopt;
}

QString ScriptedPrompts::openFileName(const QString& title, const QString& filter, const QString&) {
    record("open", filter, 0, title);
    return next(m_fileAnswers, "open dialog", title).value_or(QString());
}

QString ScriptedPrompts::saveFileName(const QString& title, const QString& filter, const QString&) {
    record("save", filter, 0, title);
    return next(m_fileAnswers, "save dialog", title).value_or(QString());
}

std::optional<quint32> ScriptedPrompts::chooseColour(quint32) {
    record("colour", {}, 0, {});
    return next(m_colourAnswers, "colour dialog", {}).value_or(std::nullopt);
}

std::optional<FontDescription> ScriptedPrompts::chooseFont(const FontDescription& current) {
    record("font", current.name, 0, {});
    const auto answer = next(m_fontAnswers, "font dialog", current.name);
    return answer && answer->first ? std::optional(answer->second) : std::nullopt;
}

bool ScriptedPrompts::choosePrinter(QPrinter& printer) {
    record("printer", {}, 0, {});
    const auto answer = next(m_printerAnswers, "print dialog", {});
    return answer && (*answer)(printer);
}

std::unique_ptr<ProgressView> ScriptedPrompts::createProgress() {
    return std::make_unique<ScriptedProgress>(this, m_cancelProgressAt);
}

bool ScriptedPrompts::openUrl(const QString& url) {
    openedUrls << url;
    return true;
}

bool ScriptedPrompts::startDetached(const QString& program, const QStringList& arguments) {
    detachedStarts << (QStringList{program} + arguments);
    return true;
}
