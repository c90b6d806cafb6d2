#include "cli_report.h"

#include "cli_files.h"
#include "cli_output.h"
#include "exports/modulus_report.h"
#include "report/report_files.h"
#include "store/table_texts.h"
#include "support/common_texts.h"

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

} // namespace

int runReport(const QStringList &arguments, Language language)
{
    QStringList paths;
    std::optional<ReportFormat> format;
    for (const QString &argument : arguments) {
        if (!argument.startsWith(u"--"))
            paths << argument;
        else if (!format && formatOption(argument))
            format = formatOption(argument);
        else
            return usage();
    }
    if (paths.size() != 2 || !format)
        return usage();

    auto store = std::make_unique<MeasurementStore>();
    if (!loadFileForCli(paths[0], *store, language))
        return CliFailure;
    // As the window's Print command, which has nothing to print without a series.
    if (store->seriesCount() == 0) {
        writeUtf8(stderr, MsgNoData.text(language) + u'\n');
        return CliFailure;
    }
    ModulusReport report(seriesTableGrid(*store, language), language);
    return writeFileForCli(paths[1], reportFileBytes(report.prepare(), *format), language) ? CliSuccess
                                                                                              : CliFailure;
}

} // namespace kvt
