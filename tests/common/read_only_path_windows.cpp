#include "read_only_path.h"

#include <QFile>
#include <QFileInfo>

namespace kvt::testing {

// A file's read-only attribute, which Qt sets for a missing owner's write
// permission. A folder's attribute does not keep anything from writing in it.
bool setReadOnly(const QString &path, bool readOnly)
{
    if (QFileInfo(path).isDir())
        return false;
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner;
    return QFile::setPermissions(path, readOnly ? writable & ~QFile::WriteOwner : writable);
}

} // namespace kvt::testing
