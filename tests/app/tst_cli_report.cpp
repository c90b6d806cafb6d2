#include "file_size_limit.h"
#include "files/kvt_file.h"
#include "memory_limit.h"
#include "report/prepared_report_file.h"
#include "store/short_name20.h"
#include "store/table_texts.h"
#include "store_fixture.h"
#include "cli_run.h"
#include "test_file.h"

#include <QFile>
#include "tool_output.h"
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

// kvt10-cli report: the printed report of a file's series table, read back
// from the PDF with pdftotext.
class TestCliReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pdfShowsTheTable_data();
    void pdfShowsTheTable();
    void threePages();
    void summaryPage_data();
    void summaryPage();
    void formats_data();
    void formats();
    void savedReport_data();
    void savedReport();
    void failures_data();
    void failures();
    void spreadsheetOnAFullDisk();
    void hostileReports_data();
    void hostileReports();
    void unwritableCharacters_data();
    void unwritableCharacters();

private:
    QString writeReport(const QString &name, const QList<PreparedBand> &bands);
    static std::optional<QString> pdfText(const QString &pdf, const QString &mode);
    QString writeSample(const QString &name, const std::vector<quint32> &seriesLengths);
    QString writeFile(const QString &name, const QByteArray &bytes);
    QByteArray readFile(const QString &path);

    QTemporaryDir dir;
    QString sample;
    QString savedSample; // sample's report in Russian, saved with --prepared
    QString rules;       // the sample's roads meet theirs, its embankment does not, the bridge has none
    std::unique_ptr<MeasurementStore> sampleStore = std::make_unique<MeasurementStore>();
};

// "-layout" keeps the columns apart; "-raw" keeps the narrow blanks of "- 2 -",
// which the layout analysis closes up.
std::optional<QString> TestCliReport::pdfText(const QString &pdf, const QString &mode)
{
    return testing::toolOutput(QStringLiteral("pdftotext"), {mode, pdf, "-"});
}

QString TestCliReport::writeSample(const QString &name, const std::vector<quint32> &seriesLengths)
{
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, seriesLengths);
    const QString path = dir.filePath(name);
    return saveKvtFile(path, *store) == KvtSaveStatus::Saved ? path : QString();
}

QString TestCliReport::writeFile(const QString &name, const QByteArray &bytes)
{
    return kvt::testing::writeTestFile(dir.filePath(name), bytes);
}

// A saved report of the bands given, as many pages as a report file allows
// bands a page.
QString TestCliReport::writeReport(const QString &name, const QList<PreparedBand> &bands)
{
    PreparedReport report;
    report.page = {QSizeF(210, 297), QMarginsF(20, 5, 5, 10)};
    report.fontFamily = QStringLiteral("Times New Roman");
    for (qsizetype band = 0; band < bands.size(); band += prepared_report_limits::BandsPerPage)
        report.pages << PreparedPage{bands.mid(band, prepared_report_limits::BandsPerPage)};
    return writeFile(name, encodePreparedReport(report));
}

QByteArray TestCliReport::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestCliReport::initTestCase()
{
    testing::fillStoreWithSeries(*sampleStore, {2, 3, 1});
    const char *objects[] = {"Дорога", "Насыпь", "Bridge"};
    for (quint32 series = 0; series < 3; ++series)
        writeShortName20(sampleStore->records()[sampleStore->seriesStart(series)].nameField(ImpactRecord::ObjectName),
                         QString::fromUtf8(objects[series]));
    sample = dir.filePath("sample.kvt");
    QCOMPARE(saveKvtFile(sample, *sampleStore), KvtSaveStatus::Saved);
    rules = writeFile("rules.ini", "[Requirements]\nLayout=1\nCount=2\n"
                                   "Object1=Дорога\nMaterial1=\nDynamic1=50\nStatic1=\nLargestCv1=\n"
                                   "Object2=Насыпь\nMaterial2=Песок\nDynamic2=500\nStatic2=\nLargestCv2=\n");
    savedSample = dir.filePath("sample.kvtreport");
    const testing::CliRun saved = testing::runCli({"--lang", "ru", "report", sample, "--prepared", savedSample});
    QCOMPARE(saved.err, QByteArray());
    QCOMPARE(saved.exitCode, 0);
}

void TestCliReport::pdfShowsTheTable_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("heads");

    QTest::newRow("English") << Language::English << QStringList{}
                             << QStringList{"Meassured elastic modulus values", "№", "Date", "Time", "Din.modulus",
                                            "Stat.modulus", "Material", "Object"};
    QTest::newRow("Russian") << Language::Russian << QStringList{"--lang", "ru"}
                             << QStringList{"Измеренные значения модуля упругости", "№", "Дата", "Время",
                                            "Дин.модуль", "Стат.модуль", "Материал", "Объект"};
}

void TestCliReport::pdfShowsTheTable()
{
    QFETCH(Language, language);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, heads);
    const QString pdf = dir.filePath("report.pdf");
    const testing::CliRun result = testing::runCli(arguments + QStringList{"report", sample, "--pdf", pdf});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray());

    const std::optional<QString> layout = pdfText(pdf, "-layout");
    SKIP_WITHOUT_TOOL(layout);
    const QString &text = *layout;
    QCOMPARE(text.count(u'\f'), 1); // one page
    QVERIFY2(!text.contains(u"- 1 -"), "the first page has no page number");
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 5, qPrintable(text));
    QCOMPARE(lines[0].simplified(), heads[0]);
    QCOMPARE(lines[1].simplified(), heads.mid(1).join(u' '));
    // Each series on its own line, as Table 1 shows it.
    const QList<QStringList> table = seriesTableGrid(*sampleStore, language);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(lines[2 + row].simplified(), table[SeriesTableHeaderRows + row].join(u' '));
}

void TestCliReport::threePages()
{
    const QString file = writeSample("long.kvt", std::vector<quint32>(105, 1));
    const QString pdf = dir.filePath("long.pdf");
    QCOMPARE(testing::runCli({"report", file, "--pdf", pdf}).exitCode, 0);
    const std::optional<QString> raw = pdfText(pdf, "-raw");
    SKIP_WITHOUT_TOOL(raw);
    const QStringList pages = raw->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    QVERIFY(!pages[0].contains(u"- 1 -"));
    QVERIFY(pages[0].contains(u"51/1"));
    QVERIFY(pages[1].contains(u"52/1"));
    QVERIFY(pages[1].contains(u"104/1"));
    QVERIFY(pages[1].trimmed().endsWith(u"- 2 -"));
    QVERIFY(pages[2].contains(u"105/1"));
    QVERIFY(pages[2].trimmed().endsWith(u"- 3 -"));
    QVERIFY(pages[2].contains(u"Din.modulus")); // the heads on every page
}

void TestCliReport::summaryPage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("summary");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("groupEnds"); // how each group's line ends: the share and the verdict

    const QStringList english{"Дорога", "100 meets", "Насыпь", "0 does not meet", "Bridge", "no rule"};
    const QStringList russian{"Дорога", "100 соответствует", "Насыпь", "0 не соответствует", "Bridge",
                              "нет требования"};
    QTest::newRow("English") << QStringList{"report", sample, "--pdf", "out.pdf", "--summary", "--rules", rules}
                             << true << "Statistics against requirements" << english;
    QTest::newRow("Russian") << QStringList{"--lang", "ru", "report", "--summary", "--rules", rules, sample, "--pdf",
                                            "out.pdf"}
                             << true << "Статистика по требованиям" << russian;
    QTest::newRow("English, not asked") << QStringList{"report", sample, "--pdf", "out.pdf"} << false
                                        << "Statistics against requirements" << english;
    QTest::newRow("Russian, not asked") << QStringList{"--lang", "ru", "report", sample, "--pdf", "out.pdf"} << false
                                        << "Статистика по требованиям" << russian;
}

// The summary page follows the series list when asked for, and only then.
void TestCliReport::summaryPage()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, summary);
    QFETCH(QString, title);
    QFETCH(QStringList, groupEnds);
    const QString pdf = dir.filePath("out.pdf");
    arguments.replace(arguments.indexOf("out.pdf"), pdf);
    const testing::CliRun result = testing::runCli(arguments);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);

    const std::optional<QString> layout = pdfText(pdf, "-layout");
    SKIP_WITHOUT_TOOL(layout);
    const QStringList pages = layout->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), summary ? 2 : 1);
    QVERIFY(!pages[0].contains(title));
    for (qsizetype group = 0; group < groupEnds.size(); group += 2)
        QVERIFY2(!pages[0].contains(groupEnds[group + 1]), qPrintable(groupEnds[group + 1]));
    if (!summary)
        return;
    const QStringList lines = pages[1].split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.first().simplified(), title);
    for (qsizetype group = 0; group < groupEnds.size(); group += 2) {
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const QString &text) { return text.contains(groupEnds[group]); });
        QVERIFY2(line != lines.end(), qPrintable(groupEnds[group]));
        QVERIFY2(line->simplified().endsWith(u' ' + groupEnds[group + 1]), qPrintable(*line));
    }
    QCOMPARE(lines.last().simplified(), QString("-2-")); // "- 2 -", closed up by the layout analysis
}

void TestCliReport::formats_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("contains");

    QTest::newRow("HTML") << "--html" << QByteArray("<!DOCTYPE") << QByteArray("Meassured elastic modulus values");
    QTest::newRow("ODF text") << "--odt" << QByteArray("PK") << QByteArray("opendocument.text");
    QTest::newRow("RTF") << "--rtf" << QByteArray("{\\rtf1\\ansi\\ansicpg1251")
                         << QByteArray("\\fs20 \\u1055\\'cf\\u1077\\'e5\\u1089\\'f1\\u1086\\'ee\\u1082\\'ea\\cell\n");
    QTest::newRow("Excel spreadsheet") << "--xlsx" << QByteArray("PK\x03\x04") << QByteArray("xl/worksheets/sheet1.xml");
    // The type first, uncompressed and without extra fields, where readers look for it.
    QTest::newRow("OpenDocument spreadsheet")
        << "--ods" << QByteArray("PK\x03\x04") << QByteArray("mimetypeapplication/vnd.oasis.opendocument.spreadsheet");
    QTest::newRow("plain text") << "--txt" << QByteArray(" ") << QByteArray("Meassured elastic modulus values\n");
    QTest::newRow("CSV") << "--csv" << QByteArray("\xEF\xBB\xBFMeassured elastic modulus values\r\n")
                         << QByteArray("\r\n3/1;06.11.13;14:07:45;81;41;Песок;Bridge\r\n");
}

void TestCliReport::formats()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, contains);
    const QString out = dir.filePath("report" + option.mid(2));
    const testing::CliRun result = testing::runCli({"report", sample, option, out});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes.startsWith(start), bytes.left(80).constData());
    QVERIFY2(bytes.contains(contains), bytes.left(400).constData());
    if (option == "--ods")
        QCOMPARE(bytes.indexOf(contains), 30);
}

void TestCliReport::savedReport_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("members"); // of an archive that carries the time it was made
    QTest::newRow("PDF") << "--pdf" << QStringList{};
    QTest::newRow("plain text") << "--txt" << QStringList{};
    QTest::newRow("CSV") << "--csv" << QStringList{};
    QTest::newRow("HTML") << "--html" << QStringList{};
    QTest::newRow("RTF") << "--rtf" << QStringList{};
    QTest::newRow("Excel spreadsheet") << "--xlsx"
                                       << QStringList{"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/styles.xml"};
    QTest::newRow("OpenDocument spreadsheet") << "--ods" << QStringList{"content.xml"};
    QTest::newRow("the report file again") << "--prepared" << QStringList{};
}

// A saved report written in a format is the report written directly, in the
// language it was saved in whatever the language asked for now.
void TestCliReport::savedReport()
{
    QFETCH(QString, option);
    QFETCH(QStringList, members);
    const QString direct = dir.filePath("direct" + option.mid(2));
    const QString fromSaved = dir.filePath("from-saved" + option.mid(2));
    QCOMPARE(testing::runCli({"--lang", "ru", "report", sample, option, direct}).exitCode, 0);
    const testing::CliRun result = testing::runCli({"--lang", "en", "report", "--open", savedSample, option, fromSaved});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray());

    if (!members.isEmpty()) {
        for (const QString &member : members) {
            const std::optional<QString> expected = testing::toolOutput("unzip", {"-p", direct, member});
            SKIP_WITHOUT_TOOL(expected);
            QVERIFY(!expected->isEmpty());
            QCOMPARE(testing::toolOutput("unzip", {"-p", fromSaved, member}), expected);
        }
        return;
    }
    if (option != u"--pdf") {
        QCOMPARE(readFile(fromSaved), readFile(direct));
        return;
    }
    // A PDF carries the time it was made; its text is the same.
    const std::optional<QString> expected = pdfText(direct, "-layout");
    SKIP_WITHOUT_TOOL(expected);
    QVERIFY(expected->contains(u"Измеренные значения модуля упругости"));
    QCOMPARE(*pdfText(fromSaved, "-layout"), *expected);
}

void TestCliReport::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error"); // empty: any message will do

    const QString out = dir.filePath("failed.pdf");
    const QString empty = writeSample("empty.kvt", {});
    QTest::newRow("empty file") << QStringList{"report", empty, "--pdf", out} << 1 << QByteArray("No Data\n");
    QTest::newRow("empty file, Russian") << QStringList{"--lang", "ru", "report", empty, "--pdf", out} << 1
                                         << QByteArray("Данных нет\n");
    QFile damaged(dir.filePath("damaged.kvt"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("KVT-1.1\0\0\0\0\0\0\0\0\0", 16));
    damaged.close();
    QTest::newRow("damaged") << QStringList{"report", damaged.fileName(), "--pdf", out} << 1
                             << QByteArray("File is not readable or damaged: damaged.kvt\n");
    QTest::newRow("absent") << QStringList{"report", dir.filePath("absent.kvt"), "--pdf", out} << 1 << QByteArray();
    QTest::newRow("cannot write") << QStringList{"report", sample, "--csv", "/nonexistent/dir/r.csv"} << 1
                                  << QByteArray();
    QTest::newRow("no format") << QStringList{"report", sample, out} << 2 << QByteArray();
    QTest::newRow("two formats") << QStringList{"report", sample, "--pdf", "--csv", out} << 2 << QByteArray();
    QTest::newRow("unknown format") << QStringList{"report", sample, "--doc", out} << 2 << QByteArray();
    QTest::newRow("no output") << QStringList{"report", sample, "--pdf"} << 2 << QByteArray();
    QTest::newRow("two outputs") << QStringList{"report", sample, "--pdf", out, out} << 2 << QByteArray();
    QTest::newRow("rules without the summary") << QStringList{"report", sample, "--pdf", out, "--rules", rules} << 2
                                               << QByteArray();
    QTest::newRow("rules without a file") << QStringList{"report", sample, "--pdf", out, "--summary", "--rules"}
                                          << 2 << QByteArray();
    QTest::newRow("summary twice") << QStringList{"report", sample, "--pdf", out, "--summary", "--summary"} << 2
                                   << QByteArray();
    QTest::newRow("a saved report's summary") << QStringList{"report", "--open", savedSample, "--pdf", out,
                                                             "--summary"}
                                              << 2 << QByteArray();
    const QString absentRules = dir.filePath("absent.ini");
    QTest::newRow("rules file missing") << QStringList{"report", sample, "--pdf", out, "--summary", "--rules", absentRules}
                                        << 1 << ("Can't open file " + absentRules + "\n").toUtf8();
    const QString damagedRules = writeFile("damaged.ini", "[Requirements]\nLayout=1\nCount=1\nObject1=A\nDynamic1=x\n");
    QTest::newRow("rules file damaged, Russian")
        << QStringList{"--lang", "ru", "report", sample, "--pdf", out, "--summary", "--rules", damagedRules} << 1
        << "Требования не читаются: " + damagedRules.toUtf8() + '\n';

    // Saved reports that cannot be read.
    const QByteArray saved = readFile(savedSample);
    QVERIFY(!saved.isEmpty());
    const QString cut = writeFile("cut.kvtreport", saved.left(saved.size() - 2));
    QTest::newRow("saved report cut short") << QStringList{"report", "--open", cut, "--pdf", out} << 1
                                            << QByteArray("File is not a KVT-1.0 report or is damaged: cut.kvtreport\n");
    QTest::newRow("saved report cut short, Russian")
        << QStringList{"--lang", "ru", "report", "--open", cut, "--csv", out} << 1
        << QByteArray("Файл не является отчётом КВТ-1.0 или испорчен: cut.kvtreport\n");
    const QString emptyReport = writeFile("empty.kvtreport", {});
    QTest::newRow("empty saved report") << QStringList{"report", "--open", emptyReport, "--pdf", out} << 1
                                        << QByteArray("File is not a KVT-1.0 report or is damaged: empty.kvtreport\n");
    QByteArray later = saved;
    later.replace("\"version\":1", "\"version\":2");
    const QString newer = writeFile("newer.kvtreport", later);
    QTest::newRow("saved by a newer version") << QStringList{"report", "--open", newer, "--pdf", out} << 1
                                              << QByteArray("The report was saved by a newer version of the program; "
                                                            "this version cannot read it: newer.kvtreport\n");
    QTest::newRow("a measurement file as a saved report") << QStringList{"report", "--open", sample, "--pdf", out}
                                                          << 1
                                                          << QByteArray("File is not a KVT-1.0 report or is damaged: "
                                                                        "sample.kvt\n");
    const QString absent = dir.filePath("absent.kvtreport");
    QTest::newRow("absent saved report") << QStringList{"report", "--open", absent, "--pdf", out} << 1
                                         << ("Can't open file " + absent + "\n").toUtf8();
    QTest::newRow("open without a report") << QStringList{"report", "--pdf", out, "--open"} << 2 << QByteArray();
    QTest::newRow("open with a measurement file too")
        << QStringList{"report", "--open", savedSample, sample, "--pdf", out} << 2 << QByteArray();
    QTest::newRow("open twice") << QStringList{"report", "--open", savedSample, "--open", savedSample, "--pdf", out}
                                << 2 << QByteArray();
}

void TestCliReport::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);
    const testing::CliRun result = testing::runCli(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(!result.err.isEmpty());
    if (!error.isEmpty())
        QCOMPARE(result.err, error);
    QVERIFY2(!QFile::exists(dir.filePath("failed.pdf")), "nothing is written");
}

void TestCliReport::spreadsheetOnAFullDisk()
{
    // The workbook is made through temporary files; a file size limit, which
    // the tool inherits, stands in for a full disk.
    const QString out = dir.filePath("full.xlsx");
    testing::CliRun result;
    {
        const testing::FileSizeLimit fullDisk(1000);
        SKIP_UNLESS_DISK_CAN_FILL(fullDisk);
        result = testing::runCli({"report", sample, "--xlsx", out});
    }
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(("Can't create data file " + out).toUtf8()), result.err.constData());
    QVERIFY(!QFile::exists(out));
}

namespace {

ReportText cellAt(qreal left, qreal width, const QString &text = QStringLiteral("7"))
{
    return ReportText{QRectF(left, 20, width, 5), text, 10, true, Qt::AlignCenter};
}

QList<PreparedBand> repeated(const PreparedBand &band, int count)
{
    return QList<PreparedBand>(count, band);
}

} // namespace

void TestCliReport::hostileReports_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("error");

    const QStringList documents{"--html", "--odt"};
    const QStringList sheets{"--xlsx", "--ods"};
    const auto damaged = [](const QString &path) {
        return ("File is not a KVT-1.0 report or is damaged: " + QFileInfo(path).fileName() + "\n").toUtf8();
    };

    // Small files, well within what the reader takes, asking the writers for
    // tables, sheets and lines of no end.
    PreparedBand heads{BandKind::PageHeader, {}};
    for (int column = 0; column < 1000; ++column)
        heads.texts << cellAt(20 + 0.1 * column, 0.1);
    const QString emptyRecords = writeReport("empty-records.kvtreport",
                                             QList<PreparedBand>{heads} + repeated({BandKind::MasterData, {}}, 20000));
    QTest::newRow("a thousand heads over 20,000 empty records")
        << emptyRecords << documents + sheets << damaged(emptyRecords);
    const PreparedBand wide{BandKind::MasterData, {cellAt(20, 10000)}};
    const QString wideRecords =
        writeReport("wide-records.kvtreport", QList<PreparedBand>{heads} + repeated(wide, 20000));
    QTest::newRow("a thousand heads under records ten metres wide")
        << wideRecords << documents + sheets << damaged(wideRecords);
    PreparedBand fewerHeads{BandKind::PageHeader, heads.texts.mid(0, 100)};
    const QString spanning =
        writeReport("spanning-records.kvtreport", QList<PreparedBand>{fewerHeads} + repeated(wide, 20000));
    QTest::newRow("a hundred heads under records spanning them")
        << spanning << documents + sheets << damaged(spanning);
    const QString farIn = writeReport("far-in.kvtreport", repeated({BandKind::MasterData, {cellAt(10000, 10)}}, 20000));
    QTest::newRow("texts ten metres in") << farIn << QStringList{"--txt"} << damaged(farIn);
    const QString longLines =
        writeReport("long-lines.kvtreport", repeated({BandKind::MasterData, {cellAt(1990, 10)}}, 40000));
    QTest::newRow("forty thousand lines a thousand blanks long") << longLines << QStringList{"--txt"}
                                                                 << damaged(longLines);
#ifdef Q_OS_UNIX
    // Not a file at all: read, it would wait for a writer for ever.
    const QString fifo = dir.filePath("fifo.kvtreport");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("a FIFO") << fifo << QStringList{"--pdf"} << ("Can't open file " + fifo + "\n").toUtf8();
#endif
}

// Each hostile file is refused with the program's message, promptly and
// within a bound of memory, in every format it would make grow.
void TestCliReport::hostileReports()
{
    QFETCH(QString, report);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, error);
    for (const QString &option : options) {
        const QString out = dir.filePath("hostile" + option.mid(1));
        QProcess process;
        const testing::ChildMemoryLimit limit(process, 1024);
        process.start(QStringLiteral(KVT10_CLI), {"report", "--open", report, option, out});
        const bool ended = process.waitForFinished(30000);
        if (!ended)
            process.kill();
        process.waitForFinished();
        QVERIFY2(ended, qPrintable(option + " did not end"));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(), error);
        QVERIFY2(!QFile::exists(out), qPrintable(option));
    }
}

void TestCliReport::unwritableCharacters_data()
{
    QTest::addColumn<QByteArray>("escaped"); // as JSON writes it
    QTest::addColumn<QString>("read");

    QTest::newRow("U+0001") << QByteArray("\\u0001") << QString(u'\uFFFD');
    QTest::newRow("NUL") << QByteArray("\\u0000") << QString(u'\uFFFD');
    QTest::newRow("U+FFFE") << QByteArray("\\ufffe") << QString(u'\uFFFD');
    QTest::newRow("U+FFFF") << QByteArray("\\uffff") << QString(u'\uFFFD');
    QTest::newRow("a lone high surrogate") << QByteArray("\\ud800") << QString(u'\uFFFD');
    QTest::newRow("a lone low surrogate") << QByteArray("\\udc00") << QString(u'\uFFFD');
    QTest::newRow("a character beyond the BMP") << QByteArray("\\ud83d\\ude00") << QStringLiteral("\U0001F600");
}

// A saved report whose title holds a character XML cannot hold gives
// well-formed workbooks and documents, the character replaced and nothing cut.
void TestCliReport::unwritableCharacters()
{
    QFETCH(QByteArray, escaped);
    QFETCH(QString, read);
    QByteArray bytes = readFile(savedSample);
    const QByteArray title = QStringLiteral("Измеренные значения модуля упругости").toUtf8();
    QVERIFY(bytes.contains(title));
    bytes.replace(title, "before" + escaped + "after");
    const QString saved = writeFile("unwritable.kvtreport", bytes);
    for (const QString &option : QStringList{"--xlsx", "--ods", "--odt"}) {
        const QString out = dir.filePath("unwritable" + option.mid(1));
        const testing::CliRun result = testing::runCli({"report", "--open", saved, option, out});
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        const std::optional<QString> texts = testing::toolOutput("python3", {XML_TEXTS, out});
        SKIP_WITHOUT_TOOL(texts);
        QVERIFY2(texts->endsWith("well-formed\n"), qPrintable(option));
        QVERIFY2(texts->contains("before" + read + "after"), qPrintable(option + ": " + *texts));
    }
}

QTEST_GUILESS_MAIN(TestCliReport)
#include "tst_cli_report.moc"
