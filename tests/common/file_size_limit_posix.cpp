#include "file_size_limit.h"

#include <csignal>

#include <sys/resource.h>

namespace kvt::testing {

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    m_previousSoft = qint64(previous.rlim_cur);
    m_previousHard = qint64(previous.rlim_max);
    // A write past the limit raises SIGXFSZ; ignored, the write fails instead.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = rlim_t(bytes);
    m_applies = setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    const rlimit previous{rlim_t(m_previousSoft), rlim_t(m_previousHard)};
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace kvt::testing
