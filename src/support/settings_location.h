#pragma once

#include "settings_file.h"

#include <QString>

namespace kvt {

// The program's settings: "KVT10.ini" beside the program when that file and
// its folder can be written. Otherwise changes go to "KVT10.ini" in the
// user's configuration folder, so that settings are never silently lost,
// while a file beside the program that can only be read (a prepared set-up,
// an installation on a read-only share) is still read: the user's file wins
// for the keys it holds, the file beside the program gives the rest.
SettingsFile programSettings(const QString &programFolder);

} // namespace kvt
