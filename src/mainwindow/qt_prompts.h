#pragma once

#include "support/user_prompts.h"

class QWidget;

namespace kvt {

// The real dialogs: Qt's file dialogs and message boxes over the given window.
class QtPrompts final : public UserPrompts {
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    std::optional<QString> askOpenFileName(const FileDialogRequest &request) override;
    std::optional<QString> askSaveFileName(const FileDialogRequest &request) override;
    PromptButton showMessage(const MessageRequest &request) override;
    std::optional<Language> askLanguage() override;
    std::optional<int> askColor(int current) override;

private:
    QWidget *m_parent;
};

} // namespace kvt
