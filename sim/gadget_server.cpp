#include "gadget_server.h"

#include "gadget_descriptors.h"

#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/usb/functionfs.h>
#include <poll.h>
#include <pthread.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt::sim {
namespace {

constexpr int PollMilliseconds = 100;
// The instrument's endpoint takes a full-speed packet at a time.
constexpr std::size_t PacketSize = 64;
// Interrupts a thread blocked on an endpoint, so that it can end.
constexpr int WakeSignal = SIGUSR1;

void ignoreWake(int) {}

std::string failure(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
}

} // namespace

GadgetServer::GadgetServer(GadgetConfig &gadget, std::string controller, std::string mountPoint,
                           Instrument instrument, std::optional<int> replugAfterMs)
    : m_gadget(gadget)
    , m_controller(std::move(controller))
    , m_mountPoint(std::move(mountPoint))
    , m_instrument(std::move(instrument))
    , m_replugAfterMs(replugAfterMs)
{
}

GadgetServer::~GadgetServer()
{
    m_gadget.unbind(nullptr);
    for (int *fd : {&m_in, &m_out, &m_ep0}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (m_mounted)
        ::umount2(m_mountPoint.c_str(), MNT_DETACH);
}

bool GadgetServer::start(std::string *whyNot)
{
    if (::mkdir(m_mountPoint.c_str(), 0755) != 0 && errno != EEXIST) {
        *whyNot = failure(m_mountPoint);
        return false;
    }
    if (::mount(m_gadget.name().c_str(), m_mountPoint.c_str(), "functionfs", 0, nullptr) != 0) {
        *whyNot = failure("mount functionfs " + m_gadget.name() + " on " + m_mountPoint);
        return false;
    }
    m_mounted = true;
    m_ep0 = ::open((m_mountPoint + "/ep0").c_str(), O_RDWR | O_CLOEXEC);
    if (m_ep0 < 0 || !writeAll(m_ep0, functionFsDescriptors()) || !writeAll(m_ep0, functionFsStrings())) {
        *whyNot = failure(m_mountPoint + "/ep0");
        return false;
    }
    m_out = ::open((m_mountPoint + "/" + OutEndpointFile).c_str(), O_RDWR | O_CLOEXEC);
    m_in = ::open((m_mountPoint + "/" + InEndpointFile).c_str(), O_RDWR | O_CLOEXEC);
    if (m_out < 0 || m_in < 0) {
        *whyNot = failure(m_mountPoint + "/" + OutEndpointFile + ", " + InEndpointFile);
        return false;
    }
    return m_gadget.bind(m_controller, whyNot);
}

bool GadgetServer::run(const volatile std::sig_atomic_t &stop, std::string *whyNot)
{
    struct sigaction wake {};
    wake.sa_handler = ignoreWake;
    sigemptyset(&wake.sa_mask);
    sigaction(WakeSignal, &wake, nullptr); // no SA_RESTART: the blocked call returns

    std::thread receiver([this] { receive(); });
    std::thread sender([this] { send(); });
    bool served = true;
    while (!stop && served) {
        pollfd events{m_ep0, POLLIN, 0};
        if (::poll(&events, 1, PollMilliseconds) > 0)
            handleEvents();
        served = unplugOrReplug(whyNot);
    }

    m_stopping = true;
    for (std::thread *thread : {&receiver, &sender}) {
        // A thread blocked on its endpoint is woken until it has ended.
        const std::atomic<bool> &ended = thread == &receiver ? m_receiverEnded : m_senderEnded;
        while (!ended) {
            {
                const std::lock_guard<std::mutex> lock(m_lock);
                m_changed.notify_all();
            }
            pthread_kill(thread->native_handle(), WakeSignal);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        thread->join();
    }
    return served;
}

void GadgetServer::receive()
{
    unsigned char packet[PacketSize];
    while (!m_stopping) {
        // Waits while the function is disabled; fails when it goes away.
        const ssize_t got = ::read(m_out, packet, sizeof packet);
        if (got <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        const std::lock_guard<std::mutex> lock(m_lock);
        m_instrument.writeTransfer(QByteArrayView(packet, got));
        m_changed.notify_all();
    }
    m_receiverEnded = true;
}

void GadgetServer::send()
{
    while (!m_stopping) {
        QByteArray transfer;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_changed.wait(lock, [this] { return m_stopping || m_instrument.hasTransfer(); });
            if (m_stopping)
                break;
            // A slow instrument's reply is on its endpoint only once it is ready.
            const std::optional<SimTime> readyAt = m_instrument.transferReadyAt();
            if (readyAt && *readyAt > SimClock::now()) {
                m_changed.wait_until(lock, *readyAt);
                continue;
            }
            transfer.resize(qsizetype(m_instrument.transferBytesLeft()));
            if (!m_instrument.read(reinterpret_cast<unsigned char *>(transfer.data()), size_t(transfer.size())))
                continue;
        }
        // Ends when the host has taken it all; a transfer the host never
        // takes before the device leaves is lost, as on a real bus.
        writeAll(m_in, transfer);
    }
    m_senderEnded = true;
}

// The function's life as the host and the controller see it. There are no
// requests of the instrument's own on ep0: any that comes is stalled.
void GadgetServer::handleEvents()
{
    usb_functionfs_event events[8];
    const ssize_t got = ::read(m_ep0, events, sizeof events);
    for (ssize_t i = 0; got > 0 && i < got / ssize_t(sizeof events[0]); ++i) {
        const usb_functionfs_event &event = events[i];
        if (event.type != FUNCTIONFS_SETUP)
            continue;
        // Answering the wrong way stalls it.
        const bool toHost = event.u.setup.bRequestType & USB_DIR_IN;
        const ssize_t stalled = toHost ? ::read(m_ep0, nullptr, 0) : ::write(m_ep0, nullptr, 0);
        (void)stalled;
    }
}

bool GadgetServer::unplugOrReplug(std::string *whyNot)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    const auto now = std::chrono::steady_clock::now();
    if (m_instrument.vanished() && !m_unpluggedAt) {
        m_unpluggedAt = now;
        return m_gadget.unbind(whyNot);
    }
    if (m_unpluggedAt && m_replugAfterMs && now >= *m_unpluggedAt + std::chrono::milliseconds(*m_replugAfterMs)) {
        m_instrument.replug();
        m_unpluggedAt.reset();
        return m_gadget.bind(m_controller, whyNot);
    }
    return true;
}

} // namespace kvt::sim
