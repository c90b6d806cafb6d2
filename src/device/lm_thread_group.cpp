#include "lm_thread_group.h"
#include "lm_thread.h"

#include <QMutexLocker>

namespace kvt {

TLMThreadGroup::TLMThreadGroup(QObject *Owner) : TLMThreadBase(Owner) {}

TLMThreadGroup::~TLMThreadGroup()
{
    // The parent first, while the members can still say which of their
    // threads run, so that its count stays true.
    SetThreadGroup(nullptr);
    // A group that is going away reports nothing of its members leaving.
    OnUpdate = nullptr;
    OnStart = nullptr;
    OnTerminate = nullptr;
    OnThreadUpdate = nullptr;
    OnThreadStart = nullptr;
    OnThreadTerminate = nullptr;
    for (;;) {
        TLMThreadBase *item = nullptr;
        {
            QMutexLocker lock(&FLock);
            if (FItems.isEmpty())
                break;
            item = FItems.first();
        }
        if (item->ThreadGroup() == this)
            item->SetThreadGroup(nullptr);
        else if (auto *thread = qobject_cast<TLMThread *>(item))
            RemoveThread(thread);
        else if (auto *group = qobject_cast<TLMThreadGroup *>(item))
            RemoveThreadGroup(group);
        QMutexLocker lock(&FLock);
        FItems.removeAll(item);
    }
    QMutexLocker lock(&FLock);
    FThreads.clear();
}

QList<TLMThreadBase *> TLMThreadGroup::itemsSnapshot()
{
    QMutexLocker lock(&FLock);
    return FItems;
}

QList<TLMThread *> TLMThreadGroup::threadsSnapshot()
{
    QMutexLocker lock(&FLock);
    return FThreads;
}

bool TLMThreadGroup::GetRuning()
{
    return GetCountRuning() > 0;
}

int TLMThreadGroup::GetCountRuning()
{
    QMutexLocker lock(&FLock);
    return FRunningCount;
}

void TLMThreadGroup::ReportStarted(TLMThreadGroup *Group)
{
    if (!Group)
        return;
    for (TLMThreadBase *item : itemsSnapshot())
        item->ReportStarted(Group);
}

void TLMThreadGroup::ReportTerminated(TLMThreadGroup *Group)
{
    if (!Group)
        return;
    for (TLMThreadBase *item : itemsSnapshot())
        item->ReportTerminated(Group);
}

void TLMThreadGroup::AddMe()
{
    ThreadGroup()->AddThreadGroup(this);
}

void TLMThreadGroup::RemoveMe()
{
    ThreadGroup()->RemoveThreadGroup(this);
}

void TLMThreadGroup::Start()
{
    for (TLMThreadBase *item : itemsSnapshot())
        item->Start();
}

void TLMThreadGroup::Start(void *Data)
{
    for (TLMThreadBase *item : itemsSnapshot())
        item->Start(Data);
}

void TLMThreadGroup::Stop()
{
    for (TLMThreadBase *item : itemsSnapshot())
        item->Stop();
}

void TLMThreadGroup::Suspend()
{
    for (TLMThreadBase *item : itemsSnapshot())
        item->Suspend();
}

void TLMThreadGroup::Resume()
{
    for (TLMThreadBase *item : itemsSnapshot())
        item->Resume();
}

void TLMThreadGroup::AddThread(TLMThread *Thread)
{
    if (!Thread || itemsSnapshot().contains(Thread))
        return;
    if (Thread->GetRuning())
        Thread->ReportStarted(this);
    {
        QMutexLocker lock(&FLock);
        FItems.append(Thread);
    }
    threadsJoined({Thread});
}

void TLMThreadGroup::AddThreadGroup(TLMThreadGroup *Group)
{
    if (!Group || Group == this || itemsSnapshot().contains(Group))
        return;
    if (Group->GetRuning())
        Group->ReportStarted(this);
    // Copied under the subgroup's lock alone: the locks of nested groups are
    // never held together.
    const QList<TLMThread *> threads = Group->threadsSnapshot();
    {
        QMutexLocker lock(&FLock);
        FItems.append(Group);
    }
    threadsJoined(threads);
}

void TLMThreadGroup::RemoveThread(TLMThread *Thread)
{
    if (!Thread || !itemsSnapshot().contains(Thread))
        return;
    if (Thread->GetRuning())
        Thread->ReportTerminated(this);
    {
        QMutexLocker lock(&FLock);
        FItems.removeAll(Thread);
    }
    threadsLeft({Thread});
}

void TLMThreadGroup::RemoveThreadGroup(TLMThreadGroup *Group)
{
    if (!Group || !itemsSnapshot().contains(Group))
        return;
    if (Group->GetRuning())
        Group->ReportTerminated(this);
    const QList<TLMThread *> threads = Group->threadsSnapshot();
    {
        QMutexLocker lock(&FLock);
        FItems.removeAll(Group);
    }
    threadsLeft(threads);
}

void TLMThreadGroup::threadsJoined(const QList<TLMThread *> &Threads)
{
    {
        QMutexLocker lock(&FLock);
        FThreads.append(Threads);
    }
    if (TLMThreadGroup *parent = ThreadGroup())
        parent->threadsJoined(Threads);
}

void TLMThreadGroup::threadsLeft(const QList<TLMThread *> &Threads)
{
    {
        QMutexLocker lock(&FLock);
        for (TLMThread *thread : Threads)
            FThreads.removeOne(thread);
    }
    if (TLMThreadGroup *parent = ThreadGroup())
        parent->threadsLeft(Threads);
}

void TLMThreadGroup::ThreadStarted(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data)
{
    int before = 0;
    {
        QMutexLocker lock(&FLock);
        before = FRunningCount++;
        if (OnThreadStart)
            OnThreadStart(Sender, Thread, Data);
    }
    if (TLMThreadGroup *parent = ThreadGroup())
        parent->ThreadStarted(Sender, Thread, Data);
    if (before == 0 && OnStart)
        OnStart(Sender, Thread, Data);
}

void TLMThreadGroup::ThreadTerminated(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data)
{
    int after = 0;
    {
        QMutexLocker lock(&FLock);
        if (FRunningCount > 0)
            --FRunningCount;
        after = FRunningCount;
    }
    if (OnThreadTerminate)
        OnThreadTerminate(Sender, Thread, Data);
    if (TLMThreadGroup *parent = ThreadGroup())
        parent->ThreadTerminated(Sender, Thread, Data);
    if (after == 0 && OnTerminate)
        OnTerminate(Sender, Thread, Data);
}

void TLMThreadGroup::ThreadUpdate(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data, int Priority,
                                  int Percent)
{
    if (OnThreadUpdate)
        OnThreadUpdate(Sender, Thread, Data, Percent);
    if (!OnUpdate)
        return;
    // Only the window thread changes the member list, and this runs there.
    for (TLMThreadBase *item : std::as_const(FItems))
        if (item->GetRuning() && item->UpdatePriority() > Priority)
            return;
    OnUpdate(Sender, Thread, Data, Percent);
}

int TLMThreadGroup::GetThreadItemsCount()
{
    QMutexLocker lock(&FLock);
    return int(FItems.size());
}

TLMThreadBase *TLMThreadGroup::GetThreadItems(int Index)
{
    QMutexLocker lock(&FLock);
    return Index >= 0 && Index < FItems.size() ? FItems.at(Index) : nullptr;
}

int TLMThreadGroup::GetThreadsCount()
{
    QMutexLocker lock(&FLock);
    return int(FThreads.size());
}

TLMThread *TLMThreadGroup::GetThreads(int Index)
{
    QMutexLocker lock(&FLock);
    return Index >= 0 && Index < FThreads.size() ? FThreads.at(Index) : nullptr;
}

} // namespace kvt
