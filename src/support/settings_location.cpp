#include "settings_location.h"

#include "folder_access.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kvt {

SettingsFile programSettings(const QString &programFolder)
{
    const QString besideProgram = programFolder + QStringLiteral("/KVT10.ini");
    const QFileInfo beside(besideProgram);
    // A safe write replaces the file through a new one in the same folder.
    if (canCreateFilesIn(programFolder) && (!beside.exists() || beside.isWritable()))
        return SettingsFile(besideProgram);
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return SettingsFile(userFolder + QStringLiteral("/KVT10.ini"), beside.isReadable() ? besideProgram : QString());
}

} // namespace kvt
