#pragma once

#include "store/measurement_store.h"
#include "support/bilingual.h"

namespace kvt {

// The files of the verbs. A failure is reported on stderr in the program's
// words, and false returned.

// Reads a .kvt file.
bool loadFileForCli(const QString &fileName, MeasurementStore &store, Language language);
// Writes a file whole or not at all.
bool writeFileForCli(const QString &path, const QByteArray &bytes, Language language);

} // namespace kvt
