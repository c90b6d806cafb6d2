#include "clock.h"

#include <QThread>

#include <chrono>

namespace kvt {

void SystemClock::sleepMs(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(ulong(milliseconds));
}

qint64 SystemClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void FakeClock::sleepMs(int milliseconds)
{
    m_pauses << milliseconds;
    m_now += milliseconds;
}

} // namespace kvt
