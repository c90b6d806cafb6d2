#include "save_dialog.h"

#include "file_texts.h"
#include "last_folder.h"
#include "support/common_texts.h"
#include "support/path_parts.h"
#include "support/safe_write.h"

#include <QFileInfo>

namespace kvt {

MessageRequest cannotCreateMessage(const QString &fileName, Language language)
{
    MessageRequest request;
    request.caption = ApplicationTitle.text(language);
    request.text = CannotCreateFirst.text(language) + fileName + CannotCreateSecond.text(language);
    request.icon = PromptIcon::Warning;
    return request;
}

MessageRequest replaceExistingMessage(const QString &fileName, Language language)
{
    MessageRequest request;
    request.caption = ApplicationTitle.text(language);
    request.text = ReplaceExistingFirst.text(language) + fileName + ReplaceExistingSecond.text(language);
    request.icon = PromptIcon::Warning;
    request.buttons = {PromptButton::Yes, PromptButton::No};
    request.defaultButton = PromptButton::No;
    return request;
}

SaveNameDecision withExtension(const QString &chosenName, const QString &extension)
{
    const QString current = extensionOf(chosenName);
    if (current == extension)
        return {chosenName, false};
    return {chosenName.left(chosenName.size() - current.size()) + extension, true};
}

WriteResult saveThroughDialog(FileCommandContext &context, const SaveDialogRequest &request,
                              const std::function<std::optional<QByteArray>(const QString &fileName)> &bytes)
{
    QString proposed = request.proposedName;
    for (;;) {
        const std::optional<QString> chosen =
            context.prompts.askSaveFileName({request.title, proposed, request.filter});
        if (!chosen)
            return WriteResult::Cancelled;
        rememberFolder(context.settings, *chosen);

        const SaveNameDecision decision = request.correctName(*chosen);
        proposed = decision.name;
        if (decision.askAgain)
            continue;
        // The dialog asked about the name as typed; a file of the corrected
        // name is replaced only when the user agrees to that too.
        if (decision.name != *chosen && QFileInfo::exists(decision.name)
            && context.prompts.showMessage(replaceExistingMessage(decision.name, context.language))
                   != PromptButton::Yes)
            continue;

        const std::optional<QByteArray> content = bytes(decision.name);
        switch (content ? writeFileSafely(decision.name, *content) : SafeWriteStatus::WriteFailed) {
        case SafeWriteStatus::Written:
            return WriteResult::Written;
        case SafeWriteStatus::WriteFailed:
            context.prompts.showMessage(cannotCreateMessage(decision.name, context.language));
            return WriteResult::Failed;
        case SafeWriteStatus::CannotCreate: {
            MessageRequest message = cannotCreateMessage(decision.name, context.language);
            message.buttons = {PromptButton::Abort, PromptButton::Retry, PromptButton::Ignore};
            message.defaultButton = PromptButton::Retry;
            if (context.prompts.showMessage(message) != PromptButton::Retry)
                return WriteResult::Failed;
            break;
        }
        }
    }
}

} // namespace kvt
