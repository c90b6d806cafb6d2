#pragma once

#include "sim/instrument.h"

#include <QByteArray>
#include <QList>

// Small pieces the simulator's tests share: frames as the program writes them
// and replies as it reads them.
namespace kvt::sim::testing {

inline QByteArray frame(quint8 code)
{
    // Not QByteArray{a, b}: that is QByteArray(count, character).
    const char bytes[2] = {char(code), char(0xFF - code)};
    return QByteArray(bytes, 2);
}

inline QByteArray recordFrame(quint16 index)
{
    return frame(CmdReadImpact) + char(index & 0xFF) + char(index >> 8);
}

inline QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    storeLittleEndian<quint32>(reinterpret_cast<unsigned char *>(bytes.data()), value);
    return bytes;
}

// The whole name list write: frame, length, then the block in 64-byte chunks.
inline QList<QByteArray> nameListWrite(quint8 code, const QByteArray &block)
{
    QList<QByteArray> writes{frame(code), littleEndian32(quint32(block.size()))};
    for (qsizetype at = 0; at < block.size(); at += 64)
        writes << block.mid(at, 64);
    return writes;
}

template <size_t N>
QByteArray bytesOf(const std::array<unsigned char, N> &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), qsizetype(N));
}

// Every queued transfer ready by `now` (by default however late), each taken
// with one generous read, so a transfer that ran into the next would show as a
// wrong size.
inline QList<QByteArray> drain(Instrument &instrument, SimTime now = SimTime::max())
{
    QList<QByteArray> transfers;
    QByteArray buffer(1 << 16, '\0');
    while (std::optional<size_t> got =
               instrument.read(reinterpret_cast<unsigned char *>(buffer.data()), size_t(buffer.size()), now))
        transfers << buffer.left(qsizetype(*got));
    return transfers;
}

// Records whose every byte tells which record it is, so a shifted or mixed-up
// record shows.
inline InstrumentContent recognisableContent(int records)
{
    std::vector<ImpactRecord> list(static_cast<size_t>(records));
    for (int k = 0; k < records; ++k) {
        for (int i = 0; i < ImpactRecordSize; ++i)
            list[size_t(k)].bytes[size_t(i)] = static_cast<unsigned char>(i * 7 + k * 31 + 1);
        list[size_t(k)].setImpactId(quint32(1 + k / 3), quint32(1 + k % 3));
    }
    return contentWithRecords(std::move(list));
}

} // namespace kvt::sim::testing
