#include "store/table_deletions.h"
#include "store_fixture.h"

#include <QTest>

#include <memory>

using namespace kvt;
using kvt::testing::fillStore;
using kvt::testing::fillStoreWithSeries;

using Numbers = QList<quint32>;

namespace {

Numbers impactsAsSeriesAndNumber(const MeasurementStore &store)
{
    Numbers result;
    for (quint32 p = 0; p < store.impactCount(); ++p)
        result << store.record(p).seriesNumber() * 100 + store.record(p).impactNumber();
    return result;
}

Numbers seriesSizes(const MeasurementStore &store)
{
    Numbers sizes;
    for (quint32 k = 0; k < store.seriesCount(); ++k)
        sizes << store.seriesSize(k);
    return sizes;
}

} // namespace

class TestTableDeletions : public QObject {
    Q_OBJECT
private slots:
    void init() { store = std::make_unique<MeasurementStore>(); }

    void deleteImpactColumns_data();
    void deleteImpactColumns();
    void deleteSeriesRange_data();
    void deleteSeriesRange();
    void deletingSeriesBetweenEqualNumbers();
    void currentRowAfterDeletion_data();
    void currentRowAfterDeletion();

private:
    std::unique_ptr<MeasurementStore> store;
};

void TestTableDeletions::deleteImpactColumns_data()
{
    QTest::addColumn<Numbers>("lengths");
    QTest::addColumn<quint32>("series");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<Numbers>("impacts"); // series number × 100 + impact number

    QTest::newRow("columns 2 and 3 of 5") << Numbers{5} << 0u << 2 << 3 << Numbers{101, 104, 105};
    QTest::newRow("every column removes the series") << Numbers{2, 3, 1} << 1u << 1 << 3 << Numbers{101, 102, 301};
    QTest::newRow("last column") << Numbers{2, 3} << 1u << 3 << 3 << Numbers{101, 102, 201, 202};
    QTest::newRow("right beyond the series deletes nothing") << Numbers{2} << 0u << 1 << 3 << Numbers{101, 102};
    QTest::newRow("no selection deletes nothing") << Numbers{2} << 0u << -1 << -1 << Numbers{101, 102};
    QTest::newRow("series out of range deletes nothing") << Numbers{2} << 1u << 1 << 1 << Numbers{101, 102};
}

void TestTableDeletions::deleteImpactColumns()
{
    QFETCH(Numbers, lengths);
    QFETCH(quint32, series);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(Numbers, impacts);

    fillStoreWithSeries(*store, std::vector<quint32>(lengths.begin(), lengths.end()));
    kvt::deleteImpactColumns(*store, series, left, right);
    QCOMPARE(impactsAsSeriesAndNumber(*store), impacts);
}

void TestTableDeletions::deleteSeriesRange_data()
{
    QTest::addColumn<Numbers>("lengths");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<Numbers>("sizes");

    QTest::newRow("series 1 to 3 of 5") << Numbers{1, 2, 3, 4, 5} << 1u << 3u << Numbers{1, 5};
    QTest::newRow("first of 2, 3, 1") << Numbers{2, 3, 1} << 0u << 0u << Numbers{3, 1};
    QTest::newRow("all") << Numbers{2, 3} << 0u << 1u << Numbers{};
    QTest::newRow("beyond the end deletes nothing") << Numbers{2, 3} << 1u << 2u << Numbers{2, 3};
}

void TestTableDeletions::deleteSeriesRange()
{
    QFETCH(Numbers, lengths);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(Numbers, sizes);

    fillStoreWithSeries(*store, std::vector<quint32>(lengths.begin(), lengths.end()));
    kvt::deleteSeriesRange(*store, first, last);
    QCOMPARE(seriesSizes(*store), sizes);
    QCOMPARE(store->seriesStart(store->seriesCount()), store->impactCount());
}

void TestTableDeletions::deletingSeriesBetweenEqualNumbers()
{
    // Deleting the 6s and then the second run of 5s, as two selected rows:
    // exactly those go, the 7 stays, and the remaining 5s are one series.
    fillStore(*store, {5, 5, 6, 5, 7});
    kvt::deleteSeriesRange(*store, 1, 2);
    QCOMPARE(impactsAsSeriesAndNumber(*store), (Numbers{501, 502, 701}));

    // Without the second deletion the 5s on both sides merge into one series.
    store = std::make_unique<MeasurementStore>();
    fillStore(*store, {5, 5, 6, 5, 7});
    kvt::deleteSeriesRange(*store, 1, 1);
    QCOMPARE(seriesSizes(*store), (Numbers{3, 1}));
}

void TestTableDeletions::currentRowAfterDeletion_data()
{
    QTest::addColumn<int>("previousRow");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("row");

    QTest::newRow("row still there") << 3 << 6 << 3;
    QTest::newRow("table got too short") << 5 << 4 << 3;
    QTest::newRow("exactly as many rows as the old row number") << 4 << 4 << 3;
}

void TestTableDeletions::currentRowAfterDeletion()
{
    QFETCH(int, previousRow);
    QFETCH(int, rowCount);
    QFETCH(int, row);
    QCOMPARE(kvt::currentRowAfterDeletion(previousRow, rowCount), row);
}

QTEST_GUILESS_MAIN(TestTableDeletions)
#include "tst_table_deletions.moc"
