#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli stats FILE.kvt [--rules FILE] [--csv]: the field evaluation of the
// file's series, one group of object and material a line, under the
// requirements of the program's settings file or of a rules file.
int runStats(const QStringList &arguments, Language language);
inline constexpr char16_t StatsUsage[] = u"usage: kvt10-cli stats FILE.kvt [--rules FILE] [--csv] [--lang ru|en]\n";

} // namespace kvt
