#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli read -o FILE.kvt [--timeout SEC]: reads the instrument with the
// program's own worker, showing its status texts and progress on stderr, and
// saves the measurements once the read is complete.
int runRead(const QStringList &arguments, Language language);
inline constexpr char16_t ReadUsage[] = u"usage: kvt10-cli read -o FILE.kvt [--timeout SEC] [--lang ru|en]\n";

} // namespace kvt
