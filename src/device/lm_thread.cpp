#include "lm_thread.h"
#include "lm_execute_thread.h"
#include "lm_guarded_call.h"
#include "lm_thread_group.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QTimer>

#include <climits>

namespace kvt {

namespace {
// How long a wait for the end sleeps at most before it serves the worker's
// calls to the window thread again.
constexpr qint64 EndWaitSliceMs = 10;
} // namespace

TLMThread::TLMThread(QObject *Owner) : TLMThreadBase(Owner), FTimer(new QTimer(this))
{
    FTimer->setInterval(100);
    connect(FTimer, &QTimer::timeout, this, [this] { callGuarded("OnUpdate", [this] { OnUpdateTimer(FTimer); }); });
}

TLMThread::~TLMThread()
{
    FTimer->stop();
    if (TLMExecuteThread *thread = FExecuteThread.load()) {
        thread->FOnTerminateNotice = [this](QObject *Sender) { OnThreadTerminateClose(Sender); };
        waitForEnd(QDeadlineTimer(QDeadlineTimer::Forever));
    }
    SetThreadGroup(nullptr);
}

unsigned TLMThread::GetTimeInterval() const
{
    return unsigned(FTimer->interval());
}

void TLMThread::SetTimeInterval(unsigned Ms)
{
    FTimer->setInterval(int(qMin<unsigned>(Ms, INT_MAX)));
}

void TLMThread::SetPriority(TThreadPriority Value)
{
    FPriority = Value;
    TLMExecuteThread *thread = FExecuteThread.load();
    if (thread && thread->isRunning())
        thread->setPriority(toQThreadPriority(Value));
}

void TLMThread::SetGetUpdateEnabled(bool Value)
{
    if (Value == FUpdateEnabled)
        return;
    FUpdateEnabled = Value;
    applyTimer();
}

void TLMThread::applyTimer()
{
    // Ticks without a running thread would report nothing.
    if (FUpdateEnabled && FExecuteThread.load()) {
        if (!FTimer->isActive())
            FTimer->start();
    } else {
        FTimer->stop();
    }
}

bool TLMThread::GetRuning()
{
    return FExecuteThread.load() != nullptr;
}

void TLMThread::ReportStarted(TLMThreadGroup *Group)
{
    TLMExecuteThread *thread = FExecuteThread.load();
    if (thread && Group)
        Group->ThreadStarted(this, thread, thread->Data());
}

void TLMThread::ReportTerminated(TLMThreadGroup *Group)
{
    // The thread that has just ended, or a running one whose group this
    // component leaves: either way the group counts one running thread less.
    TLMExecuteThread *thread = FExecuteThread.load();
    if (!thread)
        thread = FEndingThread;
    if (thread && Group)
        Group->ThreadTerminated(this, thread, thread->Data());
}

void TLMThread::AddMe()
{
    ThreadGroup()->AddThread(this);
}

void TLMThread::RemoveMe()
{
    ThreadGroup()->RemoveThread(this);
}

void TLMThread::Start()
{
    Start(nullptr);
}

void TLMThread::Start(void *Data)
{
    if (FExecuteThread.load())
        return;
    auto *thread = new TLMExecuteThread(this, Data);
    FExecuteThread.store(thread);
    ReportStarted(ThreadGroup());
    if (OnStart) {
        QMutexLocker lock(&FLock);
        OnStart(this, thread, thread->Data());
    }
    thread->start(toQThreadPriority(FPriority));
    applyTimer();
}

void TLMThread::Stop()
{
    if (TLMExecuteThread *thread = FExecuteThread.load()) {
        thread->Resume();
        thread->Terminate();
    }
}

void TLMThread::Suspend()
{
    if (TLMExecuteThread *thread = FExecuteThread.load())
        thread->Suspend();
}

void TLMThread::Resume()
{
    if (TLMExecuteThread *thread = FExecuteThread.load())
        thread->Resume();
}

bool TLMThread::StopAndWait(int TimeoutMs)
{
    return waitForEnd(TimeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(TimeoutMs));
}

bool TLMThread::waitForEnd(QDeadlineTimer deadline)
{
    for (;;) {
        // Again each time: a handler of OnTerminate may have started a new run.
        Stop();
        TLMExecuteThread *thread = FExecuteThread.load();
        if (!thread)
            return true;
        if (!QCoreApplication::instance()) {
            // No event loop left to carry the notice: take the end here.
            if (!thread->wait(deadline))
                return false;
            thread->handleEnd();
            delete thread;
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // The notice, once handled, has also released the thread object.
        if (FExecuteThread.load() != thread)
            continue;
        if (deadline.hasExpired())
            return false;
        const qint64 slice = deadline.isForever() ? EndWaitSliceMs : qMin(EndWaitSliceMs, deadline.remainingTime());
        thread->wait(QDeadlineTimer(slice));
    }
}

void TLMThread::OnUpdateTimer(QObject *)
{
    TLMExecuteThread *thread = FExecuteThread.load();
    if (!thread)
        return;
    const int percent = thread->Percent();
    if (TLMThreadGroup *group = ThreadGroup())
        group->ThreadUpdate(this, thread, thread->Data(), UpdatePriority(), percent);
    if (OnUpdate) {
        QMutexLocker lock(&FLock);
        OnUpdate(this, thread, thread->Data(), percent);
    }
}

void TLMThread::Execute()
{
    TLMExecuteThread *thread = TLMExecuteThread::Current();
    if (thread && OnExecute)
        OnExecute(this, thread, thread->Data());
}

void TLMThread::OnThreadTerminate(QObject *Sender)
{
    auto *ended = qobject_cast<TLMExecuteThread *>(Sender);
    FTimer->stop();
    FExecuteThread.store(nullptr);
    FEndingThread = ended;
    ReportTerminated(ThreadGroup());
    FEndingThread = nullptr;
    if (OnTerminate && ended) {
        QMutexLocker lock(&FLock);
        OnTerminate(this, ended, ended->Data());
    }
    applyTimer();
}

void TLMThread::OnThreadTerminateClose(QObject *)
{
    FExecuteThread.store(nullptr);
}

} // namespace kvt
