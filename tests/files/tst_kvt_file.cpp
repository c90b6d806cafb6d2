#include "files/kvt_file.h"
#include "store/short_name20.h"
#include "store/table_texts.h"
#include "file_size_limit.h"
#include "store_fixture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kvt;
using kvt::testing::fillStoreWithSeries;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void setHeaderWord(QByteArray &bytes, int offset, quint32 value)
{
    storeLittleEndian<quint32>(reinterpret_cast<unsigned char *>(bytes.data()) + offset, value);
}

} // namespace

class TestKvtFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void saveLayout();
    void roundTripIsByteIdentical();
    void emptyFileOpensAsEmptyStore();
    void rejected_data();
    void rejected();
    void missingFileCannotBeOpened();
    void rejectedUnread_data();
    void rejectedUnread();
    void largestFileOpens();
    void saveIntoAFolderFails();
    void shortWriteKeepsExistingFile();

private:
    QTemporaryDir dir;
    std::unique_ptr<MeasurementStore> store;
};

void TestKvtFile::init()
{
    store = std::make_unique<MeasurementStore>();
}

void TestKvtFile::saveLayout()
{
    fillStoreWithSeries(*store, {2, 1});
    const QString path = dir.filePath("three.kvt");
    QCOMPARE(saveKvtFile(path, *store), KvtSaveStatus::Saved);

    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 6616);
    QCOMPARE(bytes.left(8), QByteArray("KVT-1.0\0", 8));
    const auto *raw = reinterpret_cast<const unsigned char *>(bytes.constData());
    QCOMPARE(loadLittleEndian<quint32>(raw + 8), 12u);
    QCOMPARE(loadLittleEndian<quint32>(raw + 12), 6588u);
    QCOMPARE(bytes.mid(16, 12), QByteArray(reinterpret_cast<const char *>(store->directory()), 12));
    QCOMPARE(bytes.mid(28), QByteArray(reinterpret_cast<const char *>(store->records()), 3 * ImpactRecordSize));
}

void TestKvtFile::roundTripIsByteIdentical()
{
    fillStoreWithSeries(*store, {3, 1, 4});
    writeShortName20(store->records()[3].nameField(ImpactRecord::ObjectName), QString::fromUtf8("Объект №5"));
    const QString first = dir.filePath("first.kvt");
    const QString second = dir.filePath("second.kvt");
    QCOMPARE(saveKvtFile(first, *store), KvtSaveStatus::Saved);

    auto reopened = std::make_unique<MeasurementStore>();
    QCOMPARE(loadKvtFile(first, *reopened), KvtLoadStatus::Loaded);
    QCOMPARE(reopened->impactCount(), 8u);
    QCOMPARE(reopened->seriesCount(), 3u);
    for (quint32 p = 0; p < 8; ++p)
        QVERIFY(reopened->record(p).bytes == store->record(p).bytes); // reserved bytes included
    QCOMPARE(seriesRowCells(*reopened, 1)[6], QString::fromUtf8("Объект №5"));

    QCOMPARE(saveKvtFile(second, *reopened), KvtSaveStatus::Saved);
    QCOMPARE(readAll(second), readAll(first));
}

void TestKvtFile::emptyFileOpensAsEmptyStore()
{
    fillStoreWithSeries(*store, {2});
    const QString path = dir.filePath("empty.kvt");
    writeAll(path, QByteArray("KVT-1.0\0\0\0\0\0\0\0\0\0", 16));
    QCOMPARE(loadKvtFile(path, *store), KvtLoadStatus::Loaded);
    QVERIFY(store->isEmpty());
    QCOMPARE(store->seriesCount(), 0u);
}

void TestKvtFile::rejected_data()
{
    QTest::addColumn<QByteArray>("bytes");

    MeasurementStore source;
    fillStoreWithSeries(source, {2, 1});
    const QByteArray valid = encodeKvt(source);

    QTest::newRow("one byte more") << valid + 'x';
    QTest::newRow("one byte less") << valid.chopped(1);
    QByteArray bytes = valid;
    bytes[6] = '1';
    QTest::newRow("KVT-1.1") << bytes;
    bytes = valid;
    bytes[7] = 'x';
    QTest::newRow("non-zero eighth byte") << bytes;
    QTest::newRow("shorter than the header") << valid.left(10);
    QTest::newRow("nothing at all") << QByteArray();
    bytes = valid;
    setHeaderWord(bytes, 8, 13);
    setHeaderWord(bytes, 12, 6587);
    QTest::newRow("directory not a multiple of 4, length still right") << bytes;
    bytes = valid;
    setHeaderWord(bytes, 8, 8);
    setHeaderWord(bytes, 12, 6592);
    QTest::newRow("blocks disagree in count, length still right") << bytes;
    bytes = QByteArray(16, '\0') + QByteArray((MaxImpacts + 1) * 2200, '\x02');
    std::memcpy(bytes.data(), "KVT-1.0", 8);
    setHeaderWord(bytes, 8, (MaxImpacts + 1) * 4);
    setHeaderWord(bytes, 12, (MaxImpacts + 1) * ImpactRecordSize);
    QTest::newRow("more impacts than the store holds") << bytes;
    bytes = QByteArray("KVT-1.0\0", 8) + QByteArray(8, '\xFF');
    QTest::newRow("sizes overflowing 32 bits") << bytes;
}

void TestKvtFile::rejected()
{
    QFETCH(QByteArray, bytes);

    fillStoreWithSeries(*store, {3, 2});
    const QByteArray before = encodeKvt(*store);
    const QString path = dir.filePath("damaged.kvt");
    writeAll(path, bytes);

    QCOMPARE(loadKvtFile(path, *store), KvtLoadStatus::Rejected);
    // The store is exactly as it was.
    QCOMPARE(encodeKvt(*store), before);
    QCOMPARE(store->seriesCount(), 2u);
    QCOMPARE(store->seriesStart(2), 5u);
}

void TestKvtFile::missingFileCannotBeOpened()
{
    QCOMPARE(loadKvtFile(dir.filePath("absent.kvt"), *store), KvtLoadStatus::CannotOpen);
}

void TestKvtFile::rejectedUnread_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("one byte beyond the largest file") << "huge";
#ifdef Q_OS_UNIX
    // Reading either would wait for ever for a writer, or never end.
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("endless device") << "/dev/zero";
#endif
}

void TestKvtFile::rejectedUnread()
{
    QFETCH(QString, kind);
    QString path = dir.filePath(kind + ".kvt");
    if (kind == u"huge")
        writeAll(path, QByteArray("KVT-1.0", 8) + QByteArray(KvtMaxFileSize - 7, '\0'));
#ifdef Q_OS_UNIX
    if (kind == u"fifo" && !QFileInfo::exists(path))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    if (kind.startsWith(u'/'))
        path = kind;

    fillStoreWithSeries(*store, {2});
    QCOMPARE(loadKvtFile(path, *store), KvtLoadStatus::Rejected);
    QCOMPARE(store->impactCount(), 2u);
}

void TestKvtFile::largestFileOpens()
{
    std::vector<quint32> lengths(MaxImpacts / 7, 7);
    lengths.push_back(MaxImpacts % 7);
    MeasurementStore full;
    kvt::testing::fillStoreWithSeries(full, lengths);
    QCOMPARE(full.impactCount(), MaxImpacts);

    QBuffer buffer;
    buffer.setData(encodeKvt(full));
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(readKvt(buffer, *store));
    QCOMPARE(store->impactCount(), MaxImpacts);
    QCOMPARE(store->seriesCount(), quint32(lengths.size()));

    // From disk too: the bound on what is read lets the largest file through.
    const QString path = dir.filePath("full.kvt");
    QCOMPARE(saveKvtFile(path, full), KvtSaveStatus::Saved);
    QCOMPARE(QFileInfo(path).size(), KvtMaxFileSize);
    auto reopened = std::make_unique<MeasurementStore>();
    QCOMPARE(loadKvtFile(path, *reopened), KvtLoadStatus::Loaded);
    QCOMPARE(reopened->impactCount(), MaxImpacts);
}

void TestKvtFile::saveIntoAFolderFails()
{
    fillStoreWithSeries(*store, {1});
    const QString path = dir.filePath("taken.kvt");
    QVERIFY(QDir(dir.path()).mkdir("taken.kvt"));
    QCOMPARE(saveKvtFile(path, *store), KvtSaveStatus::CannotCreate);
    QVERIFY(QFileInfo(path).isDir());
}

void TestKvtFile::shortWriteKeepsExistingFile()
{
    QTemporaryDir own;
    const QString path = own.filePath("kept.kvt");
    writeAll(path, "the measurements saved yesterday");
    fillStoreWithSeries(*store, {3});

    KvtSaveStatus status;
    {
        const testing::FileSizeLimit fullDisk(4096);
        SKIP_UNLESS_DISK_CAN_FILL(fullDisk);
        status = saveKvtFile(path, *store);
    }

    QCOMPARE(status, KvtSaveStatus::WriteFailed);
    QCOMPARE(readAll(path), QByteArray("the measurements saved yesterday"));
    QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.kvt"});
}

QTEST_GUILESS_MAIN(TestKvtFile)
#include "tst_kvt_file.moc"
