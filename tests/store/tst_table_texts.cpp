#include "store/short_name20.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <QTest>

#include <limits>
#include <memory>

using namespace kvt;
using kvt::testing::fillStoreWithSeries;

Q_DECLARE_METATYPE(kvt::Language)

class TestTableTexts : public QObject {
    Q_OBJECT
private slots:
    void init() { store = std::make_unique<MeasurementStore>(); }

    void seriesRow();
    void seriesMeans_data();
    void seriesMeans();
    void emptyName();
    void headers_data();
    void headers();
    void impactColumn();
    void impactColumnNan_data();
    void impactColumnNan();
    void impactGrid();

private:
    ImpactRecord &record(quint32 position) { return store->records()[position]; }
    std::unique_ptr<MeasurementStore> store;
};

void TestTableTexts::seriesRow()
{
    fillStoreWithSeries(*store, {2, 5});
    auto &first = record(2);
    first.setImpactId(17, 1);
    for (quint32 p = 3; p < 7; ++p)
        record(p).setImpactId(17, p - 1);
    store->rebuildSeriesIndex();

    const auto cells = seriesRowCells(*store, 1);
    QCOMPARE(cells[0], QString("17/5"));
    QCOMPARE(cells[1], QString("06.11.13"));
    QCOMPARE(cells[2], QString("14:07:45"));
    QCOMPARE(cells[5], QString::fromUtf8("Песок"));
    QCOMPARE(cells[6], QString("Road 7"));
}

void TestTableTexts::seriesMeans_data()
{
    QTest::addColumn<QList<float>>("dynamic");
    QTest::addColumn<QString>("mean");

    QTest::newRow("whole mean has no decimals") << QList<float>{80.0f, 90.0f, 85.0f} << "85";
    QTest::newRow("tenths") << QList<float>{85.0f, 85.6f} << "85,3";
    QTest::newRow("one impact") << QList<float>{41.0f} << "41";
    QTest::newRow("NaN modulus") << QList<float>{80.0f, std::numeric_limits<float>::quiet_NaN()} << "NAN";
}

void TestTableTexts::seriesMeans()
{
    QFETCH(QList<float>, dynamic);
    QFETCH(QString, mean);

    fillStoreWithSeries(*store, {quint32(dynamic.size())});
    for (int i = 0; i < dynamic.size(); ++i) {
        record(i).setFloatAt(ImpactRecord::DynModulus, dynamic[i]);
        record(i).setFloatAt(ImpactRecord::StatModulus, 41.0f);
    }
    const auto cells = seriesRowCells(*store, 0);
    QCOMPARE(cells[3], mean);
    QCOMPARE(cells[4], QString("41"));
}

void TestTableTexts::emptyName()
{
    fillStoreWithSeries(*store, {1});
    record(0).nameField(ImpactRecord::MaterialName)[0] = 0;
    QCOMPARE(seriesRowCells(*store, 0)[5], QString());
}

void TestTableTexts::headers_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("seriesRow0");
    QTest::addColumn<QStringList>("seriesRow1");
    QTest::addColumn<QStringList>("impactLabels");
    QTest::addColumn<QString>("thirdImpact");

    QTest::newRow("Russian") << Language::Russian
                             << QStringList{"№", "Дата", "Время", "Дин.модуль", "Стат.модуль", "Материал", "Объект"}
                             << QStringList{"", "д.м.г", "ч:м:с", "МПа", "МПа", "", ""}
                             << QStringList{"Дин.модуль, МПа", "Стат.модуль, МПа", "Виброускорение, м/с2",
                                            "Виброскорость, м/с", "Виброперемещение, мм", "Сила удара, Н"}
                             << "3-й удар";
    QTest::newRow("English") << Language::English
                             << QStringList{"№", "Date", "Time", "Din.modulus", "Stat.modulus", "Material", "Object"}
                             << QStringList{"", "d:m:y", "h:m:s", "MPa", "MPa", "", ""}
                             << QStringList{"Din.modulus, MPa", "Stat.modulus, MPa", "Vibr.acceleration, m/c2",
                                            "Vibr.velocity, m/c", "Vibr.displacement, mm", "Impact force, N"}
                             << "3-st impact";
}

void TestTableTexts::headers()
{
    QFETCH(Language, language);
    QFETCH(QStringList, seriesRow0);
    QFETCH(QStringList, seriesRow1);
    QFETCH(QStringList, impactLabels);
    QFETCH(QString, thirdImpact);

    for (int column = 0; column < SeriesTableColumns; ++column) {
        QCOMPARE(seriesTableHeader(column, 0, language), seriesRow0[column]);
        QCOMPARE(seriesTableHeader(column, 1, language), seriesRow1[column]);
    }
    for (int row = 1; row < ImpactTableRows; ++row)
        QCOMPARE(impactRowLabel(row, language), impactLabels[row - 1]);
    QCOMPARE(impactColumnHeader(3, language), thirdImpact);
}

void TestTableTexts::impactColumn()
{
    fillStoreWithSeries(*store, {1});
    const auto cells = impactColumnCells(record(0));
    QCOMPARE(cells[0], QString("81,0"));
    QCOMPARE(cells[1], QString("41,0"));
    QCOMPARE(cells[2], QString("-35,2+40,1"));
    QCOMPARE(cells[3], QString("0,123+0,456"));
    QCOMPARE(cells[4], QString("1,500"));
    QCOMPARE(cells[5], QString("12345"));
    QCOMPARE(impactDateTimeCell(record(0)), QString("06.11.2013, 14:07:45"));
}

void TestTableTexts::impactColumnNan_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");

    QTest::newRow("dynamic modulus") << int(ImpactRecord::DynModulus) << 0 << "NAN";
    QTest::newRow("one half of the acceleration") << int(ImpactRecord::AccelPeakPos) << 2 << "-35,2+NAN";
    QTest::newRow("force") << int(ImpactRecord::ImpactForce) << 5 << "NAN";
}

void TestTableTexts::impactColumnNan()
{
    QFETCH(int, field);
    QFETCH(int, row);
    QFETCH(QString, text);

    fillStoreWithSeries(*store, {1});
    record(0).setFloatAt(ImpactRecord::Offset(field), std::numeric_limits<float>::infinity());
    const auto cells = impactColumnCells(record(0));
    QCOMPARE(cells[row], text);
    QCOMPARE(cells[1], QString("41,0")); // the others are filled normally
}

void TestTableTexts::impactGrid()
{
    fillStoreWithSeries(*store, {2, 3, 1});
    record(3).setByteAt(ImpactRecord::TimeSec, 59); // only the first impact's time shows
    const QList<QStringList> grid = impactTableGrid(*store, 1, Language::English);
    QCOMPARE(grid.size(), ImpactTableRows);
    QCOMPARE(grid[0], (QStringList{"06.11.2013, 14:07:45", "1-st impact", "2-st impact", "3-st impact"}));
    for (const QStringList &row : grid)
        QCOMPARE(row.size(), 4);
    QCOMPARE(grid[1][0], QString("Din.modulus, MPa"));
    QCOMPARE(grid[1][1], QString("81,0")); // the fixture gives impact n a modulus of 80 + n
}

QTEST_GUILESS_MAIN(TestTableTexts)
#include "tst_table_texts.moc"
