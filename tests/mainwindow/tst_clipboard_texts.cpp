#include "mainwindow/clipboard_texts.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QTest>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::CalibrationValue)

class TestClipboardTexts : public QObject {
    Q_OBJECT
private slots:
    void seriesTable();
    void blocks_data();
    void blocks();
    void chartData();
    void chartDataNeedsACurve();
    void calibration_data();
    void calibration();
};

void TestClipboardTexts::seriesTable()
{
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2, 3, 1});
    const QString text = tableText(seriesTableGrid(*store, Language::English));
    const QStringList lines = text.split("\r\n");
    QCOMPARE(lines.size(), 6); // five lines, each ended by CR LF
    QVERIFY(lines.back().isEmpty());
    for (int i = 0; i < 5; ++i)
        QCOMPARE(lines[i].count('\t'), 6);
    QCOMPARE(lines[0], QString("№\tDate\tTime\tDin.modulus\tStat.modulus\tMaterial\tObject"));
    QCOMPARE(lines[1], QString("\td:m:y\th:m:s\tMPa\tMPa\t\t"));
    QCOMPARE(lines[3], QString("2/3\t06.11.13\t14:07:45\t82\t42\tПесок\tRoad 7"));
}

void TestClipboardTexts::blocks_data()
{
    QTest::addColumn<QRect>("block"); // x columns, y rows
    QTest::addColumn<QString>("text");

    QTest::newRow("one cell") << QRect(1, 1, 1, 1) << "b1\r\n";
    QTest::newRow("2 x 3") << QRect(1, 0, 2, 3) << "b0\tc0\r\nb1\tc1\r\nb2\tc2\r\n";
    QTest::newRow("whole rows") << QRect(0, 2, 3, 1) << "a2\tb2\tc2\r\n";
    QTest::newRow("empty cell") << QRect(0, 3, 2, 1) << "\tb3\r\n";
}

void TestClipboardTexts::blocks()
{
    QFETCH(QRect, block);
    QFETCH(QString, text);
    const TextGrid grid{{"a0", "b0", "c0"}, {"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"", "b3", "c3"}};
    QCOMPARE(blockText(grid, block.top(), block.left(), block.bottom(), block.right()), text);
}

void TestClipboardTexts::chartData()
{
    // The standard view's default: s(t) and F(t).
    const std::array<bool, CurveCount> checked{false, false, true, true};
    CurvePoints curves;
    for (int i = 1; i <= 312; ++i) {
        curves[CurveDisplacement] << QPointF(i * 0.064, -1.25);
        curves[CurveForce] << QPointF(i * 0.064, 12.345);
    }
    const QStringList lines = chartDataText(curves, checked, Language::Russian).value().split("\r\n");
    QCOMPARE(lines.size(), 1 + 1 + 312 + 1);
    QCOMPARE(lines[0], QString());
    QCOMPARE(lines[1], QString("Время, мс\tВиброперемещение\tСила удара\t"));
    QCOMPARE(lines[2], QString("0,06\t-1,25\t12,35\t"));
    QCOMPARE(lines[3], QString("0,13\t-1,25\t12,35\t"));
    QVERIFY(lines.back().isEmpty());
}

void TestClipboardTexts::chartDataNeedsACurve()
{
    CurvePoints curves;
    QVERIFY(!chartDataText(curves, {false, false, false, false}, Language::English));
    QVERIFY(!chartDataText(curves, {true, false, false, false}, Language::English)); // checked, not drawn yet
}

void TestClipboardTexts::calibration_data()
{
    QTest::addColumn<CalibrationValue>("value");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("force") << CalibrationValue::Force << "12345,0";
    QTest::newRow("displacement") << CalibrationValue::Displacement << "1,5000";
}

void TestClipboardTexts::calibration()
{
    QFETCH(CalibrationValue, value);
    QFETCH(QString, firstLine);

    auto store = std::make_unique<MeasurementStore>();
    QCOMPARE(calibrationText(*store, value), QString()); // an empty store copies an empty text

    testing::fillStoreWithSeries(*store, {5, 7, 5});
    const QString text = calibrationText(*store, value);
    QCOMPARE(text.count('\n'), 17);
    QVERIFY(!text.contains('\r'));
    QCOMPARE(text.section('\n', 0, 0), firstLine);
}

QTEST_GUILESS_MAIN(TestClipboardTexts)
#include "tst_clipboard_texts.moc"
