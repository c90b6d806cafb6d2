#include "cli_run.h"
#include "test_file.h"
#include "store_fixture.h"
#include "files/kvt_file.h"
#include "memory_limit.h"
#include "support/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;
using kvt::testing::runCli;

namespace {

const QByteArray Rules = "[Requirements]\nLayout=1\nCount=2\n"
                         "Object1=Несущий слой\nMaterial1=\nDynamic1=85\nStatic1=\nLargestCv1=\n"
                         "Object2=Несущий слой\nMaterial2=Песок\nDynamic2=95,5\nStatic2=40\nLargestCv2=10\n";

const QByteArray EnglishHeader =
    "Object\tMaterial\tSeries\tDin.modulus, mean, MPa\tDin.modulus, min, MPa\tDin.modulus, max, MPa\t"
    "Din.modulus, SD, MPa\tDin.modulus, CV, %\tDin.modulus, left out (NAN)\tStat.modulus, mean, MPa\t"
    "Stat.modulus, min, MPa\tStat.modulus, max, MPa\tStat.modulus, SD, MPa\tStat.modulus, CV, %\t"
    "Stat.modulus, left out (NAN)\tDin.modulus, required, MPa\tStat.modulus, required, MPa\tLargest CV, %\t"
    "Meeting, series\tShare meeting, %\tVerdict\n";
const QByteArray RussianHeader =
    "Объект\tМатериал\tСерий\tДин.модуль, среднее, МПа\tДин.модуль, мин., МПа\tДин.модуль, макс., МПа\t"
    "Дин.модуль, СКО, МПа\tДин.модуль, КВ, %\tДин.модуль, не учтено (NAN)\tСтат.модуль, среднее, МПа\t"
    "Стат.модуль, мин., МПа\tСтат.модуль, макс., МПа\tСтат.модуль, СКО, МПа\tСтат.модуль, КВ, %\t"
    "Стат.модуль, не учтено (NAN)\tДин.модуль, требуется, МПа\tСтат.модуль, требуется, МПа\tНаибольший КВ, %\t"
    "Соответствуют, серий\tДоля соответствующих, %\tЗаключение\n";

// Series 1 and 3 of the stone base (80, 100), series 2 of the sand base (90),
// series 4 of a road without a rule: what the table says of them, then of their rules.
const QByteArray StoneRow =
    "Несущий слой\tЩебень\t2\t90,0\t80,0\t100,0\t14,1\t15,7\t0\t45,0\t40,0\t50,0\t7,1\t15,7\t0\t";
const QByteArray SandRow = "Несущий слой\tПесок\t1\t90,0\t90,0\t90,0\t\t\t0\t45,0\t45,0\t45,0\t\t\t0\t";
const QByteArray RoadRow = "Road 7\tПесок\t1\t60,0\t60,0\t60,0\t\t\t0\t30,0\t30,0\t30,0\t\t\t0\t";
const QByteArray StoneRule = "85\t\t\t1\t50\tdoes not meet\n";
const QByteArray SandRule = "95,5\t40\t10\t0\t0\tdoes not meet\n";
const QByteArray NoRule = "\t\t\t\t\tno rule\n";
const QByteArray EnglishTable = EnglishHeader + StoneRow + StoneRule + SandRow + SandRule + RoadRow + NoRule;

} // namespace

class TestCliStats : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printsTable_data();
    void printsTable();
    void rulesOfTheSettingsFile_data();
    void rulesOfTheSettingsFile();
    void failures_data();
    void failures();
    void hostileRulesFileStaysBounded_data();
    void hostileRulesFileStaysBounded();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir dir;
    QString sample;
    QString rules;
};

QString TestCliStats::write(const QString &name, const QByteArray &bytes)
{
    return kvt::testing::writeTestFile(dir.filePath(name), bytes);
}

void TestCliStats::initTestCase()
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWith(*store, {{"Несущий слой", "Щебень", {80}, {40}},
                                         {"Несущий слой", "Песок", {85, 95}, {40, 50}},
                                         {"Несущий слой", "Щебень", {100}, {50}},
                                         {"Road 7", "Песок", {60}, {30}}});
    sample = write("sample.kvt", kvt::encodeKvt(*store));
    rules = write("rules.ini", Rules);
}

void TestCliStats::printsTable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("English, by default") << QStringList{"stats", sample, "--rules", rules} << EnglishTable;
    QTest::newRow("Russian, options first")
        << QStringList{"--lang", "ru", "stats", "--rules", rules, sample}
        << RussianHeader + StoneRow + "85\t\t\t1\t50\tне соответствует\n" + SandRow
               + "95,5\t40\t10\t0\t0\tне соответствует\n" + RoadRow + "\t\t\t\t\tнет требования\n";
    QTest::newRow("CSV") << QStringList{"stats", sample, "--csv", "--rules", rules}
                         << "\xEF\xBB\xBF" + QByteArray(EnglishTable).replace('\t', ';').replace("\n", "\r\n");
    QTest::newRow("rules file with CR line ends")
        << QStringList{"stats", sample, "--rules", write("cr.ini", QByteArray(Rules).replace('\n', '\r'))}
        << EnglishTable;
    // Road 7's 60,0 misses a rule of 60,04: the rule reads so, not "60".
    const QString exact = write("exact.ini", "[Requirements]\nLayout=1\nCount=1\nObject1=Road 7\nMaterial1=\n"
                                             "Dynamic1=60,04\nStatic1=30,05\nLargestCv1=\n");
    QTest::newRow("CSV: the rule with the decimals it was given")
        << QStringList{"stats", sample, "--csv", "--rules", exact}
        << "\xEF\xBB\xBF"
               + QByteArray(EnglishHeader + StoneRow + NoRule + SandRow + NoRule + RoadRow
                            + "60,04\t30,05\t\t0\t0\tdoes not meet\n")
                     .replace('\t', ';')
                     .replace("\n", "\r\n");
}

void TestCliStats::printsTable()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    const testing::CliRun run = runCli(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, output);
}

void TestCliStats::rulesOfTheSettingsFile_data()
{
    QTest::addColumn<QByteArray>("settings"); // KVT10.ini beside the tool; empty: none
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("the settings' rules") << QByteArray("[Config]\nLangId=Rus\n" + Rules) << EnglishTable;
    QTest::newRow("no settings file: no rules")
        << QByteArray() << EnglishHeader + StoneRow + NoRule + SandRow + NoRule + RoadRow + NoRule;
}

void TestCliStats::rulesOfTheSettingsFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, output);

    // The tool looks for the settings file beside itself, so a copy of it
    // runs from a folder of the test's own.
    QTemporaryDir programFolder;
    const QString tool = programFolder.filePath(QFileInfo(KVT10_CLI).fileName());
    QVERIFY(QFile::copy(KVT10_CLI, tool));
    if (!settings.isEmpty()) {
        QFile file(programFolder.filePath("KVT10.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
    }
    QProcess process;
    process.start(tool, {"stats", sample});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), output);
}

void TestCliStats::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error"); // empty: any message will do

    const QString damaged = write("damaged.ini", "[Requirements]\nLayout=1\nCount=1\nObject1=A\nDynamic1=x\n");
    const QString absent = dir.filePath("absent.ini");
    QTest::newRow("rules file missing") << QStringList{"stats", sample, "--rules", absent} << 1
                                        << "Can't open file " + absent.toUtf8() + '\n';
    QTest::newRow("rules file missing, Russian") << QStringList{"--lang", "ru", "stats", sample, "--rules", absent}
                                                 << 1 << "Не удается открыть файл " + absent.toUtf8() + '\n';
    QTest::newRow("rules file damaged") << QStringList{"stats", sample, "--rules", damaged} << 1
                                        << "Requirements cannot be read: " + damaged.toUtf8() + '\n';
    QTest::newRow("rules file damaged, Russian") << QStringList{"--lang", "ru", "stats", sample, "--rules", damaged}
                                                 << 1 << "Требования не читаются: " + damaged.toUtf8() + '\n';
    const QString utf16 = write("utf16.ini", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                                                 .encode(QString::fromUtf8(Rules)));
    QTest::newRow("rules file in UTF-16") << QStringList{"stats", sample, "--rules", utf16} << 1
                                          << "A UTF-16 file cannot be read (save it as UTF-8 or Windows-1251): "
                                                 + utf16.toUtf8() + '\n';
    QTest::newRow("rules file in UTF-16, Russian")
        << QStringList{"--lang", "ru", "stats", sample, "--rules", utf16} << 1
        << "Файл в кодировке UTF-16 не читается (сохраните его в UTF-8 или Windows-1251): " + utf16.toUtf8() + '\n';
    QTest::newRow("rules file is a folder") << QStringList{"stats", sample, "--rules", dir.path()} << 1
                                            << "Can't open file " + dir.path().toUtf8() + '\n';
    // As the window's statistics, which have no series to judge.
    const QString empty = write("empty.kvt", QByteArray("KVT-1.0\0\0\0\0\0\0\0\0\0", 16));
    QTest::newRow("empty file") << QStringList{"stats", empty, "--rules", rules} << 1 << QByteArray("No Data\n");
    QTest::newRow("empty file, Russian") << QStringList{"--lang", "ru", "stats", empty, "--rules", rules} << 1
                                         << QByteArray("Данных нет\n");
    QTest::newRow("measurement file missing") << QStringList{"stats", dir.filePath("absent.kvt"), "--rules", rules}
                                              << 1 << QByteArray();
    QTest::newRow("no file") << QStringList{"stats", "--csv"} << 2 << QByteArray();
    QTest::newRow("two files") << QStringList{"stats", sample, sample} << 2 << QByteArray();
    QTest::newRow("--rules without a file") << QStringList{"stats", sample, "--rules"} << 2 << QByteArray();
    QTest::newRow("two rules files") << QStringList{"stats", sample, "--rules", rules, "--rules", rules} << 2
                                     << QByteArray();
    QTest::newRow("--csv twice") << QStringList{"stats", sample, "--csv", "--csv"} << 2 << QByteArray();
    QTest::newRow("unknown option") << QStringList{"stats", sample, "--tsv"} << 2 << QByteArray();
}

void TestCliStats::failures()
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
    else if (exitCode == 2)
        QVERIFY(run.err.startsWith("usage: kvt10-cli stats "));
}

void TestCliStats::hostileRulesFileStaysBounded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error"); // before the file's name; empty: none

    constexpr qsizetype Huge = 20 * 1024 * 1024;
    const qsizetype bound = SettingsFile::MaxBytes;
    QTest::newRow("20 MB of blank lines") << QByteArray(Huge, '\n') << 1 << QByteArray("Can't open file ");
    QTest::newRow("one line of 20 MB") << QByteArray("[Requirements]\nObject1=" + QByteArray(Huge, 'x')) << 1
                                       << QByteArray("Can't open file ");
    QTest::newRow("blank lines up to the bound") << QByteArray(bound, '\n') << 0 << QByteArray();
    QTest::newRow("CR line ends up to the bound") << QByteArray(bound, '\r') << 0 << QByteArray();
    QTest::newRow("one line up to the bound")
        << QByteArray("[Requirements]\nLayout=1\nCount=1\nDynamic1=1\nObject1=" + QByteArray(bound - 64, 'x')) << 1
        << QByteArray("Requirements cannot be read: ");
}

void TestCliStats::hostileRulesFileStaysBounded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);

    const QString file = write("hostile.ini", bytes);
    QProcess process;
    const kvt::testing::ChildMemoryLimit limit(process, 400);
    if (!limit.applies())
        QSKIP("no memory limit for a child on this system");
    process.start(KVT10_CLI, {"stats", sample, "--rules", file});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.readAllStandardError(), error.isEmpty() ? QByteArray() : error + file.toUtf8() + '\n');
    QCOMPARE(process.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestCliStats)
#include "tst_cli_stats.moc"
