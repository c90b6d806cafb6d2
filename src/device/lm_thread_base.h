#pragma once

#include "lm_thread_types.h"

#include <QObject>
#include <QRecursiveMutex>

namespace kvt {

// What a single worker thread and a group of them have in common: the
// start, update and terminate events, membership of a group, and the lock
// that serialises the event calls.
//
// Every component belongs to the window thread: create it there and call
// its operations there. Only the execute handler runs elsewhere.
class TLMThreadBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UpdatePriority READ UpdatePriority WRITE SetUpdatePriority)

public:
    explicit TLMThreadBase(QObject *Owner = nullptr);
    // The derived destructors leave the group; the base cannot, because
    // leaving calls back into the derived class.
    ~TLMThreadBase() override;

    TLMThreadUpdateEvent OnUpdate;
    TLMThreadEvent OnStart;
    TLMThreadEvent OnTerminate;

    TLMThreadGroup *ThreadGroup() const { return FThreadGroup; }
    // Leaves the old group and joins the new one, if any.
    void SetThreadGroup(TLMThreadGroup *Group);

    // The weight of this item's updates inside its group: a group passes an
    // update on only while no other running member weighs more.
    int UpdatePriority() const { return FUpdatePriority; }
    void SetUpdatePriority(int Value) { FUpdatePriority = Value; }

    virtual bool GetRuning() = 0;
    // Tell a group about threads of this item that run, or have just ended.
    virtual void ReportStarted(TLMThreadGroup *Group) = 0;
    virtual void ReportTerminated(TLMThreadGroup *Group) = 0;
    virtual void AddMe() = 0;
    virtual void RemoveMe() = 0;
    virtual void Start() = 0;
    virtual void Start(void *Data) = 0;
    virtual void Stop() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;

protected:
    // Recursive, so that an event handler may call back into its component.
    QRecursiveMutex FLock;

private:
    TLMThreadGroup *FThreadGroup = nullptr;
    int FUpdatePriority = 0;
};

} // namespace kvt
