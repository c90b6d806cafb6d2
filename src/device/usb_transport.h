#pragma once

#include "byte_link.h"
#include "libusb_transport.h"
#include "pipe_transport.h"

#include <functional>

namespace kvt {

enum class TransportKind : quint8 { Pipes = 1, LibUsb = 2, None = 3 };

// The two backends and the choice between them: the instrument's own pipe
// driver first, libusb second. Once the pipes have worked they stay the choice.
class UsbTransport {
public:
    UsbTransport(PipeTransport &pipes, LibUsbTransport &libUsb) : m_pipes(pipes), m_libUsb(libUsb) {}

    // When the worker starts: libusb loaded means it may be used.
    void start();
    // Looks for the instrument; true when a link is open. pipeListed is called
    // when the pipe driver lists a device, before it is opened.
    bool search(Language language, const std::function<void()> &pipeListed = {});
    // The link of the active backend; none when only the pipes could be tried
    // and they are not open.
    ByteLink *link();
    TransportKind activeTransport() const { return m_active; }
    // After each exchange sequence.
    void closeLink();

private:
    PipeTransport &m_pipes;
    LibUsbTransport &m_libUsb;
    TransportKind m_active = TransportKind::None;
};

} // namespace kvt
