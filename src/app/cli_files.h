#pragma once

#include "evaluation/requirement_settings.h"
#include "store/measurement_store.h"
#include "support/bilingual.h"

#include <optional>

namespace kvt {

// The files of the verbs. A failure is reported on stderr in the program's
// words, and false returned.

// Reads a .kvt file.
bool loadFileForCli(const QString &fileName, MeasurementStore &store, Language language);
// For the verbs that need measurements: false, with "No Data" as the window's
// commands say it, when the file holds none.
bool hasMeasurementsForCli(const MeasurementStore &store, Language language);
// Writes a file whole or not at all; bytes that could not be made are a
// failed write.
bool writeFileForCli(const QString &path, const std::optional<QByteArray> &bytes, Language language);
// The requirements of a rules file or, without one, of the window program's
// settings file; no section is no rules.
std::optional<QList<RequirementRule>> readRulesForCli(const QString &rulesFile, Language language);

} // namespace kvt
