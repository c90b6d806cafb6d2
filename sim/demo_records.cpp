#include "demo_records.h"

#include "demo_random.h"
#include "impact_curves.h"
#include "name_lists.h"
#include "store/short_name20.h"

#include <QDateTime>

#include <algorithm>
#include <map>

namespace kvt::sim {
namespace {

using R = ImpactRecord;

constexpr quint64 DemoSeed = 0x4B5654313030ull; // the same demo on every run

struct SeriesLook {
    double modulusMPa;
    int materialSlot;
    int objectSlot;
};

SeriesLook seriesLook(int pattern)
{
    DemoRandom random(DemoSeed + quint64(pattern) * 7919);
    return {random.uniform(32, 130), random.between(1, NameSlots - 1), random.between(1, NameSlots - 1)};
}

ImpactPhysics impactPhysics(int pattern, int impact)
{
    DemoRandom random(DemoSeed ^ (quint64(pattern) << 20) ^ quint64(impact));
    ImpactPhysics physics;
    // The first blows still compact the ground, so the modulus creeps up.
    physics.targetModulusMPa = seriesLook(pattern).modulusMPa * (0.94 + 0.02 * impact + random.uniform(-0.02, 0.02));
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

std::vector<ImpactRecord> makeDemoSeries(const std::vector<int> &seriesLengths, int curvePatterns)
{
    const QStringList materials = defaultMaterialNames();
    const QStringList objects = defaultObjectNames();
    std::map<std::pair<int, int>, ImpactCurves> simulated;
    DemoRandom clock(DemoSeed);
    QDateTime when(QDate(2024, 5, 14), QTime(9, 5, 0), Qt::UTC); // no daylight-saving jumps

    std::vector<ImpactRecord> records;
    for (size_t series = 0; series < seriesLengths.size(); ++series) {
        const int pattern = int(series % size_t(std::max(1, curvePatterns)));
        const SeriesLook look = seriesLook(pattern);
        when = when.addSecs(clock.between(6 * 60, 25 * 60));
        for (int impact = 1; impact <= seriesLengths[series]; ++impact) {
            auto found = simulated.find({pattern, impact});
            if (found == simulated.end())
                found = simulated.emplace(std::pair(pattern, impact), simulateImpact(impactPhysics(pattern, impact))).first;
            ImpactRecord record;
            record.setImpactId(quint32(series + 1), quint32(impact));
            setTime(record, when);
            writeShortName20(record.nameField(R::MaterialName), materials[look.materialSlot]);
            writeShortName20(record.nameField(R::ObjectName), objects[look.objectSlot]);
            setCurves(record, found->second);
            records.push_back(record);
            when = when.addSecs(clock.between(25, 50));
        }
    }
    return records;
}

} // namespace kvt::sim
