// What the environment tells the simulated instrument: the fault list, the
// content choice and the full-speed timing arithmetic.

#include "sim/bus_timing.h"
#include "sim/fault_plan.h"
#include "sim/sim_settings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kvt::sim;
using namespace std::chrono_literals;

using Codes = QList<int>;
Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(std::optional<EarlyInput>)
Q_DECLARE_METATYPE(Strictness)

namespace {

Codes codesOf(const std::bitset<256> &set)
{
    Codes codes;
    for (int code = 0; code < 256; ++code) {
        if (set.test(size_t(code)))
            codes << code;
    }
    return codes;
}

const SimTime Start = SimTime{} + 1h;

} // namespace

class TestSimSettings : public QObject {
    Q_OBJECT
private slots:
    void packetsAndFrames_data();
    void packetsAndFrames();
    void timelineFollowsOnWithoutDrift();
    void idleBusIsNoCredit();
    void zeroLatencyTakesNoTime();
    void timeOutIsWaitedButNotCharged();

    void faultPlan_data();
    void faultPlan();

    void settings_data();
    void settings();
    void strictness_data();
    void strictness();
    void unreadableDataFileFallsBackToTheDemo();
};

void TestSimSettings::packetsAndFrames_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("packets");
    QTest::addColumn<int>("frames");
    QTest::newRow("empty transfer") << 0 << 1 << 1;
    QTest::newRow("length") << 4 << 1 << 1;
    QTest::newRow("one packet") << 64 << 1 << 1;
    QTest::newRow("just over a packet") << 65 << 2 << 1;
    QTest::newRow("a full frame") << 19 * 64 << 19 << 1;
    QTest::newRow("one byte more") << 19 * 64 + 1 << 20 << 2;
    QTest::newRow("record") << 2196 << 35 << 2;
    QTest::newRow("directory") << 14228 << 223 << 12;
}

void TestSimSettings::packetsAndFrames()
{
    QFETCH(int, bytes);
    QFETCH(int, packets);
    QFETCH(int, frames);
    QCOMPARE(fullSpeedPackets(size_t(bytes)), packets);
    QCOMPARE(fullSpeedFrames(size_t(bytes)), frames);
}

void TestSimSettings::timelineFollowsOnWithoutDrift()
{
    BusTimeline timeline(true);
    QCOMPARE(timeline.transfer(4, Start), Start + 1ms);
    // The caller woke 300 µs late; the next transfer still starts where the
    // last one ended.
    QCOMPARE(timeline.transfer(2196, Start + 1ms + 300us), Start + 3ms);
    QCOMPARE(timeline.transfer(14228, Start + 3ms), Start + 15ms);
    QCOMPARE(timeline.chargedMilliseconds(), 15.0);
}

void TestSimSettings::idleBusIsNoCredit()
{
    BusTimeline timeline(true);
    timeline.transfer(4, Start);
    QCOMPARE(timeline.transfer(4, Start + 50ms), Start + 51ms);
    QCOMPARE(timeline.chargedMilliseconds(), 2.0);
}

void TestSimSettings::zeroLatencyTakesNoTime()
{
    BusTimeline timeline;
    QCOMPARE(timeline.transfer(14228, Start), Start);
    QCOMPARE(timeline.timeOut(500, Start), Start);
    QCOMPARE(timeline.chargedMilliseconds(), 0.0);
}

void TestSimSettings::timeOutIsWaitedButNotCharged()
{
    BusTimeline timeline(true);
    QCOMPARE(timeline.timeOut(500, Start), Start + 500ms);
    QCOMPARE(timeline.chargedMilliseconds(), 0.0);
}

void TestSimSettings::faultPlan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("unplugAfter");
    QTest::addColumn<std::optional<int>>("replugAfter");
    QTest::addColumn<Codes>("timeouts");
    QTest::addColumn<Codes>("shortReplies");
    QTest::addColumn<Codes>("longReplies");
    QTest::addColumn<bool>("emptyDirectory");
    QTest::addColumn<std::optional<EarlyInput>>("earlyInput");
    QTest::addColumn<QStringList>("unknown");

    const std::optional<int> none;
    const std::optional<EarlyInput> unset;
    QTest::newRow("nothing") << "" << none << none << Codes{} << Codes{} << Codes{} << false << unset
                             << QStringList{};
    QTest::newRow("unplug and replug")
        << "unplug-after-records=3,replug-after-ms=500" << std::optional(3) << std::optional(500) << Codes{}
        << Codes{} << Codes{} << false << unset << QStringList{};
    QTest::newRow("spaces and repeats")
        << " timeout-on=3 , timeout-on=9,short-reply=2,long-reply=1,empty-directory , " << none << none
        << Codes{3, 9} << Codes{2} << Codes{1} << true << unset << QStringList{};
    QTest::newRow("a slow instrument, the last word counts")
        << "slow=late, slow = lost" << none << none << Codes{} << Codes{} << Codes{} << false
        << std::optional(EarlyInput::Lost) << QStringList{};
    QTest::newRow("a fast one") << "slow=off" << none << none << Codes{} << Codes{} << Codes{} << false
                                << std::optional(EarlyInput::Taken) << QStringList{};
    QTest::newRow("unknown items are set aside")
        << "bogus,timeout-on=x,long-reply=300,unplug-after-records=-1,short-reply=7,slow=late,slow=very" << none
        << none << Codes{} << Codes{7} << Codes{} << false << std::optional(EarlyInput::Late)
        << QStringList{"bogus", "timeout-on=x", "long-reply=300", "unplug-after-records=-1", "slow=very"};
}

void TestSimSettings::faultPlan()
{
    QFETCH(QString, text);
    const ParsedFaults parsed = parseFaultPlan(text);
    QTEST(parsed.plan.unplugAfterRecords, "unplugAfter");
    QTEST(parsed.plan.replugAfterMs, "replugAfter");
    QTEST(codesOf(parsed.plan.timeoutOn), "timeouts");
    QTEST(codesOf(parsed.plan.shortReply), "shortReplies");
    QTEST(codesOf(parsed.plan.longReply), "longReplies");
    QTEST(parsed.plan.emptyDirectory, "emptyDirectory");
    QTEST(parsed.plan.earlyInput, "earlyInput");
    QTEST(parsed.unknownItems, "unknown");
}

void TestSimSettings::settings_data()
{
    QTest::addColumn<QString>("impacts");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("timing");
    QTest::addColumn<int>("fullImpacts");
    QTest::addColumn<bool>("fullSpeed");
    QTest::addColumn<int>("warnings");

    QTest::newRow("defaults") << "" << "" << "" << -1 << false << 0;
    QTest::newRow("full instrument") << "200" << "" << "fullspeed" << 200 << true << 0;
    QTest::newRow("more than it holds") << "5000" << "" << "" << 3556 << false << 1;
    QTest::newRow("not a number") << "many" << "" << "" << -1 << false << 1;
    QTest::newRow("unknown timing") << "" << "" << "slow" << -1 << false << 1;
    QTest::newRow("unknown faults") << "" << "a,b,empty-directory" << "" << -1 << false << 2;
}

void TestSimSettings::settings()
{
    QFETCH(QString, impacts);
    QFETCH(QString, faults);
    QFETCH(QString, timing);
    const SimSettings settings = settingsFrom({}, impacts, faults, timing);
    QTEST(settings.fullImpacts, "fullImpacts");
    QTEST(settings.fullSpeed, "fullSpeed");
    QTEST(int(settings.warnings.size()), "warnings");
    if (settings.fullImpacts >= 0) {
        QStringList warnings;
        QCOMPARE(contentFor(settings, &warnings).records.size(), size_t(settings.fullImpacts));
        QVERIFY(warnings.isEmpty());
    }
}

void TestSimSettings::strictness_data()
{
    QTest::addColumn<QString>("strict");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<Strictness>("strictness");
    QTest::addColumn<std::optional<EarlyInput>>("earlyInput");
    QTest::addColumn<int>("warnings");

    const std::optional<EarlyInput> unset;
    QTest::newRow("unset: lenient and fast") << "" << "" << Strictness::Lenient << unset << 0;
    QTest::newRow("0: lenient") << "0" << "" << Strictness::Lenient << unset << 0;
    QTest::newRow("1: strict, and slow input is lost") << "1" << "" << Strictness::Strict
                                                       << std::optional(EarlyInput::Lost) << 0;
    QTest::newRow("1 with slow=late") << "1" << "slow=late" << Strictness::Strict << std::optional(EarlyInput::Late)
                                      << 0;
    QTest::newRow("1 with slow=off") << "1" << "slow=off" << Strictness::Strict << std::optional(EarlyInput::Taken)
                                     << 0;
    QTest::newRow("lenient with slow=lost") << "" << "slow=lost" << Strictness::Lenient
                                            << std::optional(EarlyInput::Lost) << 0;
    QTest::newRow("yes: not understood, lenient") << "yes" << "" << Strictness::Lenient << unset << 1;
}

void TestSimSettings::strictness()
{
    QFETCH(QString, strict);
    QFETCH(QString, faults);
    const SimSettings settings = settingsFrom({}, {}, faults, {}, strict);
    QTEST(settings.strictness, "strictness");
    QTEST(settings.faults.earlyInput, "earlyInput");
    QTEST(int(settings.warnings.size()), "warnings");
}

void TestSimSettings::unreadableDataFileFallsBackToTheDemo()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.kvt");
    const SimSettings settings = settingsFrom(missing, "7", {}, {});
    QStringList warnings;
    const InstrumentContent content = contentFor(settings, &warnings);
    QCOMPARE(content.records.size(), demoContent().records.size());
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings[0].contains(missing));
}

QTEST_GUILESS_MAIN(TestSimSettings)
#include "tst_sim_settings.moc"
