#pragma once

#include <QString>

namespace kvt {

// The folder part of a name runs up to and including the last separator
// ("/", and on Windows also "\"); it is empty when there is none.
QString folderPart(const QString &path);
QString fileNamePart(const QString &path);
// The extension of the file-name part from its last dot, dot included; empty without a dot.
QString extensionOf(const QString &path);

} // namespace kvt
