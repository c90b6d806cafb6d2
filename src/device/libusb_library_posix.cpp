#include "libusb_transport.h"

namespace kvt {

QString LibUsbTransport::systemLibUsbFile()
{
    return QStringLiteral("libusb-0.1.so.4");
}

} // namespace kvt
