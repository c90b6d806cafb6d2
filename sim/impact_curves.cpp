#include "impact_curves.h"

#include "demo_random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kvt::sim {
namespace {

constexpr double PlateRadiusM = 0.15;
constexpr double MovingMassKg = 20;   // plate and the ground that moves with it
constexpr double DampingRatio = 0.35; // soil swallows most of the ringing
constexpr double TriggerDelayS = 0.0005;
constexpr double NoiseShare = 0.004;  // of each curve's peak
constexpr int StepsPerSample = 8;

struct Ground {
    double stiffness;
    double damping;
};

Ground groundFor(const ImpactPhysics &physics)
{
    const double settlementM = 1.5 * physics.peakForceN
                             / (std::numbers::pi * PlateRadiusM * physics.targetModulusMPa * 1e6);
    const double stiffness = physics.peakForceN / settlementM;
    return {stiffness, 2 * DampingRatio * std::sqrt(stiffness * MovingMassKg)};
}

double pulseForce(const ImpactPhysics &physics, double t)
{
    const double s = t - TriggerDelayS;
    if (s <= 0 || s >= physics.pulseSeconds)
        return 0;
    return physics.peakForceN * std::sin(std::numbers::pi * s / physics.pulseSeconds);
}

struct Motion {
    double x = 0; // m, downwards
    double v = 0; // m/s
};

double accelerationOf(const ImpactPhysics &physics, const Ground &ground, double t, const Motion &m)
{
    return (pulseForce(physics, t) - ground.damping * m.v - ground.stiffness * m.x) / MovingMassKg;
}

// Classic Runge-Kutta; the pulse's kinks at its ends are resolved by the sub-steps.
Motion step(const ImpactPhysics &physics, const Ground &ground, double t, const Motion &m, double h)
{
    const auto derive = [&](double time, const Motion &state) {
        return Motion{state.v, accelerationOf(physics, ground, time, state)};
    };
    const Motion k1 = derive(t, m);
    const Motion k2 = derive(t + h / 2, {m.x + h / 2 * k1.x, m.v + h / 2 * k1.v});
    const Motion k3 = derive(t + h / 2, {m.x + h / 2 * k2.x, m.v + h / 2 * k2.v});
    const Motion k4 = derive(t + h, {m.x + h * k3.x, m.v + h * k3.v});
    return {m.x + h / 6 * (k1.x + 2 * k2.x + 2 * k3.x + k4.x), m.v + h / 6 * (k1.v + 2 * k2.v + 2 * k3.v + k4.v)};
}

void addNoise(std::array<double, SamplesPerCurve> &curve, DemoRandom &random)
{
    double peak = 0;
    for (double value : curve)
        peak = std::max(peak, std::abs(value));
    for (double &value : curve)
        value += random.uniform(-1, 1) * NoiseShare * peak;
}

qint16 toCount(double value, double fullScale)
{
    return qint16(std::clamp(std::lround(value / fullScale * 32767), -32767L, 32767L));
}

} // namespace

double plateModulusMPa(double peakForceN, double settlementMm)
{
    return 1.5 * peakForceN / (std::numbers::pi * PlateRadiusM * settlementMm / 1000) / 1e6;
}

ImpactCurves simulateImpact(const ImpactPhysics &physics)
{
    const Ground ground = groundFor(physics);
    std::array<double, SamplesPerCurve> acceleration{};
    std::array<double, SamplesPerCurve> force{};
    Motion motion;
    const double h = SamplePeriodSeconds / StepsPerSample;
    for (int i = 0; i < SamplesPerCurve; ++i) {
        const double t = i * SamplePeriodSeconds;
        acceleration[size_t(i)] = accelerationOf(physics, ground, t, motion);
        force[size_t(i)] = pulseForce(physics, t);
        for (int k = 0; k < StepsPerSample; ++k)
            motion = step(physics, ground, t + k * h, motion, h);
    }
    DemoRandom random(physics.noiseSeed);
    addNoise(acceleration, random);
    addNoise(force, random);

    ImpactCurves curves;
    const auto [lowest, highest] = std::minmax_element(acceleration.begin(), acceleration.end());
    curves.accelPeakNeg = float(*lowest);
    curves.accelPeakPos = float(*highest);
    const double accelFullScale = std::max(-double(curves.accelPeakNeg), double(curves.accelPeakPos));
    double forcePeak = 0;
    for (double value : force)
        forcePeak = std::max(forcePeak, std::abs(value));
    curves.forceScale = float(forcePeak);
    curves.peakForce = float(forcePeak);

    // The derived values from the stored counts, integrated as the program does.
    const double accelPerCount = accelFullScale / 32767;
    double v = 0, s = 0;
    for (int i = 0; i < SamplesPerCurve; ++i) {
        curves.accel[size_t(i)] = toCount(acceleration[size_t(i)], accelFullScale);
        curves.force[size_t(i)] = toCount(force[size_t(i)], forcePeak);
        v += curves.accel[size_t(i)] * accelPerCount * SamplePeriodSeconds;
        s += v * 1000 * SamplePeriodSeconds;
        curves.velocityDown = std::max(curves.velocityDown, float(v));
        curves.velocityRebound = std::max(curves.velocityRebound, float(-v));
        curves.displacementMm = std::max(curves.displacementMm, float(s));
    }
    curves.dynModulus = float(plateModulusMPa(forcePeak, curves.displacementMm));
    return curves;
}

} // namespace kvt::sim
