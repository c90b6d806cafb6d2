#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli report FILE.kvt (--pdf|--html|--odt|--rtf|--txt|--csv) OUT: the printed
// report of the file's series table, written as the preview's export writes it.
int runReport(const QStringList &arguments, Language language);
inline constexpr char16_t ReportUsage[] =
    u"usage: kvt10-cli report FILE.kvt (--pdf|--html|--odt|--rtf|--txt|--csv) OUT [--lang ru|en]\n";

} // namespace kvt
