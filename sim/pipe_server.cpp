#include "pipe_server.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt::sim {
namespace {

constexpr int PollMilliseconds = 100;

bool makeFifo(const std::string &path, std::string *whyNot)
{
    if (::mkfifo(path.c_str(), 0666) == 0)
        return true;
    struct stat info {};
    // One left behind by a killed run is as good as a new one.
    if (errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode))
        return true;
    *whyNot = path + ": " + std::strerror(errno);
    return false;
}

} // namespace

PipeServer::PipeServer(std::string folder, Instrument instrument, std::optional<int> replugAfterMs, bool fullSpeed)
    : m_folder(std::move(folder))
    , m_instrument(std::move(instrument))
    , m_replugAfterMs(replugAfterMs)
    , m_timeline(fullSpeed)
{
}

PipeServer::~PipeServer()
{
    unplug();
}

bool PipeServer::start(std::string *whyNot)
{
    return plugIn(whyNot);
}

bool PipeServer::plugIn(std::string *whyNot)
{
    if (!makeFifo(commandPipe(), whyNot) || !makeFifo(replyPipe(), whyNot))
        return false;
    // Both read-write: the command pipe then never reports end of file when
    // the program closes its end between exchanges, and opening the reply pipe
    // does not wait for a reader.
    m_commands = ::open(commandPipe().c_str(), O_RDWR | O_CLOEXEC);
    m_replies = ::open(replyPipe().c_str(), O_RDWR | O_CLOEXEC);
    m_live = true;
    if (m_commands < 0 || m_replies < 0) {
        *whyNot = m_folder + ": " + std::strerror(errno);
        unplug();
        return false;
    }
    return true;
}

void PipeServer::unplug()
{
    if (!m_live)
        return;
    for (int *fd : {&m_commands, &m_replies}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    ::unlink(commandPipe().c_str());
    ::unlink(replyPipe().c_str());
    m_live = false;
}

bool PipeServer::run(const volatile std::sig_atomic_t &stop, std::string *whyNot)
{
    while (!stop) {
        if (m_unpluggedAt) {
            const bool due = m_replugAfterMs
                          && SimClock::now() >= *m_unpluggedAt + std::chrono::milliseconds(*m_replugAfterMs);
            if (!due) {
                ::poll(nullptr, 0, PollMilliseconds);
                continue;
            }
            m_instrument.replug();
            m_unpluggedAt.reset();
            if (!plugIn(whyNot))
                return false;
        }
        if (!sendReadyReplies(stop, whyNot))
            return false;
        if (m_unpluggedAt)
            continue;
        pollfd ready{m_commands, POLLIN, 0};
        const int polled = ::poll(&ready, 1, pollMilliseconds());
        if (polled < 0 && errno != EINTR) {
            *whyNot = std::string("poll: ") + std::strerror(errno);
            return false;
        }
        if (polled > 0 && !takeCommands(whyNot))
            return false;
    }
    return true;
}

// Until the next reply is ready, or a while when none is waiting.
int PipeServer::pollMilliseconds() const
{
    const std::optional<SimTime> readyAt = m_instrument.transferReadyAt();
    if (!readyAt)
        return PollMilliseconds;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*readyAt - SimClock::now()).count();
    return int(std::clamp<decltype(wait)>(wait, 0, PollMilliseconds));
}

// Takes what the program wrote, stamped with the time it came.
bool PipeServer::takeCommands(std::string *whyNot)
{
    unsigned char buffer[4096];
    const ssize_t got = ::read(m_commands, buffer, sizeof buffer);
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN)
            return true;
        *whyNot = commandPipe() + ": " + std::strerror(errno);
        return false;
    }
    const SimTime arrived = m_timeline.transfer(size_t(got), SimClock::now());
    std::this_thread::sleep_until(arrived);
    m_instrument.write(buffer, size_t(got), arrived);
    noticeVanish();
    return true;
}

// Sends every reply transfer that is ready by now.
bool PipeServer::sendReadyReplies(const volatile std::sig_atomic_t &stop, std::string *whyNot)
{
    while (!stop && !m_unpluggedAt) {
        const std::optional<SimTime> readyAt = m_instrument.transferReadyAt();
        if (!readyAt || *readyAt > SimClock::now())
            return true;
        QByteArray transfer(qsizetype(m_instrument.transferBytesLeft()), '\0');
        m_instrument.read(reinterpret_cast<unsigned char *>(transfer.data()), size_t(transfer.size()));
        std::this_thread::sleep_until(m_timeline.transfer(size_t(transfer.size()), SimClock::now()));
        for (qsizetype sent = 0; sent < transfer.size() && !stop;) {
            const ssize_t wrote = ::write(m_replies, transfer.constData() + sent, size_t(transfer.size() - sent));
            if (wrote < 0 && errno != EINTR) {
                *whyNot = replyPipe() + ": " + std::strerror(errno);
                return false;
            }
            sent += wrote > 0 ? wrote : 0;
        }
        noticeVanish();
    }
    return true;
}

// The unplug fault took the instrument away: so go its FIFOs.
void PipeServer::noticeVanish()
{
    if (m_instrument.vanished() && !m_unpluggedAt) {
        unplug();
        m_unpluggedAt = SimClock::now();
    }
}

} // namespace kvt::sim
