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

template <size_t N>
QByteArray bytesOf(const std::array<unsigned char, N> &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), qsizetype(N));
}

} // namespace

Instrument::Instrument(InstrumentContent content, FaultPlan faults)
    : m_content(std::move(content))
    , m_faults(faults)
    , m_materialNames(makeNameListBlock(defaultMaterialNames()))
    , m_objectNames(makeNameListBlock(defaultObjectNames()))
    , m_screen(drawInstrumentScreen(m_content))
    , m_unplugArmed(faults.unplugAfterRecords.has_value())
{
    m_content.directory.resize(MaxImpacts);
}

void Instrument::write(const unsigned char *bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count && !m_vanished; ++i)
        take(bytes[i]);
}

void Instrument::take(unsigned char byte)
{
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
            take(byte);
            return;
        }
        if (m_code == CmdReadImpact) {
            m_expect = Expect::IndexLow;
        } else if (m_code == CmdWriteMaterials || m_code == CmdWriteObjects) {
            m_expect = Expect::BlockLength;
            m_blockLength = 0;
            m_lengthBytes = 0;
        } else {
            m_expect = Expect::Code;
            execute();
        }
        return;
    case Expect::IndexLow:
        m_index = byte;
        m_expect = Expect::IndexHigh;
        return;
    case Expect::IndexHigh:
        m_index = quint16(m_index | (byte << 8));
        m_expect = Expect::Code;
        execute();
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
        }
        return;
    }
}

void Instrument::execute()
{
    switch (m_code) {
    case CmdReadVersion:
        reply(QByteArray(SimVersionText));
        return;
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
    m_transfers.push_back({length});
    m_transfers.push_back({payload, 0, m_code == CmdReadImpact});
}

std::optional<std::size_t> Instrument::read(unsigned char *out, std::size_t capacity)
{
    if (m_vanished || m_transfers.empty())
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

std::size_t Instrument::transferBytesLeft() const
{
    return m_transfers.empty() ? 0 : std::size_t(m_transfers.front().bytes.size() - m_transfers.front().taken);
}

void Instrument::replug()
{
    m_transfers.clear();
    m_expect = Expect::Code;
    m_block.clear();
    m_vanished = false;
    m_unplugArmed = false;
}

} // namespace kvt::sim
