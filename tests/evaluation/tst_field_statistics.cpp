#include "evaluation/statistics_table.h"
#include "store_fixture.h"
#include "mainwindow/clipboard_texts.h"
#include "support/csv_text.h"

#include <QTest>

#include <cmath>
#include <memory>

using namespace kvt;
using kvt::testing::SeriesContent;

using SeriesList = QList<SeriesContent>;
using Rules = QList<RequirementRule>;
using Values = QList<double>;

namespace {

const float Nan = std::numeric_limits<float>::quiet_NaN();

// A series of one impact, or of impacts whose mean is exact.
SeriesContent series(const QString &object, const QString &material, QList<float> dynamic, QList<float> statics)
{
    return {object, material, std::move(dynamic), std::move(statics)};
}

RequirementRule rule(const QString &object, const QString &material, double dynamic,
                     std::optional<double> staticModulus = {}, std::optional<double> cv = {})
{
    return {object, material, dynamic, staticModulus, cv};
}

std::unique_ptr<MeasurementStore> storeOf(const SeriesList &list)
{
    auto store = std::make_unique<MeasurementStore>();
    kvt::testing::fillStoreWith(*store, list);
    return store;
}

// The expected figures, from the textbook formulas.
void verifyModulus(const ModulusStatistics &actual, const Values &values, int leftOut)
{
    QCOMPARE(actual.values, int(values.size()));
    QCOMPARE(actual.leftOut, leftOut);
    if (values.isEmpty()) {
        QVERIFY(!actual.mean && !actual.minimum && !actual.maximum && !actual.deviation && !actual.cvPercent);
        return;
    }
    double sum = 0;
    for (double v : values)
        sum += v;
    const double mean = sum / values.size();
    QVERIFY(actual.mean && qFuzzyCompare(*actual.mean, mean));
    QCOMPARE(*actual.minimum, *std::min_element(values.begin(), values.end()));
    QCOMPARE(*actual.maximum, *std::max_element(values.begin(), values.end()));
    if (values.size() == 1) {
        QVERIFY(!actual.deviation && !actual.cvPercent);
        return;
    }
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    const double deviation = std::sqrt(squares / (values.size() - 1));
    QVERIFY(actual.deviation && std::abs(*actual.deviation - deviation) < 1e-9);
    QVERIFY(actual.cvPercent && std::abs(*actual.cvPercent - deviation / mean * 100) < 1e-9);
}

} // namespace

class TestFieldStatistics : public QObject {
    Q_OBJECT
private slots:
    void groups_data();
    void groups();
    void groupsInOrderOfFirstSeries();
    void emptyStore();
    void tableTexts_data();
    void tableTexts();
    void clipboardAndCsv();
    void requirementReadsAsJudged_data();
    void requirementReadsAsJudged();
};

void TestFieldStatistics::groups_data()
{
    QTest::addColumn<SeriesList>("store");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<int>("group");          // the group looked at
    QTest::addColumn<int>("seriesCount");
    QTest::addColumn<Values>("dynamic");     // the series' dynamic means that count
    QTest::addColumn<int>("dynamicLeftOut");
    QTest::addColumn<Values>("statics");
    QTest::addColumn<int>("staticLeftOut");
    QTest::addColumn<int>("judged");
    QTest::addColumn<int>("meeting");
    QTest::addColumn<Verdict>("verdict");

    const QString layer = QStringLiteral("Несущий слой");
    const QString stone = QStringLiteral("Щебень");
    const QString sand = QStringLiteral("Песок");

    QTest::newRow("one series: no spread")
        << SeriesList{series(layer, stone, {80, 90}, {40, 41})} << Rules{rule(layer, "", 85)} << 0 << 1
        << Values{85} << 0 << Values{40.5} << 0 << 1 << 1 << Verdict::Meets;
    QTest::newRow("one series cannot show its spread against a CV limit")
        << SeriesList{series(layer, stone, {90}, {40})} << Rules{rule(layer, "", 85, {}, 50)} << 0 << 1
        << Values{90} << 0 << Values{40} << 0 << 1 << 1 << Verdict::DoesNotMeet;
    QTest::newRow("equal values: zero spread within a CV limit of 0")
        << SeriesList{series(layer, stone, {90}, {40}), series(layer, stone, {90}, {40}),
                      series(layer, stone, {90}, {40})}
        << Rules{rule(layer, "", 90, 40, 0)} << 0 << 3 << Values{90, 90, 90} << 0 << Values{40, 40, 40} << 0 << 3
        << 3 << Verdict::Meets;
    QTest::newRow("exactly at the requirements meets")
        << SeriesList{series(layer, stone, {85}, {40}), series(layer, stone, {95}, {50})}
        << Rules{rule(layer, "", 85, 40)} << 0 << 2 << Values{85, 95} << 0 << Values{40, 50} << 0 << 2 << 2
        << Verdict::Meets;
    QTest::newRow("a tenth below does not")
        << SeriesList{series(layer, stone, {84.9f}, {40}), series(layer, stone, {95}, {50})}
        << Rules{rule(layer, "", 85)} << 0 << 2 << Values{84.9, 95} << 0 << Values{40, 50} << 0 << 2 << 1
        << Verdict::DoesNotMeet;
    QTest::newRow("judged as Table 1 shows it: 84,96 reads 85")
        << SeriesList{series(layer, stone, {84.96f}, {40})} << Rules{rule(layer, "", 85)} << 0 << 1 << Values{85}
        << 0 << Values{40} << 0 << 1 << 1 << Verdict::Meets;
    QTest::newRow("static modulus below its requirement")
        << SeriesList{series(layer, stone, {100}, {39.9f}), series(layer, stone, {100}, {45})}
        << Rules{rule(layer, "", 85, 40)} << 0 << 2 << Values{100, 100} << 0 << Values{39.9, 45} << 0 << 2 << 1
        << Verdict::DoesNotMeet;
    QTest::newRow("spread above the largest CV")
        << SeriesList{series(layer, stone, {80}, {40}), series(layer, stone, {120}, {40})}
        << Rules{rule(layer, "", 70, {}, 10)} << 0 << 2 << Values{80, 120} << 0 << Values{40, 40} << 0 << 2 << 2
        << Verdict::DoesNotMeet;
    QTest::newRow("NAN means left out and counted")
        << SeriesList{series(layer, stone, {90, Nan}, {40, 40}), series(layer, stone, {95}, {Nan}),
                      series(layer, stone, {100}, {50})}
        << Rules{rule(layer, "", 85)} << 0 << 3 << Values{95, 100} << 1 << Values{40, 50} << 1 << 2 << 2
        << Verdict::Meets;
    QTest::newRow("a NAN static mean leaves the series unjudged under a static rule")
        << SeriesList{series(layer, stone, {60}, {Nan}), series(layer, stone, {95}, {50})}
        << Rules{rule(layer, "", 85, 40)} << 0 << 2 << Values{60, 95} << 0 << Values{50} << 1 << 1 << 1
        << Verdict::Meets;
    QTest::newRow("every mean NAN: nothing shows the requirement met")
        << SeriesList{series(layer, stone, {Nan}, {Nan})} << Rules{rule(layer, "", 85)} << 0 << 1 << Values{} << 1
        << Values{} << 1 << 0 << 0 << Verdict::DoesNotMeet;
    QTest::newRow("group without a rule")
        << SeriesList{series(layer, stone, {90}, {40}), series("Road 7", sand, {50}, {20})}
        << Rules{rule(layer, "", 85)} << 1 << 1 << Values{50} << 0 << Values{20} << 0 << 0 << 0 << Verdict::NoRule;
    QTest::newRow("material rule wins over the object's")
        << SeriesList{series(layer, sand, {90}, {40}), series(layer, stone, {90}, {40})}
        << Rules{rule(layer, "", 100), rule(layer, sand, 80)} << 0 << 1 << Values{90} << 0 << Values{40} << 0 << 1
        << 1 << Verdict::Meets;
    QTest::newRow("the object's rule for the other material")
        << SeriesList{series(layer, sand, {90}, {40}), series(layer, stone, {90}, {40})}
        << Rules{rule(layer, "", 100), rule(layer, sand, 80)} << 1 << 1 << Values{90} << 0 << Values{40} << 0 << 1
        << 0 << Verdict::DoesNotMeet;
    QTest::newRow("names differing in case and blanks are one group")
        << SeriesList{series(layer, stone, {90}, {40}), series("несущий слой ", "ЩЕБЕНЬ", {100}, {50})}
        << Rules{rule(layer, "", 85)} << 0 << 2 << Values{90, 100} << 0 << Values{40, 50} << 0 << 2 << 2
        << Verdict::Meets;
}

void TestFieldStatistics::groups()
{
    QFETCH(SeriesList, store);
    QFETCH(Rules, rules);
    QFETCH(int, group);
    QFETCH(int, seriesCount);
    QFETCH(Values, dynamic);
    QFETCH(int, dynamicLeftOut);
    QFETCH(Values, statics);
    QFETCH(int, staticLeftOut);
    QFETCH(int, judged);
    QFETCH(int, meeting);
    QFETCH(Verdict, verdict);

    const QList<GroupStatistics> groups = groupStatistics(seriesValues(*storeOf(store)), rules);
    QVERIFY(group < groups.size());
    const GroupStatistics &g = groups[group];
    QCOMPARE(g.seriesCount, seriesCount);
    verifyModulus(g.dynamicModulus, dynamic, dynamicLeftOut);
    verifyModulus(g.staticModulus, statics, staticLeftOut);
    QCOMPARE(g.judged, judged);
    QCOMPARE(g.meeting, meeting);
    QCOMPARE(g.verdict, verdict);
    QCOMPARE(g.rule.has_value(), verdict != Verdict::NoRule);
    if (judged > 0)
        QCOMPARE(g.sharePercent, std::optional<double>(100.0 * meeting / judged));
    else
        QVERIFY(!g.sharePercent);
}

void TestFieldStatistics::groupsInOrderOfFirstSeries()
{
    const auto store = storeOf({series("B", "x", {1}, {1}), series("A", "x", {2}, {2}), series("B", "y", {3}, {3}),
                                series("B", "x", {4}, {4})});
    const QList<GroupStatistics> groups = groupStatistics(seriesValues(*store), {});
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0].object + groups[0].material, "Bx");
    QCOMPARE(groups[0].seriesCount, 2);
    QCOMPARE(groups[1].object + groups[1].material, "Ax");
    QCOMPARE(groups[2].object + groups[2].material, "By");
}

void TestFieldStatistics::emptyStore()
{
    const auto store = std::make_unique<MeasurementStore>();
    const QList<GroupStatistics> groups = groupStatistics(seriesValues(*store), {rule("A", "", 1)});
    QVERIFY(groups.isEmpty());
    QCOMPARE(statisticsGrid(groups, Language::English).size(), 1);
}

void TestFieldStatistics::tableTexts_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QList<QStringList>>("grid");

    QTest::newRow("English") << Language::English
        << QList<QStringList>{
               {"Object", "Material", "Series", "Din.modulus, mean, MPa", "Din.modulus, min, MPa",
                "Din.modulus, max, MPa", "Din.modulus, SD, MPa", "Din.modulus, CV, %", "Din.modulus, left out (NAN)",
                "Stat.modulus, mean, MPa", "Stat.modulus, min, MPa", "Stat.modulus, max, MPa", "Stat.modulus, SD, MPa",
                "Stat.modulus, CV, %", "Stat.modulus, left out (NAN)", "Din.modulus, required, MPa",
                "Stat.modulus, required, MPa", "Largest CV, %", "Meeting, series", "Share meeting, %", "Verdict"},
               {"Несущий слой", "Щебень", "3", "90,0", "80,0", "100,0", "10,0", "11,1", "0", "42,5", "40,0", "45,0",
                "3,5", "8,3", "1", "85", "", "12,5", "2", "67", "does not meet"},
               {"Road 7", "Песок", "1", "50,5", "50,5", "50,5", "", "", "0", "", "", "", "", "", "1", "", "", "", "",
                "", "no rule"}};
    QTest::newRow("Russian") << Language::Russian
        << QList<QStringList>{
               {"Объект", "Материал", "Серий", "Дин.модуль, среднее, МПа", "Дин.модуль, мин., МПа",
                "Дин.модуль, макс., МПа", "Дин.модуль, СКО, МПа", "Дин.модуль, КВ, %", "Дин.модуль, не учтено (NAN)",
                "Стат.модуль, среднее, МПа", "Стат.модуль, мин., МПа", "Стат.модуль, макс., МПа",
                "Стат.модуль, СКО, МПа", "Стат.модуль, КВ, %", "Стат.модуль, не учтено (NAN)",
                "Дин.модуль, требуется, МПа", "Стат.модуль, требуется, МПа", "Наибольший КВ, %",
                "Соответствуют, серий", "Доля соответствующих, %", "Заключение"},
               {"Несущий слой", "Щебень", "3", "90,0", "80,0", "100,0", "10,0", "11,1", "0", "42,5", "40,0", "45,0",
                "3,5", "8,3", "1", "85", "", "12,5", "2", "67", "не соответствует"},
               {"Road 7", "Песок", "1", "50,5", "50,5", "50,5", "", "", "0", "", "", "", "", "", "1", "", "", "", "",
                "", "нет требования"}};
}

void TestFieldStatistics::tableTexts()
{
    QFETCH(Language, language);
    QFETCH(QList<QStringList>, grid);

    // Dynamic 80, 90, 100: SD 10, CV 11,1 %; static 40, 45 and a NAN: SD 3,54, CV 8,3 %.
    const auto store = storeOf({series("Несущий слой", "Щебень", {80}, {40}), series("Road 7", "Песок", {50.5f}, {Nan}),
                                series("Несущий слой", "Щебень", {90}, {Nan}),
                                series("Несущий слой", "Щебень", {100}, {45})});
    const Rules rules{rule("Несущий слой", "", 85, {}, 12.5)};
    QCOMPARE(statisticsGrid(groupStatistics(seriesValues(*store), rules), language), grid);
}

void TestFieldStatistics::clipboardAndCsv()
{
    const auto store = storeOf({series("=A;", "x", {85}, {40}), series("=A;", "x", {95}, {50})});
    const QList<QStringList> grid =
        statisticsGrid(groupStatistics(seriesValues(*store), {rule("=A;", "", 85, 40)}), Language::English);
    const QString row =
        "=A;\tx\t2\t90,0\t85,0\t95,0\t7,1\t7,9\t0\t45,0\t40,0\t50,0\t7,1\t15,7\t0\t85\t40\t\t2\t100\tmeets";

    const QStringList lines = tableText(grid).split("\r\n");
    QCOMPARE(lines.size(), 3); // the header, the group, and nothing after the last line end
    QCOMPARE(lines[0].count(u'\t'), StatisticsColumns - 1);
    QCOMPARE(lines[1], row);
    QCOMPARE(lines[2], QString());

    const QByteArray csv = csvBytes(grid);
    QVERIFY(csv.startsWith("\xEF\xBB\xBFObject;Material;Series;Din.modulus, mean, MPa;"));
    QVERIFY(csv.endsWith("\r\n\"'=A;\";x;2;90,0;85,0;95,0;7,1;7,9;0;45,0;40,0;50,0;7,1;15,7;0;85;40;;2;100;meets\r\n"));
}

void TestFieldStatistics::requirementReadsAsJudged_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QStringList>("required"); // dynamic, static, largest CV
    QTest::addColumn<QString>("verdict");

    // Two series of 140,0 and 40,0: a CV of 0.
    QTest::newRow("a hundredth above the mean")
        << Rules{rule("Слой", "", 140.04, 40.25, 10.05)} << QStringList{"140,04", "40,25", "10,05"} << "does not meet";
    QTest::newRow("whole numbers") << Rules{rule("Слой", "", 140, 40, 10)} << QStringList{"140", "40", "10"}
                                   << "meets";
    QTest::newRow("a tenth") << Rules{rule("Слой", "", 139.9, {}, 0.5)} << QStringList{"139,9", "", "0,5"}
                             << "meets";
}

// What the table shows of a rule is what it judges with: a rule of 140,04
// shown as "140" would read as met by a mean of 140,0 while the verdict says not.
void TestFieldStatistics::requirementReadsAsJudged()
{
    QFETCH(Rules, rules);
    QFETCH(QStringList, required);
    QFETCH(QString, verdict);

    const auto store = storeOf({series("Слой", "Щебень", {140}, {40}), series("Слой", "Щебень", {140}, {40})});
    const QList<QStringList> grid = statisticsGrid(groupStatistics(seriesValues(*store), rules), Language::English);
    QCOMPARE(grid[1].mid(15, 3), required);
    QCOMPARE(grid[1].last(), verdict);
    QVERIFY(csvBytes(grid).contains((";" + required.join(u';') + ";").toUtf8()));
}

QTEST_GUILESS_MAIN(TestFieldStatistics)
#include "tst_field_statistics.moc"
