#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli info FILE.kvt [--series N]: Table 1 of the file, one series a line,
// or Table 2 of series N (its 1-based row among Table 1's data rows).
int runInfo(const QStringList &arguments, Language language);
inline constexpr char16_t InfoUsage[] = u"usage: kvt10-cli info FILE.kvt [--series N] [--lang ru|en]\n";

} // namespace kvt
