#include "files/kvt_file.h"
#include "cli_run.h"
#include "store_fixture.h"
#include "test_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// kvt10-cli export: the window's exports without a dialog.
class TestCliExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void exports_data();
    void exports();
    void failures_data();
    void failures();
    void failuresOfTheFile_data();
    void failuresOfTheFile();

private:
    int run(const QStringList &arguments, QByteArray *error = nullptr);
    QTemporaryDir dir;
    QString sample;
};

void TestCliExport::initTestCase()
{
    auto store = std::make_unique<kvt::MeasurementStore>();
    kvt::testing::fillStoreWithSeries(*store, {2, 3});
    sample = dir.filePath("sample.kvt");
    QCOMPARE(kvt::saveKvtFile(sample, *store), kvt::KvtSaveStatus::Saved);
}

int TestCliExport::run(const QStringList &arguments, QByteArray *error)
{
    QProcess cli;
    cli.start(KVT10_CLI, QStringList{"export", sample} + arguments);
    cli.waitForFinished(60000);
    if (error)
        *error = cli.readAllStandardError();
    return cli.exitCode();
}

void TestCliExport::exports_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files"); // written below the output
    QTest::addColumn<int>("size");           // of the first file; lines for CSV

    QTest::newRow("one WAV") << QStringList{"--series", "2", "--impact", "3", "--curve", "f", "--format", "wav"}
                             << QStringList{"out"} << 1068;
    QTest::newRow("all WAV, standard view") << QStringList{"--series", "2", "--curve", "all", "--format", "wav"}
                                            << QStringList{"out/Displacement_2_1.wav", "out/Force_2_1.wav"} << 1068;
    QTest::newRow("all WAV, full view")
        << QStringList{"--series", "1", "--curve", "all", "--format", "wav", "--full"}
        << QStringList{"out/Accelerate_1_1.wav", "out/Velocity_1_1.wav", "out/Displacement_1_1.wav", "out/Force_1_1.wav"}
        << 1068;
    QTest::newRow("one CSV") << QStringList{"--series", "1", "--curve", "s", "--format", "csv"} << QStringList{"out"}
                             << 518;
    QTest::newRow("all CSV, full view") << QStringList{"--series", "1", "--curve", "all", "--format", "csv", "--full"}
                                        << QStringList{"out"} << 523;
}

void TestCliExport::exports()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QFETCH(int, size);

    QFile::remove(dir.filePath("out")); // a file from a single export, or a folder of them
    QDir(dir.filePath("out")).removeRecursively();
    QCOMPARE(run(arguments + QStringList{"-o", dir.filePath("out")}), 0);
    for (const QString &file : files)
        QVERIFY2(QFileInfo(dir.filePath(file)).isFile(), qPrintable(file));
    if (files.size() > 1)
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), files.size());
    QFile first(dir.filePath(files[0]));
    QVERIFY(first.open(QIODevice::ReadOnly));
    const QByteArray bytes = first.readAll();
    QCOMPARE(arguments.contains("csv") ? int(bytes.count('\n')) : int(bytes.size()), size);
}

void TestCliExport::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("unknown curve") << QStringList{"--series", "1", "--curve", "q", "--format", "wav", "-o", "x"} << 2;
    QTest::newRow("no output") << QStringList{"--series", "1", "--curve", "a", "--format", "wav"} << 2;
    QTest::newRow("cannot write") << QStringList{"--series", "1", "--curve", "a", "--format", "wav", "-o",
                                                 "/nonexistent/dir/a.wav"}
                                  << 1;
}

void TestCliExport::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QByteArray error;
    QCOMPARE(run(arguments, &error), exitCode);
    QVERIFY(!error.isEmpty());
}

void TestCliExport::failuresOfTheFile_data()
{
    // The command is right; the file does not hold what it asks for.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    const QString out = dir.filePath("not-written.wav");
    const QStringList wav{"--curve", "a", "--format", "wav", "-o", out};
    const QString empty = kvt::testing::writeTestFile(dir.filePath("empty.kvt"), QByteArray("KVT-1.0\0\0\0\0\0\0\0\0\0", 16));
    QTest::newRow("empty file") << QStringList{"export", empty, "--series", "1"} + wav << QByteArray("No Data\n");
    QTest::newRow("empty file, Russian") << QStringList{"--lang", "ru", "export", empty, "--series", "1"} + wav
                                         << QByteArray("Данных нет\n");
    QTest::newRow("series past the last") << QStringList{"export", sample, "--series", "3"} + wav
                                          << QByteArray("No impact 1 of series 3 in the file\n");
    QTest::newRow("impact past the series") << QStringList{"export", sample, "--series", "1", "--impact", "3"} + wav
                                            << QByteArray("No impact 3 of series 1 in the file\n");
    QTest::newRow("impact past the series, Russian")
        << QStringList{"--lang", "ru", "export", sample, "--series", "1", "--impact", "3"} + wav
        << QByteArray("В файле нет удара 3 серии 1\n");
    // Never read: larger than a full instrument's file.
    const QString huge = kvt::testing::writeTestFile(dir.filePath("huge.kvt"),
                                                     QByteArray("KVT-1.0", 8) + QByteArray(kvt::KvtMaxFileSize - 7, '\0'));
    QTest::newRow("larger than any measurement file") << QStringList{"export", huge, "--series", "1"} + wav
                                                      << QByteArray("File is not readable or damaged: huge.kvt\n");
#ifdef Q_OS_UNIX
    // Reading it would wait for ever for a writer.
    const QString endless = dir.filePath("endless.kvt");
    if (!QFileInfo::exists(endless))
        QCOMPARE(::mkfifo(QFile::encodeName(endless).constData(), 0600), 0);
    QTest::newRow("FIFO") << QStringList{"export", endless, "--series", "1"} + wav
                          << QByteArray("File is not readable or damaged: endless.kvt\n");
#endif
}

void TestCliExport::failuresOfTheFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    const kvt::testing::CliRun run = kvt::testing::runCli(arguments);
    QCOMPARE(run.err, error);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFileInfo::exists(dir.filePath("not-written.wav")));
}

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cli_export.moc"
