#include "sim_bus.h"

#include "device/libusb_api.h"

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
        ++m_plugIn;
    }
    return !m_unpluggedAt;
}

SimBus::Handle SimBus::open(SimTime now)
{
    return plugged(now) ? m_plugIn : 0;
}

int SimBus::handleStatus(Handle handle, SimTime now)
{
    // A handle outlives the plug-in it was opened on only as a dead end.
    return plugged(now) && handle == m_plugIn ? 0 : -ENODEV;
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
    return configuration == 1 ? 0 : -EINVAL; // the instrument has one configuration
}

int SimBus::claimInterface(Handle handle, int interface, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return error;
    return interface == 0 ? 0 : -EINVAL; // ... with one interface
}

int SimBus::releaseInterface(Handle handle, int interface, SimTime now)
{
    return claimInterface(handle, interface, now);
}

SimBus::Outcome SimBus::bulkWrite(Handle handle, int endpoint, const char *bytes, int size, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return {error, now};
    // libusb 0.1 clears the direction bit of a write's endpoint itself.
    if ((endpoint & ~0x80) != SimOutEndpoint || size < 0 || (size > 0 && !bytes))
        return {-EINVAL, now};
    m_instrument.write(reinterpret_cast<const unsigned char *>(bytes), size_t(size));
    if (m_instrument.vanished()) {
        noticeVanish(now);
        return {-ENODEV, now};
    }
    return {size, m_timeline.transfer(size_t(size), now)};
}

SimBus::Outcome SimBus::bulkRead(Handle handle, int endpoint, char *bytes, int size, int timeoutMs, SimTime now)
{
    if (const int error = handleStatus(handle, now))
        return {error, now};
    // ... and sets it on a read's.
    if ((endpoint | 0x80) != SimInEndpoint || size < 0 || (size > 0 && !bytes))
        return {-EINVAL, now};
    const std::optional<size_t> got = m_instrument.read(reinterpret_cast<unsigned char *>(bytes), size_t(size));
    if (!got)
        return {LibUsbTimedOut, m_timeline.timeOut(timeoutMs, now)};
    // The transfer that carried the last record still arrives; the device
    // is gone for the next call.
    noticeVanish(now);
    return {int(*got), m_timeline.transfer(*got, now)};
}

} // namespace kvt::sim
