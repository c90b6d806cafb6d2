#pragma once

#include "link_display.h"
#include "link_state.h"
#include "usb_transport.h"

#include <memory>

namespace kvt {

// The device worker: for the whole run it looks for the instrument, reads all
// its measurements once it is found, and then serves the window's requests
// (read again, the name lists, the screen). It reads into a staging store that
// replaces the window's store only when the read is complete.
class DeviceWorker {
public:
    DeviceWorker(LinkShared &shared, LinkDisplay &display, QString libUsbFile = {},
                 PipeFiles &pipeFiles = systemPipeFiles());

    // The worker's whole life: a start pause, then a pass every 50 ms until
    // the host asks it to terminate.
    void LMThreadUSBExecute(WorkerHost &host);
    // One pass over the current state.
    void pass(WorkerHost &host);
    // When the worker ends: the link closed and libusb unloaded.
    void finish();

    TransportKind activeTransport() const { return m_transport.activeTransport(); }

private:
    void startTransport();
    // The state this pass acts on becomes the next one, unless the window has
    // changed it meanwhile.
    bool advance(quint8 from, quint8 to);
    void search(WorkerHost &host);
    void readVersion(WorkerHost &host);
    void readDirectory(WorkerHost &host);
    void readImpacts(WorkerHost &host);
    void finishRead(WorkerHost &host);
    void serveRequest(WorkerHost &host, LinkState request);
    bool openForRequest(WorkerHost &host);
    static NameList nameList(LinkState request);
    NameListBlock &nameTable(LinkState request);
    void failedExchange(WorkerHost &host);
    std::optional<DeviceProtocol> protocol(WorkerHost &host);

    void status(WorkerHost &host, const TextPair &text, const QString &suffix = {});
    void indicator(WorkerHost &host, LinkColor color);
    void progress(WorkerHost &host, std::optional<int> position);
    void deviceText(WorkerHost &host, const QString &text);

    LinkShared &m_shared;
    LinkDisplay &m_display;
    PipeTransport m_pipes;
    LibUsbTransport m_libUsb;
    UsbTransport m_transport;
    WorkerHost *m_host = nullptr; // for libusb's messages during a search
    std::unique_ptr<MeasurementStore> m_staging;
    LinkColor m_indicator = LinkColor::ButtonFace;
    bool m_transportStarted = false;
    quint8 m_passState = StateStartup;
};

} // namespace kvt
