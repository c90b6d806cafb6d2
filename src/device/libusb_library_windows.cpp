#include "libusb_transport.h"

namespace kvt {

// libusb-win32, which the instrument's users install with its driver.
QString LibUsbTransport::systemLibUsbFile()
{
    return QStringLiteral("libusb0.dll");
}

} // namespace kvt
