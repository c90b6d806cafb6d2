#include "files/kvt_file.h"
#include "store_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// kvt10-cli export: the window's exports without a dialog.
class TestCliExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void exports_data();
    void exports();
    void failures_data();
    void failures();

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

    QTest::newRow("series past the last") << QStringList{"--series", "3", "--curve", "a", "--format", "wav", "-o", "x"}
                                          << 2;
    QTest::newRow("impact past the series") << QStringList{"--series", "1", "--impact", "3", "--curve", "a",
                                                           "--format", "wav", "-o", "x"}
                                            << 2;
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

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cli_export.moc"
