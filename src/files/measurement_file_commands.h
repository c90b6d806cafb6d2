#pragma once

#include "save_dialog.h"
#include "store/measurement_store.h"
#include "support/bilingual.h"
#include "support/settings_file.h"
#include "support/user_prompts.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace kvt {


enum class SaveResult { NothingToSave, Cancelled, Saved, Failed };

// Asks for a name (proposing the last folder and a name made of the time),
// corrects its extension and writes the store, offering Abort/Retry/Ignore when
// the file cannot be created.
SaveResult saveMeasurements(const MeasurementStore &store, FileCommandContext &context, const QDateTime &now);

struct OpenResult {
    bool loaded = false;
    QString fileStatus;  // status panel 0: File "name.kvt"
    QString countStatus; // status panel 1: Data Readed (12)
};

// Opens the named file, or asks for one when no name is given. A file that
// cannot be opened brings the dialog back; a damaged one is reported and leaves
// the store as it was.
OpenResult openMeasurements(MeasurementStore &store, FileCommandContext &context,
                            std::optional<QString> fileName = std::nullopt);

// The file named on the command line: all arguments joined by single spaces, so
// that an unquoted path with spaces still names one file. Nothing without arguments.
std::optional<QString> startupFileName(const QStringList &arguments);

// The file dropped on the window: exactly one local file ending in ".kvt"
// (case-sensitive, as the dialogs judge extensions). Nothing for anything else.
std::optional<QString> droppedFileName(const QList<QUrl> &urls);

} // namespace kvt
