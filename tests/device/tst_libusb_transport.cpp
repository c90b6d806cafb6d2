#include "device/libusb_error_text.h"
#include "device/libusb_transport.h"

#include <QLibrary>
#include <QTest>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

class TestLibUsbTransport : public QObject {
    Q_OBJECT
private slots:
    void errorTexts_data();
    void errorTexts();
    void loading_data();
    void loading();
    void systemLibUsbWithoutInstrument();
    void transfersWithoutDeviceFail();
};

void TestLibUsbTransport::errorTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0 << Language::English << "";
    QTest::newRow("-15 not in the table") << -15 << Language::Russian << "LibUsb: Error -15";
    QTest::newRow("-116, English") << -116 << Language::English << "LibUsb: Time-out";
    QTest::newRow("-116, Russian") << -116 << Language::Russian << "LibUsb: Тайм-аут";
    QTest::newRow("-110, Linux's time-out") << -110 << Language::English << "LibUsb: Time-out";
    QTest::newRow("-13, Russian") << -13 << Language::Russian << "LibUsb: Доступ запрещен";
    QTest::newRow("-21, one text") << -21 << Language::Russian << "LibUsb: Is a directory";
    QTest::newRow("-16, one text") << -16 << Language::English << "LibUsb: strerror reports \"Resource device\"";
    QTest::newRow("-2, English") << -2 << Language::English << "LibUsb: No entry, ENOFILE, no such file or directory";
}

void TestLibUsbTransport::errorTexts()
{
    QFETCH(int, code);
    QFETCH(Language, language);
    QFETCH(QString, text);
    QCOMPARE(libUsbErrorText(code, language), text);
}

void TestLibUsbTransport::loading_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("result");

    QTest::newRow("no such library") << "/nonexistent/libusb-0.1.so.4" << 1;
    QTest::newRow("a required name missing") << INCOMPLETE_LIBUSB << 2;
}

void TestLibUsbTransport::loading()
{
    QFETCH(QString, library);
    QFETCH(int, result);

    LibUsbTransport libUsb([](const QString &) {}, library);
    QCOMPARE(libUsb.loadLibUsb(), result);
    QCOMPARE(libUsb.isLoaded(), result == 0);
    if (result == 0)
        QCOMPARE(libUsb.loadLibUsb(), 0); // loading again is harmless
}

void TestLibUsbTransport::systemLibUsbWithoutInstrument()
{
    // This machine has no instrument: the system's real libusb 0.1 (Debian's;
    // libusb-win32's where it is installed) loads, finds none, says so and
    // keeps no handle.
    if (!QLibrary(LibUsbTransport::systemLibUsbFile()).load())
        QSKIP("the system's libusb 0.1 is not installed");
    QStringList messages;
    LibUsbTransport libUsb([&messages](const QString &text) { messages << text; }, LibUsbTransport::systemLibUsbFile());
    QCOMPARE(libUsb.loadLibUsb(), 0);
    QCOMPARE(libUsb.loadLibUsb(), 0); // loading again is harmless
    QCOMPARE(libUsb.openDevice(Language::English), 1);
    QCOMPARE(messages, QStringList{QString::fromUtf16(NotConnectedMessage)});
    QVERIFY(!libUsb.hasDevice());
    libUsb.unloadLibUsb();
    QVERIFY(!libUsb.isLoaded());
}

void TestLibUsbTransport::transfersWithoutDeviceFail()
{
    LibUsbTransport libUsb([](const QString &) {}, "/nonexistent/libusb.so");
    char buffer[8];
    QVERIFY(libUsb.bulkWrite(buffer, 8) < 0);
    QVERIFY(libUsb.bulkRead(buffer, 8) < 0);
    QVERIFY(!libUsb.read(buffer, 8));
    QCOMPARE(libUsb.openDevice(Language::English), 1);
}

QTEST_GUILESS_MAIN(TestLibUsbTransport)
#include "tst_libusb_transport.moc"
