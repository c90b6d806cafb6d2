#include "read_only_path.h"

#include <QFile>
#include <QFileInfo>

namespace kvt::testing {

// The owner's write permission, which Qt maps to the read-only attribute.
bool setReadOnly(const QString &path, bool readOnly)
{
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner
                                        | (QFileInfo(path).isDir() ? QFile::ExeOwner : QFile::Permissions());
    return QFile::setPermissions(path, readOnly ? writable & ~QFile::WriteOwner : writable);
}

} // namespace kvt::testing
