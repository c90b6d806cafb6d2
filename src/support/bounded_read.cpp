#include "bounded_read.h"

#include <QFile>
#include <QFileInfo>

namespace kvt {

BoundedRead readRegularFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {BoundedReadStatus::CannotOpen, {}};
    // Asked before opening: opening a FIFO for reading waits for a writer.
    if (!info.isFile())
        return {BoundedReadStatus::NotRegularFile, {}};
    if (info.size() > maxBytes)
        return {BoundedReadStatus::TooLarge, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {BoundedReadStatus::CannotOpen, {}};
    // The file may have grown since it was asked about: one byte more than the
    // bound tells.
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return {BoundedReadStatus::TooLarge, {}};
    return {BoundedReadStatus::Read, std::move(bytes)};
}

} // namespace kvt
