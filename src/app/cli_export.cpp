#include "cli_export.h"

#include "cli_files.h"
#include "cli_output.h"
#include "exports/export_commands.h"

#include <QDir>

#include <memory>

namespace kvt {
namespace {

const TextPair NoSuchImpact{u"В файле нет удара %1 серии %2", u"No impact %1 of series %2 in the file"};

int usage()
{
    writeUtf8(stderr, QString::fromUtf16(ExportUsage));
    return CliUsage;
}

} // namespace

int runExport(const QStringList &arguments, Language language)
{
    QString input, output, curveName, format;
    quint32 seriesRow = 0, impactColumn = 1;
    bool fullView = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (argument == u"--full")
            fullView = true;
        else if (argument == u"--series" && hasValue)
            seriesRow = arguments[++i].toUInt(&ok);
        else if (argument == u"--impact" && hasValue)
            impactColumn = arguments[++i].toUInt(&ok);
        else if (argument == u"--curve" && hasValue)
            curveName = arguments[++i];
        else if (argument == u"--format" && hasValue)
            format = arguments[++i];
        else if (argument == u"-o" && hasValue)
            output = arguments[++i];
        else if (input.isEmpty() && !argument.startsWith(u'-'))
            input = argument;
        else
            ok = false;
        if (!ok)
            return usage();
    }
    const QStringList curves{"a", "v", "s", "f", "all"};
    if (input.isEmpty() || output.isEmpty() || !curves.contains(curveName) || (format != u"wav" && format != u"csv")
        || seriesRow == 0 || impactColumn == 0)
        return usage();

    auto store = std::make_unique<MeasurementStore>();
    if (!loadFileForCli(input, *store, language) || !hasMeasurementsForCli(*store, language))
        return CliFailure;
    // What the file holds is no matter of usage: the same command is right for another file.
    if (seriesRow > store->seriesCount() || impactColumn > store->seriesSize(seriesRow - 1)) {
        writeUtf8(stderr, NoSuchImpact.text(language).arg(impactColumn).arg(seriesRow) + u'\n');
        return CliFailure;
    }
    const ImpactRecord &record = store->record(store->seriesStart(seriesRow - 1) + impactColumn - 1);
    const ExportFormat exportFormat = format == u"wav" ? ExportFormat::Wav : ExportFormat::Csv;
    const std::optional<ExportCurve> curve =
        curveName == u"all" ? std::nullopt : std::optional<ExportCurve>(ExportCurve(curves.indexOf(curveName)));

    if (exportFormat == ExportFormat::Wav && !curve) {
        // PATH is a folder; the files take the names the window proposes.
        QDir().mkpath(output);
        for (const auto &[name, bytes] : allCurveWavFiles(record, fullView))
            if (!writeFileForCli(QDir(output).filePath(name), bytes, language))
                return CliFailure;
        return CliSuccess;
    }
    return writeFileForCli(output, exportFileBytes(record, exportFormat, curve, fullView), language) ? CliSuccess
                                                                                          : CliFailure;
}

} // namespace kvt
