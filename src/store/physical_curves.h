#pragma once

#include "impact_record.h"

#include <array>

namespace kvt {

using Curve = std::array<double, SamplesPerCurve>;

// A raw acceleration count of ±32767 stands for the larger of the two peaks.
double accelScale(const ImpactRecord &record);

// The four curves in physical units: acceleration m/s², velocity m/s and
// displacement mm (running sums from zero, no drift correction), force N.
struct PhysicalCurves {
    Curve acceleration{};
    Curve velocity{};
    Curve displacement{};
    Curve force{};
};

PhysicalCurves physicalCurves(const ImpactRecord &record);

} // namespace kvt
