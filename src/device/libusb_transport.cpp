#include "libusb_transport.h"

#include "libusb_error_text.h"

#include "libusb_api.h"

#include <cerrno>

namespace kvt {
namespace {

constexpr int VendorId = 0x03EB;
constexpr int ProductId = 0x0120;
constexpr int Configuration = 1;
constexpr int Interface = 0;
constexpr int EndpointOut = 0x01;
constexpr int EndpointIn = 0x82;
constexpr int TimeoutMs = 500;

} // namespace

// The ten libusb functions the program calls. The library has more, some only
// on Windows; nothing else is bound, so any libusb 0.1 that has these will do.
struct LibUsbTransport::Api {
    decltype(&::usb_init) init = nullptr;
    decltype(&::usb_find_busses) findBusses = nullptr;
    decltype(&::usb_find_devices) findDevices = nullptr;
    decltype(&::usb_get_busses) getBusses = nullptr;
    decltype(&::usb_open) open = nullptr;
    decltype(&::usb_set_configuration) setConfiguration = nullptr;
    decltype(&::usb_claim_interface) claimInterface = nullptr;
    decltype(&::usb_bulk_write) bulkWrite = nullptr;
    decltype(&::usb_bulk_read) bulkRead = nullptr;
    decltype(&::usb_close) close = nullptr;

    bool bind(QLibrary &library)
    {
        const auto resolve = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        return resolve(init, "usb_init") && resolve(findBusses, "usb_find_busses")
            && resolve(findDevices, "usb_find_devices") && resolve(getBusses, "usb_get_busses")
            && resolve(open, "usb_open") && resolve(setConfiguration, "usb_set_configuration")
            && resolve(claimInterface, "usb_claim_interface") && resolve(bulkWrite, "usb_bulk_write")
            && resolve(bulkRead, "usb_bulk_read") && resolve(close, "usb_close");
    }
};

LibUsbTransport::LibUsbTransport(ShowLinkMessage showLinkMessage, QString libraryFile)
    : m_showLinkMessage(std::move(showLinkMessage))
{
    m_library.setFileName(libraryFile.isEmpty() ? defaultLibraryFile() : libraryFile);
}

LibUsbTransport::~LibUsbTransport()
{
    unloadLibUsb();
}

QString LibUsbTransport::defaultLibraryFile()
{
    const QString named = qEnvironmentVariable("KVT10_LIBUSB");
    return named.isEmpty() ? systemLibUsbFile() : named;
}

int LibUsbTransport::loadLibUsb()
{
    if (m_api)
        return 0;
    if (!m_library.load())
        return 1;
    auto api = std::make_unique<Api>();
    if (!api->bind(m_library)) {
        m_library.unload();
        return 2;
    }
    m_api = api.release();
    m_api->init();
    return 0;
}

int LibUsbTransport::openDevice(Language language)
{
    if (!m_api)
        return 1;
    const int bussesChanged = m_api->findBusses();
    const int devicesChanged = m_api->findDevices();

    struct usb_device *found = nullptr;
    for (struct usb_bus *bus = m_api->getBusses(); bus && !found; bus = bus->next)
        for (struct usb_device *device = bus->devices; device && !found; device = device->next)
            if (device->descriptor.idVendor == VendorId && device->descriptor.idProduct == ProductId)
                found = device;

    if (!found) {
        closeDevice();
        m_showLinkMessage(QString::fromUtf16(NotConnectedMessage));
        return 1;
    }
    // Nothing changed on the bus since the last scan: the handle held is still good.
    if (bussesChanged == 0 && devicesChanged == 0 && m_device)
        return 0;

    // A handle being replaced is closed first, so none leaks across unplugs.
    closeDevice();
    errno = 0;
    m_device = m_api->open(found);
    if (!m_device) {
        // Typically no access rights to the device.
        m_showLinkMessage(libUsbErrorText(errno ? -errno : -1, language));
        return 1;
    }
    for (const int result : {m_api->setConfiguration(m_device, Configuration),
                             m_api->claimInterface(m_device, Interface)})
        if (result < 0)
            m_showLinkMessage(libUsbErrorText(result, language));
    return 0;
}

void LibUsbTransport::closeDevice()
{
    if (m_api && m_device)
        m_api->close(m_device);
    m_device = nullptr;
}

void LibUsbTransport::unloadLibUsb()
{
    closeDevice();
    delete m_api;
    m_api = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
}

int LibUsbTransport::bulkWrite(const void *bytes, int count)
{
    if (!m_api || !m_device)
        return -ENODEV;
    return m_api->bulkWrite(m_device, EndpointOut, const_cast<LibUsbWriteBytes>(static_cast<const char *>(bytes)), count,
                            TimeoutMs);
}

int LibUsbTransport::bulkRead(void *bytes, int count)
{
    if (!m_api || !m_device)
        return -ENODEV;
    return m_api->bulkRead(m_device, EndpointIn, static_cast<char *>(bytes), count, TimeoutMs);
}

std::optional<int> LibUsbTransport::read(void *bytes, int count)
{
    const int result = bulkRead(bytes, count);
    return result >= 0 ? std::optional<int>(result) : std::nullopt;
}

} // namespace kvt
