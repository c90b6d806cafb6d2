#include "support/bounded_read.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using kvt::BoundedReadStatus;
using kvt::readRegularFile;

Q_DECLARE_METATYPE(BoundedReadStatus)

class TestBoundedRead : public QObject {
    Q_OBJECT
private slots:
    void regularFiles_data();
    void regularFiles();
    void whatIsNoFileIsRefused_data();
    void whatIsNoFileIsRefused();
};

void TestBoundedRead::regularFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<BoundedReadStatus>("status");

    QTest::newRow("empty") << QByteArray() << qint64(4) << BoundedReadStatus::Read;
    QTest::newRow("below the bound") << QByteArray("abc") << qint64(4) << BoundedReadStatus::Read;
    QTest::newRow("at the bound") << QByteArray("abcd") << qint64(4) << BoundedReadStatus::Read;
    QTest::newRow("one byte over") << QByteArray("abcde") << qint64(4) << BoundedReadStatus::TooLarge;
}

void TestBoundedRead::regularFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, maxBytes);
    QFETCH(BoundedReadStatus, status);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    const kvt::BoundedRead read = readRegularFile(path, maxBytes);
    QCOMPARE(read.status, status);
    QCOMPARE(read.bytes, status == BoundedReadStatus::Read ? content : QByteArray());
}

void TestBoundedRead::whatIsNoFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<BoundedReadStatus>("status");
    QTest::newRow("missing") << "missing" << BoundedReadStatus::CannotOpen;
    QTest::newRow("folder") << "folder" << BoundedReadStatus::NotRegularFile;
#ifdef Q_OS_UNIX
    // Opening either would block for ever or read without end.
    QTest::newRow("FIFO") << "fifo" << BoundedReadStatus::NotRegularFile;
    QTest::newRow("endless device") << "/dev/zero" << BoundedReadStatus::NotRegularFile;
#endif
}

void TestBoundedRead::whatIsNoFileIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(BoundedReadStatus, status);
    QTemporaryDir dir;
    QString path = dir.filePath(kind);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(kind));
#ifdef Q_OS_UNIX
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    if (kind.startsWith(QLatin1Char('/')))
        path = kind;

    const kvt::BoundedRead read = readRegularFile(path, 1 << 20);
    QCOMPARE(read.status, status);
    QVERIFY(read.bytes.isEmpty());
}

QTEST_GUILESS_MAIN(TestBoundedRead)
#include "tst_bounded_read.moc"
