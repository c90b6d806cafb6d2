#include "folder_access.h"

#include <QTemporaryFile>

namespace kvt {

bool canCreateFilesIn(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/KVT10.probe.XXXXXX"));
    return probe.open();
}

} // namespace kvt
