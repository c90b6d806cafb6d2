#include "usb_transport.h"

namespace kvt {

void UsbTransport::start()
{
    m_active = m_libUsb.loadLibUsb() == 0 ? TransportKind::LibUsb : TransportKind::None;
}

bool UsbTransport::search(Language language, const std::function<void()> &pipeListed)
{
    const QStringList paths = m_pipes.findDevicePaths();
    if (!paths.isEmpty()) {
        if (pipeListed)
            pipeListed();
        if (m_pipes.openPipes(paths.back()) == 0) {
            m_active = TransportKind::Pipes;
            return true;
        }
    }
    return m_active == TransportKind::LibUsb && m_libUsb.openDevice(language) == 0;
}

ByteLink *UsbTransport::link()
{
    switch (m_active) {
    case TransportKind::Pipes: return &m_pipes;
    case TransportKind::LibUsb: return &m_libUsb;
    case TransportKind::None: return nullptr;
    }
    return nullptr;
}

void UsbTransport::closeLink()
{
    if (m_active == TransportKind::Pipes)
        m_pipes.closePipes();
    else
        m_libUsb.closeDevice();
}

} // namespace kvt
