#include "path_parts.h"

namespace kvt {
namespace {

qsizetype lastSeparator(const QString &path)
{
    qsizetype index = path.lastIndexOf(u'/');
#ifdef Q_OS_WIN
    index = qMax(index, path.lastIndexOf(u'\\'));
#endif
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
