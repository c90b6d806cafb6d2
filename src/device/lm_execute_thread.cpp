#include "lm_execute_thread.h"
#include "lm_guarded_call.h"
#include "lm_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutexLocker>


namespace kvt {


// A child of its owner as well, so that a thread object whose deferred
// deletion never came (the event loop had already ended) goes with the owner.
TLMExecuteThread::TLMExecuteThread(TLMThread *Owner, void *Data) : QThread(Owner), FOwner(Owner), FData(Data)
{
    FOnTerminateNotice = [Owner](QObject *Sender) { Owner->OnThreadTerminate(Sender); };
    // finished is emitted on the ending thread; this object lives on the
    // owner's thread, so the notice is queued there.
    connect(
        this, &QThread::finished, this,
        [this] {
            handleEnd();
            deleteLater();
        },
        Qt::QueuedConnection);
}

TLMExecuteThread::~TLMExecuteThread()
{
    // finished comes just before the thread's last steps; let them pass.
    wait();
}

void TLMExecuteThread::handleEnd()
{
    if (FEndHandled)
        return;
    FEndHandled = true;
    if (FOnTerminateNotice)
        callGuarded("OnTerminate", [this] { FOnTerminateNotice(this); });
}

TLMExecuteThread *TLMExecuteThread::Current()
{
    return qobject_cast<TLMExecuteThread *>(QThread::currentThread());
}

void TLMExecuteThread::run()
{
    callGuarded("OnExecute", [this] { FOwner->Execute(); });
}

void TLMExecuteThread::Terminate()
{
    QMutexLocker lock(&FPauseMutex);
    FTerminated.store(true);
    FPauseChanged.wakeAll();
}

void TLMExecuteThread::Suspend()
{
    QMutexLocker lock(&FPauseMutex);
    FSuspended.store(true);
}

void TLMExecuteThread::Resume()
{
    QMutexLocker lock(&FPauseMutex);
    FSuspended.store(false);
    FPauseChanged.wakeAll();
}

void TLMExecuteThread::waitWhileSuspended()
{
    QMutexLocker lock(&FPauseMutex);
    while (FSuspended.load() && !FTerminated.load())
        FPauseChanged.wait(&FPauseMutex);
}

void TLMExecuteThread::Sleep(int Ms)
{
    const QDeadlineTimer deadline(qMax(Ms, 0));
    QMutexLocker lock(&FPauseMutex);
    for (;;) {
        if (FTerminated.load())
            return;
        if (FSuspended.load()) {
            FPauseChanged.wait(&FPauseMutex);
            continue;
        }
        if (deadline.hasExpired())
            return;
        FPauseChanged.wait(&FPauseMutex, deadline);
    }
}

void TLMExecuteThread::runOnWindowThread(const std::function<void()> &call)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread()) {
        callGuarded("Synchronize", call);
        return;
    }
    // The window thread never blocks on a worker: it waits for one only by
    // processing events, so this call is always served.
    QMetaObject::invokeMethod(app, [&call] { callGuarded("Synchronize", call); }, Qt::BlockingQueuedConnection);
}

void TLMExecuteThread::Synchronize(TNotifyEvent Method)
{
    waitWhileSuspended();
    if (Terminated() || !Method)
        return;
    FNotifyMethod = std::move(Method);
    runOnWindowThread([this] { DoNotifySynchro(); });
    FNotifyMethod = nullptr;
}

void TLMExecuteThread::Synchronize(TThreadNotifyEvent Method)
{
    TLMThreadNotifyEvent forwarded;
    if (Method)
        forwarded = [Method = std::move(Method)](TLMThread *Sender, TLMExecuteThread *Thread) { Method(Sender, Thread); };
    Synchronize(std::move(forwarded));
}

void TLMExecuteThread::Synchronize(TThreadNotifyDataEvent Method, void *Data)
{
    TLMThreadNotifyDataEvent forwarded;
    if (Method)
        forwarded = [Method = std::move(Method)](TLMThread *Sender, TLMExecuteThread *Thread, void *&Data) {
            Method(Sender, Thread, Data);
        };
    Synchronize(std::move(forwarded), Data);
}

void TLMExecuteThread::Synchronize(TLMThreadNotifyEvent Method)
{
    waitWhileSuspended();
    if (Terminated() || !Method)
        return;
    FThreadNotifyMethod = std::move(Method);
    runOnWindowThread([this] { DoThreadNotifySynchro(); });
    FThreadNotifyMethod = nullptr;
}

void TLMExecuteThread::Synchronize(TLMThreadNotifyDataEvent Method, void *Data)
{
    waitWhileSuspended();
    if (Terminated() || !Method)
        return;
    FThreadNotifyDataMethod = std::move(Method);
    FSynchroData = Data;
    runOnWindowThread([this] { DoThreadNotifySynchroData(); });
    FThreadNotifyDataMethod = nullptr;
}

void TLMExecuteThread::DoNotifySynchro()
{
    FNotifyMethod(FOwner);
}

void TLMExecuteThread::DoThreadNotifySynchro()
{
    FThreadNotifyMethod(FOwner, this);
}

void TLMExecuteThread::DoThreadNotifySynchroData()
{
    FThreadNotifyDataMethod(FOwner, this, FSynchroData);
}

} // namespace kvt
