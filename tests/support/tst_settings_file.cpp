#include "support/settings_file.h"
#include "support/settings_location.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using kvt::SettingsFile;

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefault();
    void bufferLimit_data();
    void bufferLimit();
    void writeCreatesAndKeepsOtherKeys();
    void unwritablePlaceReportsFailure();
    void failedWriteLeavesFileAsItWas();
    void besideAWritableProgram();
    void userFolderWhenProgramFolderIsReadOnly();

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
    if (geteuid() == 0)
        QSKIP("root may write into a read-only folder");
    QTemporaryDir dir;
    const QString path = dir.filePath("KVT10.ini");
    SettingsFile settings(path);
    QVERIFY(settings.writeString(u"Config", u"LangId", "Eng"));
    const QByteArray before = contents(path);
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool written = settings.writeString(u"Config", u"Uses", "5");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(contents(path), before);
}

void TestSettingsFile::besideAWritableProgram()
{
    QTemporaryDir dir;
    QCOMPARE(kvt::settingsFilePath(dir.path()), dir.filePath("KVT10.ini"));
}

void TestSettingsFile::userFolderWhenProgramFolderIsReadOnly()
{
    if (geteuid() == 0)
        QSKIP("root may write into a read-only folder");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString path = kvt::settingsFilePath(dir.path());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/KVT10.ini");
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
