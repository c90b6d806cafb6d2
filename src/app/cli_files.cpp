#include "cli_files.h"

#include "cli_output.h"
#include "files/file_texts.h"
#include "files/kvt_file.h"
#include "support/common_texts.h"
#include "support/path_parts.h"
#include "support/safe_write.h"
#include "support/settings_location.h"

#include <QCoreApplication>

namespace kvt {
namespace {

const TextPair RulesUnreadable{u"Требования не читаются: ", u"Requirements cannot be read: "};

// The settings the window program uses: its per-user folder carries the
// window program's name, not this tool's.
SettingsFile windowProgramSettings()
{
    QCoreApplication::setApplicationName(QStringLiteral("kvt10"));
    return programSettings(QCoreApplication::applicationDirPath());
}

} // namespace

bool loadFileForCli(const QString &fileName, MeasurementStore &store, Language language)
{
    switch (loadKvtFile(fileName, store)) {
    case KvtLoadStatus::CannotOpen:
        writeUtf8(stderr, CannotOpenFile.text(language) + fileName + u'\n');
        return false;
    case KvtLoadStatus::Rejected:
        writeUtf8(stderr, FileRejected.text(language) + QStringLiteral(": ") + fileNamePart(fileName) + u'\n');
        return false;
    case KvtLoadStatus::Loaded:
        break;
    }
    return true;
}

bool hasMeasurementsForCli(const MeasurementStore &store, Language language)
{
    if (store.seriesCount() > 0)
        return true;
    writeUtf8(stderr, MsgNoData.text(language) + u'\n');
    return false;
}

bool writeFileForCli(const QString &path, const std::optional<QByteArray> &bytes, Language language)
{
    if (bytes && writeFileSafely(path, *bytes) == SafeWriteStatus::Written)
        return true;
    writeUtf8(stderr, CannotCreateFirst.text(language) + path + CannotCreateSecond.text(language) + u'\n');
    return false;
}

std::optional<QList<RequirementRule>> readRulesForCli(const QString &rulesFile, Language language)
{
    const SettingsFile settings = rulesFile.isEmpty() ? windowProgramSettings() : SettingsFile(rulesFile);
    const SettingsSnapshot snapshot = settings.read();
    if (const std::optional<SettingsRefusal> refusal = snapshot.refusal()) {
        writeUtf8(stderr, unreadSettingsText(refusal->status).text(language) + refusal->path + u'\n');
        return std::nullopt;
    }
    // A rules file named on the command line must be there; the settings file need not.
    if (!rulesFile.isEmpty() && !snapshot.fileExists()) {
        writeUtf8(stderr, CannotOpenFile.text(language) + rulesFile + u'\n');
        return std::nullopt;
    }
    std::optional<QList<RequirementRule>> rules = readRequirementRules(snapshot);
    if (!rules)
        writeUtf8(stderr, RulesUnreadable.text(language) + settings.path() + u'\n');
    return rules;
}

} // namespace kvt
