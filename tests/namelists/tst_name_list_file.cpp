#include "namelists/name_list_file.h"
#include "namelists/name_list_kind.h"
#include "namelists/name_table.h"
#include "support/windows1251.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvt;

// Name list files: what a file gives the editor, and what the editor writes.
class TestNameListFile : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void newFileHoldsTheSectionAndThirteenKeys();
    void writingKeepsTheRestOfTheFile();
    void tableCutsNamesAndKeepsTheirTail();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QTemporaryDir dir;
};

QString TestNameListFile::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture file");
    return path;
}

void TestNameListFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("expected"); // empty: not readable

    QByteArray sixNames = "[Materials Names]\r\n";
    QStringList six;
    for (int slot = 0; slot < 6; ++slot) {
        sixNames += "Name0" + QByteArray::number(slot) + "=M" + QByteArray::number(slot) + "\r\n";
        six << QStringLiteral("M%1").arg(slot);
    }
    for (int slot = 6; slot < 13; ++slot)
        six << QString();

    QByteArray russian = "[Materials Names]\n";
    for (int slot = 0; slot < 13; ++slot)
        russian += "Name" + QByteArray::number(slot).rightJustified(2, '0') + "="
                   + toWindows1251(defaultNames(materialsKind(), Language::Russian)[slot]) + "\n";

    QStringList cut(13);
    cut[12] = QStringLiteral("abcdefghijklmnopqrs");

    QTest::newRow("Windows-1251 defaults") << russian << "Materials Names"
                                           << defaultNames(materialsKind(), Language::Russian);
    QTest::newRow("Name00 to Name05 only") << sixNames << "Materials Names" << six;
    QTest::newRow("an object list in the material editor") << QByteArray(sixNames).replace("Materials", "Objects")
                                                           << "Materials Names" << QStringList();
    QTest::newRow("all keys empty") << QByteArray("[Materials Names]\nName00=\nName01=\n") << "Materials Names"
                                    << QStringList();
    QTest::newRow("a longer value keeps 19 characters")
        << QByteArray("[Objects Names]\nName12=abcdefghijklmnopqrstuvwxyz\n") << "Objects Names" << cut;
    QTest::newRow("not a profile file at all") << QByteArray("\x00\x01\xFF garbage", 12) << "Objects Names"
                                               << QStringList();
}

void TestNameListFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QStringList, expected);

    const std::optional<QStringList> names = readNameListFile(writeFile("list", bytes), section);
    QCOMPARE(names.value_or(QStringList()), expected);
    QVERIFY(!readNameListFile(dir.filePath("missing.mtkvt"), section));
}

void TestNameListFile::newFileHoldsTheSectionAndThirteenKeys()
{
    const QStringList names = defaultNames(materialsKind(), Language::Russian);
    QByteArray expected = "[Materials Names]\n";
    for (int slot = 0; slot < 13; ++slot)
        expected += QStringLiteral("Name%1=%2\n").arg(slot, 2, 10, QLatin1Char('0')).arg(names[slot]).toUtf8();
    QCOMPARE(nameListFileBytes({}, materialsKind().fileSection, names), toWindows1251(QString::fromUtf8(expected)));
}

void TestNameListFile::writingKeepsTheRestOfTheFile()
{
    const QByteArray existing = "; notes\r\n[Other]\r\nName03=kept\r\n[Objects Names]\r\nName03=old\r\nExtra=1\r\n";
    QStringList names;
    for (int slot = 0; slot < 13; ++slot)
        names << QStringLiteral("Объект %1").arg(slot);

    const QByteArray written = nameListFileBytes(existing, objectsKind().fileSection, names);
    QVERIFY(written.startsWith("; notes\r\n[Other]\r\nName03=kept\r\n[Objects Names]\r\n"));
    QVERIFY(written.contains("Extra=1\r\n"));
    QVERIFY(!written.contains("old"));
    QCOMPARE(readNameListFile(writeFile("objects.objkvt", written), objectsKind().fileSection).value(), names);
}

void TestNameListFile::tableCutsNamesAndKeepsTheirTail()
{
    NameListBlock table;
    table.fill(0xAB);
    QStringList names(13);
    names[0] = QStringLiteral("Не выбран");
    names[1] = QString(25, u'x');
    storeNames(table, names);

    const QStringList back = namesFromTable(table);
    QCOMPARE(back[0], names[0]);
    QCOMPARE(back[1], QString(19, u'x'));
    QCOMPARE(back[2], QString());
    // A short name ends with a 0 byte; the bytes after it stay as they were.
    QCOMPARE(table[0], 9);
    QCOMPARE(table[10], 0);
    QCOMPARE(table[11], 0xAB);
}

QTEST_GUILESS_MAIN(TestNameListFile)
#include "tst_name_list_file.moc"
