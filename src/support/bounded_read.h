#pragma once

#include <QByteArray>
#include <QString>

namespace kvt {

// Reads a whole file that the program expects to be a file of one kind, whose
// largest possible size is known. Anything else is refused before a byte is
// read: a FIFO or a device would block or never end, and a file larger than any
// of its kind can only exhaust memory.
enum class BoundedReadStatus { Read, CannotOpen, NotRegularFile, TooLarge };

struct BoundedRead {
    BoundedReadStatus status = BoundedReadStatus::CannotOpen;
    QByteArray bytes; // the whole file when status is Read, else empty
};

BoundedRead readRegularFile(const QString &path, qint64 maxBytes);

} // namespace kvt
