#include "cli_report.h"

#include "cli_files.h"
#include "cli_output.h"
#include "evaluation/group_statistics.h"
#include "exports/modulus_report.h"
#include "exports/summary_report.h"
#include "report/report_files.h"
#include "store/table_texts.h"

#include <memory>
#include <optional>

namespace kvt {
namespace {

int usage()
{
    writeUtf8(stderr, QString::fromUtf16(ReportUsage));
    return CliUsage;
}

std::optional<ReportFormat> formatOption(const QString &argument)
{
    for (const ReportFileFormat &file : ReportFileFormats)
        if (argument == QLatin1String(file.option))
            return file.format;
    return std::nullopt;
}

// What the window's preview adds to the series list when asked.
struct SummaryRequest {
    bool wanted = false;
    QString rulesFile; // empty: the window program's settings
};

// The report of a measurement file's series table, as the window's Print
// command prepares it.
std::optional<PreparedReport> measuredReport(const QString &fileName, const SummaryRequest &summary,
                                             Language language)
{
    auto store = std::make_unique<MeasurementStore>();
    if (!loadFileForCli(fileName, *store, language))
        return std::nullopt;
    // As the window's Print command, which has nothing to print without a series.
    if (!hasMeasurementsForCli(*store, language))
        return std::nullopt;
    ModulusReport report(seriesTableGrid(*store, language), language);
    PreparedReport prepared = report.prepare();
    if (summary.wanted) {
        const std::optional<QList<RequirementRule>> rules = readRulesForCli(summary.rulesFile, language);
        if (!rules)
            return std::nullopt;
        SummaryReport(groupStatistics(seriesValues(*store), *rules), language)
            .appendTo(prepared);
    }
    return prepared;
}

// A report saved by the preview or by --prepared, to be written in a format;
// one that asks that writer for more than any report holds is damaged.
std::optional<PreparedReport> savedReport(const QString &fileName, ReportFormat format, Language language)
{
    PreparedReportFile file = readPreparedReportFile(fileName);
    if (file.status == PreparedReportStatus::Read && !reportFitsFormat(file.report, format))
        file.status = PreparedReportStatus::Damaged;
    if (file.status != PreparedReportStatus::Read) {
        writeUtf8(stderr, preparedReportFailure(file.status, fileName, language) + u'\n');
        return std::nullopt;
    }
    return std::move(file.report);
}

} // namespace

int runReport(const QStringList &arguments, Language language)
{
    QStringList paths;
    std::optional<QString> saved;
    std::optional<ReportFormat> format;
    SummaryRequest summary;
    std::optional<QString> rulesFile;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--open" && !saved && i + 1 < arguments.size())
            saved = arguments[++i];
        else if (argument == u"--summary" && !summary.wanted)
            summary.wanted = true;
        else if (argument == u"--rules" && !rulesFile && i + 1 < arguments.size() && !arguments[i + 1].isEmpty())
            rulesFile = arguments[++i];
        else if (!argument.startsWith(u"--"))
            paths << argument;
        else if (!format && formatOption(argument))
            format = formatOption(argument);
        else
            return usage();
    }
    // A saved report holds what it was saved with; rules judge only a summary.
    if (paths.size() != (saved ? 1 : 2) || !format || (saved && summary.wanted) || (rulesFile && !summary.wanted))
        return usage();
    summary.rulesFile = rulesFile.value_or(QString());

    const std::optional<PreparedReport> report =
        saved ? savedReport(*saved, *format, language) : measuredReport(paths[0], summary, language);
    if (!report)
        return CliFailure;
    return writeFileForCli(paths.last(), reportFileBytes(*report, *format), language) ? CliSuccess : CliFailure;
}

} // namespace kvt
