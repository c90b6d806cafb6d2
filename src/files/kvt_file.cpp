#include "kvt_file.h"

#include "support/bounded_read.h"
#include "support/safe_write.h"

#include <QBuffer>

#include <memory>

namespace kvt {
namespace {

bool readExactly(QIODevice &device, void *target, qint64 size)
{
    return device.read(static_cast<char *>(target), size) == size;
}

} // namespace

bool readKvt(QIODevice &device, MeasurementStore &staging)
{
    unsigned char header[KvtHeaderSize];
    if (!readExactly(device, header, KvtHeaderSize) || std::memcmp(header, KvtMagic, sizeof KvtMagic) != 0)
        return false;
    const quint32 dirBytes = loadLittleEndian<quint32>(header + 8);
    const quint32 recBytes = loadLittleEndian<quint32>(header + 12);
    if (device.size() != qint64(KvtHeaderSize) + dirBytes + recBytes)
        return false;
    if (dirBytes % DirectoryEntrySize != 0)
        return false;
    const quint32 count = dirBytes / DirectoryEntrySize;
    if (count > MaxImpacts || qint64(recBytes) != qint64(count) * ImpactRecordSize)
        return false;

    if (!readExactly(device, staging.directory(), dirBytes) || !readExactly(device, staging.records(), recBytes))
        return false;
    staging.setImpactCount(count);
    staging.rebuildSeriesIndex();
    return true;
}

KvtLoadStatus loadKvtFile(const QString &path, MeasurementStore &store)
{
    const BoundedRead file = readRegularFile(path, KvtMaxFileSize);
    switch (file.status) {
    case BoundedReadStatus::CannotOpen: return KvtLoadStatus::CannotOpen;
    case BoundedReadStatus::NotRegularFile:
    case BoundedReadStatus::TooLarge: return KvtLoadStatus::Rejected;
    case BoundedReadStatus::Read: break;
    }
    QBuffer bytes;
    bytes.setData(file.bytes);
    bytes.open(QIODevice::ReadOnly);
    auto staging = std::make_unique<MeasurementStore>();
    if (!readKvt(bytes, *staging))
        return KvtLoadStatus::Rejected;
    store.replaceMeasurements(std::move(*staging));
    return KvtLoadStatus::Loaded;
}

QByteArray encodeKvt(const MeasurementStore &store)
{
    const quint32 count = store.impactCount();
    const qsizetype dirBytes = qsizetype(count) * DirectoryEntrySize;
    const qsizetype recBytes = qsizetype(count) * ImpactRecordSize;

    QByteArray bytes(KvtHeaderSize + dirBytes + recBytes, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(bytes.data());
    std::memcpy(out, KvtMagic, sizeof KvtMagic);
    storeLittleEndian<quint32>(out + 8, quint32(dirBytes));
    storeLittleEndian<quint32>(out + 12, quint32(recBytes));
    std::memcpy(out + KvtHeaderSize, store.directory(), size_t(dirBytes));
    std::memcpy(out + KvtHeaderSize + dirBytes, store.records(), size_t(recBytes));
    return bytes;
}

KvtSaveStatus saveKvtFile(const QString &path, const MeasurementStore &store)
{
    switch (writeFileSafely(path, encodeKvt(store))) {
    case SafeWriteStatus::Written: return KvtSaveStatus::Saved;
    case SafeWriteStatus::CannotCreate: return KvtSaveStatus::CannotCreate;
    case SafeWriteStatus::WriteFailed: return KvtSaveStatus::WriteFailed;
    }
    return KvtSaveStatus::WriteFailed;
}

} // namespace kvt
