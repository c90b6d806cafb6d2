#pragma once

#include "bilingual.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kvt {

enum class PromptButton { Ok, Abort, Retry, Ignore, Yes, No, Cancel };
enum class PromptIcon { None, Information, Warning, Error, Question };

struct MessageRequest {
    QString caption; // the application title; empty for a plain message box
    QString text;
    PromptIcon icon = PromptIcon::None;
    QList<PromptButton> buttons{PromptButton::Ok};
    PromptButton defaultButton = PromptButton::Ok;
};

struct FileDialogRequest {
    QString title;
    QString proposedName; // folder and file name the dialog starts with
    QString filter;       // Qt form: "DataFile (*.kvt);;All files (*.*)"
};

// Every question the program asks the user goes through this interface, so
// that each retry, cancel and name-correction loop can run without a window.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The chosen file name, or nothing when the user cancels.
    virtual std::optional<QString> askOpenFileName(const FileDialogRequest &request) = 0;
    // The save dialog asks itself before an existing file is overwritten.
    virtual std::optional<QString> askSaveFileName(const FileDialogRequest &request) = 0;
    // The button the user pressed; closing the box counts as its escape button.
    virtual PromptButton showMessage(const MessageRequest &request) = 0;
    // The language chosen at the first start; nothing when the question failed.
    virtual std::optional<Language> askLanguage() = 0;
    // A colour as the system's colour number (red in the low byte), starting
    // from the current one; nothing when the user cancels.
    virtual std::optional<int> askColor(int current) = 0;
};

} // namespace kvt
