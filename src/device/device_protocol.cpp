#include "device_protocol.h"

#include "support/windows1251.h"

namespace kvt {
namespace {

constexpr int VersionCapLibUsb = 99;
constexpr int VersionCapPipes = 100;
constexpr int ChunkSize = 64;
constexpr int ChunkPauseMs = 15;
constexpr int ResyncBytes = 1000;
constexpr int ResyncPauseMs = 1000;

} // namespace

QByteArray commandFrame(Command command, quint16 index)
{
    QByteArray frame;
    frame.append(char(command));
    frame.append(char(0xFF - command));
    if (command == CmdReadImpact) {
        frame.append(char(index & 0xFF));
        frame.append(char(index >> 8));
    }
    return frame;
}

bool DeviceProtocol::sendCommand(const QByteArray &frame)
{
    return m_link.write(frame.constData(), int(frame.size()));
}

std::optional<quint32> DeviceProtocol::readReply(unsigned char *destination, quint32 cap)
{
    // The instrument sends the length as a transfer of its own, then the payload.
    if (!m_link.read(destination, 4))
        return std::nullopt;
    const quint32 announced = loadLittleEndian<quint32>(destination);
    const quint32 wanted = qMin(announced, cap);
    if (wanted == 0)
        return 0u; // an empty payload: nothing to read
    const std::optional<int> delivered = m_link.read(destination, int(wanted));
    if (!delivered)
        return std::nullopt;
    return quint32(qBound(0, *delivered, int(wanted)));
}

bool DeviceProtocol::writeBlock(const NameListBlock &block)
{
    unsigned char length[4];
    storeLittleEndian<quint32>(length, NameListBlockSize);
    if (!m_link.write(length, 4))
        return false;
    for (int offset = 0; offset < NameListBlockSize; offset += ChunkSize) {
        if (!m_link.write(block.data() + offset, qMin(ChunkSize, NameListBlockSize - offset)))
            return false;
        m_clock.sleepMs(ChunkPauseMs);
    }
    return true;
}

std::optional<QString> DeviceProtocol::readVersion()
{
    if (!sendCommand(commandFrame(CmdReadVersion)))
        return std::nullopt;
    m_clock.sleepMs(libUsb() ? 80 : 50);
    std::array<unsigned char, VersionCapPipes> text{};
    const std::optional<quint32> count = readReply(text.data(), libUsb() ? VersionCapLibUsb : VersionCapPipes);
    if (!count)
        return std::nullopt;
    for (quint32 i = 0; i < *count; ++i)
        if (text[i] == 0)
            text[i] = ' ';
    return fromWindows1251(QByteArrayView(reinterpret_cast<const char *>(text.data()), *count));
}

bool DeviceProtocol::readDirectory(MeasurementStore &store)
{
    if (!sendCommand(commandFrame(CmdReadDirectory)))
        return false;
    m_clock.sleepMs(50);
    return readReply(reinterpret_cast<unsigned char *>(store.directory()), DirectoryCap).has_value();
}

bool DeviceProtocol::readImpact(MeasurementStore &store, quint32 index)
{
    if (index >= MaxImpacts || !sendCommand(commandFrame(CmdReadImpact, quint16(index))))
        return false;
    return readReply(store.records()[index].bytes.data(), ImpactRecordSize).has_value();
}

std::optional<quint32> DeviceProtocol::readNameList(NameList list, NameListBlock &block)
{
    const bool objectsOverLibUsb = list == NameList::Objects && libUsb();
    if (!objectsOverLibUsb)
        m_clock.sleepMs(300);
    if (!sendCommand(commandFrame(list == NameList::Materials ? CmdReadMaterials : CmdReadObjects)))
        return std::nullopt;
    m_clock.sleepMs(objectsOverLibUsb ? 300 : 50);
    return readReply(block.data(), NameListBlockSize);
}

bool DeviceProtocol::writeNameList(NameList list, const NameListBlock &block)
{
    if (!sendCommand(commandFrame(list == NameList::Materials ? CmdWriteMaterials : CmdWriteObjects)))
        return false;
    m_clock.sleepMs(300);
    return writeBlock(block);
}

std::optional<quint32> DeviceProtocol::readScreen(ScreenBlock &screen)
{
    if (!libUsb())
        m_clock.sleepMs(100);
    if (!sendCommand(commandFrame(CmdReadScreen)))
        return std::nullopt;
    if (libUsb())
        m_clock.sleepMs(300);
    return readReply(screen.data(), ScreenBlockSize);
}

void DeviceProtocol::resynchronise()
{
    std::array<unsigned char, ResyncBytes> scratch;
    (void)m_link.read(scratch.data(), ResyncBytes);
    m_clock.sleepMs(ResyncPauseMs);
}

} // namespace kvt
