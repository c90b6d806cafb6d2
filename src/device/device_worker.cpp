#include "device_worker.h"

#include "link_requests.h"

#include "support/common_texts.h"
#include "support/number_format.h"

namespace kvt {
namespace {

constexpr int StartPauseMs = 1000;
constexpr int PassPauseMs = 50;
constexpr int LinkOpenedPauseMs = 300;
constexpr int RedIndicatorPauseMs = 20;

} // namespace

DeviceWorker::DeviceWorker(LinkShared &shared, LinkDisplay &display, QString libUsbFile, PipeFiles &pipeFiles)
    : m_shared(shared),
      m_display(display),
      m_pipes(pipeFiles),
      m_libUsb(
          [this](const QString &text) {
              // libusb's own messages go where showLinkMessage puts them: panel 0, progress bar hidden.
              if (m_host) {
                  deviceText(*m_host, text);
                  progress(*m_host, std::nullopt);
              }
          },
          std::move(libUsbFile)),
      m_transport(m_pipes, m_libUsb)
{
}

void DeviceWorker::LMThreadUSBExecute(WorkerHost &host)
{
    // libusb is loaded before anything else, so that a file opened before the
    // first pass (which leaves the worker idle) does not leave it unloaded.
    startTransport();
    host.clock().sleepMs(StartPauseMs);
    while (!host.terminated()) {
        host.clock().sleepMs(PassPauseMs);
        if (!host.terminated())
            pass(host);
    }
    finish();
}

void DeviceWorker::startTransport()
{
    if (!m_transportStarted)
        m_transport.start();
    m_transportStarted = true;
}

void DeviceWorker::finish()
{
    m_transport.closeLink();
    m_libUsb.unloadLibUsb();
}

bool DeviceWorker::advance(quint8 from, quint8 to)
{
    // The window may have set StateIdle meanwhile (a file was opened, a request
    // withdrawn): then its word stands and this pass's result is dropped.
    if (m_shared.linkState.compare_exchange_strong(from, to))
        return true;
    m_staging.reset();
    return false;
}

void DeviceWorker::pass(WorkerHost &host)
{
    m_host = &host;
    m_passState = m_shared.linkState.load();
    switch (m_passState) {
    case StateStartup:
        startTransport();
        if (advance(StateStartup, StateSearch)) {
            m_passState = StateSearch;
            search(host);
        }
        break;
    case StateSearch: search(host); break;
    case StateReadVersion: readVersion(host); break;
    case StateReadDirectory: readDirectory(host); break;
    case StateReadImpacts: readImpacts(host); break;
    case StateFinishRead: finishRead(host); break;
    case StateReadMaterials:
    case StateWriteMaterials:
    case StateReadObjects:
    case StateWriteObjects:
    case StateReadScreen: serveRequest(host, LinkState(m_passState)); break;
    default: break; // idle
    }
    m_host = nullptr;
}

std::optional<DeviceProtocol> DeviceWorker::protocol(WorkerHost &host)
{
    ByteLink *link = m_transport.link();
    if (!link)
        return std::nullopt;
    return DeviceProtocol(*link, m_transport.activeTransport(), host.clock());
}

void DeviceWorker::search(WorkerHost &host)
{
    const bool found = m_transport.search(m_shared.language.load(), [&] {
        status(host, MsgCheckConnection);
        indicator(host, LinkColor::Black);
    });
    if (!found || !advance(StateSearch, StateReadVersion))
        return;
    status(host, MsgVersionRead);
    indicator(host, LinkColor::Green);
    host.clock().sleepMs(LinkOpenedPauseMs);
}

void DeviceWorker::readVersion(WorkerHost &host)
{
    auto exchange = protocol(host);
    const std::optional<QString> version = exchange ? exchange->readVersion() : std::nullopt;
    if (!version)
        return failedExchange(host);
    deviceText(host, *version);
    if (!advance(StateReadVersion, StateReadDirectory))
        return;
    status(host, MsgParametersRead);
    host.clock().sleepMs(LinkOpenedPauseMs);
}

void DeviceWorker::readDirectory(WorkerHost &host)
{
    progress(host, 0);
    m_staging = std::make_unique<MeasurementStore>();
    auto exchange = protocol(host);
    if (!exchange || !exchange->readDirectory(*m_staging))
        return failedExchange(host);
    m_staging->countDirectoryImpacts();
    const bool impacts = m_staging->impactCount() > 0;
    if (!advance(StateReadDirectory, impacts ? StateReadImpacts : StateFinishRead))
        return progress(host, std::nullopt);
    if (impacts) {
        status(host, TextPair{u"", u""});
        indicator(host, LinkColor::Green);
    } else {
        status(host, MsgNoData);
        indicator(host, LinkColor::ButtonFace);
        progress(host, std::nullopt);
    }
}

void DeviceWorker::readImpacts(WorkerHost &host)
{
    auto exchange = protocol(host);
    const quint32 count = m_staging ? m_staging->impactCount() : 0;
    if (!exchange || count == 0)
        return failedExchange(host);
    for (quint32 i = 0; i < count; ++i) {
        // A close, or a file opened meanwhile, ends the read; the window's
        // store stays as it was.
        if (host.terminated() || m_shared.linkState != StateReadImpacts) {
            m_staging.reset();
            return progress(host, std::nullopt);
        }
        progress(host, int(i * 95 / count + 5));
        if (!exchange->readImpact(*m_staging, i))
            return failedExchange(host);
    }
    m_staging->rebuildSeriesIndex();
    if (!advance(StateReadImpacts, StateFinishRead))
        return progress(host, std::nullopt);
    m_shared.deviceDataRead = true;
    status(host, MsgDataReaded, QStringLiteral(" (") + formatNumberOrNan(count, NumberPattern::Integer) + u')');
    indicator(host, LinkColor::ButtonFace);
    progress(host, std::nullopt);
}

void DeviceWorker::finishRead(WorkerHost &host)
{
    m_transport.closeLink();
    if (!m_staging)
        m_staging = std::make_unique<MeasurementStore>();
    if (!advance(StateFinishRead, StateIdle))
        return;
    auto result = std::shared_ptr<MeasurementStore>(std::move(m_staging));
    host.synchronize([this, result]() mutable {
        m_display.finishRead(std::make_unique<MeasurementStore>(std::move(*result)));
    });
}

bool DeviceWorker::openForRequest(WorkerHost &host)
{
    switch (m_transport.activeTransport()) {
    case TransportKind::LibUsb: return m_libUsb.openDevice(m_shared.language.load()) == 0;
    case TransportKind::Pipes: {
        const QStringList paths = m_pipes.findDevicePaths();
        if (paths.isEmpty())
            return false;
        if (m_pipes.openPipes(paths.back()) != 0) {
            m_pipes.closePipes();
            return false;
        }
        return true;
    }
    case TransportKind::None: break;
    }
    (void)host;
    return false;
}

void DeviceWorker::serveRequest(WorkerHost &host, LinkState request)
{
    if (m_transport.activeTransport() == TransportKind::None)
        return failedExchange(host);
    if (!openForRequest(host)) {
        status(host, MsgCheckConnection);
        indicator(host, LinkColor::Black);
        return; // the request stays: the next pass tries again until it is withdrawn
    }
    // A request withdrawn meanwhile is not served; nothing is sent.
    const bool write = request == StateWriteMaterials || request == StateWriteObjects;
    const std::optional<StandingRequest> standing = standingRequest(m_shared, request);
    const std::optional<NameListBlock> outgoing =
        standing && write ? takeOutgoingNames(m_shared, *standing, nameTable(request)) : std::nullopt;
    if (!standing || (write && !outgoing))
        return m_transport.closeLink();

    if (request == StateReadScreen)
        status(host, MsgScreenshotReading);
    indicator(host, LinkColor::Green);

    auto exchange = protocol(host);
    bool ok = exchange.has_value();
    switch (request) {
    // Only the bytes that arrived are handed on: a short reply leaves the rest
    // of the table or the viewer's buffer as it was.
    case StateReadMaterials:
    case StateReadObjects: {
        NameListBlock reply{};
        const std::optional<quint32> arrived = ok ? exchange->readNameList(nameList(request), reply) : std::nullopt;
        ok = arrived.has_value();
        if (ok)
            deliverNames(m_shared, *standing, nameTable(request), std::span(reply).first(*arrived));
        break;
    }
    case StateWriteMaterials:
    case StateWriteObjects: ok = ok && exchange->writeNameList(nameList(request), *outgoing); break;
    case StateReadScreen: {
        ScreenBlock reply{};
        const std::optional<quint32> arrived = ok ? exchange->readScreen(reply) : std::nullopt;
        ok = arrived.has_value();
        if (ok)
            deliverScreen(m_shared, std::span(reply).first(*arrived));
        break;
    }
    default: break;
    }
    if (!ok)
        return failedExchange(host);

    m_transport.closeLink();
    completeRequest(m_shared, *standing);
    status(host, request == StateReadScreen ? MsgScreenshotReaded : write ? MsgParamWrited : MsgParamReaded);
    indicator(host, LinkColor::ButtonFace);
}

NameList DeviceWorker::nameList(LinkState request)
{
    return request == StateReadMaterials || request == StateWriteMaterials ? NameList::Materials : NameList::Objects;
}

NameListBlock &DeviceWorker::nameTable(LinkState request)
{
    return nameList(request) == NameList::Materials ? m_shared.materialNamesBuffer : m_shared.objectNamesBuffer;
}

void DeviceWorker::failedExchange(WorkerHost &host)
{
    // Before a complete read, start again from the search; after one, try the
    // same step again.
    if (!m_shared.deviceDataRead)
        advance(m_passState, StateSearch);
    status(host, MsgLinkError);
    indicator(host, LinkColor::Red);
    if (auto exchange = protocol(host))
        exchange->resynchronise();
    else
        host.clock().sleepMs(1000);
    // An instrument plugged in again has new pipe files (and a new libusb
    // device): the next search or request opens the link afresh instead of
    // writing on into the old one.
    m_transport.closeLink();
    progress(host, std::nullopt);
}

void DeviceWorker::status(WorkerHost &host, const TextPair &text, const QString &suffix)
{
    host.synchronize([this, text, suffix] { m_display.setStatusText(text.text(m_display.language()) + suffix); });
}

void DeviceWorker::indicator(WorkerHost &host, LinkColor color)
{
    // A red indicator stays visible a moment before it changes.
    if (m_indicator == LinkColor::Red)
        host.clock().sleepMs(RedIndicatorPauseMs);
    m_indicator = color;
    host.synchronize([this, color] { m_display.setLinkIndicator(color); });
}

void DeviceWorker::progress(WorkerHost &host, std::optional<int> position)
{
    host.synchronize([this, position] { m_display.setProgress(position); });
}

void DeviceWorker::deviceText(WorkerHost &host, const QString &text)
{
    host.synchronize([this, text] { m_display.setDeviceText(text); });
}

} // namespace kvt
