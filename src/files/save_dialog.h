#pragma once

#include "save_name.h"
#include "support/bilingual.h"
#include "support/settings_file.h"
#include "support/user_prompts.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace kvt {

// What the commands that read or write files need besides their data.
struct FileCommandContext {
    UserPrompts &prompts;
    SettingsFile &settings;
    QString programFolder; // without a trailing separator
    Language language = Language::Russian;
};

enum class WriteResult { Written, Cancelled, Failed };

struct SaveDialogRequest {
    QString title;
    QString proposedName;
    QString filter;
    // The command's extension rule: the name to write, or to propose again.
    std::function<SaveNameDecision(const QString &)> correctName;
};

// The save dialog loop every command that writes a file shares: the folder of
// every confirmed name is remembered; a name with the wrong extension brings
// the dialog back, corrected; a corrected name that names an existing file is
// written only after the user agreed to replace it (No brings the dialog
// back); a file that cannot be created offers Abort,
// Retry (the dialog again, same name) and Ignore; a failed write is reported.
// The file is replaced whole or not at all; bytes gets the name it will have,
// and bytes that could not be made are reported as a failed write.
WriteResult saveThroughDialog(FileCommandContext &context, const SaveDialogRequest &request,
                              const std::function<std::optional<QByteArray>(const QString &fileName)> &bytes);

// "Can't create data file NAME.\nIt may be no free space …" as a warning.
MessageRequest cannotCreateMessage(const QString &fileName, Language language);

// "File NAME already exists.\nReplace it?" with Yes and No, No the default.
MessageRequest replaceExistingMessage(const QString &fileName, Language language);

// Another extension rule: anything but exactly this extension is replaced by it
// and proposed again.
SaveNameDecision withExtension(const QString &chosenName, const QString &extension);

} // namespace kvt
