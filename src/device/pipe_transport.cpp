#include "pipe_transport.h"

#include <QDir>

namespace kvt {

quint16 PipeTransport::openPipes(const QString &path)
{
    if (m_isOpen)
        return 0;
    int error = 0;
    // The driver's device paths take the platform's own separator.
    m_readHandle = m_files.openForReading(path + QDir::separator() + QStringLiteral("Pipe01"), error);
    if (m_readHandle != PipeFiles::InvalidHandle)
        m_writeHandle = m_files.openForWriting(path + QDir::separator() + QStringLiteral("Pipe00"), error);
    if (m_readHandle == PipeFiles::InvalidHandle || m_writeHandle == PipeFiles::InvalidHandle) {
        closePipes();
        return quint16(error);
    }
    m_isOpen = true;
    return 0;
}

void PipeTransport::closePipes()
{
    for (PipeFiles::Handle *handle : {&m_readHandle, &m_writeHandle}) {
        if (*handle != PipeFiles::InvalidHandle)
            m_files.close(*handle);
        *handle = PipeFiles::InvalidHandle;
    }
    m_isOpen = false;
}

quint16 PipeTransport::pipeWrite(const void *bytes, quint32 count)
{
    if (!m_isOpen || m_writeHandle == PipeFiles::InvalidHandle)
        return PipeNotOpen;
    if (!bytes || count == 0)
        return PipeBadArgument;
    return m_files.write(m_writeHandle, bytes, count) < 0 ? PipeIoFailed : PipeOk;
}

quint16 PipeTransport::pipeRead(void *bytes, quint32 count)
{
    if (!m_isOpen || m_readHandle == PipeFiles::InvalidHandle)
        return PipeNotOpen;
    if (!bytes || count == 0)
        return PipeBadArgument;
    auto *target = static_cast<char *>(bytes);
    quint32 arrived = 0;
    while (arrived < count) {
        const qint64 got = m_files.read(m_readHandle, target + arrived, count - arrived);
        if (got <= 0)
            return PipeIoFailed;
        arrived += quint32(got);
    }
    return PipeOk;
}

std::optional<int> PipeTransport::read(void *bytes, int count)
{
    // The pipes deliver all that was asked for, or fail.
    return pipeRead(bytes, quint32(count)) == PipeOk ? std::optional<int>(count) : std::nullopt;
}

} // namespace kvt
