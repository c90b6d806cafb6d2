#include "device/link_requests.h"

#include <QTest>

using namespace kvt;

// The hand-over of the requesters' buffers between the window and the worker.
class TestLinkRequests : public QObject {
    Q_OBJECT
private slots:
    void postScreenRequest_data();
    void postScreenRequest();
    void releasedBufferIsNeverWritten();
    void namesPostedOnlyToAnIdleWorker();
    void withdrawnReadLeavesTheTable();
    void withdrawnWriteSendsNothing();
    void oldCompletionDoesNotEndANewRequest();
};

void TestLinkRequests::postScreenRequest_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("posted");

    QTest::newRow("idle") << int(StateIdle) << true;
    QTest::newRow("searching: the search is replaced") << int(StateSearch) << true;
    QTest::newRow("another viewer's request") << int(StateReadScreen) << true;
    QTest::newRow("reading the records: not cut short") << int(StateReadImpacts) << false;
    QTest::newRow("a complete read being handed over") << int(StateFinishRead) << false;
    QTest::newRow("a name list being written") << int(StateWriteMaterials) << false;
    QTest::newRow("a name list being read") << int(StateReadObjects) << false;
}

void TestLinkRequests::postScreenRequest()
{
    QFETCH(int, before);
    QFETCH(bool, posted);

    LinkShared shared;
    shared.linkState = quint8(before);
    ScreenBlock mine{};
    QCOMPARE(kvt::postScreenRequest(shared, mine).has_value(), posted);
    QCOMPARE(int(shared.linkState.load()), posted ? int(StateReadScreen) : before);
    QCOMPARE(shared.screenBuffer, posted ? &mine : nullptr);
}

void TestLinkRequests::releasedBufferIsNeverWritten()
{
    LinkShared shared;
    shared.linkState = StateIdle;
    ScreenBlock first{}, second{};
    ScreenBlock reply;
    reply.fill(0x5A);

    QVERIFY(kvt::postScreenRequest(shared, first));
    QVERIFY(kvt::postScreenRequest(shared, second)); // the last viewer to ask gets the reply
    releaseScreenBuffer(shared, first);              // not the holder: nothing changes
    deliverScreen(shared, reply);
    QCOMPARE(first, ScreenBlock{});
    QCOMPARE(second, reply);

    second.fill(0);
    releaseScreenBuffer(shared, second);
    deliverScreen(shared, reply);
    QCOMPARE(second, ScreenBlock{});
}

void TestLinkRequests::namesPostedOnlyToAnIdleWorker()
{
    LinkShared shared;
    shared.linkState = StateSearch;
    QVERIFY(!postRequest(shared, StateReadMaterials));
    shared.linkState = StateIdle;
    const std::optional<quint32> serial = postRequest(shared, StateReadMaterials);
    QVERIFY(serial);
    QCOMPARE(shared.linkState.load(), quint8(StateReadMaterials));
    QVERIFY(!postRequest(shared, StateReadObjects));
    QVERIFY(!requestServed(shared, *serial));

    const std::optional<StandingRequest> standing = standingRequest(shared, StateReadMaterials);
    QVERIFY(standing);
    completeRequest(shared, *standing);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(requestServed(shared, *serial));
}

void TestLinkRequests::withdrawnReadLeavesTheTable()
{
    // The requester gave up while the instrument was still answering: what
    // arrives afterwards does not land in the table it is now reading.
    LinkShared shared;
    shared.linkState = StateIdle;
    const std::optional<quint32> serial = postRequest(shared, StateReadObjects);
    const std::optional<StandingRequest> standing = standingRequest(shared, StateReadObjects);
    QVERIFY(serial && standing);
    withdrawRequest(shared, StateReadObjects);

    NameListBlock reply;
    reply.fill(0x41);
    deliverNames(shared, *standing, shared.objectNamesBuffer, reply);
    completeRequest(shared, *standing);
    QCOMPARE(shared.objectNamesBuffer, NameListBlock{});
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(!requestServed(shared, *serial));
    QVERIFY(!standingRequest(shared, StateReadObjects));
}

void TestLinkRequests::withdrawnWriteSendsNothing()
{
    LinkShared shared;
    shared.linkState = StateIdle;
    shared.materialNamesBuffer.fill(0x42);
    QVERIFY(postRequest(shared, StateWriteMaterials));
    const std::optional<StandingRequest> standing = standingRequest(shared, StateWriteMaterials);
    QVERIFY(standing);
    QCOMPARE(takeOutgoingNames(shared, *standing, shared.materialNamesBuffer), shared.materialNamesBuffer);
    withdrawRequest(shared, StateWriteMaterials);
    QVERIFY(!takeOutgoingNames(shared, *standing, shared.materialNamesBuffer));
}

void TestLinkRequests::oldCompletionDoesNotEndANewRequest()
{
    // A write withdrawn mid-exchange and posted again: the first exchange's
    // end must not pass for the second one's.
    LinkShared shared;
    shared.linkState = StateIdle;
    QVERIFY(postRequest(shared, StateWriteObjects));
    const std::optional<StandingRequest> first = standingRequest(shared, StateWriteObjects);
    withdrawRequest(shared, StateWriteObjects);
    const std::optional<quint32> again = postRequest(shared, StateWriteObjects);
    QVERIFY(first && again);

    completeRequest(shared, *first);
    QCOMPARE(shared.linkState.load(), quint8(StateWriteObjects));
    QVERIFY(!requestServed(shared, *again));

    const std::optional<StandingRequest> second = standingRequest(shared, StateWriteObjects);
    QVERIFY(second);
    completeRequest(shared, *second);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(requestServed(shared, *again));
}

QTEST_GUILESS_MAIN(TestLinkRequests)
#include "tst_link_requests.moc"
