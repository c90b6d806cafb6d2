#include "settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kvt {

QString settingsFilePath(const QString &programFolder)
{
    const QString besideProgram = programFolder + QStringLiteral("/KVT10.ini");
    const QFileInfo existing(besideProgram);
    if (existing.exists() ? existing.isWritable() : QFileInfo(programFolder).isWritable())
        return besideProgram;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return userFolder + QStringLiteral("/KVT10.ini");
}

} // namespace kvt
