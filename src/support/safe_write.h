#pragma once

#include <QByteArray>
#include <QString>

namespace kvt {

// Writes the whole file or nothing: the bytes go to a temporary file that
// replaces the old one only when every byte is on disk.
enum class SafeWriteStatus { Written, CannotCreate, WriteFailed };

SafeWriteStatus writeFileSafely(const QString &path, const QByteArray &bytes);

} // namespace kvt
