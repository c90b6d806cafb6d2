#include "store/measurement_store.h"
#include "store/physical_curves.h"
#include "store/short_name20.h"
#include "store_fixture.h"

#include <QTest>

#include <memory>

using namespace kvt;
using kvt::testing::fillStore;
using kvt::testing::fillStoreWithSeries;
using kvt::testing::makeRecord;

using Positions = QList<quint32>;

namespace {

Positions seriesStarts(const MeasurementStore &store)
{
    Positions starts;
    for (quint32 k = 0; k <= store.seriesCount(); ++k)
        starts << store.seriesStart(k);
    return starts;
}

Positions seriesNumbers(const MeasurementStore &store)
{
    Positions numbers;
    for (quint32 p = 0; p < store.impactCount(); ++p)
        numbers << store.record(p).seriesNumber();
    return numbers;
}

void setDirectoryEntry(MeasurementStore &store, quint32 index, quint16 location, quint8 flags)
{
    storeLittleEndian<quint16>(&store.directory()[index].bytes[0], location);
    store.directory()[index].bytes[2] = flags;
}

} // namespace

class TestMeasurementStore : public QObject {
    Q_OBJECT
private slots:
    void init() { store = std::make_unique<MeasurementStore>(); }

    void emptyStore();
    void seriesIndex_data();
    void seriesIndex();
    void countDirectoryImpacts_data();
    void countDirectoryImpacts();
    void countStopsAtScanLimit();
    void walksOverEqualNumbers();
    void deleteImpact();
    void deleteSeries_data();
    void deleteSeries();
    void deleteSeriesNextToEqualNumber();
    void deletionsMoveWholeRecords();
    void shortName20Read_data();
    void shortName20Read();
    void shortName20Write_data();
    void shortName20Write();
    void physicalScales();

private:
    std::unique_ptr<MeasurementStore> store;
};

void TestMeasurementStore::emptyStore()
{
    store->rebuildSeriesIndex();
    QCOMPARE(store->seriesCount(), 0u);
    QCOMPARE(store->seriesStart(0), 0u);
    const ImpactRecord before = store->currentRecord();
    store->loadCurrentRecord(0);
    QVERIFY(store->currentRecord().bytes == before.bytes);
}

void TestMeasurementStore::seriesIndex_data()
{
    QTest::addColumn<Positions>("numbers");
    QTest::addColumn<Positions>("starts");

    QTest::newRow("recurring number starts a new series") << Positions{5, 5, 6, 6, 6, 5} << Positions{0, 2, 5, 6};
    QTest::newRow("one impact") << Positions{9} << Positions{0, 1};
    QTest::newRow("all different") << Positions{1, 2, 3} << Positions{0, 1, 2, 3};
    QTest::newRow("all equal") << Positions{4, 4, 4, 4} << Positions{0, 4};
}

void TestMeasurementStore::seriesIndex()
{
    QFETCH(Positions, numbers);
    QFETCH(Positions, starts);
    fillStore(*store, std::vector<quint32>(numbers.begin(), numbers.end()));
    QCOMPARE(seriesStarts(*store), starts);
    QCOMPARE(store->seriesCount(), quint32(starts.size() - 1));
}

void TestMeasurementStore::countDirectoryImpacts_data()
{
    QTest::addColumn<int>("badIndex");
    QTest::addColumn<quint16>("location");
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<quint32>("expected");

    QTest::newRow("location below 0x200 ends the count") << 3 << quint16(0x1FF) << quint8(0) << 3u;
    QTest::newRow("top flag bit ends the count") << 0 << quint16(0x200) << quint8(0x80) << 0u;
    QTest::newRow("flags 0x7F still in use") << 3 << quint16(0x200) << quint8(0x7F) << 10u;
    QTest::newRow("location 0x200 in use") << 5 << quint16(0x200) << quint8(0) << 10u;
}

void TestMeasurementStore::countDirectoryImpacts()
{
    QFETCH(int, badIndex);
    QFETCH(quint16, location);
    QFETCH(quint8, flags);
    QFETCH(quint32, expected);

    for (quint32 i = 0; i < 10; ++i)
        setDirectoryEntry(*store, i, 0x300, 0);
    setDirectoryEntry(*store, badIndex, location, flags);
    store->countDirectoryImpacts();
    QCOMPARE(store->impactCount(), expected);
}

void TestMeasurementStore::countStopsAtScanLimit()
{
    for (quint32 i = 0; i < MaxImpacts; ++i)
        setDirectoryEntry(*store, i, 0x300, 0);
    store->countDirectoryImpacts();
    QCOMPARE(store->impactCount(), DirectoryScanLimit);
}

void TestMeasurementStore::walksOverEqualNumbers()
{
    fillStore(*store, {5, 5, 6, 6, 6, 5});
    QCOMPARE(store->seriesFirst(4), 2u);
    QCOMPARE(store->seriesLength(3), 3u);
    QCOMPARE(store->seriesFirst(0), 0u);
    QCOMPARE(store->seriesLength(5), 1u);
}

void TestMeasurementStore::deleteImpact()
{
    fillStoreWithSeries(*store, {2, 3, 1});
    store->deleteImpact(1, 0);
    QCOMPARE(store->impactCount(), 5u);
    QCOMPARE(store->seriesCount(), 3u);
    QCOMPARE(seriesStarts(*store), (Positions{0, 2, 4, 5}));
    QCOMPARE(seriesNumbers(*store), (Positions{1, 1, 2, 2, 3}));
}

void TestMeasurementStore::deleteSeries_data()
{
    QTest::addColumn<Positions>("numbers");
    QTest::addColumn<quint32>("series");
    QTest::addColumn<Positions>("starts");
    QTest::addColumn<Positions>("remaining");

    QTest::newRow("first of 2, 3, 1") << Positions{1, 1, 2, 2, 2, 3} << 0u << Positions{0, 3, 4}
                                      << Positions{2, 2, 2, 3};
    QTest::newRow("last") << Positions{1, 1, 2, 2, 2, 3} << 2u << Positions{0, 2, 5} << Positions{1, 1, 2, 2, 2};
    QTest::newRow("the only series") << Positions{7, 7} << 0u << Positions{0} << Positions{};
}

void TestMeasurementStore::deleteSeries()
{
    QFETCH(Positions, numbers);
    QFETCH(quint32, series);
    QFETCH(Positions, starts);
    QFETCH(Positions, remaining);

    fillStore(*store, std::vector<quint32>(numbers.begin(), numbers.end()));
    store->deleteSeries(series);
    QCOMPARE(seriesNumbers(*store), remaining);
    QCOMPARE(seriesStarts(*store), starts);
    QCOMPARE(store->impactCount(), quint32(remaining.size()));
}

void TestMeasurementStore::deleteSeriesNextToEqualNumber()
{
    // Once 6 is gone the first two series share the number 5; deleting the
    // second must still take only its own impact.
    fillStore(*store, {5, 6, 5, 8});
    store->deleteSeries(1);
    store->deleteSeries(1);
    QCOMPARE(seriesNumbers(*store), (Positions{5, 8}));
    QCOMPARE(seriesStarts(*store), (Positions{0, 1, 2}));
}

void TestMeasurementStore::deletionsMoveWholeRecords()
{
    fillStoreWithSeries(*store, {2, 3, 1});
    const ImpactRecord movedImpact = store->record(3);
    const ImpactRecord movedSeries = store->record(5);
    const auto directoryBefore = store->directory()[1].bytes;

    store->deleteImpact(1, 0);
    QVERIFY(store->record(2).bytes == movedImpact.bytes);
    store->deleteSeries(0);
    QVERIFY(store->record(2).bytes == movedSeries.bytes);
    QVERIFY(store->directory()[1].bytes == directoryBefore);
}

void TestMeasurementStore::shortName20Read_data()
{
    QTest::addColumn<int>("lengthByte");
    QTest::addColumn<int>("expectedLength");

    QTest::newRow("19 characters") << 19 << 19;
    QTest::newRow("1 character") << 1 << 1;
    QTest::newRow("length 0") << 0 << 0;
    QTest::newRow("length 20") << 20 << 0;
    QTest::newRow("negative as signed") << 0x85 << 0;
}

void TestMeasurementStore::shortName20Read()
{
    QFETCH(int, lengthByte);
    QFETCH(int, expectedLength);

    unsigned char field[ShortName20Size];
    field[0] = static_cast<unsigned char>(lengthByte);
    for (int i = 1; i < ShortName20Size; ++i)
        field[i] = 0xC0 + i; // Cyrillic capitals
    const QString name = readShortName20(field);
    QCOMPARE(name.size(), expectedLength);
    if (expectedLength > 0)
        QCOMPARE(name.at(0), QChar(0x0411)); // 0xC1 is Б
}

void TestMeasurementStore::shortName20Write_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<int>("terminatorAt"); // -1: no terminator written

    QTest::newRow("short Cyrillic") << QString::fromUtf8("Щебень") << QString::fromUtf8("Щебень") << 7;
    QTest::newRow("exactly 19") << QString(19, u'x') << QString(19, u'x') << -1;
    QTest::newRow("cut to 19") << QString(25, u'y') << QString(19, u'y') << -1;
    QTest::newRow("empty") << QString() << QString() << 1;
}

void TestMeasurementStore::shortName20Write()
{
    QFETCH(QString, name);
    QFETCH(QString, readBack);
    QFETCH(int, terminatorAt);

    unsigned char field[ShortName20Size];
    std::fill(std::begin(field), std::end(field), 0xEE);
    writeShortName20(field, name);
    QCOMPARE(readShortName20(field), readBack);
    QCOMPARE(int(field[0]), int(readBack.size()));
    if (terminatorAt >= 0) {
        QCOMPARE(int(field[terminatorAt]), 0);
        QCOMPARE(int(field[ShortName20Size - 1]), 0xEE); // the rest is left alone
    }
}

void TestMeasurementStore::physicalScales()
{
    ImpactRecord record = makeRecord(1, 1);
    record.setFloatAt(ImpactRecord::AccelPeakNeg, -50.0f);
    record.setFloatAt(ImpactRecord::AccelPeakPos, 40.0f);
    record.setFloatAt(ImpactRecord::ForceScale, 30000.0f);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        record.setAccelSample(i, 0);
        record.setForceSample(i, 0);
    }
    record.setAccelSample(0, -32767);
    record.setAccelSample(1, 32767);
    record.setForceSample(2, 32767);

    QCOMPARE(accelScale(record), 50.0 / 32767);
    const PhysicalCurves curves = physicalCurves(record);
    QCOMPARE(curves.acceleration[0], -50.0);
    QCOMPARE(curves.velocity[0], -50.0 * 0.000064);
    QCOMPARE(curves.displacement[0], -50.0 * 0.000064 * 1000 * 0.000064);
    // The velocity returns to zero; the displacement keeps what it gathered.
    QCOMPARE(curves.velocity[1] + 1.0, 1.0);
    QCOMPARE(curves.displacement[511], curves.displacement[0]);
    QCOMPARE(curves.force[2], 30000.0);
}

QTEST_GUILESS_MAIN(TestMeasurementStore)
#include "tst_measurement_store.moc"
