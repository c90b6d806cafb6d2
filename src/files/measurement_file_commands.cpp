#include "measurement_file_commands.h"

#include "file_texts.h"
#include "kvt_file.h"
#include "last_folder.h"
#include "save_name.h"
#include "support/common_texts.h"
#include "support/number_format.h"
#include "support/path_parts.h"

#include <QDir>

namespace kvt {
namespace {

MessageRequest warning(const QString &text, Language language)
{
    MessageRequest request;
    request.caption = ApplicationTitle.text(language);
    request.text = text;
    request.icon = PromptIcon::Warning;
    return request;
}

} // namespace

SaveResult saveMeasurements(const MeasurementStore &store, FileCommandContext &context, const QDateTime &now)
{
    const Language language = context.language;
    if (store.isEmpty()) {
        context.prompts.showMessage({ApplicationTitle.text(language), MsgNoData.text(language)});
        return SaveResult::NothingToSave;
    }
    const SaveDialogRequest request{SaveDialogTitle.text(language),
                                    initialFolder(context.settings, context.programFolder) + defaultKvtFileName(now),
                                    KvtFilter, correctedKvtSaveName};
    switch (saveThroughDialog(context, request, [&store](const QString &) { return encodeKvt(store); })) {
    case WriteResult::Written: return SaveResult::Saved;
    case WriteResult::Cancelled: return SaveResult::Cancelled;
    case WriteResult::Failed: break;
    }
    return SaveResult::Failed;
}

OpenResult openMeasurements(MeasurementStore &store, FileCommandContext &context, std::optional<QString> fileName)
{
    const Language language = context.language;
    const QString filter = KvtFilter;
    if (!fileName) {
        fileName = context.prompts.askOpenFileName(
            {OpenDialogTitle.text(language), initialFolder(context.settings, context.programFolder) + QStringLiteral("File"), filter});
    }

    while (fileName) {
        rememberFolder(context.settings, *fileName);
        switch (loadKvtFile(*fileName, store)) {
        case KvtLoadStatus::CannotOpen:
            // No message: the dialog comes back with the name that failed.
            fileName = context.prompts.askOpenFileName({OpenDialogTitle.text(language), *fileName, filter});
            break;
        case KvtLoadStatus::Rejected:
            context.prompts.showMessage(
                warning(FileRejected.text(language) + QStringLiteral(": ") + fileNamePart(*fileName), language));
            return {};
        case KvtLoadStatus::Loaded:
            return {true, LoadedFileStatus.text(language) + u'"' + fileNamePart(*fileName) + u'"',
                    DataReadStatus.text(language) + QStringLiteral(" (")
                        + formatNumberOrNan(store.impactCount(), NumberPattern::Integer) + u')'};
        }
    }
    return {};
}

std::optional<QString> startupFileName(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return std::nullopt;
    return arguments.join(u' ');
}

std::optional<QString> droppedFileName(const QList<QUrl> &urls)
{
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    // In the system's own form, as its file dialogs give names ("\" on Windows).
    const QString name = QDir::toNativeSeparators(urls.front().toLocalFile());
    if (!name.endsWith(KvtExtension))
        return std::nullopt;
    return name;
}

} // namespace kvt
