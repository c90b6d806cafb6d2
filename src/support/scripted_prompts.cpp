#include "scripted_prompts.h"

namespace kvt {

std::optional<QString> ScriptedPrompts::nextFileName()
{
    if (m_answers.empty() || !std::holds_alternative<std::optional<QString>>(m_answers.front()))
        return std::nullopt;
    auto name = std::get<std::optional<QString>>(m_answers.front());
    m_answers.pop_front();
    return name;
}

std::optional<QString> ScriptedPrompts::askOpenFileName(const FileDialogRequest &request)
{
    m_openRequests.push_back(request);
    return nextFileName();
}

std::optional<QString> ScriptedPrompts::askSaveFileName(const FileDialogRequest &request)
{
    m_saveRequests.push_back(request);
    return nextFileName();
}

PromptButton ScriptedPrompts::showMessage(const MessageRequest &request)
{
    m_messages.push_back(request);
    if (!m_answers.empty() && std::holds_alternative<PromptButton>(m_answers.front())) {
        const PromptButton button = std::get<PromptButton>(m_answers.front());
        m_answers.pop_front();
        return button;
    }
    for (PromptButton escape : {PromptButton::Cancel, PromptButton::Abort})
        if (request.buttons.contains(escape))
            return escape;
    return request.buttons.isEmpty() ? PromptButton::Ok : request.buttons.back();
}

std::optional<Language> ScriptedPrompts::askLanguage()
{
    ++m_languageQuestions;
    if (m_answers.empty() || !std::holds_alternative<Language>(m_answers.front()))
        return std::nullopt;
    const Language language = std::get<Language>(m_answers.front());
    m_answers.pop_front();
    return language;
}

std::optional<int> ScriptedPrompts::askColor(int current)
{
    m_colorQuestions.push_back(current);
    if (m_answers.empty() || !std::holds_alternative<ColorAnswer>(m_answers.front()))
        return std::nullopt;
    const std::optional<int> color = std::get<ColorAnswer>(m_answers.front()).color;
    m_answers.pop_front();
    return color;
}

} // namespace kvt
