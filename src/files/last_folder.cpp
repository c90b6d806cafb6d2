#include "last_folder.h"

#include "support/path_parts.h"

#include <QDir>

namespace kvt {
namespace {

constexpr int LastReadPathBuffer = 256;

} // namespace

QString initialFolder(const SettingsFile &settings, const QString &programFolder)
{
    QString folder = settings.readString(u"Config", u"LastReadPath", QString(), LastReadPathBuffer);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = programFolder + u'/';
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void rememberFolder(SettingsFile &settings, const QString &fileName)
{
    // A settings file that cannot be written only loses the remembered folder.
    (void)settings.writeString(u"Config", u"LastReadPath", folderPart(fileName));
}

} // namespace kvt
