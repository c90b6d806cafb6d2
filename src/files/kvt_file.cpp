#include "kvt_file.h"

#include <QFile>
#include <QSaveFile>

#include <memory>

namespace kvt {
namespace {

bool readExactly(QIODevice &device, void *target, qint64 size)
{
    return device.read(static_cast<char *>(target), size) == size;
}

bool writeExactly(QIODevice &device, const void *source, qint64 size)
{
    return device.write(static_cast<const char *>(source), size) == size;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return KvtLoadStatus::CannotOpen;
    auto staging = std::make_unique<MeasurementStore>();
    if (!readKvt(file, *staging))
        return KvtLoadStatus::Rejected;
    store = std::move(*staging);
    return KvtLoadStatus::Loaded;
}

KvtSaveStatus saveKvtFile(const QString &path, const MeasurementStore &store)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return KvtSaveStatus::CannotCreate;

    const quint32 count = store.impactCount();
    unsigned char header[KvtHeaderSize];
    std::memcpy(header, KvtMagic, sizeof KvtMagic);
    storeLittleEndian<quint32>(header + 8, count * DirectoryEntrySize);
    storeLittleEndian<quint32>(header + 12, count * ImpactRecordSize);

    const bool written = writeExactly(file, header, KvtHeaderSize)
        && writeExactly(file, store.directory(), qint64(count) * DirectoryEntrySize)
        && writeExactly(file, store.records(), qint64(count) * ImpactRecordSize);
    if (!written) {
        file.cancelWriting();
        return KvtSaveStatus::WriteFailed;
    }
    return file.commit() ? KvtSaveStatus::Saved : KvtSaveStatus::WriteFailed;
}

} // namespace kvt
