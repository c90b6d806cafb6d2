#pragma once

#include <QtEndian>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <cstring>

namespace kvt {

constexpr quint32 MaxImpacts = 3557;
constexpr quint32 DirectoryScanLimit = MaxImpacts - 1;
constexpr int SamplesPerCurve = 512;
constexpr double SamplePeriodSeconds = 0.000064;
constexpr int ImpactRecordSize = 2196;
constexpr int DirectoryEntrySize = 4;

// Loads and stores of little-endian fields at a byte offset of a raw block.
template <typename T>
T loadLittleEndian(const unsigned char *bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return qFromLittleEndian(value);
}

template <typename T>
void storeLittleEndian(unsigned char *bytes, T value)
{
    value = qToLittleEndian(value);
    std::memcpy(bytes, &value, sizeof value);
}

// One entry of the instrument's directory. It tells which records are in use
// and is otherwise carried unchanged, so that a saved file keeps it.
struct DirectoryEntry {
    std::array<unsigned char, DirectoryEntrySize> bytes{};

    quint16 entryLocation() const { return loadLittleEndian<quint16>(&bytes[0]); }
    quint8 entryFlags() const { return bytes[2]; }
    bool inUse() const { return entryLocation() >= 0x200 && entryFlags() < 0x80; }
};
static_assert(sizeof(DirectoryEntry) == DirectoryEntrySize);

// One impact exactly as the instrument delivers it and the .kvt file stores it.
// The reserved bytes only the instrument understands travel with the record.
struct ImpactRecord {
    enum Offset : int {
        ImpactId = 8,
        TimeSec = 12,
        TimeMin = 13,
        TimeHour = 14,
        DateDay = 15,
        DateMonth = 16,
        DateYear = 17,
        MaterialName = 18,
        ObjectName = 38,
        AuxScale = 64,
        ForceScale = 68,
        DynModulus = 76,
        StatModulus = 80,
        AccelPeakNeg = 84,
        AccelPeakPos = 88,
        VelocityA = 92,
        VelocityB = 96,
        DisplacementValue = 100,
        ImpactForce = 104,
        AccelSamples = 148,
        ForceSamples = 1172,
    };

    std::array<unsigned char, ImpactRecordSize> bytes{};

    quint32 impactId() const { return loadLittleEndian<quint32>(&bytes[ImpactId]); }
    quint32 seriesNumber() const { return impactId() >> 4; }
    quint32 impactNumber() const { return impactId() & 0xF; }
    quint8 byteAt(Offset offset) const { return bytes[offset]; }
    float floatAt(Offset offset) const { return loadLittleEndian<float>(&bytes[offset]); }
    qint16 accelSample(int i) const { return loadLittleEndian<qint16>(&bytes[AccelSamples + 2 * i]); }
    qint16 forceSample(int i) const { return loadLittleEndian<qint16>(&bytes[ForceSamples + 2 * i]); }
    const unsigned char *nameField(Offset offset) const { return &bytes[offset]; }

    void setImpactId(quint32 seriesNumber, quint32 impactNumber)
    {
        storeLittleEndian<quint32>(&bytes[ImpactId], (seriesNumber << 4) | (impactNumber & 0xF));
    }
    void setByteAt(Offset offset, quint8 value) { bytes[offset] = value; }
    void setFloatAt(Offset offset, float value) { storeLittleEndian<float>(&bytes[offset], value); }
    void setAccelSample(int i, qint16 value) { storeLittleEndian<qint16>(&bytes[AccelSamples + 2 * i], value); }
    void setForceSample(int i, qint16 value) { storeLittleEndian<qint16>(&bytes[ForceSamples + 2 * i], value); }
    unsigned char *nameField(Offset offset) { return &bytes[offset]; }
};
static_assert(sizeof(ImpactRecord) == ImpactRecordSize);
static_assert(ImpactRecord::ForceSamples + 2 * SamplesPerCurve == ImpactRecordSize);

} // namespace kvt
