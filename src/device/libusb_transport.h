#pragma once

#include "byte_link.h"
#include "support/bilingual.h"

#include <QLibrary>
#include <QString>

#include <functional>

struct usb_dev_handle;
struct usb_bus;
struct usb_device;

namespace kvt {

// The libusb 0.1 backend. The library is loaded at run time, never linked: the
// program starts without it, and KVT10_LIBUSB can name another file (the
// simulated instrument) to load instead.
class LibUsbTransport final : public ByteLink {
public:
    using ShowLinkMessage = std::function<void(const QString &)>;

    // libraryFile empty: KVT10_LIBUSB if set, else the platform's libusb 0.1.
    explicit LibUsbTransport(ShowLinkMessage showLinkMessage, QString libraryFile = {});
    ~LibUsbTransport() override;

    static QString defaultLibraryFile();
    // The system's libusb 0.1 ("libusb-0.1.so.4", "libusb0.dll"): one file per platform.
    static QString systemLibUsbFile();

    // 0 loaded (or already loaded), 1 the library cannot be loaded, 2 it lacks
    // a function the program calls.
    int loadLibUsb();
    bool isLoaded() const { return m_library.isLoaded(); }
    // 0 the instrument is open, 1 it was not found or could not be opened.
    int openDevice(Language language);
    void closeDevice();
    void unloadLibUsb();
    bool hasDevice() const { return m_device != nullptr; }

    // The byte count, or a negative libusb error.
    int bulkWrite(const void *bytes, int count);
    int bulkRead(void *bytes, int count);

    bool write(const void *bytes, int count) override { return bulkWrite(bytes, count) >= 0; }
    std::optional<int> read(void *bytes, int count) override;

private:
    struct Api;

    ShowLinkMessage m_showLinkMessage;
    QLibrary m_library;
    Api *m_api = nullptr;
    usb_dev_handle *m_device = nullptr;
};

} // namespace kvt
