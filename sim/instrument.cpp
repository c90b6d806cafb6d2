#include "instrument.h"

#include <algorithm>
#include <cstring>

namespace kvt::sim {
namespace {

bool isCommand(quint8 code)
{
    switch (code) {
    case CmdReadVersion:
    case CmdReadDirectory:
    case CmdReadImpact:
    case CmdReadMaterials:
    case CmdWriteMaterials:
    case CmdReadObjects:
    case CmdWriteObjects:
    case CmdReadScreen:
        return true;
    default:
        return false;
    }
}

// The length of the frame a code starts; 0 for no command.
qsizetype frameLength(quint8 code)
{
    return !isCommand(code) ? 0 : code == CmdReadImpact ? 4 : 2;
}

// The instrument's own times: what the shorter of the program's two pause
// tables leaves it. A reply is ready this long after its command.
std::chrono::milliseconds replyDelay(quint8 code)
{
    switch (code) {
    case CmdReadVersion:
    case CmdReadDirectory:
    case CmdReadMaterials:
    case CmdReadObjects:
        return std::chrono::milliseconds(50);
    default:
        return std::chrono::milliseconds(0);
    }
}

// After a write command it makes ready for the block; it stores the block
// 64 bytes at a time (and whatever a transfer ends with).
constexpr std::chrono::milliseconds BlockPreparation{300};
constexpr std::chrono::milliseconds ChunkStorage{15};
constexpr qsizetype ChunkBytes = 64;
// A stream's bytes are stamped when the server reads them, which may be a
// scheduling delay after the host wrote them.
constexpr std::chrono::milliseconds StreamGrace{10};

template <size_t N>
QByteArray bytesOf(const std::array<unsigned char, N> &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), qsizetype(N));
}

} // namespace

Instrument::Instrument(InstrumentContent content, FaultPlan faults, Strictness strictness)
    : m_content(std::move(content))
    , m_faults(faults)
    , m_strictness(strictness)
    , m_materialNames(makeNameListBlock(defaultMaterialNames()))
    , m_objectNames(makeNameListBlock(defaultObjectNames()))
    , m_screen(drawInstrumentScreen(m_content))
    , m_unplugArmed(faults.unplugAfterRecords.has_value())
{
    m_content.directory.resize(MaxImpacts);
}

void Instrument::writeTransfer(QByteArrayView transfer, SimTime now)
{
    m_grace = std::chrono::milliseconds(0);
    if (!strict()) {
        takeAll(transfer, now);
        return;
    }
    qsizetype taken = transfer.size();
    switch (m_expect) {
    case Expect::BlockBytes:
        // What runs past the block's end is dropped, not read as commands.
        taken = std::min(taken, qsizetype(m_blockLength) - m_block.size());
        break;
    case Expect::BlockLength:
        if (transfer.size() != 4) {
            abandonInput();
            return;
        }
        break;
    default:
        if (transfer.isEmpty() || transfer.size() != frameLength(quint8(transfer[0])))
            return; // a piece of a frame, or more than one
        break;
    }
    SimTime at = now;
    if (m_vanished || !admit(at))
        return;
    takeAll(transfer.first(taken), at);
    // The transfer's last bytes are stored like a full piece.
    if (m_expect == Expect::BlockBytes && m_block.size() % ChunkBytes != 0)
        busyFor(ChunkStorage, at);
}

void Instrument::write(const unsigned char *bytes, std::size_t count, SimTime now)
{
    m_grace = StreamGrace;
    takeAll(QByteArrayView(bytes, qsizetype(count)), now);
    const bool midFrame = m_expect == Expect::Complement || m_expect == Expect::IndexLow
                       || m_expect == Expect::IndexHigh || (m_expect == Expect::BlockLength && m_lengthBytes > 0);
    if (strict() && midFrame)
        abandonInput();
}

void Instrument::takeAll(QByteArrayView bytes, SimTime at)
{
    for (qsizetype i = 0; i < bytes.size() && !m_vanished; ++i)
        take(quint8(bytes[i]), at);
}

bool Instrument::admit(SimTime &at)
{
    if (at + m_grace >= m_busyUntil)
        return true;
    switch (earlyInput()) {
    case EarlyInput::Taken:
        return true;
    case EarlyInput::Late:
        at = m_busyUntil;
        return true;
    case EarlyInput::Lost:
        break;
    }
    abandonInput();
    return false;
}

void Instrument::busyFor(std::chrono::milliseconds time, SimTime at)
{
    m_busyUntil = earlyInput() == EarlyInput::Taken ? at : at + time;
}

void Instrument::abandonInput()
{
    m_expect = Expect::Code;
    m_block.clear();
}

void Instrument::take(unsigned char byte, SimTime at)
{
    if (!admit(at))
        return;
    switch (m_expect) {
    case Expect::Code:
        // Anything that cannot start a frame is line noise and is dropped.
        if (isCommand(byte)) {
            m_code = byte;
            m_expect = Expect::Complement;
        }
        return;
    case Expect::Complement:
        if (byte != quint8(0xFF - m_code)) {
            // The code byte was noise; this byte may start the real frame.
            m_expect = Expect::Code;
            take(byte, at);
            return;
        }
        if (m_code == CmdReadImpact) {
            m_expect = Expect::IndexLow;
        } else if (m_code == CmdWriteMaterials || m_code == CmdWriteObjects) {
            m_expect = Expect::BlockLength;
            m_blockLength = 0;
            m_lengthBytes = 0;
            busyFor(BlockPreparation, at);
        } else {
            m_expect = Expect::Code;
            execute(at);
        }
        return;
    case Expect::IndexLow:
        m_index = byte;
        m_expect = Expect::IndexHigh;
        return;
    case Expect::IndexHigh:
        m_index = quint16(m_index | (byte << 8));
        m_expect = Expect::Code;
        execute(at);
        return;
    case Expect::BlockLength:
        m_blockLength |= quint32(byte) << (8 * m_lengthBytes);
        if (++m_lengthBytes < 4)
            return;
        // A block the list cannot hold is refused whole, rather than letting
        // it swallow the commands that follow.
        m_expect = m_blockLength == 0 || m_blockLength > NameListBlockSize ? Expect::Code : Expect::BlockBytes;
        m_block.clear();
        return;
    case Expect::BlockBytes:
        m_block.append(char(byte));
        if (quint32(m_block.size()) == m_blockLength) {
            storeNameBlock();
            m_expect = Expect::Code;
            busyFor(ChunkStorage, at);
        } else if (m_block.size() % ChunkBytes == 0) {
            busyFor(ChunkStorage, at);
        }
        return;
    }
}

void Instrument::execute(SimTime at)
{
    busyFor(replyDelay(m_code), at);
    switch (m_code) {
    case CmdReadVersion: {
        QByteArray text(SimVersionText);
        if (strict())
            text.append('\0'); // a real instrument sends its text's terminating 0 too
        reply(text);
        return;
    }
    case CmdReadDirectory:
        if (m_faults.emptyDirectory)
            reply(QByteArray(DirectoryBlockSize, '\0'));
        else
            reply(QByteArray(reinterpret_cast<const char *>(m_content.directory.data()), DirectoryBlockSize));
        return;
    case CmdReadImpact:
        if (m_unplugArmed && m_recordRepliesRead >= *m_faults.unplugAfterRecords) {
            m_vanished = true;
            m_transfers.clear();
            return;
        }
        reply(recordPayload(m_index));
        return;
    case CmdReadMaterials:
        reply(bytesOf(m_materialNames));
        return;
    case CmdReadObjects:
        reply(bytesOf(m_objectNames));
        return;
    case CmdReadScreen:
        reply(bytesOf(m_screen));
        return;
    default:
        return;
    }
}

void Instrument::storeNameBlock()
{
    // A shorter block replaces only the slots' first bytes; the rest stays.
    NameListBlock &list = m_code == CmdWriteMaterials ? m_materialNames : m_objectNames;
    std::memcpy(list.data(), m_block.constData(), size_t(m_block.size()));
}

QByteArray Instrument::recordPayload(quint16 index) const
{
    if (index >= m_content.records.size())
        return QByteArray(ImpactRecordSize, '\0');
    return QByteArray(reinterpret_cast<const char *>(m_content.records[index].bytes.data()), ImpactRecordSize);
}

void Instrument::reply(QByteArray payload)
{
    const std::size_t code = m_code;
    if (m_faults.timeoutOn.test(code))
        return;
    if (m_faults.longReply.test(code))
        payload.append(ExtraLongReplyBytes, char(ExtraLongReplyByte));
    const auto announced = quint32(payload.size());
    if (m_faults.shortReply.test(code))
        payload.truncate(announced / 2);

    QByteArray length(4, '\0');
    storeLittleEndian<quint32>(reinterpret_cast<unsigned char *>(length.data()), announced);
    m_transfers.push_back({length, 0, false, m_busyUntil});
    m_transfers.push_back({payload, 0, m_code == CmdReadImpact, m_busyUntil});
}

std::optional<std::size_t> Instrument::read(unsigned char *out, std::size_t capacity, SimTime now)
{
    if (m_vanished || m_transfers.empty() || m_transfers.front().readyAt > now)
        return std::nullopt;
    Transfer &head = m_transfers.front();
    const std::size_t n = std::min(capacity, std::size_t(head.bytes.size() - head.taken));
    if (n > 0)
        std::memcpy(out, head.bytes.constData() + head.taken, n);
    head.taken += qsizetype(n);
    if (head.taken == head.bytes.size()) {
        const bool record = head.recordPayload;
        m_transfers.pop_front();
        if (record) {
            ++m_recordRepliesRead;
            if (m_unplugArmed && m_recordRepliesRead >= *m_faults.unplugAfterRecords) {
                m_vanished = true;
                m_transfers.clear();
            }
        }
    }
    return n;
}

std::optional<SimTime> Instrument::transferReadyAt() const
{
    if (m_transfers.empty())
        return std::nullopt;
    return m_transfers.front().readyAt;
}

std::size_t Instrument::transferBytesLeft() const
{
    return m_transfers.empty() ? 0 : std::size_t(m_transfers.front().bytes.size() - m_transfers.front().taken);
}

void Instrument::replug()
{
    m_transfers.clear();
    m_expect = Expect::Code;
    m_block.clear();
    m_busyUntil = SimTime{};
    m_vanished = false;
    m_unplugArmed = false;
}

} // namespace kvt::sim
