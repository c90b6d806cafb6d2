#include "support/profile_text.h"

#include <QTest>

using kvt::ProfileText;

class TestProfileText : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void setValue_data();
    void setValue();
    void valueNeverBreaksItsLine_data();
    void valueNeverBreaksItsLine();
    void unchangedTextKeepsItsBytes();
    void removeSection_data();
    void removeSection();
};

void TestProfileText::lookup_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QByteArray plain = "[Config]\nLangId=Eng\nSuper=Y\n[FormMain]\nWidth=640\n";
    QTest::newRow("plain") << plain << "FormMain" << "Width" << true << "640";
    QTest::newRow("names ignore case") << plain << "config" << "LANGID" << true << "Eng";
    QTest::newRow("missing key") << plain << "Config" << "Code" << false << "";
    QTest::newRow("missing section") << plain << "Screenshot" << "Left" << false << "";
    QTest::newRow("key of another section") << plain << "Config" << "Width" << false << "";
    QTest::newRow("empty text") << QByteArray() << "Config" << "LangId" << false << "";
    QTest::newRow("CR LF line ends") << QByteArray("[Config]\r\nLangId=Rus\r\n") << "Config" << "LangId" << true
                                     << "Rus";
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF[Config]\nLangId=Rus\n") << "Config"
                                           << "LangId" << true << "Rus";
    QTest::newRow("blanks around names and =")
        << QByteArray("  [ Config ]  \n\t LangId \t=  Rus  \n") << "Config" << "LangId" << true << "Rus";
    QTest::newRow("empty value") << QByteArray("[Config]\nLangId=\n") << "Config" << "LangId" << true << "";
    QTest::newRow("value holding =") << QByteArray("[Config]\nLastReadPath=/a=b/\n") << "Config"
                                     << "LastReadPath" << true << "/a=b/";
    QTest::newRow("quoted value") << QByteArray("[Config]\nLastReadPath=\" /data/ \"\n") << "Config"
                                  << "LastReadPath" << true << " /data/ ";
    QTest::newRow("single-quoted value") << QByteArray("[Config]\nLastReadPath=' /data/ '\n") << "Config"
                                         << "LastReadPath" << true << " /data/ ";
    QTest::newRow("quotes that do not pair are kept")
        << QByteArray("[Config]\nLastReadPath='/data/\"\n") << "Config" << "LastReadPath" << true << "'/data/\"";
    QTest::newRow("one pair of quotes is taken off") << QByteArray("[Config]\nLastReadPath=\"'x'\"\n") << "Config"
                                                     << "LastReadPath" << true << "'x'";
    QTest::newRow("CR line ends") << QByteArray("[Config]\rUses=1\rLangId=Rus\r") << "Config" << "LangId" << true
                                  << "Rus";
    QTest::newRow("CR line ends, no last line end") << QByteArray("[Other]\rLangId=Eng\r[Config]\rLangId=Rus")
                                                    << "Config" << "LangId" << true << "Rus";
    QTest::newRow("line longer than any value is no entry")
        << QByteArray("[Config]\nLastReadPath=" + QByteArray(ProfileText::MaxLineBytes, 'p') + "\n") << "Config"
        << "LastReadPath" << false << "";
    QTest::newRow("after a long line, the next is read")
        << QByteArray("[Config]\n" + QByteArray(ProfileText::MaxLineBytes + 1, ';') + "\nUses=4\n") << "Config"
        << "Uses" << true << "4";
    QTest::newRow("duplicate key: first wins") << QByteArray("[Config]\nUses=1\nUses=2\n") << "Config" << "Uses"
                                               << true << "1";
    QTest::newRow("duplicate section: both searched")
        << QByteArray("[Config]\nUses=1\n[Other]\nX=1\n[Config]\nCode=Y\n") << "Config" << "Code" << true << "Y";
    QTest::newRow("garbage lines skipped")
        << QByteArray("\x01\x02garbage\n[broken\n=novalue\n[Config]\nnot a pair\n;Uses=9\nUses=3\n") << "Config"
        << "Uses" << true << "3";
    QTest::newRow("key before any section is ignored") << QByteArray("Uses=5\n[Config]\n") << "Config" << "Uses"
                                                      << false << "";
    QTest::newRow("last line without line end") << QByteArray("[Config]\nUses=7") << "Config" << "Uses" << true
                                                << "7";
    QTest::newRow("UTF-8 Cyrillic value") << QByteArray("[Config]\nLastReadPath=/дом/\n") << "Config"
                                          << "LastReadPath" << true << QString::fromUtf8("/дом/");
    QTest::newRow("Windows-1251 file from an older program")
        << QByteArray("[Config]\nLastReadPath=C:\\\xc4\xee\xec\\\n") << "Config" << "LastReadPath" << true
        << QString::fromUtf8("C:\\Дом\\");
}

void TestProfileText::lookup()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);

    const auto result = ProfileText::parse(text).value(section, key);
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, value);
}

void TestProfileText::setValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "Config" << "Uses" << "1" << QByteArray("[Config]\nUses=1\n");
    QTest::newRow("replace in place, other lines untouched")
        << QByteArray("; mine\n[Config]\n  Uses = 1 \nCode=Y\n") << "Config" << "Uses" << "2"
        << QByteArray("; mine\n[Config]\nUses=2\nCode=Y\n");
    QTest::newRow("replace first of duplicates only") << QByteArray("[Config]\nUses=1\nUses=9\n") << "Config"
                                                     << "Uses" << "2" << QByteArray("[Config]\nUses=2\nUses=9\n");
    QTest::newRow("new key after the section's last entry, not after blanks")
        << QByteArray("[Config]\nCode=Y\n\n[FormMain]\nWidth=1\n") << "Config" << "Uses" << "1"
        << QByteArray("[Config]\nCode=Y\nUses=1\n\n[FormMain]\nWidth=1\n");
    QTest::newRow("new key in an empty section") << QByteArray("[Config]\n[FormMain]\n") << "Config" << "Uses"
                                                 << "1" << QByteArray("[Config]\nUses=1\n[FormMain]\n");
    QTest::newRow("new section appended, CR LF kept")
        << QByteArray("[Config]\r\nUses=1\r\n") << "FormMain" << "Width" << "500"
        << QByteArray("[Config]\r\nUses=1\r\n[FormMain]\r\nWidth=500\r\n");
    QTest::newRow("last line without line end") << QByteArray("[Config]\nUses=1") << "Config" << "Code" << "N"
                                                << QByteArray("[Config]\nUses=1\nCode=N\n");
    QTest::newRow("last line ending in a lone CR") << QByteArray("[Config]\nUses=1\r") << "Config" << "Code" << "N"
                                                   << QByteArray("[Config]\nUses=1\nCode=N\n");
    QTest::newRow("CR line ends kept") << QByteArray("[Config]\rUses=1\r") << "Config" << "Code" << "N"
                                       << QByteArray("[Config]\rUses=1\rCode=N\r");
    QTest::newRow("ordinary values stay unquoted") << QByteArray("[Config]\n") << "Config" << "LastReadPath"
                                                   << "C:\\a b\\'x\" y'" << QByteArray("[Config]\nLastReadPath=C:\\a b\\'x\" y'\n");
    QTest::newRow("blanks at the ends are kept in quotes")
        << QByteArray() << "Names" << "Name01" << " Песок " << QByteArray("[Names]\nName01=\" Песок \"\n");
    QTest::newRow("a quoted value keeps its quotes")
        << QByteArray() << "Names" << "Name01" << "'Щебень'" << QByteArray("[Names]\nName01=\"'Щебень'\"\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[Config]\nUses=1\n") << "Config" << "Uses"
                                          << "2" << QByteArray("\xEF\xBB\xBF[Config]\nUses=2\n");
    QTest::newRow("Windows-1251 file stays Windows-1251")
        << QByteArray("[Config]\nName=\xc4\xee\xec\n") << "Config" << "LastReadPath" << QString::fromUtf8("/Дом/")
        << QByteArray("[Config]\nName=\xc4\xee\xec\nLastReadPath=/\xc4\xee\xec/\n");
    QTest::newRow("Windows-1251 value that would read as UTF-8: text becomes UTF-8")
        << QByteArray("[Config]\nName=\xc4\xee\xec\n") << "Config" << "Name" << QString::fromUtf8("Ві")
        << QByteArray("[Config]\nName=\xd0\x92\xd1\x96\n");
}

void TestProfileText::setValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    ProfileText profile = ProfileText::parse(before);
    profile.setValue(section, key, value);
    QCOMPARE(profile.bytes(), after);
    QCOMPARE(ProfileText::parse(profile.bytes()).value(section, key), std::optional<QString>(value));
}

void TestProfileText::valueNeverBreaksItsLine_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("line feed") << "x\nName12=evil" << "x Name12=evil";
    QTest::newRow("carriage return") << "x\rName12=evil" << "x Name12=evil";
    QTest::newRow("CR LF") << "Base\r\nName12=evil" << "Base  Name12=evil";
    QTest::newRow("NUL") << QString::fromUtf8("x\0Name12=evil", 13) << "x Name12=evil";
    QTest::newRow("a section of its own") << "x\n[Other]\nName12=evil" << "x [Other] Name12=evil";
    QTest::newRow("line break at the end") << "evil\n" << "evil ";
}

void TestProfileText::valueNeverBreaksItsLine()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);

    for (const QByteArray &before : {QByteArray(), QByteArray("[Names]\r\nName01=old\r\nName12=kept\r\n")}) {
        ProfileText profile = ProfileText::parse(before);
        profile.setValue(u"Names", u"Name01", value);
        const ProfileText reread = ProfileText::parse(profile.bytes());
        QCOMPARE(reread.value(u"Names", u"Name01"), std::optional<QString>(readBack));
        QCOMPARE(reread.value(u"Names", u"Name12"), before.isEmpty() ? std::nullopt : std::optional<QString>("kept"));
        QCOMPARE(reread.value(u"Other", u"Name12"), std::nullopt);
        QCOMPARE(profile.bytes().count('\n'), before.count('\n') + (before.isEmpty() ? 2 : 0));
    }
}

void TestProfileText::unchangedTextKeepsItsBytes()
{
    const QByteArray messy("\xEF\xBB\xBF junk \r\n[Config]\r\nUses=1\n\n;c\r\n[Config]\r\rCode=Y\r\r\nx");
    QCOMPARE(ProfileText::parse(messy).bytes(), messy);
}

void TestProfileText::removeSection_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("middle section with its comments, neighbours untouched")
        << QByteArray("[A]\nx=1\n[Rules]\nCount=2\n;note\n\n[B]\ny=2\n") << QByteArray("[A]\nx=1\n[B]\ny=2\n");
    QTest::newRow("last section, name in other case") << QByteArray("[A]\r\nx=1\r\n[rules]\r\nCount=1")
                                                      << QByteArray("[A]\r\nx=1\r\n");
    QTest::newRow("every duplicate") << QByteArray("[Rules]\na=1\n[A]\nx=1\n[Rules]\nb=2\n")
                                     << QByteArray("[A]\nx=1\n");
    QTest::newRow("absent section: nothing changes") << QByteArray("[A]\nx=1\n") << QByteArray("[A]\nx=1\n");
}

void TestProfileText::removeSection()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);

    ProfileText profile = ProfileText::parse(before);
    profile.removeSection(u"Rules");
    QCOMPARE(profile.bytes(), after);
}

QTEST_GUILESS_MAIN(TestProfileText)
#include "tst_profile_text.moc"
