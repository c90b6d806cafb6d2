#pragma once

#include <QtGlobal>

namespace kvt::testing {

// While it lives, writes that would make a file larger than the limit fail,
// as on a full disk, and for root too, where the system can set such a limit
// on a process (file_size_limit_posix.cpp); elsewhere it does nothing and
// applies() says so (file_size_limit_windows.cpp).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool applies() const { return m_applies; }

private:
    bool m_applies = false;
    qint64 m_previousSoft = 0;
    qint64 m_previousHard = 0;
    void (*m_oldHandler)(int) = nullptr;
};

// In a test: skip it where no limit can stand in for a full disk.
#define SKIP_UNLESS_DISK_CAN_FILL(limit)                                                                               \
    if (!(limit).applies())                                                                                            \
    QSKIP("no file size limit can stand in for a full disk on this system")

} // namespace kvt::testing
