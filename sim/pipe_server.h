#pragma once

#include "bus_timing.h"
#include "instrument.h"

#include <csignal>
#include <optional>
#include <string>

namespace kvt::sim {

// The instrument behind a pair of FIFOs, as the program's driver-pipe backend
// reaches it: Pipe00 carries the host's commands, Pipe01 the replies, both as
// plain byte streams (length, then payload). A FIFO keeps no write boundaries,
// so the instrument takes the commands as a stream, stamped when they are read;
// a reply goes out once it is ready. When the unplug fault strikes the FIFOs
// disappear, and come back when the replug time is up.
class PipeServer {
public:
    PipeServer(std::string folder, Instrument instrument, std::optional<int> replugAfterMs, bool fullSpeed);
    ~PipeServer();

    // Creates and opens both FIFOs; false with a reason when it cannot.
    bool start(std::string *whyNot);
    // Serves until `stop` is set (by a signal handler); false on an I/O error.
    bool run(const volatile std::sig_atomic_t &stop, std::string *whyNot);

    std::string commandPipe() const { return m_folder + "/Pipe00"; }
    std::string replyPipe() const { return m_folder + "/Pipe01"; }

private:
    bool plugIn(std::string *whyNot);
    void unplug();
    int pollMilliseconds() const;
    bool takeCommands(std::string *whyNot);
    bool sendReadyReplies(const volatile std::sig_atomic_t &stop, std::string *whyNot);
    void noticeVanish();

    std::string m_folder;
    Instrument m_instrument;
    std::optional<int> m_replugAfterMs;
    BusTimeline m_timeline;
    int m_commands = -1;
    int m_replies = -1;
    bool m_live = false; // both FIFOs are ours to remove
    std::optional<SimTime> m_unpluggedAt;
};

} // namespace kvt::sim
