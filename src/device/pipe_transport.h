#pragma once

#include "byte_link.h"
#include "pipe_files.h"

#include <QString>

namespace kvt {

// Status codes of the pipe operations.
enum PipeStatus : quint16 {
    PipeOk = 0,
    PipeNotOpen = 0x8000,
    PipeBadArgument = 0x8080,
    PipeIoFailed = 0x8010,
};

// The instrument's own pipe driver: "Pipe00" carries commands to the
// instrument, "Pipe01" its replies, below the device's folder.
class PipeTransport final : public ByteLink {
public:
    explicit PipeTransport(PipeFiles &files = systemPipeFiles()) : m_files(files) {}
    ~PipeTransport() override { closePipes(); }

    // The devices the driver offers; the worker opens the last one.
    QStringList findDevicePaths() { return m_files.devicePaths(); }
    // 0, or the system's error code cut to 16 bits. Already open: 0 at once.
    quint16 openPipes(const QString &path);
    void closePipes();
    bool isOpen() const { return m_isOpen; }

    quint16 pipeWrite(const void *bytes, quint32 count);
    // Reads until all count bytes have arrived; a read that fails or delivers
    // nothing ends it with PipeIoFailed.
    quint16 pipeRead(void *bytes, quint32 count);

    bool write(const void *bytes, int count) override { return pipeWrite(bytes, quint32(count)) == PipeOk; }
    std::optional<int> read(void *bytes, int count) override;

private:
    PipeFiles &m_files;
    PipeFiles::Handle m_readHandle = PipeFiles::InvalidHandle;
    PipeFiles::Handle m_writeHandle = PipeFiles::InvalidHandle;
    bool m_isOpen = false;
};

} // namespace kvt
