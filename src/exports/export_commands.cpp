#include "export_commands.h"

#include "files/file_texts.h"
#include "files/last_folder.h"
#include "support/common_texts.h"
#include "support/safe_write.h"

namespace kvt {
namespace {

QString extensionOf(ExportFormat format)
{
    return format == ExportFormat::Wav ? QStringLiteral(".wav") : CsvExtension;
}

// The displayed impact, loaded as the chart shows it; the store keeps its records.
const ImpactRecord *displayedRecord(MeasurementStore &store, FileCommandContext &context)
{
    if (store.isEmpty()) {
        context.prompts.showMessage({ApplicationTitle.text(context.language), MsgNoData.text(context.language)});
        return nullptr;
    }
    if (store.displayedImpact() >= 0)
        store.loadCurrentRecord(quint32(store.displayedImpact()));
    return &store.currentRecord();
}

} // namespace

QByteArray exportFileBytes(const ImpactRecord &record, ExportFormat format, std::optional<ExportCurve> curve,
                           bool fullView)
{
    if (format == ExportFormat::Csv)
        return curve ? csvFile(record, *curve) : csvAllCurvesFile(record, fullView);
    return wavFile(wavSamples(record, curve.value()));
}

QList<std::pair<QString, QByteArray>> allCurveWavFiles(const ImpactRecord &record, bool fullView)
{
    const auto named = [&record](ExportCurve curve, const WavSamples &samples) {
        return std::pair{exportFileName(record, exportPrefix(curve), QStringLiteral(".wav")), wavFile(samples)};
    };
    QList<std::pair<QString, QByteArray>> files;
    if (fullView) {
        const WavSamples velocity = wavSamples(record, ExportCurve::Velocity);
        files << named(ExportCurve::Accel, wavSamples(record, ExportCurve::Accel))
              << named(ExportCurve::Velocity, velocity)
              << named(ExportCurve::Displacement, displacementFromVelocitySamples(velocity));
    } else {
        files << named(ExportCurve::Displacement, wavSamples(record, ExportCurve::Displacement));
    }
    files << named(ExportCurve::Force, wavSamples(record, ExportCurve::Force));
    return files;
}

ExportResult exportDisplayedImpact(MeasurementStore &store, FileCommandContext &context, ExportFormat format,
                                   std::optional<ExportCurve> curve, bool fullView)
{
    const ImpactRecord *record = displayedRecord(store, context);
    if (!record)
        return ExportResult::NoData;
    const QString extension = extensionOf(format);
    const QString prefix = curve ? exportPrefix(*curve) : QStringLiteral("All_");
    const SaveDialogRequest request{
        SaveDialogTitle.text(context.language),
        initialFolder(context.settings, context.programFolder) + exportFileName(*record, prefix, extension),
        format == ExportFormat::Wav ? QStringLiteral("wav-files (*.wav);;All files (*.*)")
                                    : CsvFilter,
        [extension](const QString &name) { return withExtension(name, extension); }};
    const ImpactRecord exported = *record;
    switch (saveThroughDialog(context, request,
                              [&](const QString &) { return exportFileBytes(exported, format, curve, fullView); })) {
    case WriteResult::Written: return ExportResult::Written;
    case WriteResult::Cancelled: return ExportResult::Cancelled;
    case WriteResult::Failed: break;
    }
    return ExportResult::Failed;
}

ExportResult exportAllWav(MeasurementStore &store, FileCommandContext &context, bool fullView)
{
    const ImpactRecord *record = displayedRecord(store, context);
    if (!record)
        return ExportResult::NoData;
    const QString folder = initialFolder(context.settings, context.programFolder);
    for (const auto &[name, bytes] : allCurveWavFiles(*record, fullView)) {
        if (writeFileSafely(folder + name, bytes) != SafeWriteStatus::Written) {
            context.prompts.showMessage(cannotCreateMessage(folder + name, context.language));
            return ExportResult::Failed;
        }
    }
    return ExportResult::Written;
}

} // namespace kvt
