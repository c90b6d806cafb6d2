#include "files/kvt_file.h"
#include "files/reading_archive.h"
#include "store_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;

class TestReadingArchive : public QObject {
    Q_OBJECT
private slots:
    void savesUnderTheTime();
    void keepsTheNewest();
    void prunesOnlyItsOwnReadingsByTheirNames();
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
    }
    QCOMPARE(QDir(dir.path()).entryList({"*.kvt"}, QDir::Files, QDir::Name),
             (QStringList{"261210.0102.kvt", "261210.0103.kvt", "261210.0104.kvt"}));
}

void TestReadingArchive::prunesOnlyItsOwnReadingsByTheirNames()
{
    // The folder holds earlier readings whose modification times run against
    // their names (copied, restored from a backup), and files the user saved
    // there under names of their own.
    QTemporaryDir dir;
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {1});
    const QStringList readings{"261209.2359.kvt", "261210.0001.kvt", "261210.0001-2.kvt", "261210.0001-10.kvt"};
    const QStringList usersFiles{"survey.kvt", "261210.0001 road.kvt", "261310.0001.kvt", "261210.2460.kvt"};
    QDateTime touched(QDate(2026, 12, 11), QTime(12, 0));
    for (const QString &name : readings + usersFiles) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(encodeKvt(*store)) > 0);
        QVERIFY(file.setFileTime(touched, QFileDevice::FileModificationTime));
        touched = touched.addSecs(-3600); // the older the name, the newer the file
    }

    for (int minute = 2; minute < 10; ++minute) {
        QVERIFY(archiveReading(*store, QDateTime(QDate(2026, 12, 10), QTime(0, minute)), dir.path(), 3));
        for (const QString &name : usersFiles)
            QVERIFY2(QFile::exists(dir.filePath(name)), qPrintable(name));
        if (minute == 2) // the two oldest by name went, whatever their times
            QCOMPARE(QDir(dir.path()).entryList(readings + QStringList{"261210.0002.kvt"}, QDir::Files, QDir::Name),
                     (QStringList{"261210.0001-10.kvt", "261210.0001-2.kvt", "261210.0002.kvt"}));
    }
    QCOMPARE(QDir(dir.path()).entryList({"*.kvt"}, QDir::Files, QDir::Name),
             (QStringList{"261210.0001 road.kvt", "261210.0007.kvt", "261210.0008.kvt", "261210.0009.kvt",
                          "261210.2460.kvt", "261310.0001.kvt", "survey.kvt"}));
}

void TestReadingArchive::folderUnderDataLocation()
{
    QVERIFY(readingsFolder().endsWith("/KVT10/readings"));
}

QTEST_GUILESS_MAIN(TestReadingArchive)
#include "tst_reading_archive.moc"
