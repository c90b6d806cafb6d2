// kvt10-sim --pipes DIR as the program's driver-pipe backend meets it: FIFOs
// opened the program's way, commands written in any split, replies read as a
// byte stream.

#include "store/measurement_store.h"
#include "files/kvt_file.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QByteArray frame(quint8 code)
{
    // Not QByteArray{a, b}: that is QByteArray(count, character).
    const char bytes[2] = {char(code), char(0xFF - code)};
    return QByteArray(bytes, 2);
}

QByteArray littleEndian32(quint32 value)
{
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    return QByteArray(bytes, 4);
}

bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// The program's end of the two FIFOs.
class ProgramSide {
public:
    explicit ProgramSide(const QString &folder)
    {
        replies = ::open(QFile::encodeName(folder + "/Pipe01").constData(), O_RDWR);
        commands = ::open(QFile::encodeName(folder + "/Pipe00").constData(), O_WRONLY | O_NONBLOCK);
        if (commands >= 0)
            ::fcntl(commands, F_SETFL, ::fcntl(commands, F_GETFL) & ~O_NONBLOCK);
    }
    ~ProgramSide()
    {
        if (replies >= 0)
            ::close(replies);
        if (commands >= 0)
            ::close(commands);
    }
    bool isOpen() const { return replies >= 0 && commands >= 0; }

    bool write(const QByteArray &bytes) { return ::write(commands, bytes.constData(), size_t(bytes.size())) == bytes.size(); }

    // Exactly n bytes, or what came before the time limit.
    QByteArray read(int n, int limitMs = 5000)
    {
        QByteArray bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (bytes.size() < n && std::chrono::steady_clock::now() < end) {
            pollfd ready{replies, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(replies, buffer, size_t(std::min<qsizetype>(n - bytes.size(), 4096)));
            if (got > 0)
                bytes.append(buffer, got);
        }
        return bytes;
    }

    QByteArray exchange(const QByteArray &command)
    {
        if (!write(command))
            return {};
        const QByteArray length = read(4);
        if (length.size() != 4)
            return {};
        const quint32 n = quint8(length[0]) | quint8(length[1]) << 8 | quint8(length[2]) << 16 | quint32(quint8(length[3])) << 24;
        return read(int(n));
    }

private:
    int replies = -1;
    int commands = -1;
};

} // namespace

class TestSimPipes : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void exchanges_data();
    void exchanges();
    void commandWrites_data();
    void commandWrites();
    void nameListWriteReadsBack_data();
    void nameListWriteReadsBack();
    void reopeningThePipes();
    void stopRemovesThePipes_data();
    void stopRemovesThePipes();
    void unplugAndReplugOverPipes();
    void badUsage_data();
    void badUsage();
    void saveWritesTheImpacts();
    void unknownSettingsAreReported();

private:
    // Strict, as the test suite has it, unless a case says not.
    bool startSimulator(const QString &faults = {}, bool strict = true);

    QTemporaryDir dir;
    QProcess simulator;
};

void TestSimPipes::init()
{
    QVERIFY(dir.isValid());
}

void TestSimPipes::cleanup()
{
    if (simulator.state() != QProcess::NotRunning) {
        simulator.terminate();
        simulator.waitForFinished(5000);
    }
}

bool TestSimPipes::startSimulator(const QString &faults, bool strict)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KVT10_SIM_FAULTS", faults);
    environment.insert("KVT10_SIM_STRICT", strict ? "1" : "0");
    environment.remove("KVT10_SIM_DATA");
    environment.remove("KVT10_SIM_IMPACTS");
    environment.remove("KVT10_SIM_TIMING");
    simulator.setProcessEnvironment(environment);
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(KVT10_SIM_PROGRAM, {"--pipes", dir.path()});
    // The line comes once both FIFOs are open on the simulator's side.
    return simulator.waitForStarted() && simulator.waitForReadyRead(10000)
        && simulator.readLine().startsWith("kvt10-sim: serving");
}

void TestSimPipes::exchanges_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("length");
    QTest::newRow("version, with its terminating 0") << frame(1) << 16;
    QTest::newRow("directory") << frame(2) << 14228;
    QTest::newRow("record") << frame(3) + QByteArray("\2\0", 2) << 2196;
    QTest::newRow("materials") << frame(5) << 260;
    QTest::newRow("objects") << frame(7) << 260;
    QTest::newRow("screen") << frame(9) << 1024;
}

void TestSimPipes::exchanges()
{
    QFETCH(QByteArray, command);
    QFETCH(int, length);
    QVERIFY(startSimulator());
    ProgramSide program(dir.path());
    QVERIFY(program.isOpen());
    QVERIFY(program.write(command));
    QCOMPARE(program.read(4), littleEndian32(quint32(length)));
    QCOMPARE(program.read(length).size(), length);
    QVERIFY(program.read(1, 200).isEmpty()); // nothing more
}

void TestSimPipes::commandWrites_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QList<QByteArray>>("writes"); // 50 ms apart
    QTest::addColumn<QList<int>>("replies");

    const QList<QByteArray> split{QByteArray("\1", 1), QByteArray("\xFE\x09\xF6", 3)};
    const QList<QByteArray> joined{frame(1) + frame(9)};
    QTest::newRow("a frame split across writes: dropped") << true << split << QList<int>{1024};
    QTest::newRow("lenient: a frame split across writes") << false << split << QList<int>{15, 1024};
    // A FIFO cannot tell them from two writes, but the second comes while the
    // version is still being made ready.
    QTest::newRow("two frames in one write: the second lost") << true << joined << QList<int>{16};
    QTest::newRow("lenient: two frames in one write") << false << joined << QList<int>{15, 1024};
}

void TestSimPipes::commandWrites()
{
    QFETCH(bool, strict);
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<int>, replies);
    QVERIFY(startSimulator({}, strict));
    ProgramSide program(dir.path());
    for (const QByteArray &write : writes) {
        QVERIFY(program.write(write));
        std::this_thread::sleep_for(50ms);
    }
    for (const int size : replies) {
        QCOMPARE(program.read(4), littleEndian32(quint32(size)));
        QCOMPARE(program.read(size).size(), size);
    }
    QVERIFY(program.read(1, 200).isEmpty()); // nothing more
}

void TestSimPipes::nameListWriteReadsBack_data()
{
    QTest::addColumn<int>("lengthAfterMs");
    QTest::addColumn<int>("pieceGapMs");
    QTest::addColumn<bool>("stored");
    QTest::newRow("the protocol's pauses") << 300 << 15 << true;
    QTest::newRow("no pauses: the instrument is not ready") << 0 << 0 << false;
}

void TestSimPipes::nameListWriteReadsBack()
{
    QFETCH(int, lengthAfterMs);
    QFETCH(int, pieceGapMs);
    QFETCH(bool, stored);
    QVERIFY(startSimulator());
    ProgramSide program(dir.path());
    QByteArray block(260, '\0');
    block[0] = 5;
    block.replace(1, 5, "Rocks");
    QVERIFY(program.write(frame(8)));
    std::this_thread::sleep_for(std::chrono::milliseconds(lengthAfterMs));
    QVERIFY(program.write(littleEndian32(260)));
    for (int at = 0; at < 260; at += 64) {
        QVERIFY(program.write(block.mid(at, 64)));
        std::this_thread::sleep_for(std::chrono::milliseconds(pieceGapMs));
    }
    std::this_thread::sleep_for(400ms); // past whatever it was still busy with
    QCOMPARE(program.exchange(frame(7)) == block, stored);
}

void TestSimPipes::reopeningThePipes()
{
    QVERIFY(startSimulator());
    for (int round = 0; round < 3; ++round) {
        ProgramSide program(dir.path());
        QVERIFY(program.isOpen());
        QCOMPARE(program.exchange(frame(1)), QByteArray("KVT-1.0 sim 1.0", 16));
    }
}

void TestSimPipes::stopRemovesThePipes_data()
{
    QTest::addColumn<bool>("interrupt");
    QTest::newRow("SIGTERM") << false;
    QTest::newRow("SIGINT") << true;
}

void TestSimPipes::stopRemovesThePipes()
{
    QFETCH(bool, interrupt);
    QVERIFY(startSimulator());
    QVERIFY(QFileInfo::exists(dir.filePath("Pipe00")) && QFileInfo::exists(dir.filePath("Pipe01")));
    ::kill(pid_t(simulator.processId()), interrupt ? SIGINT : SIGTERM);
    QVERIFY(simulator.waitForFinished(5000));
    QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(dir.filePath("Pipe00")));
    QVERIFY(!QFileInfo::exists(dir.filePath("Pipe01")));
}

void TestSimPipes::unplugAndReplugOverPipes()
{
    QVERIFY(startSimulator("unplug-after-records=1,replug-after-ms=300"));
    {
        ProgramSide program(dir.path());
        QCOMPARE(program.exchange(frame(3) + QByteArray(2, '\0')).size(), 2196);
    }
    const QString commands = dir.filePath("Pipe00");
    QVERIFY(waitFor([&] { return !QFileInfo::exists(commands); }, 2s));
    QVERIFY(waitFor([&] { return QFileInfo::exists(commands) && QFileInfo::exists(dir.filePath("Pipe01")); }, 5s));
    // Give the simulator a moment to open its ends after making the FIFOs.
    QVERIFY(waitFor([&] { return ProgramSide(dir.path()).isOpen(); }, 2s));
    ProgramSide program(dir.path());
    QCOMPARE(program.exchange(frame(3) + QByteArray("\1\0", 2)).size(), 2196);
}

void TestSimPipes::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no folder") << QStringList{"--pipes"};
    QTest::newRow("empty folder") << QStringList{"--pipes", ""};
    QTest::newRow("unknown option") << QStringList{"--usb", "x"};
}

void TestSimPipes::badUsage()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(KVT10_SIM_PROGRAM, arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("usage: kvt10-sim --pipes DIR"));
}

void TestSimPipes::saveWritesTheImpacts()
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KVT10_SIM_IMPACTS", "12");
    environment.remove("KVT10_SIM_DATA");
    process.setProcessEnvironment(environment);
    const QString path = dir.filePath("twelve.kvt");
    process.start(KVT10_SIM_PROGRAM, {"--save", path});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);

    auto store = std::make_unique<kvt::MeasurementStore>();
    QCOMPARE(kvt::loadKvtFile(path, *store), kvt::KvtLoadStatus::Loaded);
    QCOMPARE(store->impactCount(), 12u);
    QCOMPARE(store->seriesCount(), 3u);
}

void TestSimPipes::unknownSettingsAreReported()
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KVT10_SIM_FAULTS", "bogus,timeout-on=3,short-reply=x");
    environment.insert("KVT10_SIM_TIMING", "slow");
    process.setProcessEnvironment(environment);
    process.start(KVT10_SIM_PROGRAM, {"--save", dir.filePath("demo.kvt")});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0); // ignored, not fatal
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].contains("\"bogus\""));
    QVERIFY(lines[1].contains("\"short-reply=x\""));
    QVERIFY(lines[2].contains("KVT10_SIM_TIMING=slow"));
}

QTEST_GUILESS_MAIN(TestSimPipes)
#include "tst_sim_pipes.moc"
