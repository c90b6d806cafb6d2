#include "device/device_protocol.h"
#include "device/libusb_error_text.h"
#include "device/usb_transport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace kvt;

// The backend choice and whole reads against the simulated instrument, over
// libusb (the simulator loaded in its place) and over its FIFO pipes.
class TestBackendChoice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void libUsbReadsEverything();
    void pipesComeFirst();
    void pipesWithoutLibUsb();
    void nothingAtAll();
    void unplugAndReplugOverLibUsb();

private:
    void resetSimulator(const QByteArray &faults = {});
    bool startPipeServer();
    // Reads version, directory and every record; the number of impacts read.
    std::optional<quint32> readAll(UsbTransport &transport, MeasurementStore &store);

    QStringList messages;
    std::unique_ptr<QTemporaryDir> pipeFolder;
    std::unique_ptr<QProcess> pipeServer;
};

void TestBackendChoice::init()
{
    messages.clear();
    qunsetenv("KVT10_PIPE_DEVICE");
    resetSimulator();
}

void TestBackendChoice::cleanup()
{
    if (pipeServer) {
        pipeServer->terminate();
        pipeServer->waitForFinished(5000);
        pipeServer.reset();
    }
    qunsetenv("KVT10_SIM_FAULTS");
}

void TestBackendChoice::resetSimulator(const QByteArray &faults)
{
    qputenv("KVT10_SIM_FAULTS", faults);
    QLibrary simulator(QStringLiteral(KVT10_SIM_LIBRARY));
    auto reset = reinterpret_cast<void (*)()>(simulator.resolve("kvt10sim_reset"));
    QVERIFY(reset);
    reset();
}

bool TestBackendChoice::startPipeServer()
{
    pipeFolder = std::make_unique<QTemporaryDir>();
    pipeServer = std::make_unique<QProcess>();
    pipeServer->setProcessChannelMode(QProcess::ForwardedChannels);
    pipeServer->start(QStringLiteral(KVT10_SIM_PROGRAM), {"--pipes", pipeFolder->path()});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(pipeFolder->filePath("Pipe01")) && waited.elapsed() < 10000)
        QThread::msleep(20);
    qputenv("KVT10_PIPE_DEVICE", pipeFolder->path().toLocal8Bit());
    return QFile::exists(pipeFolder->filePath("Pipe01"));
}

std::optional<quint32> TestBackendChoice::readAll(UsbTransport &transport, MeasurementStore &store)
{
    FakeClock clock;
    ByteLink *link = transport.link();
    if (!link)
        return std::nullopt;
    DeviceProtocol protocol(*link, transport.activeTransport(), clock);
    const auto version = protocol.readVersion();
    if (!version || version->isEmpty() || !protocol.readDirectory(store))
        return std::nullopt;
    store.countDirectoryImpacts();
    for (quint32 i = 0; i < store.impactCount(); ++i)
        if (!protocol.readImpact(store, i))
            return std::nullopt;
    store.rebuildSeriesIndex();
    return store.impactCount();
}

void TestBackendChoice::libUsbReadsEverything()
{
    PipeTransport pipes;
    LibUsbTransport libUsb([this](const QString &text) { messages << text; }, KVT10_SIM_LIBRARY);
    UsbTransport transport(pipes, libUsb);
    transport.start();
    QCOMPARE(transport.activeTransport(), TransportKind::LibUsb);
    QVERIFY(transport.search(Language::English));

    auto store = std::make_unique<MeasurementStore>();
    const auto count = readAll(transport, *store);
    QVERIFY(count && *count > 0);
    QVERIFY(store->seriesCount() > 1);
    QCOMPARE(store->record(0).seriesNumber(), store->record(store->seriesStart(1) - 1).seriesNumber());
    QVERIFY(messages.isEmpty());

    // Nothing changed on the bus: the next search keeps the open handle.
    QVERIFY(transport.search(Language::English));
    transport.closeLink();
    QVERIFY(!libUsb.hasDevice());
}

void TestBackendChoice::pipesComeFirst()
{
    QVERIFY(startPipeServer());
    PipeTransport pipes;
    LibUsbTransport libUsb([this](const QString &text) { messages << text; }, KVT10_SIM_LIBRARY);
    UsbTransport transport(pipes, libUsb);
    transport.start();
    QVERIFY(transport.search(Language::English));
    QCOMPARE(transport.activeTransport(), TransportKind::Pipes);
    QVERIFY(!libUsb.hasDevice());

    auto store = std::make_unique<MeasurementStore>();
    QVERIFY(readAll(transport, *store).value_or(0) > 0);

    // Once the pipes have worked they stay the choice, even with them gone.
    transport.closeLink();
    cleanup();
    QVERIFY(!transport.search(Language::English));
    QCOMPARE(transport.activeTransport(), TransportKind::Pipes);
    QVERIFY(!libUsb.hasDevice());
}

void TestBackendChoice::pipesWithoutLibUsb()
{
    QVERIFY(startPipeServer());
    PipeTransport pipes;
    LibUsbTransport libUsb([](const QString &) {}, "/nonexistent/libusb.so");
    UsbTransport transport(pipes, libUsb);
    transport.start();
    QCOMPARE(transport.activeTransport(), TransportKind::None);
    QVERIFY(transport.search(Language::English));
    QCOMPARE(transport.activeTransport(), TransportKind::Pipes);
    auto store = std::make_unique<MeasurementStore>();
    QVERIFY(readAll(transport, *store).value_or(0) > 0);
}

void TestBackendChoice::nothingAtAll()
{
    PipeTransport pipes;
    LibUsbTransport libUsb([this](const QString &text) { messages << text; }, "/nonexistent/libusb.so");
    UsbTransport transport(pipes, libUsb);
    transport.start();
    QVERIFY(!transport.search(Language::English));
    QCOMPARE(transport.activeTransport(), TransportKind::None);
    QVERIFY(!transport.link()); // an exchange counts as failed
    QVERIFY(messages.isEmpty()); // without libusb nothing is shown
}

void TestBackendChoice::unplugAndReplugOverLibUsb()
{
    resetSimulator("unplug-after-records=2,replug-after-ms=200");
    PipeTransport pipes;
    LibUsbTransport libUsb([this](const QString &text) { messages << text; }, KVT10_SIM_LIBRARY);
    UsbTransport transport(pipes, libUsb);
    transport.start();
    QVERIFY(transport.search(Language::English));
    auto store = std::make_unique<MeasurementStore>();
    QVERIFY(!readAll(transport, *store)); // the third record fails

    // Unplugged: not found, said so, no handle kept.
    QVERIFY(!transport.search(Language::English));
    QCOMPARE(messages.back(), QString::fromUtf16(NotConnectedMessage));
    QVERIFY(!libUsb.hasDevice());

    QThread::msleep(300);
    QVERIFY(transport.search(Language::English));
    QVERIFY(readAll(transport, *store).value_or(0) > 2);
}

QTEST_GUILESS_MAIN(TestBackendChoice)
#include "tst_backend_choice.moc"
