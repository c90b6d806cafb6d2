#include "read_only_path.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

namespace kvt::testing {

// Root writes past permissions, but not past the immutable attribute.
bool setReadOnly(const QString &path, bool readOnly)
{
    if (geteuid() == 0)
        return QProcess::execute("chattr", {readOnly ? "+i" : "-i", path}) == 0;
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner
                                        | (QFileInfo(path).isDir() ? QFile::ExeOwner : QFile::Permissions());
    return QFile::setPermissions(path, readOnly ? writable & ~QFile::WriteOwner : writable);
}

} // namespace kvt::testing
