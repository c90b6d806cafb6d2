#include "path_parts.h"

#include "platform.h"

namespace kvt {
namespace {

qsizetype lastSeparator(const QString &path)
{
    qsizetype index = path.size() - 1;
    while (index >= 0 && !isPathSeparator(path[index]))
        --index;
    return index;
}

} // namespace

QString folderPart(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

QString fileNamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString extensionOf(const QString &path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace kvt
