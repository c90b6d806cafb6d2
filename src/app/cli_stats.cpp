#include "cli_stats.h"

#include "cli_files.h"
#include "cli_output.h"
#include "evaluation/statistics_table.h"
#include "support/csv_text.h"

#include <memory>

namespace kvt {
namespace {

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
    // As the window's statistics, which have no series to judge in an empty file.
    if (!loadFileForCli(fileName, *store, language) || !hasMeasurementsForCli(*store, language))
        return CliFailure;
    const std::optional<QList<RequirementRule>> rules = readRulesForCli(rulesFile, language);
    if (!rules)
        return CliFailure;

    const QList<QStringList> grid = statisticsGrid(groupStatistics(seriesValues(*store), *rules), language);
    if (csv) {
        const QByteArray bytes = csvBytes(grid);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return CliSuccess;
    }
    for (const QStringList &row : grid)
        writeUtf8(stdout, tabSeparatedLine(row));
    return CliSuccess;
}

} // namespace kvt
