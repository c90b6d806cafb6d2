#include "last_folder.h"

#include "support/folder_access.h"
#include "support/path_parts.h"

#include <QDir>
#include <QStandardPaths>

namespace kvt {
namespace {

constexpr int LastReadPathBuffer = 256;

// Where a dialog starts when no folder was used yet: the program's folder, as
// it always did, unless the program is installed where the user cannot write
// (a save proposed there would fail); then the user's documents, or home when
// there is no documents folder.
QString defaultFolder(const QString &programFolder)
{
    if (canCreateFilesIn(programFolder))
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

QString initialFolder(const SettingsFile &settings, const QString &programFolder)
{
    QString folder = settings.readString(u"Config", u"LastReadPath", QString(), LastReadPathBuffer);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = defaultFolder(programFolder) + u'/';
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
