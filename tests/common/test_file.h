#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kvt::testing {

// Writes a file for a test to read: its path, or an empty one when it could
// not be written whole, so that the test fails on it rather than on a stray file.
inline QString writeTestFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

} // namespace kvt::testing
