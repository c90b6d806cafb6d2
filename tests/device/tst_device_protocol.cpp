#include "device/device_protocol.h"
#include "fake_link.h"
#include "store/short_name20.h"

#include <QTest>

#include <memory>

using namespace kvt;
using testing::FakeLink;

Q_DECLARE_METATYPE(kvt::TransportKind)
Q_DECLARE_METATYPE(kvt::NameList)

using Pauses = QList<int>;

class TestDeviceProtocol : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void versionCaps_data();
    void versionCaps();
    void versionBlanksZeros();
    void directoryCap();
    void recordGoesToItsSlot();
    void shortReplyKeepsTheRest();
    void replyLengths_data();
    void replyLengths();
    void nameBlockWrite();
    void screenReplyOfHalfTheBlock();
    void emptyNameSlot();
    void exchangePauses_data();
    void exchangePauses();
    void failedStepEndsExchange();
    void resynchronise();
};

void TestDeviceProtocol::frames_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("version") << int(CmdReadVersion) << 0 << QByteArray("\x01\xFE", 2);
    QTest::newRow("directory") << int(CmdReadDirectory) << 0 << QByteArray("\x02\xFD", 2);
    QTest::newRow("impact 300") << int(CmdReadImpact) << 300 << QByteArray("\x03\xFC\x2C\x01", 4);
    QTest::newRow("impact 0") << int(CmdReadImpact) << 0 << QByteArray("\x03\xFC\x00\x00", 4);
    QTest::newRow("write objects") << int(CmdWriteObjects) << 0 << QByteArray("\x08\xF7", 2);
    QTest::newRow("screen") << int(CmdReadScreen) << 0 << QByteArray("\x09\xF6", 2);
}

void TestDeviceProtocol::frames()
{
    QFETCH(int, command);
    QFETCH(int, index);
    QFETCH(QByteArray, frame);
    QCOMPARE(commandFrame(Command(command), quint16(index)), frame);
}

void TestDeviceProtocol::versionCaps_data()
{
    QTest::addColumn<TransportKind>("kind");
    QTest::addColumn<int>("asked");

    QTest::newRow("libusb takes 99") << TransportKind::LibUsb << 99;
    QTest::newRow("pipes take 100") << TransportKind::Pipes << 100;
}

void TestDeviceProtocol::versionCaps()
{
    QFETCH(TransportKind, kind);
    QFETCH(int, asked);

    FakeLink link;
    FakeClock clock;
    link.queueReply(QByteArray(150, 'v'), 150);
    const auto version = DeviceProtocol(link, kind, clock).readVersion();
    QCOMPARE(link.readSizes, (QList<int>{4, asked}));
    QCOMPARE(version, std::optional<QString>(QString(asked, u'v')));
}

void TestDeviceProtocol::versionBlanksZeros()
{
    FakeLink link;
    FakeClock clock;
    link.queueReply(QByteArray("KVT\0" "1.0 \xcf\xf0\xe8\xe1\xee\xf0", 14), 14);
    QCOMPARE(DeviceProtocol(link, TransportKind::LibUsb, clock).readVersion(),
             std::optional<QString>(QString::fromUtf8("KVT 1.0 Прибор")));

    // With libusb the text is as long as what arrived, not what was announced.
    link.queueReply("KVT", 50);
    QCOMPARE(DeviceProtocol(link, TransportKind::LibUsb, clock).readVersion(), std::optional<QString>("KVT"));
}

void TestDeviceProtocol::directoryCap()
{
    FakeLink link;
    FakeClock clock;
    auto store = std::make_unique<MeasurementStore>();
    link.queueReply(QByteArray(20000, '\x02'), 20000);
    QVERIFY(DeviceProtocol(link, TransportKind::Pipes, clock).readDirectory(*store));
    QCOMPARE(link.readSizes, (QList<int>{4, 14228}));
    QCOMPARE(int(store->directory()[3556].bytes[3]), 2);
}

void TestDeviceProtocol::recordGoesToItsSlot()
{
    FakeLink link;
    FakeClock clock;
    auto store = std::make_unique<MeasurementStore>();
    link.queueReply(QByteArray(ImpactRecordSize, '\x07'), ImpactRecordSize);
    QVERIFY(DeviceProtocol(link, TransportKind::LibUsb, clock).readImpact(*store, 300));
    QCOMPARE(link.writes, (QList<QByteArray>{QByteArray("\x03\xFC\x2C\x01", 4)}));
    QCOMPARE(int(store->record(300).bytes[2195]), 7);
    QCOMPARE(int(store->record(299).bytes[0]), 0);
    QVERIFY(clock.pauses().isEmpty()); // no pause between records
    QVERIFY(!DeviceProtocol(link, TransportKind::LibUsb, clock).readImpact(*store, MaxImpacts));
}

void TestDeviceProtocol::shortReplyKeepsTheRest()
{
    FakeLink link;
    FakeClock clock;
    ScreenBlock screen;
    screen.fill(0xAA);
    link.queueReply(QByteArray(100, '\x11'), 1024); // announced whole, cut short
    QVERIFY(DeviceProtocol(link, TransportKind::LibUsb, clock).readScreen(screen));
    QCOMPARE(int(screen[99]), 0x11);
    QCOMPARE(int(screen[100]), 0xAA);
}

void TestDeviceProtocol::replyLengths_data()
{
    QTest::addColumn<QList<QByteArray>>("transfers"); // empty entry: a failed read
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("delivered");
    QTest::addColumn<QList<int>>("readSizes");

    QTest::newRow("length 0: no second read") << QList<QByteArray>{QByteArray(4, '\0')} << true << 0
                                              << QList<int>{4};
    QTest::newRow("length 2^32-1 takes the cap") << QList<QByteArray>{QByteArray(4, '\xFF'), QByteArray(300, 'x')}
                                                 << true << 260 << QList<int>{4, 260};
    // Two bytes of the length arrive; the other two keep the zeros they held.
    QTest::newRow("length cut short") << QList<QByteArray>{QByteArray(2, '\x10')} << false << 0
                                      << QList<int>{4, 260};
    QTest::newRow("nothing at all") << QList<QByteArray>{} << false << 0 << QList<int>{4};
    QTest::newRow("payload missing") << QList<QByteArray>{QByteArray("\x08\0\0\0", 4)} << false << 0
                                     << QList<int>{4, 8};
}

void TestDeviceProtocol::replyLengths()
{
    QFETCH(QList<QByteArray>, transfers);
    QFETCH(bool, ok);
    QFETCH(int, delivered);
    QFETCH(QList<int>, readSizes);

    FakeLink link;
    FakeClock clock;
    for (const QByteArray &transfer : transfers)
        link.queue(transfer);
    NameListBlock block{};
    const auto result = DeviceProtocol(link, TransportKind::LibUsb, clock).readReply(block.data(), 260);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(int(*result), delivered);
    QCOMPARE(link.readSizes, readSizes);
}

void TestDeviceProtocol::nameBlockWrite()
{
    FakeLink link;
    FakeClock clock;
    NameListBlock block;
    for (int i = 0; i < NameListBlockSize; ++i)
        block[i] = static_cast<unsigned char>(i);
    QVERIFY(DeviceProtocol(link, TransportKind::Pipes, clock).writeNameList(NameList::Materials, block));

    QList<int> sizes;
    for (const QByteArray &write : link.writes)
        sizes << int(write.size());
    QCOMPARE(sizes, (QList<int>{2, 4, 64, 64, 64, 64, 4}));
    QCOMPARE(link.writes[0], QByteArray("\x06\xF9", 2));
    QCOMPARE(link.writes[1], QByteArray("\x04\x01\x00\x00", 4));
    QCOMPARE(link.writes.mid(2).join(), QByteArray(reinterpret_cast<const char *>(block.data()), NameListBlockSize));
    QCOMPARE(clock.pauses(), (Pauses{300, 15, 15, 15, 15, 15}));
}

void TestDeviceProtocol::screenReplyOfHalfTheBlock()
{
    FakeLink link;
    FakeClock clock;
    ScreenBlock screen;
    screen.fill(0x5A);
    link.queueReply(QByteArray(512, '\xFF'), 512);
    QVERIFY(DeviceProtocol(link, TransportKind::Pipes, clock).readScreen(screen));
    QCOMPARE(int(screen[511]), 0xFF); // the top four pages
    QCOMPARE(int(screen[512]), 0x5A); // the rest keeps what it held
}

void TestDeviceProtocol::emptyNameSlot()
{
    FakeLink link;
    FakeClock clock;
    QByteArray payload(NameListBlockSize, 'a');
    payload[0] = char(0x90);
    payload[20] = char(3);
    link.queueReply(payload, NameListBlockSize);
    NameListBlock block{};
    QVERIFY(DeviceProtocol(link, TransportKind::LibUsb, clock).readNameList(NameList::Objects, block));
    QCOMPARE(readShortName20(block.data()), QString());
    QCOMPARE(readShortName20(block.data() + 20), QString("aaa"));
}

void TestDeviceProtocol::exchangePauses_data()
{
    QTest::addColumn<TransportKind>("kind");
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<Pauses>("pauses");
    QTest::addColumn<QByteArray>("frame");

    const struct {
        const char *exchange;
        Pauses libUsb;
        Pauses pipes;
        const char *frame;
    } table[] = {
        {"version", {80}, {50}, "\x01\xFE"},
        {"directory", {50}, {50}, "\x02\xFD"},
        {"materials", {300, 50}, {300, 50}, "\x05\xFA"},
        {"objects", {300}, {300, 50}, "\x07\xF8"},
        {"screen", {300}, {100}, "\x09\xF6"},
    };
    for (const auto &row : table) {
        QTest::addRow("%s, libusb", row.exchange) << TransportKind::LibUsb << row.exchange << row.libUsb
                                                  << QByteArray(row.frame, 2);
        QTest::addRow("%s, pipes", row.exchange) << TransportKind::Pipes << row.exchange << row.pipes
                                                 << QByteArray(row.frame, 2);
    }
}

void TestDeviceProtocol::exchangePauses()
{
    QFETCH(TransportKind, kind);
    QFETCH(QString, exchange);
    QFETCH(Pauses, pauses);
    QFETCH(QByteArray, frame);

    FakeLink link;
    FakeClock clock;
    link.queueReply(QByteArray(8, '\0'), 8);
    DeviceProtocol protocol(link, kind, clock);
    auto store = std::make_unique<MeasurementStore>();
    NameListBlock names{};
    ScreenBlock screen{};
    bool ok = false;
    if (exchange == "version")
        ok = protocol.readVersion().has_value();
    else if (exchange == "directory")
        ok = protocol.readDirectory(*store);
    else if (exchange == "materials")
        ok = protocol.readNameList(NameList::Materials, names).has_value();
    else if (exchange == "objects")
        ok = protocol.readNameList(NameList::Objects, names).has_value();
    else
        ok = protocol.readScreen(screen).has_value();
    QVERIFY(ok);
    QCOMPARE(clock.pauses(), pauses);
    QCOMPARE(link.writes, QList<QByteArray>{frame});
}

void TestDeviceProtocol::failedStepEndsExchange()
{
    FakeLink link;
    FakeClock clock;
    link.failWritesAfter(3); // the frame, the length and one chunk go out
    NameListBlock block{};
    QVERIFY(!DeviceProtocol(link, TransportKind::LibUsb, clock).writeNameList(NameList::Objects, block));
    QCOMPARE(link.writes.size(), 3);
}

void TestDeviceProtocol::resynchronise()
{
    FakeLink link;
    FakeClock clock;
    DeviceProtocol(link, TransportKind::LibUsb, clock).resynchronise();
    QCOMPARE(link.readSizes, QList<int>{1000});
    QCOMPARE(clock.pauses(), Pauses{1000});
}

QTEST_GUILESS_MAIN(TestDeviceProtocol)
#include "tst_device_protocol.moc"
