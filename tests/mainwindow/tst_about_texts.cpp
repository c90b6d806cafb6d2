#include "mainwindow/about_texts.h"

#include <QTest>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

class TestAboutTexts : public QObject {
    Q_OBJECT
private slots:
    void months_data();
    void months();
    void dateText_data();
    void dateText();
    void texts_data();
    void texts();
    void withoutVersionData();
    void dateThatDoesNotSplit();
    void mailto();
};

void TestAboutTexts::months_data()
{
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("genitive");

    const char *english[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char *russian[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                             "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    for (int i = 0; i < 12; ++i)
        QTest::newRow(english[i]) << english[i] << QString::fromUtf8(russian[i]);
    QTest::newRow("unknown reads as January") << "Foo" << QString::fromUtf8("января");
    QTest::newRow("compared exactly") << "may" << QString::fromUtf8("января");
}

void TestAboutTexts::months()
{
    QFETCH(QString, month);
    QFETCH(QString, genitive);
    QCOMPARE(aboutDateText(month + " 12 2026", Language::Russian),
             std::optional<QString>(" от 12 " + genitive + " 2026 г."));
}

void TestAboutTexts::dateText_data()
{
    QTest::addColumn<QString>("buildDate");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("Russian, padded day") << "Nov  6 2013" << Language::Russian << " от 6 ноября 2013 г.";
    QTest::newRow("English, padded day") << "Nov  6 2013" << Language::English << ", 6 Nov 2013";
    QTest::newRow("two-digit day") << "Dec 31 2026" << Language::English << ", 31 Dec 2026";
}

void TestAboutTexts::dateText()
{
    QFETCH(QString, buildDate);
    QFETCH(Language, language);
    QFETCH(QString, text);
    QCOMPARE(aboutDateText(buildDate, language), std::optional<QString>(text));
}

void TestAboutTexts::texts_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("phoneFax");
    QTest::addColumn<QString>("technicalSupport");

    QTest::newRow("Russian") << Language::Russian << "О программе KVT10.exe" << "Версия 1.2.2.28 от 6 ноября 2013 г."
                             << "тел./факс.:" << "Техподдержка:";
    QTest::newRow("English") << Language::English << "About KVT10.exe" << "Version 1.2.2.28, 6 Nov 2013"
                             << "Phone/Fax:" << "Technical Support:";
}

void TestAboutTexts::texts()
{
    QFETCH(Language, language);
    QFETCH(QString, caption);
    QFETCH(QString, version);
    QFETCH(QString, phoneFax);
    QFETCH(QString, technicalSupport);

    // The program's own version data (on Windows, kvt10.exe's version resource).
    const std::optional<VersionData> program = executableVersionData(KVT10_PROGRAM);
    QVERIFY(program);
    const VersionData data = *program;
    QCOMPARE(data.internalName, QString("KVT10.exe"));
    QCOMPARE(data.fileVersion, QString("1.2.2.28"));
    QVERIFY(data.legalCopyright.startsWith("© 2026 ООО «"));

    const AboutTexts texts = aboutTexts(data, "Nov  6 2013", language);
    QCOMPARE(texts.caption, caption);
    QCOMPARE(texts.version, version);
    QCOMPARE(texts.phoneFax, phoneFax);
    QCOMPARE(texts.technicalSupport, technicalSupport);
    // In English a fixed English line stands in for the copyright value.
    QCOMPARE(texts.copyright == data.legalCopyright, language == Language::Russian);
    QVERIFY(!texts.copyright.isEmpty());
}

void TestAboutTexts::withoutVersionData()
{
    // Every label keeps its design text: the Russian captions, the rest empty
    // (the box's placeholders).
    const AboutTexts texts = aboutTexts(std::nullopt, "Nov  6 2013", Language::English);
    QVERIFY(texts.caption.isEmpty());
    QVERIFY(texts.productName.isEmpty());
    QVERIFY(texts.version.isEmpty());
    QVERIFY(texts.copyright.isEmpty());
    QCOMPARE(texts.phoneFax, QString("тел./факс.:"));
    QCOMPARE(texts.site, QString("Сайт:"));
    QCOMPARE(texts.technicalSupport, QString("Техподдержка:"));
}

void TestAboutTexts::dateThatDoesNotSplit()
{
    const AboutTexts texts = aboutTexts(VersionData{"KVT10.exe", "1.2.2.28", "©"}, "2013-11-06", Language::English);
    QVERIFY(texts.caption.isEmpty());
    QVERIFY(texts.version.isEmpty());
    QVERIFY(texts.copyright.isEmpty());
    QCOMPARE(texts.site, QString("Site:")); // the contact captions are set before the date is read
}

void TestAboutTexts::mailto()
{
    QCOMPARE(mailtoAddress("support@example.com", "KVT-1.0"), QString("mailto:support@example.com?Subject=KVT-1.0"));
}

QTEST_GUILESS_MAIN(TestAboutTexts)
#include "tst_about_texts.moc"
