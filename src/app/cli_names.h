#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli names read materials|objects [-o FILE]: the instrument's list, one
// name per line on stdout, or as a name list file.
// kvt10-cli names write materials|objects FILE: a name list file into the instrument.
int runNames(const QStringList &arguments, Language language);
inline constexpr char16_t NamesUsage[] = u"usage: kvt10-cli names read materials|objects [-o FILE] [--timeout SEC]\n"
                                         u"       kvt10-cli names write materials|objects FILE [--timeout SEC]\n";

} // namespace kvt
