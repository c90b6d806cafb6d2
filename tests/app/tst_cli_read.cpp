#include "device/libusb_error_text.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// kvt10-cli read against the simulated instrument, in real time.
class TestCliRead : public QObject {
    Q_OBJECT
private slots:
    void savesWhatTheInstrumentHolds();
    void noInstrument();
    void unplugOverPipes_data();
    void unplugOverPipes();
    void badUsage_data();
    void badUsage();

private:
    static QProcessEnvironment environment(const QString &libUsb);
    QTemporaryDir dir;
};

QProcessEnvironment TestCliRead::environment(const QString &libUsb)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KVT10_LIBUSB", libUsb);
    env.remove("KVT10_PIPE_DEVICE");
    env.remove("KVT10_SIM_FAULTS");
    env.remove("KVT10_SIM_DATA");
    env.insert("KVT10_SIM_IMPACTS", "37");
    return env;
}

void TestCliRead::savesWhatTheInstrumentHolds()
{
    const QString read = dir.filePath("read.kvt");
    const QString reference = dir.filePath("reference.kvt");

    QProcess cli;
    cli.setProcessEnvironment(environment(KVT10_SIM_LIBRARY));
    cli.start(KVT10_CLI, {"read", "-o", read, "--lang", "en"});
    QVERIFY(cli.waitForFinished(60000));
    const QString log = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY2(log.contains("Version Read\nKVT-1.0 sim"), qPrintable(log));
    QVERIFY(log.contains("\n5%\n7%\n10%\n"));
    QVERIFY(log.endsWith("Data Readed (37)\n"));

    QProcess simulator;
    simulator.setProcessEnvironment(environment(KVT10_SIM_LIBRARY));
    simulator.start(KVT10_SIM_PROGRAM, {"--save", reference});
    QVERIFY(simulator.waitForFinished(60000));
    QCOMPARE(simulator.exitCode(), 0);

    QFile first(read), second(reference);
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    const QByteArray bytes = first.readAll();
    QCOMPARE(bytes.size(), 16 + 37 * 2200);
    QVERIFY(bytes == second.readAll());
}

void TestCliRead::noInstrument()
{
    QProcess cli;
    cli.setProcessEnvironment(environment("/nonexistent/libusb.so"));
    cli.start(KVT10_CLI, {"read", "-o", dir.filePath("none.kvt"), "--timeout", "1"});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY(QString::fromUtf8(cli.readAllStandardError()).contains(QString::fromUtf16(kvt::NotConnectedMessage)));
    QVERIFY(!QFile::exists(dir.filePath("none.kvt")));
}

void TestCliRead::unplugOverPipes_data()
{
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("plugged in again") << "unplug-after-records=2,replug-after-ms=300" << 0;
    QTest::newRow("gone") << "unplug-after-records=2" << 1;
}

void TestCliRead::unplugOverPipes()
{
    // The instrument leaves while its records are read over its own pipes:
    // a link error and a new search, never a signal that ends the tool.
    QFETCH(QString, faults);
    QFETCH(int, exitCode);
    QProcessEnvironment env = environment("/nonexistent/libusb.so");
    env.insert("KVT10_SIM_IMPACTS", "20");
    env.insert("KVT10_SIM_FAULTS", faults);
    const QString pipes = dir.filePath("pipes-" + QString::number(exitCode));
    QProcess simulator;
    simulator.setProcessEnvironment(env);
    simulator.start(KVT10_SIM_PROGRAM, {"--pipes", pipes});
    QTRY_VERIFY(QFile::exists(pipes + "/Pipe01"));

    const QString read = dir.filePath("unplugged.kvt");
    QFile::remove(read);
    env.insert("KVT10_PIPE_DEVICE", pipes);
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(KVT10_CLI, {"read", "-o", read, "--timeout", "3"});
    QVERIFY(cli.waitForFinished(60000));
    const QString log = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), exitCode);
    QVERIFY2(log.contains("14%\nLink Error\n"), qPrintable(log));
    QCOMPARE(QFileInfo(read).size(), exitCode == 0 ? 16 + 20 * 2200 : 0);
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
}

void TestCliRead::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no output") << QStringList{"read"};
    QTest::newRow("timeout not a number") << QStringList{"read", "-o", "x.kvt", "--timeout", "soon"};
    QTest::newRow("timeout of 0") << QStringList{"read", "-o", "x.kvt", "--timeout", "0"};
    QTest::newRow("unknown option") << QStringList{"read", "-o", "x.kvt", "--fast"};
}

void TestCliRead::badUsage()
{
    QFETCH(QStringList, arguments);
    QProcess cli;
    cli.start(KVT10_CLI, arguments);
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 2);
}

QTEST_GUILESS_MAIN(TestCliRead)
#include "tst_cli_read.moc"
