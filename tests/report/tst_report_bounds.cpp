#include "evaluation/group_statistics.h"
#include "evaluation/series_values.h"
#include "exports/modulus_report.h"
#include "exports/summary_report.h"
#include "report/report_bounds.h"
#include "report/report_files.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QTest>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::PreparedReport)
Q_DECLARE_METATYPE(kvt::ReportFormat)

namespace {

namespace bounds = report_bounds;

constexpr qreal Margin = 20;
const QList<ReportFormat> Documents{ReportFormat::Html, ReportFormat::Odt};
const QList<ReportFormat> Sheets{ReportFormat::Xlsx, ReportFormat::Ods};
const QList<ReportFormat> PlainText{ReportFormat::Text};

ReportText textAt(qreal left, qreal width, const QString &text = QStringLiteral("7"))
{
    return ReportText{QRectF(left, 20, width, 5), text, 10, true, Qt::AlignLeft | Qt::AlignVCenter};
}

// One page holding the bands (a report in memory has no limit of bands a page).
PreparedReport reportOf(const QList<PreparedBand> &bands)
{
    PreparedReport report;
    report.page = {QSizeF(210, 297), QMarginsF(Margin, 5, 5, 10)};
    report.fontFamily = QStringLiteral("Times New Roman");
    report.pages = {PreparedPage{bands}};
    return report;
}

// Heads a millimetre wide, side by side, over records of the texts given.
PreparedReport table(int columns, int records, const QList<ReportText> &record = {})
{
    PreparedBand heads{BandKind::PageHeader, {}};
    for (int column = 0; column < columns; ++column)
        heads.texts << textAt(Margin + column, 1);
    QList<PreparedBand> bands{heads};
    for (int row = 0; row < records; ++row)
        bands << PreparedBand{BandKind::MasterData, record};
    return reportOf(bands);
}

// Records with no heads: the first gives the columns, a millimetre each, and
// every other one is a text spanning them all.
PreparedReport spans(int columns, int records)
{
    PreparedBand first{BandKind::MasterData, {}};
    for (int column = 0; column < columns; ++column)
        first.texts << textAt(Margin + column, 1);
    QList<PreparedBand> bands{first};
    for (int row = 1; row < records; ++row)
        bands << PreparedBand{BandKind::MasterData, {textAt(Margin, columns)}};
    return reportOf(bands);
}

// Lines of plain text: each band's one text starts that many characters in.
PreparedReport lines(int start, int count, const QString &text = QStringLiteral("7"))
{
    QList<PreparedBand> bands;
    for (int line = 0; line < count; ++line)
        bands << PreparedBand{BandKind::MasterData, {textAt(Margin + 2 * start, 2, text)}};
    return reportOf(bands);
}

// The largest report the program prepares: the instrument's every impact as a
// series of its own, each on an object of its own, with the summary page.
PreparedReport largestReport()
{
    QList<testing::SeriesContent> series;
    for (quint32 i = 0; i < MaxImpacts; ++i)
        series << testing::SeriesContent{QStringLiteral("Объект %1").arg(i), QStringLiteral("Щебень фракции 40-70"),
                                         {148.25f}, {74.5f}};
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWith(*store, series);
    PreparedReport report = ModulusReport(seriesTableGrid(*store, Language::Russian), Language::Russian).prepare();
    SummaryReport(groupStatistics(seriesValues(*store), {}), Language::Russian)
        .appendTo(report);
    return report;
}

} // namespace

// What the writers build from a report is bounded: the program's own largest
// report is well within, a crafted one beyond is refused by the writer of
// each format it asks too much of, and only by those.
class TestReportBounds : public QObject {
    Q_OBJECT
private slots:
    void largestReportFits();
    void edges_data();
    void edges();
};

void TestReportBounds::largestReportFits()
{
    const PreparedReport report = largestReport();
    QVERIFY(report.pages.size() > 100);
    for (const ReportFileFormat &file : ReportFileFormats)
        QVERIFY2(reportFitsFormat(report, file.format), file.option);
    for (const ReportFormat format : Sheets + PlainText)
        QVERIFY(reportFileBytes(report, format));
}

void TestReportBounds::edges_data()
{
    QTest::addColumn<PreparedReport>("report");
    QTest::addColumn<QList<ReportFormat>>("refused");

    const int fullTable = int(bounds::Cells / bounds::Columns) - 1; // records under the widest heads
    QTest::newRow("widest heads") << table(bounds::Columns, 0) << QList<ReportFormat>{};
    QTest::newRow("a head too many") << table(bounds::Columns + 1, 0) << Documents + Sheets;
    QTest::newRow("a document table of the most cells") << table(bounds::Columns, fullTable) << QList<ReportFormat>{};
    // Empty records are rows of the document's table, no cells of a sheet's.
    QTest::newRow("a record more") << table(bounds::Columns, fullTable + 1) << Documents;

    QTest::newRow("a sheet of the most cells") << spans(bounds::Columns, fullTable + 1) << QList<ReportFormat>{};
    QTest::newRow("a spanning record more") << spans(bounds::Columns, fullTable + 2) << Sheets;
    // Texts on top of one another each take a column of their own, beyond the
    // one column of the first record.
    const PreparedBand one{BandKind::MasterData, {textAt(Margin, 30)}};
    PreparedBand stacked{BandKind::MasterData, {}};
    for (qsizetype text = 0; text < bounds::Columns; ++text)
        stacked.texts << textAt(Margin, 30);
    QTest::newRow("texts on top of one another") << reportOf({one, stacked}) << QList<ReportFormat>{};
    stacked.texts << textAt(Margin, 30);
    QTest::newRow("a text on top more") << reportOf({one, stacked}) << Sheets;

    QTest::newRow("a text as far in as a line goes") << lines(bounds::LineStart, 1) << QList<ReportFormat>{};
    QTest::newRow("a text a character further") << lines(bounds::LineStart + 1, 1) << PlainText;
    // A line of 1023 characters and its line end, 32 Mi characters in all.
    const QString longText(1023, u'x');
    const int most = int(bounds::PlainTextCharacters / 1024);
    QTest::newRow("the longest plain text") << lines(0, most, longText) << QList<ReportFormat>{};
    PreparedReport longer = lines(0, most, longText);
    longer.pages[0].bands << PreparedBand{BandKind::MasterData, {textAt(Margin, 2)}};
    QTest::newRow("a line more") << longer << PlainText;
}

void TestReportBounds::edges()
{
    QFETCH(PreparedReport, report);
    QFETCH(QList<ReportFormat>, refused);
    for (const ReportFileFormat &file : ReportFileFormats) {
        const bool fits = !refused.contains(file.format);
        QVERIFY2(reportFitsFormat(report, file.format) == fits, file.option);
        // The writer refuses on its own, whoever calls it.
        if (!fits)
            QVERIFY2(!reportFileBytes(report, file.format), file.option);
    }
}

QTEST_MAIN(TestReportBounds)
#include "tst_report_bounds.moc"
