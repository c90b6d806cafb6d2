#pragma once

#include "store/measurement_store.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace kvt {

// The measurement file: "KVT-1.0\0", the directory size, the record size, then
// the directory block and the record block as they lie in the store.
constexpr int KvtHeaderSize = 16;
inline constexpr char KvtMagic[8] = {'K', 'V', 'T', '-', '1', '.', '0', '\0'};
// The largest file the reader takes: a full instrument's directory and records.
constexpr qint64 KvtMaxFileSize = KvtHeaderSize + qint64(MaxImpacts) * (DirectoryEntrySize + ImpactRecordSize);

// Reads a whole file from the device into a store that nobody else sees yet.
// False for anything the program never writes: a wrong magic or total length,
// blocks that disagree in count, more than the store holds, or a short read.
// The device's size() must be the file's total length.
bool readKvt(QIODevice &device, MeasurementStore &staging);

enum class KvtLoadStatus { Loaded, CannotOpen, Rejected };

// Opens a file and replaces the store only when the whole file was read; the
// store is untouched otherwise. What is not a regular file (a FIFO, a device),
// or is larger than any measurement file, is rejected unread.
KvtLoadStatus loadKvtFile(const QString &path, MeasurementStore &store);

// The bytes of a file holding the store's impacts.
QByteArray encodeKvt(const MeasurementStore &store);

enum class KvtSaveStatus { Saved, CannotCreate, WriteFailed };

// Writes the store; an existing file is replaced only when every byte is written.
KvtSaveStatus saveKvtFile(const QString &path, const MeasurementStore &store);

} // namespace kvt
