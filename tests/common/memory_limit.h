#pragma once

#include <QProcess>

namespace kvt::testing {

// Runs a child program under a memory bound, so that input that makes it grow
// without end fails quickly instead of taking the machine with it: an
// address-space limit (ulimit -v), or, in a build with AddressSanitizer, whose
// shadow memory needs more address space than any useful limit leaves, the
// sanitizer's own resident-size limit. Call before start(). Where the system
// has neither (memory_limit_windows.cpp) the child runs unbounded and applies()
// says so.
class ChildMemoryLimit {
public:
    ChildMemoryLimit(QProcess &process, int megabytes);
    bool applies() const { return m_applies; }

private:
    bool m_applies = false;
};

} // namespace kvt::testing
