#include "physical_curves.h"

#include <algorithm>

namespace kvt {

double accelScale(const ImpactRecord &record)
{
    const double negativePeak = record.floatAt(ImpactRecord::AccelPeakNeg);
    const double positivePeak = record.floatAt(ImpactRecord::AccelPeakPos);
    return std::max(-negativePeak, positivePeak) / 32767.0;
}

PhysicalCurves physicalCurves(const ImpactRecord &record)
{
    PhysicalCurves curves;
    const double scale = accelScale(record);
    const double forceScale = record.floatAt(ImpactRecord::ForceScale);
    double velocity = 0;
    double displacement = 0;
    for (int i = 0; i < SamplesPerCurve; ++i) {
        const double acceleration = record.accelSample(i) * scale;
        velocity += acceleration * SamplePeriodSeconds;
        displacement += velocity * 1000.0 * SamplePeriodSeconds;
        curves.acceleration[i] = acceleration;
        curves.velocity[i] = velocity;
        curves.displacement[i] = displacement;
        curves.force[i] = record.forceSample(i) / 32767.0 * forceScale;
    }
    return curves;
}

} // namespace kvt
