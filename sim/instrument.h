#pragma once

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

// The instrument as the host sees it through its two bulk channels, with no
// transport around it. Written bytes are one stream of command frames: code,
// its one's complement, then the index (code 3) or the name list block
// (codes 6 and 8). Every read command is answered with two transfers, the
// 4-byte length first and the payload second, because the host reads them
// with two reads; a read never runs from one transfer into the next.
class Instrument {
public:
    explicit Instrument(InstrumentContent content, FaultPlan faults = {});

    // Bytes from the host, in any split.
    void write(const unsigned char *bytes, std::size_t count);
    void write(QByteArrayView bytes) { write(reinterpret_cast<const unsigned char *>(bytes.data()), size_t(bytes.size())); }

    // Up to `capacity` bytes of the transfer at the head of the queue; nothing
    // when no reply is waiting.
    std::optional<std::size_t> read(unsigned char *out, std::size_t capacity);
    bool hasTransfer() const { return !m_transfers.empty(); }
    std::size_t transferBytesLeft() const;

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
    };

    void take(unsigned char byte);
    void execute();
    void storeNameBlock();
    void reply(QByteArray payload);
    QByteArray recordPayload(quint16 index) const;

    InstrumentContent m_content;
    FaultPlan m_faults;
    NameListBlock m_materialNames;
    NameListBlock m_objectNames;
    ScreenBlock m_screen;

    Expect m_expect = Expect::Code;
    quint8 m_code = 0;
    quint16 m_index = 0;
    quint32 m_blockLength = 0;
    int m_lengthBytes = 0;
    QByteArray m_block;

    std::deque<Transfer> m_transfers;
    int m_recordRepliesRead = 0;
    bool m_unplugArmed;
    bool m_vanished = false;
};

} // namespace kvt::sim
