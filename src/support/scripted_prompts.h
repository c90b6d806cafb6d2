#pragma once

#include "user_prompts.h"

#include <deque>
#include <variant>
#include <vector>

namespace kvt {

// Answers prompts from a script prepared in advance and records every request,
// for tests of the dialog loops. A prompt with no answer left in the script is
// answered as cancelled (no file name, the Cancel/Abort/last button, no language, no colour).
class ScriptedPrompts final : public UserPrompts {
public:
    struct ColorAnswer {
        std::optional<int> color;
    };
    using Answer = std::variant<std::optional<QString>, PromptButton, Language, ColorAnswer>;

    void answerFileName(std::optional<QString> name) { m_answers.emplace_back(std::move(name)); }
    void answerButton(PromptButton button) { m_answers.emplace_back(button); }
    void answerLanguage(Language language) { m_answers.emplace_back(language); }
    void answerColor(std::optional<int> color) { m_answers.emplace_back(ColorAnswer{color}); }

    std::optional<QString> askOpenFileName(const FileDialogRequest &request) override;
    std::optional<QString> askSaveFileName(const FileDialogRequest &request) override;
    PromptButton showMessage(const MessageRequest &request) override;
    std::optional<Language> askLanguage() override;
    std::optional<int> askColor(int current) override;

    const std::vector<FileDialogRequest> &openRequests() const { return m_openRequests; }
    const std::vector<FileDialogRequest> &saveRequests() const { return m_saveRequests; }
    const std::vector<MessageRequest> &messages() const { return m_messages; }
    int languageQuestions() const { return m_languageQuestions; }
    // The colour each colour question started from.
    const std::vector<int> &colorQuestions() const { return m_colorQuestions; }
    bool scriptUsedUp() const { return m_answers.empty(); }

private:
    std::optional<QString> nextFileName();

    std::deque<Answer> m_answers;
    std::vector<FileDialogRequest> m_openRequests;
    std::vector<FileDialogRequest> m_saveRequests;
    std::vector<MessageRequest> m_messages;
    int m_languageQuestions = 0;
    std::vector<int> m_colorQuestions;
};

} // namespace kvt
