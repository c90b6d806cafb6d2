#include "sim_bus.h"

#include "device/libusb_api.h"

#include <algorithm>
#include <cerrno>

namespace kvt::sim {

SimBus::SimBus(Instrument instrument, std::optional<int> replugAfterMs, bool fullSpeed, Handle firstPlugIn)
    : m_instrument(std::move(instrument))
    , m_replugAfterMs(replugAfterMs)
    , m_timeline(fullSpeed)
    , m_plugIn(firstPlugIn)
{
}

int SimBus::findBusses()
{
    const bool first = !m_bussesScanned;
    m_bussesScanned = true;
    return first ? 1 : 0;
}

int SimBus::findDevices(SimTime now)
{
    const bool present = plugged(now);
    int changes = 0;
    if (!m_devicesScanned)
        changes = present ? 1 : 0;
    else if (m_listed && present)
        changes = m_listedPlugIn == m_plugIn ? 0 : 2; // one removal, one arrival
    else
        changes = m_listed != present ? 1 : 0;
    m_devicesScanned = true;
    m_listed = present;
    m_listedPlugIn = present ? m_plugIn : 0;
    return changes;
}

bool SimBus::plugged(SimTime now)
{
    if (m_unpluggedAt && m_replugAfterMs && now >= *m_unpluggedAt + std::chrono::milliseconds(*m_replugAfterMs)) {
        m_instrument.replug();
        m_unpluggedAt.reset();
        m_configuration = 0; // a new device starts unconfigured
        ++m_plugIn;
    }
    return !m_unpluggedAt;
}

SimBus::Handle SimBus::open(SimTime now)
{
    if (!plugged(now))
        return 0;
    m_handles[++m_lastHandle] = {m_plugIn};
    return m_lastHandle;
}

void SimBus::close(Handle handle)
{
    m_handles.erase(handle);
}

int SimBus::handleStatus(Handle handle, SimTime now)
{
    // A handle outlives the plug-in it was opened on only as a dead end.
    const auto open = m_handles.find(handle);
    return plugged(now) && open != m_handles.end() && open->second.plugIn == m_plugIn ? 0 : -ENODEV;
}

void SimBus::noticeVanish(SimTime now)
{
    if (m_instrument.vanished() && !m_unpluggedAt)
        m_unpluggedAt = now;
}

int SimBus::setConfiguration(Handle handle, int configuration, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return error;
    if (configuration != 1)
        return -EINVAL; // the instrument has one configuration
    m_configuration = configuration;
    return 0;
}

int SimBus::claimInterface(Handle handle, int interface, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return error;
    if (interface != 0)
        return -EINVAL; // ... with one interface
    // Without a configuration the device has no interface to claim.
    if (strict() && m_configuration == 0)
        return -ENOENT;
    m_handles[handle].claimed = true;
    return 0;
}

int SimBus::releaseInterface(Handle handle, int interface, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return error;
    if (interface != 0)
        return -EINVAL;
    m_handles[handle].claimed = false;
    return 0;
}

int SimBus::transferStatus(Handle handle, int endpoint, int wanted, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return error;
    // libusb 0.1 sets a read's direction bit and clears a write's itself; a
    // strict instrument wants the host to name the endpoint as it is.
    const int named = strict() ? endpoint : (wanted & 0x80) ? (endpoint | 0x80) : (endpoint & ~0x80);
    if (named != wanted)
        return -EINVAL;
    if (strict() && (m_configuration == 0 || !m_handles[handle].claimed))
        return -ENOENT; // no interface of the host's own to carry it
    return 0;
}

SimBus::Outcome SimBus::bulkWrite(Handle handle, int endpoint, const char *bytes, int size, SimTime now)
{
    if (const int error = transferStatus(handle, endpoint, SimOutEndpoint, now))
        return {error, now};
    if (size < 0 || (size > 0 && !bytes))
        return {-EINVAL, now};
    m_instrument.writeTransfer(QByteArrayView(bytes, size), now);
    if (m_instrument.vanished()) {
        noticeVanish(now);
        return {-ENODEV, now};
    }
    return {size, m_timeline.transfer(size_t(size), now)};
}

SimBus::Outcome SimBus::bulkRead(Handle handle, int endpoint, char *bytes, int size, int timeoutMs, SimTime now)
{
    if (const int error = transferStatus(handle, endpoint, SimInEndpoint, now))
        return {error, now};
    if (size < 0 || (size > 0 && !bytes))
        return {-EINVAL, now};
    // A reply still being made ready is waited for, within the time-out.
    const SimTime giveUp = timeoutMs > 0 ? now + std::chrono::milliseconds(timeoutMs) : SimTime::max();
    const std::optional<SimTime> readyAt = m_instrument.transferReadyAt();
    const SimTime at = readyAt && *readyAt <= giveUp ? std::max(now, *readyAt) : now;
    const std::optional<size_t> got = m_instrument.read(reinterpret_cast<unsigned char *>(bytes), size_t(size), at);
    if (!got) {
        // Nothing comes in time: a real bus waits out the time-out before it
        // says so; a lenient one with nothing at all on the way says it at once.
        const bool waits = (strict() || readyAt) && timeoutMs > 0;
        return {LibUsbTimedOut, waits ? giveUp : m_timeline.timeOut(timeoutMs, now)};
    }
    // The transfer that carried the last record still arrives; the device
    // is gone for the next call.
    noticeVanish(at);
    return {int(*got), m_timeline.transfer(*got, at)};
}

} // namespace kvt::sim
