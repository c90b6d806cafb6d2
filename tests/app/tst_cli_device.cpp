#include "device/libusb_error_text.h"
#include "namelists/name_list_file.h"
#include "namelists/name_list_kind.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kvt;

// kvt10-cli names and screen against the simulated instrument, in real time.
class TestCliDevice : public QObject {
    Q_OBJECT
private slots:
    void init() { simulator.clear(); }
    void namesRoundTrip_data();
    void namesRoundTrip();
    void unreadableNameFile_data();
    void unreadableNameFile();
    void screen();
    void noInstrument_data();
    void noInstrument();
    void failedTransferIsNoSuccess();
    void longReadIsNoTimeOut();
    void badUsage_data();
    void badUsage();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run cli(const QStringList &arguments, const QString &libUsb = KVT10_SIM_LIBRARY, const QString &pipes = {});
    QTemporaryDir dir;
    QStringList simulator; // extra KVT10_SIM_* settings for the next runs
};

TestCliDevice::Run TestCliDevice::cli(const QStringList &arguments, const QString &libUsb, const QString &pipes)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KVT10_LIBUSB", libUsb);
    env.remove("KVT10_PIPE_DEVICE");
    if (!pipes.isEmpty())
        env.insert("KVT10_PIPE_DEVICE", pipes);
    env.remove("KVT10_SIM_FAULTS");
    env.remove("KVT10_SIM_DATA");
    env.insert("KVT10_SIM_IMPACTS", "4");
    for (const QString &setting : simulator)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(KVT10_CLI, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestCliDevice::namesRoundTrip_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("materials") << "materials";
    QTest::newRow("objects") << "objects";
}

void TestCliDevice::namesRoundTrip()
{
    QFETCH(QString, list);
    const NameListKind &kind = list == "materials" ? materialsKind() : objectsKind();

    // The instrument starts with the default Russian list.
    const Run read = cli({"names", "read", list});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out, defaultNames(kind, Language::Russian).join('\n') + '\n');
    QVERIFY2(read.err.endsWith("Param Readed\n"), qPrintable(read.err));

    const QString file = dir.filePath("list" + kind.extension);
    QCOMPARE(cli({"--lang", "ru", "names", "read", list, "-o", file}).exitCode, 0);
    QCOMPARE(readNameListFile(file, kind.fileSection).value_or(QStringList()),
             defaultNames(kind, Language::Russian));

    // Through one simulated instrument that outlives the tool's runs: what
    // one run writes, the next reads back.
    const QString pipes = dir.filePath("pipes-" + list);
    QProcess simulator;
    simulator.start(KVT10_SIM_PROGRAM, {"--pipes", pipes});
    QTRY_VERIFY(QFile::exists(pipes + "/Pipe01"));
    QStringList names = defaultNames(kind, Language::English);
    names[7] = QStringLiteral("Участок у моста №12");
    names[8] = QStringLiteral("TAB\there");
    QFile edited(file);
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write(nameListFileBytes({}, kind.fileSection, names));
    edited.close();
    const Run write = cli({"names", "write", list, file}, dir.filePath("no-libusb.so"), pipes);
    QVERIFY2(write.exitCode == 0, qPrintable(write.err));
    QVERIFY2(write.err.endsWith("Param Writed\n"), qPrintable(write.err));
    const Run back = cli({"names", "read", list}, dir.filePath("no-libusb.so"), pipes);
    QCOMPARE(back.exitCode, 0);
    // One name a line, a TAB in one a blank.
    QCOMPARE(back.out, QStringList(names).replaceInStrings("\t", " ").join('\n') + '\n');
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
}

void TestCliDevice::unreadableNameFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("another list's file") << "objects";
    QTest::newRow("larger than any name list") << "huge";
    QTest::newRow("a folder") << "folder";
#ifdef Q_OS_UNIX
    // Read as files, the first never ends and the second waits for a writer for ever.
    QTest::newRow("an endless device") << "/dev/zero";
    QTest::newRow("a FIFO") << "fifo";
#endif
}

void TestCliDevice::unreadableNameFile()
{
    QFETCH(QString, kind);
    QString file = dir.filePath(kind + ".mtkvt");
    if (kind == "objects" || kind == "huge") {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(kind == "objects" ? "[Objects Names]\nName00=a\n" : "[Materials Names]\nName00=a\n");
        if (kind == "huge")
            out.write(QByteArray(NameListFileMaxBytes, ';'));
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkpath(file));
#ifdef Q_OS_UNIX
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
#endif
    } else {
        file = kind;
    }
    const Run run = cli({"names", "write", "materials", file});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "File is not readable or damaged: " + file + "\n");
}

void TestCliDevice::screen()
{
    const QString bitmap = dir.filePath("screen.bmp");
    const Run run = cli({"screen", "-o", bitmap});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.endsWith("Screenshot reading...\nScreenshot readed\n"), qPrintable(run.err));
    const QImage image(bitmap, "BMP");
    QCOMPARE(image.size(), QSize(132, 68));
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(31, 44, 37));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(225, 234, 234));
}

void TestCliDevice::noInstrument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("names read") << QStringList{"names", "read", "objects"};
    const QString list = dir.filePath("objects.objkvt");
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly) || file.write("[Objects Names]\nName00=a\n") <= 0)
        qFatal("cannot write the name list");
    QTest::newRow("names write") << QStringList{"names", "write", "objects", list};
    QTest::newRow("screen") << QStringList{"screen", "-o", "unused.bmp"};
}

void TestCliDevice::noInstrument()
{
    QFETCH(QStringList, arguments);
    const Run run = cli(arguments + QStringList{"--timeout", "1"}, dir.filePath("no-libusb.so"));
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.endsWith(QString::fromUtf16(NotConnectedMessage) + '\n'), qPrintable(run.err));
    QVERIFY(!QFile::exists("unused.bmp"));
}

void TestCliDevice::failedTransferIsNoSuccess()
{
    // An instrument with no measurements that never answers the list command:
    // each failure sends the worker searching and back to idle, which is not
    // the list read.
    simulator << "KVT10_SIM_FAULTS=empty-directory,timeout-on=5";
    const Run run = cli({"names", "read", "materials", "--timeout", "3"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("Link Error"), qPrintable(run.err));
}

void TestCliDevice::longReadIsNoTimeOut()
{
    // The time limit does not count the measurements' read (1000 records
    // take about 4 s).
    simulator << "KVT10_SIM_IMPACTS=1000" << "KVT10_SIM_TIMING=fullspeed";
    const Run run = cli({"names", "read", "objects", "--timeout", "3"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.contains("Data Readed (1000)\nParam Readed\n"), qPrintable(run.err));
}

void TestCliDevice::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no list") << QStringList{"names", "read"};
    QTest::newRow("unknown list") << QStringList{"names", "read", "colours"};
    QTest::newRow("write without a file") << QStringList{"names", "write", "objects"};
    QTest::newRow("write with -o") << QStringList{"names", "write", "objects", "f", "-o", "g"};
    QTest::newRow("unknown direction") << QStringList{"names", "copy", "objects"};
    QTest::newRow("screen without -o") << QStringList{"screen"};
    QTest::newRow("no time-out") << QStringList{"screen", "-o", "x.bmp", "--timeout", "0"};
    QTest::newRow("a time-out beyond a day") << QStringList{"screen", "-o", "x.bmp", "--timeout", "86401"};
}

void TestCliDevice::badUsage()
{
    QFETCH(QStringList, arguments);
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.startsWith("usage: kvt10-cli"));
}

QTEST_GUILESS_MAIN(TestCliDevice)
#include "tst_cli_device.moc"
