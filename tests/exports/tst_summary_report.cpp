#include "evaluation/statistics_table.h"
#include "exports/modulus_report.h"
#include "exports/summary_report.h"
#include "report/report_files.h"
#include "report/report_painter.h"
#include "report/report_sheet.h"
#include "report/report_text.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTest>

#include <cmath>
#include <memory>

using namespace kvt;
using kvt::testing::SeriesContent;

Q_DECLARE_METATYPE(kvt::Language)
Q_DECLARE_METATYPE(kvt::ReportFormat)

using SeriesList = QList<SeriesContent>;
using Rules = QList<RequirementRule>;
using Rows = QList<QStringList>;

namespace {

const float Nan = std::numeric_limits<float>::quiet_NaN();
const QString Layer = QStringLiteral("Несущий слой");

std::unique_ptr<MeasurementStore> storeOf(const SeriesList &list)
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWith(*store, list);
    return store;
}

// The report as the preview prepares it, with the summary or without.
PreparedReport prepared(const MeasurementStore &store, const Rules &rules, Language language, bool summary)
{
    ModulusReport report(seriesTableGrid(store, language), language);
    PreparedReport pages = report.prepare();
    if (summary)
        SummaryReport(groupStatistics(seriesValues(store), rules), language).appendTo(pages);
    return pages;
}

QStringList textsOf(const PreparedBand &band)
{
    QStringList texts;
    for (const ReportText &text : band.texts)
        texts << text.text;
    return texts;
}

// Pages of the summary: the bands of each kind, in order.
struct SummaryPages {
    QList<QStringList> titles, heads, records, footers;
};

SummaryPages summaryOf(const PreparedReport &report, qsizetype firstPage, qsizetype endPage)
{
    SummaryPages summary;
    for (qsizetype page = firstPage; page < endPage; ++page) {
        for (const PreparedBand &band : report.pages[page].bands) {
            switch (band.kind) {
            case BandKind::ReportTitle: summary.titles << textsOf(band); break;
            case BandKind::PageHeader: summary.heads << textsOf(band); break;
            case BandKind::MasterData: summary.records << textsOf(band); break;
            case BandKind::PageFooter: summary.footers << textsOf(band); break;
            }
        }
    }
    return summary;
}

QByteArray bytesOf(const PreparedReport &report, ReportFormat format)
{
    return reportFileBytes(report, format).value_or(QByteArray());
}

const QStringList EnglishHeads{"Object", "Material", "Series", "Din.modulus", "CV, %", "Stat.modulus",
                               "Req. din.", "Req. stat.", "Share, %", "Verdict"};
const QStringList RussianHeads{"Объект", "Материал", "Серий", "Дин.модуль", "КВ, %", "Стат.модуль",
                               "Треб. дин.", "Треб. стат.", "Соотв., %", "Заключение"};

} // namespace

// The summary page after the series list of the printed report.
class TestSummaryReport : public QObject {
    Q_OBJECT
private slots:
    void summaryPage_data();
    void summaryPage();
    void seriesListUnchanged();
    void spillsOverPages_data();
    void spillsOverPages();
    void oneSizeThroughout_data();
    void oneSizeThroughout();
    void cvNeedsTwoSeries_data();
    void cvNeedsTwoSeries();
    void flowingFormats_data();
    void flowingFormats();
};

void TestSummaryReport::summaryPage_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<SeriesList>("series");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QStringList>("title");
    QTest::addColumn<QStringList>("heads");
    QTest::addColumn<Rows>("records");

    const SeriesList lot{{Layer, "Щебень", {90}, {40}},
                         {"Road 7", "Песок", {60}, {30}},
                         {Layer, "Щебень", {100}, {50}},
                         {"Мост", "Глина", {70}, {35}}};
    const Rules rules{{Layer, "", 85, {}, {}}, {"road 7", "Песок", 80, 35, 20}};
    // Road 7's rule limits the CV of its one series: its verdict is marked and the mark explained.
    QTest::newRow("English") << Language::English << lot << rules
                             << QStringList{"Statistics against requirements", "Elastic moduli: means of the series, MPa",
                                            "* Does not meet: a CV needs at least two series."}
                             << EnglishHeads
                             << Rows{{Layer, "Щебень", "2", "95,0", "7,4", "45,0", "85", "", "100", "meets"},
                                     {"Road 7", "Песок", "1", "60,0", "", "30,0", "80", "35", "0", "does not meet *"},
                                     {"Мост", "Глина", "1", "70,0", "", "35,0", "", "", "", "no rule"}};
    QTest::newRow("Russian") << Language::Russian << lot << rules
                             << QStringList{"Статистика по требованиям", "Модули упругости — средние по сериям, МПа",
                                            "* Не соответствует: КВ определяется не менее чем по двум сериям."}
                             << RussianHeads
                             << Rows{{Layer, "Щебень", "2", "95,0", "7,4", "45,0", "85", "", "100", "соответствует"},
                                     {"Road 7", "Песок", "1", "60,0", "", "30,0", "80", "35", "0", "не соответствует *"},
                                     {"Мост", "Глина", "1", "70,0", "", "35,0", "", "", "", "нет требования"}};
    QTest::newRow("no rules: every group listed without one")
        << Language::English << lot << Rules{} << QStringList{"Statistics against requirements",
                                                              "Elastic moduli: means of the series, MPa"}
        << EnglishHeads
        << Rows{{Layer, "Щебень", "2", "95,0", "7,4", "45,0", "", "", "", "no rule"},
                {"Road 7", "Песок", "1", "60,0", "", "30,0", "", "", "", "no rule"},
                {"Мост", "Глина", "1", "70,0", "", "35,0", "", "", "", "no rule"}};
    // Table 1 shows "NAN"; the summary leaves the means out and judges nothing.
    const SeriesList nan{{Layer, "Щебень", {Nan}, {Nan}}, {"Road 7", "Песок", {Nan, Nan}, {Nan, Nan}}};
    QTest::newRow("every modulus NAN") << Language::English << nan << Rules{{Layer, "", 85, {}, {}}}
                                       << QStringList{"Statistics against requirements",
                                                      "Elastic moduli: means of the series, MPa"}
                                       << EnglishHeads
                                       << Rows{{Layer, "Щебень", "1", "", "", "", "85", "", "", "does not meet"},
                                               {"Road 7", "Песок", "1", "", "", "", "", "", "", "no rule"}};
}

void TestSummaryReport::summaryPage()
{
    QFETCH(Language, language);
    QFETCH(SeriesList, series);
    QFETCH(Rules, rules);
    QFETCH(QStringList, title);
    QFETCH(QStringList, heads);
    QFETCH(Rows, records);

    const auto store = storeOf(series);
    const PreparedReport report = prepared(*store, rules, language, true);
    QCOMPARE(report.pages.size(), 2); // the series list, then the summary on a page of its own
    const SummaryPages summary = summaryOf(report, 1, 2);
    QCOMPARE(summary.titles, QList<QStringList>{title});
    QCOMPARE(summary.heads, QList<QStringList>{heads});
    QCOMPARE(summary.records, records);
    QCOMPARE(summary.footers, QList<QStringList>{{"- 2 -"}}); // numbered on from the series list

    // In the series list's font and frames, within the printable width.
    QCOMPARE(report.fontFamily, ModulusReport::layout().fontFamily);
    const qreal right = report.page.paper.width() - report.page.margins.right();
    for (const PreparedBand &band : report.pages[1].bands) {
        for (const ReportText &text : band.texts) {
            QVERIFY2(text.box.left() >= report.page.margins.left() && text.box.right() <= right + 1e-6,
                     qPrintable(text.text));
            QCOMPARE(text.framed, band.kind == BandKind::PageHeader || band.kind == BandKind::MasterData);
        }
    }
}

// The summary only adds pages: the series list's pages stay exactly as they
// are printed without it.
void TestSummaryReport::seriesListUnchanged()
{
    const auto store = storeOf({{Layer, "Щебень", {90}, {40}}, {"Road 7", "Песок", {60}, {30}}});
    const Rules rules{{Layer, "", 85, {}, {}}};
    for (const Language language : {Language::Russian, Language::English}) {
        const PreparedReport without = prepared(*store, rules, language, false);
        PreparedReport with = prepared(*store, rules, language, true);
        QCOMPARE(with.pages.size(), without.pages.size() + 1);
        with.pages.removeLast();
        QCOMPARE(bytesOf(with, ReportFormat::Prepared), bytesOf(without, ReportFormat::Prepared));
    }
}

void TestSummaryReport::spillsOverPages_data()
{
    QTest::addColumn<int>("groups");
    QTest::addColumn<QList<int>>("recordsPerPage"); // of the summary's pages

    // A4: 282 mm under the top margin; the first summary page has the title
    // (20 mm), the heads and the footer (5 and 10 mm) around its 5 mm rows.
    QTest::newRow("one page full") << 49 << QList<int>{49};
    QTest::newRow("one more goes on to the next page") << 50 << QList<int>{49, 1};
    QTest::newRow("a long list") << 120 << QList<int>{49, 53, 18};
}

void TestSummaryReport::spillsOverPages()
{
    QFETCH(int, groups);
    QFETCH(QList<int>, recordsPerPage);

    SeriesList series;
    Rules rules;
    for (int group = 1; group <= groups; ++group) {
        series << SeriesContent{QStringLiteral("Слой %1").arg(group), "Щебень", {float(60 + group % 40)}, {40}};
        rules << RequirementRule{QStringLiteral("Слой %1").arg(group), "", 100, {}, {}};
    }
    const auto store = storeOf(series);
    const PreparedReport without = prepared(*store, rules, Language::Russian, false);
    const PreparedReport report = prepared(*store, rules, Language::Russian, true);
    const qsizetype first = without.pages.size();
    QCOMPARE(report.pages.size(), first + recordsPerPage.size());

    int group = 0;
    for (qsizetype page = 0; page < recordsPerPage.size(); ++page) {
        const SummaryPages summary = summaryOf(report, first + page, first + page + 1);
        // The title once; the heads again at the top of every page.
        QCOMPARE(summary.titles.size(), page == 0 ? 1 : 0);
        QCOMPARE(summary.heads, QList<QStringList>{RussianHeads});
        QCOMPARE(summary.records.size(), recordsPerPage[page]);
        QCOMPARE(summary.footers, QList<QStringList>{{QStringLiteral("- %1 -").arg(first + page + 1)}});
        for (const QStringList &record : summary.records) {
            ++group;
            QCOMPARE(record.first(), QStringLiteral("Слой %1").arg(group));
            QCOMPARE(record.last(), QStringLiteral("не соответствует"));
        }
    }
    QCOMPARE(group, groups);
}

void TestSummaryReport::oneSizeThroughout_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("English") << Language::English;
    QTest::newRow("Russian") << Language::Russian;
}

// The painter shrinks a text wider than its box; a table whose long names and
// verdicts came out smaller than the rest read unevenly. Every head and cell,
// with names of the instrument's full 19 characters, every verdict and the
// largest numbers, is drawn in its own size, and that one size.
void TestSummaryReport::oneSizeThroughout()
{
    QFETCH(Language, language);
    const SeriesList series{{"Грунтовое основание", "Щебень фракции 5-20", {100, 104}, {100, 90}},
                            {"Подстилающий слой 1", "Подстилающий грунт", {1000}, {1000}},
                            {"Поверхностный слой", "Песчано-гравийная", {99.5f, 100.5f}, {60, 64}},
                            {"Несущий слой дороги", "Глина", {77.7f, 88.8f}, {66.6f, 55.5f}}};
    const Rules rules{{"Грунтовое основание", "", 100.25, 100.25, 12.5},
                      {"Подстилающий слой 1", "", 100.25, 100.25, 10},
                      {"Поверхностный слой", "", 99.5, 60, {}}};
    const auto store = storeOf(series);
    const PreparedReport report = prepared(*store, rules, language, true);
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QPdfWriter device(&buffer);

    QList<qreal> sizes;
    QStringList texts;
    for (const PreparedBand &band : report.pages.last().bands) {
        if (band.kind != BandKind::PageHeader && band.kind != BandKind::MasterData)
            continue;
        for (const ReportText &text : band.texts) {
            const qreal drawn = fittingFont(report.fontFamily, text, device).pointSizeF();
            QVERIFY2(qFuzzyCompare(drawn, text.pointSize),
                     qPrintable(QStringLiteral("%1: %2 pt").arg(text.text).arg(drawn)));
            sizes << text.pointSize;
            texts << text.text;
        }
    }
    QCOMPARE(texts.size(), 5 * std::size(RussianHeads));
    // The verdicts, the mark and the thousands are among them.
    QVERIFY(texts.contains(verdictText(Verdict::DoesNotMeet, language) + " *"));
    QVERIFY(texts.contains(verdictText(Verdict::NoRule, language)));
    QVERIFY(texts.contains("1000,0"));
    QVERIFY(texts.contains("100,25"));
    for (const qreal size : sizes)
        QCOMPARE(size, sizes.first());
}

void TestSummaryReport::cvNeedsTwoSeries_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QString>("note"); // under the title; empty: none

    const Rules cvRules{{Layer, "", 85, {}, 20}, {"Road 7", "", 50, {}, 20}};
    QTest::newRow("English") << Language::English << cvRules << QStringList{"meets", "does not meet *"}
                             << "* Does not meet: a CV needs at least two series.";
    QTest::newRow("Russian") << Language::Russian << cvRules << QStringList{"соответствует", "не соответствует *"}
                             << "* Не соответствует: КВ определяется не менее чем по двум сериям.";
    QTest::newRow("no CV limit: nothing to explain")
        << Language::English << Rules{{Layer, "", 85, {}, {}}, {"Road 7", "", 50, {}, {}}}
        << QStringList{"meets", "meets"} << QString();
}

// Road 7's one series reaches its 50 MPa, yet its group does not meet: one
// series has no CV to hold within 20 %. The page has no column for the CV
// limit, so the verdict is marked and the mark explained.
void TestSummaryReport::cvNeedsTwoSeries()
{
    QFETCH(Language, language);
    QFETCH(Rules, rules);
    QFETCH(QStringList, verdicts);
    QFETCH(QString, note);

    const auto store = storeOf({{Layer, "Щебень", {90}, {40}}, {"Road 7", "Песок", {60}, {30}},
                                {Layer, "Щебень", {92}, {40}}});
    const PreparedReport report = prepared(*store, rules, language, true);
    const SummaryPages summary = summaryOf(report, 1, 2);
    QStringList shown;
    for (const QStringList &record : summary.records)
        shown << record.last();
    QCOMPARE(shown, verdicts);
    QCOMPARE(summary.titles.size(), 1);
    QCOMPARE(summary.titles.first().size(), note.isEmpty() ? 2 : 3);
    if (!note.isEmpty())
        QCOMPARE(summary.titles.first().last(), note);
    // The note keeps to the page like every text of it.
    const qreal right = report.page.paper.width() - report.page.margins.right();
    for (const PreparedBand &band : report.pages[1].bands)
        for (const ReportText &text : band.texts)
            QVERIFY(text.box.right() <= right + 1e-6);
}

void TestSummaryReport::flowingFormats_data()
{
    QTest::addColumn<ReportFormat>("format");
    QTest::addColumn<bool>("holdsSummary");

    QTest::newRow("HTML") << ReportFormat::Html << true;
    QTest::newRow("RTF") << ReportFormat::Rtf << true;
    QTest::newRow("plain text") << ReportFormat::Text << true;
    QTest::newRow("report file") << ReportFormat::Prepared << true;
    // One table a sheet: the series list.
    QTest::newRow("CSV") << ReportFormat::Csv << false;
}

void TestSummaryReport::flowingFormats()
{
    QFETCH(ReportFormat, format);
    QFETCH(bool, holdsSummary);

    const auto store = storeOf({{Layer, "Щебень", {90}, {40}}, {"Road 7", "Песок", {60}, {30}}});
    const Rules rules{{"Road 7", "", 85, {}, {}}};
    const PreparedReport without = prepared(*store, rules, Language::English, false);
    const PreparedReport with = prepared(*store, rules, Language::English, true);
    const QByteArray bytes = bytesOf(with, format);
    QVERIFY(!bytes.isEmpty());
    if (!holdsSummary) {
        QCOMPARE(bytes, bytesOf(without, format));
        return;
    }
    QVERIFY(bytes.contains("Meassured elastic modulus values"));
    for (const char *text : {"Statistics against requirements", "Req. din.", "does not meet", "no rule"})
        QVERIFY2(bytes.contains(text), text);
    QVERIFY(bytes.indexOf("Meassured elastic modulus values") < bytes.indexOf("Statistics against requirements"));
}

QTEST_MAIN(TestSummaryReport)
#include "tst_summary_report.moc"
