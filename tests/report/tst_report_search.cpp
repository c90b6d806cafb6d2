#include "report/report_search.h"

#include <QTest>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

// A row of cells 20 mm wide and 5 mm high at a height on the paper.
PreparedBand row(BandKind kind, qreal top, const QStringList &cells)
{
    PreparedBand band{kind, {}};
    for (qsizetype i = 0; i < cells.size(); ++i)
        band.texts.append({QRectF(20 + 20 * qreal(i), top, 20, 5), cells[i], 10, true});
    return band;
}

// Three pages of a bilingual table. The second page's bands are listed
// bottom first and its record's cells right to left, as a saved file may
// list them.
PreparedReport sampleReport()
{
    PreparedReport report;
    report.page = {QSizeF(210, 297), QMarginsF(20, 5, 5, 10)};
    PreparedBand reversed = row(BandKind::MasterData, 35, {"3/2", "Песок", "Sand песок"});
    std::reverse(reversed.texts.begin(), reversed.texts.end());
    report.pages = {
        {{row(BandKind::ReportTitle, 5, {"Измеренные значения"}), row(BandKind::PageHeader, 25, {"№", "Материал"}),
          row(BandKind::MasterData, 30, {"1/2", "ПЕСОК мелкий", "Road"}),
          row(BandKind::MasterData, 35, {"2/1", "Глина", "песок"})}},
        {{row(BandKind::PageFooter, 287, {"- 2 -"}), reversed, row(BandKind::PageHeader, 30, {"№", "Материал"})}},
        {{row(BandKind::PageHeader, 5, {"№", "Материал"}), row(BandKind::MasterData, 10, {"4/1", "sand", "Песок"})}},
    };
    return report;
}

ReportHit hit(qsizetype page, qreal top, int column)
{
    return {page, QRectF(20 + 20 * column, top, 20, 5)};
}

} // namespace

// Finding a text in a prepared report, without a window.
class TestReportSearch : public QObject {
    Q_OBJECT
private slots:
    void finds_data();
    void finds();
    void steps_data();
    void steps();
    void findsAgain();
    void status_data();
    void status();
};

void TestReportSearch::finds_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QList<ReportHit>>("hits");

    QTest::newRow("Russian, any case, across pages in reading order")
        << "песок"
        << QList<ReportHit>{hit(0, 30, 1), hit(0, 35, 2), hit(1, 35, 1), hit(1, 35, 2), hit(2, 10, 2)};
    QTest::newRow("English, any case") << "SAND" << QList<ReportHit>{hit(1, 35, 2), hit(2, 10, 1)};
    QTest::newRow("part of a text") << "мелк" << QList<ReportHit>{hit(0, 30, 1)};
    QTest::newRow("in every page's heads") << "№" << QList<ReportHit>{hit(0, 25, 0), hit(1, 30, 0), hit(2, 5, 0)};
    QTest::newRow("a footer") << "- 2 -" << QList<ReportHit>{hit(1, 287, 0)};
    QTest::newRow("a footer listed before the record above it")
        << "2" << QList<ReportHit>{hit(0, 30, 0), hit(0, 35, 0), hit(1, 35, 0), hit(1, 287, 0)};
    QTest::newRow("none") << "гравий" << QList<ReportHit>{};
    QTest::newRow("nothing typed") << "" << QList<ReportHit>{};
}

void TestReportSearch::finds()
{
    QFETCH(QString, what);
    QFETCH(QList<ReportHit>, hits);
    QCOMPARE(findInReport(sampleReport(), what), hits);
}

void TestReportSearch::steps_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("steps"); // n: next, p: previous
    QTest::addColumn<QList<qsizetype>>("current"); // after finding, then after each step

    QTest::newRow("next through all and round") << "песок" << "nnnnn" << QList<qsizetype>{0, 1, 2, 3, 4, 0};
    QTest::newRow("previous from the first is the last") << "песок" << "ppn" << QList<qsizetype>{0, 4, 3, 4};
    QTest::newRow("a single hit stays") << "мелк" << "np" << QList<qsizetype>{0, 0, 0};
    QTest::newRow("no hit, nothing current") << "гравий" << "np" << QList<qsizetype>{-1, -1, -1};
}

void TestReportSearch::steps()
{
    QFETCH(QString, what);
    QFETCH(QString, steps);
    QFETCH(QList<qsizetype>, current);
    ReportSearch search;
    search.find(sampleReport(), what);
    QList<qsizetype> seen{search.current()};
    for (const QChar step : steps) {
        if (step == u'n')
            search.next();
        else
            search.previous();
        seen << search.current();
    }
    QCOMPARE(seen, current);
}

void TestReportSearch::findsAgain()
{
    ReportSearch search;
    search.find(sampleReport(), QStringLiteral("песок"));
    search.next();
    search.next();

    // The same report again: the third hit stays current.
    search.findAgain(sampleReport());
    QCOMPARE(search.current(), 2);
    QCOMPARE(search.hits().size(), 5);

    // A report with fewer hits: the last one.
    PreparedReport shorter = sampleReport();
    shorter.pages.removeLast();
    shorter.pages.removeLast();
    search.findAgain(shorter);
    QCOMPARE(search.hits().size(), 2);
    QCOMPARE(search.current(), 1);

    // None at all, then some again: the first.
    search.findAgain(PreparedReport{});
    QCOMPARE(search.current(), -1);
    search.findAgain(sampleReport());
    QCOMPARE(search.current(), 0);
    QCOMPARE(search.text(), QStringLiteral("песок"));
}

void TestReportSearch::status_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("status");

    QTest::newRow("nothing typed") << "" << Language::English << "";
    QTest::newRow("not found") << "гравий" << Language::English << "Text not found";
    QTest::newRow("not found, Russian") << "gravel" << Language::Russian << "Текст не найден";
    QTest::newRow("found") << "песок" << Language::English << "Match 1 of 5";
    QTest::newRow("found, Russian") << "sand" << Language::Russian << "Найдено: 1 из 2";
}

void TestReportSearch::status()
{
    QFETCH(QString, what);
    QFETCH(Language, language);
    QFETCH(QString, status);
    ReportSearch search;
    search.find(sampleReport(), what);
    QCOMPARE(searchStatus(search, language), status);
}

QTEST_GUILESS_MAIN(TestReportSearch)
#include "tst_report_search.moc"
