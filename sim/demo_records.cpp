#include "demo_records.h"

#include "demo_random.h"
#include "impact_curves.h"
#include "name_lists.h"
#include "store/short_name20.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace kvt::sim {
namespace {

using R = ImpactRecord;

ImpactPhysics impactPhysics(const DemoSeries &series, int impact)
{
    DemoRandom random(series.seed ^ (quint64(impact) << 48));
    ImpactPhysics physics;
    // The first blows still compact the ground.
    const double compaction = 1 - 0.06 * std::pow(0.6, impact - 1);
    physics.targetModulusMPa = series.modulusMPa * compaction * (1 + random.uniform(-0.02, 0.02));
    physics.peakForceN = 7070 * random.uniform(0.985, 1.015);
    physics.pulseSeconds = random.uniform(0.0175, 0.0185);
    physics.noiseSeed = random.next();
    return physics;
}

void setTime(ImpactRecord &record, const QDateTime &when)
{
    record.setByteAt(R::TimeSec, quint8(when.time().second()));
    record.setByteAt(R::TimeMin, quint8(when.time().minute()));
    record.setByteAt(R::TimeHour, quint8(when.time().hour()));
    record.setByteAt(R::DateDay, quint8(when.date().day()));
    record.setByteAt(R::DateMonth, quint8(when.date().month()));
    record.setByteAt(R::DateYear, quint8(when.date().year() % 100));
}

void setCurves(ImpactRecord &record, const ImpactCurves &curves)
{
    // The code view divides the peaks by auxScale and by 3: this shows raw counts.
    record.setFloatAt(R::AuxScale, std::max(-curves.accelPeakNeg, curves.accelPeakPos) / 3);
    record.setFloatAt(R::ForceScale, curves.forceScale);
    record.setFloatAt(R::DynModulus, curves.dynModulus);
    // The static plate test of such ground gives a somewhat lower figure.
    record.setFloatAt(R::StatModulus, curves.dynModulus * 0.85f);
    record.setFloatAt(R::AccelPeakNeg, curves.accelPeakNeg);
    record.setFloatAt(R::AccelPeakPos, curves.accelPeakPos);
    record.setFloatAt(R::VelocityA, curves.velocityDown);
    record.setFloatAt(R::VelocityB, curves.velocityRebound);
    record.setFloatAt(R::DisplacementValue, curves.displacementMm);
    record.setFloatAt(R::ImpactForce, curves.peakForce);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        record.setAccelSample(i, curves.accel[size_t(i)]);
        record.setForceSample(i, curves.force[size_t(i)]);
    }
}

} // namespace

std::vector<ImpactRecord> makeDemoRecords(const std::vector<DemoSeries> &series)
{
    const QStringList materials = defaultMaterialNames();
    const QStringList objects = defaultObjectNames();
    std::map<std::tuple<double, quint64, int>, ImpactCurves> simulated;
    std::vector<ImpactRecord> records;
    for (size_t k = 0; k < series.size(); ++k) {
        const DemoSeries &one = series[k];
        for (int impact = 1; impact <= one.impacts; ++impact) {
            const std::tuple key(one.modulusMPa, one.seed, impact);
            auto found = simulated.find(key);
            if (found == simulated.end())
                found = simulated.emplace(key, simulateImpact(impactPhysics(one, impact))).first;
            ImpactRecord record;
            record.setImpactId(quint32(k + 1), quint32(impact));
            setTime(record, one.start.addSecs(qint64(impact - 1) * one.secondsBetweenBlows));
            writeShortName20(record.nameField(R::MaterialName), materials[one.materialSlot]);
            writeShortName20(record.nameField(R::ObjectName), objects[one.objectSlot]);
            setCurves(record, found->second);
            records.push_back(record);
        }
    }
    return records;
}

} // namespace kvt::sim
