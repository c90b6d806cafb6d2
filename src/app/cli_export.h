#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli export FILE.kvt --series N [--impact I] --curve a|v|s|f|all
//     --format wav|csv [--full] -o PATH
// writes what the window's exports write for that impact, without a dialog.
int runExport(const QStringList &arguments, Language language);
inline constexpr char16_t ExportUsage[] =
    u"usage: kvt10-cli export FILE.kvt --series N [--impact I] --curve a|v|s|f|all "
    u"--format wav|csv [--full] -o PATH [--lang ru|en]\n";

} // namespace kvt
