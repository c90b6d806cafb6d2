#include "store/short_name20.h"
#include "files/kvt_file.h"
#include "store_fixture.h"
#include "cli_run.h"
#include "test_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <memory>

using namespace kvt;

using kvt::testing::runCli;

class TestCliInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printsTable_data();
    void printsTable();
    void failures_data();
    void failures();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir dir;
    QString sample;
};

QString TestCliInfo::write(const QString &name, const QByteArray &bytes)
{
    return kvt::testing::writeTestFile(dir.filePath(name), bytes);
}

void TestCliInfo::initTestCase()
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWithSeries(*store, {2, 3});
    for (quint32 p = 2; p < 5; ++p)
        store->records()[p].setImpactId(17, p - 1);
    writeShortName20(store->records()[2].nameField(ImpactRecord::ObjectName), QString::fromUtf8("Дорога"));
    store->records()[3].setFloatAt(ImpactRecord::DynModulus, std::numeric_limits<float>::quiet_NaN());
    sample = write("sample.kvt", kvt::encodeKvt(*store));
}

void TestCliInfo::printsTable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output");

    const QByteArray table = "1/2\t06.11.13\t14:07:45\t81,5\t41,5\tПесок\tRoad 7\n"
                             "17/3\t06.11.13\t14:07:45\tNAN\t42\tПесок\tДорога\n";
    QTest::newRow("series table, default language") << QStringList{"info", sample} << table;
    QTest::newRow("series table, Russian, language first") << QStringList{"--lang", "ru", "info", sample} << table;
    QTest::newRow("empty file prints nothing")
        << QStringList{"info", write("empty.kvt", QByteArray("KVT-1.0\0\0\0\0\0\0\0\0\0", 16))} << QByteArray();
    QTest::newRow("impact table, English") << QStringList{"info", sample, "--series", "2"}
                             << QByteArray("06.11.2013, 14:07:45\t1-st impact\t2-st impact\t3-st impact\n"
                                           "Din.modulus, MPa\t81,0\tNAN\t83,0\n"
                                           "Stat.modulus, MPa\t41,0\t42,0\t43,0\n"
                                           "Vibr.acceleration, m/c2\t-35,2+40,1\t-35,2+40,1\t-35,2+40,1\n"
                                           "Vibr.velocity, m/c\t0,123+0,456\t0,123+0,456\t0,123+0,456\n"
                                           "Vibr.displacement, mm\t1,500\t1,500\t1,500\n"
                                           "Impact force, N\t12345\t12345\t12345\n");
    auto crafted = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWithSeries(*crafted, {1});
    writeShortName20(crafted->records()[0].nameField(ImpactRecord::ObjectName), QStringLiteral("a\tb\nc\rd"));
    writeShortName20(crafted->records()[0].nameField(ImpactRecord::MaterialName), QStringLiteral("\n1/9\t"));
    QTest::newRow("a TAB or a line break in a name starts no cell nor row")
        << QStringList{"info", write("crafted.kvt", kvt::encodeKvt(*crafted))}
        << QByteArray("1/1\t06.11.13\t14:07:45\t81\t41\t 1/9 \ta b c d\n");
    QTest::newRow("impact table, Russian") << QStringList{"info", "--series", "1", sample, "--lang", "ru"}
                             << QByteArray("06.11.2013, 14:07:45\t1-й удар\t2-й удар\n"
                                           "Дин.модуль, МПа\t81,0\t82,0\n"
                                           "Стат.модуль, МПа\t41,0\t42,0\n"
                                           "Виброускорение, м/с2\t-35,2+40,1\t-35,2+40,1\n"
                                           "Виброскорость, м/с\t0,123+0,456\t0,123+0,456\n"
                                           "Виброперемещение, мм\t1,500\t1,500\n"
                                           "Сила удара, Н\t12345\t12345\n");
}

void TestCliInfo::printsTable()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    const testing::CliRun run = runCli(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, output);
}

void TestCliInfo::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error"); // empty: any message will do

    const QString damaged = write("damaged.kvt", QByteArray("KVT-1.1\0\0\0\0\0\0\0\0\0", 16));
    QTest::newRow("damaged") << QStringList{"info", damaged} << 1
                             << QByteArray("File is not readable or damaged: damaged.kvt\n");
    QTest::newRow("damaged, Russian") << QStringList{"--lang", "ru", "info", damaged} << 1
                                      << QByteArray("Файл не читается или испорчен: damaged.kvt\n");
    QTest::newRow("cannot open") << QStringList{"info", dir.filePath("absent.kvt")} << 1 << QByteArray();
    // Never read: larger than a full instrument's file.
    const QString huge = write("huge.kvt", QByteArray("KVT-1.0", 8) + QByteArray(KvtMaxFileSize - 7, '\0'));
    QTest::newRow("larger than any measurement file") << QStringList{"info", huge} << 1
                                                      << QByteArray("File is not readable or damaged: huge.kvt\n");
#ifdef Q_OS_UNIX
    // Reading it would wait for ever for a writer.
    const QString endless = dir.filePath("endless.kvt");
    if (!QFileInfo::exists(endless))
        QCOMPARE(::mkfifo(QFile::encodeName(endless).constData(), 0600), 0);
    QTest::newRow("FIFO") << QStringList{"info", endless} << 1
                          << QByteArray("File is not readable or damaged: endless.kvt\n");
    QTest::newRow("FIFO, impact table") << QStringList{"info", endless, "--series", "1"} << 1
                                        << QByteArray("File is not readable or damaged: endless.kvt\n");
#endif
    const QString empty = write("empty.kvt", QByteArray("KVT-1.0\0\0\0\0\0\0\0\0\0", 16));
    QTest::newRow("empty file, impact table") << QStringList{"info", empty, "--series", "1"} << 1
                                              << QByteArray("No Data\n");
    QTest::newRow("empty file, impact table, Russian") << QStringList{"--lang", "ru", "info", empty, "--series", "1"}
                                                       << 1 << QByteArray("Данных нет\n");
    QTest::newRow("series 0") << QStringList{"info", sample, "--series", "0"} << 2 << QByteArray();
    QTest::newRow("series past the last") << QStringList{"info", sample, "--series", "3"} << 1
                                          << QByteArray("No series 3; series in the file: 2\n");
    QTest::newRow("series past the last, Russian") << QStringList{"--lang", "ru", "info", sample, "--series", "3"} << 1
                                                   << QByteArray("Нет серии 3; серий в файле: 2\n");
    QTest::newRow("series not a number") << QStringList{"info", sample, "--series", "x"} << 2 << QByteArray();
    QTest::newRow("no file") << QStringList{"info"} << 2 << QByteArray();
    QTest::newRow("two files") << QStringList{"info", sample, sample} << 2 << QByteArray();
    QTest::newRow("unknown verb") << QStringList{"show", sample} << 2 << QByteArray();
    QTest::newRow("unknown language") << QStringList{"--lang", "de", "info", sample} << 2 << QByteArray();
}

void TestCliInfo::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);

    const testing::CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(!run.err.isEmpty());
    if (!error.isEmpty())
        QCOMPARE(run.err, error);
}

QTEST_GUILESS_MAIN(TestCliInfo)
#include "tst_cli_info.moc"
