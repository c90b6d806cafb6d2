#include "exports/modulus_report.h"
#include "report/report_text.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QTest>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

// Table 1 with the given data rows under its two header rows.
QList<QStringList> table1(const QList<QStringList> &rows)
{
    return QList<QStringList>{QStringList{"№", "Дата", "Время", "Дин.модуль", "Стат.модуль", "Материал", "Объект"},
                              QStringList{"", "д.м.г", "ч:м:с", "МПа", "МПа", "", ""}}
        + rows;
}

QList<QStringList> numberedRows(int count)
{
    QList<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringList{QStringLiteral("%1/1").arg(i), "06.11.13", "14:07:45", "81", "41", "Песок", "Road 7"};
    return rows;
}

QStringList textsOf(const QList<ReportText> &texts)
{
    QStringList list;
    for (const ReportText &text : texts)
        list << text.text;
    return list;
}

QList<QRectF> boxesOf(const QList<ReportText> &texts)
{
    QList<QRectF> boxes;
    for (const ReportText &text : texts)
        boxes << text.box;
    return boxes;
}

} // namespace

class TestModulusReport : public QObject {
    Q_OBJECT
private slots:
    void variables_data();
    void variables();
    void dataSetCountsTableRows();
    void pagination_data();
    void pagination();
    void layoutOnA4();
    void reportsTable1AsShown_data();
    void reportsTable1AsShown();
};

void TestModulusReport::variables_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    const auto ru = Language::Russian;
    const auto en = Language::English;
    QTest::newRow("title, Russian") << ru << 0 << "Заголовок" << "Измеренные значения модуля упругости";
    QTest::newRow("title, English") << en << 0 << "Заголовок" << "Meassured elastic modulus values";
    QTest::newRow("date head") << ru << 0 << "Дата0" << "Дата";
    QTest::newRow("date head, English") << en << 0 << "Дата0" << "Date";
    QTest::newRow("time head") << en << 0 << "Время0" << "Time";
    QTest::newRow("dynamic head") << en << 0 << "ДинМодуль0" << "Din.modulus";
    QTest::newRow("dynamic head, Russian") << ru << 0 << "ДинМодуль0" << "Дин.модуль";
    QTest::newRow("static head") << en << 0 << "СтатМодуль0" << "Stat.modulus";
    QTest::newRow("static head, Russian") << ru << 0 << "СтатМодуль0" << "Стат.модуль";
    QTest::newRow("material head") << en << 0 << "Материал0" << "Material";
    QTest::newRow("object head") << en << 0 << "Объект0" << "Object";
    QTest::newRow("object head, Russian") << ru << 0 << "Объект0" << "Объект";
    QTest::newRow("number, record 0") << ru << 0 << "№№" << "1/2";
    QTest::newRow("number, record 1") << en << 1 << "№№" << "2/5";
    QTest::newRow("date") << ru << 1 << "Дата" << "07.11.13";
    QTest::newRow("time") << ru << 0 << "Время" << "14:07:45";
    QTest::newRow("dynamic modulus") << ru << 1 << "ДинМодуль" << "83";
    QTest::newRow("static modulus") << ru << 0 << "СтатМодуль" << "41,5";
    QTest::newRow("material") << en << 0 << "Материал" << "Песок";
    QTest::newRow("object") << en << 1 << "Объект" << "Дорога";
    QTest::newRow("past the last row") << ru << 2 << "Объект" << "";
    // Other names leave the engine's value alone.
    QTest::newRow("lower case") << ru << 0 << "дата" << "kept";
    QTest::newRow("trailing blank") << ru << 0 << "Дата " << "kept";
    QTest::newRow("part of a name") << ru << 0 << "Дат" << "kept";
    QTest::newRow("page number") << ru << 0 << "PAGE#" << "kept";
    QTest::newRow("empty") << ru << 0 << "" << "kept";
}

void TestModulusReport::variables()
{
    QFETCH(Language, language);
    QFETCH(int, record);
    QFETCH(QString, name);
    QFETCH(QString, value);
    ModulusReport report(table1({{"1/2", "06.11.13", "14:07:45", "81,5", "41,5", "Песок", "Road 7"},
                                 {"2/5", "07.11.13", "09:00:00", "83", "42", "Глина", "Дорога"}}),
                         language);
    report.frxUserDataSet1.first();
    for (int r = 0; r < record; ++r)
        report.frxUserDataSet1.next();
    QString got = QStringLiteral("kept");
    report.getValue(name, got);
    QCOMPARE(got, value);
}

void TestModulusReport::dataSetCountsTableRows()
{
    ModulusReport report(table1(numberedRows(3)), Language::Russian);
    UserDataSet &data = report.frxUserDataSet1;
    QCOMPARE(data.name(), QStringLiteral("frxUserDataSet1"));
    data.first();
    QCOMPARE(data.recordCount, 3); // RowCount − 2
    int records = 0;
    for (; !data.eof(); data.next())
        ++records;
    QCOMPARE(records, 3);
}

void TestModulusReport::pagination_data()
{
    QTest::addColumn<int>("series");
    QTest::addColumn<QList<int>>("recordsPerPage");

    // A4 less 5 mm at the top and 10 at the bottom leaves 282 mm: the first
    // page takes the 20 mm title, the 5 mm heads and 51 lines of 5 mm; the
    // others the heads, 53 lines and the 10 mm footer.
    QTest::newRow("one series") << 1 << QList<int>{1};
    QTest::newRow("one full page") << 51 << QList<int>{51};
    QTest::newRow("two pages") << 52 << QList<int>{51, 1};
    QTest::newRow("two full pages") << 104 << QList<int>{51, 53};
    QTest::newRow("three pages") << 105 << QList<int>{51, 53, 1};
}

void TestModulusReport::pagination()
{
    QFETCH(int, series);
    QFETCH(QList<int>, recordsPerPage);
    ModulusReport report(table1(numberedRows(series)), Language::English);
    const PreparedReport prepared = report.prepare();

    QCOMPARE(prepared.pages.size(), recordsPerPage.size());
    for (qsizetype page = 0; page < prepared.pages.size(); ++page) {
        const QList<PreparedBand> &bands = prepared.pages[page].bands;
        int records = 0;
        QStringList footers;
        for (const PreparedBand &band : bands) {
            records += band.kind == BandKind::MasterData;
            if (band.kind == BandKind::PageFooter)
                footers << textsOf(band.texts);
        }
        QCOMPARE(records, recordsPerPage[page]);
        QCOMPARE(bands.first().kind, page == 0 ? BandKind::ReportTitle : BandKind::PageHeader);
        // No page number on the first page; "- N -" closes every other one.
        QCOMPARE(footers, page == 0 ? QStringList() : QStringList{QStringLiteral("- %1 -").arg(page + 1)});
        if (page > 0)
            QCOMPARE(bands.last().texts[0].box, QRectF(20, 277, 185, 10));
    }
}

void TestModulusReport::layoutOnA4()
{
    ModulusReport report(table1(numberedRows(1)), Language::English);
    const PreparedReport prepared = report.prepare();
    QCOMPARE(prepared.page.paper, QSizeF(210, 297));
    QCOMPARE(prepared.page.margins, QMarginsF(20, 5, 5, 10));
    QCOMPARE(prepared.fontFamily, QStringLiteral("Times New Roman"));

    const QList<PreparedBand> &bands = prepared.pages[0].bands;
    QCOMPARE(bands.size(), 3);
    const ReportText &title = bands[0].texts.value(0);
    QCOMPARE(title.box, QRectF(20, 5, 185, 20));
    QCOMPARE(title.pointSize, 14.0);
    QVERIFY(!title.framed);

    const QList<qreal> lefts{0, 15, 39, 63, 89, 113, 150};
    const QList<qreal> widths{15, 24, 24, 26, 24, 37, 35};
    for (int band = 1; band < 3; ++band) {
        QList<QRectF> cells;
        for (int column = 0; column < 7; ++column)
            cells << QRectF(20 + lefts[column], 25 + 5 * (band - 1), widths[column], 5);
        QCOMPARE(boxesOf(bands[band].texts), cells);
        for (const ReportText &text : bands[band].texts) {
            QVERIFY(text.framed);
            QCOMPARE(text.pointSize, 10.0);
        }
    }
    QCOMPARE(bands[2].texts.last().box.right(), 205.0); // the 18.5 cm printable width
}

void TestModulusReport::reportsTable1AsShown_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("title");
    QTest::addColumn<QStringList>("heads");

    QTest::newRow("Russian") << Language::Russian << QStringList{"Измеренные значения модуля упругости"}
                             << QStringList{"№", "Дата", "Время", "Дин.модуль", "Стат.модуль", "Материал", "Объект"};
    QTest::newRow("English") << Language::English << QStringList{"Meassured elastic modulus values"}
                             << QStringList{"№", "Date", "Time", "Din.modulus", "Stat.modulus", "Material", "Object"};
}

void TestModulusReport::reportsTable1AsShown()
{
    QFETCH(Language, language);
    QFETCH(QStringList, title);
    QFETCH(QStringList, heads);
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2, 1, 3});
    const QList<QStringList> grid = seriesTableGrid(*store, language);

    ModulusReport report(grid, language);
    const ReportContent content = reportContent(report.prepare());
    QCOMPARE(textsOf(content.title), title);
    QCOMPARE(textsOf(content.heads), heads);
    QCOMPARE(content.records.size(), 3);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(textsOf(content.records[r]), grid[r + 2]);
}

QTEST_GUILESS_MAIN(TestModulusReport)
#include "tst_modulus_report.moc"
