#pragma once

#include "store/impact_record.h"

#include <array>

namespace kvt::sim {

// What happens in one impact: the falling weight's force pulse on the plate
// and the ground's stiffness, expressed as the modulus it is meant to show.
struct ImpactPhysics {
    double targetModulusMPa = 60;
    double peakForceN = 7070;     // a 10 kg weight dropped on its spring pack
    double pulseSeconds = 0.018;
    quint64 noiseSeed = 1;        // sensor noise, so no two curves look alike
};

// The two curves as the instrument stores them, with the values it derives from
// them. The scales map the raw counts back to the physical curves, and the
// derived values come from the raw counts by the same running sums the
// program uses, so the program's own view agrees with the record's numbers.
struct ImpactCurves {
    std::array<qint16, SamplesPerCurve> accel{};
    std::array<qint16, SamplesPerCurve> force{};
    float accelPeakNeg = 0;   // m/s², the lowest acceleration
    float accelPeakPos = 0;   // m/s², the highest
    float forceScale = 0;     // N at a raw count of 32767
    float peakForce = 0;      // N
    float velocityDown = 0;   // m/s, fastest downward plate movement
    float velocityRebound = 0; // m/s, fastest upward movement after the pulse
    float displacementMm = 0; // deepest plate position
    float dynModulus = 0;     // MPa, from the peak force and that displacement
};

// The plate and the ground beneath it as a damped mass on a spring, driven by a
// half-sine force pulse that starts half a millisecond after the trigger.
ImpactCurves simulateImpact(const ImpactPhysics &physics);

// The modulus of a plate of 300 mm diameter: 1.5 × r × pressure / settlement.
double plateModulusMPa(double peakForceN, double settlementMm);

} // namespace kvt::sim
