#include "exports/curve_export.h"
#include "exports/export_commands.h"
#include "store_fixture.h"

#include <QTest>

#include <cmath>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::ExportCurve)

namespace {

// A small synthetic record: a few non-zero samples, the rest zero.
ImpactRecord synthetic()
{
    ImpactRecord record = testing::makeRecord(12, 3);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        record.setAccelSample(i, 0);
        record.setForceSample(i, 0);
    }
    const qint16 accel[] = {1000, -3000, 2000, 500};
    const qint16 force[] = {100, 32767, -200};
    for (int i = 0; i < 4; ++i)
        record.setAccelSample(i, accel[i]);
    for (int i = 0; i < 3; ++i)
        record.setForceSample(i, force[i]);
    record.setFloatAt(ImpactRecord::AccelPeakNeg, -30.0f);
    record.setFloatAt(ImpactRecord::AccelPeakPos, 20.0f);
    record.setFloatAt(ImpactRecord::ForceScale, 25000.0f);
    return record;
}

// The expected WAV file, written out here from the format's own definition.
QByteArray expectedWav(const QList<qint64> &values, bool normalise)
{
    QByteArray bytes;
    const auto word = [&bytes](quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.append(char(value >> (8 * i)));
    };
    bytes += "RIFF";
    word(1060, 4);
    bytes += "WAVEfmt ";
    word(16, 4);
    word(1, 2);
    word(1, 2);
    word(15625, 4);
    word(31250, 4);
    word(2, 2);
    word(16, 2);
    bytes += "data";
    word(1024, 4);
    qint64 magnitude = 0;
    for (qint64 v : values)
        magnitude = std::max(magnitude, std::abs(v));
    const double k = 23197.0 / (magnitude ? double(magnitude) : 1.0);
    for (qint64 v : values)
        word(quint16(qint16(normalise ? std::trunc(double(v) * k) : double(v))), 2);
    return bytes;
}

QList<qint64> accelCounts(const ImpactRecord &record)
{
    QList<qint64> values;
    for (int i = 0; i < SamplesPerCurve; ++i)
        values << record.accelSample(i);
    return values;
}

QList<qint64> runningSum(const QList<qint64> &values)
{
    QList<qint64> sums;
    qint64 sum = 0;
    for (qint64 v : values)
        sums << (sum += v);
    return sums;
}

} // namespace

class TestCurveExport : public QObject {
    Q_OBJECT
private slots:
    void wavFiles_data();
    void wavFiles();
    void wavPeaks_data();
    void wavPeaks();
    void fullViewDisplacementFromWrittenVelocity();
    void allWavFilesByView();
    void csvFiles_data();
    void csvFiles();
    void csvAllCurves_data();
    void csvAllCurves();
    void csvHeaderNumbers();
    void names();
};

void TestCurveExport::wavFiles_data()
{
    QTest::addColumn<ExportCurve>("curve");
    QTest::addColumn<QByteArray>("expected");

    const ImpactRecord record = synthetic();
    const QList<qint64> a = accelCounts(record);
    QList<qint64> f;
    for (int i = 0; i < SamplesPerCurve; ++i)
        f << record.forceSample(i);
    QTest::newRow("a, raw") << ExportCurve::Accel << expectedWav(a, false);
    QTest::newRow("v, normalised") << ExportCurve::Velocity << expectedWav(runningSum(a), true);
    QTest::newRow("s, normalised") << ExportCurve::Displacement << expectedWav(runningSum(runningSum(a)), true);
    QTest::newRow("F, normalised") << ExportCurve::Force << expectedWav(f, true);
}

void TestCurveExport::wavFiles()
{
    QFETCH(ExportCurve, curve);
    QFETCH(QByteArray, expected);
    const QByteArray bytes = wavFile(wavSamples(synthetic(), curve));
    QCOMPARE(bytes.size(), WavFileSize);
    QCOMPARE(bytes, expected);
}

void TestCurveExport::wavPeaks_data()
{
    QTest::addColumn<QList<int>>("accel");
    QTest::addColumn<QList<int>>("velocity"); // the first samples written

    QTest::newRow("all zero") << QList<int>{} << QList<int>{0, 0, 0};
    QTest::newRow("largest magnitude 1") << QList<int>{1, -2, 1} << QList<int>{23197, -23197, 0};
}

void TestCurveExport::wavPeaks()
{
    QFETCH(QList<int>, accel);
    QFETCH(QList<int>, velocity);
    ImpactRecord record = testing::makeRecord(1, 1);
    for (int i = 0; i < SamplesPerCurve; ++i)
        record.setAccelSample(i, i < accel.size() ? qint16(accel[i]) : qint16(0));
    const WavSamples samples = wavSamples(record, ExportCurve::Velocity);
    for (int i = 0; i < velocity.size(); ++i)
        QCOMPARE(int(samples[i]), velocity[i]);
    QCOMPARE(int(samples[511]), 0);
}

void TestCurveExport::fullViewDisplacementFromWrittenVelocity()
{
    const ImpactRecord record = synthetic();
    const WavSamples velocity = wavSamples(record, ExportCurve::Velocity);
    QList<qint64> written;
    for (qint16 v : velocity)
        written << v;
    const auto files = allCurveWavFiles(record, true);
    QCOMPARE(files[2].first, QString("Displacement_12_3.wav"));
    QCOMPARE(files[2].second, expectedWav(runningSum(written), true));
}

void TestCurveExport::allWavFilesByView()
{
    QStringList standard, full;
    for (const auto &file : allCurveWavFiles(synthetic(), false))
        standard << file.first;
    for (const auto &file : allCurveWavFiles(synthetic(), true))
        full << file.first;
    QCOMPARE(standard, (QStringList{"Displacement_12_3.wav", "Force_12_3.wav"}));
    QCOMPARE(full, (QStringList{"Accelerate_12_3.wav", "Velocity_12_3.wav", "Displacement_12_3.wav", "Force_12_3.wav"}));
    // The standard view's s is the acceleration summed twice, as the single export writes it.
    QCOMPARE(allCurveWavFiles(synthetic(), false)[0].second,
             wavFile(wavSamples(synthetic(), ExportCurve::Displacement)));
}

void TestCurveExport::csvFiles_data()
{
    QTest::addColumn<ExportCurve>("curve");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QStringList>("values"); // the first sample lines

    QTest::newRow("acceleration, R = 30") << ExportCurve::Accel << ";KVT-1.0, accelerate" << ";Units: m/c^2"
                                          << QStringList{"0,9", "-2,7", "1,8", "0,5", "0,0"};
    QTest::newRow("velocity") << ExportCurve::Velocity << ";KVT-1.0, velocity" << ";Units: m/c"
                              << QStringList{QString::number(1000 * 30 * 0.000064 / 32767, 'f', 3).replace('.', ',')};
    QTest::newRow("force, 25000 N scale") << ExportCurve::Force << ";KVT-1.0, force" << ";Units: kN"
                                          << QStringList{"0,076", "25,000", "-0,153"};
}

void TestCurveExport::csvFiles()
{
    QFETCH(ExportCurve, curve);
    QFETCH(QString, title);
    QFETCH(QString, units);
    QFETCH(QStringList, values);

    const QByteArray bytes = csvFile(synthetic(), curve);
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(bytes.endsWith('\n'));
    const QStringList lines = QString::fromLatin1(bytes).split('\n');
    QCOMPARE(lines.size() - 1, 518);
    QCOMPARE(lines[0], title);
    QCOMPARE(lines[4], QString(";Period, 64 mkS"));
    QCOMPARE(lines[5], units);
    QCOMPARE(lines.mid(6, values.size()), values);
}

void TestCurveExport::csvAllCurves_data()
{
    QTest::addColumn<bool>("fullView");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("firstRow");

    QTest::newRow("full view") << true << 523 << "Accelerate; Velocity; Displacement; Force"
                               << "0,9; 0,000; 0,000; 0,076";
    QTest::newRow("standard view") << false << 521 << "Displacement; Force" << "0,000; 0,076";
}

void TestCurveExport::csvAllCurves()
{
    QFETCH(bool, fullView);
    QFETCH(int, lines);
    QFETCH(QString, columns);
    QFETCH(QString, firstRow);

    const QStringList text = QString::fromLatin1(csvAllCurvesFile(synthetic(), fullView)).split('\n');
    QCOMPARE(text.size() - 1, lines);
    QCOMPARE(text[lines - 513], columns);
    QCOMPARE(text[lines - 512], firstRow);
}

void TestCurveExport::csvHeaderNumbers()
{
    ImpactRecord record = synthetic();
    using R = ImpactRecord;
    const int values[] = {5, 3, 13, 9, 7, 30};
    const R::Offset fields[] = {R::DateDay, R::DateMonth, R::DateYear, R::TimeHour, R::TimeMin, R::TimeSec};
    for (int i = 0; i < 6; ++i)
        record.setByteAt(fields[i], quint8(values[i]));
    record.setImpactId(0, 4);
    const QStringList lines = QString::fromLatin1(csvFile(record, ExportCurve::Force)).split('\n');
    QCOMPARE(lines[1], QString(";Series/Impact: /4")); // a zero series number is written as nothing
    QCOMPARE(lines[2], QString(";Date: 05.03.13"));
    QCOMPARE(lines[3], QString(";Time: 09:07:30"));
}

void TestCurveExport::names()
{
    QCOMPARE(exportFileName(synthetic(), exportPrefix(ExportCurve::Velocity), ".wav"), QString("Velocity_12_3.wav"));
    ImpactRecord zero = synthetic();
    zero.setImpactId(0, 0);
    QCOMPARE(exportFileName(zero, "All_", ".csv"), QString("All_0_0.csv"));
}

QTEST_GUILESS_MAIN(TestCurveExport)
#include "tst_curve_export.moc"
