#pragma once

#include <QString>

namespace kvt {

// "KVT10.ini" beside the program when that folder can be written, else in the
// user's configuration folder, so that settings are never silently lost.
QString settingsFilePath(const QString &programFolder);

} // namespace kvt
