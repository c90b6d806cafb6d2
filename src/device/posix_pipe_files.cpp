#include "pipe_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace kvt {
namespace {

// A reply that does not begin to arrive within this time counts as failed, as
// a libusb transfer does after its time-out.
constexpr int ReadTimeoutMs = 500;

class PosixPipeFiles final : public PipeFiles {
public:
    // Here the driver's device folder is whatever KVT10_PIPE_DEVICE names.
    QStringList devicePaths() override
    {
        const QString folder = qEnvironmentVariable("KVT10_PIPE_DEVICE");
        return folder.isEmpty() || !QFileInfo(folder).isDir() ? QStringList() : QStringList{folder};
    }

    Handle openForReading(const QString &path, int &error) override
    {
        // Read and write access: a FIFO opened so never blocks the open.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        error = fd < 0 ? errno : 0;
        return fd < 0 ? InvalidHandle : fd;
    }

    Handle openForWriting(const QString &path, int &error) override
    {
        // Non-blocking, so that a FIFO nobody serves fails at once instead of hanging.
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        error = fd < 0 ? errno : 0;
        if (fd >= 0)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return fd < 0 ? InvalidHandle : fd;
    }

    void close(Handle handle) override { ::close(int(handle)); }

    qint64 read(Handle handle, void *bytes, qint64 count) override
    {
        pollfd ready{int(handle), POLLIN, 0};
        int polled;
        do
            polled = ::poll(&ready, 1, ReadTimeoutMs);
        while (polled < 0 && errno == EINTR);
        if (polled <= 0)
            return -1;
        qint64 got;
        do
            got = ::read(int(handle), bytes, size_t(count));
        while (got < 0 && errno == EINTR);
        return got;
    }

    qint64 write(Handle handle, const void *bytes, qint64 count) override
    {
        // An instrument that has gone leaves a FIFO nobody reads: the write
        // fails with EPIPE, and the SIGPIPE that comes with it must not end
        // the program, whatever the environment set up for that signal. The
        // signal goes to this thread alone, so it is held back here and
        // taken off again when this write raised it.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
        sigset_t previousMask;
        pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask);
        qint64 written;
        do
            written = ::write(int(handle), bytes, size_t(count));
        while (written < 0 && errno == EINTR);
        if (written < 0 && errno == EPIPE && !alreadyPending) {
            const timespec noWait{0, 0};
            while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
        return written;
    }
};

} // namespace

PipeFiles &systemPipeFiles()
{
    static PosixPipeFiles files;
    return files;
}

} // namespace kvt
