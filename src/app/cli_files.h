#pragma once

#include "store/measurement_store.h"
#include "support/bilingual.h"

#include <optional>

namespace kvt {

// The files of the verbs. A failure is reported on stderr in the program's
// words, and false returned.

// Reads a .kvt file.
bool loadFileForCli(const QString &fileName, MeasurementStore &store, Language language);
// Writes a file whole or not at all; bytes that could not be made are a
// failed write.
bool writeFileForCli(const QString &path, const std::optional<QByteArray> &bytes, Language language);

} // namespace kvt
