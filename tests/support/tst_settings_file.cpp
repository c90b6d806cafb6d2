#include "support/settings_file.h"
#include "support/settings_location.h"
#include "read_only_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

Q_DECLARE_METATYPE(kvt::ProfileFileStatus)

using kvt::ProfileFileStatus;
using kvt::SettingsFile;

using kvt::testing::setReadOnly;

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefault();
    void bufferLimit_data();
    void bufferLimit();
    void writeCreatesAndKeepsOtherKeys();
    void unwritablePlaceReportsFailure();
    void failedWriteLeavesFileAsItWas();
    void crLineEndsAreRead();
    void refusedFileIsNeitherReadNorReplaced_data();
    void refusedFileIsNeitherReadNorReplaced();
    void whereSettingsLive_data();
    void whereSettingsLive();

private:
    static QByteArray contents(const QString &path);
};

QByteArray TestSettingsFile::contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsFile::missingFileGivesDefault()
{
    QTemporaryDir dir;
    const SettingsFile settings(dir.filePath("KVT10.ini"));
    QCOMPARE(settings.readString(u"FormMain", u"Width", "500", 10), QString("500"));
    QVERIFY(!QFile::exists(settings.path()));
}

void TestSettingsFile::bufferLimit_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fits") << "123456789" << 10 << "123456789";
    QTest::newRow("cut to buffer less one") << "1234567890123" << 10 << "123456789";
    QTest::newRow("long path") << QString(300, u'p') << 256 << QString(255, u'p');
}

void TestSettingsFile::bufferLimit()
{
    QFETCH(QString, stored);
    QFETCH(int, bufferSize);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("KVT10.ini"));
    QVERIFY(settings.writeString(u"Config", u"Value", stored));
    QCOMPARE(settings.readString(u"Config", u"Value", QString(), bufferSize), expected);
    // The default is cut the same way.
    QCOMPARE(settings.readString(u"Config", u"Absent", stored, bufferSize), expected);
}

void TestSettingsFile::writeCreatesAndKeepsOtherKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KVT10.ini");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[FormMain]\r\nWidth=640\r\n; kept\r\n[Config]\r\nLangId=Rus\r\n");
    }
    SettingsFile settings(path);
    QVERIFY(settings.writeString(u"Config", u"Uses", "1"));
    QVERIFY(settings.writeString(u"FormMain", u"Width", "800"));
    QCOMPARE(contents(path), QByteArray("[FormMain]\r\nWidth=800\r\n; kept\r\n[Config]\r\nLangId=Rus\r\nUses=1\r\n"));
    QCOMPARE(settings.readString(u"Config", u"Uses", "0", 10), QString("1"));
}

void TestSettingsFile::unwritablePlaceReportsFailure()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsFile settings(dir.filePath("not-a-folder/KVT10.ini"));
    QVERIFY(!settings.writeString(u"Config", u"Uses", "1"));
    QCOMPARE(settings.readString(u"Config", u"Uses", "0", 10), QString("0"));
}

void TestSettingsFile::failedWriteLeavesFileAsItWas()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KVT10.ini");
    SettingsFile settings(path);
    QVERIFY(settings.writeString(u"Config", u"LangId", "Eng"));
    const QByteArray before = contents(path);
    if (!setReadOnly(dir.path(), true))
        QSKIP("cannot make a folder read-only here");
    const bool written = settings.writeString(u"Config", u"Uses", "5");
    setReadOnly(dir.path(), false);
    QVERIFY(!written);
    QCOMPARE(contents(path), before);
}

void TestSettingsFile::crLineEndsAreRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("KVT10.ini");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[FormMain]\rWidth=640\r[Config]\rLangId=Eng\r");
    }
    SettingsFile settings(path);
    QCOMPARE(settings.readString(u"Config", u"LangId", "<none>", 10), QString("Eng"));
    QVERIFY(settings.writeString(u"Config", u"Uses", "1"));
    QCOMPARE(contents(path), QByteArray("[FormMain]\rWidth=640\r[Config]\rLangId=Eng\rUses=1\r"));
}

void TestSettingsFile::refusedFileIsNeitherReadNorReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ProfileFileStatus>("status");

    QTest::newRow("UTF-16 LE") << "utf16le" << ProfileFileStatus::Utf16;
    QTest::newRow("UTF-16 BE") << "utf16be" << ProfileFileStatus::Utf16;
    QTest::newRow("larger than any settings file") << "huge" << ProfileFileStatus::Refused;
    QTest::newRow("a folder") << "folder" << ProfileFileStatus::Refused;
#ifdef Q_OS_UNIX
    QTest::newRow("a FIFO") << "fifo" << ProfileFileStatus::Refused;
#endif
}

void TestSettingsFile::refusedFileIsNeitherReadNorReplaced()
{
    QFETCH(QString, kind);
    QFETCH(ProfileFileStatus, status);

    QTemporaryDir dir;
    const QString path = dir.filePath("KVT10.ini");
    const QString text = QStringLiteral("[Config]\r\nLangId=Eng\r\nUses=7\r\n");
    QByteArray bytes;
    if (kind.startsWith("utf16")) {
        QStringEncoder encoder(kind == "utf16le" ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
                               QStringEncoder::Flag::WriteBom);
        bytes = encoder.encode(text);
    } else if (kind == "huge") {
        bytes = text.toUtf8() + QByteArray(SettingsFile::MaxBytes, '\n');
    }
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("KVT10.ini"));
#ifdef Q_OS_UNIX
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    SettingsFile settings(path);
    const kvt::SettingsSnapshot snapshot = settings.read();
    QCOMPARE(snapshot.readString(u"Config", u"LangId", "<none>", 10), QString("<none>"));
    QVERIFY(snapshot.refusal());
    QCOMPARE(snapshot.refusal()->status, status);
    QCOMPARE(snapshot.refusal()->path, path);
    // The user's file is not replaced by one holding the one key.
    QVERIFY(!settings.writeString(u"Config", u"Uses", "8"));
    QVERIFY(!settings.writeSection(u"Requirements", {{"Layout", "1"}}));
    if (bytes.isEmpty())
        QVERIFY(!QFileInfo(path).isFile()); // opening a FIFO to look would wait for a writer
    else
        QCOMPARE(contents(path), bytes);
}

void TestSettingsFile::whereSettingsLive_data()
{
    QTest::addColumn<bool>("fileBeside");
    QTest::addColumn<QString>("readOnly"); // "", "file" or "folder"
    QTest::addColumn<bool>("besideIsWritten");

    QTest::newRow("writable folder, no file yet") << false << "" << true;
    QTest::newRow("writable folder and file") << true << "" << true;
    QTest::newRow("a read-only file beside the program") << true << "file" << false;
    QTest::newRow("a read-only folder with the file") << true << "folder" << false;
    QTest::newRow("a read-only folder without a file") << false << "folder" << false;
}

void TestSettingsFile::whereSettingsLive()
{
    QFETCH(bool, fileBeside);
    QFETCH(QString, readOnly);
    QFETCH(bool, besideIsWritten);

    QStandardPaths::setTestModeEnabled(true);
    const QString userFile = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/KVT10.ini";
    QFile::remove(userFile);
    QTemporaryDir dir;
    const QString beside = dir.filePath("KVT10.ini");
    const QByteArray prepared = "[Config]\r\nLangId=Eng\r\nSuper=Y\r\nUses=7\r\n";
    if (fileBeside) {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(prepared);
    }
    const QString locked = readOnly == "file" ? beside : readOnly == "folder" ? dir.path() : QString();
    if (!locked.isEmpty() && !setReadOnly(locked, true))
        QSKIP("cannot make a file read-only here");

    SettingsFile settings = kvt::programSettings(dir.path());
    const bool written = settings.writeString(u"Config", u"Uses", "8");
    const QString langId = settings.readString(u"Config", u"LangId", "<none>", 10);
    const QString super = settings.readString(u"Config", u"Super", "N", 10);
    const QString uses = settings.readString(u"Config", u"Uses", "0", 10);
    const QByteArray besideAfter = contents(beside);
    if (!locked.isEmpty())
        setReadOnly(locked, false);

    QVERIFY(written);
    QCOMPARE(settings.path(), besideIsWritten ? beside : userFile);
    QCOMPARE(uses, QString("8")); // the user's own value wins
    // The prepared file is read whether or not it can be written …
    QCOMPARE(langId, fileBeside ? QString("Eng") : QString("<none>"));
    QCOMPARE(super, fileBeside ? QString("Y") : QString("N"));
    // … and stays as it was when it cannot.
    if (!besideIsWritten)
        QCOMPARE(besideAfter, fileBeside ? prepared : QByteArray());
    QFile::remove(userFile);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
