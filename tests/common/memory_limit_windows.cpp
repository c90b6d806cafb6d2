#include "memory_limit.h"

namespace kvt::testing {

// A job object could bound the child, but Wine does not enforce its limits.
ChildMemoryLimit::ChildMemoryLimit(QProcess &, int) {}

} // namespace kvt::testing
