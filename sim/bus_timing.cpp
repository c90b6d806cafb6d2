#include "bus_timing.h"

#include <algorithm>

namespace kvt::sim {

int fullSpeedPackets(std::size_t bytes)
{
    return std::max(1, int((bytes + FullSpeedPacketBytes - 1) / FullSpeedPacketBytes));
}

int fullSpeedFrames(std::size_t bytes)
{
    return (fullSpeedPackets(bytes) + FullSpeedPacketsPerFrame - 1) / FullSpeedPacketsPerFrame;
}

SimTime BusTimeline::transfer(std::size_t bytes, SimTime now)
{
    if (!m_fullSpeed)
        return now;
    const int frames = fullSpeedFrames(bytes);
    // A caller comes back a little after the end it slept to; within a frame
    // that is the host's own turnaround and the next transfer follows on. A
    // longer gap means the bus stood idle, and idle time is no credit.
    if (!m_busy || now > m_busyUntil + std::chrono::milliseconds(1))
        m_busyUntil = now;
    m_busy = true;
    m_busyUntil += std::chrono::milliseconds(frames);
    m_chargedFrames += frames;
    return m_busyUntil;
}

SimTime BusTimeline::timeOut(int milliseconds, SimTime now) const
{
    if (!m_fullSpeed || milliseconds <= 0)
        return now;
    return now + std::chrono::milliseconds(milliseconds);
}

} // namespace kvt::sim
