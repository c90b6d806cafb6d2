#pragma once

#include "lm_thread_types.h"

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

namespace kvt {

// The thread a TLMThread creates for one run of its execute handler. It is
// created stopped, runs the handler once, and frees itself when it ends,
// after its termination notice has been handled on the window thread.
//
// Suspension is cooperative: Suspend only marks the thread, and the handler
// pauses at its next wait point, Sleep or Synchronize. Neither Qt nor POSIX
// can safely freeze another thread.
class TLMExecuteThread : public QThread {
    Q_OBJECT

public:
    ~TLMExecuteThread() override;

    TLMThread *Owner() const { return FOwner; }
    // The data pointer given at start; the events receive a reference to it.
    void *&Data() { return FData; }

    // The progress value that the update events pass on as Percent.
    int Percent() const { return FPercent.load(); }
    void SetPercent(int Value) { FPercent.store(Value); }

    // The handler's loop condition.
    bool Terminated() const { return FTerminated.load(); }
    void Terminate();
    bool Suspended() const { return FSuspended.load(); }
    void Suspend();
    void Resume();

    // The wait point for the handler's pauses: returns after Ms milliseconds,
    // at once when the thread is asked to terminate, and not before it is
    // resumed while it is suspended. Sleep(0) is a bare wait point.
    void Sleep(int Ms);

    // Each runs Method on the window thread and returns when it has run. They
    // are wait points too. Each does nothing when the thread has been asked to
    // terminate, when Method is empty, or when there is no application (and so
    // no window thread). Called on the window thread, Method runs at once.
    void Synchronize(TNotifyEvent Method);
    void Synchronize(TThreadNotifyEvent Method);
    void Synchronize(TThreadNotifyDataEvent Method, void *Data);
    void Synchronize(TLMThreadNotifyEvent Method);
    void Synchronize(TLMThreadNotifyDataEvent Method, void *Data);

    // The execute thread this code runs on, or none.
    static TLMExecuteThread *Current();

protected:
    void run() override;

private:
    friend class TLMThread;
    TLMExecuteThread(TLMThread *Owner, void *Data);

    // Blocks while suspended, unless asked to terminate.
    void waitWhileSuspended();
    // Runs call on the window thread and waits for it.
    void runOnWindowThread(const std::function<void()> &call);
    void DoNotifySynchro();
    void DoThreadNotifySynchro();
    void DoThreadNotifySynchroData();
    // On the owner's thread, once the thread has ended: the termination
    // notice, then the thread's own end. Runs once.
    void handleEnd();

    TLMThread *const FOwner;
    void *FData;
    std::atomic<int> FPercent{0};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FSuspended{false};
    QMutex FPauseMutex;
    QWaitCondition FPauseChanged;

    // Where the termination notice goes: the owner's OnThreadTerminate, or
    // its OnThreadTerminateClose while the owner is being destroyed.
    std::function<void(QObject *Sender)> FOnTerminateNotice;
    bool FEndHandled = false;

    TNotifyEvent FNotifyMethod;
    TLMThreadNotifyEvent FThreadNotifyMethod;
    TLMThreadNotifyDataEvent FThreadNotifyDataMethod;
    void *FSynchroData = nullptr;
};

} // namespace kvt
