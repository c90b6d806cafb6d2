#include "lm_thread_clock.h"
#include "lm_execute_thread.h"

namespace kvt {

void ExecuteThreadClock::sleepMs(int milliseconds)
{
    if (TLMExecuteThread *thread = TLMExecuteThread::Current())
        thread->Sleep(milliseconds);
    else
        m_system.sleepMs(milliseconds);
}

qint64 ExecuteThreadClock::nowMs() const
{
    return m_system.nowMs();
}

} // namespace kvt
