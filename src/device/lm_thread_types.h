#pragma once

#include <QThread>

#include <functional>

namespace kvt {

class TLMThreadBase;
class TLMThread;
class TLMThreadGroup;
class TLMExecuteThread;

// Thread priorities of the component family, each given to the system
// through the matching QThread priority.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

inline QThread::Priority toQThreadPriority(TThreadPriority priority)
{
    switch (priority) {
    case tpIdle: return QThread::IdlePriority;
    case tpLowest: return QThread::LowestPriority;
    case tpLower: return QThread::LowPriority;
    case tpNormal: return QThread::NormalPriority;
    case tpHigher: return QThread::HighPriority;
    case tpHighest: return QThread::HighestPriority;
    case tpTimeCritical: return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

// Execute, start and terminate events: the component, its running thread and
// a reference to that thread's data pointer.
using TLMThreadEvent = std::function<void(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data)>;
// Progress events: the same, and the thread's progress value.
using TLMThreadUpdateEvent =
    std::function<void(TLMThreadBase *Sender, TLMExecuteThread *Thread, void *&Data, int Percent)>;

// Callbacks that a worker hands to the window thread through
// TLMExecuteThread::Synchronize. A lambda whose first parameter is QObject*
// fits both a QObject* and a TLMThread* form; wrap it in the type you mean.
using TNotifyEvent = std::function<void(QObject *Sender)>;
using TThreadNotifyEvent = std::function<void(QObject *Sender, TLMExecuteThread *Thread)>;
using TThreadNotifyDataEvent = std::function<void(QObject *Sender, TLMExecuteThread *Thread, void *&Data)>;
using TLMThreadNotifyEvent = std::function<void(TLMThread *Sender, TLMExecuteThread *Thread)>;
using TLMThreadNotifyDataEvent = std::function<void(TLMThread *Sender, TLMExecuteThread *Thread, void *&Data)>;

} // namespace kvt
