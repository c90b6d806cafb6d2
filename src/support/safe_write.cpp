#include "safe_write.h"

#include <QSaveFile>

namespace kvt {

SafeWriteStatus writeFileSafely(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a write the disk refuses fails here; a buffered write
    // fails only when committing, and the truncated file would still replace
    // the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return SafeWriteStatus::CannotCreate;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return SafeWriteStatus::WriteFailed;
    }
    return file.commit() ? SafeWriteStatus::Written : SafeWriteStatus::WriteFailed;
}

} // namespace kvt
