#pragma once

#include <chrono>
#include <cstddef>

namespace kvt::sim {

using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;

// A full-speed bulk endpoint moves 64-byte packets, and at most 19 of them fit
// in one 1 ms frame; every transfer, even an empty one, needs a frame.
constexpr int FullSpeedPacketBytes = 64;
constexpr int FullSpeedPacketsPerFrame = 19;

int fullSpeedPackets(std::size_t bytes);
int fullSpeedFrames(std::size_t bytes);

// The bus time of the transfers. With the full-speed model each transfer ends
// its frames after the previous one ended, so a caller that sleeps until the
// returned time never drifts from the model by its own wake-up latency. Without
// the model every transfer ends at once.
class BusTimeline {
public:
    explicit BusTimeline(bool fullSpeed = false) : m_fullSpeed(fullSpeed) {}

    bool fullSpeed() const { return m_fullSpeed; }

    // When a transfer of this many bytes, started now, is done.
    SimTime transfer(std::size_t bytes, SimTime now);
    // When a read that found nothing gives up. Not bus time: nothing moved.
    SimTime timeOut(int milliseconds, SimTime now) const;

    double chargedMilliseconds() const { return double(m_chargedFrames); }

private:
    bool m_fullSpeed;
    bool m_busy = false;
    SimTime m_busyUntil{};
    long long m_chargedFrames = 0;
};

} // namespace kvt::sim
