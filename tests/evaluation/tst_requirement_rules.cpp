#include "evaluation/requirement_settings.h"
#include "support/windows1251.h"
#include "test_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvt;

using Rules = QList<RequirementRule>;

namespace {

RequirementRule rule(const QString &object, const QString &material, double dynamic,
                     std::optional<double> staticModulus = {}, std::optional<double> cv = {})
{
    return {object, material, dynamic, staticModulus, cv};
}

} // namespace

class TestRequirementRules : public QObject {
    Q_OBJECT
private slots:
    void choosesRule_data();
    void choosesRule();
    void roundTrip_data();
    void roundTrip();
    void shorterListLeavesNoOldKeys();
    void lineBreakInANameChangesNoRule();
    void readsWrittenByHand_data();
    void readsWrittenByHand();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir dir;
    int files = 0;
};

QString TestRequirementRules::write(const QByteArray &bytes)
{
    return kvt::testing::writeTestFile(dir.filePath(QString::number(++files) + ".ini"), bytes);
}

void TestRequirementRules::choosesRule_data()
{
    QTest::addColumn<Rules>("rules");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("material");
    QTest::addColumn<int>("chosen"); // index into rules, −1 none

    const Rules both{rule("Несущий слой", "", 100), rule("Несущий слой", "Щебень", 140)};
    QTest::newRow("object-wide rule for any material") << both << "Несущий слой" << "Песок" << 0;
    QTest::newRow("material rule wins") << both << "Несущий слой" << "Щебень" << 1;
    QTest::newRow("material rule wins, listed first")
        << Rules{both[1], both[0]} << "Несущий слой" << "Щебень" << 0;
    QTest::newRow("material rule alone, other material") << Rules{both[1]} << "Несущий слой" << "Песок" << -1;
    QTest::newRow("other object") << both << "Подстилающий грунт" << "Щебень" << -1;
    QTest::newRow("case and surrounding blanks ignored") << both << " несущий СЛОЙ " << "щебень " << 1;
    QTest::newRow("inner blanks count") << both << "Несущий  слой" << "Щебень" << -1;
    QTest::newRow("blank material in a rule is no material")
        << Rules{rule("Road 7", "  ", 90)} << "Road 7" << "Песок" << 0;
    QTest::newRow("first of two equal rules") << Rules{rule("A", "", 1), rule("a", "", 2)} << "A" << "" << 0;
    QTest::newRow("no rules") << Rules{} << "A" << "B" << -1;
}

void TestRequirementRules::choosesRule()
{
    QFETCH(Rules, rules);
    QFETCH(QString, object);
    QFETCH(QString, material);
    QFETCH(int, chosen);

    const RequirementRule *found = findRule(rules, object, material);
    QCOMPARE(found ? int(found - rules.constData()) : -1, chosen);
}

void TestRequirementRules::roundTrip_data()
{
    QTest::addColumn<QByteArray>("before"); // the settings file before the rules are written
    QTest::addColumn<Rules>("rules");

    const Rules cyrillic{rule("Несущий слой", "", 120, {}, 25), rule("Несущий слой", "Щебень", 140.5, 60.25),
                         rule("Подстилающий грунт", "Суглинок", 45, 20, 30)};
    QTest::newRow("new file") << QByteArray() << cyrillic;
    QTest::newRow("UTF-8 file") << QByteArray("[Config]\nLangId=Rus\nLastReadPath=/дом/\n") << cyrillic;
    QTest::newRow("Windows-1251 file from an older program")
        << QByteArray("[Config]\r\nLastReadPath=C:\\" + toWindows1251(u"Замеры") + "\r\n") << cyrillic;
    QTest::newRow("names with = ; [ and quotes")
        << QByteArray() << Rules{rule("a=b; [c]", "\"Щ\" x", 1.5), rule("Ёлка", "ёж", 0)};
    QTest::newRow("no rules") << QByteArray("[Requirements]\nLayout=1\nCount=1\nObject1=A\nDynamic1=1\n") << Rules{};
}

void TestRequirementRules::roundTrip()
{
    QFETCH(QByteArray, before);
    QFETCH(Rules, rules);

    const QString path = write(before);
    SettingsFile settings(path);
    QVERIFY(writeRequirementRules(settings, rules));
    QCOMPARE(readRequirementRules(SettingsFile(path)), std::optional<Rules>(rules));
    if (!before.isEmpty()) {
        // The other sections keep their values.
        QCOMPARE(settings.readString(u"Config", u"LastReadPath", "none", 256),
                 SettingsFile(write(before)).readString(u"Config", u"LastReadPath", "none", 256));
    }
}

void TestRequirementRules::shorterListLeavesNoOldKeys()
{
    const QString path = write("[Config]\nUses=3\n");
    SettingsFile settings(path);
    QVERIFY(writeRequirementRules(settings, {rule("A", "", 1), rule("B", "x", 2, 3, 4)}));
    QVERIFY(writeRequirementRules(settings, {rule("C", "", 5)}));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Config]\nUses=3\n[Requirements]\nLayout=1\nCount=1\nObject1=C\nMaterial1=\n"
                                        "Dynamic1=5\nStatic1=\nLargestCv1=\n"));
}

void TestRequirementRules::lineBreakInANameChangesNoRule()
{
    // Names come from measurement files, which can hold any bytes.
    const QString path = write("[Config]\r\nUses=3\r\n");
    SettingsFile settings(path);
    QVERIFY(writeRequirementRules(settings, {rule("Base\nDynamic1=0", "", 120), rule("B", "x\r\nCount=0", 90, 40)}));
    QCOMPARE(readRequirementRules(settings),
             std::optional<Rules>(Rules{rule("Base Dynamic1=0", "", 120), rule("B", "x  Count=0", 90, 40)}));
    QCOMPARE(settings.readString(u"Config", u"Uses", "0", 10), QString("3"));
}

void TestRequirementRules::readsWrittenByHand_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<Rules>>("rules");

    const QByteArray head = "[Requirements]\nLayout=1\nCount=1\nObject1=A\n";
    QTest::newRow("no section: no rules") << QByteArray("[Config]\nUses=1\n") << std::optional<Rules>(Rules{});
    QTest::newRow("empty file: no rules") << QByteArray() << std::optional<Rules>(Rules{});
    QTest::newRow("point or comma, blanks, missing optional keys")
        << QByteArray("[requirements]\nLAYOUT = 1\nCount=2\nObject1= A \nDynamic1=85.5\n"
                      "Object2=B\nMaterial2=x\nDynamic2=90,25\nStatic2=40\nLargestCv2=12,5\n")
        << std::optional<Rules>(Rules{rule("A", "", 85.5), rule("B", "x", 90.25, 40, 12.5)});
    QTest::newRow("names in quotes") << QByteArray(
        "[Requirements]\nLayout=1\nCount=1\nObject1='A'\nMaterial1=\" x \"\nDynamic1=\"1\"\n")
                                     << std::optional<Rules>(Rules{rule("A", "x", 1)});
    QTest::newRow("CR line ends") << QByteArray("[Requirements]\rLayout=1\rCount=1\rObject1=A\rDynamic1=2\r")
                                  << std::optional<Rules>(Rules{rule("A", "", 2)});
    QTest::newRow("rules past Count are not read")
        << QByteArray(head + "Dynamic1=1\nObject2=B\nDynamic2=2\n") << std::optional<Rules>(Rules{rule("A", "", 1)});
    QTest::newRow("later layout") << QByteArray("[Requirements]\nLayout=2\nCount=0\n") << std::optional<Rules>();
    QTest::newRow("Count without Layout") << QByteArray("[Requirements]\nCount=0\n") << std::optional<Rules>();
    QTest::newRow("Count not a number") << QByteArray("[Requirements]\nLayout=1\nCount=x\n") << std::optional<Rules>();
    QTest::newRow("negative Count") << QByteArray("[Requirements]\nLayout=1\nCount=-1\n") << std::optional<Rules>();
    QTest::newRow("rule without object")
        << QByteArray("[Requirements]\nLayout=1\nCount=1\nDynamic1=1\n") << std::optional<Rules>();
    QTest::newRow("rule without dynamic modulus") << head << std::optional<Rules>();
    QTest::newRow("dynamic modulus not a number") << QByteArray(head + "Dynamic1=1O0\n") << std::optional<Rules>();
    QTest::newRow("negative static modulus")
        << QByteArray(head + "Dynamic1=1\nStatic1=-2\n") << std::optional<Rules>();
    QTest::newRow("largest CV not a number")
        << QByteArray(head + "Dynamic1=1\nLargestCv1=nan\n") << std::optional<Rules>();
}

void TestRequirementRules::readsWrittenByHand()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<Rules>, rules);

    QCOMPARE(readRequirementRules(SettingsFile(write(text))), rules);
}

QTEST_GUILESS_MAIN(TestRequirementRules)
#include "tst_requirement_rules.moc"
