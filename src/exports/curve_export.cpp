#include "curve_export.h"

#include "support/number_format.h"

#include <QList>
#include <QStringList>

#include <cmath>

namespace kvt {
namespace {

using Sums = std::array<qint64, SamplesPerCurve>;

Sums raw(const ImpactRecord &record, ExportCurve curve)
{
    Sums values{};
    qint64 velocity = 0;
    qint64 displacement = 0;
    for (int i = 0; i < SamplesPerCurve; ++i) {
        velocity += record.accelSample(i);
        displacement += velocity;
        switch (curve) {
        case ExportCurve::Accel: values[i] = record.accelSample(i); break;
        case ExportCurve::Velocity: values[i] = velocity; break;
        case ExportCurve::Displacement: values[i] = displacement; break;
        case ExportCurve::Force: values[i] = record.forceSample(i); break;
        }
    }
    return values;
}

WavSamples normalised(const Sums &values)
{
    qint64 largest = 0;
    qint64 smallest = 0;
    for (qint64 value : values) {
        largest = std::max(largest, value);
        smallest = std::min(smallest, value);
    }
    const qint64 magnitude = std::max(largest, -smallest);
    const double k = WavPeak / (magnitude == 0 ? 1.0 : double(magnitude));
    WavSamples samples{};
    for (int i = 0; i < SamplesPerCurve; ++i)
        samples[i] = qint16(std::trunc(double(values[i]) * k));
    return samples;
}

void putWord(QByteArray &bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray text(const QString &line)
{
    return line.toLatin1() + '\n';
}

QString headerNumbers(const ImpactRecord &record)
{
    using R = ImpactRecord;
    const auto twoDigits = [&record](R::Offset field) {
        return formatNumberOrNan(record.byteAt(field), NumberPattern::TwoDigits);
    };
    return QStringLiteral(";Series/Impact: ") + formatNumberOrNan(record.seriesNumber(), NumberPattern::IntegerOrEmpty)
        + u'/' + formatNumberOrNan(record.impactNumber(), NumberPattern::IntegerOrEmpty) + u'\n'
        + QStringLiteral(";Date: ") + twoDigits(R::DateDay) + u'.' + twoDigits(R::DateMonth) + u'.'
        + twoDigits(R::DateYear) + u'\n' + QStringLiteral(";Time: ") + twoDigits(R::TimeHour) + u':'
        + twoDigits(R::TimeMin) + u':' + twoDigits(R::TimeSec) + u'\n';
}

// The physical values of a curve, formatted.
struct PhysicalColumn {
    std::array<QString, SamplesPerCurve> cells;
};

PhysicalColumn physical(const ImpactRecord &record, ExportCurve curve)
{
    const double peak = std::max(-double(record.floatAt(ImpactRecord::AccelPeakNeg)),
                                 double(record.floatAt(ImpactRecord::AccelPeakPos)));
    double factor = 0;
    NumberPattern pattern = NumberPattern::Thousandths;
    switch (curve) {
    case ExportCurve::Accel:
        factor = peak / 32767;
        pattern = NumberPattern::Tenths;
        break;
    case ExportCurve::Velocity: factor = peak * 0.000064 / 32767; break;
    case ExportCurve::Displacement: factor = peak * 0.000064 * 0.000064 * 1000 / 32767; break;
    case ExportCurve::Force: factor = double(record.floatAt(ImpactRecord::ForceScale)) * 0.001 / 32767; break;
    }
    const Sums values = raw(record, curve);
    PhysicalColumn column;
    for (int i = 0; i < SamplesPerCurve; ++i)
        column.cells[i] = formatNumberOrNan(double(values[i]) * factor, pattern);
    return column;
}

struct CurveNames {
    const char *title;
    const char *units;
    const char *prefix;
};

CurveNames namesOf(ExportCurve curve)
{
    switch (curve) {
    case ExportCurve::Accel: return {"accelerate", "m/c^2", "Accelerate_"};
    case ExportCurve::Velocity: return {"velocity", "m/c", "Velocity_"};
    case ExportCurve::Displacement: return {"displacement", "mm", "Displacement_"};
    case ExportCurve::Force: return {"force", "kN", "Force_"};
    }
    return {"", "", ""};
}

} // namespace

WavSamples wavSamples(const ImpactRecord &record, ExportCurve curve)
{
    const Sums values = raw(record, curve);
    if (curve == ExportCurve::Accel) {
        WavSamples samples{};
        for (int i = 0; i < SamplesPerCurve; ++i)
            samples[i] = qint16(values[i]);
        return samples;
    }
    return normalised(values);
}

WavSamples displacementFromVelocitySamples(const WavSamples &velocity)
{
    Sums sums{};
    qint64 sum = 0;
    for (int i = 0; i < SamplesPerCurve; ++i)
        sums[i] = sum += velocity[i];
    return normalised(sums);
}

QByteArray wavFile(const WavSamples &samples)
{
    QByteArray bytes("RIFF");
    putWord(bytes, 1060, 4);
    bytes.append("WAVEfmt ");
    putWord(bytes, 16, 4);
    putWord(bytes, 1, 2);     // PCM
    putWord(bytes, 1, 2);     // mono
    putWord(bytes, 15625, 4); // one sample every 64 µs
    putWord(bytes, 31250, 4);
    putWord(bytes, 2, 2);
    putWord(bytes, 16, 2);
    bytes.append("data");
    putWord(bytes, 1024, 4);
    for (qint16 sample : samples)
        putWord(bytes, quint16(sample), 2);
    return bytes;
}

QByteArray csvFile(const ImpactRecord &record, ExportCurve curve)
{
    const CurveNames names = namesOf(curve);
    QByteArray bytes = text(QStringLiteral(";KVT-1.0, ") + QLatin1String(names.title));
    bytes += headerNumbers(record).toLatin1();
    bytes += text(QStringLiteral(";Period, 64 mkS"));
    bytes += text(QStringLiteral(";Units: ") + QLatin1String(names.units));
    for (const QString &cell : physical(record, curve).cells)
        bytes += text(cell);
    return bytes;
}

QByteArray csvAllCurvesFile(const ImpactRecord &record, bool fullView)
{
    QByteArray bytes = text(fullView ? QStringLiteral(";KVT-1.0, accelerate, velocity, displacement, force")
                                     : QStringLiteral(";KVT-1.0, displacement, force"));
    bytes += headerNumbers(record).toLatin1();
    bytes += text(QStringLiteral(";Period, 64 mkS"));
    bytes += text(QStringLiteral(";Units:"));
    if (fullView) {
        bytes += text(QStringLiteral("; - accelerate: m/s^2"));
        bytes += text(QStringLiteral("; - velocity: m/s"));
    }
    bytes += text(QStringLiteral("; - displacement: mm"));
    bytes += text(QStringLiteral("; - force: kN"));
    bytes += text(fullView ? QStringLiteral("Accelerate; Velocity; Displacement; Force")
                           : QStringLiteral("Displacement; Force"));

    QList<PhysicalColumn> columns;
    if (fullView)
        columns << physical(record, ExportCurve::Accel) << physical(record, ExportCurve::Velocity);
    columns << physical(record, ExportCurve::Displacement) << physical(record, ExportCurve::Force);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        QStringList row;
        for (const PhysicalColumn &column : columns)
            row << column.cells[i];
        bytes += text(row.join(QStringLiteral("; ")));
    }
    return bytes;
}

QString exportPrefix(ExportCurve curve)
{
    return QLatin1String(namesOf(curve).prefix);
}

QString exportFileName(const ImpactRecord &record, const QString &prefix, const QString &extension)
{
    return prefix + QString::number(record.seriesNumber()) + u'_' + QString::number(record.impactNumber()) + extension;
}

} // namespace kvt
