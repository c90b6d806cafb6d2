#include "support/windows1251.h"

#include <QTest>

class TestWindows1251 : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void unmappableBecomesOneQuestionMark_data();
    void unmappableBecomesOneQuestionMark();
    void wholeUpperHalf();
};

void TestWindows1251::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("Road 7") << "Road 7";
    QTest::newRow("Cyrillic") << QByteArray("\xcf\xe5\xf1\xee\xea") << QString::fromUtf8("Песок");
    QTest::newRow("Yo and capitals") << QByteArray("\xa8\xb8\xc0\xdf\xe0\xff") << QString::fromUtf8("ЁёАЯая");
    QTest::newRow("No sign and euro") << QByteArray("\xb9\x88") << QString::fromUtf8("№€");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestWindows1251::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(kvt::fromWindows1251(bytes), text);
    QCOMPARE(kvt::toWindows1251(text), bytes);
}

void TestWindows1251::unmappableBecomesOneQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("CJK") << QString::fromUtf8("a中b") << QByteArray("a?b");
    QTest::newRow("surrogate pair") << QString::fromUtf8("x😀y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << (QString(u'x') + QChar(0xD800) + u'y') << QByteArray("x?y");
    QTest::newRow("several") << QString::fromUtf8("ü中Я") << QByteArray("??\xdf");
}

void TestWindows1251::unmappableBecomesOneQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(kvt::toWindows1251(text), bytes);
}

void TestWindows1251::wholeUpperHalf()
{
    // The code page's table, byte 0x80 to 0xFF, whichever system converter
    // built it; 0x98, which the code page leaves unassigned, is carried
    // through as U+0098 (ICU and Windows agree). The lower half is ASCII.
    const QString expected = QString::fromUtf8(
        "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
        "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя");
    QByteArray upper;
    for (int b = 0x80; b < 0x100; ++b)
        upper.append(char(b));
    QCOMPARE(kvt::fromWindows1251(upper), expected);
    QByteArray lower;
    for (int b = 0; b < 0x80; ++b)
        lower.append(char(b));
    QCOMPARE(kvt::fromWindows1251(lower), QString::fromLatin1(lower));
}

QTEST_GUILESS_MAIN(TestWindows1251)
#include "tst_windows1251.moc"
