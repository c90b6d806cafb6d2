#include "evaluation/group_trend.h"
#include "evaluation/series_values.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QTest>

#include <limits>

using namespace kvt;
using kvt::testing::SeriesContent;

using SeriesList = QList<SeriesContent>;
using Rules = QList<RequirementRule>;
using Points = QList<TrendPoint>;
using Values = QList<double>;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

const float Nan = std::numeric_limits<float>::quiet_NaN();

// A series of one impact.
SeriesContent series(const QString &object, const QString &material, float dynamic, float statics = 40)
{
    return {object, material, {dynamic}, {statics}};
}

// The point of the series at this position (1, 2, 3 … in store order).
TrendPoint point(int position, double modulus, PointClass pointClass, std::optional<double> staticModulus = {})
{
    return {position, SeriesTableHeaderRows + position - 1, modulus, pointClass, staticModulus};
}

GroupTrend trendOf(const SeriesList &list, const Rules &rules, int group, Language language)
{
    MeasurementStore store;
    kvt::testing::fillStoreWith(store, list);
    const std::vector<SeriesValues> values = seriesValues(store);
    return groupTrend(values, groupStatistics(values, rules).at(group), language);
}

} // namespace

// The points of the statistics window's trend chart and their colours.
class TestGroupTrend : public QObject {
    Q_OBJECT
private slots:
    void points_data();
    void points();
    void texts_data();
    void texts();
};

void TestGroupTrend::points_data()
{
    QTest::addColumn<SeriesList>("list");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<int>("group"); // in groupStatistics' order
    QTest::addColumn<Points>("expected");
    QTest::addColumn<Values>("lines");

    const QString base = QStringLiteral("Несущий слой");
    const Rules rule85{{base, "", 85, {}, {}}};
    const SeriesList mixed{series(base, "Щебень", 90), series(base, "Песок", 70), series(base, "Щебень", 80),
                           series(base, "Щебень", Nan), series(base, "Щебень", 85)};
    QTest::newRow("passing, failing and NAN series among another material's")
        << mixed << rule85 << 0
        << Points{point(1, 90, PointClass::Meets), point(3, 80, PointClass::DoesNotMeet),
                  point(5, 85, PointClass::Meets)}
        << Values{85};
    QTest::newRow("the other material's group keeps its store position")
        << mixed << rule85 << 1 << Points{point(2, 70, PointClass::DoesNotMeet)} << Values{85};
    QTest::newRow("no rule: grey points, no line")
        << mixed << Rules{{"Road 7", "", 85, {}, {}}} << 0
        << Points{point(1, 90, PointClass::NotJudged), point(3, 80, PointClass::NotJudged),
                  point(5, 85, PointClass::NotJudged)}
        << Values{};
    // The static line is read against the static means, which the points then carry.
    QTest::newRow("a static requirement: its line, its means, and its NAN leaves the series unjudged")
        << SeriesList{series(base, "", 90, 50), series(base, "", 90, 30), series(base, "", 90, Nan)}
        << Rules{{base, "", 85, 40, {}}} << 0
        << Points{point(1, 90, PointClass::Meets, 50), point(2, 90, PointClass::DoesNotMeet, 30),
                  point(3, 90, PointClass::NotJudged)}
        << Values{85, 40};
    QTest::newRow("judged as Table 1 shows it: 84,96 reads 85")
        << SeriesList{series(base, "", 84.96f)} << rule85 << 0 << Points{point(1, 85, PointClass::Meets)}
        << Values{85};
    QTest::newRow("names differing in case and blanks are one group")
        << SeriesList{series(base, "Щебень", 90), series(" несущий СЛОЙ ", "щебень ", 60)} << rule85 << 0
        << Points{point(1, 90, PointClass::Meets), point(2, 60, PointClass::DoesNotMeet)} << Values{85};
    QTest::newRow("only NAN series: no point, the requirement still drawn")
        << SeriesList{series(base, "", Nan), series(base, "", Nan)} << rule85 << 0 << Points{} << Values{85};
}

void TestGroupTrend::points()
{
    QFETCH(SeriesList, list);
    QFETCH(Rules, rules);
    QFETCH(int, group);
    QFETCH(Points, expected);
    QFETCH(Values, lines);

    const GroupTrend trend = trendOf(list, rules, group, Language::English);
    QCOMPARE(trend.points, expected);
    Values drawn;
    for (const TrendLine &line : trend.lines)
        drawn << line.value;
    QCOMPARE(drawn, lines);
}

void TestGroupTrend::texts_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("xTitle");
    QTest::addColumn<QString>("yTitle");
    QTest::addColumn<QString>("staticTitle");
    QTest::newRow("Russian") << Language::Russian
                             << QStringList{"Дин.модуль ≥ 85,5 МПа", "Стат.модуль ≥ 40 МПа"}
                             << "Серии в порядке таблицы 1" << "Дин.модуль, МПа" << "Стат.модуль, МПа";
    QTest::newRow("English") << Language::English
                             << QStringList{"Din.modulus ≥ 85,5 MPa", "Stat.modulus ≥ 40 MPa"}
                             << "Series in Table 1 order" << "Din.modulus, MPa" << "Stat.modulus, MPa";
}

void TestGroupTrend::texts()
{
    QFETCH(Language, language);
    QFETCH(QStringList, labels);
    QFETCH(QString, xTitle);
    QFETCH(QString, yTitle);
    QFETCH(QString, staticTitle);

    const GroupTrend trend =
        trendOf({series("Несущий слой", "", 90)}, {{"Несущий слой", "", 85.5, 40, {}}}, 0, language);
    QStringList drawn;
    QList<TrendAxis> axes;
    for (const TrendLine &line : trend.lines) {
        drawn << line.label;
        axes << line.axis;
    }
    QCOMPARE(drawn, labels);
    QCOMPARE(axes, (QList<TrendAxis>{TrendAxis::Dynamic, TrendAxis::Static}));
    QCOMPARE(trend.xTitle, xTitle);
    QCOMPARE(trend.yTitle, yTitle);
    QCOMPARE(trend.staticTitle, staticTitle);
    // Without a static requirement the chart has no static axis.
    QCOMPARE(trendOf({series("Несущий слой", "", 90)}, {{"Несущий слой", "", 85.5, {}, {}}}, 0, language).staticTitle,
             QString());
}

QTEST_GUILESS_MAIN(TestGroupTrend)
#include "tst_group_trend.moc"
