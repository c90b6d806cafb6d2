#pragma once

#include <QString>
#include <QStringList>

namespace kvt {

// The operating system side of the instrument's pipe driver: where its device
// folders are, and plain file operations on the two pipe files below each.
class PipeFiles {
public:
    using Handle = qintptr;
    static constexpr Handle InvalidHandle = -1;

    virtual ~PipeFiles() = default;
    virtual QStringList devicePaths() = 0;
    // A handle, or InvalidHandle with the system's error code in error.
    virtual Handle openForReading(const QString &path, int &error) = 0;
    virtual Handle openForWriting(const QString &path, int &error) = 0;
    virtual void close(Handle handle) = 0;
    // Bytes moved, or -1 on failure.
    virtual qint64 read(Handle handle, void *bytes, qint64 count) = 0;
    virtual qint64 write(Handle handle, const void *bytes, qint64 count) = 0;
};

// The real files of this platform.
PipeFiles &systemPipeFiles();

} // namespace kvt
