#pragma once

#include "link_display.h"
#include "lm_execute_thread.h"
#include "lm_thread_clock.h"

namespace kvt {

// The device worker's host when it runs as a TLMThread's handler: its pauses
// are the thread's wait points and its effects reach the window thread
// through Synchronize.
class ExecuteThreadHost final : public WorkerHost {
public:
    explicit ExecuteThreadHost(TLMExecuteThread &thread) : m_thread(thread) {}

    bool terminated() const override { return m_thread.Terminated(); }
    Clock &clock() override { return m_clock; }
    void synchronize(const std::function<void()> &call) override
    {
        m_thread.Synchronize(TNotifyEvent([&call](QObject *) { call(); }));
    }

private:
    TLMExecuteThread &m_thread;
    ExecuteThreadClock m_clock;
};

} // namespace kvt
