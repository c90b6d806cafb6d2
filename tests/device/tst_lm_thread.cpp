#include "device/lm_execute_thread.h"
#include "device/lm_thread.h"
#include "device/lm_thread_clock.h"
#include "device/lm_thread_group.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <tuple>

using namespace kvt;

namespace {

// How long anything that should happen soon may take before a test fails.
// Only ever an upper bound: a slow machine passes, a hang fails.
constexpr int Patience = 10000;

// Thread objects of ended runs are gone: compare and print their addresses only.
const void *address(const void *object)
{
    return object;
}

QThread *windowThread()
{
    return QCoreApplication::instance()->thread();
}

// The handler's pauses, each a wait point of its thread.
enum class WaitPoint { Sleep, Synchronize, Clock };

void pause(TLMExecuteThread *thread, WaitPoint point)
{
    static ExecuteThreadClock clock;
    switch (point) {
    case WaitPoint::Sleep: thread->Sleep(5); break;
    case WaitPoint::Synchronize: thread->Synchronize(TNotifyEvent([](QObject *) {})); break;
    case WaitPoint::Clock: clock.sleepMs(5); break;
    }
}

// A handler that pauses in a loop until it is asked to terminate.
struct Loop {
    WaitPoint point = WaitPoint::Sleep;
    std::atomic<int> passes{0};
    std::atomic<bool> ended{false};
    std::atomic<QThread *> ranOn{nullptr};
    std::atomic<void *> data{nullptr};

    TLMThreadEvent handler()
    {
        return [this](TLMThreadBase *, TLMExecuteThread *Thread, void *&Data) {
            ranOn = QThread::currentThread();
            data = Data;
            while (!Thread->Terminated()) {
                ++passes;
                pause(Thread, point);
            }
            ended = true;
        };
    }
};

// The loop makes no progress for a while: it is held at a wait point.
bool holds(const Loop &loop)
{
    QTest::qWait(100); // a pass under way may still finish
    const int before = loop.passes;
    QTest::qWait(300);
    return loop.passes == before;
}

bool advances(const Loop &loop)
{
    const int before = loop.passes;
    return QTest::qWaitFor([&] { return loop.passes > before + 2; }, Patience);
}

bool ends(TLMThreadBase &component)
{
    return QTest::qWaitFor([&] { return !component.GetRuning(); }, Patience);
}

// Events as they arrive: which, from whom, for which thread, on which thread.
struct Event {
    QString name;
    TLMThreadBase *sender;
    TLMExecuteThread *thread;
    void *data;
    QThread *ranOn;
    int percent;
};

struct Recorder {
    QList<Event> events;

    TLMThreadEvent on(const QString &name)
    {
        return [this, name](TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data) {
            events << Event{name, Sender, Thread, Data, QThread::currentThread(), -1};
        };
    }
    TLMThreadUpdateEvent onUpdate(const QString &name)
    {
        return [this, name](TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data, int Percent) {
            events << Event{name, Sender, Thread, Data, QThread::currentThread(), Percent};
        };
    }
    QStringList names() const
    {
        QStringList all;
        for (const Event &event : events)
            all << event.name;
        return all;
    }
    int count(const QString &name, TLMThreadBase *sender = nullptr) const
    {
        int n = 0;
        for (const Event &event : events)
            n += event.name == name && (!sender || event.sender == sender);
        return n;
    }
    bool allOnWindowThread() const
    {
        for (const Event &event : events)
            if (event.ranOn != windowThread())
                return false;
        return true;
    }
};

// What a callback handed to the window thread saw.
struct Synchronized {
    std::atomic<bool> ran{false};
    QThread *ranOn = nullptr;
    QObject *sender = nullptr;
    TLMExecuteThread *thread = nullptr;
    void *data = nullptr;

    void record(QObject *Sender, TLMExecuteThread *Thread, void *Data)
    {
        ranOn = QThread::currentThread();
        sender = Sender;
        thread = Thread;
        data = Data;
        ran = true;
    }
};

// Calls overload 1 to 5 of Synchronize; an empty callback when empty is set.
void synchronizeThrough(int overload, TLMExecuteThread *thread, Synchronized &seen, void *payload, bool empty)
{
    switch (overload) {
    case 1:
        thread->Synchronize(empty ? TNotifyEvent() : [&seen](QObject *Sender) { seen.record(Sender, nullptr, nullptr); });
        break;
    case 2:
        thread->Synchronize(empty ? TThreadNotifyEvent()
                                  : TThreadNotifyEvent([&seen](QObject *Sender, TLMExecuteThread *Thread) {
                                        seen.record(Sender, Thread, nullptr);
                                    }));
        break;
    case 3:
        thread->Synchronize(empty ? TThreadNotifyDataEvent()
                                  : TThreadNotifyDataEvent([&seen](QObject *Sender, TLMExecuteThread *Thread,
                                                                   void *&Data) { seen.record(Sender, Thread, Data); }),
                            payload);
        break;
    case 4:
        thread->Synchronize(empty ? TLMThreadNotifyEvent() : [&seen](TLMThread *Sender, TLMExecuteThread *Thread) {
            seen.record(Sender, Thread, nullptr);
        });
        break;
    case 5:
        thread->Synchronize(empty ? TLMThreadNotifyDataEvent()
                                  : [&seen](TLMThread *Sender, TLMExecuteThread *Thread, void *&Data) {
                                        seen.record(Sender, Thread, Data);
                                    },
                            payload);
        break;
    }
}

const char *const OutliveApplication = "--outlive-application";

// Run in a child process: the component is destroyed, its thread still
// running, after the application is gone.
int outliveApplication(int argc, char **argv)
{
    std::atomic<bool> ended{false};
    TLMThread *component = nullptr;
    {
        QCoreApplication app(argc, argv);
        component = new TLMThread;
        component->OnExecute = [&ended](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
            while (!Thread->Terminated())
                Thread->Sleep(5);
            Thread->Synchronize(TNotifyEvent([](QObject *) {}));
            ended = true;
        };
        component->Start();
        QThread::msleep(50);
    }
    delete component;
    std::printf("%s\n", ended ? "ended" : "running");
    return ended ? 0 : 1;
}

} // namespace

Q_DECLARE_METATYPE(kvt::TThreadPriority)
Q_DECLARE_METATYPE(WaitPoint)

// Two looping threads in one group, where the group tests start.
struct TwoInGroup {
    Loop first;
    Loop second;
    TLMThread a;
    TLMThread b;
    TLMThreadGroup group;

    TwoInGroup()
    {
        a.OnExecute = first.handler();
        b.OnExecute = second.handler();
        a.SetThreadGroup(&group);
        b.SetThreadGroup(&group);
    }
};

class TestLmThread : public QObject {
    Q_OBJECT
private slots:
    void priorityMapping_data();
    void priorityMapping();
    void defaults();
    void runsHandlerOnceWithData();
    void eventsOnTheirThreads();
    void startTwice();
    void runningUntilTheEndIsHandled();
    void stoppedComponentIgnoresCommands();
    void stopDoesNotWait();
    void suspendHoldsAtWaitPoint_data();
    void suspendHoldsAtWaitPoint();
    void stopWhileSuspended_data();
    void stopWhileSuspended();
    void longPauseEndsAtStop_data();
    void longPauseEndsAtStop();
    void clockSleepsElsewhere();
    void priorityGivenToThread();
    void updateEvery250ms();
    void updateFollowsUpdateEnabled();
    void synchronizeRunsOnWindowThread_data();
    void synchronizeRunsOnWindowThread();
    void synchronizeDoesNothing_data();
    void synchronizeDoesNothing();
    void synchronizeOnWindowThreadRunsAtOnce();
    void closeWhileWorkerSynchronizes();
    void handlerExceptions_data();
    void handlerExceptions();
    void destroyWhileRunning_data();
    void destroyWhileRunning();
    void stopAndWait_data();
    void stopAndWait();
    void componentOutlivesApplication();

    void groupOfTwo();
    void groupUpdatePriority_data();
    void groupUpdatePriority();
    void groupStartsAndStopsMembers();
    void groupLists();
    void groupRefusesCycle();
    void runningMemberJoinsAndLeaves();
    void nestedGroups_data();
    void nestedGroups();
    void groupDestroyedLetsMembersGo();
};

void TestLmThread::priorityMapping_data()
{
    QTest::addColumn<TThreadPriority>("priority");
    QTest::addColumn<QThread::Priority>("qt");
    QTest::newRow("idle") << tpIdle << QThread::IdlePriority;
    QTest::newRow("lowest") << tpLowest << QThread::LowestPriority;
    QTest::newRow("lower") << tpLower << QThread::LowPriority;
    QTest::newRow("normal") << tpNormal << QThread::NormalPriority;
    QTest::newRow("higher") << tpHigher << QThread::HighPriority;
    QTest::newRow("highest") << tpHighest << QThread::HighestPriority;
    QTest::newRow("time critical") << tpTimeCritical << QThread::TimeCriticalPriority;
}

void TestLmThread::priorityMapping()
{
    QFETCH(TThreadPriority, priority);
    QFETCH(QThread::Priority, qt);
    QCOMPARE(toQThreadPriority(priority), qt);
}

void TestLmThread::defaults()
{
    TLMThread thread;
    QCOMPARE(thread.RefreshInterval(), 100u);
    QCOMPARE(thread.Priority(), tpNormal);
    QCOMPARE(thread.UpdateEnabled(), false);
    QCOMPARE(thread.ThreadGroup(), nullptr);
    QCOMPARE(thread.UpdatePriority(), 0);
    QVERIFY(!thread.OnExecute && !thread.OnUpdate && !thread.OnStart && !thread.OnTerminate);
    QVERIFY(!thread.GetRuning());
    QCOMPARE(thread.ExecuteThread(), nullptr);

    TLMThreadGroup group;
    QCOMPARE(group.GetCountRuning(), 0);
    QVERIFY(!group.GetRuning());
    QCOMPARE(group.GetThreadItemsCount(), 0);
    QCOMPARE(group.GetThreadsCount(), 0);
    QVERIFY(!group.OnThreadUpdate && !group.OnThreadStart && !group.OnThreadTerminate);
}

void TestLmThread::runsHandlerOnceWithData()
{
    int first = 1;
    int second = 2;
    std::atomic<int> runs{0};
    std::atomic<void *> seen{nullptr};
    std::atomic<TLMThreadBase *> sender{nullptr};
    TLMThread thread;
    Recorder recorder;
    thread.OnStart = recorder.on("start");
    thread.OnTerminate = recorder.on("terminate");
    thread.OnExecute = [&](TLMThreadBase *Sender, TLMExecuteThread *, void *&Data) {
        ++runs;
        sender = Sender;
        seen = Data;
        Data = &second; // the events hold a reference to the thread's pointer
    };

    thread.Start(&first);
    QVERIFY(ends(thread));
    QCOMPARE(runs.load(), 1);
    QCOMPARE(sender.load(), &thread);
    QCOMPARE(seen.load(), &first);
    QCOMPARE(recorder.names(), QStringList({"start", "terminate"}));
    QCOMPARE(recorder.events[0].sender, &thread);
    QCOMPARE(recorder.events[0].data, &first);
    QCOMPARE(address(recorder.events[1].thread), address(recorder.events[0].thread));
    QCOMPARE(recorder.events[1].data, &second);
}

void TestLmThread::eventsOnTheirThreads()
{
    Loop loop;
    Recorder recorder;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.OnStart = recorder.on("start");
    thread.OnTerminate = recorder.on("terminate");
    thread.OnUpdate = recorder.onUpdate("update");
    thread.SetRefreshInterval(20);
    thread.SetGetUpdateEnabled(true);

    thread.Start();
    TLMExecuteThread *executing = thread.ExecuteThread();
    QVERIFY(QTest::qWaitFor([&] { return recorder.count("update") >= 2; }, Patience));
    thread.Stop();
    QVERIFY(ends(thread));

    QCOMPARE(recorder.count("start"), 1);
    QCOMPARE(recorder.count("terminate"), 1);
    QVERIFY(recorder.allOnWindowThread());
    QCOMPARE(address(loop.ranOn.load()), address(static_cast<QThread *>(executing)));
    QVERIFY(loop.ranOn.load() != windowThread());
}

void TestLmThread::startTwice()
{
    int first = 1;
    int second = 2;
    Loop loop;
    std::atomic<int> runs{0};
    Recorder recorder;
    TLMThread thread;
    thread.OnStart = recorder.on("start");
    thread.OnTerminate = recorder.on("terminate");
    thread.OnExecute = [&, handler = loop.handler()](TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data) {
        ++runs;
        handler(Sender, Thread, Data);
    };

    thread.Start(&first);
    TLMExecuteThread *running = thread.ExecuteThread();
    QVERIFY(advances(loop));
    thread.Start(&second);
    thread.Start();
    QCOMPARE(thread.ExecuteThread(), running);
    QCOMPARE(running->Data(), static_cast<void *>(&first));
    QCOMPARE(recorder.count("start"), 1);

    thread.Stop();
    QVERIFY(ends(thread));
    QCOMPARE(runs.load(), 1);
    QCOMPARE(recorder.count("terminate"), 1);
}

void TestLmThread::runningUntilTheEndIsHandled()
{
    Recorder recorder;
    TLMThread thread;
    thread.OnExecute = [](TLMThreadBase *, TLMExecuteThread *, void *&) {};
    thread.OnTerminate = recorder.on("terminate");

    thread.Start();
    TLMExecuteThread *executing = thread.ExecuteThread();
    // The thread has ended, but the window thread has not yet seen it.
    QVERIFY(executing->wait(Patience));
    QVERIFY(thread.GetRuning());
    thread.Start();
    QCOMPARE(thread.ExecuteThread(), executing);
    QCOMPARE(recorder.count("terminate"), 0);

    QVERIFY(ends(thread));
    QCOMPARE(recorder.count("terminate"), 1);
}

void TestLmThread::stoppedComponentIgnoresCommands()
{
    Loop loop;
    Recorder recorder;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.OnStart = recorder.on("start");
    thread.OnTerminate = recorder.on("terminate");

    thread.Stop();
    thread.Suspend();
    thread.Resume();
    QVERIFY(thread.StopAndWait(0));
    QVERIFY(!thread.GetRuning());
    QVERIFY(recorder.events.isEmpty());

    // Nothing of the above carries over into the next run.
    thread.Start();
    QVERIFY(advances(loop));
    thread.Stop();
    QVERIFY(ends(thread));
    QCOMPARE(recorder.names(), QStringList({"start", "terminate"}));
}

void TestLmThread::stopDoesNotWait()
{
    std::atomic<bool> release{false};
    std::atomic<bool> ended{false};
    TLMThread thread;
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        while (!Thread->Terminated())
            Thread->Sleep(5);
        while (!release)
            QThread::msleep(1);
        ended = true;
    };
    thread.Start();
    thread.Stop();
    QVERIFY(thread.GetRuning());
    QVERIFY(thread.ExecuteThread()->Terminated());
    QVERIFY(!ended);
    release = true;
    QVERIFY(ends(thread));
    QVERIFY(ended);
}

void TestLmThread::suspendHoldsAtWaitPoint_data()
{
    QTest::addColumn<WaitPoint>("point");
    QTest::newRow("Sleep") << WaitPoint::Sleep;
    QTest::newRow("Synchronize") << WaitPoint::Synchronize;
    QTest::newRow("clock pause") << WaitPoint::Clock;
}

void TestLmThread::suspendHoldsAtWaitPoint()
{
    QFETCH(WaitPoint, point);
    Loop loop;
    loop.point = point;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.Start();
    QVERIFY(advances(loop));

    thread.Suspend();
    QVERIFY(thread.ExecuteThread()->Suspended());
    QVERIFY(holds(loop));
    thread.Resume();
    QVERIFY(!thread.ExecuteThread()->Suspended());
    QVERIFY(advances(loop));

    thread.Stop();
    QVERIFY(ends(thread));
}

void TestLmThread::stopWhileSuspended_data()
{
    suspendHoldsAtWaitPoint_data();
}

void TestLmThread::stopWhileSuspended()
{
    QFETCH(WaitPoint, point);
    Loop loop;
    loop.point = point;
    Recorder recorder;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.OnTerminate = recorder.on("terminate");
    thread.Start();
    QVERIFY(advances(loop));
    thread.Suspend();
    QVERIFY(holds(loop));

    thread.Stop();
    QVERIFY(!thread.ExecuteThread()->Suspended());
    QVERIFY(ends(thread));
    QVERIFY(loop.ended);
    QCOMPARE(recorder.count("terminate"), 1);
}

void TestLmThread::longPauseEndsAtStop_data()
{
    QTest::addColumn<WaitPoint>("point");
    QTest::newRow("Sleep") << WaitPoint::Sleep;
    QTest::newRow("clock pause") << WaitPoint::Clock;
}

void TestLmThread::longPauseEndsAtStop()
{
    QFETCH(WaitPoint, point);
    constexpr int Minute = 60000;
    static_assert(Minute > Patience);
    std::atomic<bool> pausing{false};
    TLMThread thread;
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        pausing = true;
        if (point == WaitPoint::Sleep) {
            Thread->Sleep(Minute);
        } else {
            ExecuteThreadClock clock;
            clock.sleepMs(Minute);
        }
    };
    thread.Start();
    QVERIFY(QTest::qWaitFor([&] { return pausing.load(); }, Patience));
    QTest::qWait(50);
    thread.Stop();
    QVERIFY(ends(thread));
}

void TestLmThread::clockSleepsElsewhere()
{
    QCOMPARE(TLMExecuteThread::Current(), nullptr);
    ExecuteThreadClock clock;
    QElapsedTimer elapsed;
    elapsed.start();
    clock.sleepMs(30);
    QVERIFY(elapsed.elapsed() >= 29);
    QVERIFY(clock.nowMs() > 0);
}

void TestLmThread::priorityGivenToThread()
{
    Loop loop;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.SetPriority(tpLower);
    QCOMPARE(thread.GetPriority(), tpLower);
    thread.Start();
    QVERIFY(advances(loop));
    QCOMPARE(thread.ExecuteThread()->priority(), QThread::LowPriority);

    thread.SetPriority(tpHigher);
    QCOMPARE(thread.Priority(), tpHigher);
    QCOMPARE(thread.ExecuteThread()->priority(), QThread::HighPriority);
    thread.Stop();
    QVERIFY(ends(thread));
}

void TestLmThread::updateEvery250ms()
{
    std::atomic<bool> secondPhase{false};
    QList<int> percents;
    TLMThread thread;
    thread.SetRefreshInterval(250);
    thread.SetGetUpdateEnabled(true);
    thread.OnStart = [](TLMThreadBase *, TLMExecuteThread *Thread, void *&) { Thread->SetPercent(25); };
    thread.OnUpdate = [&](TLMThreadBase *, TLMExecuteThread *, void *&, int Percent) { percents << Percent; };
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        while (!Thread->Terminated() && !secondPhase)
            Thread->Sleep(5);
        Thread->SetPercent(75);
        while (!Thread->Terminated())
            Thread->Sleep(5);
    };

    QTest::qWait(600);
    QVERIFY2(percents.isEmpty(), "updates before the start");

    thread.Start();
    QTest::qWait(1300);
    const int ticks = int(percents.size());
    // About five; the bounds only tell 250 ms from the default 100 ms and
    // from no ticks at all.
    QVERIFY2(ticks >= 2 && ticks <= 8, qPrintable(QString::number(ticks)));
    QCOMPARE(percents, QList<int>(ticks, 25));

    secondPhase = true;
    QVERIFY(QTest::qWaitFor([&] { return percents.size() > ticks && percents.last() == 75; }, Patience));

    thread.Stop();
    QVERIFY(ends(thread));
    const qsizetype atEnd = percents.size();
    QTest::qWait(600);
    QCOMPARE(percents.size(), atEnd);
}

void TestLmThread::updateFollowsUpdateEnabled()
{
    Loop loop;
    int updates = 0;
    TLMThread thread;
    thread.SetRefreshInterval(20);
    thread.OnExecute = loop.handler();
    thread.OnUpdate = [&](TLMThreadBase *, TLMExecuteThread *, void *&, int) { ++updates; };

    thread.Start();
    QTest::qWait(300);
    QCOMPARE(updates, 0);

    thread.SetGetUpdateEnabled(true);
    QVERIFY(QTest::qWaitFor([&] { return updates >= 3; }, Patience));

    thread.SetGetUpdateEnabled(false);
    const int disabledAt = updates;
    QTest::qWait(200);
    QCOMPARE(updates, disabledAt);

    thread.Stop();
    QVERIFY(ends(thread));
}

void TestLmThread::synchronizeRunsOnWindowThread_data()
{
    QTest::addColumn<int>("overload");
    QTest::addColumn<bool>("passesThread");
    QTest::addColumn<bool>("passesData");
    QTest::newRow("1 (Sender)") << 1 << false << false;
    QTest::newRow("2 (Sender, Thread)") << 2 << true << false;
    QTest::newRow("3 (Sender, Thread, Data)") << 3 << true << true;
    QTest::newRow("4 (TLMThread, Thread)") << 4 << true << false;
    QTest::newRow("5 (TLMThread, Thread, Data)") << 5 << true << true;
}

void TestLmThread::synchronizeRunsOnWindowThread()
{
    QFETCH(int, overload);
    QFETCH(bool, passesThread);
    QFETCH(bool, passesData);
    int payload = 0;
    Synchronized seen;
    std::atomic<bool> returned{false};
    std::atomic<bool> ranBeforeReturn{false};
    TLMThread thread;
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        synchronizeThrough(overload, Thread, seen, &payload, false);
        ranBeforeReturn = seen.ran.load();
        returned = true;
    };

    thread.Start();
    TLMExecuteThread *executing = thread.ExecuteThread();
    QVERIFY(ends(thread));
    QVERIFY(returned);
    QVERIFY(seen.ran);
    QVERIFY(ranBeforeReturn);
    QCOMPARE(address(seen.ranOn), address(windowThread()));
    QCOMPARE(seen.sender, &thread);
    QCOMPARE(address(seen.thread), address(passesThread ? executing : nullptr));
    QCOMPARE(seen.data, passesData ? static_cast<void *>(&payload) : nullptr);
}

void TestLmThread::synchronizeDoesNothing_data()
{
    QTest::addColumn<int>("overload");
    QTest::addColumn<bool>("afterStop");
    for (int overload = 1; overload <= 5; ++overload) {
        QTest::addRow("overload %d after Stop", overload) << overload << true;
        QTest::addRow("overload %d, empty callback", overload) << overload << false;
    }
}

void TestLmThread::synchronizeDoesNothing()
{
    QFETCH(int, overload);
    QFETCH(bool, afterStop);
    int payload = 0;
    Synchronized seen;
    std::atomic<bool> returned{false};
    TLMThread thread;
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        while (afterStop && !Thread->Terminated())
            Thread->Sleep(1);
        synchronizeThrough(overload, Thread, seen, &payload, !afterStop);
        returned = true;
    };

    thread.Start();
    TLMExecuteThread *executing = thread.ExecuteThread();
    if (afterStop)
        thread.Stop();
    // The window thread processes no events here: a call that waited for it
    // would never return, and the thread would not end.
    QVERIFY(executing->wait(Patience));
    QVERIFY(returned);
    QVERIFY(!seen.ran);
    QVERIFY(ends(thread));
}

void TestLmThread::synchronizeOnWindowThreadRunsAtOnce()
{
    bool ranInOnStart = false;
    bool ranInTest = false;
    Loop loop;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.OnStart = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        Thread->Synchronize(TNotifyEvent([&](QObject *) { ranInOnStart = true; }));
    };
    thread.Start();
    QVERIFY(ranInOnStart);
    thread.ExecuteThread()->Synchronize([&](TLMThread *, TLMExecuteThread *) { ranInTest = true; });
    QVERIFY(ranInTest);
    thread.Stop();
    QVERIFY(ends(thread));
}

void TestLmThread::closeWhileWorkerSynchronizes()
{
    // The main window's close: Stop, then poll GetRuning while processing
    // events, the worker in the middle of handing calls to the window.
    Loop loop;
    loop.point = WaitPoint::Synchronize;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    thread.Start();
    QVERIFY(advances(loop));

    thread.Stop();
    QElapsedTimer waited;
    waited.start();
    while (thread.GetRuning() && waited.elapsed() < Patience) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    QVERIFY(!thread.GetRuning());
    QVERIFY(loop.ended);
}

void TestLmThread::handlerExceptions_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("warning");
    QTest::newRow("OnExecute") << "execute" << "OnExecute: exception: thrown in execute";
    QTest::newRow("Synchronize callback") << "synchronize" << "Synchronize: exception: thrown in synchronize";
    QTest::newRow("OnUpdate") << "update" << "OnUpdate: exception: thrown in update";
    QTest::newRow("OnTerminate") << "terminate" << "OnTerminate: exception: thrown in terminate";
}

void TestLmThread::handlerExceptions()
{
    QFETCH(QString, where);
    QFETCH(QString, warning);
    const std::string what = "thrown in " + where.toStdString();
    std::atomic<bool> carriedOn{false};
    bool updated = false;
    TLMThread thread;
    thread.SetRefreshInterval(10);
    thread.SetGetUpdateEnabled(true);
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        if (where == "execute")
            throw std::runtime_error(what);
        if (where == "synchronize")
            Thread->Synchronize(TNotifyEvent([&](QObject *) { throw std::runtime_error(what); }));
        while (!Thread->Terminated())
            Thread->Sleep(5);
        carriedOn = true;
    };
    thread.OnUpdate = [&](TLMThreadBase *, TLMExecuteThread *, void *&, int) {
        const bool first = !updated;
        updated = true;
        if (where == "update" && first)
            throw std::runtime_error(what);
    };
    thread.OnTerminate = [&](TLMThreadBase *, TLMExecuteThread *, void *&) {
        if (where == "terminate")
            throw std::runtime_error(what);
    };
    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));

    thread.Start();
    if (where != "execute") {
        QVERIFY(QTest::qWaitFor([&] { return updated; }, Patience));
        thread.Stop();
    }
    QVERIFY(ends(thread));
    QCOMPARE(carriedOn.load(), where != "execute");
}

void TestLmThread::destroyWhileRunning_data()
{
    QTest::addColumn<WaitPoint>("point");
    QTest::addColumn<bool>("suspended");
    QTest::addColumn<bool>("grouped");
    QTest::newRow("pausing") << WaitPoint::Sleep << false << false;
    QTest::newRow("suspended") << WaitPoint::Sleep << true << false;
    QTest::newRow("handing calls to the window") << WaitPoint::Synchronize << false << false;
    QTest::newRow("in a group") << WaitPoint::Sleep << false << true;
}

void TestLmThread::destroyWhileRunning()
{
    QFETCH(WaitPoint, point);
    QFETCH(bool, suspended);
    QFETCH(bool, grouped);
    Loop loop;
    loop.point = point;
    Recorder recorder;
    Recorder groupRecorder;
    TLMThreadGroup group;
    group.OnThreadTerminate = groupRecorder.on("thread terminate");
    group.OnTerminate = groupRecorder.on("terminate");
    auto *thread = new TLMThread;
    thread->OnExecute = loop.handler();
    thread->OnTerminate = recorder.on("terminate");
    if (grouped)
        thread->SetThreadGroup(&group);
    thread->Start();
    QVERIFY(advances(loop));
    if (suspended) {
        thread->Suspend();
        QVERIFY(holds(loop));
    }

    delete thread;
    QVERIFY(loop.ended);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(groupRecorder.events.isEmpty());
    QCOMPARE(group.GetThreadItemsCount(), 0);
    QCOMPARE(group.GetThreadsCount(), 0);
}

void TestLmThread::stopAndWait_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("lingerMs");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<bool>("ended");
    QTest::newRow("not running") << false << 0 << 0 << true;
    QTest::newRow("ends at once") << true << 0 << Patience << true;
    QTest::newRow("no limit") << true << 0 << -1 << true;
    // An unbounded wait would end after the handler's 1500 ms and report true.
    QTest::newRow("handler lingers past the limit") << true << 1500 << 100 << false;
}

void TestLmThread::stopAndWait()
{
    QFETCH(bool, started);
    QFETCH(int, lingerMs);
    QFETCH(int, timeoutMs);
    QFETCH(bool, ended);
    std::atomic<bool> handlerEnded{false};
    Recorder recorder;
    TLMThread thread;
    thread.OnTerminate = recorder.on("terminate");
    thread.OnExecute = [&](TLMThreadBase *, TLMExecuteThread *Thread, void *&) {
        while (!Thread->Terminated())
            Thread->Sleep(5);
        QThread::msleep(ulong(lingerMs));
        handlerEnded = true;
    };
    if (started)
        thread.Start();

    QCOMPARE(thread.StopAndWait(timeoutMs), ended);
    QCOMPARE(thread.GetRuning(), !ended);
    if (!ended) {
        QVERIFY(!handlerEnded);
        QVERIFY(thread.StopAndWait(Patience));
    }
    QCOMPARE(recorder.count("terminate"), started ? 1 : 0);
}

void TestLmThread::componentOutlivesApplication()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(OutliveApplication)});
    QVERIFY(child.waitForFinished(3 * Patience));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("ended"));
    QCOMPARE(child.exitCode(), 0);
}

void TestLmThread::groupOfTwo()
{
    TwoInGroup two;
    auto &[first, second, a, b, group] = two;
    Recorder recorder;
    group.OnStart = recorder.on("start");
    group.OnThreadStart = recorder.on("thread start");
    group.OnThreadTerminate = recorder.on("thread terminate");
    group.OnTerminate = recorder.on("terminate");

    a.Start();
    QCOMPARE(recorder.names(), QStringList({"thread start", "start"}));
    QCOMPARE(recorder.events[1].sender, &a);
    QCOMPARE(group.GetCountRuning(), 1);
    b.Start();
    QCOMPARE(recorder.names(), QStringList({"thread start", "start", "thread start"}));
    QCOMPARE(recorder.events[2].sender, &b);
    QCOMPARE(group.GetCountRuning(), 2);

    a.Stop();
    QVERIFY(ends(a));
    QCOMPARE(recorder.names().mid(3), QStringList({"thread terminate"}));
    QVERIFY(group.GetRuning());
    QCOMPARE(group.GetCountRuning(), 1);

    b.Stop();
    QVERIFY(ends(b));
    QCOMPARE(recorder.names().mid(3), QStringList({"thread terminate", "thread terminate", "terminate"}));
    QCOMPARE(recorder.events.last().sender, &b);
    QVERIFY(!group.GetRuning());
    QVERIFY(recorder.allOnWindowThread());
}

void TestLmThread::groupUpdatePriority_data()
{
    QTest::addColumn<int>("reporterPriority");
    QTest::addColumn<int>("otherPriority");
    QTest::addColumn<bool>("otherRuns");
    QTest::addColumn<bool>("reporterPasses");
    QTest::addColumn<bool>("otherPasses");
    QTest::newRow("running member above") << 0 << 1 << true << false << true;
    QTest::newRow("equal") << 1 << 1 << true << true << true;
    QTest::newRow("running member below") << 3 << 1 << true << true << false;
    QTest::newRow("stopped member above") << 0 << 5 << false << true << false;
}

void TestLmThread::groupUpdatePriority()
{
    QFETCH(int, reporterPriority);
    QFETCH(int, otherPriority);
    QFETCH(bool, otherRuns);
    QFETCH(bool, reporterPasses);
    QFETCH(bool, otherPasses);
    Loop reporterLoop;
    Loop otherLoop;
    TLMThread reporter;
    TLMThread other;
    TLMThreadGroup group;
    Recorder recorder;
    group.OnUpdate = recorder.onUpdate("update");
    group.OnThreadUpdate = recorder.onUpdate("thread update");
    for (auto [thread, loop, priority] :
         {std::tuple(&reporter, &reporterLoop, reporterPriority), std::tuple(&other, &otherLoop, otherPriority)}) {
        thread->OnExecute = loop->handler();
        thread->SetUpdatePriority(priority);
        thread->SetRefreshInterval(20);
        thread->SetThreadGroup(&group);
    }

    if (otherRuns)
        other.Start();
    reporter.Start();
    other.SetGetUpdateEnabled(true);
    reporter.SetGetUpdateEnabled(true);
    QVERIFY(QTest::qWaitFor(
        [&] {
            return recorder.count("thread update", &reporter) >= 4 &&
                   (!otherRuns || recorder.count("thread update", &other) >= 4);
        },
        Patience));
    // No tick after this point, while the members still run.
    reporter.SetGetUpdateEnabled(false);
    other.SetGetUpdateEnabled(false);

    const int reporterTicks = recorder.count("thread update", &reporter);
    QCOMPARE(recorder.count("update", &reporter), reporterPasses ? reporterTicks : 0);
    const int otherTicks = recorder.count("thread update", &other);
    QCOMPARE(otherTicks > 0, otherRuns);
    QCOMPARE(recorder.count("update", &other), otherPasses ? otherTicks : 0);

    group.Stop();
    QVERIFY(ends(group));
}

void TestLmThread::groupStartsAndStopsMembers()
{
    int payload = 0;
    TwoInGroup two;
    auto &[first, second, a, b, group] = two;
    Recorder recorder;
    group.OnThreadStart = recorder.on("thread start");

    group.Start(&payload);
    QVERIFY(a.GetRuning() && b.GetRuning());
    QCOMPARE(recorder.count("thread start"), 2);
    QCOMPARE(recorder.events[0].sender, &a);
    QCOMPARE(recorder.events[1].sender, &b);
    QVERIFY(advances(first) && advances(second));
    QCOMPARE(first.data.load(), &payload);
    QCOMPARE(second.data.load(), &payload);

    group.Suspend();
    QVERIFY(holds(first) && holds(second));
    group.Resume();
    QVERIFY(advances(first) && advances(second));

    group.Stop();
    QVERIFY(ends(group));
    QVERIFY(!a.GetRuning() && !b.GetRuning());

    group.Start();
    QVERIFY(advances(first) && advances(second));
    QCOMPARE(first.data.load(), nullptr);
    group.Stop();
    QVERIFY(ends(group));
}

void TestLmThread::groupLists()
{
    TLMThreadGroup group;
    TLMThreadGroup sub;
    TLMThread a;
    TLMThread b;
    auto *c = new TLMThread;
    a.SetThreadGroup(&group);
    b.SetThreadGroup(&sub);
    sub.SetThreadGroup(&group);
    c->SetThreadGroup(&sub);
    a.SetThreadGroup(&group);

    QCOMPARE(group.GetThreadItemsCount(), 2);
    QCOMPARE(group.GetThreadItems(0), &a);
    QCOMPARE(group.GetThreadItems(1), &sub);
    QCOMPARE(group.GetThreadItems(2), nullptr);
    QCOMPARE(group.GetThreadsCount(), 3);
    QCOMPARE(group.GetThreads(0), &a);
    QCOMPARE(group.GetThreads(1), &b);
    QCOMPARE(group.GetThreads(2), c);
    QCOMPARE(group.GetThreads(-1), nullptr);
    QCOMPARE(sub.GetThreadItemsCount(), 2);

    delete c; // leaves its group, and so the whole tree
    QCOMPARE(sub.GetThreadItemsCount(), 1);
    QCOMPARE(group.GetThreadsCount(), 2);

    sub.SetThreadGroup(nullptr);
    QCOMPARE(group.GetThreadItemsCount(), 1);
    QCOMPARE(group.GetThreadsCount(), 1);
    QCOMPARE(group.GetThreads(0), &a);
    QCOMPARE(b.ThreadGroup(), &sub);

    a.SetThreadGroup(nullptr);
    QCOMPARE(group.GetThreadItemsCount(), 0);
    QCOMPARE(group.GetThreadsCount(), 0);
}

void TestLmThread::groupRefusesCycle()
{
    TLMThreadGroup outer;
    TLMThreadGroup inner;
    inner.SetThreadGroup(&outer);
    outer.SetThreadGroup(&inner);
    QCOMPARE(outer.ThreadGroup(), nullptr);
    outer.SetThreadGroup(&outer);
    QCOMPARE(outer.ThreadGroup(), nullptr);
    QCOMPARE(inner.GetThreadItemsCount(), 0);
    QCOMPARE(outer.GetThreadItemsCount(), 1);
}

void TestLmThread::runningMemberJoinsAndLeaves()
{
    Loop loop;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    TLMThreadGroup group;
    Recorder recorder;
    group.OnStart = recorder.on("start");
    group.OnThreadStart = recorder.on("thread start");
    group.OnThreadTerminate = recorder.on("thread terminate");
    group.OnTerminate = recorder.on("terminate");

    thread.Start();
    thread.SetThreadGroup(&group);
    QCOMPARE(recorder.names(), QStringList({"thread start", "start"}));
    QCOMPARE(group.GetCountRuning(), 1);
    QCOMPARE(recorder.events[0].thread, thread.ExecuteThread());

    thread.SetThreadGroup(nullptr);
    QCOMPARE(recorder.names(), QStringList({"thread start", "start", "thread terminate", "terminate"}));
    QCOMPARE(group.GetCountRuning(), 0);

    thread.Stop();
    QVERIFY(ends(thread));
    QCOMPARE(recorder.events.size(), 4);
}

void TestLmThread::nestedGroups_data()
{
    QTest::addColumn<bool>("joinWhileRunning");
    QTest::newRow("subgroup joined before the start") << false;
    QTest::newRow("subgroup joined while its thread runs") << true;
}

void TestLmThread::nestedGroups()
{
    QFETCH(bool, joinWhileRunning);
    Loop loop;
    TLMThread thread;
    thread.OnExecute = loop.handler();
    TLMThreadGroup outer;
    TLMThreadGroup inner;
    thread.SetThreadGroup(&inner);
    Recorder recorder;
    outer.OnStart = recorder.on("start");
    outer.OnThreadStart = recorder.on("thread start");
    outer.OnThreadTerminate = recorder.on("thread terminate");
    outer.OnTerminate = recorder.on("terminate");

    if (!joinWhileRunning)
        inner.SetThreadGroup(&outer);
    thread.Start();
    if (joinWhileRunning)
        inner.SetThreadGroup(&outer);
    QCOMPARE(inner.GetCountRuning(), 1);
    QCOMPARE(outer.GetCountRuning(), 1);
    QCOMPARE(recorder.names(), QStringList({"thread start", "start"}));
    QCOMPARE(recorder.events[0].sender, &thread);
    QCOMPARE(outer.GetThreadsCount(), 1);

    thread.Stop();
    QVERIFY(ends(thread));
    QCOMPARE(inner.GetCountRuning(), 0);
    QCOMPARE(outer.GetCountRuning(), 0);
    QCOMPARE(recorder.names(), QStringList({"thread start", "start", "thread terminate", "terminate"}));
}

void TestLmThread::groupDestroyedLetsMembersGo()
{
    Loop loop;
    TLMThread a;
    TLMThread b;
    a.OnExecute = loop.handler();
    TLMThreadGroup outer;
    auto *group = new TLMThreadGroup;
    TLMThreadGroup sub;
    a.SetThreadGroup(group);
    b.SetThreadGroup(&sub);
    sub.SetThreadGroup(group);
    group->SetThreadGroup(&outer);
    Recorder recorder;
    group->OnTerminate = recorder.on("terminate");
    group->OnThreadTerminate = recorder.on("thread terminate");
    a.Start();
    QCOMPARE(outer.GetCountRuning(), 1);
    QCOMPARE(outer.GetThreadsCount(), 2);

    delete group;
    QCOMPARE(a.ThreadGroup(), nullptr);
    QCOMPARE(sub.ThreadGroup(), nullptr);
    QCOMPARE(b.ThreadGroup(), &sub);
    QCOMPARE(outer.GetCountRuning(), 0);
    QCOMPARE(outer.GetThreadItemsCount(), 0);
    QCOMPARE(outer.GetThreadsCount(), 0);
    QVERIFY(recorder.events.isEmpty());

    a.Stop();
    QVERIFY(ends(a));
}

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], OutliveApplication) == 0)
        return outliveApplication(argc, argv);
    QCoreApplication app(argc, argv);
    TestLmThread test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lm_thread.moc"
