#pragma once

#include "bus_timing.h"
#include "device/device_protocol.h"
#include "fault_plan.h"
#include "instrument_content.h"
#include "name_lists.h"
#include "screen_image.h"

#include <QByteArray>

#include <cstddef>
#include <deque>
#include <optional>

namespace kvt::sim {

// The command codes are the program's own (device/device_protocol.h).
constexpr int DirectoryBlockSize = int(DirectoryCap);
constexpr int ExtraLongReplyBytes = 100;
constexpr unsigned char ExtraLongReplyByte = 0xEE;
inline constexpr char SimVersionText[] = "KVT-1.0 sim 1.0";

// How much carelessness of the host the instrument forgives
// (KVT10_SIM_STRICT): a lenient one takes command bytes in any split and says
// its version without the terminating 0; a strict one takes only what a real
// one takes.
enum class Strictness { Lenient, Strict };

// The instrument as the host sees it through its two bulk channels, with no
// transport around it. The host's bytes are command frames: code, its one's
// complement, then the index (code 3) or, after a write command, the name list
// block (codes 6 and 8). Every read command is answered with two transfers,
// the 4-byte length first and the payload second, because the host reads them
// with two reads; a read never runs from one transfer into the next.
// Times are passed in, so a transport may run the instrument on any clock.
class Instrument {
public:
    Instrument(InstrumentContent content, FaultPlan faults = {}, Strictness strictness = Strictness::Lenient);

    // One OUT transfer, whole, as the host wrote it with one call: how every
    // transport that sees transfers hands the instrument the host's bytes.
    // A strict instrument takes a command only as a transfer of its own, so a
    // frame split across two transfers or two frames joined in one get no
    // reply; a name block it takes as one 4-byte length transfer, then pieces.
    void writeTransfer(QByteArrayView transfer, SimTime now = SimClock::now());
    // Bytes of a stream that keeps no write boundaries (the FIFOs), in any
    // split. A strict instrument drops a frame that does not come whole within
    // one piece.
    void write(const unsigned char *bytes, std::size_t count, SimTime now = SimClock::now());
    void write(QByteArrayView bytes, SimTime now = SimClock::now())
    {
        write(reinterpret_cast<const unsigned char *>(bytes.data()), size_t(bytes.size()), now);
    }

    // Up to `capacity` bytes of the transfer at the head of the queue; nothing
    // when no reply is waiting or the one waiting is not ready yet.
    std::optional<std::size_t> read(unsigned char *out, std::size_t capacity, SimTime now = SimClock::now());
    bool hasTransfer() const { return !m_transfers.empty(); }
    // When the transfer at the head of the queue can be read.
    std::optional<SimTime> transferReadyAt() const;
    std::size_t transferBytesLeft() const;
    Strictness strictness() const { return m_strictness; }

    // The unplug fault took the instrument off the bus: it ignores writes and
    // answers nothing until it is plugged in again.
    bool vanished() const { return m_vanished; }
    // Back on the bus: what was queued or half-received is lost, the memory
    // is kept, and the unplug fault, having happened, does not come again.
    void replug();

    const InstrumentContent &content() const { return m_content; }
    const NameListBlock &materialNames() const { return m_materialNames; }
    const NameListBlock &objectNames() const { return m_objectNames; }
    const ScreenBlock &screen() const { return m_screen; }
    int recordRepliesRead() const { return m_recordRepliesRead; }

private:
    enum class Expect { Code, Complement, IndexLow, IndexHigh, BlockLength, BlockBytes };
    struct Transfer {
        QByteArray bytes;
        qsizetype taken = 0;
        bool recordPayload = false;
        SimTime readyAt{};
    };

    bool strict() const { return m_strictness == Strictness::Strict; }
    EarlyInput earlyInput() const { return m_faults.earlyInput.value_or(EarlyInput::Taken); }
    // Whether input arriving at `at` is taken, and when; what a busy
    // instrument drops ends the frame or block it belonged to.
    bool admit(SimTime &at);
    void busyFor(std::chrono::milliseconds time, SimTime at);
    void take(unsigned char byte, SimTime at);
    void takeAll(QByteArrayView bytes, SimTime at);
    void abandonInput();
    void execute(SimTime at);
    void storeNameBlock();
    void reply(QByteArray payload);
    QByteArray recordPayload(quint16 index) const;

    InstrumentContent m_content;
    FaultPlan m_faults;
    Strictness m_strictness;
    NameListBlock m_materialNames;
    NameListBlock m_objectNames;
    ScreenBlock m_screen;

    Expect m_expect = Expect::Code;
    quint8 m_code = 0;
    quint16 m_index = 0;
    quint32 m_blockLength = 0;
    int m_lengthBytes = 0;
    QByteArray m_block;
    // When the instrument is done with what it was given and takes input again.
    SimTime m_busyUntil{};
    // How much sooner than that input may be stamped and still count as on
    // time: a stream's bytes are stamped when they are read, not when written.
    std::chrono::milliseconds m_grace{0};

    std::deque<Transfer> m_transfers;
    int m_recordRepliesRead = 0;
    bool m_unplugArmed;
    bool m_vanished = false;
};

} // namespace kvt::sim
