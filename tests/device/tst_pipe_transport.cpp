#include "device/pipe_transport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <deque>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kvt;

namespace {

// The system side, scripted: each read delivers the next scripted count
// (0 delivers nothing), and every call is counted.
class FakePipeFiles final : public PipeFiles {
public:
    QStringList paths;
    std::deque<qint64> reads;
    int openError = 0;
    int opens = 0;
    int systemReads = 0;
    int systemWrites = 0;
    QStringList opened;

    QStringList devicePaths() override { return paths; }
    Handle openForReading(const QString &path, int &error) override { return open(path, error); }
    Handle openForWriting(const QString &path, int &error) override { return open(path, error); }
    void close(Handle) override {}
    qint64 read(Handle, void *bytes, qint64 count) override
    {
        ++systemReads;
        if (reads.empty())
            return -1;
        const qint64 got = qMin(count, reads.front());
        reads.pop_front();
        std::memset(bytes, 'r', size_t(qMax<qint64>(got, 0)));
        return got;
    }
    qint64 write(Handle, const void *, qint64 count) override
    {
        ++systemWrites;
        return count;
    }

private:
    Handle open(const QString &path, int &error)
    {
        ++opens;
        opened << path;
        error = openError;
        return openError ? InvalidHandle : Handle(opens);
    }
};

} // namespace

class TestPipeTransport : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void zeroLengthNeedsNoSystemCall();
    void notOpen();
    void openTwice();
    void openFailure();
    void fifosWithNobodyServing();
    void writeToAnInstrumentThatLeft();
};

void TestPipeTransport::reads_data()
{
    QTest::addColumn<QList<qint64>>("deliveries");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("systemReads");

    QTest::newRow("20 then 44") << QList<qint64>{20, 44} << int(PipeOk) << 2;
    QTest::newRow("all at once") << QList<qint64>{64} << int(PipeOk) << 1;
    QTest::newRow("20, then nothing") << QList<qint64>{20, 0} << int(PipeIoFailed) << 2;
    QTest::newRow("a failing read") << QList<qint64>{20, -1} << int(PipeIoFailed) << 2;
}

void TestPipeTransport::reads()
{
    QFETCH(QList<qint64>, deliveries);
    QFETCH(int, status);
    QFETCH(int, systemReads);

    FakePipeFiles files;
    files.reads.assign(deliveries.begin(), deliveries.end());
    PipeTransport pipes(files);
    QCOMPARE(pipes.openPipes("/dev/kvt"), quint16(0));
    char buffer[64];
    QCOMPARE(int(pipes.pipeRead(buffer, 64)), status);
    QCOMPARE(files.systemReads, systemReads);
    QCOMPARE(files.opened, (QStringList{"/dev/kvt/Pipe01", "/dev/kvt/Pipe00"}));
}

void TestPipeTransport::zeroLengthNeedsNoSystemCall()
{
    FakePipeFiles files;
    PipeTransport pipes(files);
    pipes.openPipes("/dev/kvt");
    char buffer[4];
    QCOMPARE(pipes.pipeRead(buffer, 0), quint16(PipeBadArgument));
    QCOMPARE(pipes.pipeWrite(buffer, 0), quint16(PipeBadArgument));
    QCOMPARE(pipes.pipeWrite(nullptr, 4), quint16(PipeBadArgument));
    QCOMPARE(files.systemReads + files.systemWrites, 0);
}

void TestPipeTransport::notOpen()
{
    FakePipeFiles files;
    PipeTransport pipes(files);
    char buffer[4];
    QCOMPARE(pipes.pipeRead(buffer, 4), quint16(PipeNotOpen));
    QCOMPARE(pipes.pipeWrite(buffer, 4), quint16(PipeNotOpen));
    QVERIFY(!pipes.read(buffer, 4));
}

void TestPipeTransport::openTwice()
{
    FakePipeFiles files;
    PipeTransport pipes(files);
    QCOMPARE(pipes.openPipes("/dev/a"), quint16(0));
    QCOMPARE(pipes.openPipes("/dev/b"), quint16(0));
    QCOMPARE(files.opens, 2); // the handles stay as they were
    pipes.closePipes();
    QVERIFY(!pipes.isOpen());
}

void TestPipeTransport::openFailure()
{
    FakePipeFiles files;
    files.openError = 0x12345; // cut to 16 bits
    PipeTransport pipes(files);
    QCOMPARE(pipes.openPipes("/dev/a"), quint16(0x2345));
    QVERIFY(!pipes.isOpen());
}

void TestPipeTransport::fifosWithNobodyServing()
{
    // Real FIFOs with no instrument behind them: the open fails at once
    // instead of hanging.
    QTemporaryDir dir;
    for (const char *name : {"Pipe00", "Pipe01"})
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
    PipeTransport pipes;
    QVERIFY(pipes.openPipes(dir.path()) != 0);
    QVERIFY(!pipes.isOpen());

    qputenv("KVT10_PIPE_DEVICE", dir.path().toLocal8Bit());
    QCOMPARE(pipes.findDevicePaths(), QStringList{dir.path()});
    qunsetenv("KVT10_PIPE_DEVICE");
    QCOMPARE(pipes.findDevicePaths(), QStringList());
}

void TestPipeTransport::writeToAnInstrumentThatLeft()
{
    // The instrument's end of the command FIFO closes (it was unplugged): the
    // write fails as an exchange does, and the SIGPIPE it raises neither ends
    // this process (which does not ignore the signal) nor stays pending.
    QTemporaryDir dir;
    for (const char *name : {"Pipe00", "Pipe01"})
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
    const int instrument = ::open(QFile::encodeName(dir.filePath("Pipe00")).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(instrument >= 0);
    PipeTransport pipes;
    QCOMPARE(pipes.openPipes(dir.path()), quint16(0));
    QCOMPARE(pipes.pipeWrite("\x01\xFE", 2), quint16(PipeOk));
    ::close(instrument);

    QCOMPARE(pipes.pipeWrite("\x01\xFE", 2), quint16(PipeIoFailed));
    sigset_t pending;
    sigpending(&pending);
    QCOMPARE(sigismember(&pending, SIGPIPE), 0);
    QVERIFY(!pipes.write("\x02\xFD", 2));
}

QTEST_GUILESS_MAIN(TestPipeTransport)
#include "tst_pipe_transport.moc"
