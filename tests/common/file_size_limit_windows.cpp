#include "file_size_limit.h"

namespace kvt::testing {

// Windows sets no file size limit on a process.
FileSizeLimit::FileSizeLimit(qint64) {}

FileSizeLimit::~FileSizeLimit() = default;

} // namespace kvt::testing
