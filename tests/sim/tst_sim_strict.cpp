// The strict instrument (KVT10_SIM_STRICT=1) against careless hosts: commands
// split across transfers or joined in one, name blocks out of shape, input that
// comes before the instrument is ready for it, reads before a reply is ready;
// and the version's terminating 0. Times are given, so nothing here sleeps.

#include "sim/instrument.h"
#include "sim_test_helpers.h"

#include <QTest>

using namespace kvt;
using namespace kvt::sim;
using namespace kvt::sim::testing;
using namespace std::chrono_literals;

using Transfers = QList<QByteArray>;
using Sizes = QList<int>;

namespace {

const SimTime Start = SimTime{} + 1h;

// "slow=off" leaves the instrument's pace out of the cases about shapes.
Instrument instrumentWith(Strictness strictness, const QString &faults = QStringLiteral("slow=off"))
{
    return Instrument(recognisableContent(3), parseFaultPlan(faults).plan, strictness);
}

// The sizes of the payloads queued, in order.
Sizes replySizes(Instrument &instrument)
{
    Sizes sizes;
    const QList<QByteArray> transfers = drain(instrument);
    for (qsizetype i = 1; i < transfers.size(); i += 2)
        sizes << int(transfers[i].size());
    return sizes;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TestSimStrict : public QObject {
    Q_OBJECT
private slots:
    void commandWrites_data();
    void commandWrites();
    void versionEndsWithItsZero();
    void nameBlockTransfers_data();
    void nameBlockTransfers();

    void replyIsReadyAfterItsDelay_data();
    void replyIsReadyAfterItsDelay();
    void commandWhileAReplyIsMadeReady_data();
    void commandWhileAReplyIsMadeReady();
    void nameBlockPace_data();
    void nameBlockPace();
};

void TestSimStrict::commandWrites_data()
{
    QTest::addColumn<bool>("stream");
    QTest::addColumn<Transfers>("writes");
    QTest::addColumn<Sizes>("strictReplies");
    QTest::addColumn<Sizes>("lenientReplies");

    QTest::newRow("one frame per transfer") << false << Transfers{frame(CmdReadVersion), recordFrame(1)}
                                            << Sizes{16, 2196} << Sizes{15, 2196};
    QTest::newRow("a frame split in two") << false << Transfers{hex("01"), hex("FE")} << Sizes{} << Sizes{15};
    QTest::newRow("a record frame split 2 + 2") << false << Transfers{hex("03FC"), hex("0100")} << Sizes{}
                                                << Sizes{2196};
    QTest::newRow("two frames in one transfer") << false << Transfers{hex("01FE09F6")} << Sizes{} << Sizes{15, 1024};
    QTest::newRow("a frame and a stray byte") << false << Transfers{hex("01FE00")} << Sizes{} << Sizes{15};
    QTest::newRow("an empty transfer, then a frame") << false << Transfers{{}, hex("09F6")} << Sizes{1024}
                                                     << Sizes{1024};
    // A FIFO keeps no write boundaries: frames that follow each other in one
    // piece may have been written one by one.
    QTest::newRow("a stream: frames joined in one piece") << true << Transfers{hex("01FE09F6")} << Sizes{16, 1024}
                                                          << Sizes{15, 1024};
    QTest::newRow("a stream: a frame cut between pieces") << true << Transfers{hex("01"), hex("FE")} << Sizes{}
                                                          << Sizes{15};
    QTest::newRow("a stream: a record frame cut 3 + 1") << true << Transfers{hex("03FC00"), hex("00")} << Sizes{}
                                                        << Sizes{2196};
    QTest::newRow("a stream: a name block in any pieces, then its read")
        << true << Transfers{hex("08F7") + littleEndian32(260) + QByteArray(10, 'a'), QByteArray(250, 'b'), hex("07F8")}
        << Sizes{260} << Sizes{260};
}

void TestSimStrict::commandWrites()
{
    QFETCH(bool, stream);
    QFETCH(Transfers, writes);
    Instrument strict = instrumentWith(Strictness::Strict);
    Instrument lenient = instrumentWith(Strictness::Lenient);
    for (const QByteArray &bytes : writes) {
        for (Instrument *instrument : {&strict, &lenient})
            stream ? instrument->write(bytes, Start) : instrument->writeTransfer(bytes, Start);
    }
    QTEST(replySizes(strict), "strictReplies");
    QTEST(replySizes(lenient), "lenientReplies");
}

void TestSimStrict::versionEndsWithItsZero()
{
    Instrument instrument = instrumentWith(Strictness::Strict);
    instrument.writeTransfer(frame(CmdReadVersion), Start);
    QCOMPARE(drain(instrument), (Transfers{littleEndian32(16), QByteArray("KVT-1.0 sim 1.0\0", 16)}));
}

void TestSimStrict::nameBlockTransfers_data()
{
    QTest::addColumn<Transfers>("writes"); // after the write command's frame
    QTest::addColumn<bool>("stored");

    const QByteArray block = bytesOf(makeNameListBlock({"Clay", "Sand"}));
    const QByteArray length = littleEndian32(260);
    const Transfers pieces = nameListWrite(CmdWriteObjects, block).mid(2);
    QTest::newRow("length, then 64, 64, 64, 64, 4") << Transfers{length} + pieces << true;
    // The wire carries the same 64-byte packets either way.
    QTest::newRow("the block in one transfer") << Transfers{length, block} << true;
    QTest::newRow("the length joined to the block") << Transfers{length + block} << false;
    QTest::newRow("the length split 2 + 2") << Transfers{length.left(2), length.mid(2)} + pieces << false;
    QTest::newRow("a command where the length belongs") << Transfers{frame(CmdReadVersion)} + pieces << false;
    QTest::newRow("the last piece joined to a command")
        << Transfers{length} + pieces.mid(0, 4) + Transfers{pieces[4] + frame(CmdReadVersion)} << true;
}

void TestSimStrict::nameBlockTransfers()
{
    QFETCH(Transfers, writes);
    QFETCH(bool, stored);
    Instrument instrument = instrumentWith(Strictness::Strict);
    const QByteArray before = bytesOf(instrument.objectNames());
    instrument.writeTransfer(frame(CmdWriteObjects), Start);
    for (const QByteArray &write : writes)
        instrument.writeTransfer(write, Start);
    QCOMPARE(bytesOf(instrument.objectNames()) != before, stored);

    // Nothing of it was answered, and the next command is.
    QVERIFY(!instrument.hasTransfer());
    instrument.writeTransfer(frame(CmdReadScreen), Start);
    QCOMPARE(replySizes(instrument), Sizes{1024});
}

void TestSimStrict::replyIsReadyAfterItsDelay_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("delayMs");
    // The shortest pause either backend leaves between a command and its read.
    QTest::newRow("version") << frame(CmdReadVersion) << 50;
    QTest::newRow("directory") << frame(CmdReadDirectory) << 50;
    QTest::newRow("record") << recordFrame(2) << 0;
    QTest::newRow("materials") << frame(CmdReadMaterials) << 50;
    QTest::newRow("objects") << frame(CmdReadObjects) << 50;
    QTest::newRow("screen") << frame(CmdReadScreen) << 0;
}

void TestSimStrict::replyIsReadyAfterItsDelay()
{
    QFETCH(QByteArray, command);
    QFETCH(int, delayMs);
    const SimTime ready = Start + std::chrono::milliseconds(delayMs);
    Instrument instrument = instrumentWith(Strictness::Strict, QStringLiteral("slow=lost"));
    instrument.writeTransfer(command, Start);
    QCOMPARE(instrument.transferReadyAt(), std::optional(ready));
    unsigned char length[4];
    if (delayMs > 0)
        QCOMPARE(instrument.read(length, 4, ready - 1ms), std::nullopt); // a host that did not wait
    QCOMPARE(instrument.read(length, 4, ready), std::optional<size_t>(4));
}

void TestSimStrict::commandWhileAReplyIsMadeReady_data()
{
    QTest::addColumn<QString>("slow");
    QTest::addColumn<int>("screenAfterMs");
    QTest::addColumn<bool>("screenAnswered");
    QTest::addColumn<int>("screenReadyAfterMs");

    // The screen command comes while the version reply is still being made ready.
    QTest::newRow("lost: 10 ms after the version") << "lost" << 10 << false << 0;
    QTest::newRow("lost: once the version is ready") << "lost" << 50 << true << 50;
    QTest::newRow("late: 10 ms after, answered once free") << "late" << 10 << true << 50;
    QTest::newRow("off: 10 ms after, answered at once") << "off" << 10 << true << 10;
}

void TestSimStrict::commandWhileAReplyIsMadeReady()
{
    QFETCH(QString, slow);
    QFETCH(int, screenAfterMs);
    QFETCH(bool, screenAnswered);
    QFETCH(int, screenReadyAfterMs);
    Instrument instrument = instrumentWith(Strictness::Strict, "slow=" + slow);
    instrument.writeTransfer(frame(CmdReadVersion), Start);
    instrument.writeTransfer(frame(CmdReadScreen), Start + std::chrono::milliseconds(screenAfterMs));

    char version[64];
    for (const size_t size : {4, 16}) // the version's two transfers
        QCOMPARE(instrument.read(reinterpret_cast<unsigned char *>(version), 64, Start + 50ms), std::optional(size));
    if (screenAnswered)
        QCOMPARE(instrument.transferReadyAt(), std::optional(Start + std::chrono::milliseconds(screenReadyAfterMs)));
    QCOMPARE(replySizes(instrument), screenAnswered ? Sizes{1024} : Sizes{});
}

void TestSimStrict::nameBlockPace_data()
{
    QTest::addColumn<QString>("slow");
    QTest::addColumn<bool>("stream");
    QTest::addColumn<int>("lengthAfterMs");
    QTest::addColumn<int>("pieceGapMs");
    QTest::addColumn<bool>("stored");

    QTest::newRow("the protocol's pauses: 300, then 15 between pieces") << "lost" << false << 300 << 15 << true;
    QTest::newRow("the block too soon after its command") << "lost" << false << 299 << 15 << false;
    QTest::newRow("pieces back to back") << "lost" << false << 300 << 0 << false;
    QTest::newRow("pieces 14 ms apart") << "lost" << false << 300 << 14 << false;
    QTest::newRow("late: all at once, taken as the instrument gets free") << "late" << false << 0 << 0 << true;
    // A stream's bytes are stamped when read, so it is allowed 10 ms.
    QTest::newRow("a stream: pieces 5 ms apart") << "lost" << true << 300 << 5 << true;
    QTest::newRow("a stream: pieces back to back") << "lost" << true << 300 << 0 << false;
}

void TestSimStrict::nameBlockPace()
{
    QFETCH(QString, slow);
    QFETCH(bool, stream);
    QFETCH(int, lengthAfterMs);
    QFETCH(int, pieceGapMs);
    QFETCH(bool, stored);
    Instrument instrument = instrumentWith(Strictness::Strict, "slow=" + slow);
    const auto send = [&](const QByteArray &bytes, SimTime at) {
        stream ? instrument.write(bytes, at) : instrument.writeTransfer(bytes, at);
    };
    const QByteArray before = bytesOf(instrument.objectNames());
    const QByteArray block = bytesOf(makeNameListBlock({"Loam", "Peat"}));
    const Transfers writes = nameListWrite(CmdWriteObjects, block);

    // As the program writes it: the length and the first piece back to back.
    send(writes[0], Start);
    SimTime at = Start + std::chrono::milliseconds(lengthAfterMs);
    send(writes[1], at);
    for (const QByteArray &piece : writes.mid(2)) {
        send(piece, at);
        at += std::chrono::milliseconds(pieceGapMs);
    }
    QCOMPARE(bytesOf(instrument.objectNames()), stored ? block : before);

    // Whatever was lost, the instrument takes the next command once free.
    send(frame(CmdReadObjects), at + 1s);
    QCOMPARE(drain(instrument).value(1), stored ? block : before);
}

QTEST_GUILESS_MAIN(TestSimStrict)
#include "tst_sim_strict.moc"
