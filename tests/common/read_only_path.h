#pragma once

#include <QString>

namespace kvt::testing {

// Makes a file or folder read-only for whoever runs the test, or writable
// again; false where the system does not let the test do so
// (read_only_path_posix.cpp, read_only_path_windows.cpp).
bool setReadOnly(const QString &path, bool readOnly);

} // namespace kvt::testing
