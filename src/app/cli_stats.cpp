#include "cli_stats.h"

#include "cli_files.h"
#include "cli_output.h"
#include "evaluation/requirement_settings.h"
#include "evaluation/statistics_table.h"
#include "files/file_texts.h"
#include "support/csv_text.h"
#include "support/settings_location.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

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

std::optional<QList<RequirementRule>> readRules(const QString &rulesFile, Language language)
{
    if (!rulesFile.isEmpty() && !(QFileInfo(rulesFile).isFile() && QFileInfo(rulesFile).isReadable())) {
        writeUtf8(stderr, CannotOpenFile.text(language) + rulesFile + u'\n');
        return std::nullopt;
    }
    const SettingsFile settings = rulesFile.isEmpty() ? windowProgramSettings() : SettingsFile(rulesFile);
    std::optional<QList<RequirementRule>> rules = readRequirementRules(settings);
    if (!rules)
        writeUtf8(stderr, RulesUnreadable.text(language) + settings.path() + u'\n');
    return rules;
}

int usage()
{
    writeUtf8(stderr, QString::fromUtf16(StatsUsage));
    return CliUsage;
}

} // namespace

int runStats(const QStringList &arguments, Language language)
{
    QString fileName;
    QString rulesFile;
    bool csv = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--rules") {
            if (!rulesFile.isEmpty() || i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return usage();
            rulesFile = arguments[++i];
        } else if (arguments[i] == u"--csv" && !csv) {
            csv = true;
        } else if (fileName.isEmpty() && !arguments[i].startsWith(u"--")) {
            fileName = arguments[i];
        } else {
            return usage();
        }
    }
    if (fileName.isEmpty())
        return usage();

    auto store = std::make_unique<MeasurementStore>();
    if (!loadFileForCli(fileName, *store, language))
        return CliFailure;
    const std::optional<QList<RequirementRule>> rules = readRules(rulesFile, language);
    if (!rules)
        return CliFailure;

    const QList<QStringList> grid = statisticsGrid(groupStatistics(seriesValues(*store), *rules), language);
    if (csv) {
        const QByteArray bytes = csvBytes(grid);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return CliSuccess;
    }
    for (const QStringList &row : grid)
        writeUtf8(stdout, row.join(u'\t') + u'\n');
    return CliSuccess;
}

} // namespace kvt
