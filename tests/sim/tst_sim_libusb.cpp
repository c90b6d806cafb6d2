// libkvt10sim.so loaded the way the program loads a libusb 0.1 library: by
// dlopen and names, with the types of Debian's usb.h.

#include "store/measurement_store.h"
#include "support/clock.h"

#include <usb.h>

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include <dlfcn.h>

using namespace kvt;

namespace {

struct Api {
    void *library = nullptr;
    decltype(&::usb_init) init = nullptr;
    decltype(&::usb_find_busses) findBusses = nullptr;
    decltype(&::usb_find_devices) findDevices = nullptr;
    decltype(&::usb_get_busses) getBusses = nullptr;
    decltype(&::usb_open) open = nullptr;
    decltype(&::usb_close) close = nullptr;
    decltype(&::usb_set_configuration) setConfiguration = nullptr;
    decltype(&::usb_claim_interface) claimInterface = nullptr;
    decltype(&::usb_bulk_write) bulkWrite = nullptr;
    decltype(&::usb_bulk_read) bulkRead = nullptr;
    decltype(&::usb_strerror) strerror = nullptr;
    decltype(&::usb_device) usbDevice = nullptr;
    void (*reset)() = nullptr;
    double (*modelledMilliseconds)() = nullptr;
    void (*useClock)(long long (*)(void *), void (*)(void *, long long), void *) = nullptr;
};

template <typename Function>
void bind(void *library, Function &function, const char *name)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
}

QByteArray frame(quint8 code)
{
    // Not QByteArray{a, b}: that is QByteArray(count, character).
    const char bytes[2] = {char(code), char(0xFF - code)};
    return QByteArray(bytes, 2);
}

// The instrument is strict, as the test suite has it, unless a case says not.
void setScenario(const char *faults, const char *timing = "", const char *impacts = "", const char *strict = "1")
{
    qputenv("KVT10_SIM_DATA", "");
    qputenv("KVT10_SIM_FAULTS", faults);
    qputenv("KVT10_SIM_TIMING", timing);
    qputenv("KVT10_SIM_IMPACTS", impacts);
    qputenv("KVT10_SIM_STRICT", strict);
}

} // namespace

class TestSimLibusb : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void exportedNames_data();
    void exportedNames();
    void busHoldsTheInstrument();
    void readsTheInstrument();
    void unplugGivesNoDevice();
    void resetStartsAnotherScenario();
    void timingModelSleeps();
    void timeOutSleepsInTheTimingModel();
    void workerThreadWhileTheTestThreadAsks();
    void everyOpenClaimsAgain();
    void aTestClockStandsInForTheBusClock();

private:
    usb_dev_handle *openInstrument();
    int exchange(usb_dev_handle *handle, const QByteArray &command, QByteArray *payload, int cap);
    quint32 countImpacts(usb_dev_handle *handle);

    Api api;
};

void TestSimLibusb::initTestCase()
{
    api.library = dlopen(KVT10SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(api.library, dlerror());
    bind(api.library, api.init, "usb_init");
    bind(api.library, api.findBusses, "usb_find_busses");
    bind(api.library, api.findDevices, "usb_find_devices");
    bind(api.library, api.getBusses, "usb_get_busses");
    bind(api.library, api.open, "usb_open");
    bind(api.library, api.close, "usb_close");
    bind(api.library, api.setConfiguration, "usb_set_configuration");
    bind(api.library, api.claimInterface, "usb_claim_interface");
    bind(api.library, api.bulkWrite, "usb_bulk_write");
    bind(api.library, api.bulkRead, "usb_bulk_read");
    bind(api.library, api.strerror, "usb_strerror");
    bind(api.library, api.usbDevice, "usb_device");
    bind(api.library, api.reset, "kvt10sim_reset");
    bind(api.library, api.modelledMilliseconds, "kvt10sim_modelled_milliseconds");
    bind(api.library, api.useClock, "kvt10sim_use_clock");
    QVERIFY(api.reset && api.modelledMilliseconds && api.useClock && api.bulkRead);
}

void TestSimLibusb::init()
{
    setScenario("");
    api.useClock(nullptr, nullptr, nullptr); // its own clock, and a new instrument
}

void TestSimLibusb::cleanupTestCase()
{
    if (api.library)
        dlclose(api.library);
}

usb_dev_handle *TestSimLibusb::openInstrument()
{
    api.init();
    api.findBusses();
    api.findDevices();
    for (usb_bus *bus = api.getBusses(); bus; bus = bus->next) {
        for (struct usb_device *device = bus->devices; device; device = device->next) {
            if (device->descriptor.idVendor == 0x03EB && device->descriptor.idProduct == 0x0120) {
                usb_dev_handle *handle = api.open(device);
                if (handle && api.setConfiguration(handle, 1) == 0 && api.claimInterface(handle, 0) == 0)
                    return handle;
            }
        }
    }
    return nullptr;
}

int TestSimLibusb::exchange(usb_dev_handle *handle, const QByteArray &command, QByteArray *payload, int cap)
{
    int result = api.bulkWrite(handle, 0x01, command.constData(), int(command.size()), 500);
    if (result < 0)
        return result;
    char length[4];
    result = api.bulkRead(handle, 0x82, length, 4, 500);
    if (result < 0)
        return result;
    payload->resize(cap);
    result = api.bulkRead(handle, 0x82, payload->data(), cap, 500);
    payload->resize(std::max(result, 0));
    return result;
}

quint32 TestSimLibusb::countImpacts(usb_dev_handle *handle)
{
    QByteArray directory;
    if (exchange(handle, frame(2), &directory, 14228) != 14228)
        return ~0u;
    auto store = std::make_unique<MeasurementStore>();
    std::memcpy(store->directory(), directory.constData(), size_t(directory.size()));
    store->countDirectoryImpacts();
    return store->impactCount();
}

void TestSimLibusb::exportedNames_data()
{
    QTest::addColumn<QByteArray>("name");
    for (const char *name :
         {"usb_init", "usb_find_busses", "usb_find_devices", "usb_get_busses", "usb_open", "usb_close",
          "usb_set_configuration", "usb_claim_interface", "usb_release_interface", "usb_bulk_write", "usb_bulk_read",
          "usb_strerror", "usb_set_debug", "usb_device", "usb_busses", "kvt10sim_reset",
          "kvt10sim_modelled_milliseconds", "kvt10sim_use_clock"})
        QTest::newRow(name) << QByteArray(name);
}

void TestSimLibusb::exportedNames()
{
    QFETCH(QByteArray, name);
    QVERIFY(dlsym(api.library, name.constData()));
}

void TestSimLibusb::busHoldsTheInstrument()
{
    api.init();
    QCOMPARE(api.findBusses(), 1);
    QCOMPARE(api.findDevices(), 1);
    QCOMPARE(api.findBusses(), 0);
    QCOMPARE(api.findDevices(), 0);
    usb_bus *bus = api.getBusses();
    QVERIFY(bus && !bus->next);
    QVERIFY(bus->devices && !bus->devices->next);
    QCOMPARE(bus->devices->descriptor.idVendor, 0x03EB);
    QCOMPARE(bus->devices->descriptor.idProduct, 0x0120);
    QCOMPARE(bus->devices->bus, bus);
}

void TestSimLibusb::readsTheInstrument()
{
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    QByteArray payload;
    QCOMPARE(exchange(handle, frame(1), &payload, 99), 16);
    QCOMPARE(payload, QByteArray("KVT-1.0 sim 1.0", 16)); // with its terminating 0

    const quint32 impacts = countImpacts(handle);
    // The demo's field day: 18 series or more of 3 to 9 impacts.
    QVERIFY2(impacts >= 18 * 3 && impacts <= 250, qPrintable(QString::number(impacts)));
    for (quint32 i = 0; i < impacts; ++i) {
        const QByteArray command = frame(3) + char(i & 0xFF) + char(i >> 8);
        QCOMPARE(exchange(handle, command, &payload, 2196), 2196);
    }
    ImpactRecord last;
    std::memcpy(last.bytes.data(), payload.constData(), 2196);
    QVERIFY(last.seriesNumber() >= 18);

    char buffer[1000];
    QCOMPARE(api.bulkRead(handle, 0x82, buffer, 1000, 500), -110);
    QVERIFY(std::strlen(api.strerror()) > 0);
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::unplugGivesNoDevice()
{
    setScenario("unplug-after-records=1");
    api.reset();
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    QByteArray payload;
    QCOMPARE(exchange(handle, frame(3) + QByteArray(2, '\0'), &payload, 2196), 2196);
    QCOMPARE(exchange(handle, frame(3) + QByteArray("\1\0", 2), &payload, 2196), -ENODEV);
    QCOMPARE(api.findDevices(), 1);
    QVERIFY(!api.getBusses()->devices);
    // A program still holding the device from before gets no handle, and errno says why.
    errno = 0;
    QVERIFY(!api.open(api.usbDevice(handle)));
    QCOMPARE(errno, ENODEV);
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::resetStartsAnotherScenario()
{
    usb_dev_handle *before = openInstrument();
    QVERIFY(before);
    setScenario("empty-directory");
    api.reset();
    QByteArray payload;
    QCOMPARE(exchange(before, frame(1), &payload, 99), -ENODEV); // the old instrument's handle is dead
    QCOMPARE(api.close(before), 0);

    usb_dev_handle *empty = openInstrument();
    QVERIFY(empty);
    QCOMPARE(countImpacts(empty), 0u);
    QCOMPARE(api.close(empty), 0);

    setScenario("", "", "12");
    api.reset();
    usb_dev_handle *twelve = openInstrument();
    QVERIFY(twelve);
    QCOMPARE(countImpacts(twelve), 12u);
    QCOMPARE(api.close(twelve), 0);
}

void TestSimLibusb::timingModelSleeps()
{
    setScenario("", "fullspeed");
    api.reset();
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    QElapsedTimer clock;
    clock.start();
    QByteArray payload;
    for (int i = 0; i < 10; ++i)
        QCOMPARE(exchange(handle, frame(3) + char(i) + '\0', &payload, 2196), 2196);
    QCOMPARE(api.modelledMilliseconds(), 40.0);
    QVERIFY2(clock.elapsed() >= 40, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::timeOutSleepsInTheTimingModel()
{
    setScenario("timeout-on=1", "fullspeed");
    api.reset();
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    QElapsedTimer clock;
    clock.start();
    QByteArray payload;
    QCOMPARE(api.bulkWrite(handle, 0x01, "\1\xFE", 2, 500), 2);
    char length[4];
    QCOMPARE(api.bulkRead(handle, 0x82, length, 4, 60), -110);
    QVERIFY(clock.elapsed() >= 60);
    QCOMPARE(api.modelledMilliseconds(), 1.0); // the command's frame; waiting is no bus time
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::workerThreadWhileTheTestThreadAsks()
{
    setScenario("", "", "60");
    api.reset();
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    std::atomic<int> good{0};
    std::thread worker([&] {
        QByteArray payload;
        for (int i = 0; i < 60; ++i)
            good += exchange(handle, frame(3) + char(i) + '\0', &payload, 2196) == 2196;
    });
    for (int i = 0; i < 200; ++i)
        QCOMPARE(api.modelledMilliseconds(), 0.0);
    worker.join();
    QCOMPARE(good.load(), 60);
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::everyOpenClaimsAgain()
{
    const char command[] = "\3\xFC\0\0";
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    QCOMPARE(api.bulkWrite(handle, 0x01, command, 4, 500), 4);
    QCOMPARE(api.close(handle), 0);

    // A new handle carries nothing until it has claimed the interface itself;
    // the configuration is the device's and stays set.
    handle = api.open(api.getBusses()->devices);
    QVERIFY(handle);
    errno = 0;
    QCOMPARE(api.bulkWrite(handle, 0x01, command, 4, 500), -ENOENT);
    QCOMPARE(errno, ENOENT);
    QCOMPARE(api.claimInterface(handle, 0), 0);
    QCOMPARE(api.bulkWrite(handle, 0x01, command, 4, 500), 4);
    QCOMPARE(api.close(handle), 0);
}

void TestSimLibusb::aTestClockStandsInForTheBusClock()
{
    FakeClock clock;
    api.useClock([](void *context) -> long long { return static_cast<FakeClock *>(context)->nowMs(); },
                 [](void *context, long long ms) { static_cast<FakeClock *>(context)->sleepMs(int(ms)); }, &clock);
    usb_dev_handle *handle = openInstrument();
    QVERIFY(handle);
    char buffer[1000];
    // Nothing to read: the read waits out its time-out, on the test's clock.
    QCOMPARE(api.bulkRead(handle, 0x82, buffer, 1000, 500), -110);
    // The version is ready 50 ms after its command; a read at once waits for it.
    QCOMPARE(api.bulkWrite(handle, 0x01, "\1\xFE", 2, 500), 2);
    QCOMPARE(api.bulkRead(handle, 0x82, buffer, 4, 500), 4);
    QCOMPARE(clock.pauses(), (QList<int>{500, 50}));
    QCOMPARE(clock.nowMs(), 550);
    QCOMPARE(api.close(handle), 0);
}

QTEST_GUILESS_MAIN(TestSimLibusb)
#include "tst_sim_libusb.moc"
