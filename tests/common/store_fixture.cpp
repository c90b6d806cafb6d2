#include "store_fixture.h"

#include "store/short_name20.h"

#include <cmath>

namespace kvt::testing {

ImpactRecord makeRecord(quint32 seriesNumber, quint32 impactNumber, quint32 salt)
{
    using R = ImpactRecord;
    ImpactRecord record;
    for (int i = 0; i < ImpactRecordSize; ++i)
        record.bytes[i] = static_cast<unsigned char>((i * 7 + seriesNumber * 13 + impactNumber + salt) & 0xFF);
    record.setImpactId(seriesNumber, impactNumber);
    record.setByteAt(R::TimeSec, quint8(45));
    record.setByteAt(R::TimeMin, quint8(7));
    record.setByteAt(R::TimeHour, quint8(14));
    record.setByteAt(R::DateDay, quint8(6));
    record.setByteAt(R::DateMonth, quint8(11));
    record.setByteAt(R::DateYear, quint8(13));
    writeShortName20(record.nameField(R::MaterialName), QStringLiteral("Песок"));
    writeShortName20(record.nameField(R::ObjectName), QStringLiteral("Road 7"));
    record.setFloatAt(R::AuxScale, 1.0f);
    record.setFloatAt(R::ForceScale, 20000.0f);
    record.setFloatAt(R::DynModulus, 80.0f + float(impactNumber));
    record.setFloatAt(R::StatModulus, 40.0f + float(impactNumber));
    record.setFloatAt(R::AccelPeakNeg, -35.2f);
    record.setFloatAt(R::AccelPeakPos, 40.1f);
    record.setFloatAt(R::VelocityA, 0.123f);
    record.setFloatAt(R::VelocityB, 0.456f);
    record.setFloatAt(R::DisplacementValue, 1.5f);
    record.setFloatAt(R::ImpactForce, 12345.0f);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        const double t = i * SamplePeriodSeconds;
        record.setAccelSample(i, qint16(30000 * std::exp(-t * 200) * std::sin(t * 2000)));
        record.setForceSample(i, t < 0.018 ? qint16(32000 * std::sin(t / 0.018 * M_PI)) : qint16(0));
    }
    return record;
}

void fillStore(MeasurementStore &store, const std::vector<quint32> &seriesNumbers)
{
    quint32 position = 0;
    quint32 impactNumber = 0;
    quint32 previous = ~0u;
    for (quint32 number : seriesNumbers) {
        impactNumber = number == previous ? impactNumber + 1 : 1;
        previous = number;
        DirectoryEntry &entry = store.directory()[position];
        storeLittleEndian<quint16>(&entry.bytes[0], quint16(0x200 + position));
        entry.bytes[2] = 0x01;
        entry.bytes[3] = quint8(position);
        store.records()[position] = makeRecord(number, impactNumber, position);
        ++position;
    }
    store.setImpactCount(position);
    store.rebuildSeriesIndex();
}

void fillStoreWithSeries(MeasurementStore &store, const std::vector<quint32> &seriesLengths)
{
    std::vector<quint32> numbers;
    quint32 seriesNumber = 1;
    for (quint32 length : seriesLengths)
        numbers.insert(numbers.end(), length, seriesNumber++);
    fillStore(store, numbers);
}

void fillStoreWith(MeasurementStore &store, const QList<SeriesContent> &series)
{
    std::vector<quint32> numbers;
    for (qsizetype s = 0; s < series.size(); ++s)
        numbers.insert(numbers.end(), size_t(series[s].dynamicModuli.size()), quint32(s + 1));
    fillStore(store, numbers);
    quint32 position = 0;
    for (const SeriesContent &content : series) {
        for (qsizetype i = 0; i < content.dynamicModuli.size(); ++i, ++position) {
            ImpactRecord &record = store.records()[position];
            writeShortName20(record.nameField(ImpactRecord::ObjectName), content.object);
            writeShortName20(record.nameField(ImpactRecord::MaterialName), content.material);
            record.setFloatAt(ImpactRecord::DynModulus, content.dynamicModuli[i]);
            record.setFloatAt(ImpactRecord::StatModulus, content.staticModuli[i]);
        }
    }
}

} // namespace kvt::testing
