#pragma once

#include "store/impact_record.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace kvt {

// The curves an impact is exported as.
enum class ExportCurve { Accel, Velocity, Displacement, Force };

using WavSamples = std::array<qint16, SamplesPerCurve>;
constexpr int WavFileSize = 1068;
constexpr int WavPeak = 23197;

// Raw counts: a as measured; v and s its running sums (64-bit, so no record
// can overflow them); F as measured. v, s and F are normalised so that the
// largest magnitude becomes 23197, truncating toward zero.
WavSamples wavSamples(const ImpactRecord &record, ExportCurve curve);
// The full view's all-curves export takes s from the v samples it has just
// written: their running sum, normalised.
WavSamples displacementFromVelocitySamples(const WavSamples &velocity);
// A 16-bit mono PCM file, 15625 samples per second: the constant 44-byte
// header, then the samples.
QByteArray wavFile(const WavSamples &samples);

// The text file of one curve in physical units, or of all curves side by side
// (all four in the full view, displacement and force in the standard view);
// comment lines first, LF line ends.
QByteArray csvFile(const ImpactRecord &record, ExportCurve curve);
QByteArray csvAllCurvesFile(const ImpactRecord &record, bool fullView);

// "Velocity_12_3.wav": the prefix, the series and impact numbers.
QString exportFileName(const ImpactRecord &record, const QString &prefix, const QString &extension);
QString exportPrefix(ExportCurve curve); // "Accelerate_", "Velocity_", …

} // namespace kvt
