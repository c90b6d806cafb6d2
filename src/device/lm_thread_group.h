#pragma once

#include "lm_thread_base.h"

#include <QList>

namespace kvt {

class TLMThread;

// A set of worker threads and nested groups. Start, Stop, Suspend and
// Resume act on every direct member. The group counts its running member
// threads: OnStart when the first one starts, OnTerminate when the last one
// has ended, and OnThreadStart, OnThreadTerminate and OnThreadUpdate for
// each member thread. Its start, terminate and update events pass on the
// reporting thread's Sender, Thread and Data.
//
// A member joins through its SetThreadGroup. A running member that joins
// counts as started, and one that leaves counts as ended. A group never
// joins a group inside itself.
class TLMThreadGroup : public TLMThreadBase {
    Q_OBJECT

public:
    explicit TLMThreadGroup(QObject *Owner = nullptr);
    // Leaves its own group, then lets every member go.
    ~TLMThreadGroup() override;

    TLMThreadUpdateEvent OnThreadUpdate;
    TLMThreadEvent OnThreadStart;
    TLMThreadEvent OnThreadTerminate;

    // True while at least one member thread runs.
    bool GetRuning() override;
    void ReportStarted(TLMThreadGroup *Group) override;
    void ReportTerminated(TLMThreadGroup *Group) override;
    void AddMe() override;
    void RemoveMe() override;
    void Start() override;
    void Start(void *Data) override;
    void Stop() override;
    void Suspend() override;
    void Resume() override;

    virtual int GetCountRuning();

    void AddThread(TLMThread *Thread);
    void AddThreadGroup(TLMThreadGroup *Group);
    void RemoveThread(TLMThread *Thread);
    void RemoveThreadGroup(TLMThreadGroup *Group);

    // Reports of member threads, and of the members of subgroups.
    void ThreadStarted(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data);
    void ThreadTerminated(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data);
    // A member's tick: OnThreadUpdate always, OnUpdate unless another running
    // direct member has an UpdatePriority above Priority.
    void ThreadUpdate(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data, int Priority, int Percent);

    // The direct members, threads and subgroups, in the order added.
    int GetThreadItemsCount();
    TLMThreadBase *GetThreadItems(int Index);
    // Every thread in the group's tree: its member threads and those of its
    // subgroups, kept current as threads join and leave anywhere below, so
    // that it never names a thread that has left.
    int GetThreadsCount();
    TLMThread *GetThreads(int Index);

private:
    QList<TLMThreadBase *> itemsSnapshot();
    QList<TLMThread *> threadsSnapshot();
    // Keep FThreads of this group and of those above it current.
    void threadsJoined(const QList<TLMThread *> &Threads);
    void threadsLeft(const QList<TLMThread *> &Threads);

    QList<TLMThreadBase *> FItems;
    QList<TLMThread *> FThreads;
    int FRunningCount = 0;
};

} // namespace kvt
