#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli report FILE.kvt FORMAT OUT: the printed report of the file's
// series table, written as the preview's export writes it; with --prepared,
// the program's own report file. kvt10-cli report --open REPORT.kvtreport
// FORMAT OUT writes such a saved report in a format.
int runReport(const QStringList &arguments, Language language);
inline constexpr char16_t ReportUsage[] =
    u"usage: kvt10-cli report FILE.kvt FORMAT OUT [--summary [--rules FILE]] [--lang ru|en]\n"
    u"       kvt10-cli report --open REPORT.kvtreport FORMAT OUT [--lang ru|en]\n"
    u"FORMAT: --pdf, --html, --odt, --rtf, --xlsx, --ods, --txt, --csv, or --prepared (a .kvtreport file to open again)\n";

} // namespace kvt
