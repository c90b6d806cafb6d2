#include "chart/chart_curves.h"
#include "store_fixture.h"

#include <QTest>

using namespace kvt;
using Checks = std::array<bool, CurveCount>;

Q_DECLARE_METATYPE(kvt::Language)

namespace {

ChartOptions options(bool fullView, Checks checked, bool longCurves = false, bool codeView = false)
{
    ChartOptions result;
    result.fullView = fullView;
    result.longCurves = longCurves;
    result.codeView = codeView;
    result.checked = checked;
    return result;
}

const Checks All{true, true, true, true};
const Checks None{false, false, false, false};

} // namespace

class TestChartCurves : public QObject {
    Q_OBJECT
private slots:
    void pointCounts_data();
    void pointCounts();
    void onlyCheckedCurvesGetPoints();
    void integration();
    void flatWithoutPeaks();
    void codeView();
    void axes_data();
    void axes();
    void limits();
    void labelSteps_data();
    void labelSteps();
    void fullViewTitles_data();
    void fullViewTitles();
    void standardViewTitles();
};

void TestChartCurves::pointCounts_data()
{
    QTest::addColumn<bool>("longCurves");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("lastTime");

    QTest::newRow("short curves") << false << 312 << 19.968;
    QTest::newRow("long curves") << true << 512 << 32.768;
}

void TestChartCurves::pointCounts()
{
    QFETCH(bool, longCurves);
    QFETCH(int, points);
    QFETCH(double, lastTime);

    const CurvePoints curves = plotCurves(testing::makeRecord(1, 1), options(true, All, longCurves));
    for (const QList<QPointF> &curve : curves) {
        QCOMPARE(curve.size(), points);
        QCOMPARE(curve.front().x(), double(0.064f));
        QVERIFY(qAbs(curve.back().x() - lastTime) < 1e-3);
    }
}

void TestChartCurves::onlyCheckedCurvesGetPoints()
{
    // A hidden but checked a(t) box of the standard view still gets its curve.
    const CurvePoints curves = plotCurves(testing::makeRecord(1, 1), options(false, {true, false, true, false}));
    QCOMPARE(curves[CurveAccel].size(), 312);
    QVERIFY(curves[CurveVelocity].isEmpty());
    QCOMPARE(curves[CurveDisplacement].size(), 312);
    QVERIFY(curves[CurveForce].isEmpty());
}

void TestChartCurves::integration()
{
    ImpactRecord record = testing::makeRecord(1, 1);
    record.setFloatAt(ImpactRecord::AccelPeakNeg, -50.0f);
    record.setFloatAt(ImpactRecord::AccelPeakPos, 40.0f);
    record.setFloatAt(ImpactRecord::ForceScale, 20000.0f);
    for (int i = 0; i < SamplesPerCurve; ++i) {
        record.setAccelSample(i, i < 2 ? qint16(32767) : qint16(0));
        record.setForceSample(i, qint16(-32767));
    }
    const CurvePoints curves = plotCurves(record, options(true, All));
    QCOMPARE(curves[CurveAccel][0].y(), double(32767 * (50.0f * (1.0f / 32767.0f))));
    const float a = 32767 * (50.0f * (1.0f / 32767.0f));
    const float v1 = a * 0.000064f;
    const float v2 = v1 + a * 0.000064f;
    QCOMPARE(curves[CurveVelocity][1].y(), double(v2));
    QCOMPARE(curves[CurveDisplacement][1].y(), double(v1 * 1000.0f * 0.000064f + v2 * 1000.0f * 0.000064f));
    QCOMPARE(curves[CurveVelocity][200].y(), double(v2)); // no drift correction
    QVERIFY(qAbs(curves[CurveForce][0].y() - -20.0) < 1e-4); // kN
}

void TestChartCurves::flatWithoutPeaks()
{
    ImpactRecord record = testing::makeRecord(1, 1);
    record.setFloatAt(ImpactRecord::AccelPeakNeg, 0.0f);
    record.setFloatAt(ImpactRecord::AccelPeakPos, 0.0f);
    const CurvePoints curves = plotCurves(record, options(true, All));
    for (int c : {CurveAccel, CurveVelocity, CurveDisplacement})
        for (const QPointF &point : curves[c])
            QCOMPARE(point.y(), 0.0);
}

void TestChartCurves::codeView()
{
    ImpactRecord record = testing::makeRecord(1, 1);
    record.setFloatAt(ImpactRecord::AccelPeakNeg, -30.0f);
    record.setFloatAt(ImpactRecord::AccelPeakPos, 60.0f);
    record.setFloatAt(ImpactRecord::AuxScale, 10.0f);
    record.setAccelSample(0, 100);
    record.setForceSample(0, -1234);
    const ChartOptions view = options(true, All, false, true);
    CurvePoints curves = plotCurves(record, view);
    QCOMPARE(curves[CurveForce][0].y(), -1234.0); // raw codes
    QCOMPARE(curves[CurveAccel][0].y(), double(100 * 2.0f)); // kc = max(3/10/3, 60/10/3) = 2
    QCOMPARE(curveAxis(CurveForce, view), ChartAxis::Left);
    QCOMPARE(axisLimit(ChartAxis::Left, curves, view), 32768.0);

    record.setFloatAt(ImpactRecord::AuxScale, 0.0f); // no reference scale: kc = 1
    curves = plotCurves(record, view);
    QCOMPARE(curves[CurveAccel][0].y(), 100.0);
}

void TestChartCurves::axes_data()
{
    QTest::addColumn<bool>("fullView");
    QTest::addColumn<bool>("codeView");
    QTest::addColumn<QList<int>>("leftCurves");

    QTest::newRow("full view") << true << false << QList<int>{CurveAccel};
    QTest::newRow("standard view") << false << false << QList<int>{CurveAccel, CurveDisplacement};
    QTest::newRow("full view, code view") << true << true << QList<int>{CurveAccel, CurveForce};
}

void TestChartCurves::axes()
{
    QFETCH(bool, fullView);
    QFETCH(bool, codeView);
    QFETCH(QList<int>, leftCurves);
    const ChartOptions view = options(fullView, All, false, codeView);
    for (int c = 0; c < CurveCount; ++c)
        QCOMPARE(curveAxis(Curve(c), view) == ChartAxis::Left, leftCurves.contains(c));
}

void TestChartCurves::limits()
{
    // Nothing drawn: the left axis collapses to 0, the right keeps ±1.05.
    ChartOptions view = options(true, None);
    CurvePoints curves = plotCurves(testing::makeRecord(1, 1), view);
    QCOMPARE(axisLimit(ChartAxis::Left, curves, view), 0.0);
    QCOMPARE(axisLimit(ChartAxis::Right, curves, view), 1.05);

    // Symmetric about zero at 1.05 × the largest magnitude of the axis' curves.
    view = options(true, All);
    curves[CurveAccel] = {{0.064, -40.0}, {0.128, 20.0}};
    curves[CurveVelocity] = {{0.064, 0.5}, {0.128, -0.2}};
    curves[CurveDisplacement] = {{0.064, 0.1}, {0.128, 0.3}};
    curves[CurveForce] = {{0.064, 12.0}, {0.128, -3.0}};
    QCOMPARE(axisLimit(ChartAxis::Left, curves, view), 42.0);
    QCOMPARE(axisLimit(ChartAxis::Right, curves, view), 12.6);
    curves[CurveForce] = {{0.064, 0.2}};
    QCOMPARE(axisLimit(ChartAxis::Right, curves, view), 1.05); // at least ±1
}

void TestChartCurves::labelSteps_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("step");

    QTest::newRow("below 0.1") << -0.02 << 0.05 << 0.01;
    QTest::newRow("0.1") << 0.0 << 0.1 << 0.1;
    QTest::newRow("below 1") << -0.4 << 0.5 << 0.1;
    QTest::newRow("1") << -0.5 << 0.5 << 1.0;
    QTest::newRow("below 10") << -3.0 << 6.0 << 1.0;
    QTest::newRow("10 and more") << -30.0 << 31.0 << 10.0;
}

void TestChartCurves::labelSteps()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, step);
    const ChartOptions view = options(true, {true, false, false, false});
    CurvePoints curves;
    curves[CurveAccel] = {{0.064, low}, {0.128, high}};
    QCOMPARE(labelIncrement(ChartAxis::Left, curves, view), step);
}

void TestChartCurves::fullViewTitles_data()
{
    QTest::addColumn<Checks>("checked");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<RgbColor>("rightColor");

    const RgbColor black = 0x000000, navy = 0x000080, red = 0xFF0000, green = 0x008000;
    QTest::newRow("none") << Checks{false, false, false, false} << Language::English << "" << "" << black;
    QTest::newRow("F") << Checks{false, false, false, true} << Language::English << "" << "Impact force, kN" << navy;
    QTest::newRow("s") << Checks{false, false, true, false} << Language::English << ""
                       << "Vibrodisplacement, mm" << red;
    QTest::newRow("s F") << Checks{false, false, true, true} << Language::English << ""
                         << "Vibrodisplacement, mm; Impact force, kN" << red;
    QTest::newRow("v") << Checks{false, true, false, false} << Language::English << "" << "Vibrovelocity, m/s"
                       << green;
    QTest::newRow("v F") << Checks{false, true, false, true} << Language::English << ""
                         << "Vibrovelocity, m/s; Impact force, kN" << green;
    QTest::newRow("v s") << Checks{false, true, true, false} << Language::English << ""
                         << "Vibrovelocity, m/s; Vibrodisplacement, mm" << red;
    QTest::newRow("a v s F") << Checks{true, true, true, true} << Language::English << "Vibroacceleration, m/s2"
                             << "Vibrovelocity, m/s; Vibrodisplacement, mm; Impact force, kN" << red;
    QTest::newRow("v s, Russian") << Checks{false, true, true, false} << Language::Russian << ""
                                  << "Виброскорость, м/с; Виброперемещение, мм" << red;
    QTest::newRow("a, Russian") << Checks{true, false, false, false} << Language::Russian
                                << "Виброускорение, м/с2" << "" << black;
}

void TestChartCurves::fullViewTitles()
{
    QFETCH(Checks, checked);
    QFETCH(Language, language);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(RgbColor, rightColor);

    const ChartTitles titles = chartTitles(options(true, checked), language);
    QCOMPARE(titles.left.text, left);
    QCOMPARE(titles.left.color, RgbColor(0x000000));
    QCOMPARE(titles.right.text, right);
    QCOMPARE(titles.right.color, rightColor);
    QCOMPARE(titles.bottom, language == Language::Russian ? QString("Время, мс") : QString("Time, ms"));
}

void TestChartCurves::standardViewTitles()
{
    for (const Checks &checked : {All, None}) {
        const ChartTitles titles = chartTitles(options(false, checked), Language::English);
        QCOMPARE(titles.left.text, QString("Vibrodisplacement, mm"));
        QCOMPARE(titles.left.color, RgbColor(0xFF0000));
        QCOMPARE(titles.right.text, QString("Impact force, kN"));
        QCOMPARE(titles.right.color, RgbColor(0x000080));
    }
}

QTEST_GUILESS_MAIN(TestChartCurves)
#include "tst_chart_curves.moc"
