#pragma once

#include "curve_export.h"
#include "files/save_dialog.h"
#include "store/measurement_store.h"

#include <QList>
#include <optional>

namespace kvt {

enum class ExportFormat { Wav, Csv };
enum class ExportResult { NoData, Written, Cancelled, Failed };

// The bytes of one export file: one curve, or (curve empty) all curves as CSV.
// All curves as WAV are several files: allCurveWavFiles.
QByteArray exportFileBytes(const ImpactRecord &record, ExportFormat format, std::optional<ExportCurve> curve,
                           bool fullView);

// The files of the all-curves WAV export, by name, in the order written:
// a, v, s, F in the full view (s from the v samples written), s, F in the standard view.
QList<std::pair<QString, QByteArray>> allCurveWavFiles(const ImpactRecord &record, bool fullView);

// The export commands on the displayed impact. A curve, or all curves as one
// CSV file, goes through the save dialog with the proposed name
// "Prefix_series_impact.ext"; the all-curves WAV export writes its files into
// the last folder without asking and stops at the first failure.
ExportResult exportDisplayedImpact(MeasurementStore &store, FileCommandContext &context, ExportFormat format,
                                   std::optional<ExportCurve> curve, bool fullView);
ExportResult exportAllWav(MeasurementStore &store, FileCommandContext &context, bool fullView);

} // namespace kvt
