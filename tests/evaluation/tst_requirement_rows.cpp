#include "evaluation/requirement_rows.h"

#include <QTest>

using namespace kvt;

using Rules = QList<RequirementRule>;
using Rows = QList<RequirementRow>;
using Names = QStringList;

namespace QTest {
template <> char *toString(const RequirementRule &rule)
{
    return qstrdup(QStringLiteral("{%1 | %2 | %3 | %4 | %5}")
                       .arg(rule.object, rule.material, QString::number(rule.dynamicModulus),
                            rule.staticModulus ? QString::number(*rule.staticModulus) : QStringLiteral("-"),
                            rule.largestCvPercent ? QString::number(*rule.largestCvPercent) : QStringLiteral("-"))
                       .toUtf8()
                       .constData());
}
} // namespace QTest

// The requirements editor without its window: what the typed rows become, which
// row is at fault, and the names it offers.
class TestRequirementRows : public QObject {
    Q_OBJECT
private slots:
    void check_data();
    void check();
    void rulesShownAsTheyWereTyped_data();
    void rulesShownAsTheyWereTyped();
    void problemTexts_data();
    void problemTexts();
    void namesTheInstrumentCannotHold_data();
    void namesTheInstrumentCannotHold();
    void choices_data();
    void choices();
};

void TestRequirementRows::check_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<int>("faultyRow"); // −1: none
    QTest::addColumn<int>("faultyColumn");

    const int object = int(RequirementColumn::Object), dynamic = int(RequirementColumn::Dynamic),
              statics = int(RequirementColumn::Static), cv = int(RequirementColumn::LargestCv);
    const RequirementRow layer{"Несущий слой", "", "85", "", ""};

    QTest::newRow("every field, decimal comma")
        << Rows{{"Несущий слой", "Щебень", "140,5", "60,25", "12,5"}}
        << Rules{{"Несущий слой", "Щебень", 140.5, 60.25, 12.5}} << -1 << 0;
    QTest::newRow("decimal point") << Rows{{"Road 7", "Sand", "140.5", "60.25", "12.5"}}
                                   << Rules{{"Road 7", "Sand", 140.5, 60.25, 12.5}} << -1 << 0;
    QTest::newRow("optional fields empty") << Rows{layer} << Rules{{"Несущий слой", "", 85, {}, {}}} << -1 << 0;
    QTest::newRow("blanks around names and numbers dropped")
        << Rows{{"  несущий слой ", " Щебень ", " 85 ", "  ", " "}} << Rules{{"несущий слой", "Щебень", 85, {}, {}}}
        << -1 << 0;
    QTest::newRow("zero is a requirement") << Rows{{"Объект 1", "", "0", "0", "0"}}
                                           << Rules{{"Объект 1", "", 0, 0.0, 0.0}} << -1 << 0;
    QTest::newRow("wholly empty rows are skipped")
        << Rows{{}, layer, {" ", "", " ", "", ""}} << Rules{{"Несущий слой", "", 85, {}, {}}} << -1 << 0;
    QTest::newRow("no rows, no rules") << Rows{} << Rules{} << -1 << 0;
    QTest::newRow("the order is kept")
        << Rows{layer, {"Несущий слой", "Щебень", "120", "", "20"}}
        << Rules{{"Несущий слой", "", 85, {}, {}}, {"Несущий слой", "Щебень", 120, {}, 20.0}} << -1 << 0;

    QTest::newRow("material without object") << Rows{{"", "Щебень", "85", "", ""}} << Rules{} << 0 << object;
    QTest::newRow("object of blanks") << Rows{{"   ", "", "85", "", ""}} << Rules{} << 0 << object;
    QTest::newRow("dynamic missing") << Rows{{"Несущий слой", "", "", "40", ""}} << Rules{} << 0 << dynamic;
    QTest::newRow("dynamic negative") << Rows{{"Несущий слой", "", "-5", "", ""}} << Rules{} << 0 << dynamic;
    QTest::newRow("dynamic not a number") << Rows{{"Несущий слой", "", "сто", "", ""}} << Rules{} << 0 << dynamic;
    QTest::newRow("dynamic with two commas") << Rows{{"Несущий слой", "", "1,2,3", "", ""}} << Rules{} << 0
                                             << dynamic;
    QTest::newRow("dynamic with a unit") << Rows{{"Несущий слой", "", "85 МПа", "", ""}} << Rules{} << 0 << dynamic;
    QTest::newRow("dynamic infinite") << Rows{{"Несущий слой", "", "inf", "", ""}} << Rules{} << 0 << dynamic;
    QTest::newRow("static not a number") << Rows{{"Несущий слой", "", "85", "x", ""}} << Rules{} << 0 << statics;
    QTest::newRow("static negative") << Rows{{"Несущий слой", "", "85", "-0,1", ""}} << Rules{} << 0 << statics;
    QTest::newRow("largest CV not a number") << Rows{{"Несущий слой", "", "85", "", "10%"}} << Rules{} << 0 << cv;
    QTest::newRow("the first faulty row is named, counting empty ones")
        << Rows{layer, {}, {"Объект 2", "", "", "", ""}, {"", "", "1", "", ""}} << Rules{} << 2 << dynamic;
}

void TestRequirementRows::check()
{
    QFETCH(Rows, rows);
    QFETCH(Rules, rules);
    QFETCH(int, faultyRow);
    QFETCH(int, faultyColumn);

    const RequirementRowsCheck check = checkRequirementRows(rows);
    QCOMPARE(check.rules, rules);
    QCOMPARE(check.problem.has_value(), faultyRow >= 0);
    if (check.problem) {
        QCOMPARE(check.problem->row, faultyRow);
        QCOMPARE(int(check.problem->column), faultyColumn);
    }
}

void TestRequirementRows::rulesShownAsTheyWereTyped_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<Rows>("rows");

    QTest::newRow("decimal comma, every digit")
        << Rules{{"Несущий слой", "Щебень", 140.25, 60.5, 12.125}}
        << Rows{{"Несущий слой", "Щебень", "140,25", "60,5", "12,125"}};
    QTest::newRow("whole numbers, missing options empty")
        << Rules{{"Road 7", "", 85, {}, {}}, {"Road 7", "Sand", 0, 0.0, {}}}
        << Rows{{"Road 7", "", "85", "", ""}, {"Road 7", "Sand", "0", "0", ""}};
}

// What the editor shows is what OK keeps: opening and confirming changes nothing.
void TestRequirementRows::rulesShownAsTheyWereTyped()
{
    QFETCH(Rules, rules);
    QFETCH(Rows, rows);

    QCOMPARE(requirementRows(rules), rows);
    const RequirementRowsCheck check = checkRequirementRows(rows);
    QVERIFY(!check.problem);
    QCOMPARE(check.rules, rules);
}

void TestRequirementRows::problemTexts_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("object, ru") << int(RequirementColumn::Object) << Language::Russian
                                << "Строка 3: укажите объект.";
    QTest::newRow("object, en") << int(RequirementColumn::Object) << Language::English
                                << "Row 3: the object is missing.";
    QTest::newRow("dynamic, ru")
        << int(RequirementColumn::Dynamic) << Language::Russian
        << "Строка 3: требуемый динамический модуль должен быть числом не меньше 0 (МПа).";
    QTest::newRow("dynamic, en") << int(RequirementColumn::Dynamic) << Language::English
                                 << "Row 3: the required dynamic modulus must be a number of 0 or more (MPa).";
    QTest::newRow("static, en")
        << int(RequirementColumn::Static) << Language::English
        << "Row 3: the required static modulus must be empty or a number of 0 or more (MPa).";
    QTest::newRow("largest CV, ru") << int(RequirementColumn::LargestCv) << Language::Russian
                                    << "Строка 3: наибольший КВ должен быть пустым или числом не меньше 0 (%).";
}

void TestRequirementRows::problemTexts()
{
    QFETCH(int, column);
    QFETCH(Language, language);
    QFETCH(QString, text);

    QCOMPARE(requirementProblemText({2, RequirementColumn(column)}, language), text);
}

void TestRequirementRows::namesTheInstrumentCannotHold_data()
{
    QTest::addColumn<RequirementRow>("row");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text"); // empty: the row is a rule

    const QString name19 = QStringLiteral("Подстилающий слой 1");
    const QString name20 = QStringLiteral("Подстилающий слой 12");
    QTest::newRow("19 characters, as many as the instrument holds")
        << RequirementRow{name19, name19, "85", "", ""} << Language::English << QString();
    QTest::newRow("19 characters within blanks") << RequirementRow{"  " + name19 + " ", "", "85", "", ""}
                                                 << Language::English << QString();
    QTest::newRow("a 20-character object, en")
        << RequirementRow{name20, "", "85", "", ""} << Language::English
        << "Row 1: the object's name is longer than 19 characters, and the instrument's names are never longer: "
           "no series can match it.";
    QTest::newRow("a 20-character object, ru")
        << RequirementRow{name20, "", "85", "", ""} << Language::Russian
        << "Строка 1: название объекта длиннее 19 знаков, а в приборе названия не длиннее: ни одна серия ему не "
           "подойдёт.";
    QTest::newRow("a 20-character material, en")
        << RequirementRow{"Road 7", name20, "85", "", ""} << Language::English
        << "Row 1: the material's name is longer than 19 characters, and the instrument's names are never longer: "
           "no series can match it.";
    QTest::newRow("a 20-character material, ru")
        << RequirementRow{"Road 7", name20, "85", "", ""} << Language::Russian
        << "Строка 1: название материала длиннее 19 знаков, а в приборе названия не длиннее: ни одна серия ему не "
           "подойдёт.";
}

// A rule whose name no record can hold would never judge a series, and say nothing of it.
void TestRequirementRows::namesTheInstrumentCannotHold()
{
    QFETCH(RequirementRow, row);
    QFETCH(Language, language);
    QFETCH(QString, text);

    const RequirementRowsCheck check = checkRequirementRows({row});
    QCOMPARE(check.problem ? requirementProblemText(*check.problem, language) : QString(), text);
    QCOMPARE(check.rules.isEmpty(), !text.isEmpty());
    if (check.problem)
        QCOMPARE(check.problem->column, text.contains("material") || text.contains("материала")
                                            ? RequirementColumn::Material
                                            : RequirementColumn::Object);
}

void TestRequirementRows::choices_data()
{
    QTest::addColumn<Names>("storeObjects");
    QTest::addColumn<Names>("storeMaterials");
    QTest::addColumn<Names>("objectList");
    QTest::addColumn<Names>("materialList");
    QTest::addColumn<Names>("objects");
    QTest::addColumn<Names>("materials");

    QTest::newRow("store names first, then the list's")
        << Names{"Road 7", "Несущий слой"} << Names{"Щебень", "Песок"} << Names{"Не выбран", "Грунтовое основание"}
        << Names{"Глина"} << Names{"Road 7", "Несущий слой", "Не выбран", "Грунтовое основание"}
        << Names{"Щебень", "Песок", "Глина"};
    QTest::newRow("each name once, whatever its case and blanks")
        << Names{"Несущий слой ", "НЕСУЩИЙ СЛОЙ", "Road 7"} << Names{"Щебень", "щебень", "Щебень"}
        << Names{" несущий слой", "road 7", "Объект 1"} << Names{"ЩЕБЕНЬ"}
        << Names{"Несущий слой", "Road 7", "Объект 1"} << Names{"Щебень"};
    QTest::newRow("empty names and slots left out")
        << Names{"", "  "} << Names{""} << Names{"", "Объект 2", ""} << Names{"", ""} << Names{"Объект 2"}
        << Names{};
    QTest::newRow("empty store, empty lists") << Names{} << Names{} << Names{} << Names{} << Names{} << Names{};
}

void TestRequirementRows::choices()
{
    QFETCH(Names, storeObjects);
    QFETCH(Names, storeMaterials);
    QFETCH(Names, objectList);
    QFETCH(Names, materialList);
    QFETCH(Names, objects);
    QFETCH(Names, materials);

    std::vector<SeriesValues> series;
    for (qsizetype i = 0; i < qMax(storeObjects.size(), storeMaterials.size()); ++i)
        series.push_back({storeObjects.value(i), storeMaterials.value(i), 85.0, 40.0});
    const RequirementChoices choices = requirementChoices(series, objectList, materialList);
    QCOMPARE(choices.objects, objects);
    QCOMPARE(choices.materials, materials);
}

QTEST_GUILESS_MAIN(TestRequirementRows)
#include "tst_requirement_rows.moc"
