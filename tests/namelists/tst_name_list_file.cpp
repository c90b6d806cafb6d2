#include "namelists/name_list_file.h"
#include "namelists/name_list_kind.h"
#include "namelists/name_table.h"
#include "support/windows1251.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QStringEncoder>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kvt;

// Name list files: what a file gives the editor, and what the editor writes.
class TestNameListFile : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void newFileHoldsTheSectionAndThirteenKeys();
    void writingKeepsTheRestOfTheFile();
    void lineBreakInANameSetsNoOtherSlot();
    void refusedFiles_data();
    void refusedFiles();
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

void TestNameListFile::lineBreakInANameSetsNoOtherSlot()
{
    // An instrument's name holds whatever bytes it was given.
    QStringList names = defaultNames(materialsKind(), Language::English);
    names[1] = QStringLiteral("x\nName12=evil");
    names[2] = QStringLiteral("y\r\n[Objects Names]");
    const QString section = materialsKind().fileSection;

    const QString path = writeFile("crafted.mtkvt", nameListFileBytes({}, section, names));
    const QStringList back = readNameListFile(path, section).value_or(QStringList());
    QCOMPARE(back.value(1), QStringLiteral("x Name12=evil"));
    QCOMPARE(back.value(2), QStringLiteral("y  [Objects Names]"));
    QCOMPARE(back.value(12), names[12]);
    QCOMPARE(back.mid(3), names.mid(3));
    // Written again over itself, the file still holds one line a slot.
    const std::optional<QByteArray> again = updatedNameListFile(path, section, names);
    QVERIFY(again);
    QCOMPARE(again->count('\n'), 14);
}

void TestNameListFile::refusedFiles_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("larger than any name list") << "huge";
    QTest::newRow("UTF-16") << "utf16";
    QTest::newRow("a folder") << "folder";
#ifdef Q_OS_UNIX
    // Read as files, the first never ends and the second waits for a writer for ever.
    QTest::newRow("an endless device") << "/dev/zero";
    QTest::newRow("a FIFO") << "fifo";
#endif
}

void TestNameListFile::refusedFiles()
{
    QFETCH(QString, kind);

    const QString section = materialsKind().fileSection;
    const QByteArray list = nameListFileBytes({}, section, defaultNames(materialsKind(), Language::English));
    QString path = dir.filePath(kind);
    if (kind == "huge")
        writeFile(kind, list + QByteArray(NameListFileMaxBytes, ';'));
    else if (kind == "utf16")
        writeFile(kind, QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(fromWindows1251(list)));
    else if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkpath(kind));
#ifdef Q_OS_UNIX
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    else
        path = kind;

    QVERIFY(!readNameListFile(path, section));
    // Nor is such a file replaced by a name list.
    QVERIFY(!updatedNameListFile(path, section, defaultNames(materialsKind(), Language::English)));
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
