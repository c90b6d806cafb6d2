#include "evaluation/series_marks.h"

#include <QTest>

using namespace kvt;

using Rules = QList<RequirementRule>;
using OptionalValue = std::optional<double>;

class TestSeriesMarks : public QObject {
    Q_OBJECT
private slots:
    void marks_data();
    void marks();
    void tooltip_data();
    void tooltip();
};

void TestSeriesMarks::marks_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("material"); // of a series of "Несущий слой"
    QTest::addColumn<OptionalValue>("dynamic");
    QTest::addColumn<OptionalValue>("statics");
    QTest::addColumn<int>("rule"); // index into rules, −1 none
    QTest::addColumn<bool>("dynamicBelow");
    QTest::addColumn<bool>("staticBelow");

    const Rules rules{{"Несущий слой", "", 85, 40, {}}, {"Несущий слой", "Щебень", 120, {}, 20}};
    const Rules other{{"Road 7", "", 85, 40, {}}};
    QTest::newRow("both below")
        << rules << "Песок" << OptionalValue(84.9) << OptionalValue(39.9) << 0 << true << true;
    QTest::newRow("exactly at the requirements: unmarked")
        << rules << "Песок" << OptionalValue(85) << OptionalValue(40) << 0 << false << false;
    QTest::newRow("static only below")
        << rules << "Песок" << OptionalValue(90) << OptionalValue(30) << 0 << false << true;
    QTest::newRow("NAN means unmarked")
        << rules << "Песок" << OptionalValue() << OptionalValue() << 0 << false << false;
    QTest::newRow("no rule: unmarked")
        << other << "Песок" << OptionalValue(10) << OptionalValue(10) << -1 << false << false;
    QTest::newRow("the material's rule, without a static modulus")
        << rules << "Щебень" << OptionalValue(100) << OptionalValue(10) << 1 << true << false;
}

void TestSeriesMarks::marks()
{
    QFETCH(Rules, rules);
    QFETCH(QString, material);
    QFETCH(OptionalValue, dynamic);
    QFETCH(OptionalValue, statics);
    QFETCH(int, rule);
    QFETCH(bool, dynamicBelow);
    QFETCH(bool, staticBelow);

    const SeriesMarks marks = seriesMarks({"Несущий слой", material, dynamic, statics}, rules);
    QCOMPARE(marks.rule, rule < 0 ? std::optional<RequirementRule>() : std::optional(rules[rule]));
    QCOMPARE(marks.dynamicBelow, dynamicBelow);
    QCOMPARE(marks.staticBelow, staticBelow);
}

void TestSeriesMarks::tooltip_data()
{
    QTest::addColumn<RequirementRule>("rule");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");

    const RequirementRule full{"Несущий слой", "Щебень", 140.5, 60, 12.5};
    const RequirementRule plain{"Несущий слой", " ", 85, {}, {}};
    QTest::newRow("every part, English")
        << full << Language::English
        << "Requirement for Несущий слой, Щебень: Din.modulus ≥ 140,5 MPa, Stat.modulus ≥ 60 MPa, CV ≤ 12,5 %";
    QTest::newRow("every part, Russian")
        << full << Language::Russian
        << "Требование для Несущий слой, Щебень: Дин.модуль ≥ 140,5 МПа, Стат.модуль ≥ 60 МПа, КВ ≤ 12,5 %";
    QTest::newRow("object-wide, dynamic only") << plain << Language::English
                                               << "Requirement for Несущий слой, every material: Din.modulus ≥ 85 MPa";
    // Rounded to "140" the rule would seem met by a series of 140,0.
    QTest::newRow("the decimals the rule was given")
        << RequirementRule{"Несущий слой", "", 140.04, 40.25, 10.05} << Language::English
        << "Requirement for Несущий слой, every material: Din.modulus ≥ 140,04 MPa, Stat.modulus ≥ 40,25 MPa, "
           "CV ≤ 10,05 %";
    QTest::newRow("object-wide, Russian") << plain << Language::Russian
                                          << "Требование для Несущий слой, любой материал: Дин.модуль ≥ 85 МПа";
}

void TestSeriesMarks::tooltip()
{
    QFETCH(RequirementRule, rule);
    QFETCH(Language, language);
    QFETCH(QString, text);

    QCOMPARE(ruleText(rule, language), text);
}

QTEST_GUILESS_MAIN(TestSeriesMarks)
#include "tst_series_marks.moc"
