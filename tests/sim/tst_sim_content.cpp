// What the simulated instrument holds: the demo's field day with its curves, a
// full instrument, a .kvt file's impacts, its name lists and its screen.

#include "evaluation/group_statistics.h"
#include "evaluation/requirement_settings.h"
#include "files/kvt_file.h"
#include "sim/demo_field_day.h"
#include "sim/demo_records.h"
#include "sim/instrument_content.h"
#include "sim/name_lists.h"
#include "sim/screen_image.h"
#include "sim_test_helpers.h"
#include "store/measurement_store.h"
#include "store/physical_curves.h"
#include "store/short_name20.h"
#include "store_fixture.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

using namespace kvt;
using namespace kvt::sim;
using R = ImpactRecord;

namespace {

const InstrumentContent &demo()
{
    static const InstrumentContent content = demoContent();
    return content;
}

QDateTime timeOf(const ImpactRecord &record)
{
    return QDateTime(QDate(2000 + record.byteAt(R::DateYear), record.byteAt(R::DateMonth), record.byteAt(R::DateDay)),
                     QTime(record.byteAt(R::TimeHour), record.byteAt(R::TimeMin), record.byteAt(R::TimeSec)),
                     Qt::UTC);
}

std::unique_ptr<MeasurementStore> storeOf(const InstrumentContent &content)
{
    auto store = std::make_unique<MeasurementStore>();
    std::copy(content.directory.begin(), content.directory.end(), store->directory());
    store->countDirectoryImpacts();
    std::copy(content.records.begin(), content.records.begin() + store->impactCount(), store->records());
    store->rebuildSeriesIndex();
    return store;
}

quint32 countedImpacts(const InstrumentContent &content)
{
    return storeOf(content)->impactCount();
}

QList<int> seriesLengths(const InstrumentContent &content)
{
    QList<int> lengths;
    for (size_t p = 0; p < content.records.size(); ++p) {
        if (p == 0 || content.records[p].seriesNumber() != content.records[p - 1].seriesNumber())
            lengths << 0;
        ++lengths.back();
    }
    return lengths;
}

} // namespace

class TestSimContent : public QObject {
    Q_OBJECT
private slots:
    void demoSeriesLookRecorded();
    void demoIsAFieldDay();
    void demoGroupsMeetTheirRulesButOne();
    void demoIsTheSameEveryTime();
    void demoCurves_data();
    void demoCurves();
    void fullInstrument_data();
    void fullInstrument();
    void kvtFileImpactsAreServedAsSaved();
    void kvtFileEntriesNotInUseAreReplaced();
    void unreadableKvtFile_data();
    void unreadableKvtFile();
    void defaultNames_data();
    void defaultNames();
    void screenLayout();
    void screenText();
};

void TestSimContent::demoSeriesLookRecorded()
{
    const InstrumentContent &content = demo();
    for (int length : seriesLengths(content))
        QVERIFY2(length >= 3 && length <= 9, qPrintable(QString::number(length)));
    QCOMPARE(countedImpacts(content), quint32(content.records.size()));

    const QStringList materials = defaultMaterialNames().mid(1);
    const QStringList objects = defaultObjectNames().mid(1);
    for (size_t p = 0; p < content.records.size(); ++p) {
        const ImpactRecord &record = content.records[p];
        QVERIFY(materials.contains(readShortName20(record.nameField(R::MaterialName))));
        QVERIFY(objects.contains(readShortName20(record.nameField(R::ObjectName))));
        if (p == 0) {
            QCOMPARE(record.seriesNumber(), 1u);
            QCOMPARE(record.impactNumber(), 1u);
            continue;
        }
        const ImpactRecord &previous = content.records[p - 1];
        QVERIFY(timeOf(record) > timeOf(previous));
        if (record.seriesNumber() == previous.seriesNumber())
            QCOMPARE(record.impactNumber(), previous.impactNumber() + 1);
        else
            QVERIFY(record.seriesNumber() > previous.seriesNumber() && record.impactNumber() == 1);
    }
}

// Several series of each object and material, measured through one working
// day, their moduli scattered around a level of the group's own, so that the
// statistics and their trend have something to show.
void TestSimContent::demoIsAFieldDay()
{
    const std::unique_ptr<MeasurementStore> store = storeOf(demo());
    const QDate day = timeOf(demo().records.front()).date();
    for (const ImpactRecord &record : demo().records) {
        const QDateTime when = timeOf(record);
        QCOMPARE(when.date(), day);
        QVERIFY2(when.time() >= QTime(8, 0) && when.time() <= QTime(18, 0), qPrintable(when.toString()));
    }

    const QList<GroupStatistics> groups = groupStatistics(seriesValues(*store), {});
    QCOMPARE(groups.size(), 6);
    QSet<QString> objects, materials;
    QList<double> levels;
    for (const GroupStatistics &group : groups) {
        const QString name = group.object + u'/' + group.material;
        objects << group.object;
        materials << group.material;
        QVERIFY2(group.seriesCount >= 3 && group.seriesCount <= 6, qPrintable(name));
        // Spots of one soil differ, but not as much as the soils.
        const double cv = group.dynamicModulus.cvPercent.value_or(0);
        QVERIFY2(cv >= 1 && cv <= 15, qPrintable(name + u' ' + QString::number(cv)));
        levels << *group.dynamicModulus.mean;
    }
    QCOMPARE(objects.size(), 3);
    QVERIFY(materials.size() >= 2);
    std::sort(levels.begin(), levels.end());
    for (qsizetype k = 1; k < levels.size(); ++k)
        QVERIFY2(levels[k] > levels[k - 1] * 1.08, qPrintable(QString::number(levels[k])));
}

// The guide's pictures judge the demo by this rules file: one group falls
// short, with series on both sides of its line, and the others pass.
void TestSimContent::demoGroupsMeetTheirRulesButOne()
{
    const std::optional<QList<RequirementRule>> rules = readRequirementRules(SettingsFile(KVT10_DEMO_RULES));
    QVERIFY(rules && !rules->isEmpty());
    const std::vector<SeriesValues> series = seriesValues(*storeOf(demo()));
    int failing = 0;
    for (const GroupStatistics &group : groupStatistics(series, *rules)) {
        const QString name = group.object + u'/' + group.material;
        QVERIFY2(group.verdict != Verdict::NoRule, qPrintable(name));
        if (group.verdict == Verdict::DoesNotMeet) {
            ++failing;
            QVERIFY2(group.meeting > 0 && group.meeting < group.judged, qPrintable(name));
            // The group whose trend the guide's statistics picture shows.
            QCOMPARE(name, QStringLiteral("Несущий слой/Супесь"));
        }
    }
    QCOMPARE(failing, 1);
}

void TestSimContent::demoIsTheSameEveryTime()
{
    const std::vector<ImpactRecord> again = makeDemoRecords(demoFieldDay());
    QCOMPARE(again.size(), demo().records.size());
    for (size_t p = 0; p < again.size(); ++p)
        QVERIFY2(again[p].bytes == demo().records[p].bytes, qPrintable(QString::number(p)));
}

void TestSimContent::demoCurves_data()
{
    QTest::addColumn<int>("position");
    for (size_t p = 0; p < demo().records.size(); ++p)
        QTest::addRow("impact %d", int(p)) << int(p);
}

void TestSimContent::demoCurves()
{
    QFETCH(int, position);
    const ImpactRecord &record = demo().records[size_t(position)];
    const float peakNeg = record.floatAt(R::AccelPeakNeg);
    const float peakPos = record.floatAt(R::AccelPeakPos);
    const float forceScale = record.floatAt(R::ForceScale);

    for (R::Offset modulus : {R::DynModulus, R::StatModulus}) {
        QVERIFY(record.floatAt(modulus) >= 20);
        QVERIFY(record.floatAt(modulus) <= 150);
    }

    // The larger peak is full scale, and each peak is where the curve is.
    qint16 lowest = 0, highest = 0, forceHighest = 0;
    int forceSamplesInPulse = 0;
    for (int i = 0; i < SamplesPerCurve; ++i) {
        lowest = std::min(lowest, record.accelSample(i));
        highest = std::max(highest, record.accelSample(i));
        forceHighest = std::max(forceHighest, record.forceSample(i));
        forceSamplesInPulse += record.forceSample(i) > 32767 / 20;
    }
    QVERIFY(peakNeg < 0 && peakPos > 0);
    QCOMPARE(std::max(-int(lowest), int(highest)), 32767);
    const double scale = accelScale(record);
    QVERIFY(std::abs(lowest * scale - peakNeg) <= scale);
    QVERIFY(std::abs(highest * scale - peakPos) <= scale);
    QCOMPARE(forceHighest, qint16(32767));
    QCOMPARE(forceScale, record.floatAt(R::ImpactForce));
    QVERIFY(forceScale > 6500 && forceScale < 7700);

    // A half-sine of about 18 ms: above 5 % of its peak for about 17.4 ms.
    const double pulseMs = forceSamplesInPulse * 0.064;
    QVERIFY2(pulseMs > 16 && pulseMs < 19, qPrintable(QString::number(pulseMs)));

    // The program's own running sums agree with the record's numbers.
    const PhysicalCurves curves = physicalCurves(record);
    const double deepest = *std::max_element(curves.displacement.begin(), curves.displacement.end());
    const double fastest = *std::max_element(curves.velocity.begin(), curves.velocity.end());
    QVERIFY(std::abs(deepest - record.floatAt(R::DisplacementValue)) < 1e-3 * deepest);
    QVERIFY(std::abs(fastest - record.floatAt(R::VelocityA)) < 1e-3 * fastest);
    const double modulus = 1.5 * forceScale / (std::numbers::pi * 0.15 * deepest / 1000) / 1e6;
    QVERIFY(std::abs(modulus - record.floatAt(R::DynModulus)) < 1e-3 * modulus);
    // ... and the plate comes back up after the blow.
    QVERIFY(curves.displacement.back() < 0.5 * deepest);
}

void TestSimContent::fullInstrument_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("impacts");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("a part series") << 7 << 7;
    QTest::newRow("full") << 3556 << 3556;
    QTest::newRow("more than it holds") << 5000 << 3556;
}

void TestSimContent::fullInstrument()
{
    QFETCH(int, asked);
    QFETCH(int, impacts);
    const InstrumentContent content = fullContent(asked);
    QCOMPARE(int(content.records.size()), impacts);
    QCOMPARE(content.directory.size(), size_t(MaxImpacts));
    QCOMPARE(countedImpacts(content), quint32(impacts));

    const QList<int> lengths = seriesLengths(content);
    for (qsizetype k = 0; k + 1 < lengths.size(); ++k)
        QCOMPARE(lengths[k], 5);
    if (impacts > 0) {
        QCOMPARE(lengths.back(), impacts % 5 == 0 ? 5 : impacts % 5);
        QCOMPARE(content.records.back().seriesNumber(), quint32(lengths.size()));
    }
    for (size_t p = 1; p < content.records.size(); ++p)
        QVERIFY2(timeOf(content.records[p]) > timeOf(content.records[p - 1]), qPrintable(QString::number(p)));
}

void TestSimContent::kvtFileImpactsAreServedAsSaved()
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWithSeries(*store, {2, 3});
    QTemporaryDir dir;
    const QString path = dir.filePath("five.kvt");
    QCOMPARE(saveKvtFile(path, *store), KvtSaveStatus::Saved);

    QString whyNot;
    const std::optional<InstrumentContent> content = contentFromKvtFile(path, &whyNot);
    QVERIFY2(content, qPrintable(whyNot));
    QCOMPARE(content->records.size(), size_t(5));
    for (quint32 p = 0; p < 5; ++p) {
        QVERIFY(content->records[p].bytes == store->record(p).bytes);
        QVERIFY(content->directory[p].bytes == store->directory()[p].bytes);
    }
    QCOMPARE(countedImpacts(*content), 5u);
}

void TestSimContent::kvtFileEntriesNotInUseAreReplaced()
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWithSeries(*store, {3});
    storeLittleEndian<quint16>(&store->directory()[1].bytes[0], 0x100);
    QTemporaryDir dir;
    const QString path = dir.filePath("gap.kvt");
    QCOMPARE(saveKvtFile(path, *store), KvtSaveStatus::Saved);

    QString whyNot;
    const std::optional<InstrumentContent> content = contentFromKvtFile(path, &whyNot);
    QVERIFY(content);
    QCOMPARE(countedImpacts(*content), 3u);
    QVERIFY(content->directory[0].bytes == store->directory()[0].bytes);
}

void TestSimContent::unreadableKvtFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a .kvt file") << QByteArray("hello, world") << true;
    QTest::newRow("cut short") << QByteArray("KVT-1.0\0\4\0\0\0\x94\x08\0\0", 16) << true;
}

void TestSimContent::unreadableKvtFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.kvt");
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString whyNot;
    QVERIFY(!contentFromKvtFile(path, &whyNot));
    QVERIFY(whyNot.contains(path));
}

void TestSimContent::defaultNames_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("material");
    QTest::addColumn<QString>("object");
    const char *materials[] = {"Не выбран", "Песок", "Супесь", "Суглинок", "Глина", "Грунт - 1", "Грунт - 2",
                               "Грунт - 3", "Грунт - 4", "Грунт - 5", "Грунт - 6", "Грунт - 7", "Грунт - 8"};
    const char *objects[] = {"Не выбран", "Подстилающий грунт", "Грунтовое основание", "Несущий слой",
                             "Поверхностный слой", "Объект 1", "Объект 2", "Объект 3", "Объект 4", "Объект 5",
                             "Объект 6", "Объект 7", "Объект 8"};
    for (int slot = 0; slot < NameSlots; ++slot)
        QTest::addRow("slot %d", slot) << slot << QString::fromUtf8(materials[slot]) << QString::fromUtf8(objects[slot]);
}

void TestSimContent::defaultNames()
{
    QFETCH(int, slot);
    const NameListBlock materials = makeNameListBlock(defaultMaterialNames());
    const NameListBlock objects = makeNameListBlock(defaultObjectNames());
    QTEST(readShortName20(&materials[size_t(slot) * 20]), "material");
    QTEST(readShortName20(&objects[size_t(slot) * 20]), "object");
}

void TestSimContent::screenLayout()
{
    const ScreenBlock screen = drawInstrumentScreen(demo());
    // Page by page, column by column: the left frame edge fills column 0 of
    // every page, the top edge is bit 0 of page 0, the bottom edge bit 7 of page 7.
    for (int page = 0; page < 8; ++page)
        QCOMPARE(screen[size_t(page * 128)], 0xFF);
    QCOMPARE(screen[1], 0x01);
    QCOMPARE(screen[7 * 128 + 1], 0x80);
    QCOMPARE(screen[7 * 128 + 127], 0xFF);

    // Bars of the last impacts stand on the bottom rows.
    int barColumns = 0;
    for (int x = 2; x < 126; ++x)
        barColumns += (screen[size_t(7 * 128 + x)] & 0x10) != 0; // row 60
    QVERIFY(barColumns >= 12 * 7);
}

void TestSimContent::screenText()
{
    ScreenCanvas canvas;
    canvas.drawText(4, 3, "K1");
    for (int row = 3; row < 10; ++row)
        QVERIFY(canvas.pixel(4, row)); // K's upright
    QVERIFY(!canvas.pixel(4, 10));
    QVERIFY(canvas.pixel(13, 9) && !canvas.pixel(13, 3)); // 1's foot, not its top
    canvas.drawText(120, 60, "8"); // clipped at the edges, no harm done
    QVERIFY(canvas.pixel(120, 61));
}

QTEST_GUILESS_MAIN(TestSimContent)
#include "tst_sim_content.moc"
