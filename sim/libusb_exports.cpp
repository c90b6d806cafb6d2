// libkvt10sim.so: the libusb 0.1 C API over one simulated bus holding the
// instrument, so the program's libusb backend can be run without hardware
// (KVT10_LIBUSB names this file). Types come from the platform's libusb 0.1
// layout (device/libusb_api.h); nothing here links libusb. One mutex guards
// the bus: the program's worker thread makes the calls while a test thread may
// reset the bus; a transfer's sleep (bus time, a wait for a reply, a time-out)
// happens outside the lock, on the bus's own clock or on the one a test gave it.

#pragma GCC visibility push(default)
#include "device/libusb_api.h"
extern "C" {
void kvt10sim_reset(void);
double kvt10sim_modelled_milliseconds(void);
void kvt10sim_use_clock(long long (*now_ms)(void *), void (*sleep_ms)(void *, long long), void *context);
}
#pragma GCC visibility pop

#include "sim_bus.h"
#include "sim_settings.h"

#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

using kvt::sim::SimBus;
using kvt::sim::SimClock;
using kvt::sim::SimTime;

struct usb_dev_handle {
    SimBus::Handle id; // 0 once the instrument it was opened on is gone
};

struct usb_bus *usb_busses = nullptr;

namespace {

// The time the bus runs on: its own steady clock, or a test's fast one.
struct BusClock {
    long long (*nowMs)(void *) = nullptr;
    void (*sleepMs)(void *, long long) = nullptr;
    void *context = nullptr;

    SimTime now() const { return nowMs ? SimTime{} + std::chrono::milliseconds(nowMs(context)) : SimClock::now(); }
    void sleepUntil(SimTime end) const
    {
        if (!sleepMs) {
            std::this_thread::sleep_until(end);
            return;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(end - now()).count();
        if (wait > 0)
            sleepMs(context, wait);
    }
};

struct SimState {
    SimState();
    ~SimState()
    {
        for (usb_dev_handle *handle : handles)
            delete handle;
        usb_busses = nullptr;
    }

    std::mutex mutex;
    std::unique_ptr<SimBus> bus;
    SimBus::Handle nextPlugIn = 1;
    std::set<usb_dev_handle *> handles;
    BusClock clock;
    QSet<QString> told;
    char errorText[128] = "no error";

    struct usb_bus simBus{};
    struct usb_device device{}; // "struct": usb_device is a function too
    struct usb_config_descriptor config{};
    struct usb_interface interface{};
    struct usb_interface_descriptor altsetting{};
    struct usb_endpoint_descriptor endpoints[2]{};
};

void describeDevice(SimState &s)
{
    std::snprintf(s.simBus.dirname, sizeof s.simBus.dirname, "001");
    s.simBus.location = 1;

    s.endpoints[0] = {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, kvt::sim::SimOutEndpoint, USB_ENDPOINT_TYPE_BULK, 64, 0, 0, 0, nullptr, 0};
    s.endpoints[1] = {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, kvt::sim::SimInEndpoint, USB_ENDPOINT_TYPE_BULK, 64, 0, 0, 0, nullptr, 0};
    s.altsetting = {USB_DT_INTERFACE_SIZE, USB_DT_INTERFACE, 0, 0, 2, USB_CLASS_VENDOR_SPEC, 0, 0, 0, s.endpoints, nullptr, 0};
    s.interface = {&s.altsetting, 1};
    s.config = {USB_DT_CONFIG_SIZE, USB_DT_CONFIG, USB_DT_CONFIG_SIZE + USB_DT_INTERFACE_SIZE + 2 * USB_DT_ENDPOINT_SIZE,
                1, 1, 0, 0x80, 50, &s.interface, nullptr, 0};

    struct usb_device_descriptor &d = s.device.descriptor;
    d.bLength = USB_DT_DEVICE_SIZE;
    d.bDescriptorType = USB_DT_DEVICE;
    d.bcdUSB = 0x0110; // a full-speed device
    d.bDeviceClass = USB_CLASS_PER_INTERFACE;
    d.bMaxPacketSize0 = 8;
    d.idVendor = kvt::sim::SimVendorId;
    d.idProduct = kvt::sim::SimProductId;
    d.bcdDevice = 0x0100;
    d.bNumConfigurations = 1;
    s.device.bus = &s.simBus;
    s.device.config = &s.config;
}

SimState::SimState()
{
    describeDevice(*this);
}

// Destroyed when the program unloads the library (or exits), together with
// any handle the program never closed.
SimState &state()
{
    static SimState s;
    return s;
}

// Builds the instrument the environment asks for; what could not be done is
// said once per process on stderr.
void restart(SimState &s)
{
    kvt::sim::SimSettings settings = kvt::sim::settingsFromEnvironment();
    QStringList warnings = settings.warnings;
    kvt::sim::InstrumentContent content = kvt::sim::contentFor(settings, &warnings);
    for (const QString &warning : warnings) {
        if (!s.told.contains(warning)) {
            s.told.insert(warning);
            std::fprintf(stderr, "kvt10sim: %s\n", qPrintable(warning));
        }
    }
    if (s.bus)
        s.nextPlugIn = s.bus->plugIn() + 1;
    for (usb_dev_handle *handle : s.handles)
        handle->id = 0; // handles of the old instrument are dead
    s.bus = std::make_unique<SimBus>(kvt::sim::Instrument(std::move(content), settings.faults, settings.strictness),
                                     settings.faults.replugAfterMs, settings.fullSpeed, s.nextPlugIn);
    s.simBus.devices = nullptr; // until the next device scan
}

SimBus &bus(SimState &s)
{
    if (!s.bus)
        restart(s);
    return *s.bus;
}

// Like libusb 0.1, a failure also leaves its code in errno (usb_open has no
// other way to say why it gave no handle).
int failed(SimState &s, int result)
{
    if (result < 0) {
        std::snprintf(s.errorText, sizeof s.errorText, "kvt10sim: %s", std::strerror(-result));
        errno = -result;
    }
    return result;
}

bool known(SimState &s, usb_dev_handle *handle)
{
    return handle && s.handles.count(handle) > 0;
}

// A call on a live handle, under the lock.
template <typename Call>
int onHandle(usb_dev_handle *handle, Call call)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    if (!known(s, handle))
        return failed(s, -EINVAL);
    return failed(s, call(bus(s), handle->id, s.clock.now()));
}

// A bulk transfer: done under the lock, its time slept out after it.
template <typename Call>
int transfer(usb_dev_handle *handle, Call call)
{
    BusClock clock;
    SimBus::Outcome outcome{-EINVAL, SimTime{}};
    {
        SimState &s = state();
        std::lock_guard lock(s.mutex);
        clock = s.clock;
        outcome.doneAt = clock.now();
        if (known(s, handle))
            outcome = call(bus(s), handle->id, outcome.doneAt);
        failed(s, outcome.result);
    }
    clock.sleepUntil(outcome.doneAt);
    if (outcome.result < 0)
        errno = -outcome.result;
    return outcome.result;
}

int notSimulated()
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    return failed(s, -ENOSYS);
}

} // namespace

extern "C" {

void usb_init(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    bus(s);
}

void usb_set_debug(int) {}

int usb_find_busses(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    const int changes = bus(s).findBusses();
    usb_busses = &s.simBus;
    return changes;
}

int usb_find_devices(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    SimBus &b = bus(s);
    const int changes = b.findDevices(s.clock.now());
    // Like libusb, the device list changes only here, at a scan.
    s.simBus.devices = b.deviceListed() ? &s.device : nullptr;
    s.device.devnum = uint8_t(1 + b.listedPlugIn() % 127);
    std::snprintf(s.device.filename, sizeof s.device.filename, "%03u", unsigned(s.device.devnum));
    return changes;
}

struct usb_bus *usb_get_busses(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    return usb_busses;
}

usb_dev_handle *usb_open(struct usb_device *dev)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    if (dev != &s.device) {
        failed(s, -EINVAL);
        return nullptr;
    }
    const SimBus::Handle id = bus(s).open(s.clock.now());
    if (!id) {
        failed(s, -ENODEV);
        return nullptr;
    }
    auto *handle = new usb_dev_handle{id};
    s.handles.insert(handle);
    return handle;
}

int usb_close(usb_dev_handle *dev)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    if (!known(s, dev))
        return failed(s, -EINVAL);
    bus(s).close(dev->id);
    s.handles.erase(dev);
    delete dev;
    return 0;
}

struct usb_device *usb_device(usb_dev_handle *dev)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    return known(s, dev) ? &s.device : nullptr;
}

int usb_set_configuration(usb_dev_handle *dev, int configuration)
{
    return onHandle(dev, [&](SimBus &b, SimBus::Handle h, auto now) { return b.setConfiguration(h, configuration, now); });
}

int usb_claim_interface(usb_dev_handle *dev, int interface)
{
    return onHandle(dev, [&](SimBus &b, SimBus::Handle h, auto now) { return b.claimInterface(h, interface, now); });
}

int usb_release_interface(usb_dev_handle *dev, int interface)
{
    return onHandle(dev, [&](SimBus &b, SimBus::Handle h, auto now) { return b.releaseInterface(h, interface, now); });
}

int usb_bulk_write(usb_dev_handle *dev, int ep, kvt::LibUsbWriteBytes bytes, int size, int)
{
    return transfer(dev, [&](SimBus &b, SimBus::Handle h, auto now) { return b.bulkWrite(h, ep, bytes, size, now); });
}

int usb_bulk_read(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout)
{
    return transfer(dev, [&](SimBus &b, SimBus::Handle h, auto now) { return b.bulkRead(h, ep, bytes, size, timeout, now); });
}

// Endpoint resets change nothing on a simulated bus, but a dead handle stays dead.
int usb_clear_halt(usb_dev_handle *dev, unsigned int)
{
    return onHandle(dev, [](SimBus &b, SimBus::Handle h, auto now) { return b.handleStatus(h, now); });
}

int usb_resetep(usb_dev_handle *dev, unsigned int ep)
{
    return usb_clear_halt(dev, ep);
}

int usb_reset(usb_dev_handle *dev)
{
    return usb_clear_halt(dev, 0);
}

char *usb_strerror(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    return s.errorText;
}

// The rest of the Linux libusb 0.1 API: the instrument has no strings,
// control requests or interrupt endpoints that anything here asks for.
int usb_get_string(usb_dev_handle *, int, int, char *, size_t) { return notSimulated(); }
int usb_get_string_simple(usb_dev_handle *, int, char *, size_t) { return notSimulated(); }
int usb_get_descriptor_by_endpoint(usb_dev_handle *, int, unsigned char, unsigned char, void *, int) { return notSimulated(); }
int usb_get_descriptor(usb_dev_handle *, unsigned char, unsigned char, void *, int) { return notSimulated(); }
int usb_interrupt_write(usb_dev_handle *, int, kvt::LibUsbWriteBytes, int, int) { return notSimulated(); }
int usb_interrupt_read(usb_dev_handle *, int, char *, int, int) { return notSimulated(); }
int usb_control_msg(usb_dev_handle *, int, int, int, int, char *, int, int) { return notSimulated(); }
int usb_set_altinterface(usb_dev_handle *, int) { return notSimulated(); }
int usb_get_driver_np(usb_dev_handle *, int, char *, unsigned int) { return notSimulated(); }
int usb_detach_kernel_driver_np(usb_dev_handle *, int) { return notSimulated(); }

void kvt10sim_reset(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    restart(s);
}

double kvt10sim_modelled_milliseconds(void)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    return bus(s).modelledMilliseconds();
}

// A test's fast clock (null functions: the bus's own again). The instrument
// restarts on it, so that no time it holds runs backwards.
void kvt10sim_use_clock(long long (*now_ms)(void *), void (*sleep_ms)(void *, long long), void *context)
{
    SimState &s = state();
    std::lock_guard lock(s.mutex);
    s.clock = now_ms && sleep_ms ? BusClock{now_ms, sleep_ms, context} : BusClock{};
    restart(s);
}

} // extern "C"
