#include "settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kvt {
namespace {

// Whether a new file can be made in the folder, found by making one: the
// permissions a plain check reads do not tell everything (Windows grants
// writing in a program's folder by access lists that such a check ignores).
bool canCreateFilesIn(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/KVT10.ini.XXXXXX"));
    return probe.open();
}

} // namespace

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
