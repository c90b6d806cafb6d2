#pragma once

#include "support/clock.h"

namespace kvt {

// Real time whose pauses are wait points of the execute thread they run on:
// a pause there ends at once when the thread is asked to terminate, and
// holds while the thread is suspended. Elsewhere it is a plain sleep. The
// clock to give a worker that runs as a TLMThread's handler.
class ExecuteThreadClock final : public Clock {
public:
    void sleepMs(int milliseconds) override;
    qint64 nowMs() const override;

private:
    SystemClock m_system;
};

} // namespace kvt
