#include "device/device_worker.h"
#include "device/link_requests.h"
#include "inline_worker.h"
#include "device/libusb_error_text.h"
#include "store/table_texts.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <QTest>

#include <memory>

using namespace kvt;
using namespace kvt::testing;

// The FIFO server stands in for the driver's pipe files where the pipe
// backend opens FIFOs; elsewhere the build names none.
#define SKIP_WITHOUT_PIPE_SIMULATOR()                                                                                  \
    if (QStringLiteral(KVT10_SIM_PROGRAM).isEmpty())                                                                  \
    QSKIP("no simulated instrument on pipe files on this system")

Q_DECLARE_METATYPE(kvt::Language)


class TestDeviceWorker : public QObject {
    Q_OBJECT
private slots:
    void init();

    void fullRead_data();
    void fullRead();
    void directoryWithoutImpacts();
    void unplugDuringRecords_data();
    void unplugDuringRecords();
    void readRequestWhileReadingDoesNothing();
    void writeRequestWhileUnplugged();
    void shortReplyKeepsTheRest_data();
    void shortReplyKeepsTheRest();
    void openingAFileStopsTheSearch();
    void fileOpenLeavesDialogRequests_data();
    void fileOpenLeavesDialogRequests();
    void fileOpenedDuringTheRecords();
    void noInstrumentNoLibUsb();
    void terminateEndsTheLoop();

private:
    // Passes until the state is the one wanted, at most a bound of passes.
    bool runUntil(quint8 state, int passes = 20000);
    // The bytes a name list or screen request leaves in its destination, which
    // held `before` when the request was posted.
    QByteArray requestInto(LinkState request, unsigned char before);

    LinkShared shared;
    RecordingDisplay display;
    InlineHost host;
    std::unique_ptr<DeviceWorker> worker;
};

void TestDeviceWorker::init()
{
    shared.linkState = StateStartup;
    shared.deviceDataRead = false;
    display = RecordingDisplay();
    host.stop = false;
    host.fakeClock.clearPauses();
    qunsetenv("KVT10_PIPE_DEVICE");
    worker.reset();
    simulatorRunsOn(host.fakeClock);
    resetSimulator({}, "37");
    worker = std::make_unique<DeviceWorker>(shared, display, QStringLiteral(KVT10_SIM_LIBRARY));
}

bool TestDeviceWorker::runUntil(quint8 state, int passes)
{
    for (int i = 0; i < passes; ++i) {
        worker->pass(host);
        if (shared.linkState == state)
            return true;
    }
    return false;
}

void TestDeviceWorker::fullRead_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("finalStatus");

    QTest::newRow("English") << Language::English << "Data Readed (37)";
    QTest::newRow("Russian") << Language::Russian << "Данные считаны (37)";
}

void TestDeviceWorker::fullRead()
{
    QFETCH(Language, language);
    QFETCH(QString, finalStatus);
    display.lang = language;

    QVERIFY2(runUntil(StateIdle), qPrintable(display.statuses.join('|') + display.deviceTexts.join('|')));
    QCOMPARE(display.finishedReads, 1);
    QCOMPARE(display.store->impactCount(), 37u);
    QVERIFY(shared.deviceDataRead);
    QCOMPARE(display.statuses.back(), finalStatus);
    QVERIFY(display.deviceTexts.front().startsWith("KVT-1.0"));
    QCOMPARE(display.colors.front(), LinkColor::Green);
    QCOMPARE(display.colors.back(), LinkColor::ButtonFace);
    // The bar shows 0, then 5, 7, 10, … for each record, then hides.
    QCOMPARE(display.progress.mid(0, 4), (QList<int>{0, 5, 7, 10}));
    QCOMPARE(display.progress.size(), 1 + 37 + 1);
    QCOMPARE(display.progress.back(), -1);
    // The pauses: the link opened, the version's own, the version read, the directory's own.
    QCOMPARE(host.fakeClock.pauses().mid(0, 4), (QList<int>{300, 80, 300, 50}));
}

void TestDeviceWorker::directoryWithoutImpacts()
{
    resetSimulator("empty-directory");
    QVERIFY(runUntil(StateIdle));
    QCOMPARE(display.finishedReads, 1);
    QCOMPARE(display.store->impactCount(), 0u);
    QVERIFY(display.statuses.contains("No Data"));
    QCOMPARE(display.progress.back(), -1);
    QCOMPARE(display.colors.back(), LinkColor::ButtonFace);
}

void TestDeviceWorker::unplugDuringRecords_data()
{
    QTest::addColumn<bool>("pipes");
    QTest::newRow("libusb") << false;
    QTest::newRow("pipes") << true;
}

void TestDeviceWorker::unplugDuringRecords()
{
    QFETCH(bool, pipes);
    const QByteArray faults = "unplug-after-records=10,replug-after-ms=300";
    QTemporaryDir pipeFolder;
    QProcess server;
    if (pipes) {
        SKIP_WITHOUT_PIPE_SIMULATOR();
        // The instrument on its own pipes alone; nobody here ignores SIGPIPE,
        // so a write into the pipe it left behind must not raise one.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KVT10_SIM_FAULTS", faults);
        env.insert("KVT10_SIM_IMPACTS", "37");
        server.setProcessEnvironment(env);
        server.start(QStringLiteral(KVT10_SIM_PROGRAM), {"--pipes", pipeFolder.path()});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pipeFolder.filePath("Pipe01")), 10000);
        qputenv("KVT10_PIPE_DEVICE", pipeFolder.path().toLocal8Bit());
        worker = std::make_unique<DeviceWorker>(shared, display, QStringLiteral("/nonexistent/libusb.so"));
    } else {
        resetSimulator(faults, "37");
    }
    QVERIFY(runUntil(StateReadImpacts));
    worker->pass(host); // the records: the eleventh fails
    QCOMPARE(shared.linkState.load(), quint8(StateSearch));
    QVERIFY(display.statuses.contains("Link Error"));
    QVERIFY(display.colors.contains(LinkColor::Red));
    QCOMPARE(display.finishedReads, 0); // nothing half read reaches the window

    // After the replug (new pipe files, a new device) everything is read
    // again from record 0.
    QTest::qWait(400);
    display.progress.clear();
    QVERIFY2(runUntil(StateIdle), qPrintable(display.statuses.join('|')));
    QCOMPARE(display.finishedReads, 1);
    QCOMPARE(display.store->impactCount(), 37u);
    QCOMPARE(display.progress.mid(0, 2), (QList<int>{0, 5}));
    if (pipes) {
        server.terminate();
        QVERIFY(server.waitForFinished(5000));
    }
}

void TestDeviceWorker::readRequestWhileReadingDoesNothing()
{
    QVERIFY(runUntil(StateReadImpacts));
    QVERIFY(!requestInstrumentRead(shared));
    QCOMPARE(shared.linkState.load(), quint8(StateReadImpacts));
    QVERIFY(runUntil(StateIdle));
    QCOMPARE(display.finishedReads, 1);

    // Idle: the command reads the instrument again, as a new read.
    QVERIFY(requestInstrumentRead(shared));
    QVERIFY(!shared.deviceDataRead);
    QVERIFY(runUntil(StateIdle));
    QCOMPARE(display.finishedReads, 2);
}

void TestDeviceWorker::writeRequestWhileUnplugged()
{
    // The instrument on its pipes, found before libusb and read whole.
    SKIP_WITHOUT_PIPE_SIMULATOR();
    QTemporaryDir pipeFolder;
    QProcess server;
    server.start(QStringLiteral(KVT10_SIM_PROGRAM), {"--pipes", pipeFolder.path()});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pipeFolder.filePath("Pipe01")), 10000);
    qputenv("KVT10_PIPE_DEVICE", pipeFolder.path().toLocal8Bit());
    QVERIFY(runUntil(StateIdle));
    QCOMPARE(worker->activeTransport(), TransportKind::Pipes);
    QVERIFY(shared.deviceDataRead);

    // Unplugged, then a name list write: Check Connection and black on every pass.
    server.terminate();
    QVERIFY(server.waitForFinished(5000));
    display.statuses.clear();
    display.colors.clear();
    shared.objectNamesBuffer.fill(0x41);
    shared.linkState = StateWriteObjects;
    for (int i = 0; i < 3; ++i)
        worker->pass(host);
    QCOMPARE(display.statuses, QStringList(3, "Check Connection"));
    QCOMPARE(display.colors, QList<LinkColor>(3, LinkColor::Black));
    QCOMPARE(shared.linkState.load(), quint8(StateWriteObjects));

    // Its requester gives up: the worker stays idle and the text stays.
    shared.linkState = StateIdle;
    worker->pass(host);
    QCOMPARE(display.statuses.size(), 3);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
}

QByteArray TestDeviceWorker::requestInto(LinkState request, unsigned char before)
{
    ScreenBlock viewer;
    viewer.fill(before);
    NameListBlock &table = request == StateReadMaterials ? shared.materialNamesBuffer : shared.objectNamesBuffer;
    table.fill(before);
    const std::optional<quint32> serial =
        request == StateReadScreen ? postScreenRequest(shared, viewer) : postRequest(shared, request);
    if (!serial || !runUntil(StateIdle) || !requestServed(shared, *serial))
        return {};
    const auto bytes = [](const auto &block) {
        return QByteArray(reinterpret_cast<const char *>(block.data()), qsizetype(block.size()));
    };
    return request == StateReadScreen ? bytes(viewer) : bytes(table);
}

void TestDeviceWorker::shortReplyKeepsTheRest_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QByteArray>("fault");

    QTest::newRow("material list") << int(StateReadMaterials) << QByteArray("short-reply=5");
    QTest::newRow("object list") << int(StateReadObjects) << QByteArray("short-reply=7");
    QTest::newRow("screen") << int(StateReadScreen) << QByteArray("short-reply=9");
}

void TestDeviceWorker::shortReplyKeepsTheRest()
{
    // The instrument cuts the reply to half the length it announced: the half
    // that arrived lands at the start, the rest of the destination keeps what
    // it held.
    QFETCH(int, request);
    QFETCH(QByteArray, fault);
    QVERIFY(runUntil(StateIdle));
    const QByteArray whole = requestInto(LinkState(request), 0x41);
    QVERIFY(!whole.isEmpty());

    resetSimulator(fault, "37");
    const QByteArray cut = requestInto(LinkState(request), 0x41);
    const qsizetype half = whole.size() / 2;
    QCOMPARE(cut.size(), whole.size());
    QCOMPARE(cut.left(half), whole.left(half));
    QCOMPARE(cut.mid(half), QByteArray(whole.size() - half, '\x41'));
    QVERIFY(whole.mid(half) != cut.mid(half)); // the instrument sends more than the fill
}

void TestDeviceWorker::openingAFileStopsTheSearch()
{
    resetSimulator("unplug-after-records=0");
    shared.linkState = StateSearch;
    worker->pass(host); // startup is skipped: libusb not loaded, only pipes
    abandonInstrumentRead(shared); // a measurement file was opened
    const int shown = int(display.statuses.size());
    worker->pass(host);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QCOMPARE(int(display.statuses.size()), shown);
}

void TestDeviceWorker::fileOpenLeavesDialogRequests_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("startup") << int(StateStartup) << int(StateIdle);
    QTest::newRow("search") << int(StateSearch) << int(StateIdle);
    QTest::newRow("version") << int(StateReadVersion) << int(StateIdle);
    QTest::newRow("directory") << int(StateReadDirectory) << int(StateIdle);
    QTest::newRow("records") << int(StateReadImpacts) << int(StateIdle);
    QTest::newRow("hand-over") << int(StateFinishRead) << int(StateIdle);
    QTest::newRow("idle") << int(StateIdle) << int(StateIdle);
    QTest::newRow("material list read") << int(StateReadMaterials) << int(StateReadMaterials);
    QTest::newRow("object list written") << int(StateWriteObjects) << int(StateWriteObjects);
    QTest::newRow("screen") << int(StateReadScreen) << int(StateReadScreen);
}

void TestDeviceWorker::fileOpenLeavesDialogRequests()
{
    QFETCH(int, before);
    QFETCH(int, after);
    shared.linkState = quint8(before);
    abandonInstrumentRead(shared);
    QCOMPARE(int(shared.linkState.load()), after);
}

void TestDeviceWorker::fileOpenedDuringTheRecords()
{
    // The window opens a file while the records are read (its event loop runs
    // between them): the read is dropped and the file's data stay.
    display.onProgress = [this](int position) {
        if (position >= 30)
            abandonInstrumentRead(shared);
    };
    QVERIFY(!runUntil(StateFinishRead, 200));
    QCOMPARE(display.finishedReads, 0);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(!shared.deviceDataRead);
    QCOMPARE(display.progress.back(), -1);
}

void TestDeviceWorker::noInstrumentNoLibUsb()
{
    worker = std::make_unique<DeviceWorker>(shared, display, QStringLiteral("/nonexistent/libusb.so"));
    for (int i = 0; i < 5; ++i)
        worker->pass(host);
    QCOMPARE(worker->activeTransport(), TransportKind::None);
    QCOMPARE(shared.linkState.load(), quint8(StateSearch));
    QVERIFY(display.statuses.isEmpty()); // panel 1 keeps its first text
    QVERIFY(display.colors.isEmpty());   // the indicator keeps its colour
}

void TestDeviceWorker::terminateEndsTheLoop()
{
    host.stop = true;
    worker->LMThreadUSBExecute(host);
    QCOMPARE(host.fakeClock.pauses(), QList<int>{1000});
    QCOMPARE(display.finishedReads, 0);
}

QTEST_GUILESS_MAIN(TestDeviceWorker)
#include "tst_device_worker.moc"
