#pragma once

#include "gadget_configfs.h"
#include "instrument.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <optional>
#include <string>

namespace kvt::sim {

// The instrument behind a FunctionFS function: the host's OUT transfers, a
// packet at a time as the instrument's endpoint takes them, go to the
// instrument, and each transfer it queues goes to the IN endpoint as one
// transfer. The unplug fault unbinds the gadget from its controller (the
// host sees the device leave) and the replug fault binds it again.
class GadgetServer {
public:
    GadgetServer(GadgetConfig &gadget, std::string controller, std::string mountPoint, Instrument instrument,
                 std::optional<int> replugAfterMs);
    ~GadgetServer(); // unmounts
    GadgetServer(const GadgetServer &) = delete;
    GadgetServer &operator=(const GadgetServer &) = delete;

    // Mounts the function, writes its descriptors and binds the gadget.
    bool start(std::string *whyNot);
    // Serves until `stop` is set (by a signal handler); false on an error.
    bool run(const volatile std::sig_atomic_t &stop, std::string *whyNot);

private:
    void receive();
    void send();
    void handleEvents();
    bool unplugOrReplug(std::string *whyNot);

    GadgetConfig &m_gadget;
    std::string m_controller;
    std::string m_mountPoint;
    Instrument m_instrument;
    std::optional<int> m_replugAfterMs;
    bool m_mounted = false;
    int m_ep0 = -1;
    int m_out = -1;
    int m_in = -1;

    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_receiverEnded = false;
    std::atomic<bool> m_senderEnded = false;
    std::mutex m_lock; // the instrument and the field below
    std::condition_variable m_changed;
    std::optional<std::chrono::steady_clock::time_point> m_unpluggedAt;
};

} // namespace kvt::sim
