#pragma once

#include "bus_timing.h"
#include "instrument.h"

#include <map>
#include <optional>

namespace kvt::sim {

constexpr quint16 SimVendorId = 0x03EB;
constexpr quint16 SimProductId = 0x0120;
constexpr int SimOutEndpoint = 0x01;
constexpr int SimInEndpoint = 0x82;

// The instrument on a one-device USB bus, with libusb 0.1's rules: scans that
// count changes, handles that die when the device leaves, bulk transfers with
// negative errno results. Times are passed in and the time a call should end is
// passed out, so the C layer can sleep without holding its lock and tests can
// run a whole scenario without sleeping at all. A strict instrument also wants
// configuration 1 set before its interface is claimed, the interface claimed
// before a transfer, each endpoint named with its direction bit, and makes a
// read that finds nothing wait out its time-out.
class SimBus {
public:
    // One open of the device, on the plug-in it was opened on; 0 is none.
    using Handle = quint64;
    struct Outcome {
        int result;
        SimTime doneAt;
    };

    SimBus(Instrument instrument, std::optional<int> replugAfterMs, bool fullSpeed, Handle firstPlugIn = 1);

    // Changes since the previous scan of each kind; the first counts the bus,
    // the device (when present) as one change each.
    int findBusses();
    int findDevices(SimTime now);
    // Whether the last device scan saw the instrument, and which plug-in.
    bool deviceListed() const { return m_listed; }
    Handle listedPlugIn() const { return m_listedPlugIn; }

    bool plugged(SimTime now);
    Handle open(SimTime now);
    void close(Handle handle);
    // 0 while the handle is open on the current plug-in, else -ENODEV.
    int handleStatus(Handle handle, SimTime now);
    int setConfiguration(Handle handle, int configuration, SimTime now);
    int claimInterface(Handle handle, int interface, SimTime now);
    int releaseInterface(Handle handle, int interface, SimTime now);
    Outcome bulkWrite(Handle handle, int endpoint, const char *bytes, int size, SimTime now);
    Outcome bulkRead(Handle handle, int endpoint, char *bytes, int size, int timeoutMs, SimTime now);

    double modelledMilliseconds() const { return m_timeline.chargedMilliseconds(); }
    Handle plugIn() const { return m_plugIn; }
    Instrument &instrument() { return m_instrument; }

private:
    struct OpenHandle {
        Handle plugIn;
        bool claimed = false;
    };

    bool strict() const { return m_instrument.strictness() == Strictness::Strict; }
    // 0 when a transfer may go to this endpoint, else a negative errno.
    int transferStatus(Handle handle, int endpoint, int wanted, SimTime now);
    void noticeVanish(SimTime now);

    Instrument m_instrument;
    std::optional<int> m_replugAfterMs;
    BusTimeline m_timeline;
    Handle m_plugIn;
    // The configuration the host set on the current plug-in; 0 for none.
    int m_configuration = 0;
    std::map<Handle, OpenHandle> m_handles;
    Handle m_lastHandle = 0;
    std::optional<SimTime> m_unpluggedAt;
    bool m_bussesScanned = false;
    bool m_devicesScanned = false;
    bool m_listed = false;
    Handle m_listedPlugIn = 0;
};

} // namespace kvt::sim
