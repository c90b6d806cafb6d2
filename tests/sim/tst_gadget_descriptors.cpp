#include "sim/gadget_descriptors.h"

#include <QTest>
#include <QtEndian>

using namespace kvt::sim;

namespace {

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

struct Endpoint {
    int address;
    int attributes;
    int maxPacket;
};

// The endpoint descriptors of one speed's interface, starting at `at`.
QList<Endpoint> endpointsAt(const QByteArray &bytes, qsizetype at, int count)
{
    QList<Endpoint> endpoints;
    for (int i = 0; i < count; ++i, at += 7) {
        if (bytes[at] != 7 || bytes[at + 1] != 5)
            return {};
        endpoints.append({quint8(bytes[at + 2]), quint8(bytes[at + 3]), qFromLittleEndian<quint16>(bytes.constData() + at + 4)});
    }
    return endpoints;
}

} // namespace

// What kvt10-gadget writes to FunctionFS's ep0 before the host may see the
// instrument: the kernel refuses the function, or numbers its endpoints
// otherwise, when these are off by a byte.
class TestGadgetDescriptors : public QObject {
    Q_OBJECT
private slots:
    void descriptors_data();
    void descriptors();
    void strings();
};

void TestGadgetDescriptors::descriptors_data()
{
    QTest::addColumn<int>("speed"); // 0 full, 1 high
    QTest::addColumn<int>("maxPacket");
    QTest::newRow("full speed") << 0 << 64;
    QTest::newRow("high speed") << 1 << 512;
}

void TestGadgetDescriptors::descriptors()
{
    QFETCH(int, speed);
    QFETCH(int, maxPacket);
    const QByteArray bytes = functionFsDescriptors();
    QCOMPARE(le32(bytes, 0), 3u); // FunctionFS's second layout
    QCOMPARE(le32(bytes, 4), quint32(bytes.size()));
    QCOMPARE(le32(bytes, 8), 1u | 2u); // full and high speed, real addresses
    const quint32 count = le32(bytes, 12);
    QCOMPARE(le32(bytes, 16), count);
    const int endpoints = int(count) - 1;
    const qsizetype interfaceAt = 20 + speed * (9 + 7 * endpoints);
    QCOMPARE(bytes.size(), 20 + 2 * (9 + 7 * endpoints));

    // Interface 0, vendor-specific, named by the first string.
    const QByteArray interface = bytes.mid(interfaceAt, 9);
    QCOMPARE(interface, QByteArray::fromHex("09040000") + char(endpoints) + QByteArray::fromHex("ff000001"));

    const QList<Endpoint> found = endpointsAt(bytes, interfaceAt + 9, endpoints);
    QCOMPARE(found.size(), endpoints);
    QList<int> addresses;
    for (const Endpoint &endpoint : found) {
        QCOMPARE(endpoint.attributes, 2); // bulk
        QCOMPARE(endpoint.maxPacket, maxPacket);
        QVERIFY2(!addresses.contains(endpoint.address), "an address twice");
        addresses << endpoint.address;
    }
    // The instrument's own come last, so that their files are the last two.
    QCOMPARE(addresses.mid(endpoints - 2), QList<int>({0x01, 0x82}));
    QCOMPARE(QString(OutEndpointFile), QString("ep%1").arg(endpoints - 1));
    QCOMPARE(QString(InEndpointFile), QString("ep%1").arg(endpoints));
}

void TestGadgetDescriptors::strings()
{
    const QByteArray bytes = functionFsStrings();
    QCOMPARE(le32(bytes, 0), 2u);
    QCOMPARE(le32(bytes, 4), quint32(bytes.size()));
    QCOMPARE(bytes.mid(8), QByteArray::fromHex("01000000" "01000000" "0904") + QByteArray("KVT-1.0", 8));
}

QTEST_GUILESS_MAIN(TestGadgetDescriptors)
#include "tst_gadget_descriptors.moc"
