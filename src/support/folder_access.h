#pragma once

#include <QString>

namespace kvt {

// Whether a new file can be made in the folder, found by making one: the
// permissions a plain check reads do not tell everything (Windows grants
// writing in a program's folder by access lists that such a check ignores).
bool canCreateFilesIn(const QString &folder);

} // namespace kvt
