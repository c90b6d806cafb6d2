#include "support/number_format.h"

#include <QTest>

#include <cmath>
#include <limits>

using kvt::NumberPattern;
Q_DECLARE_METATYPE(kvt::NumberPattern)

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void patterns_data();
    void patterns();
    void unformattable_data();
    void unformattable();
};

void TestNumberFormat::patterns_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<NumberPattern>("pattern");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << 17.0 << NumberPattern::Integer << "17";
    QTest::newRow("0 rounds") << 12345.6 << NumberPattern::Integer << "12346";
    QTest::newRow("0 negative") << -3.0 << NumberPattern::Integer << "-3";
    QTest::newRow("0.# whole") << 85.0 << NumberPattern::OptionalTenths << "85";
    QTest::newRow("0.# tenths with comma") << 85.3 << NumberPattern::OptionalTenths << "85,3";
    QTest::newRow("0.# rounds to whole") << 84.96 << NumberPattern::OptionalTenths << "85";
    QTest::newRow("0.# small") << 0.04 << NumberPattern::OptionalTenths << "0";
    QTest::newRow("0.0") << 80.0 << NumberPattern::Tenths << "80,0";
    QTest::newRow("0.0 negative") << -35.2 << NumberPattern::Tenths << "-35,2";
    QTest::newRow("0.0 half away from zero") << 0.25 << NumberPattern::Tenths << "0,3";
    QTest::newRow("0.0 negative half") << -0.25 << NumberPattern::Tenths << "-0,3";
    QTest::newRow("0.0 negative rounding to zero has no sign") << -0.04 << NumberPattern::Tenths << "0,0";
    QTest::newRow("0.00") << 3.14159 << NumberPattern::Hundredths << "3,14";
    QTest::newRow("0.000") << 0.123 << NumberPattern::Thousandths << "0,123";
    QTest::newRow("0.000 pads") << 1.5 << NumberPattern::Thousandths << "1,500";
    QTest::newRow("0.0000") << -0.00005 << NumberPattern::TenThousandths << "-0,0001";
    QTest::newRow("00 pads") << 6.0 << NumberPattern::TwoDigits << "06";
    QTest::newRow("00 zero") << 0.0 << NumberPattern::TwoDigits << "00";
    QTest::newRow("00 wider") << 123.0 << NumberPattern::TwoDigits << "123";
    QTest::newRow("# zero is empty") << 0.0 << NumberPattern::IntegerOrEmpty << "";
    QTest::newRow("# value") << 42.0 << NumberPattern::IntegerOrEmpty << "42";
    QTest::newRow("float value as stored") << double(85.3f) << NumberPattern::Tenths << "85,3";
}

void TestNumberFormat::patterns()
{
    QFETCH(double, value);
    QFETCH(NumberPattern, pattern);
    QFETCH(QString, expected);
    QCOMPARE(kvt::formatNumber(value, pattern), std::optional<QString>(expected));
}

void TestNumberFormat::unformattable_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("largest float") << double(std::numeric_limits<float>::max());
}

void TestNumberFormat::unformattable()
{
    QFETCH(double, value);
    QVERIFY(!kvt::formatNumber(value, NumberPattern::Tenths));
    QCOMPARE(kvt::formatNumberOrNan(value, NumberPattern::Tenths), QString("NAN"));
}

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
