#pragma once

#include "byte_link.h"
#include "usb_transport.h"
#include "store/measurement_store.h"
#include "support/clock.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kvt {

enum Command : quint8 {
    CmdReadVersion = 1,
    CmdReadDirectory = 2,
    CmdReadImpact = 3,
    CmdReadMaterials = 5,
    CmdWriteMaterials = 6,
    CmdReadObjects = 7,
    CmdWriteObjects = 8,
    CmdReadScreen = 9,
};

constexpr int NameListSlots = 13;
constexpr int NameListBlockSize = NameListSlots * 20;
constexpr int ScreenBlockSize = 1024;
constexpr quint32 DirectoryCap = MaxImpacts * DirectoryEntrySize;
using NameListBlock = std::array<unsigned char, NameListBlockSize>;
using ScreenBlock = std::array<unsigned char, ScreenBlockSize>;
enum class NameList { Materials, Objects };

// The bytes of a command: its code, the code's complement, and for a record
// the record's index, low byte first.
QByteArray commandFrame(Command command, quint16 index = 0);

// The instrument's command protocol over one open link. The program always
// speaks first; a read command's reply is a 32-bit length, then that many
// bytes. There are no acknowledgements: the protocol relies on the transfer
// results and on fixed pauses, which differ between the two backends.
// Any failed step ends the exchange and returns failure.
class DeviceProtocol {
public:
    DeviceProtocol(ByteLink &link, TransportKind kind, Clock &clock) : m_link(link), m_kind(kind), m_clock(clock) {}

    bool sendCommand(const QByteArray &frame);
    // Exactly two reads: the length into the start of the destination, then at
    // most cap bytes over it. Bytes that do not arrive keep what they held.
    // The number of payload bytes delivered, or nothing on failure.
    std::optional<quint32> readReply(unsigned char *destination, quint32 cap);
    // The length 260, then the block in chunks of 64 bytes, 15 ms apart.
    bool writeBlock(const NameListBlock &block);

    std::optional<QString> readVersion();
    // Into the store's directory; the caller counts the impacts.
    bool readDirectory(MeasurementStore &store);
    bool readImpact(MeasurementStore &store, quint32 index);
    // The name list and screen reads give the number of payload bytes that
    // arrived, or nothing on failure.
    std::optional<quint32> readNameList(NameList list, NameListBlock &block);
    bool writeNameList(NameList list, const NameListBlock &block);
    std::optional<quint32> readScreen(ScreenBlock &screen);
    // After a failure: drop whatever input is pending, then wait a second.
    void resynchronise();

private:
    bool libUsb() const { return m_kind == TransportKind::LibUsb; }

    ByteLink &m_link;
    TransportKind m_kind;
    Clock &m_clock;
};

} // namespace kvt
