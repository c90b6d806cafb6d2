// The simulated instrument's command stream and its replies, with and without
// faults, driven byte by byte as the program's transports would.

#include "sim/instrument.h"
#include "sim_test_helpers.h"
#include "store/measurement_store.h"

#include <QTest>

#include <memory>

using namespace kvt;
using namespace kvt::sim;
using namespace kvt::sim::testing;

namespace {

constexpr int RecordCount = 5;

Instrument instrumentWith(const QString &faults = {})
{
    return Instrument(recognisableContent(RecordCount), parseFaultPlan(faults).plan);
}

QByteArray recordBytes(int index)
{
    return bytesOf(recognisableContent(RecordCount).records[size_t(index)].bytes);
}

// The payload each read command gets from a fault-free instrument.
QByteArray normalPayload(const QByteArray &command)
{
    Instrument instrument = instrumentWith();
    instrument.write(command);
    const QList<QByteArray> transfers = drain(instrument);
    return transfers.size() == 2 ? transfers[1] : QByteArray();
}

void addReadCommandRows()
{
    QTest::newRow("version") << frame(CmdReadVersion);
    QTest::newRow("directory") << frame(CmdReadDirectory);
    QTest::newRow("record") << recordFrame(2);
    QTest::newRow("materials") << frame(CmdReadMaterials);
    QTest::newRow("objects") << frame(CmdReadObjects);
    QTest::newRow("screen") << frame(CmdReadScreen);
}

} // namespace

class TestSimInstrument : public QObject {
    Q_OBJECT
private slots:
    void readCommands_data();
    void readCommands();
    void readerTakesAtMostTheCurrentTransfer();
    void framesInAnySplit_data();
    void framesInAnySplit();
    void ignoredBytes_data();
    void ignoredBytes();
    void directoryMarksEveryImpact();
    void nameListWriteReadsBack_data();
    void nameListWriteReadsBack();
    void shortNameBlockKeepsTheRest();
    void oversizedNameBlockIsRefused();

    void timeoutOn_data();
    void timeoutOn();
    void shortReply_data();
    void shortReply();
    void longReply_data();
    void longReply();
    void longReplyLeftoverMeetsTheNextRead();
    void emptyDirectory();
    void unplugAfterRecords_data();
    void unplugAfterRecords();
    void replugKeepsMemoryAndDisarms();
};

void TestSimInstrument::readCommands_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("payload");

    const InstrumentContent content = recognisableContent(RecordCount);
    QTest::newRow("version") << frame(CmdReadVersion) << QByteArray("KVT-1.0 sim 1.0");
    QTest::newRow("directory") << frame(CmdReadDirectory)
                               << QByteArray(reinterpret_cast<const char *>(content.directory.data()), 14228);
    QTest::newRow("first record") << recordFrame(0) << recordBytes(0);
    QTest::newRow("last record") << recordFrame(RecordCount - 1) << recordBytes(RecordCount - 1);
    QTest::newRow("just past the last") << recordFrame(RecordCount) << QByteArray(2196, '\0');
    QTest::newRow("index 300 (03 FC 2C 01)") << QByteArray::fromHex("03FC2C01") << QByteArray(2196, '\0');
    QTest::newRow("index 0xFFFF") << recordFrame(0xFFFF) << QByteArray(2196, '\0');
    QTest::newRow("materials") << frame(CmdReadMaterials) << bytesOf(makeNameListBlock(defaultMaterialNames()));
    QTest::newRow("objects") << frame(CmdReadObjects) << bytesOf(makeNameListBlock(defaultObjectNames()));
    QTest::newRow("screen") << frame(CmdReadScreen) << bytesOf(drawInstrumentScreen(content));
}

void TestSimInstrument::readCommands()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, payload);
    Instrument instrument = instrumentWith();
    QVERIFY(!instrument.hasTransfer());
    instrument.write(command);

    // The length travels alone, so the program's 4-byte read takes just it.
    const QList<QByteArray> transfers = drain(instrument);
    QCOMPARE(transfers.size(), 2);
    QCOMPARE(transfers[0], littleEndian32(quint32(payload.size())));
    QCOMPARE(transfers[1], payload);
}

void TestSimInstrument::readerTakesAtMostTheCurrentTransfer()
{
    Instrument instrument = instrumentWith();
    instrument.write(frame(CmdReadVersion));
    unsigned char buffer[64];
    const auto take = [&](size_t capacity) { return instrument.read(buffer, capacity); };

    QCOMPARE(take(3), std::optional<size_t>(3));
    QCOMPARE(instrument.transferBytesLeft(), size_t(1));
    QCOMPARE(take(64), std::optional<size_t>(1)); // the length's last byte, not the text
    QCOMPARE(buffer[0], 0);
    QCOMPARE(take(5), std::optional<size_t>(5));
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 5), QByteArray("KVT-1"));
    QCOMPARE(take(0), std::optional<size_t>(0));
    QCOMPARE(take(64), std::optional<size_t>(10));
    QCOMPARE(take(64), std::nullopt);
}

void TestSimInstrument::framesInAnySplit_data()
{
    QTest::addColumn<int>("chunk");
    QTest::newRow("one byte per write") << 1;
    QTest::newRow("three bytes per write") << 3;
    QTest::newRow("all frames in one write") << 1000;
}

void TestSimInstrument::framesInAnySplit()
{
    QFETCH(int, chunk);
    const QByteArray stream = frame(CmdReadVersion) + recordFrame(1) + frame(CmdReadScreen) + recordFrame(4);
    Instrument instrument = instrumentWith();
    for (qsizetype at = 0; at < stream.size(); at += chunk)
        instrument.write(stream.mid(at, chunk));

    const QList<QByteArray> transfers = drain(instrument);
    QCOMPARE(transfers.size(), 8);
    QCOMPARE(transfers[0], littleEndian32(15));
    QCOMPARE(transfers[1], QByteArray("KVT-1.0 sim 1.0"));
    QCOMPARE(transfers[3], recordBytes(1));
    QCOMPARE(transfers[4], littleEndian32(1024));
    QCOMPARE(transfers[7], recordBytes(4));
}

void TestSimInstrument::ignoredBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("versionReplies");

    QTest::newRow("wrong complement 01 00") << QByteArray::fromHex("0100") << 0;
    QTest::newRow("wrong complement 01 FF") << QByteArray::fromHex("01FF") << 0;
    QTest::newRow("code 4 does not exist") << QByteArray::fromHex("04FB") << 0;
    QTest::newRow("code 0") << QByteArray::fromHex("00FF") << 0;
    QTest::newRow("code 10") << QByteArray::fromHex("0AF5") << 0;
    QTest::newRow("a lone complement") << QByteArray::fromHex("FE") << 0;
    QTest::newRow("noise, then a frame") << QByteArray::fromHex("55AA01FE") << 1;
    QTest::newRow("a stray code, then a frame") << QByteArray::fromHex("0301FE") << 1;
}

void TestSimInstrument::ignoredBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, versionReplies);
    Instrument instrument = instrumentWith();
    instrument.write(bytes);
    QCOMPARE(drain(instrument).size(), 2 * versionReplies);

    // Whatever came before, the next good frame is answered.
    instrument.write(frame(CmdReadVersion));
    const QList<QByteArray> transfers = drain(instrument);
    QCOMPARE(transfers.size(), 2);
    QCOMPARE(transfers[1], QByteArray("KVT-1.0 sim 1.0"));
}

void TestSimInstrument::directoryMarksEveryImpact()
{
    Instrument instrument = instrumentWith();
    instrument.write(frame(CmdReadDirectory));
    const QByteArray directory = drain(instrument).value(1);
    QCOMPARE(directory.size(), 14228);

    auto store = std::make_unique<MeasurementStore>();
    std::memcpy(store->directory(), directory.constData(), size_t(directory.size()));
    store->countDirectoryImpacts();
    QCOMPARE(store->impactCount(), quint32(RecordCount));
    QCOMPARE(directory.mid(RecordCount * 4), QByteArray(14228 - RecordCount * 4, '\0'));
}

void TestSimInstrument::nameListWriteReadsBack_data()
{
    QTest::addColumn<int>("writeCode");
    QTest::addColumn<int>("readCode");
    QTest::addColumn<int>("otherReadCode");
    QTest::newRow("materials") << int(CmdWriteMaterials) << int(CmdReadMaterials) << int(CmdReadObjects);
    QTest::newRow("objects") << int(CmdWriteObjects) << int(CmdReadObjects) << int(CmdReadMaterials);
}

void TestSimInstrument::nameListWriteReadsBack()
{
    QFETCH(int, writeCode);
    QFETCH(int, readCode);
    QFETCH(int, otherReadCode);
    Instrument instrument = instrumentWith();
    const QByteArray otherBefore = normalPayload(frame(quint8(otherReadCode)));
    const QByteArray block = bytesOf(makeNameListBlock({"Slot 0", "Asphalt", "Gravel", "Щебень"}));

    const QList<QByteArray> writes = nameListWrite(quint8(writeCode), block);
    QCOMPARE(writes.size(), 7); // frame, length, 64, 64, 64, 64, 4
    for (const QByteArray &write : writes)
        instrument.write(write);
    QVERIFY(!instrument.hasTransfer()); // a write command is not answered

    instrument.write(frame(quint8(readCode)));
    QCOMPARE(drain(instrument), (QList<QByteArray>{littleEndian32(260), block}));
    instrument.write(frame(quint8(otherReadCode)));
    QCOMPARE(drain(instrument).value(1), otherBefore);
}

void TestSimInstrument::shortNameBlockKeepsTheRest()
{
    Instrument instrument = instrumentWith();
    const QByteArray before = bytesOf(instrument.materialNames());
    const QByteArray twoSlots = bytesOf(makeNameListBlock({"A", "B"})).left(40);
    for (const QByteArray &write : nameListWrite(CmdWriteMaterials, twoSlots))
        instrument.write(write);
    QCOMPARE(bytesOf(instrument.materialNames()), twoSlots + before.mid(40));
}

void TestSimInstrument::oversizedNameBlockIsRefused()
{
    Instrument instrument = instrumentWith();
    const QByteArray before = bytesOf(instrument.objectNames());
    instrument.write(frame(CmdWriteObjects) + littleEndian32(261));
    instrument.write(frame(CmdReadVersion)); // not swallowed as names
    QCOMPARE(drain(instrument).size(), 2);
    QCOMPARE(bytesOf(instrument.objectNames()), before);
}

void TestSimInstrument::timeoutOn_data()
{
    QTest::addColumn<QByteArray>("command");
    addReadCommandRows();
}

void TestSimInstrument::timeoutOn()
{
    QFETCH(QByteArray, command);
    Instrument instrument = instrumentWith(QStringLiteral("timeout-on=%1").arg(int(quint8(command[0]))));
    instrument.write(command);
    QVERIFY(!instrument.hasTransfer());

    // Only that command is silent.
    const QByteArray other = command[0] == CmdReadVersion ? frame(CmdReadScreen) : frame(CmdReadVersion);
    instrument.write(other);
    QCOMPARE(drain(instrument).size(), 2);
}

void TestSimInstrument::shortReply_data()
{
    QTest::addColumn<QByteArray>("command");
    addReadCommandRows();
}

void TestSimInstrument::shortReply()
{
    QFETCH(QByteArray, command);
    const QByteArray normal = normalPayload(command);
    Instrument instrument = instrumentWith(QStringLiteral("short-reply=%1").arg(int(quint8(command[0]))));
    instrument.write(command);
    const QList<QByteArray> transfers = drain(instrument);
    QCOMPARE(transfers.size(), 2);
    QCOMPARE(transfers[0], littleEndian32(quint32(normal.size())));
    QCOMPARE(transfers[1], normal.left(normal.size() / 2));
}

void TestSimInstrument::longReply_data()
{
    QTest::addColumn<QByteArray>("command");
    addReadCommandRows();
}

void TestSimInstrument::longReply()
{
    QFETCH(QByteArray, command);
    const QByteArray normal = normalPayload(command);
    Instrument instrument = instrumentWith(QStringLiteral("long-reply=%1").arg(int(quint8(command[0]))));
    instrument.write(command);
    const QList<QByteArray> transfers = drain(instrument);
    QCOMPARE(transfers.size(), 2);
    QCOMPARE(transfers[0], littleEndian32(quint32(normal.size() + 100)));
    QCOMPARE(transfers[1], normal + QByteArray(100, char(0xEE)));
}

void TestSimInstrument::longReplyLeftoverMeetsTheNextRead()
{
    // The program reads only its cap; the rest waits in the same transfer and
    // is what its next length read gets.
    Instrument instrument = instrumentWith(QStringLiteral("long-reply=3"));
    instrument.write(recordFrame(0) + recordFrame(1));
    unsigned char buffer[2196];
    QCOMPARE(instrument.read(buffer, 4), std::optional<size_t>(4));
    QCOMPARE(instrument.read(buffer, 2196), std::optional<size_t>(2196));
    QCOMPARE(instrument.read(buffer, 4), std::optional<size_t>(4));
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 4), QByteArray(4, char(0xEE)));
    QCOMPARE(instrument.transferBytesLeft(), size_t(96));
}

void TestSimInstrument::emptyDirectory()
{
    Instrument instrument = instrumentWith(QStringLiteral("empty-directory"));
    instrument.write(frame(CmdReadDirectory));
    QCOMPARE(drain(instrument), (QList<QByteArray>{littleEndian32(14228), QByteArray(14228, '\0')}));
    // The records are still there for anyone who asks by index.
    instrument.write(recordFrame(0));
    QCOMPARE(drain(instrument).value(1), recordBytes(0));
}

void TestSimInstrument::unplugAfterRecords_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("at the first record") << 0;
    QTest::newRow("after one") << 1;
    QTest::newRow("after three") << 3;
}

void TestSimInstrument::unplugAfterRecords()
{
    QFETCH(int, records);
    Instrument instrument = instrumentWith(QStringLiteral("unplug-after-records=%1").arg(records));
    instrument.write(frame(CmdReadVersion) + frame(CmdReadDirectory));
    QCOMPARE(drain(instrument).size(), 4); // other replies do not count

    for (int i = 0; i < records; ++i) {
        QVERIFY(!instrument.vanished());
        instrument.write(recordFrame(quint16(i)));
        QCOMPARE(drain(instrument).value(1), recordBytes(i));
    }
    if (records == 0) {
        QVERIFY(!instrument.vanished());
        instrument.write(recordFrame(0));
    }
    QVERIFY(instrument.vanished());
    QCOMPARE(instrument.recordRepliesRead(), records);

    instrument.write(frame(CmdReadVersion));
    QVERIFY(!instrument.hasTransfer());
    unsigned char buffer[16];
    QCOMPARE(instrument.read(buffer, sizeof buffer), std::nullopt);
}

void TestSimInstrument::replugKeepsMemoryAndDisarms()
{
    Instrument instrument = instrumentWith(QStringLiteral("unplug-after-records=1"));
    const QByteArray names = bytesOf(makeNameListBlock({"Kept"}));
    for (const QByteArray &write : nameListWrite(CmdWriteMaterials, names))
        instrument.write(write);
    instrument.write(recordFrame(0) + recordFrame(1)); // the second is lost with the unplug
    unsigned char buffer[2196];
    instrument.read(buffer, 4);
    instrument.read(buffer, 2196);
    QVERIFY(instrument.vanished());

    instrument.replug();
    QVERIFY(!instrument.vanished());
    QVERIFY(!instrument.hasTransfer());
    for (int i = 0; i < RecordCount; ++i) {
        instrument.write(recordFrame(quint16(i)));
        QCOMPARE(drain(instrument).value(1), recordBytes(i));
    }
    QVERIFY(!instrument.vanished());
    instrument.write(frame(CmdReadMaterials));
    QCOMPARE(drain(instrument).value(1), names);
}

QTEST_GUILESS_MAIN(TestSimInstrument)
#include "tst_sim_instrument.moc"
