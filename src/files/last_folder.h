#pragma once

#include "support/settings_file.h"

#include <QString>

namespace kvt {

// The folder every file dialog starts in: the last folder used, or the program's
// folder when none was used or it no longer exists; when the program's folder
// cannot be written (an installed program), the user's documents folder
// instead. It ends with a separator.
QString initialFolder(const SettingsFile &settings, const QString &programFolder);

// Remembers the folder of a name the user chose in any file dialog.
void rememberFolder(SettingsFile &settings, const QString &fileName);

} // namespace kvt
