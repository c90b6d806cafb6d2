// The instrument on its simulated USB bus: scans, handles, bulk transfers,
// unplugging and plugging in again, and the bus time charged, all at given
// times so that nothing here sleeps.

#include "sim/sim_bus.h"
#include "sim_test_helpers.h"
#include "device/libusb_api.h"

#include <QTest>

#include <cerrno>

using namespace kvt;
using namespace kvt::sim;
using namespace kvt::sim::testing;
using namespace std::chrono_literals;

namespace {

const SimTime Start = SimTime{} + 1h;

SimBus busWith(const QString &faults = {}, bool fullSpeed = false, Strictness strictness = Strictness::Lenient)
{
    const FaultPlan plan = parseFaultPlan(faults).plan;
    return SimBus(Instrument(recognisableContent(5), plan, strictness), plan.replugAfterMs, fullSpeed);
}

// As KVT10_SIM_STRICT=1 has it: a strict instrument, and a slow one.
SimBus strictBus()
{
    return busWith(QStringLiteral("slow=lost"), false, Strictness::Strict);
}

SimBus::Handle openDevice(SimBus &bus, SimTime now = Start)
{
    bus.findBusses();
    bus.findDevices(now);
    const SimBus::Handle handle = bus.open(now);
    bus.setConfiguration(handle, 1, now);
    bus.claimInterface(handle, 0, now);
    return handle;
}

// One command and its two-part reply, as the program's libusb backend does it.
// Returns the result of the last call.
int exchange(SimBus &bus, SimBus::Handle handle, const QByteArray &command, int cap, SimTime now,
             QByteArray *payload = nullptr)
{
    int result = bus.bulkWrite(handle, SimOutEndpoint, command.constData(), int(command.size()), now).result;
    if (result < 0)
        return result;
    char length[4];
    result = bus.bulkRead(handle, SimInEndpoint, length, 4, 500, now).result;
    if (result < 0)
        return result;
    QByteArray buffer(cap, '\0');
    result = bus.bulkRead(handle, SimInEndpoint, buffer.data(), cap, 500, now).result;
    if (payload)
        *payload = buffer.left(std::max(result, 0));
    return result;
}

} // namespace

class TestSimBus : public QObject {
    Q_OBJECT
private slots:
    void scansCountChanges();
    void openConfigureClaim();
    void transfers();
    void readWithNothingQueuedTimesOut_data();
    void readWithNothingQueuedTimesOut();
    void readWaitsForAReplyBeingMadeReady_data();
    void readWaitsForAReplyBeingMadeReady();
    void endpoints_data();
    void endpoints();
    void setUpBeforeTransfers_data();
    void setUpBeforeTransfers();
    void newPlugInStartsUnconfigured();
    void unplugAndReplug();
    void unplugAndReplugBetweenScans();
    void unplugWithoutReplugStaysAway();
    void unplugOnTheRecordCommand();
    void modelledTime_data();
    void modelledTime();
    void timeOutWaitsInTheTimingModel();
};

void TestSimBus::scansCountChanges()
{
    SimBus bus = busWith();
    QVERIFY(!bus.deviceListed());
    QCOMPARE(bus.findBusses(), 1);
    QCOMPARE(bus.findBusses(), 0);
    QCOMPARE(bus.findDevices(Start), 1);
    QVERIFY(bus.deviceListed());
    QCOMPARE(bus.findDevices(Start + 1s), 0);
    QVERIFY(bus.deviceListed());
}

void TestSimBus::openConfigureClaim()
{
    SimBus bus = busWith();
    bus.findDevices(Start);
    const SimBus::Handle handle = bus.open(Start);
    QVERIFY(handle != 0);
    QCOMPARE(bus.setConfiguration(handle, 1, Start), 0);
    QCOMPARE(bus.setConfiguration(handle, 2, Start), -EINVAL);
    QCOMPARE(bus.claimInterface(handle, 0, Start), 0);
    QCOMPARE(bus.claimInterface(handle, 1, Start), -EINVAL);
    QCOMPARE(bus.releaseInterface(handle, 0, Start), 0);
    QCOMPARE(bus.setConfiguration(handle + 1, 1, Start), -ENODEV);
}

void TestSimBus::transfers()
{
    SimBus bus = busWith();
    const SimBus::Handle handle = openDevice(bus);
    const QByteArray command = recordFrame(3);
    QCOMPARE(bus.bulkWrite(handle, SimOutEndpoint, command.constData(), 4, Start).result, 4);

    // A 64-byte read of the length gets the 4 bytes of its transfer only.
    char buffer[2196];
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 64, 500, Start).result, 4);
    QCOMPARE(QByteArray(buffer, 4), littleEndian32(2196));
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 2196, 500, Start).result, 2196);
    QCOMPARE(QByteArray(buffer, 2196), bytesOf(recognisableContent(5).records[3].bytes));
}

void TestSimBus::readWithNothingQueuedTimesOut_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<int>("waitedMs");
    QTest::newRow("lenient, no timing model: at once") << false << 0;
    QTest::newRow("strict: after the time-out, as a real bus") << true << 500;
}

void TestSimBus::readWithNothingQueuedTimesOut()
{
    QFETCH(bool, strict);
    QFETCH(int, waitedMs);
    SimBus bus = strict ? strictBus() : busWith();
    const SimBus::Handle handle = openDevice(bus);
    char buffer[1000];
    const SimBus::Outcome outcome = bus.bulkRead(handle, SimInEndpoint, buffer, 1000, 500, Start);
    QCOMPARE(outcome.result, LibUsbTimedOut);
    QCOMPARE(outcome.doneAt, Start + std::chrono::milliseconds(waitedMs));
    QCOMPARE(bus.modelledMilliseconds(), 0.0);
}

void TestSimBus::readWaitsForAReplyBeingMadeReady_data()
{
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("doneAfterMs");
    // The version is ready 50 ms after its command; a host that reads at once
    // gets it late, or not at all if it gives up sooner.
    QTest::newRow("time-out long enough") << 500 << 4 << 50;
    QTest::newRow("time-out just long enough") << 50 << 4 << 50;
    QTest::newRow("time-out too short") << 20 << LibUsbTimedOut << 20;
}

void TestSimBus::readWaitsForAReplyBeingMadeReady()
{
    QFETCH(int, timeoutMs);
    QFETCH(int, result);
    QFETCH(int, doneAfterMs);
    SimBus bus = strictBus();
    const SimBus::Handle handle = openDevice(bus);
    QCOMPARE(bus.bulkWrite(handle, SimOutEndpoint, frame(CmdReadVersion).constData(), 2, Start).result, 2);
    char buffer[99];
    const SimBus::Outcome outcome = bus.bulkRead(handle, SimInEndpoint, buffer, 4, timeoutMs, Start);
    QCOMPARE(outcome.result, result);
    QCOMPARE(outcome.doneAt, Start + std::chrono::milliseconds(doneAfterMs));
    // Late, never lost: the reply is still there for the reads that follow.
    if (result < 0)
        QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 4, 500, Start + 50ms).result, 4);
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 99, 500, Start + 50ms).result, 16);
}

void TestSimBus::endpoints_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("endpoint");
    QTest::addColumn<bool>("lenientAccepts");
    QTest::addColumn<bool>("strictAccepts");
    // libusb 0.1 sets or clears the direction bit itself; a strict instrument
    // wants the endpoint named as it is, OUT 0x01 and IN 0x82.
    QTest::newRow("write 0x01") << true << 0x01 << true << true;
    QTest::newRow("write 0x81") << true << 0x81 << true << false;
    QTest::newRow("write 0x02") << true << 0x02 << false << false;
    QTest::newRow("write 0x82, the IN endpoint") << true << 0x82 << false << false;
    QTest::newRow("read 0x82") << false << 0x82 << true << true;
    QTest::newRow("read 0x02") << false << 0x02 << true << false;
    QTest::newRow("read 0x81") << false << 0x81 << false << false;
    QTest::newRow("read 0x01, the OUT endpoint") << false << 0x01 << false << false;
}

void TestSimBus::endpoints()
{
    QFETCH(bool, write);
    QFETCH(int, endpoint);
    QFETCH(bool, lenientAccepts);
    QFETCH(bool, strictAccepts);
    for (const bool strict : {false, true}) {
        SimBus bus = strict ? strictBus() : busWith();
        const SimBus::Handle handle = openDevice(bus);
        const QByteArray command = recordFrame(0);
        if (!write)
            bus.bulkWrite(handle, SimOutEndpoint, command.constData(), 4, Start);
        char buffer[4];
        const int result = write ? bus.bulkWrite(handle, endpoint, command.constData(), 4, Start).result
                                 : bus.bulkRead(handle, endpoint, buffer, 4, 500, Start).result;
        QCOMPARE(result, (strict ? strictAccepts : lenientAccepts) ? 4 : -EINVAL);
    }
}

void TestSimBus::setUpBeforeTransfers_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("configure");
    QTest::addColumn<bool>("claim");
    QTest::addColumn<bool>("otherHandle");
    QTest::addColumn<int>("claimResult");
    QTest::addColumn<int>("transferResult");

    QTest::newRow("configured and claimed") << true << true << true << false << 0 << 4;
    QTest::newRow("claimed without a configuration") << true << false << true << false << -ENOENT << -ENOENT;
    QTest::newRow("configured, never claimed") << true << true << false << false << 0 << -ENOENT;
    QTest::newRow("claimed through another handle") << true << true << true << true << 0 << -ENOENT;
    QTest::newRow("lenient: nothing set up") << false << false << false << false << 0 << 4;
}

void TestSimBus::setUpBeforeTransfers()
{
    QFETCH(bool, strict);
    QFETCH(bool, configure);
    QFETCH(bool, claim);
    QFETCH(bool, otherHandle);
    QFETCH(int, claimResult);
    QFETCH(int, transferResult);
    SimBus bus = strict ? strictBus() : busWith();
    bus.findDevices(Start);
    const SimBus::Handle handle = bus.open(Start);
    const SimBus::Handle claiming = otherHandle ? bus.open(Start) : handle;
    if (configure)
        QCOMPARE(bus.setConfiguration(claiming, 1, Start), 0);
    if (claim)
        QCOMPARE(bus.claimInterface(claiming, 0, Start), claimResult);

    const QByteArray command = recordFrame(0);
    QCOMPARE(bus.bulkWrite(handle, SimOutEndpoint, command.constData(), 4, Start).result, transferResult);
    char buffer[4];
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 4, 500, Start).result, transferResult);
}

void TestSimBus::newPlugInStartsUnconfigured()
{
    SimBus bus = busWith(QStringLiteral("slow=lost,unplug-after-records=1,replug-after-ms=100"), false,
                         Strictness::Strict);
    exchange(bus, openDevice(bus), recordFrame(0), 2196, Start);
    const SimBus::Handle again = bus.open(Start + 100ms);
    QVERIFY(again != 0);
    QCOMPARE(bus.claimInterface(again, 0, Start + 100ms), -ENOENT);
    QCOMPARE(bus.setConfiguration(again, 1, Start + 100ms), 0);
    QCOMPARE(bus.claimInterface(again, 0, Start + 100ms), 0);
    QCOMPARE(exchange(bus, again, recordFrame(1), 2196, Start + 100ms), 2196);
}

void TestSimBus::unplugAndReplug()
{
    SimBus bus = busWith(QStringLiteral("unplug-after-records=2,replug-after-ms=300"));
    const SimBus::Handle handle = openDevice(bus);
    QCOMPARE(exchange(bus, handle, frame(CmdReadDirectory), 14228, Start), 14228);
    QCOMPARE(exchange(bus, handle, recordFrame(0), 2196, Start), 2196);
    QCOMPARE(exchange(bus, handle, recordFrame(1), 2196, Start), 2196); // the last one still arrives

    char buffer[4];
    QCOMPARE(exchange(bus, handle, recordFrame(2), 2196, Start), -ENODEV);
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 4, 500, Start).result, -ENODEV);
    QCOMPARE(bus.setConfiguration(handle, 1, Start), -ENODEV);
    QCOMPARE(bus.open(Start), 0u);
    QCOMPARE(bus.findDevices(Start + 100ms), 1); // gone
    QVERIFY(!bus.deviceListed());
    QCOMPARE(bus.findDevices(Start + 299ms), 0);

    QCOMPARE(bus.findDevices(Start + 300ms), 1); // back
    QVERIFY(bus.deviceListed());
    QCOMPARE(bus.bulkRead(handle, SimInEndpoint, buffer, 4, 500, Start + 300ms).result, -ENODEV);
    const SimBus::Handle again = bus.open(Start + 300ms);
    QVERIFY(again != 0 && again != handle);
    QByteArray record;
    for (quint16 i = 0; i < 5; ++i)
        QCOMPARE(exchange(bus, again, recordFrame(i), 2196, Start + 301ms, &record), 2196);
    QCOMPARE(record, bytesOf(recognisableContent(5).records[4].bytes));
}

void TestSimBus::unplugAndReplugBetweenScans()
{
    SimBus bus = busWith(QStringLiteral("unplug-after-records=1,replug-after-ms=50"));
    const SimBus::Handle handle = openDevice(bus);
    exchange(bus, handle, recordFrame(0), 2196, Start);
    // One removal and one arrival since the last scan.
    QCOMPARE(bus.findDevices(Start + 1s), 2);
    QCOMPARE(bus.findDevices(Start + 2s), 0);
}

void TestSimBus::unplugWithoutReplugStaysAway()
{
    SimBus bus = busWith(QStringLiteral("unplug-after-records=1"));
    const SimBus::Handle handle = openDevice(bus);
    exchange(bus, handle, recordFrame(0), 2196, Start);
    QCOMPARE(bus.findDevices(Start + 1h), 1);
    QVERIFY(!bus.deviceListed());
    QCOMPARE(bus.open(Start + 2h), 0u);
    QCOMPARE(bus.findDevices(Start + 3h), 0);
}

void TestSimBus::unplugOnTheRecordCommand()
{
    SimBus bus = busWith(QStringLiteral("unplug-after-records=0"));
    const SimBus::Handle handle = openDevice(bus);
    QCOMPARE(exchange(bus, handle, frame(CmdReadDirectory), 14228, Start), 14228);
    const QByteArray command = recordFrame(0);
    QCOMPARE(bus.bulkWrite(handle, SimOutEndpoint, command.constData(), 4, Start).result, -ENODEV);
}

void TestSimBus::modelledTime_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<int>("cap");
    QTest::addColumn<double>("milliseconds");
    // Frames: every write and read takes at least one 1 ms frame.
    QTest::newRow("version: 1 + 1 + 1") << QList<QByteArray>{frame(CmdReadVersion)} << 99 << 3.0;
    QTest::newRow("record: 1 + 1 + 2") << QList<QByteArray>{recordFrame(0)} << 2196 << 4.0;
    QTest::newRow("directory: 1 + 1 + 12") << QList<QByteArray>{frame(CmdReadDirectory)} << 14228 << 14.0;
    QTest::newRow("screen: 1 + 1 + 1") << QList<QByteArray>{frame(CmdReadScreen)} << 1024 << 3.0;
    QTest::newRow("name list write: 7 writes")
        << nameListWrite(CmdWriteObjects, QByteArray(260, 'x')) << 0 << 7.0;
}

void TestSimBus::modelledTime()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(int, cap);
    QFETCH(double, milliseconds);
    SimBus bus = busWith({}, true);
    const SimBus::Handle handle = openDevice(bus);
    SimTime doneAt = Start;
    for (const QByteArray &write : writes)
        doneAt = bus.bulkWrite(handle, SimOutEndpoint, write.constData(), int(write.size()), Start).doneAt;
    if (cap > 0) {
        QByteArray buffer(cap, '\0');
        bus.bulkRead(handle, SimInEndpoint, buffer.data(), 4, 500, Start);
        doneAt = bus.bulkRead(handle, SimInEndpoint, buffer.data(), cap, 500, Start).doneAt;
    }
    QCOMPARE(bus.modelledMilliseconds(), milliseconds);
    // Issued all at once, the transfers end one after another.
    QCOMPARE(doneAt, Start + std::chrono::milliseconds(qint64(milliseconds)));
}

void TestSimBus::timeOutWaitsInTheTimingModel()
{
    SimBus bus = busWith({}, true);
    const SimBus::Handle handle = openDevice(bus);
    char buffer[16];
    const SimBus::Outcome outcome = bus.bulkRead(handle, SimInEndpoint, buffer, 16, 500, Start);
    QCOMPARE(outcome.result, LibUsbTimedOut);
    QCOMPARE(outcome.doneAt, Start + 500ms);
    QCOMPARE(bus.modelledMilliseconds(), 0.0);
}

QTEST_GUILESS_MAIN(TestSimBus)
#include "tst_sim_bus.moc"
