#include "exports/modulus_report.h"
#include "file_size_limit.h"
#include "report/report_files.h"
#include "report/report_sheet.h"
#include "store/short_name20.h"
#include "store/table_texts.h"
#include "store_fixture.h"
#include "tool_output.h" // SKIP_WITHOUT_TOOL

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)
Q_DECLARE_METATYPE(kvt::ReportFormat)

namespace {

// The report's columns, in millimetres.
const QList<qreal> ColumnWidths{15, 24, 24, 26, 24, 37, 35};

// A small store whose Table 1 holds whole and fractional means, a mean that
// cannot be shown ("NAN") and names a spreadsheet would take for a formula or
// for markup.
std::unique_ptr<MeasurementStore> smallStore()
{
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {3, 1, 2});
    const float dynamic[] = {80, 90, 85, 41.25f, std::numeric_limits<float>::quiet_NaN(), 12.5f};
    const float fixedStatic[] = {40, 40, 43, 7, 150.75f, 150.75f};
    const char *materials[] = {"=1+2", "Песок <мелкий>", "Road & 7"};
    for (quint32 i = 0; i < store->impactCount(); ++i) {
        store->records()[i].setFloatAt(ImpactRecord::DynModulus, dynamic[i]);
        store->records()[i].setFloatAt(ImpactRecord::StatModulus, fixedStatic[i]);
    }
    for (quint32 series = 0; series < store->seriesCount(); ++series)
        writeShortName20(store->records()[store->seriesStart(series)].nameField(ImpactRecord::MaterialName),
                         QString::fromUtf8(materials[series]));
    return store;
}

} // namespace

// The report as a spreadsheet: .xlsx and .ods read back by Debian's Python
// readers (openpyxl, odfpy) through tests/report/read_sheet.py, and compared
// with the Table 1 texts the report was made from.
class TestReportSheets : public QObject {
    Q_OBJECT
private slots:
    void sheetNames_data();
    void sheetNames();
    void readBack_data();
    void readBack();
    void longStore_data();
    void longStore();
    void numbersWhateverTheCLocale();
    void fullDisk();

private:
    std::optional<QJsonObject> readSheet(const QByteArray &bytes, ReportFormat format);

    QTemporaryDir dir;
};

// What the reader found, or nothing when Debian's Python does not run here.
std::optional<QJsonObject> TestReportSheets::readSheet(const QByteArray &bytes, ReportFormat format)
{
    const QString kind = format == ReportFormat::Xlsx ? QStringLiteral("xlsx") : QStringLiteral("ods");
    QFile file(dir.filePath("report." + kind));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QJsonObject();
    file.close();
    // Debian's own Python, which has the readers, whatever else is on the path.
    // Under Wine it may start but never ends as a process Wine knows: not here.
    // A reader that fails here gives no sheet, and the test fails.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(READ_SHEET), kind, file.fileName()});
    if (!python.waitForStarted(30000) || !python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    if (python.exitCode() != 0)
        qWarning("%s", python.readAllStandardError().constData());
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

void TestReportSheets::sheetNames_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");

    QTest::newRow("Russian title, 36 characters") << "Измеренные значения модуля упругости"
                                                  << "Измеренные значения модуля упру";
    QTest::newRow("English title, 32 characters") << "Meassured elastic modulus values"
                                                  << "Meassured elastic modulus value";
    QTest::newRow("31 characters stay") << QString(31, u'x') << QString(31, u'x');
    QTest::newRow("characters a sheet name cannot hold") << "a[b]c:d*e?f/g\\h" << "a b c d e f g h";
    QTest::newRow("apostrophes at the ends") << "'quoted' title'" << "quoted' title";
    QTest::newRow("nothing left") << "[?]" << "Sheet1";
    QTest::newRow("empty") << "" << "Sheet1";
    QTest::newRow("a surrogate pair at the cut is not halved")
        << QString(30, u'x') + QString::fromUtf8("\xF0\x9F\x98\x80") << QString(30, u'x');
}

void TestReportSheets::sheetNames()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(sheetName(title), name);
}

void TestReportSheets::readBack_data()
{
    QTest::addColumn<ReportFormat>("format");
    QTest::addColumn<Language>("language");

    QTest::newRow("xlsx, Russian") << ReportFormat::Xlsx << Language::Russian;
    QTest::newRow("xlsx, English") << ReportFormat::Xlsx << Language::English;
    QTest::newRow("ods, Russian") << ReportFormat::Ods << Language::Russian;
    QTest::newRow("ods, English") << ReportFormat::Ods << Language::English;
}

void TestReportSheets::readBack()
{
    QFETCH(ReportFormat, format);
    QFETCH(Language, language);
    const QList<QStringList> table1 = seriesTableGrid(*smallStore(), language);
    QVERIFY2(table1.size() == 5 && table1[4][3] == "NAN" && table1[2][3] == "85" && table1[2][4] == "41",
             qPrintable(table1[2].join(' ') + " | " + table1[3].join(' ') + " | " + table1[4].join(' ')));
    ModulusReport report(table1, language);
    const std::optional<QByteArray> bytes = reportFileBytes(report.prepare(), format);
    QVERIFY(bytes);
    const std::optional<QJsonObject> sheet = readSheet(*bytes, format);
    SKIP_WITHOUT_TOOL(sheet);

    const QString title = language == Language::Russian ? "Измеренные значения модуля упругости"
                                                        : "Meassured elastic modulus values";
    QCOMPARE(sheet->value("sheets").toArray(), QJsonArray{sheetName(title)});
    QCOMPARE(sheet->value("merged").toArray(), QJsonArray{"A1:G1"});
    const QJsonArray widths = sheet->value("widths").toArray();
    QCOMPARE(widths.size(), ColumnWidths.size());
    for (qsizetype column = 0; column < widths.size(); ++column)
        QVERIFY2(qAbs(widths[column].toDouble() - ColumnWidths[column]) < 1,
                 qPrintable(QString("column %1: %2 mm").arg(column).arg(widths[column].toDouble())));

    const QJsonArray rows = sheet->value("rows").toArray();
    QCOMPARE(rows.size(), 2 + table1.size() - 2);
    const QJsonObject titleCell = rows[0].toArray()[0].toObject();
    QCOMPARE(titleCell.value("value").toString(), title);
    QCOMPARE(titleCell.value("size").toDouble(), 14.0);
    QCOMPARE(titleCell.value("framed").toBool(), false);

    const QStringList heads = language == Language::Russian
                                  ? QStringList{"№", "Дата", "Время", "Дин.модуль", "Стат.модуль", "Материал", "Объект"}
                                  : QStringList{"№", "Date", "Time", "Din.modulus", "Stat.modulus", "Material", "Object"};
    for (qsizetype row = 1; row < rows.size(); ++row) {
        const QJsonArray cells = rows[row].toArray();
        const QStringList expected = row == 1 ? heads : table1[row];
        QCOMPARE(cells.size(), expected.size());
        for (qsizetype column = 0; column < cells.size(); ++column) {
            const QJsonObject cell = cells[column].toObject();
            const QString where = QString("row %1, column %2: ").arg(row + 1).arg(column + 1);
            const QString text = expected[column];
            QCOMPARE(cell.value("column").toInt(), column);
            QCOMPARE(cell.value("font").toString(), QString("Times New Roman"));
            QCOMPARE(cell.value("size").toDouble(), 10.0);
            QVERIFY2(cell.value("framed").toBool(), qPrintable(where + "no frame"));
            // The means are numbers with the table's decimals; "NAN", the
            // names, dates, times and series are text exactly as shown.
            const bool number = row > 1 && (column == 3 || column == 4) && text != "NAN";
            QVERIFY2(cell.value("type").toString() == (number ? "n" : "s"),
                     qPrintable(where + cell.value("type").toString() + " " + text));
            if (number) {
                QCOMPARE(cell.value("value").toDouble(), QString(text).replace(',', '.').toDouble());
                QCOMPARE(cell.value("decimals").toInt(), text.contains(',') ? int(text.size() - text.indexOf(',') - 1) : 0);
            } else {
                QCOMPARE(cell.value("value").toString(), text);
            }
            if (cell.contains("shown"))
                QCOMPARE(cell.value("shown").toString(), text);
        }
    }
}

void TestReportSheets::longStore_data()
{
    readBack_data();
}

void TestReportSheets::longStore()
{
    // Three pages on paper; in a sheet, the heads once and every series below.
    QFETCH(ReportFormat, format);
    QFETCH(Language, language);
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, std::vector<quint32>(120, 1));
    const QList<QStringList> table1 = seriesTableGrid(*store, language);
    ModulusReport report(table1, language);
    const PreparedReport prepared = report.prepare();
    QVERIFY(prepared.pages.size() >= 3);
    const std::optional<QByteArray> bytes = reportFileBytes(prepared, format);
    QVERIFY(bytes);
    const std::optional<QJsonObject> sheet = readSheet(*bytes, format);
    SKIP_WITHOUT_TOOL(sheet);

    const QJsonArray rows = sheet->value("rows").toArray();
    QCOMPARE(rows.size(), 2 + 120);
    for (qsizetype row = 2; row < rows.size(); ++row)
        QCOMPARE(rows[row].toArray()[0].toObject().value("value").toString(), table1[row][0]);
}

void TestReportSheets::numbersWhateverTheCLocale()
{
    // The window's Qt sets the C library's locale from the environment: in a
    // Russian one, printf writes decimal commas, which no reader takes.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char *commaLocales[] = {"ru_RU.UTF-8", "ru_RU.utf8", "Russian_Russia.1251", "de_DE.UTF-8"};
    const char *used = nullptr;
    for (const char *locale : commaLocales)
        if (!used && std::setlocale(LC_NUMERIC, locale))
            used = locale;
    if (!used)
        QSKIP("no locale with a decimal comma here (scripts/bootstrap makes ru_RU.UTF-8)");
    const std::string program = std::setlocale(LC_NUMERIC, nullptr);
    const QList<QStringList> table1 = seriesTableGrid(*smallStore(), Language::Russian);
    ModulusReport report(table1, Language::Russian);
    const std::optional<QByteArray> bytes = reportFileBytes(report.prepare(), ReportFormat::Xlsx);
    // The program's own locale is given back.
    const std::string after = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, before.c_str());
    QCOMPARE(after, program);
    QVERIFY(bytes);

    const std::optional<QJsonObject> sheet = readSheet(*bytes, ReportFormat::Xlsx);
    SKIP_WITHOUT_TOOL(sheet);
    const QJsonArray rows = sheet->value("rows").toArray();
    QCOMPARE(rows.size(), table1.size());
    for (qsizetype row = 2; row < rows.size(); ++row) {
        for (int column : {3, 4}) {
            const QString text = table1[row][column];
            if (text != "NAN")
                QCOMPARE(rows[row].toArray()[column].toObject().value("value").toDouble(),
                         QString(text).replace(',', '.').toDouble());
        }
    }
}

void TestReportSheets::fullDisk()
{
    // The workbook's library writes through temporary files: when they cannot
    // be written, there is no workbook rather than a broken one.
    ModulusReport report(seriesTableGrid(*smallStore(), Language::English), Language::English);
    const PreparedReport prepared = report.prepare();
    const testing::FileSizeLimit fullDisk(1000);
    SKIP_UNLESS_DISK_CAN_FILL(fullDisk);
    QVERIFY(!reportFileBytes(prepared, ReportFormat::Xlsx));
}

QTEST_GUILESS_MAIN(TestReportSheets)
#include "tst_report_sheets.moc"
