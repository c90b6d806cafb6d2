#pragma once

#include "lm_thread_base.h"

#include <QDeadlineTimer>

#include <atomic>

class QTimer;

namespace kvt {

class TLMExecuteThread;

// One worker thread: Start runs OnExecute once on a thread of its own, Stop
// asks that run to end. While a thread runs, FTimer raises OnUpdate on the
// window thread every RefreshInterval ms if UpdateEnabled is set. The end of
// a run reaches OnTerminate on the window thread, and until then GetRuning
// stays true. Event handlers must not delete the component (deleteLater
// is fine).
class TLMThread : public TLMThreadBase {
    Q_OBJECT
    Q_PROPERTY(uint RefreshInterval READ GetTimeInterval WRITE SetTimeInterval)
    Q_PROPERTY(bool UpdateEnabled READ UpdateEnabled WRITE SetGetUpdateEnabled)

public:
    explicit TLMThread(QObject *Owner = nullptr);
    // A running thread is asked to terminate and awaited, processing events,
    // without OnTerminate and without a report to the group.
    ~TLMThread() override;

    // The work, called once per run on the worker thread. It is expected to
    // loop until Thread->Terminated(), pausing through Thread->Sleep.
    TLMThreadEvent OnExecute;

    unsigned GetTimeInterval() const;
    void SetTimeInterval(unsigned Ms);
    unsigned RefreshInterval() const { return GetTimeInterval(); }
    void SetRefreshInterval(unsigned Ms) { SetTimeInterval(Ms); }

    // Given to each thread it creates, and at once to a running one.
    TThreadPriority GetPriority() const { return FPriority; }
    void SetPriority(TThreadPriority Value);
    TThreadPriority Priority() const { return FPriority; }

    bool UpdateEnabled() const { return FUpdateEnabled; }
    void SetGetUpdateEnabled(bool Value);
    void SetUpdateEnabled(bool Value) { SetGetUpdateEnabled(Value); }

    // True from Start until the end of the run has been handled on the
    // window thread.
    bool GetRuning() override;
    void ReportStarted(TLMThreadGroup *Group) override;
    void ReportTerminated(TLMThreadGroup *Group) override;
    void AddMe() override;
    void RemoveMe() override;
    // Nothing while a thread runs.
    void Start() override;
    void Start(void *Data) override;
    // Resumes a suspended thread and asks it to terminate; does not wait.
    void Stop() override;
    // Cooperative: the thread pauses at its next wait point.
    void Suspend() override;
    void Resume() override;

    // For the program's exit: Stop, then process events until the end of
    // the run has been handled or TimeoutMs has passed (negative: no limit).
    // True when no thread runs any more. When false the handler is still
    // inside OnExecute and still uses whatever it uses; the caller must not
    // destroy that, nor this component, before it ends.
    bool StopAndWait(int TimeoutMs);

    TLMExecuteThread *ExecuteThread() const { return FExecuteThread.load(); }

protected:
    // Each tick of FTimer, on the window thread.
    virtual void OnUpdateTimer(QObject *Sender);
    // On the worker thread.
    virtual void Execute();
    // The termination notice of an ended thread, on the window thread.
    virtual void OnThreadTerminate(QObject *Sender);
    // The notice while this component is being destroyed.
    virtual void OnThreadTerminateClose(QObject *Sender);

    QTimer *FTimer;

private:
    friend class TLMExecuteThread;

    // Runs FTimer only while it has something to report.
    void applyTimer();
    bool waitForEnd(QDeadlineTimer deadline);

    std::atomic<TLMExecuteThread *> FExecuteThread{nullptr};
    // The thread whose end is being reported to the group.
    TLMExecuteThread *FEndingThread = nullptr;
    TThreadPriority FPriority = tpNormal;
    bool FUpdateEnabled = false;
};

} // namespace kvt
