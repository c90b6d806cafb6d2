#include "files/kvt_file.h"
#include "files/reading_archive.h"
#include "store_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace kvt;

class TestReadingArchive : public QObject {
    Q_OBJECT
private slots:
    void savesUnderTheTime();
    void keepsTheNewest();
    void folderUnderDataLocation();
};

void TestReadingArchive::savesUnderTheTime()
{
    QTemporaryDir dir;
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2, 3});
    const QDateTime now(QDate(2026, 12, 10), QTime(1, 2));
    const QString folder = dir.filePath("KVT10/readings");

    QCOMPARE(archiveReading(*store, now, folder), std::optional<QString>(folder + "/261210.0102.kvt"));
    // A second read in the same minute does not overwrite the first.
    QCOMPARE(archiveReading(*store, now, folder), std::optional<QString>(folder + "/261210.0102-2.kvt"));

    auto reopened = std::make_unique<MeasurementStore>();
    QCOMPARE(loadKvtFile(folder + "/261210.0102-2.kvt", *reopened), KvtLoadStatus::Loaded);
    QCOMPARE(encodeKvt(*reopened), encodeKvt(*store));
}

void TestReadingArchive::keepsTheNewest()
{
    QTemporaryDir dir;
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {1});
    QStringList written;
    for (int minute = 0; minute < 5; ++minute) {
        written << *archiveReading(*store, QDateTime(QDate(2026, 12, 10), QTime(1, minute)), dir.path(), 3);
        QThread::msleep(20); // distinct modification times
    }
    QCOMPARE(QDir(dir.path()).entryList({"*.kvt"}, QDir::Files, QDir::Name),
             (QStringList{"261210.0102.kvt", "261210.0103.kvt", "261210.0104.kvt"}));
}

void TestReadingArchive::folderUnderDataLocation()
{
    QVERIFY(readingsFolder().endsWith("/KVT10/readings"));
}

QTEST_GUILESS_MAIN(TestReadingArchive)
#include "tst_reading_archive.moc"
