#include "report/prepared_report.h"
#include "report/report_text.h"

#include <QTest>

using namespace kvt;

namespace {

// A small design on a 100 × 100 mm page with 10 mm margins: a 20 mm title,
// a 10 mm page header, 10 mm records and a 10 mm footer left off the first page.
// The first page holds 5 records, the others 6.
ReportLayout smallLayout(qreal recordHeight = 10)
{
    ReportLayout layout;
    layout.page = {QSizeF(100, 100), QMarginsF(10, 10, 10, 10)};
    layout.fontFamily = QStringLiteral("Serif");
    layout.bands = {
        {BandKind::ReportTitle, 20, {{QRectF(0, 0, 80, 20), QStringLiteral("[title]"), 14}}},
        {BandKind::PageHeader, 10,
         {{QRectF(0, 0, 20, 10), QStringLiteral("No"), 10, true},
          {QRectF(20, 0, 60, 10), QStringLiteral("[head]"), 10, true}}},
        {BandKind::MasterData, recordHeight,
         {{QRectF(0, 0, 20, recordHeight), QStringLiteral("[number]"), 10, true},
          {QRectF(20, 0, 60, recordHeight), QStringLiteral("[name]"), 10, true}}},
        {BandKind::PageFooter, 10, {{QRectF(0, 0, 80, 10), QStringLiteral("- [PAGE#] -"), 10}}, false},
    };
    return layout;
}

struct Records {
    QStringList names;
    UserDataSet data{QStringLiteral("records")};

    explicit Records(QStringList list) : names(std::move(list)) { data.recordCount = int(names.size()); }

    PreparedReport prepare(const ReportLayout &layout)
    {
        return prepareReport(layout, data, [this](const QString &name, QString &value) {
            if (name == u"title")
                value = QStringLiteral("Title; \"quoted\"");
            else if (name == u"head")
                value = QStringLiteral("Name");
            else if (name == u"number")
                value = QString::number(data.recordNumber() + 1);
            else if (name == u"name")
                value = names.value(data.recordNumber());
        });
    }
};

QStringList numbered(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("n%1").arg(i);
    return names;
}

QList<BandKind> kindsOf(const PreparedPage &page)
{
    QList<BandKind> kinds;
    for (const PreparedBand &band : page.bands)
        kinds << band.kind;
    return kinds;
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private slots:
    void expandsVariables_data();
    void expandsVariables();
    void dataSetEnds();
    void pagination_data();
    void pagination();
    void placesBandsOnThePaper();
    void recordTallerThanAPage();
    void plainText();
    void plainTextAlignment_data();
    void plainTextAlignment();
    void csv();
};

void TestReportEngine::expandsVariables_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("no variable") << "№" << "№";
    QTest::newRow("page number") << "- [PAGE#] -" << "- 7 -";
    QTest::newRow("known names") << "[a] and [b]" << "A and B";
    QTest::newRow("unknown name is empty") << "<[c]>" << "<>";
    QTest::newRow("names are case-sensitive") << "[A]" << "";
    QTest::newRow("page variable is exact") << "[page#]" << "";
    QTest::newRow("unclosed bracket stays") << "x [a" << "x [a";
    QTest::newRow("empty name") << "[]" << "";
    QTest::newRow("Cyrillic name") << "[Дата]" << "06.11.13";
}

void TestReportEngine::expandsVariables()
{
    QFETCH(QString, text);
    QFETCH(QString, expanded);
    const ReportVariables variables = [](const QString &name, QString &value) {
        if (name == u"a")
            value = QStringLiteral("A");
        else if (name == u"b")
            value = QStringLiteral("B");
        else if (name == u"Дата")
            value = QStringLiteral("06.11.13");
    };
    QCOMPARE(expandVariables(text, 7, variables), expanded);
}

void TestReportEngine::dataSetEnds()
{
    UserDataSet data(QStringLiteral("records"));
    int firsts = 0;
    data.onFirst = [&] {
        ++firsts;
        data.recordCount = 2;
    };
    data.first();
    QCOMPARE(firsts, 1);
    QVERIFY(!data.eof());
    data.next();
    QVERIFY(!data.eof());
    data.next();
    QVERIFY(data.eof());
    data.first();
    QCOMPARE(data.recordNumber(), 0);

    // The program's answer decides.
    data.onCheckEof = [&data](bool &eof) { eof = data.recordNumber() >= 1; };
    data.next();
    QVERIFY(data.eof());
}

void TestReportEngine::pagination_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<int>>("recordsPerPage");

    QTest::newRow("none: title and heads only") << 0 << QList<int>{0};
    QTest::newRow("one") << 1 << QList<int>{1};
    QTest::newRow("first page full") << 5 << QList<int>{5};
    QTest::newRow("one more") << 6 << QList<int>{5, 1};
    QTest::newRow("second page full") << 11 << QList<int>{5, 6};
    QTest::newRow("three pages") << 12 << QList<int>{5, 6, 1};
}

void TestReportEngine::pagination()
{
    QFETCH(int, records);
    QFETCH(QList<int>, recordsPerPage);
    Records source(numbered(records));
    const PreparedReport report = source.prepare(smallLayout());

    QCOMPARE(report.pages.size(), recordsPerPage.size());
    int number = 0;
    for (qsizetype page = 0; page < report.pages.size(); ++page) {
        QList<BandKind> expected;
        if (page == 0)
            expected << BandKind::ReportTitle;
        expected << BandKind::PageHeader;
        for (int r = 0; r < recordsPerPage[page]; ++r)
            expected << BandKind::MasterData;
        if (page > 0)
            expected << BandKind::PageFooter;
        QCOMPARE(kindsOf(report.pages[page]), expected);
        for (const PreparedBand &band : report.pages[page].bands) {
            if (band.kind == BandKind::MasterData)
                QCOMPARE(band.texts[1].text, QStringLiteral("n%1").arg(++number));
            if (band.kind == BandKind::PageFooter)
                QCOMPARE(band.texts[0].text, QStringLiteral("- %1 -").arg(page + 1));
        }
    }
    QCOMPARE(number, records);
}

void TestReportEngine::placesBandsOnThePaper()
{
    Records source(numbered(6));
    const PreparedReport report = source.prepare(smallLayout());
    QCOMPARE(report.page.paper, QSizeF(100, 100));
    QCOMPARE(report.fontFamily, QStringLiteral("Serif"));

    const PreparedPage &first = report.pages[0];
    QCOMPARE(first.bands[0].texts[0].box, QRectF(10, 10, 80, 20)); // title
    QCOMPARE(first.bands[0].texts[0].pointSize, 14.0);
    QVERIFY(!first.bands[0].texts[0].framed);
    QCOMPARE(first.bands[1].texts[1].box, QRectF(30, 30, 60, 10)); // heads under it
    QVERIFY(first.bands[1].texts[1].framed);
    QCOMPARE(first.bands[2].texts[0].box, QRectF(10, 40, 20, 10)); // first record
    QCOMPARE(first.bands[6].texts[0].box, QRectF(10, 80, 20, 10)); // fifth, at the bottom margin

    const PreparedPage &second = report.pages[1];
    QCOMPARE(second.bands[0].texts[0].box, QRectF(10, 10, 20, 10)); // heads at the top
    QCOMPARE(second.bands[1].texts[0].box, QRectF(10, 20, 20, 10));
    QCOMPARE(second.bands.last().texts[0].box, QRectF(10, 80, 80, 10)); // footer at the bottom
}

void TestReportEngine::recordTallerThanAPage()
{
    // Every record gets a page of its own rather than no page at all.
    Records source(numbered(2));
    const PreparedReport report = source.prepare(smallLayout(200));
    QCOMPARE(report.pages.size(), 2);
    QCOMPARE(kindsOf(report.pages[1]),
             (QList<BandKind>{BandKind::PageHeader, BandKind::MasterData, BandKind::PageFooter}));
}

void TestReportEngine::plainText()
{
    Records source({QStringLiteral("Песок"), QStringLiteral("a name much wider than its column"), {}, {}, {},
                    QStringLiteral("last")});
    const QString text = QString::fromUtf8(reportPlainText(source.prepare(smallLayout())).value());
    // Two millimetres a character: the number column is 10 wide, the name column 30.
    const QString first = QStringLiteral("            Title; \"quoted\"\n"
                                         "    No                 Name\n"
                                         "    1                 Песок\n"
                                         "    2     a name much wider than its column\n"
                                         "    3\n"
                                         "    4\n"
                                         "    5\n");
    const QString second = QStringLiteral("    No                 Name\n"
                                          "    6                  last\n"
                                          "                 - 2 -\n");
    QCOMPARE(text, first + u'\f' + second);
}

void TestReportEngine::plainTextAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("line");

    // A 20 mm column, ten characters, at the left margin.
    QTest::newRow("centred") << int(Qt::AlignCenter) << "    ab\n";
    QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignVCenter) << "ab\n";
    QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignTop) << "        ab\n";
}

void TestReportEngine::plainTextAlignment()
{
    QFETCH(int, alignment);
    QFETCH(QString, line);
    PreparedReport report;
    report.page = {QSizeF(100, 100), QMarginsF(10, 10, 10, 10)};
    const ReportText text{QRectF(10, 10, 20, 5), QStringLiteral("ab"), 10, true, Qt::Alignment(alignment)};
    report.pages = {PreparedPage{{{BandKind::MasterData, {text}}}}};
    QCOMPARE(QString::fromUtf8(reportPlainText(report).value()), line);
}

void TestReportEngine::csv()
{
    Records source({QStringLiteral("Песок; мелкий"), QStringLiteral("say \"hi\""), QStringLiteral("81,5"),
                    QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("-35,2"), QStringLiteral("@cmd"),
                    QStringLiteral("- 2 -"), QStringLiteral("+7")});
    const QByteArray csv = reportCsv(source.prepare(smallLayout()));
    QCOMPARE(csv, QByteArray("\xEF\xBB\xBF"
                             "\"Title; \"\"quoted\"\"\"\r\n"
                             "No;Name\r\n"
                             "1;\"Песок; мелкий\"\r\n"
                             "2;\"say \"\"hi\"\"\"\r\n"
                             "3;81,5\r\n"
                             "4;\"'=HYPERLINK(\"\"x\"\")\"\r\n"
                             "5;-35,2\r\n"
                             "6;'@cmd\r\n"
                             "7;'- 2 -\r\n"
                             "8;+7\r\n"));
}

QTEST_GUILESS_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
